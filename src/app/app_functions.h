// The application function table handed to every evaluator of the main window: internal
// constants, unit conversion, finance, statistics, special functions and interpolation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "evaluator/complex_eval.h"

namespace app {

// Positions in the table. The evaluator numbers an entry's argument-count error by its
// position, so the order is part of the calculator's behaviour.
enum TAppFunctionPosition : std::int32_t {
  afFrom,
  afTo,
  afStep,
  afColWidth,
  afDetTolerance,
  afConv,
  afDoubleDecliningBalance,
  afFutureValue,
  afInterestPayment,
  afInterestRate,
  afNumberOfPeriods,
  afPayment,
  afPeriodPayment,
  afPresentValue,
  afSLNDepreciation,
  afSYDDepreciation,
  afInternalRateOfReturn,
  afNetPresentValue,
  afNorm,
  afPopnStdDev,
  afPopnVariance,
  afStdDev,
  afSumOfSquares,
  afTotalVariance,
  afVariance,
  afSkew,
  afKurtosis,
  afMoment3,
  afMoment4,
  afLagrange,
  afInverseGamma,
  afGamma,
  afLnGamma,
  afBeta,
  afLnBeta,
  afIncompleteBeta,
  afHermite,
  afCubicSpline,
};
inline constexpr std::size_t kAppFunctionCount = afCubicSpline + 1;

// Owns the table. Each adapter checks its arguments (kinds, whole numbers, PaymentTime,
// counts), runs its numeric routine and stores a real result, or throws: EEvalError with the
// user's message for a bad argument, EMathError for a refused or failed computation.
//
// "Conv", "Lagrange" and "CubicSpline" forward to providers that the conversion and
// interpolation subsystems bind once they exist; until then they fail with a message saying
// so. Every copy of the table shares this object's providers, so binding one later reaches
// the evaluators already made with the table.
class TAppFunctions {
 public:
  TAppFunctions();
  TAppFunctions(const TAppFunctions&) = delete;
  TAppFunctions& operator=(const TAppFunctions&) = delete;

  // The entries in registration order, ready for TTalvekComplexEval's constructor.
  const evaluator::TUserFuncArray& Table() const { return table_; }

  // A provider receives the call's arguments unchecked and fills the result; an empty one
  // unbinds the entry.
  void SetConversion(evaluator::TUserFunction provider);   // "Conv"
  void SetLagrange(evaluator::TUserFunction provider);     // "Lagrange"
  void SetCubicSpline(evaluator::TUserFunction provider);  // "CubicSpline"

 private:
  struct TProviders {
    evaluator::TUserFunction conversion;
    evaluator::TUserFunction lagrange;
    evaluator::TUserFunction cubicSpline;
  };

  std::shared_ptr<TProviders> providers_;
  evaluator::TUserFuncArray table_;
};

}  // namespace app
