// The text of the help window: the keyboard shortcuts and one numbered line for every code the
// evaluator knows, rebuilt each time so that new user functions appear.
#pragma once

#include <string>
#include <vector>

#include "evaluator/complex_eval.h"

namespace app {

std::vector<std::string> HelpLines(const evaluator::TTalvekComplexEval& eval);

}  // namespace app
