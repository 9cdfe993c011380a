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

TEvalValue Apply(std::uint16_t code, std::vector<TEvalValue> values) {
  std::vector<const TEvalValue*> cells;
  for (const TEvalValue& v : values)
    cells.push_back(&v);
  return ApplyFunction(code, cells.data(), static_cast<std::int32_t>(cells.size()));
}

// The fault kind raised, or -1 when the call succeeds or fails otherwise.
int FaultKind(std::uint16_t code, std::vector<TEvalValue> values) {
  try {
    Apply(code, std::move(values));
  } catch (const EMathError& e) {
    return e.kind();
  } catch (const std::exception&) {
  }
  return -1;
}

// The message of a non-arithmetic failure, or "" when there is none.
std::string FailureText(std::uint16_t code, std::vector<TEvalValue> values) {
  try {
    Apply(code, std::move(values));
  } catch (const EMathError&) {
    return "arithmetic";
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

struct RealCase {
  std::uint16_t code;
  double x;
  double expected;
};

TEST(FunctionsReal, OneArgumentFunctionsGiveTheirValuesAsReals) {
  const RealCase cases[] = {
      {kCodeExp, 0, 1},
      {kCodeCos, 0, 1},
      {kCodeSin, kPi / 2, 1},
      {kCodeTan, kPi / 4, 1},
      {kCodeCotan, kPi / 4, 1},
      {kCodeCot, kPi / 4, 1},
      {kCodeSqrt, 16, 4},
      {kCodeAbs, -3, 3},
      {kCodeLn, std::numbers::e, 1},
      {kCodeLog, 1, 0},
      {kCodeLog10, 1000, 3},
      {kCodeLog2, 8, 3},
      {kCodeLnxp1, 0, 0},
      {kCodeCeil, 1.2, 2},
      {kCodeCeiling, -1.2, -1},
      {kCodeFloor, -1.2, -2},
      {kCodeInt, -1.7, -1},
      {kCodeIntegerpart, 1.7, 1},
      {kCodeFrac, -1.75, -0.75},
      {kCodeFractionalpart, 2.5, 0.5},
      {kCodeSqr, 3, 9},
      {kCodeSign, -2, -1},
      {kCodeSign, 0, 0},
      {kCodeSign, 7, 1},
      {kCodeDegtorad, 180, kPi},
      {kCodeRadtodeg, kPi, 180},
      {kCodeArccos, 1, 0},
      {kCodeArcsin, 1, kPi / 2},
      {kCodeArctan, 1, kPi / 4},
      {kCodeArccosh, 1, 0},
      {kCodeArcsinh, 0, 0},
      {kCodeArctanh, 0.5, std::atanh(0.5)},
      {kCodeCosh, 0, 1},
      {kCodeSinh, 0, 0},
      {kCodeTanh, 0, 0},
      {kCodeSec, 0, 1},
      {kCodeSecant, 0, 1},
      {kCodeCsc, kPi / 2, 1},
      {kCodeCosecant, kPi / 2, 1},
      {kCodeSech, 0, 1},
      {kCodeCoth, 1, 1 / std::tanh(1.0)},
      {kCodeCsch, 1, 1 / std::sinh(1.0)},
      {kCodeArccot, 1, kPi / 4},
      {kCodeArccoth, 2, std::atanh(0.5)},
      {kCodeArcsec, 1, 0},
      {kCodeArcsech, 1, 0},
      {kCodeArccsc, 1, kPi / 2},
      {kCodeArccsch, 1, std::asinh(1.0)},
  };
  for (const RealCase& c : cases) {
    const TEvalValue v = Apply(c.code, {R(c.x)});
    ASSERT_TRUE(v.IsReal()) << BuiltinName(c.code);
    EXPECT_NEAR(v.real, c.expected, 1e-14) << BuiltinName(c.code) << "(" << c.x << ")";
  }
}

TEST(FunctionsReal, CurrencyArgumentGivesARealResult) {
  const TEvalValue v = Apply(kCodeSqrt, {Cur(6.25)});
  ASSERT_TRUE(v.IsReal());
  EXPECT_EQ(v.real, 2.5);
  EXPECT_TRUE(Apply(kCodeAbs, {Cur(-2)}).IsReal());
  EXPECT_TRUE(Apply(kCodeFloor, {Cur(2.5)}).IsReal());
}

struct FaultCase {
  std::uint16_t code;
  double x;
  int kind;
};

TEST(FunctionsReal, FaultsCarryTheirKind) {
  const FaultCase cases[] = {
      {kCodeSqrt, -4, mekInvalidOperation},
      {kCodeSqrt, -kInf, mekInvalidOperation},
      {kCodeLn, 0, mekZeroDivide},
      {kCodeLn, -1, mekInvalidOperation},
      {kCodeLog10, 0, mekZeroDivide},
      {kCodeLog2, -2, mekInvalidOperation},
      {kCodeLnxp1, -1, mekZeroDivide},
      {kCodeLnxp1, -2, mekInvalidOperation},
      {kCodeExp, 1000, mekOverflow},
      {kCodeCosh, 1000, mekOverflow},
      {kCodeSinh, -1000, mekOverflow},
      {kCodeSqr, 1e200, mekOverflow},
      {kCodeRadtodeg, 1e307, mekOverflow},
      {kCodeSin, kInf, mekInvalidOperation},
      {kCodeCos, -kInf, mekInvalidOperation},
      {kCodeFrac, kInf, mekInvalidOperation},
      {kCodeArccos, 2, mekInvalidOperation},
      {kCodeArcsin, -1.5, mekInvalidOperation},
      {kCodeArccosh, 0.5, mekInvalidOperation},
      {kCodeArctanh, 1, mekZeroDivide},
      {kCodeArctanh, 2, mekInvalidOperation},
      {kCodeCotan, 0, mekZeroDivide},
      {kCodeCot, 0, mekZeroDivide},
      {kCodeCsc, 0, mekZeroDivide},
      {kCodeCoth, 0, mekZeroDivide},
      {kCodeCsch, 0, mekZeroDivide},
      {kCodeArccot, 0, mekZeroDivide},
      {kCodeArcsec, 0, mekZeroDivide},
      {kCodeArcsec, 0.5, mekInvalidOperation},
      {kCodeArccoth, 1, mekZeroDivide},
      {kCodeArccoth, 0.5, mekInvalidOperation},
      {kCodeArcsech, 2, mekInvalidOperation},
      {kCodeArccsc, 0.5, mekInvalidOperation},
      {kCodeArccsch, 0, mekZeroDivide},
      // The reciprocal is taken of an overflowed hyperbolic function, not of its limit.
      {kCodeSech, 1000, mekOverflow},
  };
  for (const FaultCase& c : cases) {
    EXPECT_EQ(FaultKind(c.code, {R(c.x)}), c.kind) << BuiltinName(c.code) << "(" << c.x << ")";
  }
}

TEST(FunctionsReal, InfiniteArgumentsGiveLimitsWithoutFault) {
  EXPECT_EQ(Apply(kCodeExp, {R(kInf)}).real, kInf);
  EXPECT_EQ(Apply(kCodeExp, {R(-kInf)}).real, 0);
  EXPECT_EQ(Apply(kCodeLn, {R(kInf)}).real, kInf);
  EXPECT_EQ(Apply(kCodeSqrt, {R(kInf)}).real, kInf);
  EXPECT_EQ(Apply(kCodeArctan, {R(kInf)}).real, kPi / 2);
  EXPECT_EQ(Apply(kCodeArccot, {R(kInf)}).real, 0);
  EXPECT_EQ(Apply(kCodeExp, {R(-1000)}).real, 0);  // underflow is masked
}

TEST(FunctionsReal, NotANumberPassesThroughEveryNumberFunction) {
  for (int code = kFirstBuiltinCode; code <= kLastBuiltinCode; ++code) {
    const auto c = static_cast<std::uint16_t>(code);
    if (BuiltinEntry(code - kFirstBuiltinCode).kind != TBuiltinKind::Function) continue;
    if (!BuiltinAcceptsArgumentCount(code - kFirstBuiltinCode, 1)) continue;
    switch (c) {
      case kCodeNot:
      case kCodeRe:
      case kCodeIm:
      case kCodeConjugate:
      case kCodeArg:
      case kCodeReal2curr:
      case kCodeCurr2real:
      case kCodeDirectedinfinity:
        continue;  // these refuse a real argument altogether
      default:
        break;
    }
    TEvalValue v;
    ASSERT_NO_THROW(v = Apply(c, {R(kNaN)})) << BuiltinName(c);
    if (v.IsBoolean()) continue;  // the kind tests, isnan
    ASSERT_TRUE(v.IsReal()) << BuiltinName(c);
    EXPECT_TRUE(std::isnan(v.real)) << BuiltinName(c);
  }
  EXPECT_TRUE(Apply(kCodeIsnan, {R(kNaN)}).boolean);
  EXPECT_FALSE(Apply(kCodeIsnan, {Cur(1)}).boolean);
}

TEST(FunctionsComplex, ComplexArgumentsGiveComplexValues) {
  const TEvalValue e = Apply(kCodeExp, {C(0, kPi)});
  ASSERT_TRUE(e.IsComplex());
  EXPECT_NEAR(e.complex.re, -1, 1e-15);
  EXPECT_NEAR(e.complex.im, 0, 1e-15);

  const TEvalValue root = Apply(kCodeSqrt, {C(-4, 0)});
  EXPECT_NEAR(root.complex.re, 0, 1e-15);
  EXPECT_NEAR(root.complex.im, 2, 1e-15);

  const TEvalValue log2 = Apply(kCodeLog2, {C(8, 0)});
  EXPECT_NEAR(log2.complex.re, 3, 1e-15);

  const TEvalValue cot = Apply(kCodeCot, {C(kPi / 4, 0)});
  EXPECT_NEAR(cot.complex.re, 1, 1e-15);

  const TEvalValue modulus = Apply(kCodeAbs, {C(3, 4)});
  ASSERT_TRUE(modulus.IsReal());
  EXPECT_EQ(modulus.real, 5);

  const TEvalValue sign = Apply(kCodeSign, {C(3, 4)});
  EXPECT_NEAR(sign.complex.re, 0.6, 1e-15);
  EXPECT_NEAR(sign.complex.im, 0.8, 1e-15);
}

TEST(FunctionsComplex, RoundingAndScalingWorkPartByPart) {
  struct Case {
    std::uint16_t code;
    TComplexParts z;
    TComplexParts expected;
  };
  const Case cases[] = {
      {kCodeCeil, {1.2, -1.2}, {2, -1}},          {kCodeFloor, {1.2, -1.2}, {1, -2}},
      {kCodeInt, {1.7, -1.7}, {1, -1}},           {kCodeFrac, {1.75, -1.25}, {0.75, -0.25}},
      {kCodeDegtorad, {180, 90}, {kPi, kPi / 2}}, {kCodeRadtodeg, {kPi, -kPi}, {180, -180}},
  };
  for (const Case& c : cases) {
    const TEvalValue v = Apply(c.code, {C(c.z.re, c.z.im)});
    ASSERT_TRUE(v.IsComplex()) << BuiltinName(c.code);
    EXPECT_DOUBLE_EQ(v.complex.re, c.expected.re) << BuiltinName(c.code);
    EXPECT_DOUBLE_EQ(v.complex.im, c.expected.im) << BuiltinName(c.code);
  }
}

TEST(FunctionsComplex, FaultsOfComplexFunctions) {
  EXPECT_EQ(FaultKind(kCodeLn, {C(0, 0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeArctanh, {C(1, 0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeArctan, {C(0, 1)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeExp, {C(1000, 1)}), mekOverflow);
  EXPECT_EQ(FaultKind(kCodeCsc, {C(0, 0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeSign, {C(0, 0)}), mekInvalidOperation);
  EXPECT_EQ(FaultKind(kCodeSqr, {C(1e200, 0)}), mekOverflow);
  const TEvalValue nan = Apply(kCodeExp, {C(kNaN, 0)});
  EXPECT_TRUE(std::isnan(nan.complex.re));
}

TEST(FunctionsTypes, WrongKindsRaiseTheTypeErrorOfTheirFamily) {
  struct Case {
    std::uint16_t code;
    std::vector<TEvalValue> operands;
    const char* message;
  };
  const Case cases[] = {
      {kCodeSin, {B(true)}, kIncorrectRealOrComplexType},
      {kCodeSqrt, {TEvalValue::Null()}, kIncorrectRealOrComplexType},
      {kCodeArctan, {B(true), R(1)}, kIncorrectRealOrComplexType},
      {kCodeSum, {B(true)}, kIncorrectRealOrComplexType},
      {kCodeMean, {R(1), B(true)}, kIncorrectRealOrComplexType},
      {kCodeMod, {R(1), TEvalValue()}, kIncorrectRealOrComplexType},
      {kCodeLogn, {R(2), B(false)}, kIncorrectRealOrComplexType},
      {kCodePowerFn, {B(true), R(2)}, kIncorrectRealOrComplexType},
      {kCodeMax, {B(true)}, kIncorrectRealType},
      {kCodeMin, {R(1), C(1, 0)}, kIncorrectRealType},
      {kCodeIsnan, {C(1, 0)}, kIncorrectRealType},
      {kCodeRandom, {B(true)}, kIncorrectRealType},
      {kCodeReal2curr, {Cur(1)}, kIncorrectRealType},
      {kCodeLogn, {C(8, 0), C(2, 0)}, kIncorrectRealType},
      {kCodeRe, {R(3)}, kIncorrectComplexType},
      {kCodeComplex, {R(1), B(true)}, kIncorrectComplexType},
      {kCodeCurr2real, {R(1)}, kIncorrectCurrencyType},
      {kCodeEq, {R(1), B(true)}, kIncorrectComparativeType},
      {kCodeLs, {C(1, 0), C(2, 0)}, kIncorrectComparativeType},
      {kCodeAnd, {B(true), R(1)}, kIncorrectBooleanType},
      {kCodeNot, {R(0)}, kIncorrectBooleanType},
      {kCodeIf, {R(1), R(2), R(3)}, kIncorrectBooleanType},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureText(c.code, c.operands), c.message) << BuiltinName(c.code);
  }
}

TEST(FunctionsTypes, CountOutsideTheCatalogueIsRefusedWithTheNameInUpperCase) {
  EXPECT_EQ(FailureText(kCodeSin, {R(1), R(2)}), "Invalid number of function arguments for: SIN");
  EXPECT_EQ(FailureText(kCodeAnd, {B(true)}), "Invalid number of function arguments for: AND");
  EXPECT_EQ(FailureText(kCodePi, {R(1)}), "Invalid number of function arguments for: PI");
}

struct ValueCase {
  const char* label;
  std::uint16_t code;
  std::vector<TEvalValue> operands;
  TEvalValue expected;
};

void ExpectValues(const std::vector<ValueCase>& cases) {
  for (const ValueCase& c : cases) {
    const TEvalValue v = Apply(c.code, c.operands);
    ASSERT_EQ(v.kind, c.expected.kind) << c.label;
    switch (v.kind) {
      case vkReal:
        if (std::isnan(c.expected.real)) {
          EXPECT_TRUE(std::isnan(v.real)) << c.label;
        } else if (std::isinf(c.expected.real)) {
          EXPECT_EQ(v.real, c.expected.real) << c.label;
        } else {
          EXPECT_NEAR(v.real, c.expected.real, 1e-14) << c.label;
        }
        break;
      case vkCurrency:
        EXPECT_EQ(v.currency, c.expected.currency) << c.label;
        break;
      case vkComplex:
        EXPECT_NEAR(v.complex.re, c.expected.complex.re, 1e-14) << c.label;
        EXPECT_NEAR(v.complex.im, c.expected.complex.im, 1e-14) << c.label;
        break;
      case vkBoolean:
        EXPECT_EQ(v.boolean, c.expected.boolean) << c.label;
        break;
      default:
        break;
    }
  }
}

TEST(FunctionsMaxMin, InfinityAndNaNFollowTheirOwnRules) {
  ExpectValues({
      {"max(1,5,2)", kCodeMax, {R(1), R(5), R(2)}, R(5)},
      {"min(4,-1,2)", kCodeMin, {R(4), R(-1), R(2)}, R(-1)},
      {"max(2)", kCodeMax, {R(2)}, R(2)},
      {"max(nan,3)", kCodeMax, {R(kNaN), R(3)}, R(kNaN)},
      {"max(1,infinity,2)", kCodeMax, {R(1), R(kInf), R(2)}, R(kInf)},
      {"max(-infinity,5)", kCodeMax, {R(-kInf), R(5)}, R(5)},
      {"max(infinity,-infinity)", kCodeMax, {R(kInf), R(-kInf)}, R(kInf)},
      {"min(1,-infinity)", kCodeMin, {R(1), R(-kInf)}, R(-kInf)},
      {"min(infinity,2)", kCodeMin, {R(kInf), R(2)}, R(2)},
      // The operand itself is taken, so its kind stays.
      {"max(curr 3, 2)", kCodeMax, {Cur(3), R(2)}, Cur(3)},
      {"max(curr 1, 2)", kCodeMax, {Cur(1), R(2)}, R(2)},
  });
  EXPECT_EQ(FaultKind(kCodeMax, {R(3), R(kNaN)}), mekInvalidOperation);
  EXPECT_EQ(FaultKind(kCodeMin, {R(3), R(1), R(kNaN)}), mekInvalidOperation);
}

TEST(FunctionsArithmetic, SumMeanAndFlooredDivision) {
  ExpectValues({
      {"sum(1,2,3)", kCodeSum, {R(1), R(2), R(3)}, R(6)},
      {"sum(complex(1,1),2)", kCodeSum, {C(1, 1), R(2)}, C(3, 1)},
      {"sum(curr 1.5)", kCodeSum, {Cur(1.5)}, Cur(1.5)},
      {"mean(1,2,3,4)", kCodeMean, {R(1), R(2), R(3), R(4)}, R(2.5)},
      {"mean(curr 1, curr 2)", kCodeMean, {Cur(1), Cur(2)}, Cur(1.5)},
      {"mod(7,3)", kCodeMod, {R(7), R(3)}, R(1)},
      {"mod(-7,3)", kCodeMod, {R(-7), R(3)}, R(2)},
      {"mod(7,-3)", kCodeMod, {R(7), R(-3)}, R(-2)},
      {"mod(curr 7, curr 3)", kCodeMod, {Cur(7), Cur(3)}, Cur(1)},
      {"quotient(-7,2)", kCodeQuotient, {R(-7), R(2)}, R(-4)},
      {"div(7.5,2)", kCodeDiv, {R(7.5), R(2)}, R(3)},
      {"quotient(nan,2)", kCodeQuotient, {R(kNaN), R(2)}, R(kNaN)},
      {"quotient(complex(7,-3),2)", kCodeQuotient, {C(7, -3), R(2)}, C(3, -2)},
      {"mod(complex(7,-3),2)", kCodeMod, {C(7, -3), R(2)}, C(1, 1)},
  });
  EXPECT_EQ(FaultKind(kCodeMod, {R(1), R(0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeQuotient, {R(0), R(0)}), mekInvalidOperation);
}

TEST(FunctionsArithmetic, LogarithmToABaseAndTheTwoArctangents) {
  ExpectValues({
      {"logn(2,8)", kCodeLogn, {R(2), R(8)}, R(3)},
      {"logn(10,curr 100)", kCodeLogn, {R(10), Cur(100)}, R(2)},
      {"logn(complex(8,0),2)", kCodeLogn, {C(8, 0), R(2)}, C(3, 0)},
      {"arctan(1,1)", kCodeArctan, {R(1), R(1)}, R(kPi / 4)},
      {"arctan2(1,1)", kCodeArctan2, {R(1), R(1)}, R(kPi / 4)},
      {"arctan2(1,-1)", kCodeArctan2, {R(1), R(-1)}, R(3 * kPi / 4)},
      {"arctan(-1,1)", kCodeArctan, {R(-1), R(1)}, R(3 * kPi / 4)},
      {"arctan(complex(1,0),1)", kCodeArctan, {C(1, 0), R(1)}, C(kPi / 4, 0)},
      {"arctan2(complex(1,0),1)", kCodeArctan2, {C(1, 0), R(1)}, C(kPi / 4, 0)},
  });
  EXPECT_EQ(FaultKind(kCodeLogn, {R(1), R(5)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeLogn, {R(1), R(1)}), mekInvalidOperation);
  EXPECT_EQ(FaultKind(kCodeLogn, {R(2), R(0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodeLogn, {R(-2), R(4)}), mekInvalidOperation);
}

TEST(FunctionsArithmetic, OperatorsAndRationalPowerShareTheValueModel) {
  ExpectValues({
      {"2*3", kCodeMultiply, {R(2), R(3)}, R(6)},
      {"7-9", kCodeSubtract, {R(7), R(9)}, R(-2)},
      {"2^10", kCodePower, {R(2), R(10)}, R(1024)},
      {"(-8)^(1/3)", kCodePower, {R(-8), R(1), R(3)}, R(-2)},
      {"power(-8,2/3)", kCodePowerFn, {R(-8), R(2), R(3)}, R(4)},
  });
  EXPECT_EQ(FaultKind(kCodeDivide, {R(1), R(0)}), mekZeroDivide);
  EXPECT_EQ(FaultKind(kCodePower, {R(-8), R(1), R(2)}), mekInvalidOperation);
}

TEST(FunctionsSelection, ConstantsAndFoldedControlForms) {
  ExpectValues({
      {"pi", kCodePi, {}, R(kPi)},
      {"e", kCodeE, {}, R(std::exp(1.0))},
      {"degree", kCodeDegree, {}, R(kPi / 180)},
      {"zero", kCodeZero, {}, R(1e-13)},
      {"infinity", kCodeInfinity, {}, R(kInf)},
      {"true", kCodeTrue, {}, B(true)},
      {"directedinfinity(-1)", kCodeDirectedinfinity, {R(-1)}, R(-kInf)},
      {"directedinfinity(1)", kCodeDirectedinfinity, {R(1)}, R(kInf)},
      {"if(true,1,2)", kCodeIf, {B(true), R(1), R(2)}, R(1)},
      {"if(false,1,2)", kCodeIf, {B(false), R(1), R(2)}, R(2)},
      {"bk(1,2,3)", kCodeBk, {R(1), R(2), R(3)}, R(3)},
      {"iscurrency(curr 1)", kCodeIscurrency, {Cur(1)}, B(true)},
      {"isreal(curr 1)", kCodeIsreal, {Cur(1)}, B(false)},
      {"isnull(null)", kCodeIsnull, {TEvalValue::Null()}, B(true)},
  });
  EXPECT_TRUE(Apply(kCodeIf, {B(false), R(1)}).IsNull());
  EXPECT_TRUE(Apply(kCodeNull, {}).IsNull());
  // The processor's default NaN: sign bit set.
  const TEvalValue nan = Apply(kCodeNan, {});
  EXPECT_TRUE(std::isnan(nan.real));
  EXPECT_TRUE(std::signbit(nan.real));
  EXPECT_EQ(FailureText(kCodeWhile, {B(true), R(1)}), kWhileLoopUseless);
}

TEST(FunctionsRandom, RangesAndFailures) {
  RandomSource().Seed(12345);
  std::set<double> faces;
  for (int k = 0; k < 600; ++k) {
    const double unit = Apply(kCodeRandom, {R(0.5)}).real;
    EXPECT_GE(unit, 0);
    EXPECT_LT(unit, 1);
    const double face = Apply(kCodeRandom, {R(6.9)}).real;
    EXPECT_EQ(face, std::trunc(face));
    faces.insert(face);
  }
  EXPECT_EQ(faces, (std::set<double>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(std::isnan(Apply(kCodeRandom, {R(kNaN)}).real));
  EXPECT_EQ(FailureText(kCodeRandom, {R(-1)}), kRandomRangeNegative);
  EXPECT_EQ(FailureText(kCodeRandom, {R(kInf)}), kRandomRangeTooLarge);
}

TEST(FunctionsRandom, SeedingRepeatsTheSequence) {
  RandomSource().Seed(7);
  const double first = Apply(kCodeRandom, {R(1000)}).real;
  const double second = Apply(kCodeRandom, {R(0.1)}).real;
  RandomSource().Seed(7);
  EXPECT_EQ(Apply(kCodeRandom, {R(1000)}).real, first);
  EXPECT_EQ(Apply(kCodeRandom, {R(0.1)}).real, second);
}

}  // namespace
}  // namespace evaluator
