// --derive: what the derivative window's "&Differentiate" shows, the derivative or the message.
#include <ostream>

#include "app/command_line/command_options.h"
#include "app/command_line/verb.h"
#include "app/derivative_tool.h"

namespace app {

namespace {

int RunDerive(TVerbContext& context) {
  TDerivativeTool tool;
  bool produced = false;
  context.out << tool.Differentiate(context.options.Value("--derive"),
                                    context.options.Value("--var"),
                                    context.options.Has("--mathematica"), produced)
              << '\n';
  return produced ? 0 : 1;
}

}  // namespace

const TVerb kDeriveVerb{
    "--derive",
    1,
    {"--var", "--mathematica"},
    {"--var"},
    "  calculator --derive TEXT --var NAME [--mathematica]\n"
    "                                                    print the derivative of TEXT\n",
    RunDerive,
};

}  // namespace app
