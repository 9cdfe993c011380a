// TConstantList: the ten steps of storing a constant, the checked deletion of a block of rows
// and the refresh of the values, all kept in step with ConstantsEval.
#include "constants/constant_list.h"

#include <array>
#include <cmath>

#include "app/memo_text.h"
#include "app/value_compare.h"
#include "evaluator/text_utils.h"
#include "evaluator/value.h"

namespace constants {

namespace {

using app::kAreYouSure;
using app::kInvalidCount;
using app::kInvalidNumber;
using evaluator::TEvalValue;

constexpr const char* kInvalidConstantName = "Invalid constant name : ";
constexpr const char* kInvalidExpression = "Invalid expression : ";
constexpr const char* kInvalidValue = "Invalid value : ";
constexpr const char* kProgramingError = "Programing error";
constexpr const char* kProgramingErrorBang = "Programing error!";
constexpr const char* kCannotDeleteInternal = "Cannot delete internal constants";
constexpr const char* kDependence = "Cannot delete variable dependece : ";
constexpr const char* kInternalDescription = "Internal constant";

// The internal constants in row order; each is also setting number row.
constexpr std::array<const char*, kInternalConstantCount> kInternalNames = {
    "from", "to", "step", "colwidth", "dettolerance"};

bool IsNaN(const TEvalValue& value) {
  if (value.IsReal()) return std::isnan(value.real);
  if (value.IsComplex()) return std::isnan(value.complex.re) || std::isnan(value.complex.im);
  return false;
}

void SetFixFlags(evaluator::TTalvekComplexEval& eval, bool fixed) {
  eval.FixDigitEndingNames = fixed;
  eval.FixLetterEndingNames = fixed;
}

}  // namespace

TConstantList::TConstantList(app::TCalculatorCore& core, app::TUserPrompt& prompt)
    : core_(core),
      prompt_(prompt),
      checkEval_(std::make_unique<evaluator::TTalvekComplexEval>(core.AppFunctions.Table())) {
  checkEval_->OnParseError = [&core](evaluator::TTalvekComplexEval& sender) {
    core.ParseErrorMesssage(sender);
  };
  checkEval_->OnExecuteError = [&core](evaluator::TTalvekComplexEval& sender) {
    core.ExecuteErrorMesssage(sender);
  };
  for (const char* name : kInternalNames) {
    rows_.push_back(
        {evaluator::ToUpperAscii(name), std::string("_") + name, kInternalDescription, ""});
  }
  Refresh();
}

TConstantList::~TConstantList() = default;

std::int32_t TConstantList::Find(const std::string& name) const {
  const std::string trimmed = evaluator::TrimBlanks(name);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (evaluator::EqualsIgnoreCase(rows_[i].Name, trimmed))
      return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

app::TConstantEntry TConstantList::Entry(std::int32_t row) const {
  const TConstantRow& constant = Row(row);
  return {constant.Name, constant.Expression, constant.Description};
}

bool TConstantList::Store(std::int32_t row, const app::TConstantEntry& entry) {
  return AddConst(row, entry.name, entry.expression, entry.comment);
}

std::string TConstantList::NameList(std::int32_t skippedRow, const std::string& replacement) const {
  const evaluator::TTalvekComplexEval& constants = *core_.ConstantsEval;
  std::string names;
  auto append = [&names](const std::string& name) {
    if (!names.empty()) names += ',';
    names += name;
  };
  for (std::int32_t i = 1; i <= constants.VariableCount; ++i) {
    if (i != skippedRow) {
      append(constants.GetVariableName(i));
    } else if (!replacement.empty()) {
      append(replacement);
    }
  }
  if (skippedRow > constants.VariableCount && !replacement.empty()) append(replacement);
  return names;
}

std::string TConstantList::VectorText() const {
  std::string text;
  for (const TConstantRow& row : rows_) {
    if (!text.empty()) text += ',';
    text += row.Name + "=" + row.Expression;
  }
  return text;
}

bool TConstantList::AddConst(std::int32_t row, const std::string& rawName,
                             const std::string& expressionMemo, const std::string& description,
                             const std::string* functionVariableText) {
  if (row < 1 || row > NewRow()) return false;
  const bool isNew = row == NewRow();
  const std::string name = evaluator::TrimBlanks(rawName);
  evaluator::TTalvekComplexEval& check = *checkEval_;
  evaluator::TTalvekComplexEval& constants = *core_.ConstantsEval;

  // 1-3: the name must be a new identifier among the other constants.
  SetFixFlags(check, true);
  const std::string others = NameList(row, "");
  check.VerifySyntaxSemantics("Null", others, false);
  if (check.ErrorFlag) {
    prompt_.Message(kInvalidConstantName + others);
    return false;
  }
  if (!check.IsValidIdentName(name)) {
    prompt_.Message(check.ErrorMessage);
    return false;
  }

  // 4-5: the expression alone, over the current values, with every constant fixed.
  const std::string names = NameList(row, name);
  // The memo's lines are joined without separators, as one expression.
  const std::string expression = app::MemoAsOneLine(expressionMemo);
  check.VerifySyntaxSemantics(expression, names, false);
  if (check.ErrorFlag) {
    prompt_.Message(kInvalidExpression + expressionMemo);
    return false;
  }
  for (std::int32_t i = 1; i <= check.VariableCount; ++i) {
    TEvalValue* cell = check.VarVect[static_cast<std::size_t>(i - 1)].value;
    const bool current = i != row && i <= constants.VariableCount;
    *cell =
        current ? *constants.VarVect[static_cast<std::size_t>(i - 1)].value : TEvalValue::Null();
  }
  TEvalValue result;
  check.DoMathExpression(result);
  if (check.ErrorFlag || result.IsNull()) {
    prompt_.Message(kInvalidExpression + expressionMemo);
    return false;
  }

  // 6: the whole vector with the new row, as ConstantsEval will hold it.
  SetFixFlags(check, false);
  std::string vector;
  for (std::int32_t i = 1; i <= std::max(Count(), row); ++i) {
    if (i > 1) vector += ',';
    vector += i == row ? name + "=" + expression : Row(i).Name + "=" + Row(i).Expression;
  }
  const std::string refusal = kInvalidExpression + name + "=" + expression;
  check.VerifySyntaxSemantics(vector, names, false);
  TEvalValue** values = check.ErrorFlag ? nullptr : check.DoVectorOfMathExpressions();
  if (values == nullptr) {
    prompt_.Message(refusal);
    return false;
  }

  // 7: an internal constant feeds its setting; every setting must take its constant's value.
  if (row <= kInternalConstantCount) {
    if (!values[row - 1]->IsReal()) {
      prompt_.Message(refusal);
      return false;
    }
    std::array<double, kInternalConstantCount> saved{};
    for (int l = 1; l <= kInternalConstantCount; ++l)
      saved[l - 1] = core_.GetSetting(l);
    bool failed = false;
    for (int l = 1; l <= kInternalConstantCount; ++l) {
      const TEvalValue& value = *values[l - 1];
      core_.SetSetting(l, value.IsReal() ? value.real : std::nan(""));
      if (!app::ValuesEqual(TEvalValue::Real(core_.GetSetting(l)), value)) {
        const std::string shownName = l == row ? name : Row(l).Name;
        prompt_.Message(kInvalidValue + shownName + " = " + evaluator::ValueToText(value));
        failed = true;
      }
    }
    if (failed) {
      for (int l = 1; l <= kInternalConstantCount; ++l)
        core_.SetSetting(l, saved[l - 1]);
      return false;
    }
  }

  // 8-9: store the row and give ConstantsEval the new vector.
  if (isNew) rows_.push_back({});
  TConstantRow& stored = rows_[static_cast<std::size_t>(row - 1)];
  stored.Name = name;
  stored.Expression = expression;
  stored.Description = description;
  if (!ReparseConstants(vector, names)) prompt_.Message(kProgramingError);
  Refresh();

  // 10.
  ConstantsReplaced(functionVariableText, true);
  Changed = true;
  return true;
}

bool TConstantList::DeleteConsts(std::int32_t from, std::int32_t count,
                                 const std::string* functionVariableText) {
  if (from <= kInternalConstantCount) {
    prompt_.Message(kCannotDeleteInternal);
    return false;
  }
  if (count < 1) {
    prompt_.Message(kInvalidCount);
    return false;
  }
  if (!prompt_.Confirm(kAreYouSure)) return false;
  if (from > Count()) {
    prompt_.Message(kInvalidNumber);
    return false;
  }
  const std::int32_t last = std::min<std::int64_t>(std::int64_t{from} + count - 1, Count());
  auto deleted = [&](std::int32_t i) { return i >= from && i <= last; };

  // The check runs on the edit window's evaluator, so that ConstantsEval and the cells other
  // evaluators hold of it stay as they are whatever the check finds.
  evaluator::TTalvekComplexEval& check = *checkEval_;
  evaluator::TTalvekComplexEval& constants = *core_.ConstantsEval;
  std::string probe;
  for (std::int32_t i = 1; i <= Count(); ++i) {
    if (i > 1) probe += ',';
    probe += Row(i).Name + "=" + (deleted(i) ? std::string("nan") : Row(i).Expression);
  }
  SetFixFlags(check, false);
  check.VerifySyntaxSemanticsAutoVar(probe);
  TEvalValue** values = check.ErrorFlag ? nullptr : check.DoVectorOfMathExpressions();
  if (values == nullptr) {
    prompt_.Message(kProgramingErrorBang);
    return false;
  }
  for (std::int32_t i = 1; i <= Count(); ++i) {
    if (deleted(i)) continue;
    // A constant that was not-a-number already says nothing about what it depends on.
    const bool wasNaN = i <= constants.VariableCount &&
                        IsNaN(*constants.VarVect[static_cast<std::size_t>(i - 1)].value);
    if (IsNaN(*values[i - 1]) && !wasNaN) {
      prompt_.Message(kDependence + Row(i).Name);
      return false;
    }
  }

  std::vector<TConstantRow> remaining;
  remaining.reserve(rows_.size());
  for (std::int32_t i = 1; i <= Count(); ++i) {
    if (!deleted(i)) remaining.push_back(Row(i));
  }
  // The rows as they will stand must parse and run on their own before ConstantsEval takes
  // them: a remaining constant that was already not-a-number may still name a deleted one.
  std::string vector;
  std::string names;
  for (const TConstantRow& row : remaining) {
    if (!vector.empty()) vector += ',';
    if (!names.empty()) names += ',';
    vector += row.Name + "=" + row.Expression;
    names += row.Name;
  }
  check.VerifySyntaxSemantics(vector, names, false);
  if (check.ErrorFlag || check.DoVectorOfMathExpressions() == nullptr) {
    prompt_.Message(kProgramingErrorBang);
    return false;
  }

  rows_ = std::move(remaining);
  if (!ReparseConstants(vector, "")) prompt_.Message(kProgramingErrorBang);
  Refresh();
  ConstantsReplaced(functionVariableText, false);
  Changed = true;
  return true;
}

void TConstantList::Refresh() {
  evaluator::TTalvekComplexEval& constants = *core_.ConstantsEval;
  TEvalValue** values = constants.DoVectorOfMathExpressions();
  for (std::int32_t i = 1; i <= Count(); ++i) {
    TConstantRow& row = rows_[static_cast<std::size_t>(i - 1)];
    row.Value =
        values != nullptr && i <= constants.VariableCount
            ? evaluator::ValueToText(*constants.VarVect[static_cast<std::size_t>(i - 1)].value)
            : "";
  }
}

void TConstantList::Reset() {
  rows_.resize(kInternalConstantCount);
  std::string text;
  for (std::size_t i = 0; i < kInternalNames.size(); ++i) {
    rows_[i] = {evaluator::ToUpperAscii(kInternalNames[i]), std::string("_") + kInternalNames[i],
                kInternalDescription, ""};
    if (i > 0) text += ',';
    text += std::string(kInternalNames[i]) + "=_" + kInternalNames[i];
  }
  ReparseConstants(text, "");
  Refresh();
  ConstantsReplaced(nullptr, true);
}

bool TConstantList::ReparseConstants(const std::string& text, const std::string& names) {
  evaluator::TTalvekComplexEval& constants = *core_.ConstantsEval;
  SetFixFlags(constants, false);
  if (names.empty()) {
    constants.VerifySyntaxSemanticsAutoVar(text);
  } else {
    constants.VerifySyntaxSemantics(text, names, false);
  }
  const bool ok = !constants.ErrorFlag && constants.DoVectorOfMathExpressions() != nullptr;
  SetFixFlags(constants, true);
  return ok;
}

void TConstantList::ConstantsReplaced(const std::string* functionVariableText, bool both) {
  // DefinitionsEval and the expressions handed on from it pointed at the cells ConstantsEval
  // has just freed; they stay unusable until the next definitions pass.
  core_.ExpressionVariables.clear();
  core_.ExpressionsEval->Release();
  core_.DefinitionsEval->Release();
  core_.DefinitionsError = true;
  if (both || functionVariableText == nullptr) core_.SetFunctionVariable(core_.FunctionVariable);
  if (functionVariableText != nullptr) core_.SetFunctionVariable(*functionVariableText);
}

}  // namespace constants
