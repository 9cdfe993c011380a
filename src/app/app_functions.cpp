// The application function table: argument adapters in front of the finance, statistics and
// special-function routines, the internal constants, and the provider slots.
#include "app/app_functions.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/finance.h"
#include "app/numeric_faults.h"
#include "app/gamma_functions.h"
#include "app/statistics.h"
#include "evaluator/catalogue.h"
#include "evaluator/eval_errors.h"
#include "evaluator/value.h"

namespace app {
namespace {

using evaluator::EEvalError;
using evaluator::kAnyParameterCount;
using evaluator::TEvalValue;
using evaluator::TUserFunction;

using TArguments = const TEvalValue* const*;

constexpr const char* kPaymentTimeMessage =
    "Incorrect PaymentTime: must be 1 (StartOfPeriod) or 0 (EndOfPeriod)";

// Accepted when within 1e-13 of its truncation; the truncation is what the routine gets.
double WholeOrFail(double value, const char* message) {
  const double whole = std::trunc(value);
  if (!(std::fabs(value - whole) <= 1e-13)) throw EEvalError(message);
  return whole;
}

TPaymentTime PaymentTimeOf(double whole) {
  if (whole == 0) return ptEndOfPeriod;
  if (whole == 1) return ptStartOfPeriod;
  throw EEvalError(kPaymentTimeMessage);
}

void Store(TEvalValue& result, double value, std::span<const double> operands) {
  result = TEvalValue::Real(CheckedResult(value, operands));
}

// ---- Arguments checked one by one, named by position ---------------------------------------

double RealAt(TArguments arguments, std::int32_t index) {
  const TEvalValue& argument = *arguments[index];
  if (!argument.IsRealOrCurrency()) {
    throw EEvalError("Incorrect real type: parameter " + std::to_string(index + 1));
  }
  return argument.AsDouble();
}

std::vector<double> RealsByPosition(TArguments arguments, std::int32_t count) {
  std::vector<double> values(static_cast<std::size_t>(count));
  for (std::int32_t k = 0; k < count; ++k) {
    values[static_cast<std::size_t>(k)] = RealAt(arguments, k);
  }
  return values;
}

template <std::size_t N>
std::array<double, N> RealsByPosition(TArguments arguments) {
  std::array<double, N> values{};
  for (std::size_t k = 0; k < N; ++k) {
    values[k] = RealAt(arguments, static_cast<std::int32_t>(k));
  }
  return values;
}

template <std::size_t N, typename Routine>
TUserFunction PositionalAdapter(Routine routine) {
  return [routine](TArguments arguments, std::int32_t, TEvalValue& result) {
    const std::array<double, N> values = RealsByPosition<N>(arguments);
    Store(result, std::apply(routine, values), values);
  };
}

TUserFunction ValuesAdapter(double (*routine)(std::span<const double>)) {
  return [routine](TArguments arguments, std::int32_t count, TEvalValue& result) {
    const std::vector<double> values = RealsByPosition(arguments, count);
    Store(result, routine(values), values);
  };
}

// ---- Fixed finance lists, checked as a whole ----------------------------------------------

struct TListRules {
  const char* realMessage;     // any argument that is not a real
  const char* integerMessage;  // any argument of wholeArguments that is not whole
  unsigned wholeArguments;     // bit k: argument k must be whole
  bool endsWithPaymentTime;
};

template <std::size_t N>
std::array<double, N> ReadList(TArguments arguments, const TListRules& rules) {
  std::array<double, N> values{};
  for (std::size_t k = 0; k < N; ++k) {
    if (!arguments[k]->IsRealOrCurrency()) throw EEvalError(rules.realMessage);
    values[k] = arguments[k]->AsDouble();
  }
  for (std::size_t k = 0; k < N; ++k) {
    if (rules.wholeArguments & (1u << k)) values[k] = WholeOrFail(values[k], rules.integerMessage);
  }
  if (rules.endsWithPaymentTime) PaymentTimeOf(values[N - 1]);
  return values;
}

// The routine receives the checked list; its PaymentTime, if any, is 0 or 1 by then.
template <std::size_t N, typename Routine>
TUserFunction ListAdapter(const TListRules& rules, Routine routine) {
  return [&rules, routine](TArguments arguments, std::int32_t, TEvalValue& result) {
    const std::array<double, N> values = ReadList<N>(arguments, rules);
    Store(result, routine(values), values);
  };
}

TPaymentTime TimeOf(double checked) {
  return checked == 1 ? ptStartOfPeriod : ptEndOfPeriod;
}

constexpr TListRules kDepreciationRules{"Incorrect real type: Cost, Salvage, Life, Period",
                                        "Incorrect integer type: Life or Period", 0b1100, false};
constexpr TListRules kSLNRules{"Incorrect real type: Cost, Salvage, Life",
                               "Incorrect integer type: Life ", 0b100, false};
constexpr TListRules kFutureValueRules{
    "Incorrect real type: Rate, NPeriods, Payment, PresentValue, PaymentTime",
    "Incorrect integer type: NPeriods or PaymentTime", 0b10010, true};
constexpr TListRules kPresentValueRules{
    "Incorrect real type: Rate, NPeriods, Payment, FutureValue, PaymentTime",
    "Incorrect integer type: NPeriods or PaymentTime", 0b10010, true};
constexpr TListRules kPaymentRules{
    "Incorrect real type: Rate, NPeriods, PresentValue, FutureValue, PaymentTime",
    "Incorrect integer type: NPeriods or PaymentTime", 0b10010, true};
constexpr TListRules kNumberOfPeriodsRules{
    "Incorrect real type: Rate, Payment, PresentValue, FutureValue, PaymentTime",
    "Incorrect integer type: PaymentTime", 0b10000, true};
constexpr TListRules kInterestRateRules{
    "Incorrect real type: NPeriods, Payment, PresentValue, FutureValue, PaymentTime",
    "Incorrect integer type: NPeriods or PaymentTime", 0b10001, true};
constexpr TListRules kPaymentPartRules{
    "Incorrect real type: Rate, Period, NPeriods, PresentValue, FutureValue, PaymentTime",
    "Incorrect integer type: Period, NPeriods or PaymentTime", 0b100110, true};

// ---- Entries with their own argument shapes -------------------------------------------------

// (Rate, value 1, ..., value k, PaymentTime)
void NetPresentValueAdapter(TArguments arguments, std::int32_t count, TEvalValue& result) {
  if (count < 3) throw EEvalError("Parameter count must be >= 3");
  const std::vector<double> values = RealsByPosition(arguments, count);
  const TPaymentTime paymentTime =
      PaymentTimeOf(WholeOrFail(values.back(), "Incorrect integer type: PaymentTime"));
  const std::span<const double> flows = std::span(values).subspan(1, values.size() - 2);
  Store(result, NetPresentValue(values.front(), flows, paymentTime), values);
}

// (value 1, ..., value k, Guess)
void InternalRateOfReturnAdapter(TArguments arguments, std::int32_t count, TEvalValue& result) {
  if (count < 2) throw EEvalError("Parameter count must be >= 2");
  const std::vector<double> values = RealsByPosition(arguments, count);
  const std::span<const double> flows = std::span(values).first(values.size() - 1);
  Store(result, InternalRateOfReturn(flows, values.back()), values);
}

// (x, n)
void HermiteAdapter(TArguments arguments, std::int32_t, TEvalValue& result) {
  const std::array<double, 2> values = RealsByPosition<2>(arguments);
  const double order = WholeOrFail(values[1], "Incorrect integer type: Order of Hermite");
  Store(result, Hermite(values[0], order), values);
}

TUserFunction Constant(double value) {
  return
      [value](TArguments, std::int32_t, TEvalValue& result) { result = TEvalValue::Real(value); };
}

// A fixed-count entry called with another count would read past its arguments; the evaluator
// never does that, but a direct caller might.
TUserFunction WithArgumentCount(const std::string& name, std::int32_t expected,
                                TUserFunction function) {
  if (expected == kAnyParameterCount) return function;
  return [name, expected, function = std::move(function)](TArguments arguments, std::int32_t count,
                                                          TEvalValue& result) {
    if (count != expected) {
      throw EEvalError(name + ": expects " + std::to_string(expected) + " arguments");
    }
    function(arguments, count, result);
  };
}

}  // namespace

TAppFunctions::TAppFunctions() : providers_(std::make_shared<TProviders>()) {
  auto add = [this](const char* name, std::int32_t parameterCount, TUserFunction function) {
    table_.push_back(
        {name, WithArgumentCount(name, parameterCount, std::move(function)), parameterCount});
  };
  auto provided = [this](evaluator::TUserFunction TProviders::*slot, const char* missing) {
    return [providers = providers_, slot, missing](TArguments arguments, std::int32_t count,
                                                   TEvalValue& result) {
      const TUserFunction& provider = (*providers).*slot;
      if (!provider) throw EEvalError(missing);
      provider(arguments, count, result);
    };
  };
  constexpr std::int32_t kAny = kAnyParameterCount;
  table_.reserve(kAppFunctionCount);

  // The internal settings' defaults; the current settings are read elsewhere.
  add("_from", 0, Constant(-100));
  add("_to", 0, Constant(100));
  add("_step", 0, Constant(0.1));
  add("_colwidth", 0, Constant(150));
  add("_dettolerance", 0, Constant(1e-16));

  add("Conv", 4, provided(&TProviders::conversion, "Conv: unit conversion is not available yet"));

  add("DoubleDecliningBalance", 4, ListAdapter<4>(kDepreciationRules, [](const auto& v) {
        return DoubleDecliningBalance(v[0], v[1], v[2], v[3]);
      }));
  add("FutureValue", 5, ListAdapter<5>(kFutureValueRules, [](const auto& v) {
        return FutureValue(v[0], v[1], v[2], v[3], TimeOf(v[4]));
      }));
  add("InterestPayment", 6, ListAdapter<6>(kPaymentPartRules, [](const auto& v) {
        return InterestPayment(v[0], v[1], v[2], v[3], v[4], TimeOf(v[5]));
      }));
  add("InterestRate", 5, ListAdapter<5>(kInterestRateRules, [](const auto& v) {
        return InterestRate(v[0], v[1], v[2], v[3], TimeOf(v[4]));
      }));
  add("NumberOfPeriods", 5, ListAdapter<5>(kNumberOfPeriodsRules, [](const auto& v) {
        return NumberOfPeriods(v[0], v[1], v[2], v[3], TimeOf(v[4]));
      }));
  add("Payment", 5, ListAdapter<5>(kPaymentRules, [](const auto& v) {
        return Payment(v[0], v[1], v[2], v[3], TimeOf(v[4]));
      }));
  add("PeriodPayment", 6, ListAdapter<6>(kPaymentPartRules, [](const auto& v) {
        return PeriodPayment(v[0], v[1], v[2], v[3], v[4], TimeOf(v[5]));
      }));
  add("PresentValue", 5, ListAdapter<5>(kPresentValueRules, [](const auto& v) {
        return PresentValue(v[0], v[1], v[2], v[3], TimeOf(v[4]));
      }));
  add("SLNDepreciation", 3,
      ListAdapter<3>(kSLNRules, [](const auto& v) { return SLNDepreciation(v[0], v[1], v[2]); }));
  add("SYDDepreciation", 4, ListAdapter<4>(kDepreciationRules, [](const auto& v) {
        return SYDDepreciation(v[0], v[1], v[2], v[3]);
      }));
  add("InternalRateOfReturn", kAny, InternalRateOfReturnAdapter);
  add("NetPresentValue", kAny, NetPresentValueAdapter);

  add("Norm", kAny, ValuesAdapter(Norm));
  add("PopnStdDev", kAny, ValuesAdapter(PopnStdDev));
  add("PopnVariance", kAny, ValuesAdapter(PopnVariance));
  add("StdDev", kAny, ValuesAdapter(StdDev));
  add("SumOfSquares", kAny, ValuesAdapter(SumOfSquares));
  add("TotalVariance", kAny, ValuesAdapter(TotalVariance));
  add("Variance", kAny, ValuesAdapter(Variance));
  add("Skew", kAny, ValuesAdapter(Skew));
  add("Kurtosis", kAny, ValuesAdapter(Kurtosis));
  add("Moment3", kAny, ValuesAdapter(Moment3));
  add("Moment4", kAny, ValuesAdapter(Moment4));

  add("Lagrange", 2,
      provided(&TProviders::lagrange, "Lagrange: interpolation sheets are not available yet"));

  add("InverseGamma", 1, PositionalAdapter<1>(InverseGamma));
  add("Gamma", 1, PositionalAdapter<1>(Gamma));
  add("LnGamma", 1, PositionalAdapter<1>(LnGamma));
  add("Beta", 2, PositionalAdapter<2>(Beta));
  add("LnBeta", 2, PositionalAdapter<2>(LnBeta));
  add("IncompleteBeta", 3, PositionalAdapter<3>(IncompleteBeta));
  add("Hermite", 2, HermiteAdapter);

  add("CubicSpline", 2,
      provided(&TProviders::cubicSpline,
               "CubicSpline: interpolation sheets are not available yet"));
}

void TAppFunctions::SetConversion(evaluator::TUserFunction provider) {
  providers_->conversion = std::move(provider);
}

void TAppFunctions::SetLagrange(evaluator::TUserFunction provider) {
  providers_->lagrange = std::move(provider);
}

void TAppFunctions::SetCubicSpline(evaluator::TUserFunction provider) {
  providers_->cubicSpline = std::move(provider);
}

}  // namespace app
