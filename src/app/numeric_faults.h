// Fault helpers shared by the application function library: refusals, a quotient that fails
// the way the evaluator's "/" does, and the mapping of a non-finite result to its fault kind.
#pragma once

#include <cmath>
#include <initializer_list>
#include <span>

#include "evaluator/eval_errors.h"

namespace app {

// The refusal of an argument outside a routine's domain; the evaluator shows only the kind,
// the name stays in the exception for logs and tests.
[[noreturn]] inline void Refuse(const char* name) {
  throw evaluator::EMathError(evaluator::mekInvalidArgument, name);
}

inline constexpr const char* kNotDefinedForThatValue = "Not defined for that value";

// a / b, where a zero divisor is a division by zero, or an invalid operation for 0 / 0.
inline double Quotient(double a, double b) {
  if (b == 0 && std::isfinite(a)) {
    throw evaluator::EMathError(a == 0 ? evaluator::mekInvalidOperation : evaluator::mekZeroDivide);
  }
  return a / b;
}

// Returns result when it is finite or a NaN operand explains it. Otherwise finite operands can
// only have overflowed (an intermediate inf / inf included), and infinite operands legitimately
// give an infinity but not a NaN.
inline double CheckedResult(double result, std::span<const double> operands) {
  if (std::isfinite(result)) return result;
  bool anyNaN = false;
  bool allFinite = true;
  for (const double v : operands) {
    anyNaN = anyNaN || std::isnan(v);
    allFinite = allFinite && std::isfinite(v);
  }
  if (anyNaN) return result;
  if (allFinite) throw evaluator::EMathError(evaluator::mekOverflow);
  if (std::isnan(result)) throw evaluator::EMathError(evaluator::mekInvalidOperation);
  return result;
}

inline double CheckedResult(double result, std::initializer_list<double> operands) {
  return CheckedResult(result, std::span<const double>(operands.begin(), operands.size()));
}

}  // namespace app
