// --eval and --stdin: the definitions and expressions passes of the main window, printing what
// its results pane would show.
#include <istream>
#include <ostream>

#include "app/calculator_core.h"
#include "app/command_line/command_options.h"
#include "app/command_line/command_state.h"
#include "app/command_line/conversion_verbs.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"

namespace app {

namespace {

// The results pane's text, one line per result, or the message a failure left there.
std::vector<std::string> Shown(const TCalculatorCore& core, const TStreamPrompt& prompt) {
  if (!core.Results().empty()) return core.Results();
  return {prompt.last};
}

int RunEval(TVerbContext& context) {
  if (!PrepareConversion(context) || !PrepareDefinitions(context)) return 1;
  const bool ok =
      context.core.ExpressionsPass(context.options.Value("--eval"), DefinitionsText(context));
  for (const std::string& line : Shown(context.core, context.prompt))
    context.out << line << '\n';
  return ok ? 0 : 1;
}

int RunStdin(TVerbContext& context) {
  if (!PrepareConversion(context) || !PrepareDefinitions(context)) return 1;
  for (std::string line; std::getline(context.in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    context.prompt.last.clear();
    const bool ok = context.core.ExpressionsPass(line, DefinitionsText(context));
    context.out << (ok ? "ok" : "error");
    for (const std::string& value : Shown(context.core, context.prompt))
      context.out << '\t' << value;
    context.out << std::endl;
  }
  return 0;
}

}  // namespace

const TVerb kEvalVerb{
    "--eval",
    1,
    {"--defs", "--currency", "--sheet", "--const", "--file", "--var", "--save", "--cnv"},
    {},
    "  calculator --eval TEXT [--defs TEXT] [--currency]  print the results of TEXT\n",
    RunEval,
};

const TVerb kStdinVerb{
    "--stdin",
    0,
    {"--defs", "--currency", "--sheet", "--const", "--file", "--var", "--cnv"},
    {},
    "  calculator --stdin [--defs TEXT] [--currency]      one expressions text per input line;\n"
    "                                                    prints ok<TAB>results... or "
    "error<TAB>message\n"
    "    --eval, --stdin and --table take --sheet FILE[:natural|:periodic], repeatable: .dat files "
    "read\n"
    "    into sheets 1, 2, ... (natural splines unless :periodic) for Lagrange and CubicSpline\n"
    "    --eval and --stdin take --const NAME=EXPRESSION, repeatable: constants stored in the\n"
    "    order given before the definitions (an internal constant's name edits that constant)\n"
    "    --eval, --stdin and --table take --cnv FILE: the conversion definitions for Conv\n"
    "    (without it, the built-in default table)\n",
    RunStdin,
};

}  // namespace app
