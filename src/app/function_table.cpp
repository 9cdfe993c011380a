// TFunctionTable: the header, the rows and their stop rule, Replace and the comma text.
#include "app/function_table.h"

#include <algorithm>
#include <cmath>

#include "app/calculator_core.h"
#include "app/value_compare.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

using evaluator::TEvalValue;

// The runtime functions of one evaluator must not write into the results pane while the table
// calls them: a failed cell only shows its value. The handler comes back however the table ends.
class TSilentExecuteErrors {
 public:
  explicit TSilentExecuteErrors(evaluator::TTalvekComplexEval& eval)
      : eval_(eval), saved_(std::move(eval.OnExecuteError)) {
    eval_.OnExecuteError = nullptr;
  }
  ~TSilentExecuteErrors() { eval_.OnExecuteError = std::move(saved_); }
  TSilentExecuteErrors(const TSilentExecuteErrors&) = delete;
  TSilentExecuteErrors& operator=(const TSilentExecuteErrors&) = delete;

 private:
  evaluator::TTalvekComplexEval& eval_;
  evaluator::TEvalEvent saved_;
};

std::string Normalised(std::string_view text) {
  return evaluator::ToLowerAscii(evaluator::TrimBlanks(text));
}

// Rows done between two calls of the progress callback.
constexpr std::size_t kProgressStride = 16384;

}  // namespace

void AppendCommaCell(std::string& line, std::string_view cell) {
  const bool quoted = std::any_of(cell.begin(), cell.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
  });
  if (!quoted) {
    line += cell;
    return;
  }
  line += '"';
  for (char c : cell) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

std::string CommaText(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    AppendCommaCell(line, cells[i]);
  }
  return line;
}

std::optional<std::string> TableRefusal(const TCalculatorCore& core) {
  if (!core.DefinitionsError) return std::nullopt;
  return core.FunctionVariable.empty() ? std::string() : std::string(kCorrectDefinitionsForTable);
}

void TFunctionTable::ResultCaption(const TCalculatorCore& core) {
  *this = TFunctionTable();
  variable_ = core.FunctionVariable;
  const evaluator::TTalvekComplexEval& eval = *core.DefinitionsEval;
  for (std::int32_t i = 0; i < eval.GetRunTimeFunctionCount(); ++i) {
    const std::string text = eval.GetRunTimeFunctionText(i);
    const std::size_t open = text.find('(');
    const std::size_t close = text.find(")~");
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    if (!evaluator::EqualsIgnoreCase(text.substr(open + 1, close - open - 1), variable_)) continue;
    functions_.push_back({i, text.substr(0, text.find('~'))});
  }
}

std::size_t TFunctionTable::ExpectedRows(const TCalculatorCore& core) {
  const double steps =
      std::round((core.GetSetting(stTo) - core.GetSetting(stFrom)) / core.GetSetting(stStep));
  if (!(steps > 0)) return 0;
  // Beyond the bounds the exact figure does not matter.
  return steps >= static_cast<double>(kMaxTableRows) ? kMaxTableRows + 1
                                                     : static_cast<std::size_t>(steps) + 1;
}

TFunctionTable::TBuildResult TFunctionTable::Build(TCalculatorCore& core, const TProgress& progress,
                                                   std::size_t rowLimit) {
  ResultCaption(core);
  const double from = core.GetSetting(stFrom);
  const double to = core.GetSetting(stTo);
  const double step = core.GetSetting(stStep);
  const std::size_t expected = ExpectedRows(core);
  const std::size_t width = std::max<std::size_t>(1, functions_.size() + 1);
  const std::size_t maxRows = std::min({rowLimit, kMaxTableRows, kMaxTableCells / width});
  xs_.reserve(std::min(expected, maxRows));
  values_.reserve(std::min(expected, maxRows) * functions_.size());

  evaluator::TTalvekComplexEval& eval = *core.DefinitionsEval;
  const TSilentExecuteErrors silent(eval);
  evaluator::TUserValuesArray argument(1);
  TEvalValue result;
  TBuildResult outcome = TBuildResult::Complete;
  for (std::size_t n = 0;; ++n) {
    const double x = from + static_cast<double>(n) * step;
    if (x >= to && !RealsEqual(x, to)) break;
    if (n == maxRows) {
      outcome = TBuildResult::Cut;
      break;
    }
    if (progress && n > 0 && n % kProgressStride == 0 && !progress(n, expected)) {
      outcome = TBuildResult::Cancelled;
      break;
    }
    xs_.push_back(x);
    for (const TColumn& column : functions_) {
      argument[0] = TEvalValue::Real(x);
      eval.DoRunTimeFunction(column.index, argument, result);
      values_.push_back(result);
    }
    rows_ = n + 1;
  }
  return outcome;
}

std::string TFunctionTable::ValueText(const TEvalValue& value) const {
  std::string text = evaluator::ValueToText(value);
  if (replaced_.empty()) return text;
  const auto found = replaced_.find(Normalised(text));
  return found == replaced_.end() ? text : found->second;
}

std::string TFunctionTable::CellText(std::size_t row, std::size_t column) const {
  if (row == 0) {
    if (column == 0) return "#";
    if (column == 1) return variable_;
    return functions_.empty() ? std::string() : functions_[column - 2].head;
  }
  if (row > rows_) return std::string();
  const std::size_t dataRow = row - 1;
  if (column == 0) return std::to_string(dataRow);
  if (column == 1) return evaluator::RealToText(xs_[dataRow]);
  if (functions_.empty()) return std::string();
  return ValueText(Value(dataRow, column - 2));
}

void TFunctionTable::Replace(std::string_view oldText, std::string_view newText) {
  const std::string from = Normalised(oldText);
  const std::string to = evaluator::TrimBlanks(newText);
  // Cells already replaced show their entry's text; the others show their original text.
  for (auto& [original, shown] : replaced_) {
    if (Normalised(shown) == from) shown = to;
  }
  replaced_.try_emplace(from, to);
}

void TFunctionTable::FailuresAsNum() {
  Replace("NAN", kNumText);
  Replace("Null", kNumText);
}

void TFunctionTable::NumAsNull() {
  Replace(kNumText, "Null");
}

std::string TFunctionTable::CommaLines(std::string_view lineEnd) const {
  std::string text;
  for (std::size_t row = 0; row < RowCount(); ++row) {
    for (std::size_t column = 0; column < ColumnCount(); ++column) {
      if (column > 0) text += ',';
      AppendCommaCell(text, CellText(row, column));
    }
    text += lineEnd;
  }
  return text;
}

}  // namespace app
