// --file, --save and the verb that shows a calculator file's results: a calculator file read
// as "&Open" reads it, the state written as "Save &As..." writes it.
#include <ostream>

#include "app/command_line/command_options.h"
#include "app/command_line/command_state.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"

namespace app {

bool TTextPanes::ShowDefinitions(const std::string& text) {
  definitions = text;
  return core_.DefinitionsPass(text);
}

void TTextPanes::ShowExpressions(const std::string& text, bool run) {
  expressions = text;
  if (run) core_.ExpressionsPass(text, definitions);
}

// What the results pane shows: its lines, or the message a failure left in a message box.
void PrintShown(TVerbContext& context) {
  if (!context.core.Results().empty()) {
    for (const std::string& line : context.core.Results())
      context.out << line << '\n';
  } else {
    context.out << context.prompt.last << '\n';
  }
}

const std::string& DefinitionsText(const TVerbContext& context) {
  if (context.options.Has("--defs") || context.state == nullptr) {
    return context.options.Value("--defs");
  }
  return context.state->panes.definitions;
}

const std::string& ExpressionsText(const TVerbContext& context, const std::string* given) {
  if (given != nullptr || context.state == nullptr) {
    return given != nullptr ? *given : context.options.Value("--eval");
  }
  return context.state->panes.expressions;
}

bool PrepareDefinitions(TVerbContext& context) {
  context.core.CurrencyFormat = context.options.Has("--currency");
  const std::string* variable =
      context.options.Has("--var") ? &context.options.Value("--var") : nullptr;
  if (context.core.DefinitionsPass(DefinitionsText(context), variable)) return true;
  PrintShown(context);
  return false;
}

bool ApplyFileOption(TVerbContext& context) {
  TCalculatorSession& session = context.state->session;
  session.CalcFileName = context.options.Value("--file");
  session.HasCalcFile = true;
  // A bad file has shown its message on standard error; no results are printed.
  return session.CitesteFisier();
}

bool ApplySaveOption(TVerbContext& context) {
  if (!PrepareDefinitions(context)) return false;
  TCommandLineState& state = *context.state;
  state.panes.definitions = DefinitionsText(context);
  if (context.options.Has("--eval")) state.panes.expressions = context.options.Value("--eval");
  state.session.CalcFileName = context.options.Value("--save");
  state.session.HasCalcFile = true;
  if (!state.session.ScrieFisier()) return false;
  context.finished = true;
  return true;
}

namespace {

// The results the window shows after "&Open": the expressions pass over the file's texts.
int RunFileResults(TVerbContext& context) {
  if (!PrepareDefinitions(context)) return 1;
  const bool ok =
      context.core.ExpressionsPass(ExpressionsText(context, nullptr), DefinitionsText(context));
  PrintShown(context);
  return ok ? 0 : 1;
}

}  // namespace

const TVerb kFileVerb{
    "--file",
    1,
    {"--file", "--currency", "--const", "--var", "--sheet", "--save"},
    {},
    "  calculator --file FILE [--var NAME] [--currency]  print the results of a calculator file;\n"
    "                                                    --eval, --stdin and --table take\n"
    "                                                    --file too and run in its state\n"
    "  calculator --eval TEXT [--defs TEXT] [--var NAME] --save FILE\n"
    "                                                    write the state as a calculator file\n",
    RunFileResults,
};

}  // namespace app
