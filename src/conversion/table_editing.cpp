// TTableEditor and the definition editor's unit numbers.
#include "conversion/table_editing.h"

#include <algorithm>
#include <charconv>

#include "app/error_messages.h"
#include "evaluator/text_utils.h"

namespace conversion {

namespace {

using evaluator::TTalvekComplexEval;

// The picture position of a unit made in the editor, until it is dragged.
constexpr std::int32_t kNewUnitPosition = 20;

}  // namespace

TUnitNumber UnitFromNumber(std::string_view text, std::int32_t count) {
  TUnitNumber number;
  const std::string trimmed = evaluator::TrimBlanks(text);
  if (trimmed.empty()) return number;
  std::string_view digits = trimmed;
  if (digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    number.notInteger = true;
    return number;
  }
  if (value >= 1 && value <= count) number.unit = static_cast<std::int32_t>(value - 1);
  return number;
}

TTableEditor::TTableEditor(TUnitConversion& conversion, app::TUserPrompt& prompt)
    : conversion_(conversion), prompt_(prompt), checker_(std::make_unique<TTalvekComplexEval>()) {
  // Checked as the definitions themselves are compiled.
  checker_->FixDigitEndingNames = true;
  checker_->FixLetterEndingNames = true;
  checker_->OnParseError = [this](TTalvekComplexEval& sender) {
    prompt_.Message(conversion_.MessagePrefix + app::ParseErrorMessage(sender));
  };
}

TTableEditor::~TTableEditor() = default;

// ---- Categories ------------------------------------------------------------------------------

std::optional<std::int32_t> TTableEditor::AddCategory(const std::string& name) {
  const std::string trimmed = evaluator::TrimBlanks(name);
  if (trimmed.empty()) {
    prompt_.Message(kEmptyName);
    return std::nullopt;
  }
  if (conversion_.Table().Find(trimmed) >= 0) {
    prompt_.Message(kDuplicateCategory + trimmed);
    return std::nullopt;
  }
  return conversion_.EditTable().Add(trimmed);
}

std::optional<std::int32_t> TTableEditor::RenameCategory(std::int32_t category,
                                                         const std::string& name) {
  const std::string trimmed = evaluator::TrimBlanks(name);
  // A category without a name would be written as "[]" and could not be told apart.
  if (trimmed.empty()) {
    prompt_.Message(kEmptyName);
    return std::nullopt;
  }
  if (category < 0 || category >= conversion_.Table().Count()) return std::nullopt;
  const std::int32_t existing = conversion_.Table().Find(trimmed);
  if (existing >= 0 && existing != category) {
    prompt_.Message(kDuplicateCategory + trimmed);
    return std::nullopt;
  }
  return conversion_.EditTable().Rename(category, trimmed);
}

bool TTableEditor::DeleteCategory(std::int32_t category) {
  if (category < 0 || category >= conversion_.Table().Count()) return false;
  if (!conversion_.Table().At(category).list.Definitions.empty()) {
    prompt_.Message(kDeleteAllDefinitions);
    return false;
  }
  conversion_.EditTable().Remove(category);
  return true;
}

// ---- Units -----------------------------------------------------------------------------------

std::optional<std::int32_t> TTableEditor::AddUnit(std::int32_t category, const std::string& name) {
  if (category < 0 || category >= conversion_.Table().Count()) return std::nullopt;
  const std::string trimmed = evaluator::TrimBlanks(name);
  // A unit without a name would make a key line that reading skips.
  if (trimmed.empty()) {
    prompt_.Message(kEmptyName);
    return std::nullopt;
  }
  if (trimmed.find(':') != std::string::npos) {
    prompt_.Message(kColonInUnit);
    return std::nullopt;
  }
  const std::int32_t existing = conversion_.Table().At(category).list.FindUnit(trimmed);
  if (existing >= 0) return existing;
  return conversion_.EditTable().At(category).list.AddUnit(trimmed, kNewUnitPosition,
                                                           kNewUnitPosition);
}

std::optional<std::vector<std::int32_t>> TTableEditor::EditUnit(std::int32_t category,
                                                                std::int32_t unit,
                                                                const std::string& name) {
  if (category < 0 || category >= conversion_.Table().Count()) return std::nullopt;
  const TRecList& list = conversion_.Table().At(category).list;
  if (unit < 0 || unit >= list.UnitCount()) {
    prompt_.Message(kInsertUnitA);
    return std::nullopt;
  }
  const std::string trimmed = evaluator::TrimBlanks(name);
  if (trimmed.find(':') != std::string::npos) {
    prompt_.Message(kColonInUnit);
    return std::nullopt;
  }
  if (!trimmed.empty()) return conversion_.EditTable().At(category).list.RenameUnit(unit, trimmed);
  // A unit in use stays.
  for (const TConversionDefinition& definition : list.Definitions) {
    if (definition.unitA == unit || definition.unitB == unit) return std::nullopt;
  }
  conversion_.EditTable().At(category).list.RemoveUnit(unit);
  std::vector<std::int32_t> unchanged(list.Definitions.size());
  for (std::size_t k = 0; k < unchanged.size(); ++k)
    unchanged[k] = static_cast<std::int32_t>(k);
  return unchanged;
}

// ---- Definitions -----------------------------------------------------------------------------

bool TTableEditor::CheckExpression(const std::string& text, const char* prefix,
                                   const char* notLinear, const char* withoutX) {
  conversion_.MessagePrefix = prefix;
  checker_->VerifySyntaxSemantics(text, "x", false);
  bool passed = !checker_->ErrorFlag;
  if (passed && !checker_->LinearExpression) {
    prompt_.Message(conversion_.MessagePrefix + notLinear);
    passed = false;
  } else if (passed && !checker_->ResultDependent) {
    prompt_.Message(conversion_.MessagePrefix + withoutX);
    passed = false;
  }
  conversion_.MessagePrefix.clear();
  return passed;
}

bool TTableEditor::CheckDefinition(std::int32_t unitA, std::int32_t unitB, const std::string& aToB,
                                   const std::string& bToA) {
  if (unitA < 0 || unitB < 0) {
    prompt_.Message(kSelectItems);
    return false;
  }
  if (unitA == unitB) {
    prompt_.Message(kItemsMustDiffer);
    return false;
  }
  return CheckExpression(aToB, "A => B : ", " Expression must be linear",
                         " Expression must contain variable x") &&
         CheckExpression(bToA, "B => A : ", "Expression must be linear",
                         "Expression must contain variable x");
}

std::int32_t TTableEditor::AddDefinition(std::int32_t category, std::int32_t unitA,
                                         std::int32_t unitB, const std::string& aToB,
                                         const std::string& bToA) {
  TRecList& list = conversion_.EditTable().At(category).list;
  list.AddDefinition(unitA, unitB, aToB, bToA);
  return static_cast<std::int32_t>(list.Definitions.size()) - 1;
}

void TTableEditor::EditDefinition(std::int32_t category, std::int32_t definition,
                                  std::int32_t unitA, std::int32_t unitB, const std::string& aToB,
                                  const std::string& bToA) {
  TConversionDefinition& edited =
      conversion_.EditTable().At(category).list.Definitions[static_cast<std::size_t>(definition)];
  edited.unitA = unitA;
  edited.unitB = unitB;
  edited.aToB = aToB;
  edited.bToA = bToA;
}

bool TTableEditor::DeleteDefinitions(std::int32_t category, std::int32_t from, std::int32_t count) {
  if (category < 0 || category >= conversion_.Table().Count()) return false;
  const auto size =
      static_cast<std::int32_t>(conversion_.Table().At(category).list.Definitions.size());
  if (!app::ConfirmBlockDelete(prompt_, from, count, size)) return false;
  std::vector<TConversionDefinition>& definitions =
      conversion_.EditTable().At(category).list.Definitions;
  const auto last =
      static_cast<std::int32_t>(std::min<std::int64_t>(size, std::int64_t{from} - 1 + count));
  definitions.erase(definitions.begin() + (from - 1), definitions.begin() + last);
  return true;
}

}  // namespace conversion
