// Statistics routines. Deviations are taken from the mean rather than from raw power sums,
// which cancel badly when the values are large next to their spread.
#include "app/statistics.h"

#include <cmath>
#include <cstddef>

#include "app/numeric_faults.h"
#include "evaluator/eval_errors.h"

namespace app {
namespace {

struct TCentralMoments {
  double total;  // sum of squared deviations
  double m2;
  double m3;
  double m4;
};

// The mean, corrected once by the mean residual so that a set of equal values yields exactly
// that value and zero deviations.
double MeanOf(std::span<const double> values) {
  const double n = static_cast<double>(values.size());
  double sum = 0;
  for (const double x : values) {
    sum += x;
  }
  const double mean = Quotient(sum, n);
  double residual = 0;
  for (const double x : values) {
    residual += x - mean;
  }
  return mean + residual / n;
}

TCentralMoments CentralMoments(std::span<const double> values) {
  const double n = static_cast<double>(values.size());
  const double mean = MeanOf(values);
  double s1 = 0;
  double s2 = 0;
  double s3 = 0;
  double s4 = 0;
  for (const double x : values) {
    const double d = x - mean;
    const double d2 = d * d;
    s1 += d;
    s2 += d2;
    s3 += d2 * d;
    s4 += d2 * d2;
  }
  // s1 is the rounding left in the mean; taking it out makes s2 exact to first order.
  const double total = s2 - s1 * s1 / n;
  return {total, total / n, s3 / n, s4 / n};
}

}  // namespace

double Norm(std::span<const double> values) {
  double scale = 0;
  for (const double x : values) {
    if (std::isnan(x)) return x;
    scale = std::fmax(scale, std::fabs(x));
  }
  if (scale == 0 || std::isinf(scale)) return scale;
  double sum = 0;
  for (const double x : values) {
    const double scaled = x / scale;
    sum += scaled * scaled;
  }
  return scale * std::sqrt(sum);
}

double SumOfSquares(std::span<const double> values) {
  double sum = 0;
  for (const double x : values) {
    sum += x * x;
  }
  return sum;
}

double TotalVariance(std::span<const double> values) {
  return CentralMoments(values).total;
}

double Variance(std::span<const double> values) {
  return Quotient(TotalVariance(values), static_cast<double>(values.size()) - 1);
}

double PopnVariance(std::span<const double> values) {
  return CentralMoments(values).m2;
}

double StdDev(std::span<const double> values) {
  return std::sqrt(Variance(values));
}

double PopnStdDev(std::span<const double> values) {
  return std::sqrt(PopnVariance(values));
}

double Moment3(std::span<const double> values) {
  return CentralMoments(values).m3;
}

double Moment4(std::span<const double> values) {
  return CentralMoments(values).m4;
}

double Skew(std::span<const double> values) {
  const TCentralMoments moments = CentralMoments(values);
  // m2^-1.5 has a pole at zero, as a power of zero with a negative exponent.
  if (moments.m2 == 0) throw evaluator::EMathError(evaluator::mekZeroDivide);
  return Quotient(moments.m3, moments.m2 * std::sqrt(moments.m2));
}

double Kurtosis(std::span<const double> values) {
  const TCentralMoments moments = CentralMoments(values);
  return Quotient(moments.m4, moments.m2 * moments.m2);
}

}  // namespace app
