// HelpLines.
#include "app/help_text.h"

namespace app {

std::vector<std::string> HelpLines(const evaluator::TTalvekComplexEval& eval) {
  const std::string rule(52, '=');
  std::vector<std::string> lines = {
      "COMMAND SHORTCUTS",
      rule,
      "Clear -> [Esc]",
      "Undo ->  [F1]",
      "Redo ->  [F2]",
      "Memo Zoom In ->  [Ctrl+'Gray +']",
      "Memo Zoom Out ->  [Ctrl+'Gray -']",
      "Form Zoom In ->  [Ctrl+Shift+'Gray +']",
      "Form Zoom Out ->  [Ctrl+Shift+'Gray -']",
      "",
      "BUILT-IN FUNCTIONS",
      rule,
  };
  for (std::int32_t code = 0; code <= eval.GetMaxFunctionCode(); ++code) {
    lines.push_back(std::to_string(code) + ".  " + eval.GetHelpText(code));
  }
  lines.push_back(rule);
  lines.push_back("Type Info = COMPLEX, DOUBLE, CURRENCY, BOOLEAN");
  return lines;
}

}  // namespace app
