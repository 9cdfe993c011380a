// Special functions. Gamma comes from the power series of 1/Gamma on [-1, 1] carried to the
// argument by the recurrence Gamma(z + 1) = z Gamma(z); ln Gamma from Stirling's series.
#include "app/gamma_functions.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "app/numeric_faults.h"
#include "evaluator/eval_errors.h"

namespace app {
namespace {

using evaluator::EMathError;

// Coefficients c1 .. c26 of 1/Gamma(z) = sum c_k z^k (Abramowitz and Stegun 6.1.34).
constexpr double kReciprocalGammaSeries[26] = {
    1.0000000000000000,  0.5772156649015329,  -0.6558780715202538, -0.0420026350340952,
    0.1665386113822915,  -0.0421977345555443, -0.0096219715278770, 0.0072189432466630,
    -0.0011651675918591, -0.0002152416741149, 0.0001280502823882,  -0.0000201348547807,
    -0.0000012504934821, 0.0000011330272320,  -0.0000002056338417, 0.0000000061160950,
    0.0000000050020075,  -0.0000000011812746, 0.0000000001043427,  0.0000000000077823,
    -0.0000000000036968, 0.0000000000005100,  -0.0000000000000206, -0.0000000000000054,
    0.0000000000000014,  0.0000000000000001,
};

[[noreturn]] void NotDefined() {
  Refuse(kNotDefinedForThatValue);
}

bool IsNegativeInteger(double x) {
  const double whole = std::trunc(x);
  return x < 0 && std::fabs(x - whole) <= 1e-17 * std::fmin(std::fabs(x), std::fabs(whole));
}

bool IsPole(double x) {
  return x == 0 || IsNegativeInteger(x);
}

// Where the recurrence starts: the fractional part of x, or 1 for a positive whole x (whose
// series value is exactly 1, a little more than the rounded coefficients sum to).
struct TSeriesStart {
  double z;
  double reciprocalGamma;
};

TSeriesStart SeriesStart(double x) {
  const double fraction = x - std::trunc(x);
  if (fraction == 0) return {1, 1};
  double sum = 0;
  for (int k = 25; k >= 0; --k) {
    sum = sum * fraction + kReciprocalGammaSeries[k];
  }
  return {fraction, sum * fraction};
}

// sin(pi x) with the argument reduced first, so that large arguments keep their fraction.
double SinPi(double x) {
  const double whole = std::trunc(x);
  const double s = std::sin(std::numbers::pi * (x - whole));
  return std::fmod(whole, 2) == 0 ? s : -s;
}

// I_x(a, b) by its continued fraction (modified Lentz), which converges quickly while
// x < (a + 1) / (a + b + 2).
double IncompleteBetaFraction(double x, double a, double b) {
  constexpr double kTiny = 1e-300;
  constexpr int kMaxTerms = 1000;
  auto guarded = [](double v) { return std::fabs(v) < kTiny ? kTiny : v; };

  const double front = std::exp(a * std::log(x) + b * std::log1p(-x) - LnBeta(a, b)) / a;
  double c = 1;
  double d = 1 / guarded(1 - (a + b) * x / (a + 1));
  double fraction = d;
  for (int m = 1; m <= kMaxTerms; ++m) {
    const double twoM = 2.0 * m;
    const double even = m * (b - m) * x / ((a + twoM - 1) * (a + twoM));
    d = 1 / guarded(1 + even * d);
    c = guarded(1 + even / c);
    fraction *= d * c;
    const double odd = -(a + m) * (a + b + m) * x / ((a + twoM) * (a + twoM + 1));
    d = 1 / guarded(1 + odd * d);
    c = guarded(1 + odd / c);
    const double change = d * c;
    fraction *= change;
    if (std::fabs(change - 1) <= std::numeric_limits<double>::epsilon()) return front * fraction;
  }
  Refuse("IncompleteBeta");
}

}  // namespace

double InverseGamma(double x) {
  if (std::isnan(x)) return x;
  if (IsPole(x)) return 0;
  auto [z, value] = SeriesStart(x);
  // 1/Gamma(z + 1) = (1/Gamma(z)) / z. The loops end early once the value has underflowed
  // or overflowed, which bounds them for any argument.
  if (x > 0) {
    while (z < x && value != 0) {
      value /= z;
      z += 1;
    }
  } else {
    while (z > x && std::isfinite(value)) {
      z -= 1;
      value *= z;
    }
  }
  return value;
}

double Gamma(double x) {
  if (std::isnan(x)) return x;
  if (IsPole(x) || InverseGamma(x) == 0) NotDefined();
  // The same recurrence on Gamma itself, so that whole arguments give exact factorials.
  auto [z, reciprocal] = SeriesStart(x);
  double value = 1 / reciprocal;
  if (x > 0) {
    while (z < x) {
      value *= z;
      z += 1;
    }
  } else {
    while (z > x && value != 0) {
      z -= 1;
      value /= z;
    }
  }
  return value;
}

double LnGamma(double x) {
  if (std::isnan(x)) return x;
  if (IsPole(x)) NotDefined();
  // ln Gamma(b) for b > 10 by Stirling's series at b - 1/2, less ln of the product that
  // carried the argument there.
  double b = x >= 0 ? x : 1 - x;
  double product = 1;
  while (b <= 10) {
    product *= b;
    b += 1;
  }
  b -= 0.5;
  const double d = 1 / (b * b);
  const double series =
      d * (d * (d * (d * 0.0005660478426014386 - 0.0007685928044064347) + 0.002430554511376954) -
           0.04166666666554424);
  const double lnGamma = b * (std::log(b) - 1 + series) + 0.9189385332046727 - std::log(product);
  if (x >= 0) return lnGamma;
  // Reflection: Gamma(x) Gamma(1 - x) = pi / sin(pi x).
  const double reflection = std::numbers::pi / SinPi(x);
  if (!(reflection > 0)) throw EMathError(evaluator::mekInvalidOperation);
  return std::log(reflection) - lnGamma;
}

double Beta(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return a + b;
  if (IsPole(a) || IsPole(b)) NotDefined();
  const double reciprocalA = InverseGamma(a);
  const double reciprocalB = InverseGamma(b);
  if (reciprocalA == 0 || reciprocalB == 0) NotDefined();
  // 1/Gamma(a + b) runs out of range before the quotient does.
  if (a > 0 && b > 0 && a + b > 170) return std::exp(LnBeta(a, b));
  return Quotient(InverseGamma(a + b), reciprocalA * reciprocalB);
}

double LnBeta(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return a + b;
  if (!(a > 0 && b > 0)) NotDefined();
  return LnGamma(a) + LnGamma(b) - LnGamma(a + b);
}

double IncompleteBeta(double x, double a, double b) {
  if (std::isnan(x) || std::isnan(a) || std::isnan(b)) return x + a + b;
  if (!(a > 0 && b > 0 && x >= 0 && x <= 1)) NotDefined();
  if (x == 0 || x == 1) return x;
  // The symmetry I_x(a, b) = 1 - I_(1-x)(b, a) keeps the fraction on its fast side.
  if (x > (a + 1) / (a + b + 2)) return 1 - IncompleteBetaFraction(1 - x, b, a);
  return IncompleteBetaFraction(x, a, b);
}

double Hermite(double x, double n) {
  if (std::isnan(n)) return n;
  if (n < 0) NotDefined();
  if (n == 0) return 1;
  double previous = 1;
  double current = 2 * x;
  // H_n grows at least like sqrt(n!), so an overflow ends the loop for any large order.
  for (double k = 1; k < n && std::isfinite(current); k += 1) {
    const double next = 2 * x * current - 2 * k * previous;
    previous = current;
    current = next;
  }
  return current;
}

}  // namespace app
