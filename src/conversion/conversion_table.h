// The table of conversion definitions in memory: categories sorted without regard to case, each
// with its definitions (TRecList) and its sorted unit list, and the key-line form of the ".cnv"
// file in which the table is kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "evaluator/complex_eval.h"

namespace conversion {

// Orders names as the lists do: byte by byte with ASCII letters folded to lower case. Names
// that compare equal are the same name.
int CompareNames(std::string_view a, std::string_view b);

struct TCnvSection;
class TCategoryList;

// A unit's place in the graph picture and, after a check, its paths to the other units.
struct TCoordPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  // For every unit of the category (by 0-based position): the last arc of the chosen shortest
  // path from this unit to that one, 0 when there is none. The paths from one unit form a
  // tree, so the whole path is read back arc by arc (TRecList::StoredPath). Empty until the
  // category's paths are stored.
  std::vector<std::int32_t> pathEnds;
};

struct TUnit {
  std::string name;
  TCoordPoint point;
};

// One definition: two units of the category (positions in its unit list) and the expressions
// in x for both directions, each with the evaluator that holds it compiled.
class TConversionDefinition {
 public:
  TConversionDefinition(std::int32_t unitA, std::int32_t unitB, std::string aToB, std::string bToA);

  std::int32_t unitA;
  std::int32_t unitB;
  std::string aToB;  // turns x measured in Unit A into Unit B
  std::string bToA;  // and back
  // Created without application functions; names ending in a digit or a letter are fixed.
  std::unique_ptr<evaluator::TTalvekComplexEval> evalAToB;
  std::unique_ptr<evaluator::TTalvekComplexEval> evalBToA;
};

// The definitions of one category and its units.
class TRecList {
 public:
  std::vector<TConversionDefinition> Definitions;

  const std::vector<TUnit>& Units() const { return units_; }
  TUnit& Unit(std::int32_t position) { return units_[static_cast<std::size_t>(position)]; }
  const TUnit& Unit(std::int32_t position) const {
    return units_[static_cast<std::size_t>(position)];
  }
  std::int32_t UnitCount() const { return static_cast<std::int32_t>(units_.size()); }

  // The position of the unit of that name (any case), or -1.
  std::int32_t FindUnit(std::string_view name) const;
  // Inserts the unit at its sorted place with the given picture position and moves the
  // definitions' unit positions at or after it up by one. A name that is already a unit (any
  // case) is left as it is. Returns the unit's position.
  std::int32_t AddUnit(const std::string& name, std::int32_t x, std::int32_t y);
  // Appends a definition between two units of the list.
  void AddDefinition(std::int32_t unitA, std::int32_t unitB, std::string aToB, std::string bToA);
  // Gives unit `position` the name `name` and moves it to its sorted place. When another unit
  // has that name (any case) the two become that other unit, and every definition that would
  // then link a unit with itself is deleted. Returns, for each definition before the change,
  // its index after it, or -1 for a deleted one.
  std::vector<std::int32_t> RenameUnit(std::int32_t position, const std::string& name);
  // Removes a unit that no definition uses, moving the positions after it down by one; false,
  // and nothing changed, when a definition uses it.
  bool RemoveUnit(std::int32_t position);

  // The stored path from unit `from` to unit `to` (0-based positions) as arc numbers in order
  // from `from`; empty when there is none or nothing is stored.
  std::vector<std::int32_t> StoredPath(std::int32_t from, std::int32_t to) const;
  // The path from `from` to `to` read back from the last arcs of the paths from `from`.
  std::vector<std::int32_t> PathFromEnds(const std::vector<std::int32_t>& ends, std::int32_t from,
                                         std::int32_t to) const;
  void ClearStoredPaths();

 private:
  // Reading fills the unit list in one go (inserting one by one costs time quadratic in the
  // number of units).
  friend std::optional<std::string> ReadSections(const std::vector<TCnvSection>& sections,
                                                 TCategoryList& table);
  std::vector<TUnit> units_;
};

struct TCategory {
  std::string name;
  TRecList list;
};

// The category list, sorted without regard to case.
class TCategoryList {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(categories_.size()); }
  TCategory& At(std::int32_t index) { return *categories_[static_cast<std::size_t>(index)]; }
  const TCategory& At(std::int32_t index) const {
    return *categories_[static_cast<std::size_t>(index)];
  }
  // The index of the category of that name (any case), or -1.
  std::int32_t Find(std::string_view name) const;
  // Adds an empty category at its sorted place and returns its index; nothing when a category
  // of that name (any case) exists already.
  std::optional<std::int32_t> Add(const std::string& name);
  // Renames and re-sorts; returns the new index, or nothing (and no change) when another
  // category has that name.
  std::optional<std::int32_t> Rename(std::int32_t index, const std::string& name);
  void Remove(std::int32_t index);
  // Discards every category, definition, unit and evaluator.
  void FreeStringList() { categories_.clear(); }

 private:
  std::vector<std::unique_ptr<TCategory>> categories_;
};

// The text of the refused duplicate category.
inline constexpr const char* kDuplicateCategory = "Unit category already exists : ";

// ---- The ".cnv" form: one section per category, one key line per definition ----------------

// A definition as one key line carries it.
struct TKeyLine {
  std::string unitA;
  std::string unitB;
  std::string aToB;
  std::string bToA;
  std::int32_t xA = 0, yA = 0, xB = 0, yB = 0;
};

// Reads the text after a key line's "=" field by field at each ":" (see the file format in the
// README); a field that is not an integer leaves its coordinate at 0.
TKeyLine ParseKeyLine(std::string_view value);
// The text after "=" of the key line of definition `definition` of `list`, with the current
// positions of its units.
std::string KeyLineValue(const TRecList& list, const TConversionDefinition& definition);

// One section as the INI module gives it: its name and the values of its key lines.
struct TCnvSection {
  std::string name;
  std::vector<std::string> values;
};

inline constexpr const char* kInternalError = "Internal Error";

// The most definitions a table read from a file may hold. Each definition keeps two compiled
// expressions (some 35 kilobytes together once checked); a file far beyond any real table is
// refused rather than filling the memory.
inline constexpr std::int32_t kMaxDefinitions = 5000;
inline constexpr const char* kTooManyTableDefinitions = "Too many conversion definitions, at most ";

// Builds a table from the sections in file order. Lines with an empty unit are skipped; a unit
// keeps the position of its first line; sections that name one category (any case) add to it.
// With more than kMaxDefinitions definitions, returns the message and leaves `table` as it
// was; when a definition's unit cannot be resolved, returns "Internal Error" and leaves `table`
// empty.
std::optional<std::string> ReadSections(const std::vector<TCnvSection>& sections,
                                        TCategoryList& table);
// The table as sections: categories in list order, definitions in table order.
std::vector<TCnvSection> WriteSections(const TCategoryList& table);

// The shipped table as sections, and loaded into `table`.
std::vector<TCnvSection> DefaultSections();
void LoadDefaultTable(TCategoryList& table);

}  // namespace conversion
