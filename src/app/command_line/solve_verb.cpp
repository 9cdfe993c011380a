// --solve: what the linear system window's results memo shows for one of its five commands,
// starting from the window's initial texts or a ".sle" file's.
#include <array>
#include <ostream>
#include <utility>

#include "app/calculator_core.h"
#include "app/command_line/command_line.h"
#include "app/command_line/command_options.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "linsys/linear_system.h"

namespace app {

namespace {

int RunSolve(TVerbContext& context) {
  const TParsedOptions& options = context.options;
  static constexpr std::array<std::pair<std::string_view, linsys::TSystemResult>, 4> kChoices = {{
      {"--determinant", linsys::TSystemResult::Determinant},
      {"--inverse", linsys::TSystemResult::Inverse},
      {"--matrix", linsys::TSystemResult::InitialMatrix},
      {"--right", linsys::TSystemResult::RightPart},
  }};
  linsys::TSystemResult result = linsys::TSystemResult::Solution;
  int chosen = 0;
  for (const auto& [name, choice] : kChoices) {
    if (options.Has(name)) {
      result = choice;
      ++chosen;
    }
  }
  if (chosen > 1) {
    context.err << UsageText();
    return 2;
  }

  TCalculatorCore& core = context.core;
  linsys::TLinearSystem system(context.prompt, [&core] { return core.GetSetting(stDetTolerance); });
  if (options.Has("--sle") && !system.CitesteFisier(options.Value("--sle"))) return 1;
  if (options.Has("--vars")) system.VariablesText = options.Value("--vars");
  if (options.Has("--equations")) system.EquationsText = options.Value("--equations");
  const bool shown = system.Show(result);
  for (const std::string& line : system.Results())
    context.out << line << '\n';
  return shown ? 0 : 1;
}

}  // namespace

const TVerb kSolveVerb{
    "--solve",
    0,
    {"--sle", "--vars", "--equations", "--determinant", "--inverse", "--matrix", "--right"},
    {},
    "  calculator --solve [--sle FILE] [--vars TEXT] [--equations TEXT]\n"
    "             [--determinant | --inverse | --matrix | --right]\n"
    "                                                    solve a system of linear equations\n",
    RunSolve,
};

}  // namespace app
