// The rules of the "Rows count" and "Delete rows" dialogs.
#include "interpolation/row_dialogs.h"

#include <algorithm>
#include <charconv>

#include "evaluator/text_utils.h"

namespace interpolation {

using app::kAreYouSure;

std::optional<std::int64_t> IntegerFromText(const std::string& text, std::string& message) {
  const std::string trimmed = evaluator::TrimBlanks(text);
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (begin != end && *begin == '+') ++begin;
  std::int64_t value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (begin == end || error != std::errc() || stop != end) {
    message = "'" + text + "' is not a valid integer value";
    return std::nullopt;
  }
  return value;
}

bool SetRowsCount(TInterpolationSheet& sheet, const std::string& countText,
                  app::TUserPrompt& prompt) {
  std::string message;
  const std::optional<std::int64_t> count = IntegerFromText(countText, message);
  if (!count) {
    prompt.Message(message);
    return false;
  }
  if (*count <= 0) {
    prompt.Message("The count must to be > 0");
    return false;
  }
  if (*count > kMaxSheetRows) {
    prompt.Message("The count must be <= " + std::to_string(kMaxSheetRows));
    return false;
  }
  sheet.SetRowCount(*count);
  return true;
}

bool DeleteSheetRows(TInterpolationSheet& sheet, const std::string& fromText,
                     const std::string& countText, app::TUserPrompt& prompt) {
  if (sheet.RowCount() <= 1) return false;
  std::string message;
  const std::optional<std::int64_t> from = IntegerFromText(fromText, message);
  const std::optional<std::int64_t> count =
      from ? IntegerFromText(countText, message) : std::nullopt;
  if (!count) {
    prompt.Message(message);
    return false;
  }
  if (*count <= 0) {
    prompt.Message("Invalid count");
    return false;
  }
  if (!prompt.Confirm(kAreYouSure)) return false;
  const auto rows = static_cast<std::int64_t>(sheet.RowCount());
  if (*from < 1 || *from > rows) {
    prompt.Message("Invalid #");
    return false;
  }
  // A block that reaches the end keeps the rows before it; deleting every row leaves one
  // empty row, since a sheet always has one.
  sheet.RemoveRows(static_cast<std::size_t>(*from - 1),
                   static_cast<std::size_t>(std::min(*count, rows)));
  return true;
}

}  // namespace interpolation
