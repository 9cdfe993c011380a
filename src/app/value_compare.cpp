// RealsEqual and ValuesEqual.
#include "app/value_compare.h"

#include <cmath>

namespace app {

using evaluator::TEvalValue;

bool RealsEqual(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  if (std::isinf(a) || std::isinf(b)) return a == b;
  return evaluator::ApproxEqual(a, b);
}

bool RealsEqual(double a, double b, double tolerance) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  if (std::isinf(a) || std::isinf(b)) return a == b;
  int exponentA = 0;
  int exponentB = 0;
  const double mantissaA = std::frexp(a, &exponentA);
  const double mantissaB = std::frexp(b, &exponentB);
  return exponentA == exponentB && std::fabs(mantissaA - mantissaB) <= tolerance;
}

bool ValuesEqual(const TEvalValue& a, const TEvalValue& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case evaluator::vkReal:
      return RealsEqual(a.real, b.real);
    case evaluator::vkCurrency:
      return a.currency == b.currency;
    case evaluator::vkBoolean:
      return a.boolean == b.boolean;
    case evaluator::vkComplex:
      return RealsEqual(a.complex.re, b.complex.re) && RealsEqual(a.complex.im, b.complex.im);
    default:
      return false;
  }
}

}  // namespace app
