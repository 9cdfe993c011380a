// The built-in element data checked against the rules of the periodic table it draws: numbers,
// positions, periods, categories, states, flags, oxidation states and the property texts.
#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <set>

#include "periodic/periodic_table.h"

namespace periodic {
namespace {

const std::vector<TElementRec>& Elements() {
  return BuiltInElements();
}
const TElementRec& Element(int number) {
  return Elements().at(number - 1);
}

bool In(const std::string& symbol, std::initializer_list<const char*> symbols) {
  for (const char* s : symbols) {
    if (symbol == s) return true;
  }
  return false;
}

bool IsSeriesMember(int n) {
  return (n >= 58 && n <= 71) || (n >= 90 && n <= 103);
}

TEST(ElementDataTest, HoldsHydrogenToMeitneriumOnceEach) {
  ASSERT_EQ(Elements().size(), 109u);
  std::set<std::string> symbols;
  for (std::size_t i = 0; i < Elements().size(); ++i) {
    EXPECT_EQ(Elements()[i].Number, i + 1);
    EXPECT_TRUE(symbols.insert(Elements()[i].Symbol).second) << Elements()[i].Symbol;
    EXPECT_FALSE(Elements()[i].Name.empty());
    EXPECT_TRUE(Elements()[i].Values.empty());
  }
  EXPECT_EQ(Element(1).Symbol, "H");
  EXPECT_EQ(Element(109).Symbol, "Mt");
  EXPECT_EQ(Element(46).Name, "Palladim");
  EXPECT_EQ(Element(16).Name, "Sulphur");
  EXPECT_EQ(Element(13).Name, "Aluminium");
  EXPECT_EQ(Element(55).Name, "Cesium");
}

TEST(ElementDataTest, GroupsAndPeriodsFollowTheShellsAndEveryCellIsDistinct) {
  // The last atomic number of each period, and the noble gas closing it sits in group 18.
  const int periodEnds[] = {2, 10, 18, 36, 54, 86, 118};
  std::set<std::pair<int, int>> cells;
  for (const TElementRec& e : Elements()) {
    const TCellPosition position = PositionOf(e);
    EXPECT_TRUE(TPeriodicTable::InGrid(position)) << e.Symbol;
    EXPECT_TRUE(cells.insert({position.Row, position.Column}).second) << e.Symbol;
    if (IsSeriesMember(e.Number)) {
      EXPECT_EQ(e.Group, 0) << e.Symbol;
      EXPECT_EQ(e.Period, 0) << e.Symbol;
      const int first = e.Number < 90 ? 58 : 90;
      EXPECT_EQ(position, (TCellPosition{e.Number < 90 ? 8 : 9, e.Number - first + 3}));
      continue;
    }
    int period = 1;
    while (e.Number > periodEnds[period - 1])
      ++period;
    EXPECT_EQ(e.Period, period) << e.Symbol;
    EXPECT_EQ(position, (TCellPosition{e.Period, e.Group - 1})) << e.Symbol;
    // Groups count up to the noble gas from the end of the period; the first two groups and
    // the d block count from its start.
    const int fromEnd = periodEnds[period - 1] - e.Number;
    const int fromStart = e.Number - (period == 1 ? 0 : periodEnds[period - 2]);
    if (fromStart <= 2) {
      EXPECT_EQ(e.Group, e.Number == 2 ? 18 : fromStart) << e.Symbol;
    } else if (period <= 3 || fromEnd < 6) {
      EXPECT_EQ(e.Group, 18 - fromEnd) << e.Symbol;
    } else {
      EXPECT_EQ(e.Group,
                period >= 6 && e.Number != 57 && e.Number != 89 ? fromStart - 14 : fromStart)
          << e.Symbol;
    }
  }
  EXPECT_EQ(PositionOf(Element(57)), (TCellPosition{6, 2}));
  EXPECT_EQ(PositionOf(Element(89)), (TCellPosition{7, 2}));
}

TEST(ElementDataTest, CategoriesFollowTheirLists) {
  for (const TElementRec& e : Elements()) {
    const std::string& s = e.Symbol;
    std::string expected;
    if (In(s, {"H", "C", "N", "O", "P", "S", "Se"})) {
      expected = "Nonmetal";
    } else if (In(s, {"He", "Ne", "Ar", "Kr", "Xe", "Rn"})) {
      expected = "Noble Gas";
    } else if (In(s, {"Li", "Na", "K", "Rb", "Cs", "Fr"})) {
      expected = "Alkaline Metal";
    } else if (In(s, {"Be", "Mg", "Ca", "Sr", "Ba", "Ra"})) {
      expected = "Alkaline Earth Metal";
    } else if (In(s, {"B", "Si", "Ge", "As", "Sb", "Te", "Po"})) {
      expected = "Metalloid";
    } else if (In(s, {"F", "Cl", "Br", "I", "At"})) {
      expected = "Halogen";
    } else if (In(s, {"Al", "Ga", "In", "Sn", "Tl", "Pb", "Bi"})) {
      expected = "Other Metal";
    } else if (e.Number >= 57 && e.Number <= 71) {
      expected = "Lanthanoid";
    } else if (e.Number >= 89 && e.Number <= 103) {
      expected = "Actinoid";
    } else if ((e.Group >= 3 && e.Group <= 12 && e.Period >= 4 && e.Period <= 6) ||
               e.Number >= 104) {
      expected = "Transition Metal";
    }
    EXPECT_EQ(e.Category, expected) << s;
  }
}

TEST(ElementDataTest, StatesAndFlagsFollowTheirLists) {
  for (const TElementRec& e : Elements()) {
    const std::string& s = e.Symbol;
    const char* state = In(s, {"H", "He", "N", "O", "F", "Ne", "Cl", "Ar", "Kr", "Xe", "Rn"})
                            ? "Gas"
                        : In(s, {"Br", "Hg"}) ? "Liquid"
                                              : "Solid";
    EXPECT_EQ(e.State, state) << s;
    const bool toxic =
        In(s, {"Be", "F", "Cl", "As", "Cd", "Ba", "Os", "Hg", "Tl", "Pb", "Pa", "U"});
    EXPECT_EQ(e.Toxic, toxic ? 1 : 0) << s;
    EXPECT_EQ(e.Radioactive, In(s, {"Tc", "Pm"}) || e.Number >= 84 ? 1 : 0) << s;
    EXPECT_EQ(e.Synthetic, In(s, {"Tc", "Pm"}) || e.Number >= 93 ? 1 : 0) << s;
  }
}

TEST(ElementDataTest, OxidationStatesArePlausibleAndAbsentWhereNoneAreKnown) {
  for (const TElementRec& e : Elements()) {
    const bool none = e.Category == "Noble Gas" || e.Number >= 99;
    EXPECT_EQ(e.Oxidation.empty(), none) << e.Symbol;
    // Listed from the lowest state up, each once.
    for (std::size_t i = 0; i < e.Oxidation.size(); ++i) {
      EXPECT_TRUE(e.Oxidation[i] >= -4 && e.Oxidation[i] <= 8 && e.Oxidation[i] != 0) << e.Symbol;
      if (i > 0) {
        EXPECT_LT(e.Oxidation[i - 1], e.Oxidation[i]) << e.Symbol;
      }
    }
  }
}

std::optional<double> Number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

TEST(ElementDataTest, PropertyTextsAreNumbersInTheirUnitsOrEmpty) {
  for (const TElementRec& e : Elements()) {
    // Calcium's atomic weight keeps the trailing blank it was tabulated with.
    const std::string weight = e.Number == 20 ? e.Properties[0].substr(0, 5) : e.Properties[0];
    const std::optional<double> w = Number(weight);
    ASSERT_TRUE(w) << e.Symbol;
    EXPECT_GT(*w, e.Number) << e.Symbol;
    EXPECT_LT(*w, 3.0 * e.Number) << e.Symbol;
    const bool measured = e.Number < 97;
    for (int k = 1; k < 4; ++k) {
      EXPECT_EQ(e.Properties[k].empty(), !measured || (k == 3 && In(e.Symbol, {"At", "Fr"})))
          << e.Symbol << " property " << k + 1;
    }
    if (!measured) continue;
    const double melting = *Number(e.Properties[1]);
    const double boiling = *Number(e.Properties[2]);
    EXPECT_GT(melting, -273.15) << e.Symbol;
    // Arsenic sublimes at normal pressure; its melting point is taken under pressure.
    if (e.Symbol != "As") {
      EXPECT_LT(melting, boiling) << e.Symbol;
    }
    if (const auto density = Number(e.Properties[3])) {
      // Gases in kg per cubic metre at normal conditions, the rest as solids or liquids
      // (lutetium's stored density is the one exception, kept as tabulated).
      if (e.State == "Gas") {
        EXPECT_LT(*density, 10) << e.Symbol;
      } else if (e.Symbol != "Lu") {
        EXPECT_GT(*density, 500) << e.Symbol;
        EXPECT_LT(*density, 23000) << e.Symbol;
      }
    }
  }
}

TEST(ElementDataTest, TellingRowsAreStoredExactly) {
  struct TRow {
    int number;
    const char* category;
    const char* state;
    int group, period;
    std::array<const char*, 4> properties;
    std::vector<std::int8_t> oxidation;
    int radioactive, synthetic, toxic;
  };
  const TRow rows[] = {
      {1, "Nonmetal", "Gas", 1, 1, {"1.0079", "-259.2", "-252.7", "8.988E-2"}, {-1, 1}, 0, 0, 0},
      {6,
       "Nonmetal",
       "Solid",
       14,
       2,
       {"12.011", "3826.85", "4826.85", "2260"},
       {-4, 2, 3, 4},
       0,
       0,
       0},
      {20,
       "Alkaline Earth Metal",
       "Solid",
       2,
       4,
       {"40.08 ", "838.85", "1483.85", "1550"},
       {2},
       0,
       0,
       0},
      {26,
       "Transition Metal",
       "Solid",
       8,
       4,
       {"55.847", "1535.85", "2861.85", "7860"},
       {2, 3},
       0,
       0,
       0},
      {80,
       "Transition Metal",
       "Liquid",
       12,
       6,
       {"200.59", "-38.85", "356.58", "13546"},
       {1, 2},
       0,
       0,
       1},
      {71, "Lanthanoid", "Solid", 0, 0, {"174.97", "1662.85", "3394.85", "9.84"}, {3}, 0, 0, 0},
      {92,
       "Actinoid",
       "Solid",
       0,
       0,
       {"238.03", "1131.85", "4133.85", "18900"},
       {3, 4, 5, 6},
       1,
       0,
       1},
      {97, "Actinoid", "Solid", 0, 0, {"247", "", "", ""}, {3, 4}, 1, 1, 0},
      {109, "Transition Metal", "Solid", 9, 7, {"266", "", "", ""}, {}, 1, 1, 0},
  };
  for (const TRow& row : rows) {
    const TElementRec& e = Element(row.number);
    EXPECT_EQ(e.Category, row.category) << e.Symbol;
    EXPECT_EQ(e.State, row.state) << e.Symbol;
    EXPECT_EQ(e.Group, row.group) << e.Symbol;
    EXPECT_EQ(e.Period, row.period) << e.Symbol;
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(e.Properties[k], row.properties[k]) << e.Symbol;
    EXPECT_EQ(e.Oxidation, row.oxidation) << e.Symbol;
    EXPECT_EQ(e.Radioactive, row.radioactive) << e.Symbol;
    EXPECT_EQ(e.Synthetic, row.synthetic) << e.Symbol;
    EXPECT_EQ(e.Toxic, row.toxic) << e.Symbol;
  }
}

}  // namespace
}  // namespace periodic
