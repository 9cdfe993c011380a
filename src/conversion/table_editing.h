// The editing rules of the conversion definition window and its dialogs: categories and units
// added, renamed, merged and deleted, a definition checked before it is stored, and a block of
// definitions deleted. The windows only read their widgets and call these.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_prompt.h"
#include "conversion/unit_conversion.h"
#include "evaluator/complex_eval.h"

namespace conversion {

using app::kAreYouSure;
using app::kInvalidCount;
using app::kInvalidNumber;

inline constexpr const char* kEmptyName = "Unit definition cannot be an empty string";
inline constexpr const char* kDeleteAllDefinitions = "Please delete all definitions";
inline constexpr const char* kSelectItems = "Please select items in ComboBox";
inline constexpr const char* kItemsMustDiffer = "Items must be diferent";
inline constexpr const char* kInsertUnitA = "Please insert an unit in ComboBox A";
// A ":" separates the fields of a ".cnv" key line, so a unit name holding one would not read
// back as it was written.
inline constexpr const char* kColonInUnit = "Unit name cannot contain ':'";

// The unit a number edit of the definition editor names among `count` units: its 0-based
// position, or -1 when the text is empty, not an integer, below 1 or beyond the list.
struct TUnitNumber {
  std::int32_t unit = -1;
  bool notInteger = false;  // the edit is then reset to "0"
};
TUnitNumber UnitFromNumber(std::string_view text, std::int32_t count);

// Every change goes through the conversion's EditTable, so that it locks the conversion until
// the next check. A refusal is shown through the prompt and changes nothing.
class TTableEditor {
 public:
  // Both must outlive the editor.
  TTableEditor(TUnitConversion& conversion, app::TUserPrompt& prompt);
  ~TTableEditor();

  // ---- Categories: the category's new index, or nothing after a message -------------------
  std::optional<std::int32_t> AddCategory(const std::string& name);
  std::optional<std::int32_t> RenameCategory(std::int32_t category, const std::string& name);
  // Removes a category without definitions; one with definitions is refused.
  bool DeleteCategory(std::int32_t category);

  // ---- Units of a category -------------------------------------------------------------------
  // Inserts a new unit (trimmed name) at its sorted place, its picture position (20, 20); a
  // name that is a unit already changes nothing. The unit's position, or nothing after a
  // message.
  std::optional<std::int32_t> AddUnit(std::int32_t category, const std::string& name);
  // Renames unit `unit` (merging it into a unit of that name), or with an empty trimmed name
  // deletes it when no definition uses it. Returns, for each definition before the change, its
  // index after it (-1 for a deleted one), or nothing when nothing changed.
  std::optional<std::vector<std::int32_t>> EditUnit(std::int32_t category, std::int32_t unit,
                                                    const std::string& name);

  // ---- Definitions ---------------------------------------------------------------------------
  // The editor's checks of a definition between units `unitA` and `unitB` (-1: none chosen):
  // both chosen and different, and both expressions parse, are linear and depend on x.
  bool CheckDefinition(std::int32_t unitA, std::int32_t unitB, const std::string& aToB,
                       const std::string& bToA);
  // Appends a definition and returns its index.
  std::int32_t AddDefinition(std::int32_t category, std::int32_t unitA, std::int32_t unitB,
                             const std::string& aToB, const std::string& bToA);
  void EditDefinition(std::int32_t category, std::int32_t definition, std::int32_t unitA,
                      std::int32_t unitB, const std::string& aToB, const std::string& bToA);
  // Deletes at most `count` definitions from number `from` (1-based) on, after "ARE YOU SURE ?";
  // true when they were deleted.
  bool DeleteDefinitions(std::int32_t category, std::int32_t from, std::int32_t count);

 private:
  // Parses one direction with the checking evaluator; messages behind `prefix`.
  bool CheckExpression(const std::string& text, const char* prefix, const char* notLinear,
                       const char* withoutX);

  TUnitConversion& conversion_;
  app::TUserPrompt& prompt_;
  std::unique_ptr<evaluator::TTalvekComplexEval> checker_;
};

}  // namespace conversion
