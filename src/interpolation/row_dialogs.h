// What the Ok buttons of the "Rows count" and "Delete rows" dialogs do to a sheet, apart from
// the widgets: the edits' texts in, messages and the confirmation through the user prompt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/user_prompt.h"
#include "interpolation/interpolation_sheet.h"

namespace interpolation {

// The edit's text as a whole number, or the conversion's message ("'x' is not a valid integer
// value") in `message`.
std::optional<std::int64_t> IntegerFromText(const std::string& text, std::string& message);

// "Rows count" Ok: gives the sheet `countText` rows. True when the dialog closes; otherwise the
// prompt has shown why.
bool SetRowsCount(TInterpolationSheet& sheet, const std::string& countText,
                  app::TUserPrompt& prompt);

// "Delete rows" Ok: deletes `countText` rows from row `fromText` on (rows count from 1) after
// the user confirms. True when the dialog closes.
bool DeleteSheetRows(TInterpolationSheet& sheet, const std::string& fromText,
                     const std::string& countText, app::TUserPrompt& prompt);

}  // namespace interpolation
