// The function table as a spreadsheet workbook: the grid on worksheet "Sheet1" and an XY
// scatter chart of every function column against the variable on chart sheet "Chart1".
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace app {

class TFunctionTable;

// The workbook format's own bounds: rows per worksheet and columns per row.
inline constexpr std::size_t kWorkbookMaxRows = 1048576;
inline constexpr std::size_t kWorkbookMaxColumns = 16384;

// Whether a grid cell's text goes into the workbook as a number (finite, in the calculator's
// "." notation, the whole text), and which number.
bool WorkbookNumber(std::string_view text, double& number);

// Writes the workbook to `path` through the safe save: grid columns 1 and on from column A,
// every grid row from row 1, numbers as numbers and other texts as text; a chart sheet holding
// a scatter chart with lines and markers, one series per function column (its header as the
// name) against column A. `progress` hears of the rows written now and then and may stop the
// export. Returns nothing on success, or the message saying why nothing was written (empty when
// `progress` stopped it).
std::optional<std::string> WriteWorkbook(
    const TFunctionTable& table, const std::string& path,
    const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

}  // namespace app
