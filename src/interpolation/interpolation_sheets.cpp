// Reading the sheets' cells, the argument rules and the two interpolation functions.
#include "interpolation/interpolation_sheets.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "app/calculator_core.h"
#include "app/error_messages.h"
#include "app/numeric_faults.h"
#include "app/value_compare.h"
#include "evaluator/complex_eval.h"
#include "evaluator/eval_errors.h"
#include "interpolation/spline.h"

namespace interpolation {

namespace {

using evaluator::EEvalError;
using evaluator::TEvalValue;

constexpr double kIntegerTolerance = 1e-13;
// Each Lagrange value costs a product over every pair of nodes; beyond this many points a
// single call would keep the window busy for seconds, and the polynomial means nothing anyway.
constexpr std::size_t kMaxLagrangePoints = 10000;

std::string SheetName(std::size_t index) {
  return "Sheet" + std::to_string(index + 1);
}

// Ascending x with NaN after every number, so that the sort sees a strict weak order.
bool XBefore(double a, double b) {
  return !std::isnan(a) && (std::isnan(b) || a < b);
}

// Clears a flag when it goes out of scope, failure or not.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagGuard() { flag_ = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TInterpolationSheets::TInterpolationSheets(app::TCalculatorCore& core) : core_(core) {
  core_.AppFunctions.SetLagrange(
      [this](const TEvalValue* const* arguments, std::int32_t count, TEvalValue& result) {
        Lagrange(arguments, count, result);
      });
  core_.AppFunctions.SetCubicSpline(
      [this](const TEvalValue* const* arguments, std::int32_t count, TEvalValue& result) {
        CubicSpline(arguments, count, result);
      });
}

TInterpolationSheets::~TInterpolationSheets() {
  core_.AppFunctions.SetLagrange({});
  core_.AppFunctions.SetCubicSpline({});
}

void TInterpolationSheets::AddSheet() {
  sheets_.emplace_back();
}

bool TInterpolationSheets::DeleteSheet(std::size_t index) {
  if (sheets_.size() <= 1 || index >= sheets_.size()) return false;
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

double TInterpolationSheets::CellValue(const std::string& text, const std::string& context) {
  evaluator::TTalvekComplexEval& eval = *core_.SheetEval;
  eval.VerifySyntaxSemantics(text, "", false);
  if (eval.ErrorFlag) throw EEvalError(context + app::ParseErrorMessage(eval));
  TEvalValue value;
  eval.DoMathExpression(value);
  if (eval.ErrorFlag) throw EEvalError(context + app::ExecuteErrorMessage(eval));
  if (!value.IsRealOrCurrency()) throw EEvalError(context + evaluator::kIncorrectRealType);
  return value.AsDouble();
}

TInterpolationSheets::TPoints TInterpolationSheets::ReadPoints(std::size_t index,
                                                               std::size_t minimum) {
  const TInterpolationSheet& sheet = sheets_[index];
  const std::string name = SheetName(index);
  const std::size_t count = sheet.RowCount();
  if (count < minimum) {
    throw EEvalError(name +
                     ": Number of interpolating points must be >=" + std::to_string(minimum));
  }
  if (reading_) {
    throw EEvalError(name + ": Lagrange and CubicSpline cannot be used in the cells of a sheet");
  }
  const TFlagGuard busy(reading_);
  std::vector<double> x(count);
  std::vector<double> y(count);
  for (std::size_t r = 0; r < count; ++r) {
    const std::string row = std::to_string(r + 1);
    x[r] = CellValue(sheet.Row(r).x, name + ": Interpolation x[" + row + "]: ");
    y[r] = CellValue(sheet.Row(r).fx, name + ": Interpolation f(x[" + row + "]): ");
  }
  TPoints points;
  points.order.resize(count);
  std::iota(points.order.begin(), points.order.end(), std::size_t{0});
  std::stable_sort(points.order.begin(), points.order.end(),
                   [&x](std::size_t a, std::size_t b) { return XBefore(x[a], x[b]); });
  points.x.resize(count);
  points.y.resize(count);
  for (std::size_t k = 0; k < count; ++k) {
    points.x[k] = x[points.order[k]];
    points.y[k] = y[points.order[k]];
  }
  return points;
}

void TInterpolationSheets::Ordinate(std::size_t index) {
  if (index >= sheets_.size()) return;
  sheets_[index].Reorder(ReadPoints(index, 0).order);
}

std::size_t TInterpolationSheets::SheetArgument(const TEvalValue* const* arguments,
                                                double& x) const {
  for (std::int32_t k = 0; k < 2; ++k) {
    if (!arguments[k]->IsRealOrCurrency()) {
      throw EEvalError("Incorrect real type: parameter " + std::to_string(k + 1));
    }
  }
  x = arguments[0]->AsDouble();
  const double number = arguments[1]->AsDouble();
  const double whole = std::trunc(number);
  if (!(std::fabs(number - whole) <= kIntegerTolerance)) {
    throw EEvalError("Incorrect integer type: Sheet number");
  }
  if (whole < 1 || whole > static_cast<double>(sheets_.size())) {
    throw EEvalError("Sheet number must be between 1 and " + std::to_string(sheets_.size()));
  }
  return static_cast<std::size_t>(whole) - 1;
}

void TInterpolationSheets::CheckDomain(const TInterpolationSheet& sheet, double x) {
  const double first = sheet.CachedX.front();
  const double last = sheet.CachedX.back();
  if ((first <= x && x <= last) || app::RealsEqual(x, first) || app::RealsEqual(x, last)) return;
  throw EEvalError("Not defined for this arguments: " + evaluator::RealToText(x));
}

void TInterpolationSheets::Lagrange(const TEvalValue* const* arguments, std::int32_t,
                                    TEvalValue& result) {
  double x = 0;
  const std::size_t index = SheetArgument(arguments, x);
  TInterpolationSheet& sheet = sheets_[index];
  if (sheet.RowCount() > kMaxLagrangePoints) {
    throw EEvalError(SheetName(index) + ": Number of interpolating points must be <=" +
                     std::to_string(kMaxLagrangePoints));
  }
  if (sheet.DataChanged) {
    TPoints points = ReadPoints(index, 2);
    sheet.CachedX = std::move(points.x);
    sheet.CachedY = std::move(points.y);
    sheet.DataChanged = false;
  }
  CheckDomain(sheet, x);
  const std::vector<double>& nodes = sheet.CachedX;
  const std::vector<double>& values = sheet.CachedY;
  double sum = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    double term = values[i];
    for (std::size_t m = 0; m < nodes.size(); ++m) {
      if (m != i) term *= app::Quotient(x - nodes[m], nodes[i] - nodes[m]);
    }
    sum += term;
  }
  if (!std::isnan(sum)) result = TEvalValue::Real(sum);
}

void TInterpolationSheets::CubicSpline(const TEvalValue* const* arguments, std::int32_t,
                                       TEvalValue& result) {
  double x = 0;
  const std::size_t index = SheetArgument(arguments, x);
  TInterpolationSheet& sheet = sheets_[index];
  if (sheet.SplineChanged) {
    TPoints points = ReadPoints(index, 4);
    std::vector<double> m =
        sheet.SplineType() == stPeriodic
            ? PeriodicSpline(static_cast<std::int32_t>(index + 1), points.x, points.y)
            : NaturalSpline(static_cast<std::int32_t>(index + 1), points.x, points.y);
    sheet.CachedX = std::move(points.x);
    sheet.CachedY = std::move(points.y);
    sheet.CachedM = std::move(m);
    // The nodes just read are the current ones for "Lagrange" too. Lagrange, reading alone,
    // leaves the spline mark set, so the second derivatives never belong to other nodes.
    sheet.SplineChanged = false;
    sheet.DataChanged = false;
  }
  CheckDomain(sheet, x);
  const std::size_t k = SplineInterval(sheet.CachedX, x);
  if (k == 0) return;  // only a NaN node can leave x in the domain without an interval
  const double value = SplineValue(sheet.CachedX, sheet.CachedY, sheet.CachedM, k, x);
  if (!std::isnan(value)) result = TEvalValue::Real(value);
}

}  // namespace interpolation
