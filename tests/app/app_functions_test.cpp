// Tests of the application function table: names, counts and positions, the internal constants,
// provider slots, and the adapters' argument checks and fault reports, called the way the
// evaluator calls them.
#include "app/app_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "evaluator/catalogue.h"
#include "evaluator/complex_eval.h"
#include "evaluator/eval_errors.h"
#include "evaluator/value.h"

namespace app {
namespace {

using evaluator::EEvalError;
using evaluator::EMathError;
using evaluator::TEvalValue;
using TArgs = std::vector<TEvalValue>;

TEvalValue R(double x) {
  return TEvalValue::Real(x);
}
const TEvalValue kTrue = TEvalValue::Boolean(true);
constexpr const char* kPaymentTimeMessage =
    "Incorrect PaymentTime: must be 1 (StartOfPeriod) or 0 (EndOfPeriod)";

class AppFunctionsTest : public ::testing::Test {
 protected:
  TEvalValue Call(std::int32_t position, const TArgs& arguments) const {
    std::vector<const TEvalValue*> cells;
    for (const TEvalValue& argument : arguments) {
      cells.push_back(&argument);
    }
    TEvalValue result = TEvalValue::Null();
    functions_.Table()
        .at(static_cast<std::size_t>(position))
        .function(cells.data(), static_cast<std::int32_t>(cells.size()), result);
    return result;
  }

  double CallReal(std::int32_t position, const TArgs& arguments) const {
    const TEvalValue result = Call(position, arguments);
    EXPECT_TRUE(result.IsReal());
    return result.AsDouble();
  }

  // An EEvalError's message, or an EMathError's kind and text as "kind: text".
  std::string FaultOf(std::int32_t position, const TArgs& arguments) const {
    try {
      Call(position, arguments);
    } catch (const EEvalError& e) {
      return e.what();
    } catch (const EMathError& e) {
      return std::to_string(e.kind()) + ": " + e.what();
    }
    return "";
  }

  TAppFunctions functions_;
};

TEST_F(AppFunctionsTest, TableHoldsTheEntriesInRegistrationOrderAndTheConstants) {
  const std::string expected =
      "_from:0 _to:0 _step:0 _colwidth:0 _dettolerance:0 Conv:4 DoubleDecliningBalance:4 "
      "FutureValue:5 InterestPayment:6 InterestRate:5 NumberOfPeriods:5 Payment:5 "
      "PeriodPayment:6 PresentValue:5 SLNDepreciation:3 SYDDepreciation:4 "
      "InternalRateOfReturn:* NetPresentValue:* Norm:* PopnStdDev:* PopnVariance:* StdDev:* "
      "SumOfSquares:* TotalVariance:* Variance:* Skew:* Kurtosis:* Moment3:* Moment4:* "
      "Lagrange:2 InverseGamma:1 Gamma:1 LnGamma:1 Beta:2 LnBeta:2 IncompleteBeta:3 Hermite:2 "
      "CubicSpline:2 ";
  const evaluator::TUserFuncArray& table = functions_.Table();
  std::string actual;
  for (const evaluator::TUserFuncRec& entry : table) {
    const bool any = entry.parameterCount == evaluator::kAnyParameterCount;
    actual += entry.name + ":" + (any ? "*" : std::to_string(entry.parameterCount)) + " ";
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(table.size(), kAppFunctionCount);
  EXPECT_EQ(table[afGamma].name, "Gamma");
  EXPECT_EQ(afGamma, 31);

  EXPECT_EQ(CallReal(afFrom, {}), -100);
  EXPECT_EQ(CallReal(afTo, {}), 100);
  EXPECT_EQ(CallReal(afStep, {}), 0.1);
  EXPECT_EQ(CallReal(afColWidth, {}), 150);
  EXPECT_EQ(CallReal(afDetTolerance, {}), 1e-16);

  evaluator::TTalvekComplexEval eval(table);
  EXPECT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.GetUserFunctionCount(), static_cast<std::int32_t>(kAppFunctionCount));
}

TEST_F(AppFunctionsTest, ProviderEntriesFailUntilBoundAndReachEarlierCopiesOnceBound) {
  EXPECT_EQ(FaultOf(afConv, {R(1), R(1), R(2), R(3)}),
            "Conv: unit conversion is not available yet");
  EXPECT_EQ(FaultOf(afLagrange, {R(1), R(1)}),
            "Lagrange: interpolation sheets are not available yet");
  EXPECT_EQ(FaultOf(afCubicSpline, {R(1), R(1)}),
            "CubicSpline: interpolation sheets are not available yet");

  const evaluator::TUserFuncArray copy = functions_.Table();
  functions_.SetCubicSpline(
      [](const TEvalValue* const* arguments, std::int32_t count, TEvalValue& result) {
        result = R(arguments[0]->AsDouble() + count);
      });
  const TEvalValue x = R(1.5);
  const TEvalValue* cells[] = {&x, &x};
  TEvalValue result = TEvalValue::Null();
  copy[afCubicSpline].function(cells, 2, result);
  EXPECT_EQ(result.AsDouble(), 3.5);
  functions_.SetCubicSpline({});
  EXPECT_THROW(copy[afCubicSpline].function(cells, 2, result), EEvalError);
}

TEST_F(AppFunctionsTest, FixedFinanceListsNameTheWholeListWhenAnArgumentIsNotReal) {
  const struct {
    TAppFunctionPosition position;
    std::size_t count;
    const char* message;
  } rows[] = {
      {afDoubleDecliningBalance, 4, "Incorrect real type: Cost, Salvage, Life, Period"},
      {afSLNDepreciation, 3, "Incorrect real type: Cost, Salvage, Life"},
      {afFutureValue, 5, "Incorrect real type: Rate, NPeriods, Payment, PresentValue, PaymentTime"},
      {afPresentValue, 5, "Incorrect real type: Rate, NPeriods, Payment, FutureValue, PaymentTime"},
      {afPayment, 5, "Incorrect real type: Rate, NPeriods, PresentValue, FutureValue, PaymentTime"},
      {afNumberOfPeriods, 5,
       "Incorrect real type: Rate, Payment, PresentValue, FutureValue, PaymentTime"},
      {afInterestRate, 5,
       "Incorrect real type: NPeriods, Payment, PresentValue, FutureValue, PaymentTime"},
      {afInterestPayment, 6,
       "Incorrect real type: Rate, Period, NPeriods, PresentValue, FutureValue, PaymentTime"},
  };
  for (const auto& row : rows) {
    for (std::size_t bad = 0; bad < row.count; ++bad) {
      TArgs arguments(row.count, R(1));
      arguments[bad] = bad % 2 == 0 ? kTrue : TEvalValue::Complex(1, 1);
      EXPECT_EQ(FaultOf(row.position, arguments), row.message) << "argument " << bad;
    }
  }
}

TEST_F(AppFunctionsTest, OtherEntriesNameTheFirstBadParameterByPosition) {
  EXPECT_EQ(FaultOf(afVariance, {R(1), R(2), kTrue, kTrue}), "Incorrect real type: parameter 3");
  EXPECT_EQ(FaultOf(afNorm, {TEvalValue::Null()}), "Incorrect real type: parameter 1");
  EXPECT_EQ(FaultOf(afIncompleteBeta, {R(0.5), R(1), kTrue}), "Incorrect real type: parameter 3");
  EXPECT_EQ(FaultOf(afNetPresentValue, {R(0.1), kTrue, R(0)}), "Incorrect real type: parameter 2");
  EXPECT_EQ(FaultOf(afInternalRateOfReturn, {R(-100), R(110), kTrue}),
            "Incorrect real type: parameter 3");
  EXPECT_EQ(FaultOf(afNetPresentValue, {R(0.1), R(0)}), "Parameter count must be >= 3");
  EXPECT_EQ(FaultOf(afInternalRateOfReturn, {R(-100)}), "Parameter count must be >= 2");
}

TEST_F(AppFunctionsTest, IntegerArgumentsAllowOnlyRoundingNoise) {
  // A valid call, the argument that must be whole, and the message naming it.
  const struct {
    TAppFunctionPosition position;
    std::vector<double> arguments;
    std::size_t integral;
    const char* message;
  } rows[] = {
      {afDoubleDecliningBalance, {1000, 100, 5, 2}, 2, "Incorrect integer type: Life or Period"},
      {afSYDDepreciation, {1000, 100, 5, 2}, 3, "Incorrect integer type: Life or Period"},
      {afSLNDepreciation, {1000, 100, 5}, 2, "Incorrect integer type: Life "},
      {afFutureValue, {0.1, 5, -10, 100, 0}, 1, "Incorrect integer type: NPeriods or PaymentTime"},
      {afPresentValue, {0.1, 5, -10, 100, 1}, 4, "Incorrect integer type: NPeriods or PaymentTime"},
      {afPayment, {0.1, 5, 100, 0, 0}, 1, "Incorrect integer type: NPeriods or PaymentTime"},
      {afNumberOfPeriods, {0.1, -30, 100, 0, 0}, 4, "Incorrect integer type: PaymentTime"},
      {afInterestRate, {5, -30, 100, 0, 0}, 0, "Incorrect integer type: NPeriods or PaymentTime"},
      {afInterestPayment,
       {0.1, 2, 5, 100, 0, 0},
       1,
       "Incorrect integer type: Period, NPeriods or PaymentTime"},
      {afPeriodPayment,
       {0.1, 2, 5, 100, 0, 0},
       2,
       "Incorrect integer type: Period, NPeriods or PaymentTime"},
      {afNetPresentValue, {0.1, 110, 1}, 2, "Incorrect integer type: PaymentTime"},
      {afHermite, {1.5, 3}, 1, "Incorrect integer type: Order of Hermite"},
  };
  for (const auto& row : rows) {
    auto offsetBy = [&](double offset) {
      TArgs arguments;
      for (const double x : row.arguments) {
        arguments.push_back(R(x));
      }
      arguments[row.integral] = R(row.arguments[row.integral] + offset);
      return arguments;
    };
    EXPECT_EQ(CallReal(row.position, offsetBy(1e-14)), CallReal(row.position, offsetBy(0)))
        << row.message;
    EXPECT_EQ(FaultOf(row.position, offsetBy(0.5)), row.message);
    EXPECT_EQ(FaultOf(row.position, offsetBy(1e-12)), row.message);
  }
}

TEST_F(AppFunctionsTest, PaymentTimeMustBeEndOrStartOfPeriod) {
  for (const double time : {2.0, -1.0}) {
    EXPECT_EQ(FaultOf(afFutureValue, {R(0.1), R(5), R(-10), R(100), R(time)}), kPaymentTimeMessage);
    EXPECT_EQ(FaultOf(afNetPresentValue, {R(0.1), R(110), R(time)}), kPaymentTimeMessage);
  }
}

TEST_F(AppFunctionsTest, NetPresentValueDiscountsByPaymentTime) {
  EXPECT_NEAR(CallReal(afNetPresentValue, {R(0.1), R(110), R(0)}), 100, 1e-12);
  EXPECT_NEAR(CallReal(afNetPresentValue, {R(0.1), R(110), R(1)}), 110, 1e-12);
  EXPECT_NEAR(CallReal(afNetPresentValue, {R(0.1), R(110), R(121), R(0)}), 200, 1e-12);
  EXPECT_NEAR(CallReal(afInternalRateOfReturn, {R(-100), R(110), R(0)}), 0.1, 1e-14);
}

TEST_F(AppFunctionsTest, StatisticsOfSmallSets) {
  const TArgs set = {R(1), R(2), R(3), R(4)};
  EXPECT_NEAR(CallReal(afVariance, set), 1.6667, 5e-5);
  EXPECT_DOUBLE_EQ(CallReal(afVariance, set), 5.0 / 3);
  EXPECT_DOUBLE_EQ(CallReal(afPopnVariance, set), 1.25);
  EXPECT_DOUBLE_EQ(CallReal(afTotalVariance, set), 5);
  EXPECT_DOUBLE_EQ(CallReal(afStdDev, set), std::sqrt(5.0 / 3));
  EXPECT_DOUBLE_EQ(CallReal(afPopnStdDev, set), std::sqrt(1.25));
  EXPECT_DOUBLE_EQ(CallReal(afSumOfSquares, set), 30);
  EXPECT_DOUBLE_EQ(CallReal(afNorm, {R(3), R(-4)}), 5);
  EXPECT_EQ(CallReal(afSkew, set), 0);

  // Deviations -1, -1, -1, 3 from the mean 1: m2 = 3, m3 = 6, m4 = 21.
  const TArgs skewed = {R(0), R(0), R(0), R(4)};
  EXPECT_DOUBLE_EQ(CallReal(afMoment3, skewed), 6);
  EXPECT_DOUBLE_EQ(CallReal(afMoment4, skewed), 21);
  EXPECT_DOUBLE_EQ(CallReal(afSkew, skewed), 6 / std::pow(3, 1.5));
  EXPECT_DOUBLE_EQ(CallReal(afKurtosis, skewed), 21.0 / 9);

  // Power sums of these values cancel to nothing in doubles.
  EXPECT_DOUBLE_EQ(CallReal(afVariance, {R(1e9 + 1), R(1e9 + 2), R(1e9 + 3)}), 1);
  EXPECT_DOUBLE_EQ(CallReal(afNorm, {R(3e200), R(4e200)}), 5e200);
  EXPECT_EQ(CallReal(afVariance, {R(0.1), R(0.1), R(0.1)}), 0);
}

TEST_F(AppFunctionsTest, RefusalsAndFaultsRaiseTheirArithmeticKind) {
  // Kinds: 1 overflow, 3 invalid argument (a refusal), 4 zero divide, 5 invalid operation.
  const struct {
    TAppFunctionPosition position;
    TArgs arguments;
    const char* fault;
  } rows[] = {
      {afGamma, {R(0)}, "3: Not defined for that value"},
      {afGamma, {R(-2)}, "3: Not defined for that value"},
      {afHermite, {R(1), R(-1)}, "3: Not defined for that value"},
      {afIncompleteBeta, {R(1.5), R(1), R(1)}, "3: Not defined for that value"},
      {afSLNDepreciation, {R(1000), R(100), R(0)}, "3: SLNDepreciation"},
      {afFutureValue, {R(-1.5), R(5), R(-10), R(100), R(0)}, "3: FutureValue"},
      {afNetPresentValue, {R(-1), R(110), R(0)}, "3: NetPresentValue"},
      {afInterestRate, {R(0), R(-30), R(100), R(0), R(0)}, "3: InterestRate"},
      {afGamma, {R(172)}, "1"},
      {afInverseGamma, {R(-200.5)}, "1"},
      {afHermite, {R(10), R(1000)}, "1"},
      {afSumOfSquares, {R(1e200), R(1e200)}, "1"},
      {afVariance, {R(3)}, "5"},        // 0 / 0
      {afSkew, {R(2), R(2)}, "4"},      // 0^-1.5
      {afKurtosis, {R(2), R(2)}, "5"},  // 0 / 0
      {afLnGamma, {R(-0.5)}, "5"},      // ln of a negative Gamma
      {afPayment, {R(0), R(0), R(100), R(0), R(0)}, "4"},
  };
  for (const auto& row : rows) {
    const std::string fault = FaultOf(row.position, row.arguments);
    EXPECT_EQ(fault.substr(0, std::string(row.fault).size()), row.fault)
        << functions_.Table()[row.position].name;
  }
  EXPECT_TRUE(std::isnan(CallReal(afNorm, {R(std::numeric_limits<double>::quiet_NaN())})));
}

TEST_F(AppFunctionsTest, DocumentedEdgeCases) {
  const TEvalValue five = TEvalValue::CurrencyScaled(5 * evaluator::kCurrencyScale);
  EXPECT_EQ(CallReal(afGamma, {five}), 24);
  EXPECT_EQ(CallReal(afInverseGamma, {R(-2)}), 0);
  EXPECT_EQ(CallReal(afHermite, {R(1), R(2)}), 2);
  EXPECT_EQ(CallReal(afSYDDepreciation, {R(100), R(200), R(5), R(1)}), 0);
  const TArgs loan = {R(0.01), R(1), R(12), R(1000), R(-200), R(1)};
  EXPECT_NEAR(CallReal(afInterestPayment, loan) + CallReal(afPeriodPayment, loan),
              CallReal(afPayment, {R(0.01), R(12), R(1000), R(-200), R(1)}), 1e-12);
}

TEST_F(AppFunctionsTest, CallableByNameFromParsedExpressions) {
  evaluator::TTalvekComplexEval eval(functions_.Table());
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  auto value = [&](const std::string& text) {
    eval.VerifySyntaxSemanticsAutoVar(text);
    EXPECT_FALSE(eval.ErrorFlag) << text << ": " << eval.ErrorMessage;
    evaluator::TEvalValue** results = eval.DoVectorOfMathExpressions();
    EXPECT_NE(results, nullptr) << text << ": " << eval.ErrorMessage;
    return results == nullptr ? std::string() : ValueToText(*results[eval.ResultCount - 1]);
  };
  EXPECT_EQ(value("Gamma(5)"), "24");
  EXPECT_EQ(value("x=4, gamma(x+1)"), "24");
  EXPECT_EQ(value("round=Variance(1,2,3,4)*10000, int(round)"), "16666");
  EXPECT_EQ(value("_step+_FROM"), "-99.9");
  EXPECT_EQ(value("NetPresentValue(0.1, 110, 0)"), "100");

  // Failures name the function by its number: 96 + its position.
  eval.VerifySyntaxSemanticsAutoVar("x=0, Gamma(x)");
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.DoVectorOfMathExpressions(), nullptr);
  EXPECT_EQ(eval.ErrorCode, 96 + afGamma);
  EXPECT_EQ(eval.MathErrorKind, evaluator::mekInvalidArgument);
  eval.VerifySyntaxSemanticsAutoVar("Gamma(1,2)");
  EXPECT_EQ(eval.ErrorCode, 96 + afGamma);
  EXPECT_EQ(eval.ErrorMessage, "Invalid number of function arguments for: GAMMA");
  eval.VerifySyntaxSemanticsAutoVar("Hermite(1, 2.5)");
  EXPECT_EQ(eval.ErrorCode, 96 + afHermite);
  EXPECT_EQ(eval.ErrorMessage, "ValFunct-> Hermite FUNCTION ARGUMENTS ESCAPE DEFINITION DOMIAN : "
                               "Incorrect integer type: Order of Hermite");
}

}  // namespace
}  // namespace app
