// --help and --version.
#include <ostream>

#include "app/command_line/command_line.h"
#include "app/command_line/verb.h"

#ifndef CALC_VERSION
#define CALC_VERSION "0.0"
#endif

namespace app {

namespace {

int RunHelp(TVerbContext& context) {
  context.out << UsageText();
  return 0;
}

int RunVersion(TVerbContext& context) {
  context.out << "calculator " << CALC_VERSION << '\n';
  return 0;
}

}  // namespace

const TVerb kHelpVerb{"--help", 0, {}, {}, "  calculator --help | --version\n", RunHelp};

// Its usage line is the one of --help.
const TVerb kVersionVerb{"--version", 0, {}, {}, "", RunVersion};

}  // namespace app
