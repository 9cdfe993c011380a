// TDerivativeTool.
#include "app/derivative_tool.h"

#include "app/error_messages.h"
#include "app/memo_text.h"

namespace app {

TDerivativeTool::TDerivativeTool() : eval_(std::make_unique<evaluator::TTalvekComplexEval>()) {
  eval_->OnParseError = [this](evaluator::TTalvekComplexEval& sender) {
    message_ = ParseErrorMessage(sender);
  };
  eval_->OnExecuteError = [this](evaluator::TTalvekComplexEval& sender) {
    message_ = ExecuteErrorMessage(sender);
  };
}

std::string TDerivativeTool::Differentiate(const std::string& expression,
                                           const std::string& variable, bool asMathematica,
                                           bool& produced) {
  message_.clear();
  // Every name in the expression is a variable; the one named differentiates.
  eval_->VerifySyntaxSemanticsAndDerivation(MemoAsOneLine(expression), "", true, variable);
  produced = false;
  if (eval_->ErrorFlag) return message_;
  std::string derivative;
  eval_->GetDerivative(asMathematica, derivative);
  if (eval_->ErrorFlag) return message_;
  produced = true;
  return derivative;
}

}  // namespace app
