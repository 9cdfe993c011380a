// libFuzzer target: bytes opened as a ".dat" file by an interpolation sheet, as its window opens
// one. A refused file leaves the sheet as it was; an accepted one, saved and opened again, gives
// the same cells, except that a cell the writer had to put in parentheses may come back in them.
#include <cstdint>
#include <string>

#include "evaluator/eval_errors.h"
#include "file_fuzz_support.h"
#include "interpolation/dat_file.h"
#include "interpolation/interpolation_sheet.h"

namespace fuzzing {
namespace {

using interpolation::TInterpolationSheet;
using interpolation::TSheetRow;

// The cell as read back: the same text, or the same text in the writer's parentheses (more
// than one pair when its own brackets do not pair up).
bool SameCell(const std::string& read, const std::string& again) {
  if (again == read) return true;
  const std::size_t at = again.find(read, 1);
  if (again.size() < read.size() + 2 || at == std::string::npos) return false;
  const std::string_view before = std::string_view(again).substr(0, at);
  const std::string_view after = std::string_view(again).substr(at + read.size());
  return !after.empty() && before.find_first_not_of('(') == std::string_view::npos &&
         after.find_first_not_of(')') == std::string_view::npos;
}

bool SameRows(const TInterpolationSheet& read, const TInterpolationSheet& again) {
  if (read.RowCount() != again.RowCount()) return false;
  for (std::size_t r = 0; r < read.RowCount(); ++r) {
    if (!SameCell(read.Row(r).x, again.Row(r).x) || !SameCell(read.Row(r).fx, again.Row(r).fx)) {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  TInterpolationSheet sheet;
  sheet.SetRows({{"1", "2"}, {"3", "4"}});
  const std::vector<TSheetRow> before = sheet.Rows();
  const std::string path = InputFile(AsText(data, size), "dat");
  try {
    interpolation::LoadSheetFile(sheet, path);
  } catch (const evaluator::EEvalError&) {
    if (sheet.Rows() != before || sheet.HasFile) FileViolation("a refused file changed the sheet");
    return 0;
  }
  TInterpolationSheet first = sheet;
  if (!ReadsBackAsWritten(interpolation::DatFileText(first))) return 0;
  const std::string saved = InputFile({}, "dat-saved");
  interpolation::SaveSheetFile(sheet, saved);
  TInterpolationSheet again;
  interpolation::LoadSheetFile(again, saved);
  if (!SameRows(first, again)) {
    FileViolation("a saved file read back differently", interpolation::DatFileText(first));
  }
  // Parentheses once added are kept: a second save changes nothing more.
  TInterpolationSheet third;
  interpolation::SaveSheetFile(again, saved);
  interpolation::LoadSheetFile(third, saved);
  if (third.Rows() != again.Rows()) {
    FileViolation("a file saved twice read back differently", interpolation::DatFileText(again));
  }
  return 0;
}
