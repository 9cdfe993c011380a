// Failures raised inside evaluation steps. The interpreter's guard tells the five arithmetic
// kinds apart from every other failure by the exception's type.
#pragma once

#include <stdexcept>
#include <string>

namespace evaluator {

// Kinds of arithmetic exception as kept in MathErrorKind.
enum TMathErrorKind : int {
  mekNone = -1,             // no arithmetic exception since the parse began
  mekNotMathematical = 0,   // the last failure was not arithmetic
  mekOverflow = 1,
  mekUnderflow = 2,
  mekInvalidArgument = 3,   // a numeric routine refused an argument outside its domain
  mekZeroDivide = 4,
  mekInvalidOperation = 5,  // 0/0, root or logarithm of a negative real, comparison with NaN
};

// A non-arithmetic failure: a type error, a domain message, a loop limit and the like.
class EEvalError : public std::runtime_error {
 public:
  explicit EEvalError(const std::string& message) : std::runtime_error(message) {}
};

// An arithmetic exception of one of the five kinds; its own text never reaches the user, only
// its kind does.
class EMathError : public std::runtime_error {
 public:
  EMathError(TMathErrorKind kind, const std::string& what)
      : std::runtime_error(what), kind_(kind) {}
  explicit EMathError(TMathErrorKind kind) : EMathError(kind, MathExceptionText(kind)) {}
  TMathErrorKind kind() const noexcept { return kind_; }

  // The user's text for a kind, index 0 .. 5.
  static std::string MathExceptionText(int kind);

 private:
  TMathErrorKind kind_;
};

// Type-error messages of the value model, exactly as the user sees them.
inline constexpr const char* kIncorrectRealOrComplexType = "Incorrect real or complex type";
inline constexpr const char* kIncorrectRealType = "Incorrect real type";
inline constexpr const char* kIncorrectComplexType = "Incorrect complex type";
inline constexpr const char* kIncorrectCurrencyType = "Incorrect currency type";
inline constexpr const char* kIncorrectComparativeType = "Incorrect comparative type";
inline constexpr const char* kIncorrectBooleanType = "Incorrect boolean type";

}  // namespace evaluator
