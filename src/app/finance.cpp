// Finance routines: annuity identities solved for each of their quantities, and the cash flow
// and depreciation schedules.
#include "app/finance.h"

#include <algorithm>
#include <cmath>

#include "app/numeric_faults.h"

namespace app {
namespace {

// Beyond this growth factor an annuity is taken as never ending.
constexpr double kPerpetualGrowth = 1e16;
constexpr int kNewtonSteps = 15;

// Newton stops once a step is negligible next to the current ln(1 + rate); the floor lets it
// settle on a rate of zero.
bool NegligibleStep(double step, double logGrowth) {
  return std::fabs(step) <= 1e-13 * std::max(std::fabs(logGrowth), 1e-3);
}

void RequireRate(double rate, const char* routine) {
  if (!(rate > -1)) Refuse(routine);
}

// C = (1 + r)^n and the annuity factor A = (C - 1) / r (n at r = 0), times (1 + r) when
// payments fall at the start. expm1/log1p keep A exact to rounding near r = 0, where the
// quotient form cancels.
struct TAnnuity {
  double growth;  // C
  double factor;  // A
};

TAnnuity AnnuityOf(double rate, double nPeriods, TPaymentTime paymentTime) {
  if (rate == 0) return {1, nPeriods};
  const double logGrowth = nPeriods * std::log1p(rate);
  double factor = std::expm1(logGrowth) / rate;
  if (paymentTime == ptStartOfPeriod) factor *= 1 + rate;
  return {std::exp(logGrowth), factor};
}

struct TPaymentParts {
  double interest;
  double principal;
};

// One period's payment split by the balance the loan carries into that period. A payment due
// at the very start of the loan meets a balance that has not earned interest yet, so all of
// it is principal.
TPaymentParts SplitPayment(double rate, double period, double nPeriods, double presentValue,
                           double futureValue, TPaymentTime paymentTime, const char* routine) {
  RequireRate(rate, routine);
  if (!(period >= 1 && period <= nPeriods)) Refuse(routine);
  const TAnnuity annuity = AnnuityOf(rate, nPeriods, paymentTime);
  if (paymentTime == ptStartOfPeriod && period == 1) {
    return {0, (-presentValue * annuity.growth - futureValue) / annuity.factor};
  }
  const double logFactor = std::log1p(rate);
  const double growthBefore = std::exp((period - 1) * logFactor);            // C1
  const double grownBefore = std::expm1((period - 1) * logFactor);           // C1 - 1
  const double grownAfter = std::expm1(nPeriods * logFactor) - grownBefore;  // C - C1
  return {(futureValue * grownBefore - presentValue * grownAfter) / annuity.factor,
          -(presentValue + futureValue) * growthBefore / annuity.factor};
}

// The annuity identity discounted to its start, PV + Payment*A/C + FV/C, as a function of
// y = ln(1 + rate), with its derivative in y. Undiscounted, a long loan's balance first falls
// as the rate leaves zero and Newton heads the wrong way; discounted, it rises steadily.
struct TBalance {
  double value;
  double slope;
};

TBalance DiscountedBalance(double logGrowth, double nPeriods, double payment, double presentValue,
                           double futureValue, TPaymentTime paymentTime) {
  const double y = logGrowth;
  const double n = nPeriods;
  const double rate = std::expm1(y);
  const double discount = std::exp(-n * y);  // 1 / C
  double annuity = n;                        // (1 - 1/C) / r
  double annuitySlope = -n * (n + 1) / 2;    // its limit at y = 0
  if (y != 0) {
    const double paidDown = -std::expm1(-n * y);
    annuity = paidDown / rate;
    // Near zero the exact derivative cancels; its limit is close enough for Newton.
    if (std::fabs(y) >= 1e-5) {
      annuitySlope = (n * discount * rate - paidDown * (1 + rate)) / (rate * rate);
    }
  }
  const double timing = paymentTime == ptStartOfPeriod ? 1 + rate : 1;
  const double timingSlope = paymentTime == ptStartOfPeriod ? 1 + rate : 0;
  return {presentValue + payment * timing * annuity + futureValue * discount,
          payment * (timingSlope * annuity + timing * annuitySlope) - futureValue * n * discount};
}

}  // namespace

double FutureValue(double rate, double nPeriods, double payment, double presentValue,
                   TPaymentTime paymentTime) {
  RequireRate(rate, "FutureValue");
  const TAnnuity annuity = AnnuityOf(rate, nPeriods, paymentTime);
  if (annuity.growth > kPerpetualGrowth) Refuse("FutureValue");
  return -payment * annuity.factor - presentValue * annuity.growth;
}

double PresentValue(double rate, double nPeriods, double payment, double futureValue,
                    TPaymentTime paymentTime) {
  RequireRate(rate, "PresentValue");
  const TAnnuity annuity = AnnuityOf(rate, nPeriods, paymentTime);
  if (annuity.growth <= kPerpetualGrowth) {
    return Quotient(-payment * annuity.factor - futureValue, annuity.growth);
  }
  // A / C tends to (1 + r t) / r and FV / C to zero.
  const double timing = paymentTime == ptStartOfPeriod ? 1 + rate : 1;
  return -payment * timing / rate;
}

double Payment(double rate, double nPeriods, double presentValue, double futureValue,
               TPaymentTime paymentTime) {
  RequireRate(rate, "Payment");
  const TAnnuity annuity = AnnuityOf(rate, nPeriods, paymentTime);
  if (annuity.growth <= kPerpetualGrowth) {
    return Quotient(-presentValue * annuity.growth - futureValue, annuity.factor);
  }
  const double timing = paymentTime == ptStartOfPeriod ? 1 + rate : 1;
  return rate * -presentValue / timing;
}

double NumberOfPeriods(double rate, double payment, double presentValue, double futureValue,
                       TPaymentTime paymentTime) {
  RequireRate(rate, "NumberOfPeriods");
  const double timedPayment = paymentTime == ptStartOfPeriod ? payment * (1 + rate) : payment;
  const double d = timedPayment + presentValue * rate;
  if (d == 0) Refuse("NumberOfPeriods");
  if (rate == 0) return -(presentValue + futureValue) / d;
  // C = 1 + q solves FV + PV*C + Payment*A = 0.
  const double q = rate * -(presentValue + futureValue) / d;
  if (!(q > -1)) Refuse("NumberOfPeriods");
  return std::log1p(q) / std::log1p(rate);
}

double InterestRate(double nPeriods, double payment, double presentValue, double futureValue,
                    TPaymentTime paymentTime) {
  if (!(nPeriods >= 1)) Refuse("InterestRate");
  double y = 0;  // ln(1 + rate)
  for (int step = 0; step < kNewtonSteps; ++step) {
    const TBalance balance =
        DiscountedBalance(y, nPeriods, payment, presentValue, futureValue, paymentTime);
    const double delta = balance.value / balance.slope;
    if (!std::isfinite(delta)) break;
    y -= delta;
    if (NegligibleStep(delta, y)) {
      const double rate = std::expm1(y);
      if (!std::isfinite(rate)) break;
      return rate;
    }
  }
  Refuse("InterestRate");
}

double InterestPayment(double rate, double period, double nPeriods, double presentValue,
                       double futureValue, TPaymentTime paymentTime) {
  return SplitPayment(rate, period, nPeriods, presentValue, futureValue, paymentTime,
                      "InterestPayment")
      .interest;
}

double PeriodPayment(double rate, double period, double nPeriods, double presentValue,
                     double futureValue, TPaymentTime paymentTime) {
  return SplitPayment(rate, period, nPeriods, presentValue, futureValue, paymentTime,
                      "PeriodPayment")
      .principal;
}

double NetPresentValue(double rate, std::span<const double> values, TPaymentTime paymentTime) {
  RequireRate(rate, "NetPresentValue");
  const double discount = 1 / (1 + rate);
  double sum = 0;
  for (auto value = values.rbegin(); value != values.rend(); ++value) {
    sum = sum * discount + *value;
  }
  return paymentTime == ptStartOfPeriod ? sum : discount * sum;
}

double InternalRateOfReturn(std::span<const double> values, double guess) {
  if (!(guess > -1)) Refuse("InternalRateOfReturn");
  double y = std::log1p(guess);  // ln(1 + rate)

  // No rate balances flows that are all gains or all losses.
  double gains = 0;
  double losses = 0;
  double factor = 1;
  const double discount = std::exp(-y);
  for (const double value : values) {
    (value > 0 ? gains : losses) += value * factor;
    factor *= discount;
  }
  if (!(losses < 0) || !(gains > 0)) return -1;

  for (int step = 0; step < kNewtonSteps; ++step) {
    // The flows as a polynomial p in a = 1 / (1 + rate); d/dy p(a) = -a p'(a).
    const double a = std::exp(-y);
    double p = 0;
    double dp = 0;
    for (auto value = values.rbegin(); value != values.rend(); ++value) {
      dp = dp * a + p;
      p = p * a + *value;
    }
    const double delta = p / (-a * dp);
    if (!std::isfinite(delta)) break;
    y -= delta;
    if (NegligibleStep(delta, y)) {
      const double rate = std::expm1(y);
      if (!std::isfinite(rate)) break;
      return rate;
    }
  }
  Refuse("InternalRateOfReturn");
}

double SLNDepreciation(double cost, double salvage, double life) {
  if (!(life > 0)) Refuse("SLNDepreciation");
  return (cost - salvage) / life;
}

double SYDDepreciation(double cost, double salvage, double life, double period) {
  if (period <= 0 || period > life || salvage >= cost) return 0;
  return (cost - salvage) * 2 * (life - period + 1) / (life * (life + 1));
}

double DoubleDecliningBalance(double cost, double salvage, double life, double period) {
  if (period <= 0 || period > life || life <= 0 || salvage >= cost) return 0;
  if (life <= 2) return period == 1 ? cost - salvage : 0;
  const double bookShare = std::pow(1 - 2 / life, period - 1);
  const double depreciation = std::min(2 / life * cost * bookShare, cost * bookShare - salvage);
  return depreciation < 0 ? 0 : depreciation;
}

}  // namespace app
