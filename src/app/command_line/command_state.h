// The working state a command-line run keeps beside the core: the constant list, the panes'
// texts and the calculator session, so that --const, --file and --save act on the same state
// the window would.
#pragma once

#include <string>

#include "app/calculator_core.h"
#include "app/calculator_session.h"
#include "constants/constant_list.h"

namespace app {

struct TVerbContext;

// The panes as plain texts; showing a text runs its pass as the window does.
class TTextPanes : public TCalculatorPanes {
 public:
  explicit TTextPanes(TCalculatorCore& core) : core_(core) {}
  std::string DefinitionsText() const override { return definitions; }
  std::string ExpressionsText() const override { return expressions; }
  bool ShowDefinitions(const std::string& text) override;
  void ShowExpressions(const std::string& text, bool run) override;

  std::string definitions;
  std::string expressions;

 private:
  TCalculatorCore& core_;
};

struct TCommandLineState {
  TCommandLineState(TCalculatorCore& core, TUserPrompt& prompt)
      : constants(core, prompt), panes(core), session(core, constants, panes, prompt) {}
  constants::TConstantList constants;
  TTextPanes panes;
  // Writes no log: the command line keeps no history.
  TCalculatorSession session;
};

// The definitions text of the run: --defs when given, else what --file read.
const std::string& DefinitionsText(const TVerbContext& context);
// The expressions text of the run: `given` (the --eval text) when there is one, else what
// --file read.
const std::string& ExpressionsText(const TVerbContext& context, const std::string* given);

// --file FILE: reads the calculator file into the state, as "&Open" does.
bool ApplyFileOption(TVerbContext& context);
// --save FILE: the definitions pass, then the state written as "Save &As..." writes it; the
// run ends there.
bool ApplySaveOption(TVerbContext& context);

// The definitions pass over DefinitionsText with the currency format and --var; prints the
// message and returns false when it fails.
bool PrepareDefinitions(TVerbContext& context);

}  // namespace app
