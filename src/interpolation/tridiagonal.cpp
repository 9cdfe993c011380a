// Storage, cell access and the two sweeps of TDiagonal and TCiclicDiagonal.
#include "interpolation/tridiagonal.h"

#include <cmath>
#include <exception>
#include <limits>

#include "app/value_compare.h"

namespace interpolation {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kDominanceTolerance = 1e-14;

}  // namespace

template <std::int32_t Width, std::int64_t MaxLastRow>
bool TSweepRows<Width, MaxLastRow>::SetSize(std::int64_t n) {
  status_ = kNotSolved;
  cells_.clear();
  cells_.shrink_to_fit();
  lastRow_ = -1;
  if (n < 0 || n > MaxLastRow) return false;
  try {
    cells_.assign(static_cast<std::size_t>(n + 1) * Width, kNaN);
  } catch (const std::exception& e) {
    status_ = e.what();
    return false;
  }
  lastRow_ = n;
  status_.clear();
  return true;
}

template <std::int32_t Width, std::int64_t MaxLastRow>
void TSweepRows<Width, MaxLastRow>::SetCell(std::int64_t row, std::int32_t cell, double value) {
  status_ = kNotSolved;
  if (row < 0 || row > lastRow_ || cell < 0 || cell >= Width) return;
  At(row, cell) = cell == scRightSide || cell == scDiagonal ? -value : value;
}

template <std::int32_t Width, std::int64_t MaxLastRow>
double TSweepRows<Width, MaxLastRow>::GetCell(std::int64_t row, std::int32_t cell) const {
  if (row < 0 || row > lastRow_ || cell < 0 || cell >= Width) return kNaN;
  const double value =
      cells_[static_cast<std::size_t>(row) * Width + static_cast<std::size_t>(cell)];
  return cell == scRightSide || cell == scDiagonal ? -value : value;
}

template <std::int32_t Width, std::int64_t MaxLastRow>
bool TSweepRows<Width, MaxLastRow>::NotDominant(std::int64_t row) {
  const double diagonal = std::fabs(At(row, scDiagonal));
  const double offDiagonal = std::fabs(At(row, scLower)) + std::fabs(At(row, scUpper));
  return diagonal < offDiagonal || app::RealsEqual(offDiagonal, diagonal, kDominanceTolerance);
}

template class TSweepRows<7, 38347920>;
template class TSweepRows<10, 26843543>;

bool TDiagonal::Solve() {
  if (!HasRows()) {
    status_ = kNotSolved;
    return false;
  }
  // Row i is a*x[i-1] - C*x[i] + c*x[i+1] = -F; the sweep keeps x[i] = alpha*x[i+1] + beta.
  if (At(0, scDiagonal) == 0) return Fail();
  At(0, cAlpha) = At(0, scUpper) / At(0, scDiagonal);
  At(0, cBeta) = At(0, scRightSide) / At(0, scDiagonal);
  for (std::int64_t i = 1; i <= lastRow_; ++i) {
    if (NotDominant(i)) return Fail();
    const double a = At(i, scLower);
    const double pivot = At(i, scDiagonal) - a * At(i - 1, cAlpha);
    if (pivot == 0) return Fail();
    At(i, cAlpha) = At(i, scUpper) / pivot;
    At(i, cBeta) = (a * At(i - 1, cBeta) + At(i, scRightSide)) / pivot;
  }
  // x[n] has no right neighbour, so it is beta[n]: (F + a*beta[n-1]) / (C - a*alpha[n-1]).
  At(lastRow_, cSolution) = At(lastRow_, cBeta);
  for (std::int64_t i = lastRow_ - 1; i >= 0; --i) {
    At(i, cSolution) = At(i, cAlpha) * At(i + 1, cSolution) + At(i, cBeta);
  }
  status_.clear();
  return true;
}

bool TCiclicDiagonal::Solve() {
  if (!HasRows()) {
    status_ = kNotSolved;
    return false;
  }
  const std::int64_t n = lastRow_;
  if (n == 0) {
    // One unknown that is its own left and right neighbour.
    const double pivot = At(0, scDiagonal) - At(0, scLower) - At(0, scUpper);
    if (pivot == 0) return Fail();
    At(0, cSolution) = At(0, scRightSide) / pivot;
    status_.clear();
    return true;
  }
  // The sweep keeps x[i] = alpha*x[i+1] + beta + gamma*x[n].
  if (At(0, scDiagonal) == 0) return Fail();
  At(0, cAlpha) = At(0, scUpper) / At(0, scDiagonal);
  At(0, cBeta) = At(0, scRightSide) / At(0, scDiagonal);
  At(0, cGamma) = At(0, scLower) / At(0, scDiagonal);
  for (std::int64_t i = 1; i <= n; ++i) {
    if (NotDominant(i)) return Fail();
    const double a = At(i, scLower);
    const double pivot = At(i, scDiagonal) - a * At(i - 1, cAlpha);
    if (pivot == 0) return Fail();
    At(i, cAlpha) = At(i, scUpper) / pivot;
    At(i, cBeta) = (a * At(i - 1, cBeta) + At(i, scRightSide)) / pivot;
    At(i, cGamma) = a * At(i - 1, cGamma) / pivot;
  }
  // x[i] = p + q*x[n] for i < n.
  At(n - 1, cP) = At(n - 1, cBeta);
  At(n - 1, cQ) = At(n - 1, cAlpha) + At(n - 1, cGamma);
  for (std::int64_t i = n - 2; i >= 0; --i) {
    At(i, cP) = At(i, cAlpha) * At(i + 1, cP) + At(i, cBeta);
    At(i, cQ) = At(i, cAlpha) * At(i + 1, cQ) + At(i, cGamma);
  }
  const double divisor = 1 - At(n, cAlpha) * At(0, cQ) - At(n, cGamma);
  if (divisor == 0) return Fail();
  const double last = (At(n, cAlpha) * At(0, cP) + At(n, cBeta)) / divisor;
  At(n, cSolution) = last;
  for (std::int64_t i = 0; i < n; ++i) {
    At(i, cSolution) = At(i, cQ) * last + At(i, cP);
  }
  status_.clear();
  return true;
}

}  // namespace interpolation
