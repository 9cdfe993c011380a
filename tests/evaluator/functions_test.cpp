// The operation table of the built-ins, called directly: values, fault kinds, type errors, NaN
// handling, complex and per-part variants, max/min, sums, floored division, random.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "evaluator/catalogue.h"
#include "evaluator/eval_errors.h"
#include "evaluator/functions.h"
#include "evaluator/random_source.h"

namespace evaluator {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEvalValue R(double x) {
  return TEvalValue::Real(x);
}
TEvalValue C(double re, double im) {
  return TEvalValue::Complex(re, im);
}
TEvalValue Cur(double amount) {
  return TEvalValue::CurrencyScaled(static_cast<std::int64_t>(std::llround(amount * 10000)));
}
TEvalValue B(bool b) {
  return TEvalValue::Boolean(b);
}

TEvalValue Apply(std::uint16_t code, const std::vector<TEvalValue>& values) {
  std::vector<const TEvalValue*> cells;
  for (const TEvalValue& v : values)
    cells.push_back(&v);
  return ApplyFunction(code, cells.data(), static_cast<std::int32_t>(cells.size()));
}

// "kind N" for an arithmetic fault, the message of any other failure, "" for none.
std::string Failure(std::uint16_t code, const std::vector<TEvalValue>& values) {
  try {
    Apply(code, values);
  } catch (const EMathError& e) {
    return "kind " + std::to_string(e.kind());
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}
std::string Kind(int kind) {
  return "kind " + std::to_string(kind);
}

struct Case {
  std::uint16_t code;
  std::vector<TEvalValue> operands;
  TEvalValue expected;
};

void ExpectValues(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const std::string label =
        std::string(BuiltinName(c.code)) + " #" + std::to_string(&c - cases.data());
    const TEvalValue v = Apply(c.code, c.operands);
    ASSERT_EQ(v.kind, c.expected.kind) << label;
    if (v.IsReal() && !std::isfinite(c.expected.real)) {
      EXPECT_EQ(std::isnan(v.real), std::isnan(c.expected.real)) << label;
      if (!std::isnan(v.real)) {
        EXPECT_EQ(v.real, c.expected.real) << label;
      }
    } else if (v.IsReal()) {
      EXPECT_NEAR(v.real, c.expected.real, 1e-14) << label;
    } else if (v.IsComplex()) {
      EXPECT_NEAR(v.complex.re, c.expected.complex.re, 1e-14) << label;
      EXPECT_NEAR(v.complex.im, c.expected.complex.im, 1e-14) << label;
    } else if (v.IsCurrency()) {
      EXPECT_EQ(v.currency, c.expected.currency) << label;
    } else if (v.IsBoolean()) {
      EXPECT_EQ(v.boolean, c.expected.boolean) << label;
    }
  }
}

TEST(Functions, OneArgumentFunctionsOfRealsAndCurrencies) {
  // clang-format off
  ExpectValues({
      {kCodeExp, {R(0)}, R(1)}, {kCodeSin, {R(kPi / 2)}, R(1)}, {kCodeCotan, {R(kPi / 4)}, R(1)},
      {kCodeSqrt, {Cur(6.25)}, R(2.5)}, {kCodeLn, {R(std::numbers::e)}, R(1)},
      {kCodeLog10, {R(1000)}, R(3)}, {kCodeLog2, {R(8)}, R(3)}, {kCodeLnxp1, {R(0)}, R(0)},
      {kCodeCeil, {R(1.2)}, R(2)}, {kCodeFloor, {R(-1.2)}, R(-2)}, {kCodeInt, {R(-1.7)}, R(-1)},
      {kCodeFrac, {R(-1.75)}, R(-0.75)}, {kCodeSqr, {R(3)}, R(9)}, {kCodeSign, {R(-2)}, R(-1)},
      {kCodeDegtorad, {R(180)}, R(kPi)}, {kCodeRadtodeg, {R(kPi)}, R(180)},
      {kCodeSec, {R(0)}, R(1)}, {kCodeCsc, {R(kPi / 2)}, R(1)}, {kCodeArccot, {R(1)}, R(kPi / 4)},
      {kCodeArccoth, {R(2)}, R(std::atanh(0.5))}, {kCodeArcsec, {R(1)}, R(0)},
      {kCodeArccsch, {R(1)}, R(std::asinh(1.0))}, {kCodeAbs, {Cur(-2)}, R(2)},
      {kCodeExp, {R(-kInf)}, R(0)}, {kCodeLn, {R(kInf)}, R(kInf)}, {kCodeExp, {R(-1000)}, R(0)},
  });
  // clang-format on
}

TEST(Functions, FaultsCarryTheKindOfTheirCause) {
  const struct {
    std::uint16_t code;
    double x;
    int kind;
  } cases[] = {
      {kCodeSqrt, -4, mekInvalidOperation},   {kCodeLn, 0, mekZeroDivide},
      {kCodeLn, -1, mekInvalidOperation},     {kCodeLnxp1, -1, mekZeroDivide},
      {kCodeExp, 1000, mekOverflow},          {kCodeCosh, -1000, mekOverflow},
      {kCodeSqr, 1e200, mekOverflow},         {kCodeSin, kInf, mekInvalidOperation},
      {kCodeFrac, kInf, mekInvalidOperation}, {kCodeArccos, 2, mekInvalidOperation},
      {kCodeArctanh, 1, mekZeroDivide},       {kCodeArccosh, 0.5, mekInvalidOperation},
      {kCodeCotan, 0, mekZeroDivide},         {kCodeCsch, 0, mekZeroDivide},
      {kCodeArccot, 0, mekZeroDivide},        {kCodeArcsec, 0.5, mekInvalidOperation},
      {kCodeArccoth, 1, mekZeroDivide},       {kCodeSech, 1000, mekOverflow},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Failure(c.code, {R(c.x)}), Kind(c.kind)) << BuiltinName(c.code) << "(" << c.x << ")";
}

TEST(Functions, NotANumberPassesThroughEveryNumberFunctionWithoutFault) {
  for (int code = kCodeExp; code <= kLastBuiltinCode; ++code) {
    const auto c = static_cast<std::uint16_t>(code);
    const int index = code - kFirstBuiltinCode;
    if (BuiltinEntry(index).kind != TBuiltinKind::Function ||
        !BuiltinAcceptsArgumentCount(index, 1)) {
      continue;
    }
    if (c == kCodeNot || (c >= kCodeRe && c <= kCodeArg) || c == kCodeReal2curr ||
        c == kCodeCurr2real || c == kCodeDirectedinfinity) {
      continue;  // these refuse a real argument altogether
    }
    const TEvalValue v = Apply(c, {R(kNaN)});
    EXPECT_TRUE(v.IsBoolean() || std::isnan(v.real)) << BuiltinName(c);
  }
  EXPECT_TRUE(Apply(kCodeIsnan, {R(kNaN)}).boolean);
  EXPECT_FALSE(Apply(kCodeIsnan, {Cur(1)}).boolean);
}

TEST(Functions, ComplexArgumentsGiveComplexValuesAndPerPartRounding) {
  // clang-format off
  ExpectValues({
      {kCodeExp, {C(0, kPi)}, C(-1, 0)}, {kCodeSqrt, {C(-4, 0)}, C(0, 2)},
      {kCodeLog2, {C(8, 0)}, C(3, 0)}, {kCodeAbs, {C(3, 4)}, R(5)},
      {kCodeSign, {C(3, 4)}, C(0.6, 0.8)}, {kCodeCeil, {C(1.2, -1.2)}, C(2, -1)},
      {kCodeFrac, {C(1.75, -1.25)}, C(0.75, -0.25)}, {kCodeRadtodeg, {C(kPi, -kPi)}, C(180, -180)},
  });
  // clang-format on
  EXPECT_EQ(Failure(kCodeLn, {C(0, 0)}), Kind(mekZeroDivide));
  EXPECT_EQ(Failure(kCodeArctan, {C(0, 1)}), Kind(mekZeroDivide));
  EXPECT_EQ(Failure(kCodeExp, {C(1000, 1)}), Kind(mekOverflow));
  EXPECT_EQ(Failure(kCodeSign, {C(0, 0)}), Kind(mekInvalidOperation));
}

TEST(Functions, WrongKindsAndCountsAreRefusedWithTheirTexts) {
  const struct {
    std::uint16_t code;
    std::vector<TEvalValue> operands;
    std::string message;
  } cases[] = {
      {kCodeSin, {B(true)}, kIncorrectRealOrComplexType},
      {kCodeMean, {R(1), B(true)}, kIncorrectRealOrComplexType},
      {kCodeMod, {R(1), TEvalValue()}, kIncorrectRealOrComplexType},
      {kCodeMax, {B(true)}, kIncorrectRealType},
      {kCodeMin, {R(1), C(1, 0)}, kIncorrectRealType},
      {kCodeRandom, {B(true)}, kIncorrectRealType},
      {kCodeLogn, {C(8, 0), C(2, 0)}, kIncorrectRealType},
      {kCodeRe, {R(3)}, kIncorrectComplexType},
      {kCodeCurr2real, {R(1)}, kIncorrectCurrencyType},
      {kCodeEq, {R(1), B(true)}, kIncorrectComparativeType},
      {kCodeAnd, {B(true), R(1)}, kIncorrectBooleanType},
      {kCodeIf, {R(1), R(2), R(3)}, kIncorrectBooleanType},
      {kCodeSin, {R(1), R(2)}, "Invalid number of function arguments for: SIN"},
      {kCodePi, {R(1)}, "Invalid number of function arguments for: PI"},
      {kCodeWhile, {B(true), R(1)}, kWhileLoopUseless},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Failure(c.code, c.operands), c.message) << BuiltinName(c.code);
}

TEST(Functions, MaxAndMinDecideInfinitiesWithoutComparingAndRefuseANaNOperand) {
  // clang-format off
  ExpectValues({
      {kCodeMax, {R(1), R(5), R(2)}, R(5)}, {kCodeMin, {R(4), R(-1), R(2)}, R(-1)},
      {kCodeMax, {R(kNaN), R(3)}, R(kNaN)}, {kCodeMax, {R(1), R(kInf), R(2)}, R(kInf)},
      {kCodeMax, {R(-kInf), R(5)}, R(5)}, {kCodeMin, {R(1), R(-kInf)}, R(-kInf)},
      {kCodeMin, {R(kInf), R(2)}, R(2)},
      {kCodeMax, {Cur(3), R(2)}, Cur(3)},  // the operand itself is taken
  });
  // clang-format on
  EXPECT_EQ(Failure(kCodeMax, {R(3), R(kNaN)}), Kind(mekInvalidOperation));
  EXPECT_EQ(Failure(kCodeMin, {R(3), R(1), R(kNaN)}), Kind(mekInvalidOperation));
}

TEST(Functions, SumsFlooredDivisionLogarithmsAndArctangents) {
  // clang-format off
  ExpectValues({
      {kCodeSum, {R(1), R(2), R(3)}, R(6)}, {kCodeSum, {C(1, 1), R(2)}, C(3, 1)},
      {kCodeMean, {R(1), R(2), R(3), R(4)}, R(2.5)}, {kCodeMean, {Cur(1), Cur(2)}, Cur(1.5)},
      {kCodeMod, {R(7), R(3)}, R(1)}, {kCodeMod, {R(-7), R(3)}, R(2)},
      {kCodeMod, {R(7), R(-3)}, R(-2)}, {kCodeMod, {Cur(7), Cur(3)}, Cur(1)},
      {kCodeQuotient, {R(-7), R(2)}, R(-4)}, {kCodeDiv, {R(7.5), R(2)}, R(3)},
      {kCodeQuotient, {C(7, -3), R(2)}, C(3, -2)}, {kCodeMod, {C(7, -3), R(2)}, C(1, 1)},
      {kCodeLogn, {R(2), R(8)}, R(3)}, {kCodeLogn, {C(8, 0), R(2)}, C(3, 0)},
      {kCodeArctan, {R(1), R(1)}, R(kPi / 4)}, {kCodeArctan2, {R(1), R(1)}, R(kPi / 4)},
      {kCodeArctan2, {R(1), R(-1)}, R(3 * kPi / 4)}, {kCodeArctan, {R(-1), R(1)}, R(3 * kPi / 4)},
      {kCodeArctan, {C(1, 0), R(1)}, C(kPi / 4, 0)}, {kCodePower, {R(-8), R(1), R(3)}, R(-2)},
      {kCodePowerFn, {R(-8), R(2), R(3)}, R(4)},
  });
  // clang-format on
  EXPECT_EQ(Failure(kCodeMod, {R(1), R(0)}), Kind(mekZeroDivide));
  EXPECT_EQ(Failure(kCodeLogn, {R(1), R(5)}), Kind(mekZeroDivide));
  EXPECT_EQ(Failure(kCodeLogn, {R(-2), R(4)}), Kind(mekInvalidOperation));
  EXPECT_EQ(Failure(kCodePower, {R(-8), R(1), R(2)}), Kind(mekInvalidOperation));
}

TEST(Functions, ConstantsAndFoldedControlForms) {
  // clang-format off
  ExpectValues({
      {kCodePi, {}, R(kPi)}, {kCodeE, {}, R(std::exp(1.0))}, {kCodeDegree, {}, R(kPi / 180)},
      {kCodeZero, {}, R(1e-13)}, {kCodeDirectedinfinity, {R(-1)}, R(-kInf)},
      {kCodeIf, {B(false), R(1), R(2)}, R(2)}, {kCodeBk, {R(1), R(2), R(3)}, R(3)},
      {kCodeIsreal, {Cur(1)}, B(false)},
  });
  // clang-format on
  EXPECT_TRUE(Apply(kCodeIf, {B(false), R(1)}).IsNull());
  const double nan = Apply(kCodeNan, {}).real;  // the processor's default NaN, sign set
  EXPECT_TRUE(std::isnan(nan) && std::signbit(nan));
}

TEST(Functions, RandomDrawsFromItsRangeAndRepeatsAfterSeeding) {
  RandomSource().Seed(12345);
  std::set<double> faces;
  for (int k = 0; k < 600; ++k) {
    const double unit = Apply(kCodeRandom, {R(0.5)}).real;
    EXPECT_TRUE(unit >= 0 && unit < 1);
    faces.insert(Apply(kCodeRandom, {R(6.9)}).real);
  }
  EXPECT_EQ(faces, (std::set<double>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(std::isnan(Apply(kCodeRandom, {R(kNaN)}).real));
  EXPECT_EQ(Failure(kCodeRandom, {R(-1)}), kRandomRangeNegative);
  EXPECT_EQ(Failure(kCodeRandom, {R(kInf)}), kRandomRangeTooLarge);

  RandomSource().Seed(7);
  const double first = Apply(kCodeRandom, {R(1000)}).real;
  RandomSource().Seed(7);
  EXPECT_EQ(Apply(kCodeRandom, {R(1000)}).real, first);
}

}  // namespace
}  // namespace evaluator
