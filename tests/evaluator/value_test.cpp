// Tests of the value model: text forms, tolerant equality, currency rounding, kind promotion,
// fault kinds, power, comparisons, boolean operations and conversions.
#include "evaluator/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "evaluator/eval_errors.h"

namespace evaluator {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMaxScaled = std::numeric_limits<std::int64_t>::max();

TEvalValue R(double x) {
  return TEvalValue::Real(x);
}
TEvalValue Cur(double amount) {
  return RealToCurrency(R(amount));
}
TEvalValue Z(double re, double im) {
  return TEvalValue::Complex(re, im);
}
TEvalValue B(bool b) {
  return TEvalValue::Boolean(b);
}

using TBinary = TEvalValue (*)(const TEvalValue&, const TEvalValue&);

// The arithmetic kind raised by f, or mekNone when it returns normally.
TMathErrorKind FaultOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMathError& e) {
    return e.kind();
  }
  return mekNone;
}

// The message of the EEvalError raised by f, or "" when none is raised.
std::string TypeErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EEvalError& e) {
    return e.what();
  }
  return "";
}

TEST(ValueText, RealsUseFifteenDigitsAndSwitchNotationAtTheExponentLimits) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {1e15, "1E15"},
      {1e14, "100000000000000"},
      {999999999999999.9, "1E15"},
      {0.00001, "0.00001"},
      {0.000015, "0.000015"},
      {1e-6, "1E-6"},
      {1.5e-10, "1.5E-10"},
      {-1.5e-10, "-1.5E-10"},
      {1e20, "1E20"},
      {1e300, "1E300"},
      {1.0 / 3, "0.333333333333333"},
      {-2.0 / 3, "-0.666666666666667"},
      {1.23456789012345678e-7, "1.23456789012346E-7"},
      {0.1 + 0.2, "0.3"},
      {123.456, "123.456"},
      {-0.0, "0"},
      {kNaN, "NAN"},
      {kInf, "INF"},
      {-kInf, "-INF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RealToText(c.x), c.text) << c.x;
}

TEST(ValueText, CurrencyDropsTrailingZerosAndCoversTheWholeRange) {
  EXPECT_EQ(CurrencyToText(125000), "12.5");
  EXPECT_EQ(CurrencyToText(30000), "3");
  EXPECT_EQ(CurrencyToText(-1), "-0.0001");
  EXPECT_EQ(CurrencyToText(10), "0.001");
  EXPECT_EQ(CurrencyToText(0), "0");
  EXPECT_EQ(CurrencyToText(kMaxScaled), "922337203685477.5807");
  EXPECT_EQ(CurrencyToText(std::numeric_limits<std::int64_t>::min()), "-922337203685477.5808");
}

TEST(ValueText, OtherKindsUseTheirFixedTexts) {
  EXPECT_EQ(ValueToText(Z(1, -2.5)), "Complex(1, -2.5)");
  EXPECT_EQ(ValueToText(B(true)), "True");
  EXPECT_EQ(ValueToText(B(false)), "False");
  EXPECT_EQ(ValueToText(TEvalValue::Null()), "Null");
  EXPECT_EQ(ValueToText(TEvalValue()), "No conversion");
}

TEST(ValueApproxEqual, ToleranceIsRelativeAndStopsAtPowersOfTwo) {
  const struct {
    double a, b;
    bool equal;
  } cases[] = {
      {1.0, std::nextafter(1.0, 0.0), false},  // straddles 2^0
      {1.0, 0.5, false},                       // same mantissa, different exponent
      {1.0, std::nextafter(1.0, 2.0), true},
      {0.0, 1e-300, false},
      {0.0, -0.0, true},
      {0.1 + 0.2, 0.3, true},
      {1.0, 1.0 + 1e-12, false},
      {1e300, 1e300 * (1 + 1e-14), true},
      {-1.5, 1.5, false},
      {kInf, kInf, true},
      {kNaN, kNaN, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ApproxEqual(c.a, c.b), c.equal) << c.a << " " << c.b;
  EXPECT_TRUE(ComplexApproxEqual({1, 0.1 + 0.2}, {1, 0.3}));
  EXPECT_FALSE(ComplexApproxEqual({1, 2}, {1, 2.001}));
}

TEST(ValueCurrency, DoublesRoundHalfEvenAtTheFourthDecimal) {
  EXPECT_EQ(DoubleToCurrency(0.03125), 312);  // exact ties: 312.5 and 937.5
  EXPECT_EQ(DoubleToCurrency(0.09375), 938);
  EXPECT_EQ(DoubleToCurrency(-0.03125), -312);
  EXPECT_EQ(DoubleToCurrency(922337203685477.5), 9223372036854775000);
  EXPECT_EQ(FaultOf([] { DoubleToCurrency(kNaN); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { DoubleToCurrency(9.3e14); }), mekOverflow);
  EXPECT_EQ(FaultOf([] { DoubleToCurrency(-9.3e14); }), mekOverflow);
}

TEST(ValueCurrency, DecimalLiteralsAreReadExactly) {
  const struct {
    const char* text;
    std::int64_t scaled;
  } good[] = {
      {"12.5", 125000},    {".25", 2500},  {"-3", -30000},
      {"1e5", 1000000000}, {"+7.", 70000}, {"1.2345E2", 1234500},
      {"0.00005", 0},      {"0.00015", 2}, {"0.000050001", 1},
      {"1e-30", 0},        {"0.000", 0},   {"922337203685477.5807", kMaxScaled},
  };
  for (const auto& c : good) {
    std::int64_t scaled = -99;
    EXPECT_TRUE(DecimalTextToCurrency(c.text, scaled)) << c.text;
    EXPECT_EQ(scaled, c.scaled) << c.text;
  }
  for (const char* bad :
       {"", ".", "-", "e5", "1e", "1.2.3", "abc", " 1", "1 ", "922337203685477.5808", "1e15"}) {
    std::int64_t scaled = 0;
    EXPECT_FALSE(DecimalTextToCurrency(bad, scaled)) << bad;
  }
}

TEST(ValueCurrency, MixedArithmeticRoundsToFourDecimals) {
  EXPECT_EQ(ValueToText(Divide(Cur(1), R(3))), "0.3333");
  EXPECT_EQ(ValueToText(Divide(R(1), Cur(3))), "0.333333333333333");
  EXPECT_EQ(ValueToText(Add(Cur(1), R(0.00001))), "1");
  EXPECT_EQ(ValueToText(Multiply(Cur(0.0001), R(0.5))), "0");  // 0.00005 ties to even
  EXPECT_EQ(ValueToText(Multiply(Cur(0.0003), R(0.5))), "0.0002");
  EXPECT_EQ(ValueToText(Multiply(Cur(0.0001), Cur(0.5))), "0");
  EXPECT_EQ(ValueToText(Multiply(Cur(-0.0003), Cur(0.5))), "-0.0002");
  EXPECT_EQ(ValueToText(Divide(Cur(0.0001), Cur(2))), "0");
  EXPECT_EQ(ValueToText(Divide(Cur(0.0003), Cur(-2))), "-0.0002");
  EXPECT_EQ(ValueToText(Multiply(Cur(1.5), Cur(1.5))), "2.25");
  EXPECT_EQ(ValueToText(Divide(Cur(2), Cur(3))), "0.6667");
  const TEvalValue max = TEvalValue::CurrencyScaled(kMaxScaled);
  EXPECT_EQ(FaultOf([&] { Add(max, Cur(0.0001)); }), mekOverflow);
  EXPECT_EQ(FaultOf([&] { Multiply(max, Cur(2)); }), mekOverflow);
  EXPECT_EQ(FaultOf([] { Divide(Cur(1), Cur(0)); }), mekZeroDivide);
  EXPECT_EQ(FaultOf([] { Divide(Cur(0), Cur(0)); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { Divide(R(1), Cur(0)); }), mekZeroDivide);
  EXPECT_EQ(FaultOf([] { Divide(Cur(1), R(0)); }), mekZeroDivide);
}

TEST(ValueArithmetic, ResultKindFollowsThePromotionRules) {
  const TBinary ops[] = {Add, Subtract, Multiply, Divide};
  const struct {
    TEvalValue a, b;
    TValueKind kinds[4];  // + - * /
  } cases[] = {
      {R(6), R(2), {vkReal, vkReal, vkReal, vkReal}},
      {Cur(6), R(2), {vkCurrency, vkCurrency, vkCurrency, vkCurrency}},
      {R(6), Cur(2), {vkCurrency, vkCurrency, vkCurrency, vkReal}},
      {Cur(6), Cur(2), {vkCurrency, vkCurrency, vkCurrency, vkCurrency}},
      {Z(6, 1), R(2), {vkComplex, vkComplex, vkComplex, vkComplex}},
      {Cur(6), Z(2, 0), {vkComplex, vkComplex, vkComplex, vkComplex}},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(ops[i](c.a, c.b).kind, c.kinds[i]) << "op " << i;
  }
  for (const TEvalValue& bad : {B(true), TEvalValue::Null(), TEvalValue()}) {
    for (const TBinary op : ops) {
      EXPECT_EQ(TypeErrorOf([&] { op(R(1), bad); }), "Incorrect real or complex type");
      EXPECT_EQ(TypeErrorOf([&] { op(bad, Z(1, 1)); }), "Incorrect real or complex type");
    }
  }
}

TEST(ValueArithmetic, FloatingPointFaultsAreReportedByKind) {
  const struct {
    TBinary op;
    TEvalValue a, b;
    TMathErrorKind fault;
  } cases[] = {
      {Divide, R(1), R(0), mekZeroDivide},
      {Divide, R(0), R(0), mekInvalidOperation},
      {Multiply, R(1e308), R(10), mekOverflow},
      {Add, R(-1e308), R(-1e308), mekOverflow},
      {Subtract, R(kInf), R(kInf), mekInvalidOperation},
      {Multiply, R(0), R(kInf), mekInvalidOperation},
      {Divide, R(kInf), R(-kInf), mekInvalidOperation},
      {Divide, Z(1, 1), Z(0, 0), mekZeroDivide},
      {Divide, Z(0, 0), R(0), mekInvalidOperation},
      {Multiply, Z(1e308, 1), R(10), mekOverflow},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FaultOf([&] { c.op(c.a, c.b); }), c.fault) << ValueToText(c.a);
  }
}

TEST(ValueArithmetic, QuietCasesPropagateWithoutFault) {
  EXPECT_TRUE(std::isnan(Add(R(kNaN), R(1)).real));
  EXPECT_TRUE(std::isnan(Divide(R(kNaN), R(0)).real));
  EXPECT_EQ(Add(R(kInf), R(1)).real, kInf);
  EXPECT_EQ(Divide(R(-kInf), R(0)).real, -kInf);
  EXPECT_EQ(Multiply(R(1e-308), R(1e-308)).real, 0.0);
  EXPECT_EQ(Divide(R(1), R(kInf)).real, 0.0);
  const TEvalValue q = Divide(Z(1, 2), Z(3, 4));
  EXPECT_DOUBLE_EQ(q.complex.re, 0.44);
  EXPECT_DOUBLE_EQ(q.complex.im, 0.08);
}

TEST(ValuePower, RealPowerRules) {
  const struct {
    double x, y, result;
  } cases[] = {
      {2, 10, 1024},  {2, -2, 0.25},   {0, 0, 1},     {0, 3, 0},   {-2, 3, -8},     {10, -400, 0},
      {1.1, 2, 1.21}, {kInf, 2, kInf}, {kInf, -1, 0}, {4, 0.5, 2}, {kNaN, 0, kNaN},
  };
  for (const auto& c : cases) {
    const double r = RealPower(c.x, c.y);
    if (std::isnan(c.result)) {
      EXPECT_TRUE(std::isnan(r));
    } else {
      EXPECT_DOUBLE_EQ(r, c.result) << c.x << "^" << c.y;
    }
  }
  EXPECT_EQ(FaultOf([] { RealPower(0, -1); }), mekZeroDivide);
  EXPECT_EQ(FaultOf([] { RealPower(0, -0.5); }), mekZeroDivide);
  EXPECT_EQ(FaultOf([] { RealPower(-8, 0.5); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { RealPower(10, 400); }), mekOverflow);
  EXPECT_EQ(FaultOf([] { RealPower(10, 400.5); }), mekOverflow);
  EXPECT_EQ(FaultOf([] { RealPower(1e-300, -2); }), mekOverflow);
}

TEST(ValuePower, KindsOfPowerResults) {
  const TEvalValue four = Power(Cur(2), Cur(2));
  EXPECT_EQ(four.kind, vkReal);
  EXPECT_EQ(four.real, 4);
  const TEvalValue minus_one = Power(Z(0, 1), R(2));
  EXPECT_EQ(minus_one.complex.re, -1);  // exact through repeated multiplication
  EXPECT_EQ(minus_one.complex.im, 0);
  EXPECT_EQ(ValueToText(Power(Z(0, 0), Z(0, 0))), "Complex(1, 0)");
  EXPECT_EQ(ValueToText(Power(Z(0, 0), R(2.5))), "Complex(0, 0)");
  EXPECT_EQ(FaultOf([] { Power(Z(0, 0), R(-1)); }), mekZeroDivide);
  const TEvalValue root = Power(Z(-1, 0), R(0.5));
  EXPECT_NEAR(root.complex.re, 0, 1e-15);
  EXPECT_DOUBLE_EQ(root.complex.im, 1);
  EXPECT_EQ(TypeErrorOf([] { Power(R(2), B(true)); }), "Incorrect real or complex type");
}

TEST(ValuePower, RationalPowerTakesOddRootsOfNegativeBases) {
  EXPECT_DOUBLE_EQ(RationalPower(-8, 1, 3), -2);
  EXPECT_DOUBLE_EQ(RationalPower(-8, 2, 3), 4);
  EXPECT_DOUBLE_EQ(RationalPower(-8, -1, 3), -0.5);
  EXPECT_DOUBLE_EQ(RationalPower(-8, 1, -3), -0.5);
  EXPECT_DOUBLE_EQ(RationalPower(8, 1, 3), 2);
  EXPECT_EQ(RationalPower(-8, 0, 3), 1);
  EXPECT_EQ(FaultOf([] { RationalPower(-8, 1, 2); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { RationalPower(-8, 0.5, 1); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { RationalPower(2, 1, 0); }), mekZeroDivide);
  EXPECT_EQ(FaultOf([] { RationalPower(2, 0, 0); }), mekInvalidOperation);
  EXPECT_EQ(RationalPower(R(-8), Cur(1), R(3)).kind, vkReal);
  const TEvalValue principal = RationalPower(Z(-8, 0), R(1), R(3));  // complex: principal root
  EXPECT_DOUBLE_EQ(principal.complex.re, 1);
  EXPECT_DOUBLE_EQ(principal.complex.im, std::sqrt(3.0));
}

TEST(ValueCompare, RealsUseToleranceForEqualityAndExactOrder) {
  const struct {
    TBinary op;
    double a, b;
    bool result;
  } cases[] = {
      {Equal, 0.1 + 0.2, 0.3, true},
      {Equal, 1, 1 + 1e-12, false},
      {Equal, 1, 1 + 1e-15, true},
      {Less, 1, 1 + 1e-15, true},
      {Less, 1 + 1e-15, 1, false},
      {LessOrEqual, 1 + 1e-15, 1, true},
      {GreaterOrEqual, 1, 1 + 1e-15, true},
      {Greater, 1, 1 + 1e-15, false},
      {Equal, kInf, kInf, true},
      {Equal, kInf, -kInf, false},
      {NotEqual, kInf, 1e308, true},
      {Less, -kInf, 5, true},
      {Greater, kInf, 1e308, true},
      {GreaterOrEqual, kInf, kInf, true},
      {Less, kInf, kInf, false},
  };
  for (const auto& c : cases) {
    const TEvalValue r = c.op(R(c.a), R(c.b));
    ASSERT_TRUE(r.IsBoolean());
    EXPECT_EQ(r.boolean, c.result) << c.a << " " << c.b;
  }
  EXPECT_TRUE(Equal(Cur(1.5), R(1.5)).boolean);
  EXPECT_TRUE(Less(Cur(1.4999), Cur(1.5)).boolean);
}

TEST(ValueCompare, NaNOperandGivesNaNRealFromEveryComparison) {
  for (const TBinary op : {Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual}) {
    const TEvalValue r = op(R(kNaN), R(1));
    EXPECT_TRUE(r.IsReal() && std::isnan(r.real));
    EXPECT_TRUE(std::isnan(op(Cur(1), R(kNaN)).real));
  }
}

TEST(ValueCompare, BooleansAndComplexesFollowTheirOwnRules) {
  EXPECT_TRUE(Equal(B(true), B(true)).boolean);
  EXPECT_TRUE(NotEqual(B(true), B(false)).boolean);
  EXPECT_TRUE(Less(B(false), B(true)).boolean);
  EXPECT_FALSE(Greater(B(false), B(true)).boolean);
  EXPECT_TRUE(LessOrEqual(B(true), B(true)).boolean);
  EXPECT_TRUE(Equal(Z(1, 0.1 + 0.2), Z(1, 0.3)).boolean);
  EXPECT_TRUE(NotEqual(Z(1, 2), Z(2, 1)).boolean);
  const std::function<void()> bad_pairs[] = {
      [] { Equal(R(1), B(true)); },
      [] { NotEqual(Z(1, 0), R(1)); },
      [] { Less(Z(1, 0), Z(2, 0)); },
      [] { GreaterOrEqual(B(true), R(1)); },
      [] { Equal(TEvalValue::Null(), TEvalValue::Null()); },
  };
  for (const auto& f : bad_pairs)
    EXPECT_EQ(TypeErrorOf(f), "Incorrect comparative type");
}

TEST(ValueLogic, OperatorsFoldAndCheckEveryOperand) {
  const TEvalValue t = B(true), f = B(false), one = R(1);
  const std::vector<const TEvalValue*> ttt{&t, &t, &t}, tft{&t, &f, &t}, ff{&f, &f};
  EXPECT_TRUE(LogicalAnd(ttt).boolean);
  EXPECT_FALSE(LogicalAnd(tft).boolean);
  EXPECT_TRUE(LogicalOr(tft).boolean);
  EXPECT_FALSE(LogicalOr(ff).boolean);
  EXPECT_TRUE(LogicalXor(ttt).boolean);
  EXPECT_FALSE(LogicalXor(tft).boolean);
  EXPECT_FALSE(LogicalNot(t).boolean);
  // A number is never a truth value, even after a deciding operand.
  const std::vector<const TEvalValue*> decided_then_number{&f, &one};
  EXPECT_EQ(TypeErrorOf([&] { LogicalAnd(decided_then_number); }), "Incorrect boolean type");
  EXPECT_EQ(TypeErrorOf([&] { LogicalOr(decided_then_number); }), "Incorrect boolean type");
  EXPECT_EQ(TypeErrorOf([&] { LogicalXor(decided_then_number); }), "Incorrect boolean type");
  EXPECT_EQ(TypeErrorOf([&] { LogicalNot(one); }), "Incorrect boolean type");
}

TEST(ValueConversion, ResultsAndKinds) {
  EXPECT_EQ(ValueToText(MakeComplex(Cur(1.5), R(2))), "Complex(1.5, 2)");
  EXPECT_EQ(ValueToText(Conjugate(Z(1, 2))), "Complex(1, -2)");
  EXPECT_DOUBLE_EQ(Argument(Z(0, 1)).real, std::numbers::pi / 2);
  const TEvalValue polar = ComplexFromPolar(R(2), R(std::numbers::pi / 2));
  EXPECT_NEAR(polar.complex.re, 0, 1e-15);
  EXPECT_DOUBLE_EQ(polar.complex.im, 2);
  EXPECT_EQ(Absolute(Z(3, 4)).real, 5);
  EXPECT_EQ(Absolute(Cur(-2.5)).kind, vkReal);
  EXPECT_EQ(Absolute(Cur(-2.5)).real, 2.5);
  EXPECT_EQ(FaultOf([] { RealToCurrency(R(kNaN)); }), mekInvalidOperation);
  EXPECT_EQ(FaultOf([] { RealToCurrency(R(1e15)); }), mekOverflow);
}

TEST(ValueConversion, WrongKindsRaiseTheirExactMessages) {
  const struct {
    std::function<void()> f;
    const char* message;
  } cases[] = {
      {[] { RealToCurrency(Cur(1)); }, "Incorrect real type"},
      {[] { CurrencyToReal(R(1)); }, "Incorrect currency type"},
      {[] { MakeComplex(Z(1, 0), R(1)); }, "Incorrect complex type"},
      {[] { ComplexFromPolar(R(1), B(true)); }, "Incorrect complex type"},
      {[] { RealPart(R(1)); }, "Incorrect complex type"},
      {[] { ImaginaryPart(Cur(1)); }, "Incorrect complex type"},
      {[] { Conjugate(R(1)); }, "Incorrect complex type"},
      {[] { Argument(R(1)); }, "Incorrect complex type"},
      {[] { Absolute(B(false)); }, "Incorrect real or complex type"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TypeErrorOf(c.f), c.message);
}

}  // namespace
}  // namespace evaluator
