// Assembly of the natural and periodic spline systems, the interval search and the value.
#include "interpolation/spline.h"

#include <algorithm>
#include <string>

#include "app/numeric_faults.h"
#include "app/value_compare.h"
#include "evaluator/eval_errors.h"
#include "interpolation/tridiagonal.h"

namespace interpolation {

namespace {

std::string SheetPrefix(std::int32_t sheet) {
  return "Sheet" + std::to_string(sheet) + ": ";
}

// Steps h[k] = x[k+1] - x[k] and slopes (y[k+1] - y[k]) / h[k]; equal nodes divide by zero.
void StepsAndSlopes(std::span<const double> x, std::span<const double> y, std::vector<double>& h,
                    std::vector<double>& slope) {
  const std::size_t count = x.size() - 1;
  h.resize(count);
  slope.resize(count);
  for (std::size_t k = 0; k < count; ++k) {
    h[k] = x[k + 1] - x[k];
    slope[k] = app::Quotient(y[k + 1] - y[k], h[k]);
  }
}

// Rows for the interior nodes k = 1 .. N-2, written to row k - 1 + `shift`.
template <typename TSystem>
void InteriorRows(TSystem& system, std::span<const double> x, const std::vector<double>& h,
                  const std::vector<double>& slope, std::int64_t shift) {
  for (std::size_t k = 1; k + 1 < x.size(); ++k) {
    const auto row = static_cast<std::int64_t>(k) - 1 + shift;
    system.SetCell(row, scLower, h[k - 1]);
    system.SetCell(row, scDiagonal, 2 * (x[k + 1] - x[k - 1]));
    system.SetCell(row, scUpper, h[k]);
    system.SetCell(row, scRightSide, 6 * (slope[k] - slope[k - 1]));
  }
}

[[noreturn]] void SolverFailed(std::int32_t sheet, const std::string& status) {
  throw evaluator::EEvalError(SheetPrefix(sheet) + status);
}

}  // namespace

std::vector<double> NaturalSpline(std::int32_t sheet, std::span<const double> x,
                                  std::span<const double> y) {
  const std::size_t count = x.size();
  std::vector<double> h;
  std::vector<double> slope;
  StepsAndSlopes(x, y, h, slope);
  TDiagonal system;
  if (!system.SetSize(static_cast<std::int64_t>(count) - 3)) SolverFailed(sheet, system.Status());
  InteriorRows(system, x, h, slope, 0);
  if (!system.Solve()) SolverFailed(sheet, system.Status());
  std::vector<double> m(count, 0.0);
  for (std::size_t k = 1; k + 1 < count; ++k) {
    m[k] = system.GetCell(static_cast<std::int64_t>(k) - 1, TDiagonal::cSolution);
  }
  return m;
}

std::vector<double> PeriodicSpline(std::int32_t sheet, std::span<const double> x,
                                   std::span<const double> y) {
  const std::size_t count = x.size();
  if (!app::RealsEqual(y[count - 1], y[0])) {
    throw evaluator::EEvalError(
        SheetPrefix(sheet) + "bad condition for periodic Spline: begin point <> end point value");
  }
  std::vector<double> h;
  std::vector<double> slope;
  StepsAndSlopes(x, y, h, slope);
  TCiclicDiagonal system;
  if (!system.SetSize(static_cast<std::int64_t>(count) - 2)) {
    SolverFailed(sheet, system.Status());
  }
  // Row 0: the periodic join of the last interval to the first.
  const double hLast = h[count - 2];
  system.SetCell(0, scLower, hLast);
  system.SetCell(0, scDiagonal, 2 * (hLast + h[0]));
  system.SetCell(0, scUpper, h[0]);
  system.SetCell(0, scRightSide, 6 * (slope[0] - slope[count - 2]));
  InteriorRows(system, x, h, slope, 1);
  if (!system.Solve()) SolverFailed(sheet, system.Status());
  std::vector<double> m(count);
  for (std::size_t k = 0; k + 1 < count; ++k) {
    m[k] = system.GetCell(static_cast<std::int64_t>(k), TCiclicDiagonal::cSolution);
  }
  m[count - 1] = m[0];
  return m;
}

std::size_t SplineInterval(std::span<const double> x, double t) {
  const std::size_t count = x.size();
  if (count < 2) return 0;
  // Without the tolerance the first interval holding t is the one ending at the first node
  // not below t. Nodes below t that equal it by the value comparison form a run just before
  // that node (a node between two equal ones is equal as well), and the first of them is met
  // earlier, as the right end of its own interval (or the left end of the first interval).
  const auto begin = x.begin();
  const auto firstNotBelow = std::lower_bound(begin, x.end(), t);
  const auto firstEqual = std::partition_point(
      begin, firstNotBelow, [t](double node) { return !app::RealsEqual(node, t); });
  if (firstEqual != firstNotBelow) {
    return std::max<std::size_t>(static_cast<std::size_t>(firstEqual - begin), 1);
  }
  if (firstNotBelow == x.end()) return 0;
  const auto right = static_cast<std::size_t>(firstNotBelow - begin);
  if (right > 0) return right;
  // t is at or below the first node: only the first interval can hold it.
  return t == x[0] || app::RealsEqual(t, x[0]) ? 1 : 0;
}

double SplineValue(std::span<const double> x, std::span<const double> y, std::span<const double> m,
                   std::size_t k, double t) {
  // The Taylor form around x[k] gives y[k] exactly there; the left end of the first interval
  // is the only node met as a left end, and gets its own value the same way.
  if (t == x[k - 1] && k == 1) return y[0];
  const double h = x[k] - x[k - 1];
  const double d = t - x[k];
  const double g = (m[k] - m[k - 1]) / h;
  const double s = h * m[k] / 2 - h * h * g / 6 + (y[k] - y[k - 1]) / h;
  return y[k] + s * d + m[k] * d * d / 2 + g * d * d * d / 6;
}

}  // namespace interpolation
