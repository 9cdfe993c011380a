// The evaluator's tagged value and the type rules every operation applies to it: text forms,
// arithmetic by kind, power, comparisons, boolean operations, conversions and kind tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace evaluator {

enum TValueKind : std::uint8_t { vkEmpty, vkNull, vkReal, vkCurrency, vkBoolean, vkComplex };

struct TComplexParts {
  double re;
  double im;
};

// Currency amounts are 64-bit integers holding the amount times 10000.
inline constexpr std::int64_t kCurrencyScale = 10000;

// One value: a kind tag and its payload, copied by value, never allocating.
struct TEvalValue {
  TValueKind kind = vkEmpty;
  union {
    double real;
    std::int64_t currency;  // scaled by kCurrencyScale
    bool boolean;
    TComplexParts complex;
  };

  constexpr TEvalValue() : complex{0.0, 0.0} {}

  static constexpr TEvalValue Null() {
    TEvalValue v;
    v.kind = vkNull;
    return v;
  }
  static constexpr TEvalValue Real(double x) {
    TEvalValue v;
    v.kind = vkReal;
    v.real = x;
    return v;
  }
  // From an already scaled amount (amount * 10000).
  static constexpr TEvalValue CurrencyScaled(std::int64_t scaled) {
    TEvalValue v;
    v.kind = vkCurrency;
    v.currency = scaled;
    return v;
  }
  static constexpr TEvalValue Boolean(bool b) {
    TEvalValue v;
    v.kind = vkBoolean;
    v.boolean = b;
    return v;
  }
  static constexpr TEvalValue Complex(double re, double im) {
    TEvalValue v;
    v.kind = vkComplex;
    v.complex = {re, im};
    return v;
  }

  constexpr bool IsEmpty() const { return kind == vkEmpty; }
  constexpr bool IsNull() const { return kind == vkNull; }
  constexpr bool IsReal() const { return kind == vkReal; }  // a double; a currency is not
  constexpr bool IsCurrency() const { return kind == vkCurrency; }
  constexpr bool IsBoolean() const { return kind == vkBoolean; }
  constexpr bool IsComplex() const { return kind == vkComplex; }
  // The "real" class of the type rules: a double or a currency.
  constexpr bool IsRealOrCurrency() const { return kind == vkReal || kind == vkCurrency; }
  // The "number" class: real, currency or complex.
  constexpr bool IsNumber() const {
    return kind == vkReal || kind == vkCurrency || kind == vkComplex;
  }

  // The decimal value of a double or currency (callers check the kind first).
  constexpr double AsDouble() const {
    return kind == vkCurrency ? static_cast<double>(currency) / kCurrencyScale : real;
  }
};

// Copies a value into a cell as the interpreter writes cells: the payload, then the kind. A
// whole-struct copy reads kind and payload in one wide load, which the processor cannot serve
// from the separate stores that have just written them, and waits for them to land instead.
inline void CopyCell(TEvalValue& to, const TEvalValue& from) {
  if (from.kind == vkComplex) {
    to.complex = from.complex;
  } else {
    // real, currency and boolean share the first eight bytes of the payload
    std::memcpy(&to.currency, &from.currency, sizeof to.currency);
  }
  to.kind = from.kind;
}

// The truth threshold constant "zero"; also the tolerance of ApproxEqual and RationalPower.
inline constexpr double kZero = 1e-13;

// ---- Text forms ----------------------------------------------------------------------------

// The text of any value: 15 significant digits for reals, up to four decimals for currency,
// "Complex(re, im)", "True"/"False", "Null", and "No conversion" for an empty cell.
std::string ValueToText(const TEvalValue& value);
std::string RealToText(double x);
std::string CurrencyToText(std::int64_t scaled);

// ---- Equality with tolerance ---------------------------------------------------------------

// Equal when the binary exponents agree and the mantissas lie within kZero of each other.
bool ApproxEqual(double a, double b);
bool ComplexApproxEqual(TComplexParts a, TComplexParts b);

// ---- Currency conversions ------------------------------------------------------------------

// Rounds x * 10000 to the nearest integer (ties to even); NaN raises an invalid operation and
// a value outside the 64-bit range raises an overflow (EMathError).
std::int64_t DoubleToCurrency(double x);
// Reads a decimal literal ("12.5", ".25", "-3", "1e5") exactly as a currency; false when the
// text is not a number or falls outside the range.
bool DecimalTextToCurrency(std::string_view text, std::int64_t& scaled);

// ---- Arithmetic: + - * / and power ---------------------------------------------------------
// Each raises EEvalError(kIncorrectRealOrComplexType) for a non-number operand and EMathError
// for a floating-point fault (overflow, zero divide, invalid operation; underflow is masked).

TEvalValue Add(const TEvalValue& a, const TEvalValue& b);
TEvalValue Subtract(const TEvalValue& a, const TEvalValue& b);
TEvalValue Multiply(const TEvalValue& a, const TEvalValue& b);
TEvalValue Divide(const TEvalValue& a, const TEvalValue& b);
// x^y; always a double for reals and currencies, complex when either is complex.
TEvalValue Power(const TEvalValue& x, const TEvalValue& y);
// x^(p/q) with the exponent written as a quotient (odd roots of negative bases are real).
TEvalValue RationalPower(const TEvalValue& x, const TEvalValue& p, const TEvalValue& q);
// The real rules behind Power and RationalPower.
double RealPower(double x, double y);
double RationalPower(double x, double p, double q);
// ---- Squares without the x87 unit -----------------------------------------------------------
// RealPower multiplies in extended precision (64-bit significands) and rounds the product to
// double. Moving values between the SSE registers and the x87 unit goes through memory, so the
// interpreter's fast path reproduces that rounding of a square with doubles: the exact product
// (Dekker's algorithm with Veltkamp's split) shows where the extended result lies, and wherever
// the outcome could depend on a rounding tie, or the spacing changes at a power of two, the
// extended product is taken after all. A cube needs so many more steps that way that the
// extended products are faster.

namespace detail {

constexpr std::uint64_t kMantissaBits = (std::uint64_t{1} << 52) - 1;

inline std::uint64_t BitsOf(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// The spacing of doubles at a normal x (its unit in the last place).
inline double Ulp(double x) {
  const std::uint64_t bits =
      (BitsOf(x) & ~kMantissaBits & ~(std::uint64_t{1} << 63)) - (std::uint64_t{52} << 52);
  double ulp = 0;
  std::memcpy(&ulp, &bits, sizeof ulp);
  return ulp;
}

// Whether a normal x lies within `ulps` units of the power of two at either end of its binade.
inline bool NearPowerOfTwo(double x, std::uint64_t ulps) {
  const std::uint64_t mantissa = BitsOf(x) & kMantissaBits;
  return mantissa < ulps || mantissa > kMantissaBits - ulps;
}

// a * b = product + error exactly, for operands whose product neither overflows nor comes
// near the subnormal range.
inline double TwoProduct(double a, double b, double& error) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  const double product = a * b;
  const double sa = kSplit * a;
  const double aHigh = sa - (sa - a);
  const double aLow = a - aHigh;
  const double sb = kSplit * b;
  const double bHigh = sb - (sb - b);
  const double bLow = b - bHigh;
  error = ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
  return product;
}

}  // namespace detail

// x^2 as RealPower computes it, the extended product x*x rounded to double. That is the double
// product unless the extended one lies exactly halfway between two doubles, which it can only
// when the exact square lies within a hair of such a point.
inline double ExtendedSquare(double x) {
  const double magnitude = std::fabs(x);
  if (magnitude > 0x1p-250 && magnitude < 0x1p+250) {
    double error = 0;
    const double product = detail::TwoProduct(x, x, error);
    // The extended product lies within half its own spacing (ulp / 2^12) of the exact square,
    // and that within |error| of `product`: a tie needs |error| near ulp / 2.
    if (!detail::NearPowerOfTwo(product, 1) &&
        std::fabs(error) < detail::Ulp(product) * (0.5 - 0x1p-12)) {
      return product;
    }
  }
  return static_cast<double>(static_cast<long double>(x) * x);
}

// x^2 and x^3 exactly as RealPower computes them, inline for the interpreter; false when
// RealPower has to decide: another exponent, a zero base, or a value that is not finite.
inline bool SquareOrCube(double x, double y, double& value) {
  if (y == 2) {
    value = ExtendedSquare(x);
  } else if (y == 3) {
    value = static_cast<double>(static_cast<long double>(x) * (static_cast<long double>(x) * x));
  } else {
    return false;
  }
  return x != 0 && std::isfinite(value);
}

// ---- Comparisons ---------------------------------------------------------------------------
// eq and uneq give a boolean, or a NaN real when a real operand is NaN. The orderings accept
// two booleans or two reals. Pairings outside the rules raise kIncorrectComparativeType.

TEvalValue Equal(const TEvalValue& a, const TEvalValue& b);
TEvalValue NotEqual(const TEvalValue& a, const TEvalValue& b);
TEvalValue Less(const TEvalValue& a, const TEvalValue& b);
TEvalValue Greater(const TEvalValue& a, const TEvalValue& b);
TEvalValue LessOrEqual(const TEvalValue& a, const TEvalValue& b);
TEvalValue GreaterOrEqual(const TEvalValue& a, const TEvalValue& b);

// ---- Boolean operations (kIncorrectBooleanType for a non-boolean) ---------------------------

TEvalValue LogicalAnd(std::span<const TEvalValue* const> operands);
TEvalValue LogicalOr(std::span<const TEvalValue* const> operands);
TEvalValue LogicalXor(std::span<const TEvalValue* const> operands);
TEvalValue LogicalNot(const TEvalValue& a);

// ---- Conversions ---------------------------------------------------------------------------

TEvalValue RealToCurrency(const TEvalValue& x);                      // real2curr: vkReal only
TEvalValue CurrencyToReal(const TEvalValue& x);                      // curr2real: vkCurrency only
TEvalValue MakeComplex(const TEvalValue& re, const TEvalValue& im);  // complex(a, b)
TEvalValue ComplexFromPolar(const TEvalValue& r, const TEvalValue& t);  // complexfrompolar
TEvalValue RealPart(const TEvalValue& z);                               // re
TEvalValue ImaginaryPart(const TEvalValue& z);                          // im
TEvalValue Conjugate(const TEvalValue& z);                              // conjugate
TEvalValue Argument(const TEvalValue& z);                               // arg
TEvalValue Absolute(const TEvalValue& x);                               // abs

// ---- Inline fast paths of + - * / --------------------------------------------------------
// Two doubles with a finite result are the common case and stay inline; every other pairing,
// and deciding which fault a non-finite result stands for, goes through Arithmetic.

namespace detail {
enum class TArithOp : std::uint8_t { kAdd, kSubtract, kMultiply, kDivide };
// The full kind and fault rules of one operator.
TEvalValue Arithmetic(TArithOp op, const TEvalValue& a, const TEvalValue& b);
}  // namespace detail

inline TEvalValue Add(const TEvalValue& a, const TEvalValue& b) {
  if (a.kind == vkReal && b.kind == vkReal) {
    const double r = a.real + b.real;
    if (std::isfinite(r)) [[likely]]
      return TEvalValue::Real(r);
  }
  return detail::Arithmetic(detail::TArithOp::kAdd, a, b);
}

inline TEvalValue Subtract(const TEvalValue& a, const TEvalValue& b) {
  if (a.kind == vkReal && b.kind == vkReal) {
    const double r = a.real - b.real;
    if (std::isfinite(r)) [[likely]]
      return TEvalValue::Real(r);
  }
  return detail::Arithmetic(detail::TArithOp::kSubtract, a, b);
}

inline TEvalValue Multiply(const TEvalValue& a, const TEvalValue& b) {
  if (a.kind == vkReal && b.kind == vkReal) {
    const double r = a.real * b.real;
    if (std::isfinite(r)) [[likely]]
      return TEvalValue::Real(r);
  }
  return detail::Arithmetic(detail::TArithOp::kMultiply, a, b);
}

inline TEvalValue Divide(const TEvalValue& a, const TEvalValue& b) {
  if (a.kind == vkReal && b.kind == vkReal) {
    const double r = a.real / b.real;
    if (std::isfinite(r)) [[likely]]
      return TEvalValue::Real(r);
  }
  return detail::Arithmetic(detail::TArithOp::kDivide, a, b);
}

}  // namespace evaluator
