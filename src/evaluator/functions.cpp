// The operation of every operator and built-in function code on values: real functions with
// their fault rules, the complex variants, per-part rounding, max/min, the sums, mod and
// quotient, the logarithm to a base, the two-argument arctangent, random and the constants.
#include "evaluator/functions.h"

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <span>
#include <string>

#include "evaluator/catalogue.h"
#include "evaluator/error_codes.h"
#include "evaluator/eval_errors.h"
#include "evaluator/random_source.h"
#include "evaluator/text_utils.h"

namespace evaluator {
namespace {

using TComplex = std::complex<double>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The constants nan and indeterminate: the processor's default not-a-number has its sign set.
constexpr double kDefaultNaN = -std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kDegree = std::numbers::pi / 180;
constexpr double kRadian = 180 / std::numbers::pi;
// Whole numbers up to 2^53 are exact doubles, so random can draw from ranges that large.
constexpr double kMaxRandomRange = 9007199254740992.0;

[[noreturn]] void Fault(TMathErrorKind kind) {
  throw EMathError(kind);
}
[[noreturn]] void TypeError(const char* text) {
  throw EEvalError(text);
}

[[noreturn]] void WrongCount(std::uint16_t code) {
  throw EEvalError(std::string(msg::kWrongArgumentCount) + ToUpperAscii(BuiltinName(code)));
}

void RequireCount(std::uint16_t code, std::int32_t count, std::int32_t least, std::int32_t most) {
  if (count < least || count > most) WrongCount(code);
}

void RequireNumber(const TEvalValue& v) {
  if (!v.IsNumber()) TypeError(kIncorrectRealOrComplexType);
}

void RequireReal(const TEvalValue& v) {
  if (!v.IsRealOrCurrency()) TypeError(kIncorrectRealType);
}

// ---- Real functions ------------------------------------------------------------------------

// Decides what a non-finite value f(x) stands for. A NaN argument propagates quietly; a NaN
// value from any other argument is an invalid operation (outside the domain, or an infinite
// argument of a periodic function); an infinite value from a finite argument is a division by
// zero at a pole of f or else an overflow.
[[gnu::noinline]] double NonFiniteValue(double value, double x, bool pole) {
  if (std::isnan(x)) return value;
  if (std::isnan(value)) Fault(mekInvalidOperation);
  if (std::isfinite(x)) Fault(pole ? mekZeroDivide : mekOverflow);
  return value;
}

inline double Finish(double value, double x, bool pole = false) {
  if (std::isfinite(value)) [[likely]]
    return value;
  return NonFiniteValue(value, x, pole);
}

// 1/v as the reciprocal functions (sec, csc, arccot, ...) are defined: v = 0 is a division by
// zero even where the final value would have a finite limit.
double Reciprocal(double v) {
  if (v == 0) Fault(mekZeroDivide);
  return Finish(1 / v, v);
}

// ---- Complex functions ---------------------------------------------------------------------

TEvalValue FromComplex(TComplexParts z) {
  return TEvalValue::Complex(z.re, z.im);
}

// The complex counterpart of Finish: `pole` marks the functions whose only way to an infinite
// value from a finite argument is a singularity (the logarithms and inverse tangents).
TComplexParts FinishComplex(TComplex value, TComplexParts z, bool pole) {
  const double re = value.real();
  const double im = value.imag();
  if (std::isfinite(re) && std::isfinite(im)) [[likely]]
    return {re, im};
  if (std::isnan(z.re) || std::isnan(z.im)) return {re, im};
  if (std::isnan(re) || std::isnan(im)) Fault(mekInvalidOperation);
  if (std::isfinite(z.re) && std::isfinite(z.im)) Fault(pole ? mekZeroDivide : mekOverflow);
  return {re, im};
}

TComplexParts ComplexReciprocal(TComplexParts z) {
  return Divide(TEvalValue::Complex(1, 0), FromComplex(z)).complex;
}

TComplexParts ComplexOf(std::uint16_t code, TComplexParts z) {
  const TComplex w(z.re, z.im);
  switch (code) {
    case kCodeExp:
      return FinishComplex(std::exp(w), z, false);
    case kCodeCos:
      return FinishComplex(std::cos(w), z, false);
    case kCodeSin:
      return FinishComplex(std::sin(w), z, false);
    case kCodeTan:
      return FinishComplex(std::tan(w), z, false);
    case kCodeSqrt:
      return FinishComplex(std::sqrt(w), z, false);
    case kCodeLn:
    case kCodeLog:
      return FinishComplex(std::log(w), z, true);
    case kCodeLnxp1:
      return FinishComplex(std::log(1.0 + w), z, true);
    case kCodeLog10:
      return FinishComplex(std::log10(w), z, true);
    case kCodeLog2:
      return FinishComplex(std::log(w) / std::numbers::ln2, z, true);
    case kCodeArccos:
      return FinishComplex(std::acos(w), z, false);
    case kCodeArccosh:
      return FinishComplex(std::acosh(w), z, false);
    case kCodeCosh:
      return FinishComplex(std::cosh(w), z, false);
    case kCodeArcsin:
      return FinishComplex(std::asin(w), z, false);
    case kCodeArcsinh:
      return FinishComplex(std::asinh(w), z, false);
    case kCodeSinh:
      return FinishComplex(std::sinh(w), z, false);
    case kCodeArctan:
      return FinishComplex(std::atan(w), z, true);
    case kCodeArctanh:
      return FinishComplex(std::atanh(w), z, true);
    case kCodeTanh:
      return FinishComplex(std::tanh(w), z, false);
    case kCodeCotan:
    case kCodeCot:
      return ComplexReciprocal(ComplexOf(kCodeTan, z));
    case kCodeSec:
    case kCodeSecant:
      return ComplexReciprocal(ComplexOf(kCodeCos, z));
    case kCodeSech:
      return ComplexReciprocal(ComplexOf(kCodeCosh, z));
    case kCodeCsc:
    case kCodeCosecant:
      return ComplexReciprocal(ComplexOf(kCodeSin, z));
    case kCodeCsch:
      return ComplexReciprocal(ComplexOf(kCodeSinh, z));
    case kCodeCoth:
      return ComplexReciprocal(ComplexOf(kCodeTanh, z));
    case kCodeArccot:
      return ComplexOf(kCodeArctan, ComplexReciprocal(z));
    case kCodeArccoth:
      return ComplexOf(kCodeArctanh, ComplexReciprocal(z));
    case kCodeArcsec:
      return ComplexOf(kCodeArccos, ComplexReciprocal(z));
    case kCodeArcsech:
      return ComplexOf(kCodeArccosh, ComplexReciprocal(z));
    case kCodeArccsc:
      return ComplexOf(kCodeArcsin, ComplexReciprocal(z));
    case kCodeArccsch:
      return ComplexOf(kCodeArcsinh, ComplexReciprocal(z));
    case kCodeSqr:
      return Multiply(FromComplex(z), FromComplex(z)).complex;
    case kCodeSign:
      return Divide(FromComplex(z), Absolute(FromComplex(z))).complex;
    // The rounding and scaling functions work on each part on its own.
    case kCodeCeil:
    case kCodeCeiling:
    case kCodeInt:
    case kCodeIntegerpart:
    case kCodeFrac:
    case kCodeFractionalpart:
    case kCodeFloor:
    case kCodeDegtorad:
    case kCodeRadtodeg:
      return {RealFunction(code, z.re), RealFunction(code, z.im)};
    default:
      break;
  }
  throw EEvalError(kProgrammingError);
}

// One-operand numeric functions: a double or currency gives a double, a complex the complex
// function (a real for abs).
TEvalValue NumberFunction(std::uint16_t code, const TEvalValue& x) {
  switch (x.kind) {
    case vkReal:
      return TEvalValue::Real(RealFunction(code, x.real));
    case vkCurrency:
      return TEvalValue::Real(RealFunction(code, x.AsDouble()));
    case vkComplex:
      if (code == kCodeAbs) return Absolute(x);
      return FromComplex(ComplexOf(code, x.complex));
    default:
      TypeError(kIncorrectRealOrComplexType);
  }
}

// ---- Functions of several operands ---------------------------------------------------------

// atan2(y, x) for two reals, otherwise the complex arctangent of y/x.
TEvalValue TwoArgumentArctan(const TEvalValue& y, const TEvalValue& x) {
  RequireNumber(y);
  RequireNumber(x);
  if (!y.IsComplex() && !x.IsComplex()) {
    return TEvalValue::Real(std::atan2(y.AsDouble(), x.AsDouble()));
  }
  return FromComplex(ComplexOf(kCodeArctan, Divide(y, x).complex));
}

// Two reals (b, x) give the logarithm of x to base b. With a complex operand the roles turn:
// the logarithm of the first operand to the base of the second, which must be real.
TEvalValue LogarithmToBase(const TEvalValue& a, const TEvalValue& b) {
  RequireNumber(a);
  RequireNumber(b);
  if (!a.IsComplex() && !b.IsComplex()) {
    const double lnX = RealFunction(kCodeLn, b.AsDouble());
    const double lnBase = RealFunction(kCodeLn, a.AsDouble());
    return Divide(TEvalValue::Real(lnX), TEvalValue::Real(lnBase));
  }
  RequireReal(b);
  const double lnBase = RealFunction(kCodeLn, b.AsDouble());
  return Divide(FromComplex(ComplexOf(kCodeLn, a.complex)), TEvalValue::Real(lnBase));
}

// max (greatest = true) and min. The value taken is the operand itself, so a currency stays a
// currency. An infinite operand or running value is decided without comparing; a NaN operand
// against a number is an invalid comparison, while a NaN running value stays.
TEvalValue Extreme(const TEvalValue* const* operands, std::int32_t count, bool greatest) {
  const TEvalValue* best = operands[0];
  RequireReal(*best);
  const double towards = greatest ? kInfinity : -kInfinity;
  for (std::int32_t k = 1; k < count; ++k) {
    const TEvalValue& v = *operands[k];
    RequireReal(v);
    const double b = best->AsDouble();
    if (std::isnan(b)) continue;
    const double x = v.AsDouble();
    if (std::isinf(x)) {
      if (x == towards) best = &v;
      continue;
    }
    if (std::isinf(b)) {
      if (b == -towards) best = &v;
      continue;
    }
    if (std::isnan(x)) Fault(mekInvalidOperation);
    const bool exact = best->IsCurrency() && v.IsCurrency();
    const bool beyond = exact
                            ? (greatest ? best->currency < v.currency : best->currency > v.currency)
                            : (greatest ? b < x : b > x);
    if (beyond) best = &v;
  }
  return *best;
}

TEvalValue Sum(const TEvalValue* const* operands, std::int32_t count) {
  RequireNumber(*operands[0]);
  TEvalValue total = *operands[0];
  for (std::int32_t k = 1; k < count; ++k)
    total = Add(total, *operands[k]);
  return total;
}

// quotient and div give floor(x/y) (per part for a complex quotient); mod gives x - y*floor.
TEvalValue FlooredDivision(const TEvalValue& x, const TEvalValue& y, bool remainder) {
  RequireNumber(x);
  RequireNumber(y);
  const TEvalValue q = Divide(x, y);
  TEvalValue floored;
  if (q.IsComplex()) {
    floored = TEvalValue::Complex(std::floor(q.complex.re), std::floor(q.complex.im));
  } else {
    const double value = q.AsDouble();
    if (std::isnan(value)) return TEvalValue::Real(kNaN);
    floored = TEvalValue::Real(std::floor(value));
  }
  if (!remainder) return floored;
  return Subtract(x, Multiply(y, floored));
}

TEvalValue Random(const TEvalValue& x) {
  RequireReal(x);
  const double range = x.AsDouble();
  if (std::isnan(range)) return TEvalValue::Real(kNaN);
  if (range < 0) throw EEvalError(kRandomRangeNegative);
  const double whole = std::trunc(range);
  if (whole < 1) return TEvalValue::Real(RandomSource().NextUnit());
  if (whole > kMaxRandomRange) throw EEvalError(kRandomRangeTooLarge);
  return TEvalValue::Real(
      static_cast<double>(RandomSource().NextBelow(static_cast<std::uint64_t>(whole))));
}

TEvalValue DirectedInfinity(const TEvalValue& x) {
  if (x.IsRealOrCurrency()) {
    const double direction = x.AsDouble();
    if (direction == 1) return TEvalValue::Real(kInfinity);
    if (direction == -1) return TEvalValue::Real(-kInfinity);
  }
  WrongCount(kCodeDirectedinfinity);
}

TEvalValue Select(const TEvalValue* const* operands, std::int32_t count) {
  const TEvalValue& condition = *operands[0];
  if (!condition.IsBoolean()) TypeError(kIncorrectBooleanType);
  if (condition.boolean) return *operands[1];
  return count == 3 ? *operands[2] : TEvalValue::Null();
}

TEvalValue Constant(std::uint16_t code) {
  switch (code) {
    case kCodePi:
      return TEvalValue::Real(std::numbers::pi);
    case kCodeInfinity:
      return TEvalValue::Real(kInfinity);
    case kCodeZero:
      return TEvalValue::Real(kZero);
    case kCodeNan:
    case kCodeIndeterminate:
      return TEvalValue::Real(kDefaultNaN);
    case kCodeTrue:
      return TEvalValue::Boolean(true);
    case kCodeFalse:
      return TEvalValue::Boolean(false);
    case kCodeDegree:
      return TEvalValue::Real(kDegree);
    case kCodeE:
      return TEvalValue::Real(std::numbers::e);
    default:
      return TEvalValue::Null();
  }
}

}  // namespace

double RealFunction(std::uint16_t code, double x) {
  switch (code) {
    case kCodeExp:
      return Finish(std::exp(x), x);
    case kCodeCos:
      return Finish(std::cos(x), x);
    case kCodeSin:
      return Finish(std::sin(x), x);
    case kCodeTan:
      return Finish(std::tan(x), x);
    case kCodeCotan:
    case kCodeCot:
      return Reciprocal(Finish(std::tan(x), x));
    case kCodeSqrt:
      return Finish(std::sqrt(x), x);
    case kCodeAbs:
      return std::fabs(x);
    case kCodeLn:
    case kCodeLog:
      return Finish(std::log(x), x, true);
    case kCodeCeil:
    case kCodeCeiling:
      return std::ceil(x);
    case kCodeSqr:
      return Finish(x * x, x);
    case kCodeInt:
    case kCodeIntegerpart:
      return std::trunc(x);
    case kCodeLnxp1:
      return Finish(std::log1p(x), x, true);
    case kCodeLog10:
      return Finish(std::log10(x), x, true);
    case kCodeLog2:
      return Finish(std::log2(x), x, true);
    case kCodeFrac:
    case kCodeFractionalpart:
      return Finish(x - std::trunc(x), x);
    case kCodeArccos:
      return Finish(std::acos(x), x);
    case kCodeArccosh:
      return Finish(std::acosh(x), x);
    case kCodeCosh:
      return Finish(std::cosh(x), x);
    case kCodeArcsin:
      return Finish(std::asin(x), x);
    case kCodeArcsinh:
      return std::asinh(x);
    case kCodeSinh:
      return Finish(std::sinh(x), x);
    case kCodeArctan:
      return std::atan(x);
    case kCodeArctanh:
      return Finish(std::atanh(x), x, true);
    case kCodeTanh:
      return std::tanh(x);
    case kCodeDegtorad:
      return Finish(x * kDegree, x);
    case kCodeRadtodeg:
      return Finish(x * kRadian, x);
    case kCodeFloor:
      return std::floor(x);
    case kCodeSec:
    case kCodeSecant:
      return Reciprocal(Finish(std::cos(x), x));
    case kCodeSech:
      return Reciprocal(Finish(std::cosh(x), x));
    case kCodeCoth:
      return Reciprocal(std::tanh(x));
    case kCodeCsc:
    case kCodeCosecant:
      return Reciprocal(Finish(std::sin(x), x));
    case kCodeCsch:
      return Reciprocal(Finish(std::sinh(x), x));
    case kCodeArccot:
      return std::atan(Reciprocal(x));
    case kCodeArccoth: {
      const double y = Reciprocal(x);
      return Finish(std::atanh(y), y, true);
    }
    case kCodeArcsec: {
      const double y = Reciprocal(x);
      return Finish(std::acos(y), y);
    }
    case kCodeArcsech: {
      const double y = Reciprocal(x);
      return Finish(std::acosh(y), y);
    }
    case kCodeArccsc: {
      const double y = Reciprocal(x);
      return Finish(std::asin(y), y);
    }
    case kCodeArccsch:
      return std::asinh(Reciprocal(x));
    case kCodeSign:
      if (std::isnan(x)) return x;
      return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
    default:
      break;
  }
  throw EEvalError(kProgrammingError);
}

TEvalValue ApplyFunction(std::uint16_t code, const TEvalValue* const* operands,
                         std::int32_t count) {
  switch (code) {
    case kCodeMultiply:
    case kCodeDivide:
    case kCodeAdd:
    case kCodeSubtract:
      if (count != 2) break;
      switch (code) {
        case kCodeMultiply:
          return Multiply(*operands[0], *operands[1]);
        case kCodeDivide:
          return Divide(*operands[0], *operands[1]);
        case kCodeAdd:
          return Add(*operands[0], *operands[1]);
        default:
          return Subtract(*operands[0], *operands[1]);
      }
    case kCodePower:
    case kCodePowerFn:
      // A third operand is the denominator of an exponent written as a quotient.
      if (count == 3) return RationalPower(*operands[0], *operands[1], *operands[2]);
      if (count != 2) {
        if (code == kCodePower) break;
        WrongCount(code);
      }
      return Power(*operands[0], *operands[1]);
    case kCodeDefine:
      return TEvalValue::Null();

    case kCodePi:
    case kCodeInfinity:
    case kCodeZero:
    case kCodeNan:
    case kCodeIndeterminate:
    case kCodeTrue:
    case kCodeFalse:
    case kCodeDegree:
    case kCodeE:
    case kCodeNull:
      RequireCount(code, count, 0, 0);
      return Constant(code);
    case kCodeDirectedinfinity:
      RequireCount(code, count, 1, 1);
      return DirectedInfinity(*operands[0]);

    case kCodeExp:
    case kCodeCos:
    case kCodeSin:
    case kCodeTan:
    case kCodeCotan:
    case kCodeSqrt:
    case kCodeAbs:
    case kCodeLn:
    case kCodeCeil:
    case kCodeSqr:
    case kCodeInt:
    case kCodeLnxp1:
    case kCodeLog10:
    case kCodeLog2:
    case kCodeFrac:
    case kCodeArccos:
    case kCodeArccosh:
    case kCodeCosh:
    case kCodeArcsin:
    case kCodeArcsinh:
    case kCodeSinh:
    case kCodeArctanh:
    case kCodeTanh:
    case kCodeDegtorad:
    case kCodeRadtodeg:
    case kCodeFloor:
    case kCodeSec:
    case kCodeSech:
    case kCodeCot:
    case kCodeCoth:
    case kCodeArccot:
    case kCodeArccoth:
    case kCodeArcsec:
    case kCodeArcsech:
    case kCodeCsc:
    case kCodeCsch:
    case kCodeArccsc:
    case kCodeArccsch:
    case kCodeSecant:
    case kCodeCosecant:
    case kCodeLog:
    case kCodeSign:
    case kCodeFractionalpart:
    case kCodeIntegerpart:
    case kCodeCeiling:
      RequireCount(code, count, 1, 1);
      return NumberFunction(code, *operands[0]);

    case kCodeArctan:
      RequireCount(code, count, 1, 2);
      if (count == 1) return NumberFunction(code, *operands[0]);
      return TwoArgumentArctan(*operands[1], *operands[0]);
    case kCodeArctan2:
      RequireCount(code, count, 2, 2);
      return TwoArgumentArctan(*operands[0], *operands[1]);
    case kCodeLogn:
      RequireCount(code, count, 2, 2);
      return LogarithmToBase(*operands[0], *operands[1]);

    case kCodeMax:
    case kCodeMin:
      RequireCount(code, count, 1, kAnyParameterCount);
      return Extreme(operands, count, code == kCodeMax);
    case kCodeSum:
      RequireCount(code, count, 1, kAnyParameterCount);
      return Sum(operands, count);
    case kCodeMean:
      RequireCount(code, count, 1, kAnyParameterCount);
      return Divide(Sum(operands, count), TEvalValue::Real(count));

    case kCodeMod:
    case kCodeQuotient:
    case kCodeDiv:
      RequireCount(code, count, 2, 2);
      return FlooredDivision(*operands[0], *operands[1], code == kCodeMod);

    case kCodeEq:
    case kCodeUneq:
    case kCodeLs:
    case kCodeGr:
    case kCodeLseq:
    case kCodeGreq: {
      RequireCount(code, count, 2, 2);
      const TEvalValue& a = *operands[0];
      const TEvalValue& b = *operands[1];
      switch (code) {
        case kCodeEq:
          return Equal(a, b);
        case kCodeUneq:
          return NotEqual(a, b);
        case kCodeLs:
          return Less(a, b);
        case kCodeGr:
          return Greater(a, b);
        case kCodeLseq:
          return LessOrEqual(a, b);
        default:
          return GreaterOrEqual(a, b);
      }
    }

    case kCodeAnd:
    case kCodeOr:
    case kCodeXor: {
      RequireCount(code, count, 2, kAnyParameterCount);
      const std::span<const TEvalValue* const> all(operands, static_cast<std::size_t>(count));
      if (code == kCodeAnd) return LogicalAnd(all);
      return code == kCodeOr ? LogicalOr(all) : LogicalXor(all);
    }
    case kCodeNot:
      RequireCount(code, count, 1, 1);
      return LogicalNot(*operands[0]);

    case kCodeIf:
      RequireCount(code, count, 2, 3);
      return Select(operands, count);
    case kCodeBk:
      RequireCount(code, count, 1, kAnyParameterCount);
      return *operands[count - 1];
    case kCodeWhile:
      // A loop whose parts are known before it runs either never ends or never starts.
      throw EEvalError(kWhileLoopUseless);

    case kCodeIsnan:
      RequireCount(code, count, 1, 1);
      RequireReal(*operands[0]);
      return TEvalValue::Boolean(operands[0]->IsReal() && std::isnan(operands[0]->real));
    case kCodeRandom:
      RequireCount(code, count, 1, 1);
      return Random(*operands[0]);

    case kCodeIscomplex:
    case kCodeIsreal:
    case kCodeIsboolean:
    case kCodeIsnull:
    case kCodeIscurrency: {
      RequireCount(code, count, 1, 1);
      const TEvalValue& v = *operands[0];
      switch (code) {
        case kCodeIscomplex:
          return TEvalValue::Boolean(v.IsComplex());
        case kCodeIsreal:
          return TEvalValue::Boolean(v.IsReal());
        case kCodeIsboolean:
          return TEvalValue::Boolean(v.IsBoolean());
        case kCodeIsnull:
          return TEvalValue::Boolean(v.IsNull());
        default:
          return TEvalValue::Boolean(v.IsCurrency());
      }
    }

    case kCodeComplex:
      RequireCount(code, count, 2, 2);
      return MakeComplex(*operands[0], *operands[1]);
    case kCodeComplexfrompolar:
      RequireCount(code, count, 2, 2);
      return ComplexFromPolar(*operands[0], *operands[1]);
    case kCodeRe:
      RequireCount(code, count, 1, 1);
      return RealPart(*operands[0]);
    case kCodeIm:
      RequireCount(code, count, 1, 1);
      return ImaginaryPart(*operands[0]);
    case kCodeConjugate:
      RequireCount(code, count, 1, 1);
      return Conjugate(*operands[0]);
    case kCodeArg:
      RequireCount(code, count, 1, 1);
      return Argument(*operands[0]);
    case kCodeReal2curr:
      RequireCount(code, count, 1, 1);
      return RealToCurrency(*operands[0]);
    case kCodeCurr2real:
      RequireCount(code, count, 1, 1);
      return CurrencyToReal(*operands[0]);

    default:
      break;
  }
  throw EEvalError(kProgrammingError);
}

}  // namespace evaluator
