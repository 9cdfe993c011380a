// What a verb of the command line is (--eval, --derive, ...): its option, the options it takes,
// its usage lines and its handler. Each verb lives in its own file and is listed once in
// verb_list.def.
#pragma once

#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

namespace conversion {
class TUnitConversion;
}

namespace app {

class TCalculatorCore;
class TDataFolder;
class TParsedOptions;
class TStreamPrompt;
struct TCommandLineState;

// Everything a handler works with. Message boxes of the core and the tools go through `prompt`
// to standard error.
struct TVerbContext {
  const TParsedOptions& options;
  TCalculatorCore& core;
  TStreamPrompt& prompt;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // The folder --data-dir named, or null. Without the option the command line touches no file
  // of the data folder; with it, a verb may read the data files found there.
  const TDataFolder* dataFolder;
  // The conversion table that "Conv" converts through; empty until a verb loads it.
  conversion::TUnitConversion* conversion = nullptr;
  // What the options' `apply` set up for the verb (the sheets of --sheet, ...), kept until the
  // verb has run and released before the core.
  std::vector<std::shared_ptr<void>> optionState{};
  // The constant list, panes and calculator session of the run.
  TCommandLineState* state = nullptr;
  // Set by an option that did the run's whole job (--save): the verb does not run.
  bool finished = false;
};

struct TVerb {
  std::string_view option;  // "--eval"
  int valueCount;           // arguments that follow the option: 0, 1 or 2
  // Options of the option table that the verb takes, and those of them it cannot do without.
  std::vector<std::string_view> accepted;
  std::vector<std::string_view> required;
  // The verb's lines of the usage text, each ended by "\n" (may be empty).
  std::string_view usage;
  // Returns the process exit code.
  int (*run)(TVerbContext& context);
};

// Every verb, in the order of the usage text.
const std::vector<const TVerb*>& VerbTable();

#define CALC_VERB(name) extern const TVerb name;
#include "app/command_line/verb_list.def"
#undef CALC_VERB

}  // namespace app
