// Tests of the special functions against the C library's gamma functions, closed forms of the
// incomplete beta function and the explicit Hermite polynomials.
#include "app/gamma_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>

#include "evaluator/eval_errors.h"

namespace app {
namespace {

using evaluator::EMathError;

bool Refused(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMathError& e) {
    return e.kind() == evaluator::mekInvalidArgument &&
           std::string(e.what()) == "Not defined for that value";
  }
  return false;
}

void ExpectRelative(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected)) << "expected " << expected;
}

TEST(SpecialFunctions, GammaAndItsReciprocalMatchTheLibrary) {
  for (const double x : {0.001, 0.5, 1.5, 2.5, 7.25, 10.3, 33.3, 150.5, 170.5, -0.5, -1.5, -2.5,
                         -10.3, -40.7, 1e-300}) {
    SCOPED_TRACE(x);
    ExpectRelative(Gamma(x), std::tgamma(x), 1e-13);
    ExpectRelative(InverseGamma(x), 1 / std::tgamma(x), 1e-13);
  }
  double factorial = 1;
  for (int n = 1; n <= 23; ++n) {
    EXPECT_EQ(Gamma(n), factorial) << n;
    factorial *= n;
  }
}

TEST(SpecialFunctions, GammaPolesAreRefusedWhileTheReciprocalIsZero) {
  for (const double x : {0.0, -1.0, -2.0, -37.0, -1e300}) {
    EXPECT_EQ(InverseGamma(x), 0) << x;
    EXPECT_TRUE(Refused([x] { Gamma(x); })) << x;
    EXPECT_TRUE(Refused([x] { LnGamma(x); })) << x;
  }
  // 1/Gamma underflows to zero here, so Gamma has nothing to invert.
  EXPECT_EQ(InverseGamma(200), 0);
  EXPECT_TRUE(Refused([] { Gamma(200); }));
  EXPECT_EQ(InverseGamma(1e300), 0);
}

TEST(SpecialFunctions, LnGammaMatchesTheLibrary) {
  for (const double x : {1e-10, 0.1, 1.0, 2.0, 3.5, 9.9, 10.5, 100.0, 200.0, 1e5, 1e10, 1e300, -1.5,
                         -3.25, -1001.5}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(LnGamma(x), std::lgamma(x), 1e-13 * std::fmax(1, std::fabs(std::lgamma(x))));
  }
  EXPECT_EQ(LnGamma(1), 0);
}

TEST(SpecialFunctions, BetaFunctions) {
  const struct {
    double a, b;
  } cases[] = {{2, 3}, {0.5, 0.5}, {1.5, 4.25}, {-0.5, 2}, {-1.5, 0.25}, {30, 40}, {120, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << ", " << c.b);
    const double expected = std::tgamma(c.a) * std::tgamma(c.b) / std::tgamma(c.a + c.b);
    const double logExpected = std::lgamma(c.a) + std::lgamma(c.b) - std::lgamma(c.a + c.b);
    ExpectRelative(Beta(c.a, c.b), std::isfinite(expected) ? expected : std::exp(logExpected),
                   1e-12);
    if (c.a > 0 && c.b > 0) {
      EXPECT_NEAR(LnBeta(c.a, c.b), logExpected, 1e-12);
    }
  }
  EXPECT_DOUBLE_EQ(Beta(0.5, 0.5), std::numbers::pi);
  for (const auto& [a, b] : {std::pair{0.0, 1.0}, {1.0, -2.0}, {200.0, 1.0}}) {
    EXPECT_TRUE(Refused([=] { Beta(a, b); })) << a << ", " << b;
  }
  EXPECT_TRUE(Refused([] { LnBeta(-0.5, 2); }));
  EXPECT_TRUE(Refused([] { LnBeta(1, 0); }));
}

TEST(SpecialFunctions, IncompleteBetaMatchesClosedForms) {
  for (const double x : {0.01, 0.2, 0.5, 0.7, 0.99}) {
    SCOPED_TRACE(x);
    EXPECT_NEAR(IncompleteBeta(x, 1, 1), x, 1e-15);
    EXPECT_NEAR(IncompleteBeta(x, 3.5, 1), std::pow(x, 3.5), 1e-15);
    EXPECT_NEAR(IncompleteBeta(x, 1, 4), 1 - std::pow(1 - x, 4), 1e-15);
    EXPECT_NEAR(IncompleteBeta(x, 2, 2), 3 * x * x - 2 * x * x * x, 1e-15);
    // I_x(1/2, 1/2) is the arcsine distribution.
    EXPECT_NEAR(IncompleteBeta(x, 0.5, 0.5), 2 / std::numbers::pi * std::asin(std::sqrt(x)), 1e-14);
    EXPECT_NEAR(IncompleteBeta(x, 2.5, 7) + IncompleteBeta(1 - x, 7, 2.5), 1, 1e-14);
  }
  EXPECT_EQ(IncompleteBeta(0, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(1, 2, 3), 1);
}

TEST(SpecialFunctions, IncompleteBetaStaysAccurateForLargeParametersAndSmallResults) {
  EXPECT_NEAR(IncompleteBeta(0.5, 1000, 1000), 0.5, 1e-11);
  EXPECT_NEAR(IncompleteBeta(0.3, 1, 1000), 1, 1e-15);
  ExpectRelative(IncompleteBeta(0.6, 100, 1), std::pow(0.6, 100), 1e-12);
  for (const auto& [x, a, b] :
       {std::tuple{-0.1, 1.0, 1.0}, {1.1, 1.0, 1.0}, {0.5, 0.0, 1.0}, {0.5, 1.0, -2.0}}) {
    EXPECT_TRUE(Refused([=] { IncompleteBeta(x, a, b); })) << x << " " << a << " " << b;
  }
}

TEST(SpecialFunctions, HermiteMatchesTheExplicitPolynomials) {
  for (const double x : {-2.5, -1.0, 0.0, 0.3, 1.0, 4.0}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(Hermite(x, 0), 1);
    EXPECT_DOUBLE_EQ(Hermite(x, 1), 2 * x);
    EXPECT_NEAR(Hermite(x, 2), 4 * x * x - 2, 1e-12);
    EXPECT_NEAR(Hermite(x, 3), 8 * std::pow(x, 3) - 12 * x, 1e-11);
    EXPECT_NEAR(Hermite(x, 5), 32 * std::pow(x, 5) - 160 * std::pow(x, 3) + 120 * x, 1e-9);
  }
  EXPECT_TRUE(Refused([] { Hermite(1, -1); }));
  // A huge order overflows within a few hundred steps instead of looping on.
  EXPECT_TRUE(std::isinf(Hermite(0.5, 1e15)));
}

}  // namespace
}  // namespace app
