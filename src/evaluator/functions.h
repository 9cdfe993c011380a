// What every operator and built-in function code computes on values: one routine shared by the
// interpreter and by constant folding in the compiler, free of any evaluator state.
#pragma once

#include <cstdint>

#include "evaluator/value.h"

namespace evaluator {

// Failure texts of the built-ins themselves (the type errors live in eval_errors.h).
inline constexpr const char* kRandomRangeNegative = "RANGE OF RANDOM NUMBER MUST BE POSITIVE";
inline constexpr const char* kRandomRangeTooLarge = "RANGE OF RANDOM NUMBER IS TOO LARGE";
inline constexpr const char* kWhileLoopUseless = "WHILE LOOP IS UNUTILITY";
inline constexpr const char* kProgrammingError = "PROGRAMING ERROR";

// Applies the operation of `code` to operands[0] .. operands[count - 1] and returns the value.
//
// Handles the arithmetic operators 1 .. 5 (5 with three operands is the rational power), the
// definition operator 7 (Null), the catalogue constants (no operands; directedinfinity takes
// the literal 1 or -1), every catalogue function, and `if` and `bk` as plain selections of an
// already computed operand, which is what folding them means. `while` and the assignment have
// no value of their own and are refused, as is any code outside 1 .. 102.
//
// Throws EEvalError with the type-error text for operands of the wrong kind (and the
// argument-count text for a count the catalogue does not allow), and EMathError of kind 1 .. 5
// for a floating-point fault. Not-a-number operands propagate without a fault, except where a
// comparison with them is needed (max, min).
TEvalValue ApplyFunction(std::uint16_t code, const TEvalValue* const* operands, std::int32_t count);

// The real-argument branch of the one-operand numeric functions (exp, sin, ln, ...): the value
// for a double argument with the same fault rules as ApplyFunction. Codes that are not such a
// function throw kProgrammingError.
double RealFunction(std::uint16_t code, double x);

}  // namespace evaluator
