// The category list, its definition lists and units, and the ".cnv" key lines.
#include "conversion/conversion_table.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <utility>

#include "conversion/default_conversions.h"
#include "evaluator/text_utils.h"

namespace conversion {

namespace {

using evaluator::TTalvekComplexEval;

std::unique_ptr<TTalvekComplexEval> NewDefinitionEvaluator() {
  auto eval = std::make_unique<TTalvekComplexEval>();
  eval->FixDigitEndingNames = true;
  eval->FixLetterEndingNames = true;
  return eval;
}

// The text before the next ":" (trimmed), the rest kept after it; an empty field and the rest
// unchanged when there is no ":".
std::string NextField(std::string_view& rest, bool& found) {
  const std::size_t colon = rest.find(':');
  found = colon != std::string_view::npos;
  if (!found) return {};
  std::string field = evaluator::TrimBlanks(rest.substr(0, colon));
  rest.remove_prefix(colon + 1);
  return field;
}

std::int32_t IntegerOrZero(std::string_view text) {
  const std::string trimmed = evaluator::TrimBlanks(text);
  std::string_view digits = trimmed;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return 0;
  return value;
}

template <typename T>
std::int32_t LowerBoundByName(const std::vector<T>& items, std::string_view name,
                              std::string_view (*nameOf)(const T&)) {
  const auto it = std::lower_bound(items.begin(), items.end(), name, [&](const T& item, auto key) {
    return CompareNames(nameOf(item), key) < 0;
  });
  return static_cast<std::int32_t>(it - items.begin());
}

struct TNameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return CompareNames(a, b) < 0; }
};

std::string_view UnitName(const TUnit& unit) {
  return unit.name;
}
std::string_view CategoryName(const std::unique_ptr<TCategory>& category) {
  return category->name;
}

}  // namespace

int CompareNames(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(evaluator::AsciiLower(a[i]));
    const auto cb = static_cast<unsigned char>(evaluator::AsciiLower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// ---- Definitions and units -------------------------------------------------------------------

TConversionDefinition::TConversionDefinition(std::int32_t unitA, std::int32_t unitB,
                                             std::string aToB, std::string bToA)
    : unitA(unitA),
      unitB(unitB),
      aToB(std::move(aToB)),
      bToA(std::move(bToA)),
      evalAToB(NewDefinitionEvaluator()),
      evalBToA(NewDefinitionEvaluator()) {}

std::int32_t TRecList::FindUnit(std::string_view name) const {
  const std::int32_t at = LowerBoundByName(units_, name, UnitName);
  if (at < UnitCount() && CompareNames(units_[static_cast<std::size_t>(at)].name, name) == 0) {
    return at;
  }
  return -1;
}

std::int32_t TRecList::AddUnit(const std::string& name, std::int32_t x, std::int32_t y) {
  const std::int32_t at = LowerBoundByName(units_, name, UnitName);
  if (at < UnitCount() && CompareNames(units_[static_cast<std::size_t>(at)].name, name) == 0) {
    return at;
  }
  units_.insert(units_.begin() + at, TUnit{name, TCoordPoint{x, y, {}}});
  for (TConversionDefinition& definition : Definitions) {
    if (definition.unitA >= at) ++definition.unitA;
    if (definition.unitB >= at) ++definition.unitB;
  }
  // Paths are stored by position: those stored before the insertion no longer fit.
  ClearStoredPaths();
  return at;
}

void TRecList::AddDefinition(std::int32_t unitA, std::int32_t unitB, std::string aToB,
                             std::string bToA) {
  Definitions.emplace_back(unitA, unitB, std::move(aToB), std::move(bToA));
}

std::vector<std::int32_t> TRecList::RenameUnit(std::int32_t position, const std::string& name) {
  const std::int32_t other = FindUnit(name);
  const bool merge = other >= 0 && other != position;
  if (!merge) units_[static_cast<std::size_t>(position)].name = name;
  // The units in their new order, by old position; a merged unit goes where the other one goes.
  std::vector<std::int32_t> order;
  order.reserve(units_.size());
  for (std::int32_t u = 0; u < UnitCount(); ++u) {
    if (!merge || u != position) order.push_back(u);
  }
  std::stable_sort(order.begin(), order.end(), [this](std::int32_t a, std::int32_t b) {
    return CompareNames(Unit(a).name, Unit(b).name) < 0;
  });
  std::vector<std::int32_t> moved(units_.size(), -1);
  std::vector<TUnit> sorted;
  sorted.reserve(order.size());
  for (const std::int32_t old : order) {
    moved[static_cast<std::size_t>(old)] = static_cast<std::int32_t>(sorted.size());
    sorted.push_back(std::move(units_[static_cast<std::size_t>(old)]));
  }
  if (merge) moved[static_cast<std::size_t>(position)] = moved[static_cast<std::size_t>(other)];
  units_ = std::move(sorted);

  std::vector<std::int32_t> definitionMap(Definitions.size(), -1);
  std::vector<TConversionDefinition> kept;
  kept.reserve(Definitions.size());
  for (std::size_t k = 0; k < Definitions.size(); ++k) {
    TConversionDefinition& definition = Definitions[k];
    definition.unitA = moved[static_cast<std::size_t>(definition.unitA)];
    definition.unitB = moved[static_cast<std::size_t>(definition.unitB)];
    if (definition.unitA == definition.unitB) continue;
    definitionMap[k] = static_cast<std::int32_t>(kept.size());
    kept.push_back(std::move(definition));
  }
  Definitions = std::move(kept);
  ClearStoredPaths();
  return definitionMap;
}

bool TRecList::RemoveUnit(std::int32_t position) {
  for (const TConversionDefinition& definition : Definitions) {
    if (definition.unitA == position || definition.unitB == position) return false;
  }
  units_.erase(units_.begin() + position);
  for (TConversionDefinition& definition : Definitions) {
    if (definition.unitA > position) --definition.unitA;
    if (definition.unitB > position) --definition.unitB;
  }
  ClearStoredPaths();
  return true;
}

std::vector<std::int32_t> TRecList::StoredPath(std::int32_t from, std::int32_t to) const {
  std::vector<std::int32_t> path;
  if (from < 0 || from >= UnitCount() || to < 0 || to >= UnitCount()) return path;
  return PathFromEnds(Unit(from).point.pathEnds, from, to);
}

std::vector<std::int32_t> TRecList::PathFromEnds(const std::vector<std::int32_t>& ends,
                                                 std::int32_t from, std::int32_t to) const {
  std::vector<std::int32_t> path;
  if (ends.size() != units_.size() || from < 0 || from >= UnitCount() || to < 0 ||
      to >= UnitCount()) {
    return path;
  }
  // Walk back from the target along the last arcs until the start is reached; a path visits
  // each unit at most once, the start at most twice (out and back), so the walk is bounded.
  std::int32_t at = to;
  for (std::size_t guard = 0; guard <= units_.size(); ++guard) {
    const std::int32_t arc = ends[static_cast<std::size_t>(at)];
    if (arc <= 0) return {};
    const std::size_t definition = static_cast<std::size_t>(arc - 1) / 2;
    if (definition >= Definitions.size()) return {};
    const TConversionDefinition& link = Definitions[definition];
    const std::int32_t previous = (arc % 2 == 1) ? link.unitA : link.unitB;
    path.push_back(arc);
    if (previous == from) {
      std::reverse(path.begin(), path.end());
      return path;
    }
    at = previous;
  }
  return {};
}

void TRecList::ClearStoredPaths() {
  for (TUnit& unit : units_)
    unit.point.pathEnds.clear();
}

// ---- Categories ------------------------------------------------------------------------------

std::int32_t TCategoryList::Find(std::string_view name) const {
  const std::int32_t at = LowerBoundByName(categories_, name, CategoryName);
  if (at < Count() && CompareNames(At(at).name, name) == 0) return at;
  return -1;
}

std::optional<std::int32_t> TCategoryList::Add(const std::string& name) {
  if (Find(name) >= 0) return std::nullopt;
  const std::int32_t at = LowerBoundByName(categories_, name, CategoryName);
  auto category = std::make_unique<TCategory>();
  category->name = name;
  categories_.insert(categories_.begin() + at, std::move(category));
  return at;
}

std::optional<std::int32_t> TCategoryList::Rename(std::int32_t index, const std::string& name) {
  const std::int32_t existing = Find(name);
  if (existing >= 0 && existing != index) return std::nullopt;
  std::unique_ptr<TCategory> category = std::move(categories_[static_cast<std::size_t>(index)]);
  categories_.erase(categories_.begin() + index);
  category->name = name;
  const std::int32_t at = LowerBoundByName(categories_, name, CategoryName);
  categories_.insert(categories_.begin() + at, std::move(category));
  return at;
}

void TCategoryList::Remove(std::int32_t index) {
  categories_.erase(categories_.begin() + index);
}

// ---- Key lines -------------------------------------------------------------------------------

TKeyLine ParseKeyLine(std::string_view value) {
  TKeyLine line;
  std::string_view rest = value;
  bool found = false;
  line.unitA = NextField(rest, found);
  line.unitB = NextField(rest, found);
  line.aToB = NextField(rest, found);
  line.bToA = NextField(rest, found);
  if (!found) {
    line.bToA = evaluator::TrimBlanks(rest);
    return line;
  }
  bool anyColon = false;
  std::int32_t* const coordinates[] = {&line.xA, &line.yA, &line.xB};
  for (std::int32_t* coordinate : coordinates) {
    const std::string field = NextField(rest, found);
    anyColon = anyColon || found;
    *coordinate = IntegerOrZero(field);
  }
  if (anyColon) line.yB = IntegerOrZero(rest);
  return line;
}

std::string KeyLineValue(const TRecList& list, const TConversionDefinition& definition) {
  const TUnit& a = list.Unit(definition.unitA);
  const TUnit& b = list.Unit(definition.unitB);
  return a.name + " : " + b.name + " : " + definition.aToB + " : " + definition.bToA + " : " +
         std::to_string(a.point.x) + " : " + std::to_string(a.point.y) + " : " +
         std::to_string(b.point.x) + " : " + std::to_string(b.point.y);
}

std::optional<std::string> ReadSections(const std::vector<TCnvSection>& sections,
                                        TCategoryList& table) {
  TCategoryList read;
  // Each category's units with the position of the first line that names them, sorted; the
  // definitions are linked to their units by name once every unit is known.
  std::map<std::string, std::map<std::string, TCoordPoint, TNameLess>, TNameLess> units;
  struct TPending {
    const std::string* category;  // the section's name
    TKeyLine line;
  };
  std::vector<TPending> pending;
  for (const TCnvSection& section : sections) {
    if (read.Find(section.name) < 0) read.Add(section.name);
    auto& known = units[section.name];
    for (const std::string& value : section.values) {
      TKeyLine line = ParseKeyLine(value);
      if (line.unitA.empty() || line.unitB.empty()) continue;
      known.emplace(line.unitA, TCoordPoint{line.xA, line.yA, {}});
      known.emplace(line.unitB, TCoordPoint{line.xB, line.yB, {}});
      pending.push_back({&section.name, std::move(line)});
    }
  }
  if (pending.size() > static_cast<std::size_t>(kMaxDefinitions)) {
    return kTooManyTableDefinitions + std::to_string(kMaxDefinitions);
  }
  for (auto& [category, known] : units) {
    std::vector<TUnit>& list = read.At(read.Find(category)).list.units_;
    list.reserve(known.size());
    for (auto& [name, point] : known)
      list.push_back(TUnit{name, std::move(point)});
  }
  for (TPending& item : pending) {
    TRecList& list = read.At(read.Find(*item.category)).list;
    const std::int32_t a = list.FindUnit(item.line.unitA);
    const std::int32_t b = list.FindUnit(item.line.unitB);
    if (a < 0 || b < 0) {
      table.FreeStringList();
      return std::string(kInternalError);
    }
    list.AddDefinition(a, b, std::move(item.line.aToB), std::move(item.line.bToA));
  }
  table = std::move(read);
  return std::nullopt;
}

std::vector<TCnvSection> WriteSections(const TCategoryList& table) {
  std::vector<TCnvSection> sections;
  sections.reserve(static_cast<std::size_t>(table.Count()));
  for (std::int32_t c = 0; c < table.Count(); ++c) {
    const TCategory& category = table.At(c);
    TCnvSection section{category.name, {}};
    for (const TConversionDefinition& definition : category.list.Definitions) {
      section.values.push_back(KeyLineValue(category.list, definition));
    }
    sections.push_back(std::move(section));
  }
  return sections;
}

// ---- The shipped table -----------------------------------------------------------------------

std::vector<TCnvSection> DefaultSections() {
  std::vector<TCnvSection> sections;
  for (const TDefaultDefinition& row : DefaultDefinitions()) {
    if (sections.empty() || sections.back().name != row.category) {
      sections.push_back({row.category, {}});
    }
    sections.back().values.push_back(std::string(row.unitA) + " : " + row.unitB + " : " + row.aToB +
                                     " : " + row.bToA + " : " + std::to_string(row.xA) + " : " +
                                     std::to_string(row.yA) + " : " + std::to_string(row.xB) +
                                     " : " + std::to_string(row.yB));
  }
  return sections;
}

void LoadDefaultTable(TCategoryList& table) {
  ReadSections(DefaultSections(), table);
}

}  // namespace conversion
