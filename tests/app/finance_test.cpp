// Tests of the finance routines against closed-form annuity sums, an amortisation schedule
// run period by period, and published depreciation examples.
#include "app/finance.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "evaluator/eval_errors.h"

namespace app {
namespace {

using evaluator::EMathError;

// The routine's name when it refuses, "" when it returns.
std::string RefusalOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMathError& e) {
    return e.kind() == evaluator::mekInvalidArgument ? e.what() : "another kind";
  }
  return "";
}

struct TAnnuityCase {
  double rate;
  double n;
  double payment;
  double presentValue;
  TPaymentTime time;
};

// FV + PV (1+r)^n + PMT (1 + r t) ((1+r)^n - 1) / r = 0, summed payment by payment.
double ClosedFormFutureValue(const TAnnuityCase& c) {
  long double sum = 0;
  for (int k = 0; k < static_cast<int>(c.n); ++k) {
    const int periodsGrowing = c.time == ptStartOfPeriod ? k + 1 : k;
    sum += c.payment * std::pow(1.0L + c.rate, periodsGrowing);
  }
  return static_cast<double>(-sum - c.presentValue * std::pow(1.0L + c.rate, c.n));
}

const TAnnuityCase kAnnuityCases[] = {
    {0.05, 10, -100, 1000, ptEndOfPeriod},     {0.05, 10, -100, 1000, ptStartOfPeriod},
    {0.005, 360, -600, 100000, ptEndOfPeriod}, {0, 12, -50, 500, ptEndOfPeriod},
    {1e-5, 360, -300, 100000, ptEndOfPeriod},  {4e-5, 120, -10, 1000, ptStartOfPeriod},
    {-0.2, 6, 50, -1000, ptEndOfPeriod},       {0.25, 4, -400, 1000, ptStartOfPeriod},
};

TEST(Finance, AnnuityRoutinesSolveTheSameIdentityForEachQuantity) {
  for (const TAnnuityCase& c : kAnnuityCases) {
    const double fv = ClosedFormFutureValue(c);
    const double scale = std::fabs(c.presentValue) + std::fabs(c.payment) * c.n;
    SCOPED_TRACE(testing::Message() << "rate " << c.rate << " n " << c.n << " t " << c.time);
    EXPECT_NEAR(FutureValue(c.rate, c.n, c.payment, c.presentValue, c.time), fv, 1e-11 * scale);
    EXPECT_NEAR(PresentValue(c.rate, c.n, c.payment, fv, c.time), c.presentValue, 1e-11 * scale);
    EXPECT_NEAR(Payment(c.rate, c.n, c.presentValue, fv, c.time), c.payment,
                1e-11 * std::fabs(c.payment));
    EXPECT_NEAR(NumberOfPeriods(c.rate, c.payment, c.presentValue, fv, c.time), c.n, 1e-9 * c.n);
    EXPECT_NEAR(InterestRate(c.n, c.payment, c.presentValue, fv, c.time), c.rate, 1e-10);
  }
  // A 30-year loan of 100000 at 6% a year paid monthly.
  EXPECT_NEAR(Payment(0.005, 360, 100000, 0, ptEndOfPeriod), -599.55, 0.005);
}

TEST(Finance, GrowthBeyondRangeIsAPerpetuity) {
  // (1 + 1)^60 exceeds 1e16.
  EXPECT_EQ(RefusalOf([] { FutureValue(1, 60, -10, 100, ptEndOfPeriod); }), "FutureValue");
  EXPECT_NEAR(PresentValue(1, 60, -10, 0, ptEndOfPeriod), 10, 1e-12);
  EXPECT_NEAR(PresentValue(1, 60, -10, 0, ptStartOfPeriod), 20, 1e-12);
  EXPECT_NEAR(Payment(1, 60, 100, 0, ptEndOfPeriod), -100, 1e-12);
  EXPECT_NEAR(Payment(0.5, 2000, 100, 0, ptStartOfPeriod), -100 * 0.5 / 1.5, 1e-12);
}

TEST(Finance, PaymentPartsFollowTheAmortisationSchedule) {
  const double rate = 0.02;
  const double n = 12;
  const double pv = 5000;
  for (const TPaymentTime time : {ptEndOfPeriod, ptStartOfPeriod}) {
    for (const double fv : {0.0, -1000.0}) {
      const double payment = Payment(rate, n, pv, fv, time);
      double balance = pv;
      for (int period = 1; period <= n; ++period) {
        SCOPED_TRACE(testing::Message() << "t " << time << " fv " << fv << " period " << period);
        double interest = 0;
        if (time == ptEndOfPeriod || period > 1) interest = rate * balance;
        const double interestPart = InterestPayment(rate, period, n, pv, fv, time);
        const double principalPart = PeriodPayment(rate, period, n, pv, fv, time);
        EXPECT_NEAR(interestPart, -interest, 1e-9);
        EXPECT_NEAR(interestPart + principalPart, payment, 1e-9);
        balance += interest + payment;
      }
      // What is owed after the last payment grows into -fv by the end.
      const double end = time == ptStartOfPeriod ? balance * (1 + rate) : balance;
      EXPECT_NEAR(end, -fv, 1e-8);
    }
  }
}

TEST(Finance, InternalRateOfReturnZeroesTheNetPresentValue) {
  const std::vector<double> flows = {-100, 60, 60};
  // -100 + 60 a + 60 a^2 = 0 with a = 1 / (1 + r).
  const double a = (-60 + std::sqrt(60.0 * 60 + 4 * 60 * 100)) / (2 * 60);
  EXPECT_NEAR(InternalRateOfReturn(flows, 0), 1 / a - 1, 1e-13);
  EXPECT_NEAR(InternalRateOfReturn(flows, 2), 1 / a - 1, 1e-13);
  EXPECT_NEAR(NetPresentValue(1 / a - 1, flows, ptStartOfPeriod), 0, 1e-11);
  // Flows without both a gain and a loss have no rate.
  EXPECT_EQ(InternalRateOfReturn(std::vector<double>{100, 50}, 0.1), -1);
  EXPECT_EQ(InternalRateOfReturn(std::vector<double>{-100, 0, -5}, 0.1), -1);
}

TEST(Finance, RefusalsNameTheRoutine) {
  const std::vector<double> noRoot = {-100, 50, -100};  // -100 + 50a - 100a^2 < 0 for all a
  const struct {
    const char* routine;
    std::function<void()> call;
  } rows[] = {
      {"FutureValue", [] { FutureValue(-1, 5, -10, 100, ptEndOfPeriod); }},
      {"PresentValue", [] { PresentValue(-1, 5, -10, 100, ptEndOfPeriod); }},
      {"Payment", [] { Payment(-2, 5, 100, 0, ptEndOfPeriod); }},
      {"InterestPayment", [] { InterestPayment(-1, 1, 5, 100, 0, ptEndOfPeriod); }},
      {"PeriodPayment", [] { PeriodPayment(0.1, 6, 5, 100, 0, ptEndOfPeriod); }},
      {"NetPresentValue", [&] { NetPresentValue(-1, noRoot, ptEndOfPeriod); }},
      {"InternalRateOfReturn", [&] { InternalRateOfReturn(noRoot, 0); }},
      {"InternalRateOfReturn", [&] { InternalRateOfReturn(noRoot, -1); }},
      {"InterestRate", [] { InterestRate(10, 0, 100, 100, ptEndOfPeriod); }},
      // A payment that only covers the interest never repays the loan.
      {"NumberOfPeriods", [] { NumberOfPeriods(0.1, -10, 100, 0, ptEndOfPeriod); }},
      {"NumberOfPeriods", [] { NumberOfPeriods(0.1, -1, 100, 0, ptEndOfPeriod); }},
      {"SLNDepreciation", [] { SLNDepreciation(30000, 7500, -1); }},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RefusalOf(row.call), row.routine);
  }
}

TEST(Finance, Depreciation) {
  EXPECT_DOUBLE_EQ(SLNDepreciation(30000, 7500, 10), 2250);

  EXPECT_NEAR(SYDDepreciation(30000, 7500, 10, 1), 4090.91, 0.005);
  EXPECT_NEAR(SYDDepreciation(30000, 7500, 10, 10), 409.09, 0.005);
  double total = 0;
  for (int period = 1; period <= 10; ++period) {
    total += SYDDepreciation(30000, 7500, 10, period);
  }
  EXPECT_NEAR(total, 22500, 1e-9);

  EXPECT_DOUBLE_EQ(DoubleDecliningBalance(2400, 300, 10, 1), 480);
  EXPECT_DOUBLE_EQ(DoubleDecliningBalance(2400, 300, 10, 2), 384);
  EXPECT_NEAR(DoubleDecliningBalance(2400, 300, 10, 10), 22.12, 0.005);  // capped at salvage
  EXPECT_EQ(DoubleDecliningBalance(1000, 100, 2, 1), 900);
  EXPECT_EQ(DoubleDecliningBalance(1000, 100, 2, 2), 0);

  // Periods outside the life and salvage at or above cost depreciate nothing.
  for (const auto& [cost, salvage, life, period] :
       {std::array{1000, 100, 5, 0}, {1000, 100, 5, 6}, {100, 200, 5, 1}, {1000, 100, 0, 1}}) {
    EXPECT_EQ(SYDDepreciation(cost, salvage, life, period), 0);
    EXPECT_EQ(DoubleDecliningBalance(cost, salvage, life, period), 0);
  }
}

}  // namespace
}  // namespace app
