// The application's comparison of values: the evaluator's relative tolerance, with NaN equal to
// NaN and infinities of one sign equal. Used by the equivalence test, the function table and the
// spline functions.
#pragma once

#include "evaluator/value.h"

namespace app {

bool RealsEqual(double a, double b);
// The same rule with another mantissa tolerance in place of 1e-13.
bool RealsEqual(double a, double b, double tolerance);
bool ValuesEqual(const evaluator::TEvalValue& a, const evaluator::TEvalValue& b);

}  // namespace app
