// Start-up, the two passes, the function variable and the settings of the calculator core.
#include "app/calculator_core.h"

#include <malloc.h>

#include <cmath>
#include <exception>
#include <limits>

#include "app/error_messages.h"
#include "app/memo_text.h"
#include "evaluator/random_source.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

constexpr const char* kCorrectFunctionVariable = "Please correct function varable name";
constexpr const char* kCorrectDefinitions = "Please corect user definitions";
constexpr const char* kInternalConstants =
    "from=_from,to=_to,step=_step,colwidth=_colwidth,dettolerance=_dettolerance";
constexpr const char* kNotCurrency = "Not Currency";

constexpr std::array<double, 5> kSettingDefaults = {-100, 100, 0.1, 150, 1e-16};

}  // namespace

TCalculatorCore::TCalculatorCore(TUserPrompt& prompt) : prompt_(prompt) {
  SetSetting(stStep, 0.1);
  SetSetting(stFrom, -100);
  SetSetting(stTo, 100);
  SetSetting(stColWidth, 150);
  SetSetting(stDetTolerance, 1e-16);
  evaluator::RandomSource().SeedFromClock();

  DefinitionsEval = NewEvaluator();
  ExpressionsEval = NewEvaluator();
  SheetEval = NewEvaluator();
  ConstantsEval = NewEvaluator();

  ConstantsEval->VerifySyntaxSemanticsAutoVar(kInternalConstants);
  ConstantsEval->DoVectorOfMathExpressions();
  // Every constant registered from now on is fixed, whatever its name ends in.
  ConstantsEval->FixDigitEndingNames = true;
  ConstantsEval->FixLetterEndingNames = true;
  results_.clear();
}

std::unique_ptr<TTalvekComplexEval> TCalculatorCore::NewEvaluator() {
  auto eval = std::make_unique<TTalvekComplexEval>(AppFunctions.Table());
  eval->OnParseError = [this](TTalvekComplexEval& sender) { ParseErrorMesssage(sender); };
  eval->OnExecuteError = [this](TTalvekComplexEval& sender) { ExecuteErrorMesssage(sender); };
  return eval;
}

void TCalculatorCore::ParseErrorMesssage(TTalvekComplexEval& sender) {
  results_ = {ParseErrorMessage(sender)};
}

void TCalculatorCore::ExecuteErrorMesssage(TTalvekComplexEval& sender) {
  results_ = {ExecuteErrorMessage(sender)};
}

bool TCalculatorCore::DefinitionsPass(const std::string& definitionsText,
                                      const std::string* functionVariableText) {
  DefinitionsError = true;
  results_.clear();
  // The expressions parse and the variables handed to it point into DefinitionsEval's cells,
  // which the new parse replaces: drop them first so nothing can reach a freed cell.
  ExpressionVariables.clear();
  ExpressionsEval->Release();
  try {
    if (functionVariableText != nullptr) SetFunctionVariable(*functionVariableText);
    if (FunctionVariable.empty()) {
      prompt_.Message(kCorrectFunctionVariable);
      return false;
    }
    functionVariableCell_ = TEvalValue::Real(std::numeric_limits<double>::quiet_NaN());
    evaluator::TUserVarArray variables{{FunctionVariable, &functionVariableCell_, true}};
    for (const evaluator::TRecord3& constant : ConstantsEval->VarVect) {
      variables.push_back({constant.name, constant.value, true});
    }
    std::string text = MemoAsOneLine(definitionsText);
    if (text.empty()) text = "nan";

    DefinitionsEval->VerifySyntaxSemanticsPointerVar(text, variables, true);
    if (DefinitionsEval->ErrorFlag) return false;
    if (DefinitionsEval->DoVectorOfMathExpressions() == nullptr) return false;

    UserFunctionsText.clear();
    for (std::int32_t i = 0; i < DefinitionsEval->GetRunTimeFunctionCount(); ++i) {
      if (i > 0) UserFunctionsText += ',';
      UserFunctionsText += DefinitionsEval->GetRunTimeFunctionText(i);
    }
    if (UserFunctionsText.empty()) UserFunctionsText = "nan";
    ExpressionVariables.clear();
    for (const evaluator::TRecord3& variable : DefinitionsEval->VarVect) {
      ExpressionVariables.push_back({variable.name, variable.value, true});
    }
    DefinitionsError = false;
    return true;
  } catch (const std::exception& e) {
    prompt_.Message(std::string("Frame31Memo1Exit-> ") + e.what());
    return false;
  }
}

bool TCalculatorCore::ExpressionsPass(const std::string& expressionsText,
                                      const std::string& definitionsText) {
  results_.clear();
  if (firstExpressionsPass_) {
    firstExpressionsPass_ = false;
    DefinitionsPass(definitionsText);
    results_.clear();
  }
  if (FunctionVariable.empty()) {
    prompt_.Message(kCorrectFunctionVariable);
    return false;
  }
  if (DefinitionsError) {
    prompt_.Message(kCorrectDefinitions);
    return false;
  }
  if (!ExpressionVariables.empty() && ExpressionVariables[0].value != nullptr) {
    *ExpressionVariables[0].value = TEvalValue::Real(std::numeric_limits<double>::quiet_NaN());
  }
  std::string text;
  for (char c : expressionsText) {
    if (c != '\r' && c != '\n') text += c;
  }
  ExpressionsEval->SetCurrencyMode(CurrencyFormat);
  SheetEval->SetCurrencyMode(CurrencyFormat);

  std::int32_t first = 1;
  ExpressionsEval->VerifySyntaxSemanticsPointerVar(text, ExpressionVariables, true);
  if (ExpressionsEval->ErrorFlag && ExpressionsEval->ErrorCode == evaluator::ecNotImplemented) {
    // The text calls runtime functions of the definitions pane: define them in a leading
    // block whose own value is not shown.
    results_.clear();
    ExpressionsEval->VerifySyntaxSemanticsPointerVar("Bk(" + UserFunctionsText + ")," + text,
                                                     ExpressionVariables, true);
    first = 2;
  }
  evaluator::TEvalValue** values = nullptr;
  if (!ExpressionsEval->ErrorFlag) values = ExpressionsEval->DoVectorOfMathExpressions();
  if (values == nullptr) {
    if (!ShowErrorMessages) results_ = {"ERROR"};
    return false;
  }
  for (std::int32_t k = first; k <= ExpressionsEval->ResultCount; ++k) {
    const TEvalValue& value = *values[k - 1];
    if (!CurrencyFormat) {
      results_.push_back(evaluator::ValueToText(value));
    } else {
      results_.push_back(value.IsCurrency() ? evaluator::CurrencyToText(value.currency)
                                            : kNotCurrency);
    }
  }
  return true;
}

void TCalculatorCore::SetFunctionVariable(const std::string& name) {
  std::string names;
  for (std::int32_t i = 1; i <= ConstantsEval->VariableCount; ++i) {
    if (i > 1) names += ',';
    names += ConstantsEval->GetVariableName(i);
  }
  if (names.empty()) names = "nan";
  ExpressionsEval->VerifySyntaxSemanticsAutoVar(names);
  FunctionVariable = ExpressionsEval->IsValidIdentName(name) ? evaluator::TrimBlanks(name) : "";
}

double TCalculatorCore::GetSetting(int index) const {
  if (index < stFrom || index > stDetTolerance) return std::numeric_limits<double>::quiet_NaN();
  return settings_[static_cast<std::size_t>(index - 1)];
}

void TCalculatorCore::SetSetting(int index, double value) {
  if (index < stFrom || index > stDetTolerance) return;
  const auto slot = static_cast<std::size_t>(index - 1);
  bool accepted = std::isfinite(value);
  switch (index) {
    case stStep:
      accepted = accepted && value > 0 && std::fabs(value) > evaluator::kZero;
      break;
    case stColWidth:
      if (accepted) value = std::trunc(value);
      accepted = accepted && value >= 10 && value <= 200;
      break;
    case stDetTolerance:
      accepted = accepted && value > 0;
      break;
    default:
      break;
  }
  settings_[slot] = accepted ? value : kSettingDefaults[slot];
}

std::size_t TCalculatorCore::AllocatedBytes() {
  return mallinfo2().uordblks;
}

}  // namespace app
