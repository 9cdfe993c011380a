// TCalculatorSession: the calculator's working state as a whole: writing it to a calculator
// file and reading it back (ReadDatas), the history of recorded states and the log. The main
// window and the command line both drive it, each through its own panes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/calculator_core.h"
#include "app/calculator_file.h"
#include "app/history.h"
#include "app/user_prompt.h"

namespace app {

// The constant list as a calculator file writes and reads it. Row n (from 1) is variable n of
// the core's ConstantsEval; rows 1 to 5 are the internal constants.
class TConstantTable {
 public:
  virtual ~TConstantTable() = default;
  virtual std::int32_t Count() const = 0;
  virtual TConstantEntry Entry(std::int32_t row) const = 0;
  // Back to the five internal rows with their default expressions, ConstantsEval parsed again.
  virtual void Reset() = 0;
  // The constant edit window's add operation on row `row` (Count() + 1 for a new row); shows
  // its refusal and returns false when it does not store the constant.
  virtual bool Store(std::int32_t row, const TConstantEntry& entry) = 0;
  // Evaluates ConstantsEval again and writes the rows' values.
  virtual void Refresh() = 0;
};

// The definitions and expressions panes: the window's memos, or plain texts on the command
// line.
class TCalculatorPanes {
 public:
  virtual ~TCalculatorPanes() = default;
  virtual std::string DefinitionsText() const = 0;
  virtual std::string ExpressionsText() const = 0;
  // Puts the text into the definitions pane and runs the definitions pass; its success.
  virtual bool ShowDefinitions(const std::string& text) = 0;
  // Puts the text into the expressions pane, and runs the expressions pass when `run`.
  virtual void ShowExpressions(const std::string& text, bool run) = 0;
};

class TCalculatorSession {
 public:
  // All four must outlive the session. `logPath` is the log file's path; empty writes no log.
  TCalculatorSession(TCalculatorCore& core, TConstantTable& constants, TCalculatorPanes& panes,
                     TUserPrompt& prompt, std::string logPath = std::string());

  // ScrieString: the current state as a calculator text.
  std::string ScrieString() const;

  // ScrieFisier: writes the state to CalcFileName (nothing when HasCalcFile is false), then
  // records it in the history. A state holding a brace, which could never be read back, is
  // refused with a message and nothing is written. False when nothing was written.
  bool ScrieFisier();
  // CitesteFisier: reads CalcFileName (when HasCalcFile) and applies it, then records it.
  // A bad file shows "Bad file format", applies nothing and clears HasCalcFile.
  bool CitesteFisier();
  // CitesteString: applies a text ScrieString built; "Bad file format" and nothing applied
  // when it cannot be read.
  bool CitesteString(const std::string& text);
  // Applies four block texts: the constants, the function variable, then the definitions and
  // the expressions panes with their passes. Note the order of the last two arguments.
  void ReadDatas(const std::string& constantsText, const std::string& functionVariable,
                 const std::string& expressionsText, const std::string& definitionsText);

  // Records the current state; true when it was new (one log record is then written).
  bool AddHistory();
  // Applies the previous (next) recorded state, recording nothing; false when there is none.
  bool Undo();
  bool Redo();
  void ClearHistory() { history_.Clear(); }
  const THistory& History() const { return history_; }

  std::string CalcFileName;
  bool HasCalcFile = false;

 private:
  std::vector<TConstantEntry> ConstantEntries() const;

  TCalculatorCore& core_;
  TConstantTable& constants_;
  TCalculatorPanes& panes_;
  TUserPrompt& prompt_;
  std::string logPath_;
  THistory history_;
};

}  // namespace app
