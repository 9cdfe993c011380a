// Special functions of the application function library: gamma and its reciprocal and
// logarithm, beta and its logarithm, the regularised incomplete beta function and Hermite
// polynomials.
#pragma once

namespace app {

// Refusals throw EMathError(mekInvalidArgument, "Not defined for that value"). A NaN argument
// gives a NaN result without a refusal.

// 1/Gamma(x); defined everywhere, zero at 0 and at the negative integers.
double InverseGamma(double x);
// Refused at 0, at the negative integers and where 1/Gamma(x) underflows to zero.
double Gamma(double x);
// ln Gamma(x), refused at 0 and at the negative integers. Where Gamma(x) is negative the
// logarithm is of a negative number, an invalid operation.
double LnGamma(double x);
// B(a, b) = Gamma(a) Gamma(b) / Gamma(a + b), refused where Gamma(a) or Gamma(b) is refused.
double Beta(double a, double b);
// ln B(a, b) for positive a and b.
double LnBeta(double a, double b);
// I_x(a, b) for 0 <= x <= 1 and positive a and b.
double IncompleteBeta(double x, double a, double b);
// The physicists' Hermite polynomial H_n(x) for a whole order n >= 0.
double Hermite(double x, double n);

}  // namespace app
