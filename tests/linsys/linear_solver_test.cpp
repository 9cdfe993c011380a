// The elimination over values: pivoting, the determinant and its tolerance, complex systems, the
// reuse of one elimination for many right-hand sides, and the matrix text form.
#include "linsys/linear_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace linsys {
namespace {

using evaluator::TEvalValue;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEvalValue R(double x) {
  return TEvalValue::Real(x);
}

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

TEST(MatrixText, EighteenDigitsAndAShortExponent) {
  const std::pair<double, const char*> rows[] = {
      {1, "1.00000000000000000E+0"},
      {-2.5e-12, "-2.49999999999999985E-12"},
      {1e300, "1.00000000000000005E+300"},
      {-0.0, "0.00000000000000000E+0"},
      {kNaN, "NAN"},
  };
  for (const auto& [value, text] : rows)
    EXPECT_EQ(ExponentText(value), text) << value;
  const TEvalValue line[] = {TEvalValue::Complex(0, -1), TEvalValue::CurrencyScaled(25000)};
  EXPECT_EQ(MatrixLine(line),
            "Complex(0.00000000000000000E+0, -1.00000000000000000E+0)   2.50000000000000000E+0   ");
}

TEST(SolveSystem, PivotsOnTheLargestEntryTheEarliestOnTies) {
  TValueVector x;
  TEvalValue d;
  // The larger entry below is the pivot; the exchange turns the determinant's sign.
  ASSERT_FALSE(SolveSystem(Matrix({{R(1), R(1)}, {R(2), R(1)}}), {R(3), R(4)}, 1e-16, x, d));
  EXPECT_EQ(d.real, -1);
  EXPECT_EQ(x[0].real, 1);
  EXPECT_EQ(x[1].real, 2);
  // On a tie the first row stays: no exchange, no change of sign.
  ASSERT_FALSE(SolveSystem(Matrix({{R(1), R(2)}, {R(-1), R(3)}}), {R(3), R(2)}, 1e-16, x, d));
  EXPECT_EQ(d.real, 5);
  // Regression: pivots chosen by the real part took the zero of a purely imaginary column and
  // refused a regular system. b = 1, i a = 2: a = -2i, det = -i.
  ASSERT_FALSE(SolveSystem(Matrix({{R(0), R(1)}, {TEvalValue::Complex(0, 1), R(0)}}), {R(1), R(2)},
                           1e-16, x, d));
  EXPECT_EQ(MatrixEntryText(x[0]), MatrixEntryText(TEvalValue::Complex(0, -2)));
  EXPECT_EQ(d.complex.im, -1);
}

TEST(SolveSystem, TheDeterminantMustExceedTheTolerance) {
  const TValueMatrix diagonal = Matrix({{R(1e-10), R(0)}, {R(0), R(1e-10)}});
  TValueVector x;
  TEvalValue d;
  EXPECT_EQ(SolveSystem(diagonal, {R(1), R(2)}, 1e-16, x, d), "System is bad conditioned");
  EXPECT_TRUE(std::isnan(x[0].real)) << "X stays NaN";
  ASSERT_FALSE(SolveSystem(diagonal, {R(1), R(2)}, 1e-30, x, d));
  EXPECT_DOUBLE_EQ(x[1].real, 2e10);
  EXPECT_TRUE(SolveSystem(Matrix({{R(kNaN), R(0)}, {R(0), R(1)}}), {R(1), R(1)}, 1e-16, x, d));
  for (const double bad : {0.0, -1.0, kNaN, double(INFINITY)})
    EXPECT_EQ(EffectiveTolerance(bad), kDefaultDetTolerance) << bad;
  // Regression: the product of the pivots overflowed and refused a well-conditioned system.
  ASSERT_FALSE(
      SolveSystem(Matrix({{R(1e200), R(0)}, {R(0), R(1e200)}}), {R(1), R(3)}, 1e-16, x, d));
  EXPECT_TRUE(std::isinf(d.real));
  EXPECT_DOUBLE_EQ(x[1].real, 3e-200);
  // Other arithmetic failures are reported by their text.
  EXPECT_EQ(
      SolveSystem(Matrix({{R(1e300), R(1e300)}, {R(1e300), R(1)}}), {R(1), R(1)}, 1e-16, x, d),
      "EOverflow->Floating-point operation overflowed");
}

// The elimination written out the plain way, right-hand side and matrix together.
TValueVector PlainElimination(TValueMatrix w, TValueVector c) {
  using evaluator::Divide, evaluator::Multiply, evaluator::Subtract;
  const std::size_t n = w.Size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    std::size_t h = i;
    for (std::size_t r = i + 1; r < n; ++r)
      h = Magnitude(w(r, i)) > Magnitude(w(h, i)) ? r : h;
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

TEST(EliminatedSystem, SolvesEveryRightHandSideBitForBitAsAPlainElimination) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> entry(-10, 10);
  for (const bool complex : {false, true}) {
    const std::size_t n = 7;
    TValueMatrix a(n);
    for (std::size_t r = 0; r < n * n; ++r)
      a(r / n, r % n) =
          complex ? TEvalValue::Complex(entry(random), entry(random)) : R(entry(random));
    const TEliminatedSystem system(a, 1e-16);
    for (std::size_t i = 0; i < n; ++i) {
      TValueVector b(n, R(0));
      b[i] = R(1);
      b[(i + 3) % n] = R(entry(random));
      const TValueVector plain = PlainElimination(a, b);
      TValueVector reused;
      ASSERT_FALSE(system.Solve(b, reused));
      for (std::size_t r = 0; r < n; ++r)
        EXPECT_EQ(MatrixEntryText(reused[r]), MatrixEntryText(plain[r])) << i << "," << r;
    }
  }
}

}  // namespace
}  // namespace linsys
