// Tests of the sweep solvers and the spline systems: solutions against Gaussian elimination,
// the dominance rule, sizes and statuses, the two spline kinds, the interval search and the
// value formula.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "app/value_compare.h"
#include "evaluator/eval_errors.h"
#include "interpolation/spline.h"
#include "interpolation/tridiagonal.h"

namespace interpolation {
namespace {

using TMatrix = std::vector<std::vector<double>>;

// Solves A x = d by elimination with partial pivoting: the reference the sweeps must match.
std::vector<double> Gauss(TMatrix a, std::vector<double> d) {
  const std::size_t n = d.size();
  for (std::size_t col = 0; col < n; ++col) {
    std::size_t pivot = col;
    for (std::size_t r = col + 1; r < n; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    std::swap(a[col], a[pivot]);
    std::swap(d[col], d[pivot]);
    for (std::size_t r = col + 1; r < n; ++r) {
      const double f = a[r][col] / a[col][col];
      for (std::size_t c = col; c < n; ++c)
        a[r][c] -= f * a[col][c];
      d[r] -= f * d[col];
    }
  }
  std::vector<double> x(n);
  for (std::size_t r = n; r-- > 0;) {
    double s = d[r];
    for (std::size_t c = r + 1; c < n; ++c)
      s -= a[r][c] * x[c];
    x[r] = s / a[r][r];
  }
  return x;
}

struct TRow {
  double lower, diagonal, upper, right;
};

// Loads rows into a solver and the same system, cyclic or not, into a full matrix.
template <typename TSystem>
TMatrix Load(TSystem& system, const std::vector<TRow>& rows, bool cyclic, std::vector<double>& d) {
  const std::size_t n = rows.size();
  EXPECT_TRUE(system.SetSize(static_cast<std::int64_t>(n) - 1));
  TMatrix a(n, std::vector<double>(n, 0.0));
  d.assign(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    const auto row = static_cast<std::int64_t>(i);
    system.SetCell(row, scLower, rows[i].lower);
    system.SetCell(row, scDiagonal, rows[i].diagonal);
    system.SetCell(row, scUpper, rows[i].upper);
    system.SetCell(row, scRightSide, rows[i].right);
    a[i][i] = rows[i].diagonal;
    if (i > 0) a[i][i - 1] = rows[i].lower;
    if (i + 1 < n) a[i][i + 1] = rows[i].upper;
    if (cyclic && i == 0) a[0][n - 1] += rows[0].lower;
    if (cyclic && i + 1 == n) a[n - 1][0] += rows[i].upper;
    d[i] = rows[i].right;
  }
  return a;
}

TEST(TridiagonalTest, DominantSystemsSolveAsGaussianElimination) {
  const std::vector<TRow> rows = {{0, 4, 1, 5}, {1, -5, 2, -3}, {-2, 6, 3, 11}};
  TDiagonal plain;
  std::vector<double> d;
  const TMatrix a = Load(plain, rows, false, d);
  EXPECT_EQ(plain.Status(), kNotSolved);
  // Cells read back as they were set, whatever sign they are kept in.
  EXPECT_EQ(plain.GetCell(1, scDiagonal), -5);
  EXPECT_EQ(plain.GetCell(2, scRightSide), 11);
  ASSERT_TRUE(plain.Solve());
  EXPECT_EQ(plain.Status(), "");
  const std::vector<double> expected = Gauss(a, d);
  for (std::int64_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(plain.GetCell(i, TDiagonal::cSolution), expected[static_cast<std::size_t>(i)],
                1e-14);
  }

  const std::vector<TRow> cyclicRows = {
      {1, 5, 1, 2}, {-1, 4, 2, 0}, {0.5, -3, 1, 7}, {2, 6, -1.5, -4}, {1, 3.5, 1, 1}};
  TCiclicDiagonal cyclic;
  const TMatrix c = Load(cyclic, cyclicRows, true, d);
  ASSERT_TRUE(cyclic.Solve());
  const std::vector<double> cyclicExpected = Gauss(c, d);
  for (std::int64_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(cyclic.GetCell(i, TCiclicDiagonal::cSolution),
                cyclicExpected[static_cast<std::size_t>(i)], 1e-14);
  }
}

TEST(TridiagonalTest, SingleUnknownSystemsSolve) {
  std::vector<double> d;
  TDiagonal plain;
  Load(plain, {{9, 4, 9, 2}}, false, d);  // no neighbours: 4 x = 2
  ASSERT_TRUE(plain.Solve());
  EXPECT_EQ(plain.GetCell(0, TDiagonal::cSolution), 0.5);
  TCiclicDiagonal cyclic;
  Load(cyclic, {{1, 4, 1, 3}}, false, d);  // its own neighbour twice: (1 + 4 + 1) x = 3
  ASSERT_TRUE(cyclic.Solve());
  EXPECT_EQ(cyclic.GetCell(0, TCiclicDiagonal::cSolution), 0.5);
}

TEST(TridiagonalTest, RowsThatAreNotStrictlyDominantAreRefused) {
  struct TCase {
    const char* name;
    double diagonal;
    bool solves;
  };
  // Row 1 has |a| + |c| = 3.
  const TCase cases[] = {
      {"equal", 3, false},
      {"equal within 1e-14", 3 * (1 + 4e-15), false},
      {"weaker", -2.5, false},
      {"just stronger", 3 * (1 + 1e-12), true},
      {"negative and stronger", -3.5, true},
  };
  for (const TCase& c : cases) {
    for (const bool cyclic : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (cyclic ? " cyclic" : ""));
      const std::vector<TRow> rows = {{0.5, 4, 1, 1}, {1, c.diagonal, -2, 1}, {1, 4, 0.5, 1}};
      std::vector<double> d;
      TDiagonal plain;
      TCiclicDiagonal ring;
      const bool solved = cyclic ? (Load(ring, rows, true, d), ring.Solve())
                                 : (Load(plain, rows, false, d), plain.Solve());
      EXPECT_EQ(solved, c.solves);
      EXPECT_EQ(cyclic ? ring.Status() : plain.Status(), c.solves ? "" : kBadSystem);
    }
  }
  // Row 0 is not tested, but a zero pivot there cannot be divided by.
  TDiagonal zeroFirst;
  std::vector<double> d;
  Load(zeroFirst, {{0, 0, 1, 1}, {1, 4, 1, 1}}, false, d);
  EXPECT_FALSE(zeroFirst.Solve());
  EXPECT_EQ(zeroFirst.Status(), kBadSystem);
}

TEST(TridiagonalTest, SizesOutsideTheLimitsLeaveTheSolverUnusable) {
  EXPECT_EQ(TDiagonal::kMaxLastRow, 38347920);
  EXPECT_EQ(TCiclicDiagonal::kMaxLastRow, 26843543);
  TDiagonal plain;
  EXPECT_FALSE(plain.Solve());
  ASSERT_TRUE(plain.SetSize(2));
  EXPECT_EQ(plain.Status(), "");
  EXPECT_TRUE(std::isnan(plain.GetCell(1, scUpper)));  // new cells hold NaN
  plain.SetCell(3, scDiagonal, 1);                     // out of range: ignored
  EXPECT_EQ(plain.Status(), kNotSolved);
  EXPECT_TRUE(std::isnan(plain.GetCell(0, 7)));
  for (const std::int64_t bad : {std::int64_t{-1}, TDiagonal::kMaxLastRow + 1}) {
    EXPECT_FALSE(plain.SetSize(bad));
    EXPECT_EQ(plain.LastRow(), -1);
    plain.SetCell(0, scDiagonal, 1);  // nothing to write to
    EXPECT_FALSE(plain.Solve());
    EXPECT_EQ(plain.Status(), kNotSolved);
  }
  TCiclicDiagonal cyclic;
  EXPECT_FALSE(cyclic.SetSize(TCiclicDiagonal::kMaxLastRow + 1));
  EXPECT_FALSE(cyclic.Solve());
}

TEST(SplineTest, NaturalSplineSolvesTheInteriorRows) {
  const std::vector<double> x = {0, 1, 2, 3};
  const std::vector<double> y = {0, 1, 0, 1};
  // 4 M1 + M2 = -12 and M1 + 4 M2 = 12.
  const std::vector<double> m = NaturalSpline(1, x, y);
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m[0], 0);
  EXPECT_DOUBLE_EQ(m[1], -4);
  EXPECT_DOUBLE_EQ(m[2], 4);
  EXPECT_EQ(m[3], 0);
  // The cubic on [1, 2] at its midpoint: y = 1/2, by symmetry of the data.
  EXPECT_NEAR(SplineValue(x, y, m, 2, 1.5), 0.5, 1e-15);
}

TEST(SplineTest, PeriodicSplineOfSineHasMinusSineAsSecondDerivative) {
  const int count = 41;
  std::vector<double> x(count);
  std::vector<double> y(count);
  for (int k = 0; k < count; ++k) {
    x[static_cast<std::size_t>(k)] = 2 * std::numbers::pi * k / (count - 1);
    y[static_cast<std::size_t>(k)] = std::sin(x[static_cast<std::size_t>(k)]);
  }
  y.back() = y.front();  // sin(2 pi) is not exactly 0 in doubles
  const std::vector<double> m = PeriodicSpline(1, x, y);
  // The spline's error in M is about h^2 / 12 here.
  for (int k = 0; k < count; ++k) {
    EXPECT_NEAR(m[static_cast<std::size_t>(k)], -y[static_cast<std::size_t>(k)], 2.5e-3) << k;
  }
  EXPECT_EQ(m.back(), m.front());
}

TEST(SplineTest, SplineFailuresNameTheSheet) {
  const std::vector<double> x = {0, 1, 2, 3};
  try {
    PeriodicSpline(3, x, std::vector<double>{0, 1, 0, 1});
    ADD_FAILURE() << "periodic spline of open data";
  } catch (const evaluator::EEvalError& e) {
    EXPECT_STREQ(e.what(),
                 "Sheet3: bad condition for periodic Spline: begin point <> end point value");
  }
  // Ends equal within the value comparison's tolerance are accepted.
  EXPECT_NO_THROW(PeriodicSpline(3, x, std::vector<double>{1, 2, 0, 1 + 1e-15}));
  // Two equal nodes have no step between them.
  const std::vector<double> repeated = {0, 1, 1, 2};
  EXPECT_THROW(NaturalSpline(1, repeated, std::vector<double>{0, 1, 2, 3}), evaluator::EMathError);
  EXPECT_THROW(PeriodicSpline(1, repeated, std::vector<double>{0, 1, 1, 0}), evaluator::EMathError);
}

TEST(SplineTest, TheFirstIntervalHoldingThePointIsFound) {
  const std::vector<double> x = {-2, -1, 0, 1, 1.5, 4};
  struct TCase {
    double t;
    std::size_t interval;
  };
  const TCase cases[] = {
      {-2, 1},
      {-2 * (1 + 1e-15), 1},  // below the first node, but equal to it
      {-2.1, 0},
      {-1.5, 1},
      {-1, 1},  // a node ends the interval before it
      {-1 - 2e-16, 1},
      {-1 + 1e-16, 2},  // the binary exponent changes at -1: not equal to it
      {0.5, 3},
      {1, 3},
      {1 + 2e-16, 3},
      {4, 5},
      {4 * (1 + 1e-15), 5},
      {4.01, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(SplineInterval(x, c.t), c.interval) << c.t;
    // Same as a scan from the start.
    std::size_t scanned = 0;
    for (std::size_t i = 1; i < x.size() && scanned == 0; ++i) {
      if ((x[i - 1] <= c.t && c.t <= x[i]) || app::RealsEqual(c.t, x[i - 1]) ||
          app::RealsEqual(c.t, x[i])) {
        scanned = i;
      }
    }
    EXPECT_EQ(scanned, c.interval) << c.t;
  }
}

}  // namespace
}  // namespace interpolation
