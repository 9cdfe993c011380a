// The constant list: the rows of named constants that expressions see as fixed variables, kept in
// step with the calculator core's ConstantsEval, and the add, edit, delete and refresh
// operations the constant list windows, the calculator file and the command line perform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/calculator_core.h"
#include "app/calculator_session.h"
#include "evaluator/complex_eval.h"

namespace constants {

// One row of the list: row n (from 1) is variable n of ConstantsEval.
struct TConstantRow {
  std::string Name;
  std::string Expression;
  std::string Description;
  std::string Value;  // the value's text after the last refresh
};

// The number of internal constants; they are rows 1 to 5 and are never deleted.
inline constexpr std::int32_t kInternalConstantCount = 5;

// Also the constant list the calculator file writes and reads (app::TConstantTable).
class TConstantList : public app::TConstantTable {
 public:
  // `core` owns ConstantsEval, the settings, the function variable and the prompt; it must
  // outlive the list. The list starts with the five internal rows that the core has loaded.
  explicit TConstantList(app::TCalculatorCore& core, app::TUserPrompt& prompt);
  TConstantList(const TConstantList&) = delete;
  TConstantList& operator=(const TConstantList&) = delete;
  ~TConstantList() override;

  // Row n, counted from 1 as the grid counts them.
  const TConstantRow& Row(std::int32_t n) const { return rows_[static_cast<std::size_t>(n - 1)]; }
  std::int32_t Count() const override { return static_cast<std::int32_t>(rows_.size()); }
  app::TConstantEntry Entry(std::int32_t row) const override;
  // AddConst of the entry's name, expression and comment.
  bool Store(std::int32_t row, const app::TConstantEntry& entry) override;
  // The row number of a new constant.
  std::int32_t NewRow() const { return Count() + 1; }
  // The row of the constant with that name, compared without regard to case; 0 when none.
  std::int32_t Find(const std::string& name) const;

  // Stores `name`, the expression (the lines of `expressionMemo` joined without separators) and
  // `description` in row `row`, or as a new row when `row` is NewRow(), after checking the
  // name, the expression and, for an internal constant, the setting it feeds. Shows the
  // refusal and returns false when it is not stored. `functionVariableText` is the text of the
  // function-variable window's edit box when that window exists.
  bool AddConst(std::int32_t row, const std::string& name, const std::string& expressionMemo,
                const std::string& description, const std::string* functionVariableText = nullptr);

  // Deletes `count` rows from row `from` (cut at the last row) after the user's confirmation,
  // unless a remaining constant depends on one of them. False when nothing was deleted.
  bool DeleteConsts(std::int32_t from, std::int32_t count,
                    const std::string* functionVariableText = nullptr);

  // Recomputes ConstantsEval and writes every row's value text.
  void Refresh() override;

  // Back to the five internal rows with their default expressions, as reading a calculator file
  // starts.
  void Reset() override;

  // The text ConstantsEval is parsed from: name=expression of every row, joined with ",".
  std::string VectorText() const;

  // Set whenever a constant is stored or deleted; the owner of the calculator state clears it.
  bool Changed = false;

 private:
  // Parses `text` into ConstantsEval (both Fix flags cleared meanwhile) and evaluates it; with
  // `names` empty the names are taken from the assignments themselves.
  bool ReparseConstants(const std::string& text, const std::string& names);
  // After ConstantsEval was parsed again: every cell the other evaluators had of it is gone.
  void ConstantsReplaced(const std::string* functionVariableText, bool both);
  // The names of ConstantsEval's variables joined with ",", leaving out `skippedRow` (0: none)
  // and putting `replacement` in its place when it is not empty.
  std::string NameList(std::int32_t skippedRow, const std::string& replacement) const;

  app::TCalculatorCore& core_;
  app::TUserPrompt& prompt_;
  // The evaluator of the edit window: checks names and expressions without touching
  // ConstantsEval.
  std::unique_ptr<evaluator::TTalvekComplexEval> checkEval_;
  std::vector<TConstantRow> rows_;
};

}  // namespace constants
