// The numbered interpolation sheets and the two application functions that read them,
// "Lagrange" (x, sheet) and "CubicSpline" (x, sheet). Sheet cells are expressions, evaluated
// on the calculator's SheetEval; what a function read is cached until the sheet changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "evaluator/value.h"
#include "interpolation/interpolation_sheet.h"

namespace app {
class TCalculatorCore;
}

namespace interpolation {

class TInterpolationSheets {
 public:
  // Starts with one sheet and binds "Lagrange" and "CubicSpline" of the core's function table
  // to these sheets; the destructor unbinds them. `core` must outlive the object.
  explicit TInterpolationSheets(app::TCalculatorCore& core);
  ~TInterpolationSheets();
  TInterpolationSheets(const TInterpolationSheets&) = delete;
  TInterpolationSheets& operator=(const TInterpolationSheets&) = delete;

  std::size_t Count() const { return sheets_.size(); }
  // Sheet `index` counts from 0; it is sheet number index + 1.
  TInterpolationSheet& Sheet(std::size_t index) { return sheets_[index]; }
  const TInterpolationSheet& Sheet(std::size_t index) const { return sheets_[index]; }

  // Appends a new sheet.
  void AddSheet();
  // Removes a sheet; the later ones move one number down with their rows, files, types and
  // caches. False, and nothing removed, for the only sheet or an index out of range.
  bool DeleteSheet(std::size_t index);

  // "&Ordination": evaluates the sheet's cells as the functions do and sorts its rows by x,
  // ties kept in row order. A cell that fails raises EEvalError with the functions' message and
  // leaves the rows as they were.
  void Ordinate(std::size_t index);

  // The application functions, as the evaluator calls them: (x, sheet number).
  void Lagrange(const evaluator::TEvalValue* const* arguments, std::int32_t count,
                evaluator::TEvalValue& result);
  void CubicSpline(const evaluator::TEvalValue* const* arguments, std::int32_t count,
                   evaluator::TEvalValue& result);

 private:
  struct TPoints {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<std::size_t> order;  // row of each sorted point
  };

  // Checks both arguments and the sheet number; returns the sheet's index.
  std::size_t SheetArgument(const evaluator::TEvalValue* const* arguments, double& x) const;
  // Evaluates every row and sorts the points by x; needs at least `minimum` rows.
  TPoints ReadPoints(std::size_t index, std::size_t minimum);
  double CellValue(const std::string& text, const std::string& context);
  // Refuses x outside the sheet's cached nodes.
  static void CheckDomain(const TInterpolationSheet& sheet, double x);

  app::TCalculatorCore& core_;
  std::vector<TInterpolationSheet> sheets_{1};
  // SheetEval is busy while a sheet is read: a cell that calls a function of the sheets again
  // would parse over the text being run.
  bool reading_ = false;
};

}  // namespace interpolation
