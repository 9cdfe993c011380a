// The calculator without its window: the four evaluators and their shared function table, the
// definitions and expressions passes, the settings and the results they produce. The main window
// and the command line both drive it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/app_functions.h"
#include "app/user_prompt.h"
#include "evaluator/complex_eval.h"

namespace app {

// Indexes of the five settings in GetSetting / SetSetting.
enum TSettingIndex : int { stFrom = 1, stTo, stStep, stColWidth, stDetTolerance };

class TCalculatorCore {
 public:
  // Start-up: settings defaults, random seed, the function table, the four evaluators and the
  // internal constants. `prompt` must outlive the core.
  explicit TCalculatorCore(TUserPrompt& prompt);
  TCalculatorCore(const TCalculatorCore&) = delete;
  TCalculatorCore& operator=(const TCalculatorCore&) = delete;

  // The definitions pass over the definitions pane's text. `functionVariableText` is the text
  // of the function-variable window's edit box when that window exists. True on success.
  bool DefinitionsPass(const std::string& definitionsText,
                       const std::string* functionVariableText = nullptr);
  // The expressions pass over the expressions pane's text (its lines are joined without a
  // separator). The definitions pass runs first on the first call, over `definitionsText`.
  bool ExpressionsPass(const std::string& expressionsText, const std::string& definitionsText);

  // Validates `name` against the constants and the reserved names and makes it the function
  // variable, or empties the function variable when it is refused.
  void SetFunctionVariable(const std::string& name);

  double GetSetting(int index) const;
  void SetSetting(int index, double value);

  // The results pane: lines the passes and the error handlers wrote.
  const std::vector<std::string>& Results() const { return results_; }
  void ClearResults() { results_.clear(); }

  // "&Error message": when off, a failed pass shows "ERROR" instead of the message.
  bool ShowErrorMessages = true;
  // "&Format": currency (true) or scientific (false) result lines.
  bool CurrencyFormat = false;

  TAppFunctions AppFunctions;
  std::unique_ptr<evaluator::TTalvekComplexEval> DefinitionsEval;
  std::unique_ptr<evaluator::TTalvekComplexEval> ExpressionsEval;
  std::unique_ptr<evaluator::TTalvekComplexEval> SheetEval;
  std::unique_ptr<evaluator::TTalvekComplexEval> ConstantsEval;

  std::string FunctionVariable = "x";
  // Definition texts of the runtime functions of the last good definitions pass, joined by ","
  // ("nan" when there are none).
  std::string UserFunctionsText = "nan";
  // The variables of DefinitionsEval, handed to ExpressionsEval as fixed external cells.
  evaluator::TUserVarArray ExpressionVariables;
  bool DefinitionsError = true;

  // Bytes the process's heap has handed out, for the status bar.
  static std::size_t AllocatedBytes();

  // Handlers installed on every evaluator; they write the user's message into the results.
  void ParseErrorMesssage(evaluator::TTalvekComplexEval& sender);
  void ExecuteErrorMesssage(evaluator::TTalvekComplexEval& sender);

 private:
  std::unique_ptr<evaluator::TTalvekComplexEval> NewEvaluator();

  TUserPrompt& prompt_;
  std::vector<std::string> results_;
  std::array<double, 5> settings_{};
  // The function variable's value cell handed to DefinitionsEval; it holds NaN.
  evaluator::TEvalValue functionVariableCell_;
  bool firstExpressionsPass_ = true;
};

}  // namespace app
