// libFuzzer target: bytes read as a ".cnv" file into the conversion table, as the conversion
// window reads one over the default table. A refused file says why and leaves the table as it
// was, or empty after "Internal Error"; an accepted one, written back, reads again to the same
// table.
#include <cstdint>
#include <string>

#include "app/safe_save.h"
#include "conversion/conversion_file.h"
#include "conversion/conversion_table.h"
#include "file_fuzz_support.h"

namespace fuzzing {
namespace {

using conversion::TCategoryList;

// The table as its file holds it: equal tables write equal bytes.
std::string Snapshot(const TCategoryList& table) {
  const std::string path = InputFile({}, "cnv-snapshot");
  if (const auto error = conversion::WriteConvFile(path, table)) {
    FileViolation("the table could not be written", *error);
  }
  std::string bytes;
  if (const auto error = app::ReadFileBytes(path, bytes)) FileViolation("snapshot unread", *error);
  return bytes;
}

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  static const std::string defaults = [] {
    TCategoryList table;
    conversion::LoadDefaultTable(table);
    return Snapshot(table);
  }();
  TCategoryList table;
  conversion::LoadDefaultTable(table);
  const std::string path = InputFile(AsText(data, size), "cnv");
  if (const auto error = conversion::ReadConvFile(path, table)) {
    if (error->empty()) FileViolation("refusal without a message");
    const bool unchanged = Snapshot(table) == defaults;
    if (!unchanged && !(*error == "Internal Error" && table.Count() == 0)) {
      FileViolation("a refused file changed the table", *error);
    }
    return 0;
  }
  const std::string read = Snapshot(table);
  if (!ReadsBackAsWritten(read)) return 0;
  TCategoryList again;
  const std::string written = InputFile(read, "cnv-written");
  if (const auto error = conversion::ReadConvFile(written, again)) {
    FileViolation("a written file was refused", *error + "\n" + read);
  }
  if (Snapshot(again) != read) FileViolation("a written file read back differently", read);
  return 0;
}
