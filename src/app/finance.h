// Finance routines of the application function library: annuities, loan payment splits,
// present value of cash flows, internal rate of return and three depreciation schedules.
#pragma once

#include <span>

namespace app {

// When a period's payment falls due.
enum TPaymentTime : int { ptEndOfPeriod = 0, ptStartOfPeriod = 1 };

// Sign convention: money received is positive, money paid out negative, so a loan taken
// (PresentValue > 0) is repaid with negative payments. Arguments documented as whole numbers
// (periods, life) are expected to be whole already. Every routine that takes a rate requires
// rate > -1; a refusal throws EMathError(mekInvalidArgument, routine name).

double FutureValue(double rate, double nPeriods, double payment, double presentValue,
                   TPaymentTime paymentTime);
// When the growth factor exceeds 1e16 the loan is treated as a perpetuity.
double PresentValue(double rate, double nPeriods, double payment, double futureValue,
                    TPaymentTime paymentTime);
double Payment(double rate, double nPeriods, double presentValue, double futureValue,
               TPaymentTime paymentTime);
double NumberOfPeriods(double rate, double payment, double presentValue, double futureValue,
                       TPaymentTime paymentTime);
// The rate that makes the annuity balance; refused when no rate is found in 15 Newton steps.
double InterestRate(double nPeriods, double payment, double presentValue, double futureValue,
                    TPaymentTime paymentTime);

// The interest and principal parts of the payment of one period (1 <= period <= nPeriods);
// they add up to Payment for the same arguments.
double InterestPayment(double rate, double period, double nPeriods, double presentValue,
                       double futureValue, TPaymentTime paymentTime);
double PeriodPayment(double rate, double period, double nPeriods, double presentValue,
                     double futureValue, TPaymentTime paymentTime);

// Cash flows one period apart; the first is discounted by one period at the end of the period
// and not at all at its start.
double NetPresentValue(double rate, std::span<const double> values, TPaymentTime paymentTime);
// The rate at which the discounted cash flows sum to zero, or -1 when the flows do not hold
// both a gain and a loss.
double InternalRateOfReturn(std::span<const double> values, double guess);

double SLNDepreciation(double cost, double salvage, double life);
double SYDDepreciation(double cost, double salvage, double life, double period);
double DoubleDecliningBalance(double cost, double salvage, double life, double period);

}  // namespace app
