// The evaluator's value model: text forms, tolerant equality, currency conversions and the kind
// and fault rules of arithmetic, power, comparisons, boolean operations and conversions.
#include "evaluator/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "evaluator/eval_errors.h"

namespace evaluator {
namespace {

__extension__ typedef __int128 TInt128;

// Currency rounding and the currency-times-double product rely on an exact 64-bit mantissa.
static_assert(std::numeric_limits<long double>::digits >= 64,
              "currency arithmetic needs the x87 extended long double");

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Currencies keep to +-(2^63 - 1) scaled units, the same bound on both sides.
constexpr std::int64_t kCurrencyMax = std::numeric_limits<std::int64_t>::max();
// Integral exponents up to this size are raised by repeated multiplication, which keeps
// results such as i^2 exact.
constexpr double kMaxComplexIntegralExponent = 1024;

using detail::TArithOp;

[[noreturn]] void Fault(TMathErrorKind kind) {
  throw EMathError(kind);
}

// x / 0 for a finite x: 0/0 is an invalid operation, anything else a division by zero.
[[noreturn]] void DivisionByZero(bool dividend_is_zero) {
  Fault(dividend_is_zero ? mekInvalidOperation : mekZeroDivide);
}

// Decides what a non-finite result stands for, as an unmasked processor would report it:
// NaN operands propagate quietly, finite operands can only have overflowed, and otherwise an
// infinite operand legitimately gives an infinity while a NaN means an invalid operation
// (inf - inf, 0 * inf, inf / inf).
void CheckNonFinite(double result, std::initializer_list<double> operands) {
  if (std::isfinite(result)) return;
  bool any_nan = false;
  bool all_finite = true;
  for (const double v : operands) {
    any_nan = any_nan || std::isnan(v);
    all_finite = all_finite && std::isfinite(v);
  }
  if (any_nan) return;
  if (all_finite) Fault(mekOverflow);
  if (std::isnan(result)) Fault(mekInvalidOperation);
}

TComplexParts CheckedComplex(TComplexParts r, std::initializer_list<double> operands) {
  CheckNonFinite(r.re, operands);
  CheckNonFinite(r.im, operands);
  return r;
}

// ---- Currency helpers ----------------------------------------------------------------------

std::int64_t CheckedCurrency(TInt128 scaled) {
  if (scaled > kCurrencyMax || scaled < -kCurrencyMax) Fault(mekOverflow);
  return static_cast<std::int64_t>(scaled);
}

// Rounds an amount already multiplied by 10000 in the current rounding mode (ties to even by
// default).
std::int64_t RoundScaled(long double scaled) {
  if (std::isnan(scaled)) Fault(mekInvalidOperation);
  const long double rounded = std::nearbyint(scaled);
  if (!(std::fabs(rounded) <= static_cast<long double>(kCurrencyMax))) Fault(mekOverflow);
  return static_cast<std::int64_t>(rounded);
}

// n / d rounded to the nearest integer, ties to even; d is not zero.
TInt128 DivideRoundingHalfEven(TInt128 n, TInt128 d) {
  TInt128 q = n / d;
  const TInt128 r = n % d;
  const TInt128 twice_r = r < 0 ? -2 * r : 2 * r;
  const TInt128 abs_d = d < 0 ? -d : d;
  if (twice_r > abs_d || (twice_r == abs_d && (q & 1) != 0)) q += (n < 0) != (d < 0) ? -1 : 1;
  return q;
}

std::int64_t AsCurrency(const TEvalValue& v) {
  return v.IsCurrency() ? v.currency : DoubleToCurrency(v.real);
}

// One operator with at least one currency operand and no complex one.
TEvalValue CurrencyArithmetic(TArithOp op, const TEvalValue& a, const TEvalValue& b) {
  switch (op) {
    case TArithOp::kAdd:
      return TEvalValue::CurrencyScaled(
          CheckedCurrency(static_cast<TInt128>(AsCurrency(a)) + AsCurrency(b)));
    case TArithOp::kSubtract:
      return TEvalValue::CurrencyScaled(
          CheckedCurrency(static_cast<TInt128>(AsCurrency(a)) - AsCurrency(b)));
    case TArithOp::kMultiply: {
      if (a.IsCurrency() && b.IsCurrency()) {
        const TInt128 product = static_cast<TInt128>(a.currency) * b.currency;
        return TEvalValue::CurrencyScaled(
            CheckedCurrency(DivideRoundingHalfEven(product, kCurrencyScale)));
      }
      const std::int64_t c = a.IsCurrency() ? a.currency : b.currency;
      const double d = a.IsCurrency() ? b.real : a.real;
      return TEvalValue::CurrencyScaled(RoundScaled(static_cast<long double>(c) * d));
    }
    case TArithOp::kDivide:
      break;
  }
  if (a.IsCurrency()) {
    if (b.IsCurrency()) {
      if (b.currency == 0) DivisionByZero(a.currency == 0);
      const TInt128 dividend = static_cast<TInt128>(a.currency) * kCurrencyScale;
      return TEvalValue::CurrencyScaled(
          CheckedCurrency(DivideRoundingHalfEven(dividend, b.currency)));
    }
    if (b.real == 0) DivisionByZero(a.currency == 0);
    return TEvalValue::CurrencyScaled(RoundScaled(static_cast<long double>(a.currency) / b.real));
  }
  // A double over a currency is the one mixed pairing whose result stays a double; the
  // dividend still goes through currency rounding first.
  const std::int64_t dividend = DoubleToCurrency(a.real);
  if (b.currency == 0) DivisionByZero(dividend == 0);
  return TEvalValue::Real(static_cast<double>(static_cast<long double>(dividend) / b.currency));
}

// ---- Double and complex helpers ------------------------------------------------------------

double RealArithmetic(TArithOp op, double a, double b) {
  double r = 0;
  switch (op) {
    case TArithOp::kAdd:
      r = a + b;
      break;
    case TArithOp::kSubtract:
      r = a - b;
      break;
    case TArithOp::kMultiply:
      r = a * b;
      break;
    case TArithOp::kDivide:
      if (b == 0 && std::isfinite(a)) DivisionByZero(a == 0);
      r = a / b;
      break;
  }
  CheckNonFinite(r, {a, b});
  return r;
}

TComplexParts ToComplex(const TEvalValue& v) {
  return v.IsComplex() ? v.complex : TComplexParts{v.AsDouble(), 0.0};
}

bool IsZero(TComplexParts z) {
  return z.re == 0 && z.im == 0;
}
bool IsFinite(TComplexParts z) {
  return std::isfinite(z.re) && std::isfinite(z.im);
}
bool HasNaN(TComplexParts z) {
  return std::isnan(z.re) || std::isnan(z.im);
}

TComplexParts ComplexMultiply(TComplexParts x, TComplexParts y) {
  return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re};
}

// Smith's method: scaling by the larger divisor part keeps |y|^2 from overflowing.
TComplexParts ComplexQuotient(TComplexParts x, TComplexParts y) {
  if (std::fabs(y.re) >= std::fabs(y.im)) {
    const double t = y.im / y.re;
    const double den = y.re + y.im * t;
    return {(x.re + x.im * t) / den, (x.im - x.re * t) / den};
  }
  const double t = y.re / y.im;
  const double den = y.re * t + y.im;
  return {(x.re * t + x.im) / den, (x.im * t - x.re) / den};
}

TComplexParts ComplexArithmetic(TArithOp op, TComplexParts x, TComplexParts y) {
  TComplexParts r{};
  switch (op) {
    case TArithOp::kAdd:
      r = {x.re + y.re, x.im + y.im};
      break;
    case TArithOp::kSubtract:
      r = {x.re - y.re, x.im - y.im};
      break;
    case TArithOp::kMultiply:
      r = ComplexMultiply(x, y);
      break;
    case TArithOp::kDivide:
      if (IsZero(y) && IsFinite(x)) DivisionByZero(IsZero(x));
      r = ComplexQuotient(x, y);
      break;
  }
  return CheckedComplex(r, {x.re, x.im, y.re, y.im});
}

// log|z| without forming |z|, which could overflow for large finite parts.
double LogModulus(TComplexParts z) {
  const double a = std::fabs(z.re);
  const double b = std::fabs(z.im);
  const double big = std::max(a, b);
  const double small = std::min(a, b);
  const double ratio = small / big;
  return std::log(big) + 0.5 * std::log1p(ratio * ratio);
}

// z^n by repeated squaring; the reciprocal of z^|n| for a negative n.
TComplexParts ComplexIntegerPower(TComplexParts z, double n) {
  auto count = static_cast<unsigned>(std::fabs(n));
  TComplexParts result{1.0, 0.0};
  TComplexParts base = z;
  while (count != 0) {
    if ((count & 1U) != 0) result = ComplexMultiply(result, base);
    count >>= 1U;
    if (count != 0) base = ComplexMultiply(base, base);
  }
  if (!IsFinite(result)) {
    if (n > 0) Fault(mekOverflow);
    return {0.0, 0.0};  // the true result underflows
  }
  if (n > 0) return result;
  if (IsZero(result)) Fault(mekOverflow);  // z^|n| underflowed, so z^n overflows
  return CheckedComplex(ComplexQuotient({1.0, 0.0}, result), {z.re, z.im});
}

TComplexParts ComplexPower(TComplexParts z, TComplexParts w) {
  if (HasNaN(z) || HasNaN(w)) return {kNaN, kNaN};
  if (IsZero(z)) {
    if (IsZero(w)) return {1.0, 0.0};
    if (w.re > 0) return {0.0, 0.0};
    Fault(mekZeroDivide);
  }
  if (w.im == 0 && std::trunc(w.re) == w.re && std::fabs(w.re) <= kMaxComplexIntegralExponent &&
      IsFinite(z)) {
    return ComplexIntegerPower(z, w.re);
  }
  const TComplexParts log_z{LogModulus(z), std::atan2(z.im, z.re)};
  const TComplexParts t = ComplexMultiply(w, log_z);
  const double magnitude = std::exp(t.re);
  return CheckedComplex({magnitude * std::cos(t.im), magnitude * std::sin(t.im)},
                        {z.re, z.im, w.re, w.im});
}

// x^n for a nonzero integral n with |n| <= 2^31 - 1, multiplied out in extended precision.
double IntegerPower(double x, double n) {
  auto count = static_cast<std::uint32_t>(std::fabs(n));
  long double result = 1;
  long double base = x;
  while (count != 0) {
    if ((count & 1U) != 0) result *= base;
    count >>= 1U;
    if (count != 0) base *= base;
  }
  if (n > 0) {
    const auto r = static_cast<double>(result);
    if (std::isinf(r) && std::isfinite(x)) Fault(mekOverflow);
    return r;
  }
  if (result == 0) Fault(x == 0 ? mekZeroDivide : mekOverflow);
  // A positive power beyond the double range gives a reciprocal that underflows, to a
  // denormal or to zero; underflow is masked.
  const auto r = static_cast<double>(1 / result);
  if (std::isinf(r)) Fault(mekOverflow);
  return r;
}

void RequireNumber(const TEvalValue& v) {
  if (!v.IsNumber()) throw EEvalError(kIncorrectRealOrComplexType);
}

// ---- Comparisons ---------------------------------------------------------------------------

enum class TOrder : std::uint8_t { kLess, kGreater, kLessOrEqual, kGreaterOrEqual };

TEvalValue Order(TOrder order, const TEvalValue& a, const TEvalValue& b) {
  if (a.IsBoolean() && b.IsBoolean()) {
    const bool x = a.boolean;
    const bool y = b.boolean;
    switch (order) {
      case TOrder::kLess:
        return TEvalValue::Boolean(!x && y);
      case TOrder::kGreater:
        return TEvalValue::Boolean(x && !y);
      case TOrder::kLessOrEqual:
        return TEvalValue::Boolean(!x || y);
      case TOrder::kGreaterOrEqual:
        return TEvalValue::Boolean(x || !y);
    }
  }
  if (!a.IsRealOrCurrency() || !b.IsRealOrCurrency()) {
    throw EEvalError(kIncorrectComparativeType);
  }
  const double x = a.AsDouble();
  const double y = b.AsDouble();
  if (std::isnan(x) || std::isnan(y)) return TEvalValue::Real(kNaN);
  // Two currencies are ordered by their exact amounts; everything else as doubles, where the
  // infinities fall into place by the ordinary operators.
  const bool both_currency = a.IsCurrency() && b.IsCurrency();
  const bool less = both_currency ? a.currency < b.currency : x < y;
  const bool greater = both_currency ? a.currency > b.currency : x > y;
  switch (order) {
    case TOrder::kLess:
      return TEvalValue::Boolean(less);
    case TOrder::kGreater:
      return TEvalValue::Boolean(greater);
    case TOrder::kLessOrEqual:
      return TEvalValue::Boolean(less || ApproxEqual(x, y));
    case TOrder::kGreaterOrEqual:
      return TEvalValue::Boolean(greater || ApproxEqual(x, y));
  }
  return TEvalValue::Real(kNaN);
}

void RequireBooleans(std::span<const TEvalValue* const> operands) {
  for (const TEvalValue* v : operands) {
    if (!v->IsBoolean()) throw EEvalError(kIncorrectBooleanType);
  }
}

}  // namespace

// ---- Text forms ----------------------------------------------------------------------------

std::string RealToText(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (x == 0) return "0";  // negative zero included

  // Rounding to 15 significant digits first lets the exponent of the rounded value choose the
  // notation, so 999999999999999.9 becomes 1E15.
  char buf[40];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  (void)ec;  // 40 characters always hold d.dddddddddddddde-ddd
  const char* e = std::find(buf, end, 'e');
  int exponent = 0;
  std::from_chars(e[1] == '+' ? e + 2 : e + 1, end, exponent);

  char digits[15];
  digits[0] = buf[0];
  std::copy(buf + 2, buf + 16, digits + 1);
  std::size_t count = 15;
  while (count > 1 && digits[count - 1] == '0')
    --count;

  std::string text;
  if (x < 0) text += '-';
  if (exponent < -5 || exponent > 14) {
    text += digits[0];
    if (count > 1) {
      text += '.';
      text.append(digits + 1, count - 1);
    }
    char exp_buf[8];
    const auto exp_end = std::to_chars(exp_buf, exp_buf + sizeof exp_buf, exponent).ptr;
    text += 'E';
    text.append(exp_buf, exp_end);
  } else if (exponent >= 0) {
    const auto int_len = static_cast<std::size_t>(exponent) + 1;
    if (count <= int_len) {
      text.append(digits, count);
      text.append(int_len - count, '0');
    } else {
      text.append(digits, int_len);
      text += '.';
      text.append(digits + int_len, count - int_len);
    }
  } else {
    text += "0.";
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text.append(digits, count);
  }
  return text;
}

std::string CurrencyToText(std::int64_t scaled) {
  // The magnitude as unsigned so that the most negative amount needs no special case.
  const std::uint64_t magnitude =
      scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  char buf[32];
  char* p = buf;
  if (scaled < 0) *p++ = '-';
  p = std::to_chars(p, buf + sizeof buf, magnitude / kCurrencyScale).ptr;
  auto fraction = static_cast<unsigned>(magnitude % kCurrencyScale);
  if (fraction != 0) {
    int places = 4;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --places;
    }
    *p++ = '.';
    char* last = p + places;
    for (char* q = last; q != p; fraction /= 10)
      *--q = static_cast<char>('0' + fraction % 10);
    p = last;
  }
  return std::string(buf, p);
}

std::string ValueToText(const TEvalValue& value) {
  switch (value.kind) {
    case vkEmpty:
      return "No conversion";
    case vkNull:
      return "Null";
    case vkReal:
      return RealToText(value.real);
    case vkCurrency:
      return CurrencyToText(value.currency);
    case vkBoolean:
      return value.boolean ? "True" : "False";
    case vkComplex:
      return "Complex(" + RealToText(value.complex.re) + ", " + RealToText(value.complex.im) + ")";
  }
  return "No conversion";
}

// ---- Equality with tolerance ---------------------------------------------------------------

bool ApproxEqual(double a, double b) {
  // frexp has no useful mantissa for NaN or infinity; those compare only exactly.
  if (!std::isfinite(a) || !std::isfinite(b)) return a == b;
  int exp_a = 0;
  int exp_b = 0;
  const double mant_a = std::frexp(a, &exp_a);
  const double mant_b = std::frexp(b, &exp_b);
  return exp_a == exp_b && std::fabs(mant_a - mant_b) <= kZero;
}

bool ComplexApproxEqual(TComplexParts a, TComplexParts b) {
  return ApproxEqual(a.re, b.re) && ApproxEqual(a.im, b.im);
}

// ---- Currency conversions ------------------------------------------------------------------

std::int64_t DoubleToCurrency(double x) {
  if (std::isnan(x)) Fault(mekInvalidOperation);
  // In extended precision the product is exact or nearly so, so the rounding sees the
  // double's own value rather than a product already rounded to 53 bits.
  return RoundScaled(static_cast<long double>(x) * kCurrencyScale);
}

bool DecimalTextToCurrency(std::string_view text, std::int64_t& scaled) {
  const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::size_t start = i;
  while (i < n && is_digit(text[i]))
    ++i;
  const std::string_view int_digits = text.substr(start, i - start);
  std::string_view frac_digits;
  if (i < n && text[i] == '.') {
    start = ++i;
    while (i < n && is_digit(text[i]))
      ++i;
    frac_digits = text.substr(start, i - start);
  }
  if (int_digits.empty() && frac_digits.empty()) return false;
  std::int64_t exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) exp_negative = text[i++] == '-';
    start = i;
    for (; i < n && is_digit(text[i]); ++i) {
      // Saturates: any exponent this large already decides the outcome.
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (i == start) return false;
    if (exp_negative) exponent = -exponent;
  }
  if (i != n) return false;

  // The digits of both parts read as one integer S; the scaled amount is S * 10^shift.
  const auto total = static_cast<std::int64_t>(int_digits.size() + frac_digits.size());
  const auto digit = [&](std::int64_t k) {
    const auto index = static_cast<std::size_t>(k);
    return index < int_digits.size() ? int_digits[index] - '0'
                                     : frac_digits[index - int_digits.size()] - '0';
  };
  std::int64_t first = 0;
  while (first < total && digit(first) == 0)
    ++first;
  if (first == total) {
    scaled = 0;
    return true;
  }
  const std::int64_t significant = total - first;
  const std::int64_t shift = exponent + 4 - static_cast<std::int64_t>(frac_digits.size());
  constexpr std::int64_t kMaxDigits = 19;  // digits of kCurrencyMax

  TInt128 magnitude = 0;
  if (shift >= 0) {
    if (significant + shift > kMaxDigits) return false;
    for (std::int64_t k = first; k < total; ++k)
      magnitude = magnitude * 10 + digit(k);
    for (std::int64_t k = 0; k < shift; ++k)
      magnitude *= 10;
  } else {
    const std::int64_t kept = significant + shift;  // digits left of the rounding point
    if (kept > kMaxDigits) return false;
    for (std::int64_t k = first; k < first + kept; ++k)
      magnitude = magnitude * 10 + digit(k);
    if (kept >= 0) {
      // Half-even on the dropped digits; with kept < 0 the first dropped digit is a leading
      // zero and the amount rounds down to nothing.
      const int dropped = digit(first + kept);
      bool round_up = dropped > 5;
      if (dropped == 5) {
        bool beyond_half = false;
        for (std::int64_t k = first + kept + 1; k < total && !beyond_half; ++k) {
          beyond_half = digit(k) != 0;
        }
        round_up = beyond_half || (magnitude & 1) != 0;
      }
      if (round_up) ++magnitude;
    }
  }
  if (magnitude > kCurrencyMax) return false;
  scaled = static_cast<std::int64_t>(negative ? -magnitude : magnitude);
  return true;
}

// ---- Arithmetic ----------------------------------------------------------------------------

TEvalValue detail::Arithmetic(TArithOp op, const TEvalValue& a, const TEvalValue& b) {
  if (!a.IsNumber() || !b.IsNumber()) throw EEvalError(kIncorrectRealOrComplexType);
  if (a.IsComplex() || b.IsComplex()) {
    const TComplexParts r = ComplexArithmetic(op, ToComplex(a), ToComplex(b));
    return TEvalValue::Complex(r.re, r.im);
  }
  if (a.IsCurrency() || b.IsCurrency()) return CurrencyArithmetic(op, a, b);
  return TEvalValue::Real(RealArithmetic(op, a.real, b.real));
}

double RealPower(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return kNaN;
  if (y == 0) return 1;
  if (x == 0 && y > 0) return 0;
  if (std::trunc(y) == y && std::fabs(y) <= 2147483647.0) return IntegerPower(x, y);
  // exp(y * ln x) from here on: ln fails below zero and is -inf at zero (y < 0 by now).
  if (x < 0) Fault(mekInvalidOperation);
  if (x == 0) Fault(mekZeroDivide);
  if (x == 1 && std::isinf(y)) Fault(mekInvalidOperation);  // inf * ln 1 = inf * 0
  const double r = std::pow(x, y);
  CheckNonFinite(r, {x, y});
  return r;
}

double RationalPower(double x, double p, double q) {
  if (std::isnan(x) || std::isnan(p) || std::isnan(q)) return kNaN;
  const double exponent = RealArithmetic(TArithOp::kDivide, p, q);
  const double whole_p = std::trunc(p);
  const double whole_q = std::trunc(q);
  if (x < 0 && std::fabs(p - whole_p) <= kZero && std::fabs(q - whole_q) <= kZero &&
      std::fmod(whole_q, 2.0) != 0) {
    // An odd root of a negative base is real: the negated root of |x|, then the integer power.
    if (whole_p == 0) return 1;
    const double root = -RealPower(-x, 1 / std::fabs(q));
    const double count = std::fabs(whole_p);
    return RealPower(root, exponent > 0 ? count : -count);
  }
  return RealPower(x, exponent);
}

TEvalValue Power(const TEvalValue& x, const TEvalValue& y) {
  RequireNumber(x);
  RequireNumber(y);
  if (x.IsComplex() || y.IsComplex()) {
    const TComplexParts r = ComplexPower(ToComplex(x), ToComplex(y));
    return TEvalValue::Complex(r.re, r.im);
  }
  return TEvalValue::Real(RealPower(x.AsDouble(), y.AsDouble()));
}

TEvalValue RationalPower(const TEvalValue& x, const TEvalValue& p, const TEvalValue& q) {
  RequireNumber(x);
  RequireNumber(p);
  RequireNumber(q);
  if (x.IsComplex() || p.IsComplex() || q.IsComplex()) {
    const TComplexParts exponent = ComplexArithmetic(TArithOp::kDivide, ToComplex(p), ToComplex(q));
    const TComplexParts r = ComplexPower(ToComplex(x), exponent);
    return TEvalValue::Complex(r.re, r.im);
  }
  return TEvalValue::Real(RationalPower(x.AsDouble(), p.AsDouble(), q.AsDouble()));
}

// ---- Comparisons ---------------------------------------------------------------------------

TEvalValue Equal(const TEvalValue& a, const TEvalValue& b) {
  if (a.IsRealOrCurrency() && b.IsRealOrCurrency()) {
    const double x = a.AsDouble();
    const double y = b.AsDouble();
    if (std::isnan(x) || std::isnan(y)) return TEvalValue::Real(kNaN);
    // ApproxEqual compares infinities exactly: equal only to the same infinity.
    return TEvalValue::Boolean(ApproxEqual(x, y));
  }
  if (a.IsComplex() && b.IsComplex()) {
    return TEvalValue::Boolean(ComplexApproxEqual(a.complex, b.complex));
  }
  if (a.IsBoolean() && b.IsBoolean()) return TEvalValue::Boolean(a.boolean == b.boolean);
  throw EEvalError(kIncorrectComparativeType);
}

TEvalValue NotEqual(const TEvalValue& a, const TEvalValue& b) {
  TEvalValue result = Equal(a, b);
  if (result.IsBoolean()) result.boolean = !result.boolean;
  return result;
}

TEvalValue Less(const TEvalValue& a, const TEvalValue& b) {
  return Order(TOrder::kLess, a, b);
}

TEvalValue Greater(const TEvalValue& a, const TEvalValue& b) {
  return Order(TOrder::kGreater, a, b);
}

TEvalValue LessOrEqual(const TEvalValue& a, const TEvalValue& b) {
  return Order(TOrder::kLessOrEqual, a, b);
}

TEvalValue GreaterOrEqual(const TEvalValue& a, const TEvalValue& b) {
  return Order(TOrder::kGreaterOrEqual, a, b);
}

// ---- Boolean operations --------------------------------------------------------------------

TEvalValue LogicalAnd(std::span<const TEvalValue* const> operands) {
  RequireBooleans(operands);
  return TEvalValue::Boolean(std::all_of(operands.begin(), operands.end(),
                                         [](const TEvalValue* v) { return v->boolean; }));
}

TEvalValue LogicalOr(std::span<const TEvalValue* const> operands) {
  RequireBooleans(operands);
  return TEvalValue::Boolean(std::any_of(operands.begin(), operands.end(),
                                         [](const TEvalValue* v) { return v->boolean; }));
}

TEvalValue LogicalXor(std::span<const TEvalValue* const> operands) {
  RequireBooleans(operands);
  bool result = false;
  for (const TEvalValue* v : operands)
    result = result != v->boolean;
  return TEvalValue::Boolean(result);
}

TEvalValue LogicalNot(const TEvalValue& a) {
  if (!a.IsBoolean()) throw EEvalError(kIncorrectBooleanType);
  return TEvalValue::Boolean(!a.boolean);
}

// ---- Conversions ---------------------------------------------------------------------------

TEvalValue RealToCurrency(const TEvalValue& x) {
  if (!x.IsReal()) throw EEvalError(kIncorrectRealType);
  return TEvalValue::CurrencyScaled(DoubleToCurrency(x.real));
}

TEvalValue CurrencyToReal(const TEvalValue& x) {
  if (!x.IsCurrency()) throw EEvalError(kIncorrectCurrencyType);
  return TEvalValue::Real(x.AsDouble());
}

TEvalValue MakeComplex(const TEvalValue& re, const TEvalValue& im) {
  if (!re.IsRealOrCurrency() || !im.IsRealOrCurrency()) throw EEvalError(kIncorrectComplexType);
  return TEvalValue::Complex(re.AsDouble(), im.AsDouble());
}

TEvalValue ComplexFromPolar(const TEvalValue& r, const TEvalValue& t) {
  if (!r.IsRealOrCurrency() || !t.IsRealOrCurrency()) throw EEvalError(kIncorrectComplexType);
  const double modulus = r.AsDouble();
  const double angle = t.AsDouble();
  const TComplexParts z =
      CheckedComplex({modulus * std::cos(angle), modulus * std::sin(angle)}, {modulus, angle});
  return TEvalValue::Complex(z.re, z.im);
}

TEvalValue RealPart(const TEvalValue& z) {
  if (!z.IsComplex()) throw EEvalError(kIncorrectComplexType);
  return TEvalValue::Real(z.complex.re);
}

TEvalValue ImaginaryPart(const TEvalValue& z) {
  if (!z.IsComplex()) throw EEvalError(kIncorrectComplexType);
  return TEvalValue::Real(z.complex.im);
}

TEvalValue Conjugate(const TEvalValue& z) {
  if (!z.IsComplex()) throw EEvalError(kIncorrectComplexType);
  return TEvalValue::Complex(z.complex.re, -z.complex.im);
}

TEvalValue Argument(const TEvalValue& z) {
  if (!z.IsComplex()) throw EEvalError(kIncorrectComplexType);
  return TEvalValue::Real(std::atan2(z.complex.im, z.complex.re));
}

TEvalValue Absolute(const TEvalValue& x) {
  RequireNumber(x);
  if (x.IsComplex()) {
    const double modulus = std::hypot(x.complex.re, x.complex.im);
    CheckNonFinite(modulus, {x.complex.re, x.complex.im});
    return TEvalValue::Real(modulus);
  }
  return TEvalValue::Real(std::fabs(x.AsDouble()));
}

}  // namespace evaluator
