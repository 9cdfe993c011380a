// The user's messages for the evaluator's error codes: one table for failures reported while
// parsing and one for failures reported while running, shared by every window.
#pragma once

#include <string>

#include "evaluator/complex_eval.h"

namespace app {

// The message the main window's ParseErrorMesssage handler writes for the evaluator's error.
std::string ParseErrorMessage(const evaluator::TTalvekComplexEval& eval);
// The message the ExecuteErrorMesssage handler writes.
std::string ExecuteErrorMessage(const evaluator::TTalvekComplexEval& eval);

}  // namespace app
