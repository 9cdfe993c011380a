// What the conversion window's "&Calculate" does, without the window: evaluate the
// "Expression:" text against the main window's definitions and convert its value from one unit
// of a category to another along the stored path.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/calculator_core.h"
#include "app/user_prompt.h"
#include "conversion/unit_conversion.h"
#include "evaluator/complex_eval.h"

namespace conversion {

inline constexpr const char* kEnterCategory = "Please enter an unit category";

class TConvertUnitTool {
 public:
  // `core` gives the definitions and the application functions; all three must outlive the
  // tool.
  TConvertUnitTool(app::TCalculatorCore& core, TUnitConversion& conversion,
                   app::TUserPrompt& prompt);

  // The converted value, or nothing after a message to the prompt. `category`, `from` and `to`
  // are 0-based indexes, -1 for no selection; `definitionsText` is the definitions pane, passed
  // on the first use when the definitions pass has not run yet. Without both units chosen
  // nothing is converted and nothing is given.
  std::optional<evaluator::TEvalValue> Calculate(const std::string& expression,
                                                 std::int32_t category, std::int32_t from,
                                                 std::int32_t to,
                                                 const std::string& definitionsText);

 private:
  app::TCalculatorCore& core_;
  TUnitConversion& conversion_;
  app::TUserPrompt& prompt_;
  std::unique_ptr<evaluator::TTalvekComplexEval> eval_;
  bool firstUse_ = true;
};

}  // namespace conversion
