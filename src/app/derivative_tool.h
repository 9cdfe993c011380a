// What the derivative window does with its two inputs, without the window: differentiate the
// expression with respect to the named variable and give the text to show.
#pragma once

#include <memory>
#include <string>

#include "evaluator/complex_eval.h"

namespace app {

class TDerivativeTool {
 public:
  TDerivativeTool();

  // The derivative (plain or in Mathematica form), or the user's message for a failure;
  // `produced` tells which. A derivative that cannot be formed is "nan", not a failure.
  std::string Differentiate(const std::string& expression, const std::string& variable,
                            bool asMathematica, bool& produced);

 private:
  std::unique_ptr<evaluator::TTalvekComplexEval> eval_;
  std::string message_;
};

}  // namespace app
