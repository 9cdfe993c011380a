// TFunctionTable: the values of the runtime functions of one variable over the table range, as
// the function-table window shows, saves and exports them. Values are kept as values and turned
// into text only when a cell is read, so a table of millions of rows stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "evaluator/value.h"

namespace app {

class TCalculatorCore;

// Table1Click's answer to definitions that failed while a function variable is set.
inline constexpr std::string_view kCorrectDefinitionsForTable = "Please correct user definitions";

// The text the "&Null -> #NUM!" option shows for a failed cell.
inline constexpr std::string_view kNumText = "#NUM!";

// A table longer than this many data rows shows a progress dialog while it is computed.
inline constexpr std::size_t kProgressRows = 100000;
// Bounds that keep a table in memory whatever the range: a step far below the range's
// precision would otherwise never reach the end.
inline constexpr std::size_t kMaxTableRows = 10000000;
inline constexpr std::size_t kMaxTableCells = 32000000;

// One cell of comma text appended to `line`: as it stands, or enclosed in double quotes with
// inner double quotes doubled when it holds a blank, a comma, a double quote or a control
// character (a line break inside a cell would otherwise split the row).
void AppendCommaCell(std::string& line, std::string_view cell);
// The cells joined by ",", each as AppendCommaCell writes it.
std::string CommaText(const std::vector<std::string>& cells);

// Whether the table may be built after the definitions pass: nothing when it may; otherwise the
// message to show, empty when the pass has already told the user (a refused function variable).
std::optional<std::string> TableRefusal(const TCalculatorCore& core);

class TFunctionTable {
 public:
  enum class TBuildResult { Complete, Cancelled, Cut };
  // Called now and then while rows are computed, with the rows done and the rows expected
  // (0 when unknown); false stops the table, keeping the rows computed so far.
  using TProgress = std::function<bool(std::size_t done, std::size_t expected)>;

  // ResultCaption: the header row and the columns from the core's runtime functions whose
  // parameter list is the function variable; no data rows.
  void ResultCaption(const TCalculatorCore& core);
  // The rows of Table1Click after a good definitions pass: x = from + n * step while x is below
  // "to" or equal to it by RealsEqual, each function's value at x from DefinitionsEval. Stops at
  // kMaxTableRows rows or kMaxTableCells value cells, or at `rowLimit` when that is lower
  // (Cut), or when `progress` says so.
  TBuildResult Build(TCalculatorCore& core, const TProgress& progress = TProgress(),
                     std::size_t rowLimit = kMaxTableRows);
  // The rows Build will compute for the core's settings (before the bounds), or 0 when the
  // range is empty.
  static std::size_t ExpectedRows(const TCalculatorCore& core);

  // The grid: row 0 is the header, column 0 the row number, column 1 the variable, columns 2
  // and on the functions. At least 3 columns and 2 rows (an empty row when nothing was
  // computed); without functions, column 2 is empty.
  std::size_t ColumnCount() const { return 2 + (functions_.empty() ? 1 : functions_.size()); }
  std::size_t RowCount() const { return 1 + (rows_ == 0 ? 1 : rows_); }
  std::string CellText(std::size_t row, std::size_t column) const;

  // The computed rows and their values, for charts.
  std::size_t DataRowCount() const { return rows_; }
  std::size_t FunctionCount() const { return functions_.size(); }
  double X(std::size_t dataRow) const { return xs_[dataRow]; }
  const evaluator::TEvalValue& Value(std::size_t dataRow, std::size_t function) const {
    return values_[dataRow * functions_.size() + function];
  }
  // The function variable, and the definition head of each tabulated function ("f(x)").
  const std::string& VariableName() const { return variable_; }
  const std::string& FunctionHead(std::size_t function) const { return functions_[function].head; }

  // In every value cell (columns 2 and on, rows 1 and on) whose trimmed text equals the
  // trimmed `oldText` ignoring case, puts the trimmed `newText`.
  void Replace(std::string_view oldText, std::string_view newText);
  // Checking "&Null -> #NUM!": "NAN" and then "Null" become "#NUM!".
  void FailuresAsNum();
  // Unchecking it: "#NUM!" becomes "Null".
  void NumAsNull();

  // Every grid row as comma text, row 0 first, each ended by `lineEnd`.
  std::string CommaLines(std::string_view lineEnd = "\r\n") const;

 private:
  struct TColumn {
    std::int32_t index;  // of the runtime function in DefinitionsEval
    std::string head;
  };

  std::string ValueText(const evaluator::TEvalValue& value) const;

  std::string variable_;
  std::vector<TColumn> functions_;
  std::size_t rows_ = 0;
  std::vector<double> xs_;
  std::vector<evaluator::TEvalValue> values_;  // row by row, one per function
  // What Replace made of each original text (trimmed, lower case): cells of one text always
  // share their fate, so one entry per text does for every cell, however many there are.
  std::unordered_map<std::string, std::string> replaced_;
};

}  // namespace app
