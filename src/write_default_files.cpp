// Writes the calculator's default data files (conversion definitions, constants, periodic
// table) into a folder, exactly as the program writes them when they are missing. The build
// runs it to produce the files an installed program ships in its shared data folder.
#include <iostream>
#include <optional>
#include <string>

#include "app/command_line/stream_prompt.h"
#include "constants/const_table.h"
#include "conversion/conversion_file.h"
#include "periodic/periodic_table.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " FOLDER PROGRAM-NAME\n";
    return 2;
  }
  const std::string base = std::string(argv[1]) + "/" + argv[2];
  app::TStreamPrompt prompt(std::cerr);
  bool written = true;
  if (const std::optional<std::string> error = conversion::WriteDefaultConvFile(base + ".cnv")) {
    std::cerr << *error << '\n';
    written = false;
  }
  constants::TConstTable constantsTable(base + ".con", prompt);
  written = constantsTable.WriteToDefConstFile() && written;
  if (const std::optional<std::string> error =
          periodic::TPeriodicTable().WriteToDefPTEFile(base + ".pte")) {
    std::cerr << *error << '\n';
    written = false;
  }
  return written ? 0 : 1;
}
