// libFuzzer target: bytes opened as a ".sle" file by the linear system, as its window opens
// one. A refused file leaves both texts as they were and says why; an accepted one, saved and
// opened again, gives the same texts.
#include <cstdint>
#include <string>

#include "file_fuzz_support.h"
#include "linsys/linear_system.h"
#include "linsys/sle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  TQuietPrompt prompt;
  linsys::TLinearSystem system(prompt, [] { return 1e-12; });
  system.VariablesText = "a,b";
  system.EquationsText = "a+b-1,\na-b";
  const std::string path = InputFile(AsText(data, size), "sle");
  if (!system.CitesteFisier(path)) {
    if (system.VariablesText != "a,b" || system.EquationsText != "a+b-1,\na-b") {
      FileViolation("a refused file changed the texts");
    }
    if (system.FileValid) FileViolation("a refused file is kept as current");
    if (prompt.Last() != linsys::kBadFileFormat) FileViolation("refusal without its message");
    return 0;
  }
  const std::string variables = system.VariablesText;
  const std::string equations = system.EquationsText;
  // Texts the save refuses need not read back.
  if (linsys::SleBlockWithBrace(variables, equations)) return 0;
  if (!ReadsBackAsWritten(linsys::WriteSleText(variables, equations))) return 0;
  const std::string saved = InputFile({}, "sle-saved");
  if (!system.ScrieFisier(saved)) FileViolation("the texts read were not saved", prompt.Last());
  if (!system.CitesteFisier(saved)) FileViolation("a saved file was refused", prompt.Last());
  if (system.VariablesText != variables || system.EquationsText != equations) {
    FileViolation("a saved file read back differently", linsys::WriteSleText(variables, equations));
  }
  return 0;
}
