// The sweep solvers of tridiagonal systems: TDiagonal for a plain system and TCiclicDiagonal
// for a cyclic one, where the first and last unknowns are neighbours. The spline systems of
// the interpolation sheets are solved with them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace interpolation {

inline constexpr const char* kNotSolved = "NOT SOLVED";
inline constexpr const char* kBadSystem = "BAD SYSTEM";

// Cells shared by both solvers. Row i states a_i*x[i-1] + b_i*x[i] + c_i*x[i+1] = d_i; the
// right side and the diagonal are stored negated (F = -d, C = -b), the sweep's own convention.
enum TSweepCell : std::int32_t { scRightSide = 0, scDiagonal = 1, scUpper = 2, scLower = 3 };

// Rows 0 .. n of `Width` cells each, and the status text that tells whether the solution
// cells can be read: empty when ready or solved, "NOT SOLVED" after a change, "BAD SYSTEM"
// after a failed solve.
template <std::int32_t Width, std::int64_t MaxLastRow>
class TSweepRows {
 public:
  static constexpr std::int32_t kCellsPerRow = Width;
  // The largest last row index whose storage fits in 2^31 - 1 bytes.
  static constexpr std::int64_t kMaxLastRow = MaxLastRow;

  // Makes rows 0 .. n with every cell NaN. A negative n or one above the limit is refused and
  // leaves the object without rows and "NOT SOLVED"; false then, or when memory runs out (the
  // status then holds the allocation's message).
  bool SetSize(std::int64_t n);
  std::int64_t LastRow() const { return lastRow_; }
  // Ignored for a row or cell out of range.
  void SetCell(std::int64_t row, std::int32_t cell, double value);
  // NaN for a row or cell out of range.
  double GetCell(std::int64_t row, std::int32_t cell) const;
  const std::string& Status() const { return status_; }
  bool Ready() const { return status_.empty(); }

 protected:
  double& At(std::int64_t row, std::int32_t cell) {
    return cells_[static_cast<std::size_t>(row) * Width + static_cast<std::size_t>(cell)];
  }
  bool HasRows() const { return !cells_.empty(); }
  // Whether row i fails the strict dominance test |b| > |a| + |c|.
  bool NotDominant(std::int64_t row);
  bool Fail() {
    status_ = kBadSystem;
    return false;
  }

  std::int64_t lastRow_ = -1;
  std::string status_ = kNotSolved;

 private:
  std::vector<double> cells_;
};

class TDiagonal : public TSweepRows<7, 38347920> {
 public:
  enum TCell : std::int32_t { cAlpha = 4, cBeta = 5, cSolution = 6 };
  // The sweep; the last row's upper coefficient is not used. True and an empty status on
  // success, false and "BAD SYSTEM" when a row from 1 on is not strictly dominant or a pivot
  // is zero; false and "NOT SOLVED" when the object has no rows.
  bool Solve();
};

class TCiclicDiagonal : public TSweepRows<10, 26843543> {
 public:
  enum TCell : std::int32_t { cAlpha = 4, cBeta = 5, cGamma = 6, cSolution = 7, cP = 8, cQ = 9 };
  // The cyclic sweep: row 0's lower coefficient multiplies x[n] and row n's upper one x[0].
  bool Solve();
};

}  // namespace interpolation
