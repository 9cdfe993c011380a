// The elimination over values: pivoting, the determinant and its tolerance, complex systems,
// failures, the reuse of one elimination for many right-hand sides, and the matrix text form.
#include "linsys/linear_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace linsys {
namespace {

using evaluator::TEvalValue;

TValueMatrix Matrix(std::initializer_list<std::initializer_list<TEvalValue>> rows) {
  TValueMatrix a(rows.size());
  std::size_t r = 0;
  for (const auto& row : rows) {
    std::size_t c = 0;
    for (const TEvalValue& value : row)
      a(r, c++) = value;
    ++r;
  }
  return a;
}

TEvalValue R(double x) {
  return TEvalValue::Real(x);
}
TEvalValue C(double re, double im) {
  return TEvalValue::Complex(re, im);
}

TEST(ExponentText, WritesEighteenDigitsAndAShortExponent) {
  const struct {
    double value;
    const char* text;
  } rows[] = {
      {1, "1.00000000000000000E+0"},
      {-2.5e-12, "-2.49999999999999985E-12"},
      {0.1, "1.00000000000000006E-1"},
      {123456789, "1.23456789000000000E+8"},
      {1e300, "1.00000000000000005E+300"},
      {5e-324, "4.94065645841246544E-324"},
      {0.0, "0.00000000000000000E+0"},
      {-0.0, "0.00000000000000000E+0"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ExponentText(row.value), row.text) << row.value;
  EXPECT_EQ(MatrixEntryText(C(0, -1)), "Complex(0.00000000000000000E+0, -1.00000000000000000E+0)");
  EXPECT_EQ(MatrixEntryText(TEvalValue::CurrencyScaled(25000)), "2.50000000000000000E+0");
  const TEvalValue line[] = {R(1), R(-2)};
  EXPECT_EQ(MatrixLine(line), "1.00000000000000000E+0   -2.00000000000000000E+0   ");
}

TEST(SolveSystem, PivotsOnTheLargestEntryAndKeepsTheDeterminantsSign) {
  TValueVector x;
  TEvalValue d;
  // A zero in the corner needs an exchange, which turns the determinant's sign.
  ASSERT_FALSE(SolveSystem(Matrix({{R(0), R(1)}, {R(1), R(0)}}), {R(2), R(3)}, 1e-16, x, d));
  EXPECT_EQ(x[0].real, 3);
  EXPECT_EQ(x[1].real, 2);
  EXPECT_EQ(d.real, -1);
  // The larger entry below is taken as pivot: 1*1 - 1*2.
  ASSERT_FALSE(SolveSystem(Matrix({{R(1), R(1)}, {R(2), R(1)}}), {R(3), R(4)}, 1e-16, x, d));
  EXPECT_EQ(d.real, -1);
  EXPECT_EQ(x[0].real, 1);
  EXPECT_EQ(x[1].real, 2);
  // On a tie the earliest row stays: no exchange, so no change of sign.
  ASSERT_FALSE(SolveSystem(Matrix({{R(1), R(2)}, {R(-1), R(3)}}), {R(3), R(2)}, 1e-16, x, d));
  EXPECT_EQ(d.real, 5);
  EXPECT_TRUE(x[0].IsReal());
}

TEST(SolveSystem, RefusesATinyDeterminantUnlessTheToleranceAllowsIt) {
  const TValueMatrix diagonal = Matrix({{R(1e-10), R(0)}, {R(0), R(1e-10)}});
  TValueVector x;
  TEvalValue d;
  const auto refused = SolveSystem(diagonal, {R(1), R(2)}, 1e-16, x, d);
  ASSERT_TRUE(refused);
  EXPECT_EQ(*refused, "System is bad conditioned");
  ASSERT_EQ(x.size(), 2u);
  EXPECT_TRUE(std::isnan(x[0].real)) << "X stays NaN when the system is refused";
  ASSERT_FALSE(SolveSystem(diagonal, {R(1), R(2)}, 1e-30, x, d));
  EXPECT_DOUBLE_EQ(x[1].real, 2e10);
  EXPECT_DOUBLE_EQ(d.real, 1e-20);
  // A singular matrix, and a NaN that spoils the determinant, are refused as well.
  EXPECT_TRUE(SolveSystem(Matrix({{R(1), R(2)}, {R(2), R(4)}}), {R(1), R(1)}, 1e-16, x, d));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(SolveSystem(Matrix({{R(nan), R(0)}, {R(0), R(1)}}), {R(1), R(1)}, 1e-16, x, d));

  EXPECT_EQ(EffectiveTolerance(1e-30), 1e-30);
  for (const double bad : {0.0, -1.0, nan, std::numeric_limits<double>::infinity()})
    EXPECT_EQ(EffectiveTolerance(bad), kDefaultDetTolerance) << bad;
}

// Regression: pivots chosen by the real part alone took a zero for the pivot of a purely
// imaginary column and refused a regular system.
TEST(SolveSystem, SolvesComplexSystemsPivotingOnTheModulus) {
  TValueVector x;
  TEvalValue d;
  // b = 1 and i a = 2: a = -2i, b = 1; det = -i.
  ASSERT_FALSE(SolveSystem(Matrix({{R(0), R(1)}, {C(0, 1), R(0)}}), {R(1), R(2)}, 1e-16, x, d));
  ASSERT_TRUE(x[0].IsComplex());
  EXPECT_DOUBLE_EQ(x[0].complex.re, 0);
  EXPECT_DOUBLE_EQ(x[0].complex.im, -2);
  EXPECT_DOUBLE_EQ(x[1].complex.re, 1);
  EXPECT_DOUBLE_EQ(d.complex.im, -1);
}

// Regression: the determinant's product overflowed and refused a well-conditioned system.
TEST(SolveSystem, AHugeDeterminantBecomesInfinityAndTheSystemIsSolved) {
  TValueVector x;
  TEvalValue d;
  ASSERT_FALSE(
      SolveSystem(Matrix({{R(1e200), R(0)}, {R(0), R(1e200)}}), {R(1), R(3)}, 1e-16, x, d));
  EXPECT_TRUE(std::isinf(d.real));
  EXPECT_DOUBLE_EQ(x[1].real, 3e-200);
}

TEST(SolveSystem, AnArithmeticFailureIsReportedByItsText) {
  TValueVector x;
  TEvalValue d;
  // Eliminating the second row multiplies 1e300 by 1e300.
  const auto failure =
      SolveSystem(Matrix({{R(1e300), R(1e300)}, {R(1e300), R(1)}}), {R(1), R(1)}, 1e-16, x, d);
  ASSERT_TRUE(failure);
  EXPECT_EQ(*failure, "EOverflow->Floating-point operation overflowed");
  // A value that is no number cannot take part.
  EXPECT_TRUE(SolveSystem(Matrix({{TEvalValue::Boolean(true)}}), {R(1)}, 1e-16, x, d));
}

// The elimination written out the plain way, right-hand side and matrix together, to hold the
// solver's reuse of one elimination against.
TValueVector PlainElimination(TValueMatrix w, TValueVector c) {
  using evaluator::Divide;
  using evaluator::Multiply;
  using evaluator::Subtract;
  const std::size_t n = w.Size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    std::size_t h = i;
    for (std::size_t r = i + 1; r < n; ++r) {
      if (Magnitude(w(r, i)) > Magnitude(w(h, i))) h = r;
    }
    w.SwapRows(i, h, i);
    std::swap(c[i], c[h]);
    for (std::size_t j = i + 1; j < n; ++j) {
      c[j] = Subtract(c[j], Divide(Multiply(w(j, i), c[i]), w(i, i)));
      for (std::size_t k = n; k-- > i;)
        w(j, k) = Subtract(w(j, k), Divide(Multiply(w(j, i), w(i, k)), w(i, i)));
    }
  }
  TValueVector x(n);
  for (std::size_t i = n; i-- > 0;) {
    TEvalValue sum = c[i];
    for (std::size_t j = i + 1; j < n; ++j)
      sum = Subtract(sum, Multiply(w(i, j), x[j]));
    x[i] = Divide(sum, w(i, i));
  }
  return x;
}

TEST(EliminatedSystem, SolvesEveryRightHandSideExactlyAsAPlainElimination) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> entry(-10, 10);
  for (const bool complex : {false, true}) {
    const std::size_t n = 7;
    TValueMatrix a(n);
    for (std::size_t r = 0; r < n; ++r) {
      for (std::size_t c = 0; c < n; ++c)
        a(r, c) = complex ? C(entry(random), entry(random)) : R(entry(random));
    }
    const TEliminatedSystem system(a, 1e-16);
    ASSERT_FALSE(system.Failure());
    for (std::size_t i = 0; i < n; ++i) {
      TValueVector b(n, R(0));
      b[i] = R(1);
      b[(i + 3) % n] = R(entry(random));
      const TValueVector plain = PlainElimination(a, b);
      TValueVector reused;
      ASSERT_FALSE(system.Solve(b, reused));
      for (std::size_t r = 0; r < n; ++r) {
        // Bit for bit: the same operations in the same order.
        EXPECT_EQ(MatrixEntryText(reused[r]), MatrixEntryText(plain[r])) << i << "," << r;
      }
    }
  }
}

}  // namespace
}  // namespace linsys
