// The "&Calculate" steps of the conversion window.
#include "conversion/convert_unit_tool.h"

#include <limits>

#include "app/error_messages.h"
#include "app/memo_text.h"

namespace conversion {

namespace {

using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

constexpr const char* kCorrectFunctionVariable = "Please correct function varable name";
constexpr const char* kCorrectDefinitions = "Please corect user definitions";

}  // namespace

TConvertUnitTool::TConvertUnitTool(app::TCalculatorCore& core, TUnitConversion& conversion,
                                   app::TUserPrompt& prompt)
    : core_(core),
      conversion_(conversion),
      prompt_(prompt),
      eval_(std::make_unique<TTalvekComplexEval>(core.AppFunctions.Table())) {
  eval_->OnParseError = [this](TTalvekComplexEval& sender) {
    prompt_.Message(conversion_.MessagePrefix + app::ParseErrorMessage(sender));
  };
  eval_->OnExecuteError = [this](TTalvekComplexEval& sender) {
    prompt_.Message(conversion_.MessagePrefix + app::ExecuteErrorMessage(sender));
  };
}

std::optional<TEvalValue> TConvertUnitTool::Calculate(const std::string& expression,
                                                      std::int32_t category, std::int32_t from,
                                                      std::int32_t to,
                                                      const std::string& definitionsText) {
  core_.ClearResults();
  if (firstUse_) {
    firstUse_ = false;
    core_.DefinitionsPass(definitionsText);
    core_.ClearResults();
  }
  if (core_.FunctionVariable.empty()) {
    prompt_.Message(kCorrectFunctionVariable);
    return std::nullopt;
  }
  if (core_.DefinitionsError) {
    prompt_.Message(kCorrectDefinitions);
    return std::nullopt;
  }
  if (!core_.ExpressionVariables.empty() && core_.ExpressionVariables[0].value != nullptr) {
    *core_.ExpressionVariables[0].value =
        TEvalValue::Real(std::numeric_limits<double>::quiet_NaN());
  }
  conversion_.MessagePrefix.clear();

  eval_->VerifySyntaxSemanticsPointerVar(app::MemoAsOneLine(expression), core_.ExpressionVariables,
                                         true);
  if (eval_->ErrorFlag) return std::nullopt;
  TEvalValue value;
  eval_->DoMathExpression(value);
  if (eval_->ErrorFlag) return std::nullopt;

  if (category < 0) {
    prompt_.Message(kEnterCategory);
    return std::nullopt;
  }
  if (from < 0 || to < 0) return std::nullopt;
  return conversion_.Convert(category, from, to, value);
}

}  // namespace conversion
