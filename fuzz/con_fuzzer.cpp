// libFuzzer target: bytes read as a ".con" file by the constants definition table, as its
// window reads it. A file that is no text is refused and changes nothing; the table any other
// gives keeps its order and its rules, and written back it reads again to the same table.
#include <algorithm>
#include <cstdint>
#include <string>

#include "app/ini_file.h"
#include "app/safe_save.h"
#include "constants/const_table.h"
#include "evaluator/text_utils.h"
#include "file_fuzz_support.h"

namespace fuzzing {
namespace {

using constants::TConstCategory;
using constants::TConstTable;

// Every category and constant with their texts; equal tables give equal texts. The file module
// writes a line break inside a line as a blank, and a lone CR is one, so CRs are taken as blanks;
// that may reorder names, so the comparison is of sorted lists.
std::string Snapshot(const TConstTable& table) {
  const auto blanked = [](std::string text) {
    for (char& c : text) {
      if (c == '\r') c = ' ';
    }
    return text;
  };
  std::vector<std::string> categories;
  for (const TConstCategory& category : table.Categories()) {
    std::vector<std::string> constants;
    for (const constants::TConstEntry& constant : category.Constants) {
      constants.push_back(blanked(constant.Name + '\0' + constant.Record.Value + '\0' +
                                  constant.Record.Description + '\n'));
    }
    std::sort(constants.begin(), constants.end());
    std::string text = "[" + blanked(category.Name) + "]\n";
    for (const std::string& constant : constants)
      text += constant;
    categories.push_back(text);
  }
  std::sort(categories.begin(), categories.end());
  std::string snapshot;
  for (const std::string& category : categories)
    snapshot += category;
  return snapshot;
}

// What the table promises of its lists: sorted, no two names equal without regard to case, no
// blank name, values trimmed.
void CheckTable(const TConstTable& table) {
  const auto less = [](const std::string& a, const std::string& b) {
    return evaluator::ToLowerAscii(a) < evaluator::ToLowerAscii(b);
  };
  const auto& categories = table.Categories();
  for (std::size_t c = 0; c < categories.size(); ++c) {
    if (evaluator::TrimBlanks(categories[c].Name).empty()) FileViolation("blank category");
    if (c > 0 && !less(categories[c - 1].Name, categories[c].Name)) {
      FileViolation("categories out of order or doubled", categories[c].Name);
    }
    const auto& list = categories[c].Constants;
    for (std::size_t k = 0; k < list.size(); ++k) {
      if (list[k].Name.empty()) FileViolation("constant without a name");
      if (evaluator::TrimBlanks(list[k].Record.Value) != list[k].Record.Value) {
        FileViolation("value not trimmed", list[k].Record.Value);
      }
      if (k > 0 && !less(list[k - 1].Name, list[k].Name)) {
        FileViolation("constants out of order or doubled", list[k].Name);
      }
    }
  }
}

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  TQuietPrompt prompt;
  TConstTable table("/nonexistent/calc-fuzz-default.con", prompt);
  table.ConstFilePath = InputFile(AsText(data, size), "con");
  const std::string before = Snapshot(table);
  if (!app::IsText(AsText(data, size))) {
    // No text: refused with the reader's message, and the table keeps what it held.
    if (table.ReadFromConstFile() || table.Loaded) FileViolation("a file that is no text was read");
    if (prompt.Last() != "Cannot read " + table.ConstFilePath + ": Not a text file") {
      FileViolation("refusal without its message", prompt.Last());
    }
    if (Snapshot(table) != before) FileViolation("a refused file changed the table");
    return 0;
  }
  if (!table.ReadFromConstFile() || !table.Loaded) {
    FileViolation("a readable file was not loaded", prompt.Last());
  }
  CheckTable(table);
  const std::string read = Snapshot(table);
  // The save, then the open of what it wrote.
  if (!table.WriteToConstFile()) FileViolation("the loaded table was not written", prompt.Last());
  std::string written;
  if (const auto error = app::ReadFileBytes(table.ConstFilePath, written))
    FileViolation("unread", *error);
  if (!ReadsBackAsWritten(written)) return 0;
  table.FreeStringList();
  if (!table.ReadFromConstFile()) FileViolation("a written file was not read", prompt.Last());
  if (Snapshot(table) != read) {
    FileViolation("a written file read back differently",
                  read + "-- read back as --\n" + Snapshot(table));
  }
  return 0;
}
