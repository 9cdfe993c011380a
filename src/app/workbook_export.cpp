// WriteWorkbook with libxlsxwriter. The library writes to a path of its own choosing, so the
// workbook is made in a private temporary folder and then put in place by the safe save, like
// every other file the calculator writes.
#include "app/workbook_export.h"

#include <stdlib.h>
#include <xlsxwriter.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/function_table.h"
#include "app/safe_save.h"

namespace app {

namespace {

constexpr const char* kSheetName = "Sheet1";
constexpr const char* kChartName = "Chart1";
// Rows written between two calls of the progress callback.
constexpr std::size_t kProgressStride = 16384;

// A folder under the system's temporary folder, removed with its content when done.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "calculator_xlsx_XXXXXX").string();
    if (!error && ::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

struct TWorkbookCloser {
  void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

std::string Failure(const std::string& path, lxw_error error) {
  return "Cannot write " + path + ": " + lxw_strerror(error);
}

}  // namespace

bool WorkbookNumber(std::string_view text, double& number) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, number);
  return error == std::errc() && last == end && std::isfinite(number);
}

std::optional<std::string> WriteWorkbook(
    const TFunctionTable& table, const std::string& path,
    const std::function<bool(std::size_t done, std::size_t total)>& progress) {
  const std::size_t rows = table.RowCount();
  const std::size_t columns = table.ColumnCount() - 1;  // the row numbers stay behind
  if (rows > kWorkbookMaxRows) {
    return "A workbook holds at most " + std::to_string(kWorkbookMaxRows - 1) +
           " table rows; this table has " + std::to_string(rows - 1);
  }
  if (columns > kWorkbookMaxColumns) {
    return "A workbook holds at most " + std::to_string(kWorkbookMaxColumns - 1) +
           " functions; this table has " + std::to_string(columns - 1);
  }
  const TScratchFolder scratch;
  if (scratch.Path().empty()) return "Cannot write " + path + ": no temporary folder";
  const std::string scratchFile = scratch.Path() + "/table.xlsx";

  {
    // Rows are written in order, so the library can keep one row in memory at a time.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(scratch.Path().c_str());
    std::unique_ptr<lxw_workbook, TWorkbookCloser> workbook(
        workbook_new_opt(scratchFile.c_str(), &options));
    if (!workbook) return Failure(path, LXW_ERROR_CREATING_XLSX_FILE);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), kSheetName);
    lxw_chartsheet* chartSheet = workbook_add_chartsheet(workbook.get(), kChartName);
    lxw_chart* chart = workbook_add_chart(workbook.get(), LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
    if (sheet == nullptr || chartSheet == nullptr || chart == nullptr) {
      return Failure(path, LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    for (std::size_t row = 0; row < rows; ++row) {
      if (progress && row > 0 && row % kProgressStride == 0 && !progress(row, rows)) {
        return std::string();
      }
      for (std::size_t column = 0; column < columns; ++column) {
        const std::string text = table.CellText(row, column + 1);
        if (text.empty()) continue;
        const auto r = static_cast<lxw_row_t>(row);
        const auto c = static_cast<lxw_col_t>(column);
        double number = 0;
        const lxw_error error = WorkbookNumber(text, number)
                                    ? worksheet_write_number(sheet, r, c, number, nullptr)
                                    : worksheet_write_string(sheet, r, c, text.c_str(), nullptr);
        if (error != LXW_NO_ERROR) return Failure(path, error);
      }
    }
    const auto lastRow = static_cast<lxw_row_t>(rows - 1);
    for (std::size_t column = 1; column < columns; ++column) {
      lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
      if (series == nullptr) return Failure(path, LXW_ERROR_MEMORY_MALLOC_FAILED);
      const auto c = static_cast<lxw_col_t>(column);
      chart_series_set_categories(series, kSheetName, 1, 0, lastRow, 0);
      chart_series_set_values(series, kSheetName, 1, c, lastRow, c);
      chart_series_set_name_range(series, kSheetName, 0, c);
    }
    chart_axis_set_name(chart->x_axis, table.VariableName().c_str());
    if (const lxw_error error = chartsheet_set_chart(chartSheet, chart); error != LXW_NO_ERROR) {
      return Failure(path, error);
    }
    chartsheet_activate(chartSheet);
    if (const lxw_error error = workbook_close(workbook.release()); error != LXW_NO_ERROR) {
      return Failure(path, error);
    }
  }

  std::string bytes;
  if (auto failure = ReadFileBytes(scratchFile, bytes, static_cast<std::size_t>(-1))) {
    return failure;
  }
  return SafeSave(path, bytes);
}

}  // namespace app
