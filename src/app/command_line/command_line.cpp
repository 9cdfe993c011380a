// Parses the arguments, sets up the core and the options' state, and runs the verb.
#include "app/command_line/command_line.h"

#include <iostream>
#include <memory>

#include "app/calculator_core.h"
#include "app/command_line/command_options.h"
#include "app/command_line/command_state.h"
#include "app/command_line/stream_prompt.h"
#include "app/command_line/verb.h"
#include "app/data_folder.h"
#include "conversion/unit_conversion.h"

namespace app {

const std::vector<const TVerb*>& VerbTable() {
  static const std::vector<const TVerb*> table = {
#define CALC_VERB(name) &name,
#include "app/command_line/verb_list.def"
#undef CALC_VERB
  };
  return table;
}

std::string UsageText() {
  std::string text =
      "Usage:\n"
      "  calculator [--data-dir DIR]                       start the window\n";
  for (const TVerb* verb : VerbTable())
    text += verb->usage;
  text +=
      "Every command also takes --data-dir DIR, the folder of the calculator's own files;\n"
      "the command line reads and writes only the files its options name.\n";
  return text;
}

std::optional<TWindowOptions> ReadWindowOptions(const std::vector<std::string>& arguments) {
  TWindowOptions options;
  if (arguments.empty() || arguments[0].rfind("--", 0) != 0) return options;
  for (std::size_t i = 0; i < arguments.size(); i += 2) {
    std::string* value = arguments[i] == "--data-dir"      ? &options.dataFolder
                         : arguments[i] == "--screenshots" ? &options.screenshotFolder
                                                           : nullptr;
    if (value == nullptr || i + 1 >= arguments.size() || !value->empty() ||
        arguments[i + 1].empty()) {
      return std::nullopt;
    }
    *value = arguments[i + 1];
  }
  return options;
}

bool IsCommandLine(const std::vector<std::string>& arguments) {
  return !ReadWindowOptions(arguments).has_value();
}

int RunCommandLine(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  TParsedOptions options;
  // An empty --data-dir would silently mean the program's folder.
  if (!ParseOptions(arguments, options) ||
      (options.Has("--data-dir") && options.Value("--data-dir").empty())) {
    err << UsageText();
    return 2;
  }
  std::unique_ptr<TDataFolder> dataFolder;
  if (options.Has("--data-dir")) {
    dataFolder =
        std::make_unique<TDataFolder>(TDataFolder::ForRunningProgram(options.Value("--data-dir")));
  }
  TStreamPrompt prompt(err);
  TCalculatorCore core(prompt);
  TCommandLineState state(core, prompt);
  conversion::TUnitConversion conversion(prompt);
  conversion.Bind(core.AppFunctions);
  TVerbContext context{options, core, prompt, in, out, err, dataFolder.get()};
  context.state = &state;
  context.conversion = &conversion;
  for (const TOptionSpec& spec : OptionTable()) {
    if (spec.apply != nullptr && options.Has(spec.name) && !spec.apply(context)) return 1;
  }
  if (context.finished) return 0;
  return options.verb->run(context);
}

}  // namespace app
