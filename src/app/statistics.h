// Statistics routines of the application function library over a list of values: norm,
// sums of squares, variances and the population central moments with skew and kurtosis.
#pragma once

#include <span>

namespace app {

// sqrt(sum of x^2), scaled so that large or tiny values do not overflow or underflow.
double Norm(std::span<const double> values);
double SumOfSquares(std::span<const double> values);
// Sum of squared deviations from the mean; the variances divide it by n or n - 1.
double TotalVariance(std::span<const double> values);
double Variance(std::span<const double> values);
double PopnVariance(std::span<const double> values);
double StdDev(std::span<const double> values);
double PopnStdDev(std::span<const double> values);
// Population central moments m3, m4; Skew = m3 / m2^1.5, Kurtosis = m4 / m2^2.
double Moment3(std::span<const double> values);
double Moment4(std::span<const double> values);
double Skew(std::span<const double> values);
double Kurtosis(std::span<const double> values);

}  // namespace app
