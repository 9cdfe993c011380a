// The built-in element data checked against the rules of the table it draws: numbers, groups
// and periods, categories, states, flags, oxidation states and the property texts.
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

std::optional<double> Number(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

TEST(ElementDataTest, NumbersSymbolsAndNames) {
  ASSERT_EQ(Elements().size(), 109u);
  std::set<std::string> symbols;
  for (std::size_t i = 0; i < Elements().size(); ++i) {
    EXPECT_EQ(Elements()[i].Number, i + 1);
    EXPECT_TRUE(symbols.insert(Elements()[i].Symbol).second) << Elements()[i].Symbol;
  }
  EXPECT_EQ(Element(46).Name, "Palladim");
  EXPECT_EQ(Element(16).Name, "Sulphur");
  EXPECT_EQ(Element(109).Name, "Meitnerium");
}

TEST(ElementDataTest, GroupsAndPeriodsFollowTheShells) {
  const int periodEnds[] = {2, 10, 18, 36, 54, 86, 118};  // each closed by a noble gas
  for (const TElementRec& e : Elements()) {
    if ((e.Number >= 58 && e.Number <= 71) || (e.Number >= 90 && e.Number <= 103)) {
      EXPECT_EQ(e.Group + e.Period, 0) << e.Symbol;
      continue;
    }
    int period = 1;
    while (e.Number > periodEnds[period - 1])
      ++period;
    EXPECT_EQ(e.Period, period) << e.Symbol;
    // Groups 1 and 2 count from the period's start, the p block back from its noble gas, and
    // the d block on from group 3, past the series below the table from period 6 on.
    const int fromStart = e.Number - (period == 1 ? 0 : periodEnds[period - 2]);
    const int fromEnd = periodEnds[period - 1] - e.Number;
    int group = fromStart;
    if (e.Number == 2 || (fromStart > 2 && (period <= 3 || fromEnd < 6))) {
      group = 18 - fromEnd;
    } else if (fromStart > 3 && period >= 6) {
      group = fromStart - 14;
    }
    EXPECT_EQ(e.Group, group) << e.Symbol;
  }
}

TEST(ElementDataTest, CategoriesStatesAndFlagsFollowTheirLists) {
  for (const TElementRec& e : Elements()) {
    const std::string& s = e.Symbol;
    std::string category = "Transition Metal";
    if (In(s, {"H", "C", "N", "O", "P", "S", "Se"})) {
      category = "Nonmetal";
    } else if (In(s, {"He", "Ne", "Ar", "Kr", "Xe", "Rn"})) {
      category = "Noble Gas";
    } else if (In(s, {"Li", "Na", "K", "Rb", "Cs", "Fr"})) {
      category = "Alkaline Metal";
    } else if (In(s, {"Be", "Mg", "Ca", "Sr", "Ba", "Ra"})) {
      category = "Alkaline Earth Metal";
    } else if (In(s, {"B", "Si", "Ge", "As", "Sb", "Te", "Po"})) {
      category = "Metalloid";
    } else if (In(s, {"F", "Cl", "Br", "I", "At"})) {
      category = "Halogen";
    } else if (In(s, {"Al", "Ga", "In", "Sn", "Tl", "Pb", "Bi"})) {
      category = "Other Metal";
    } else if (e.Number >= 57 && e.Number <= 71) {
      category = "Lanthanoid";
    } else if (e.Number >= 89 && e.Number <= 103) {
      category = "Actinoid";
    } else {
      EXPECT_TRUE((e.Group >= 3 && e.Group <= 12 && e.Period >= 4) || e.Number >= 104) << s;
    }
    EXPECT_EQ(e.Category, category) << s;
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

TEST(ElementDataTest, OxidationStatesAscendAndAreAbsentWhereNoneAreKnown) {
  for (const TElementRec& e : Elements()) {
    EXPECT_EQ(e.Oxidation.empty(), e.Category == "Noble Gas" || e.Number >= 99) << e.Symbol;
    for (std::size_t i = 0; i < e.Oxidation.size(); ++i) {
      EXPECT_TRUE(e.Oxidation[i] >= -4 && e.Oxidation[i] <= 8 && e.Oxidation[i] != 0) << e.Symbol;
      if (i > 0) {
        EXPECT_LT(e.Oxidation[i - 1], e.Oxidation[i]) << e.Symbol;
      }
    }
  }
  EXPECT_EQ(Element(6).Oxidation, (std::vector<std::int8_t>{-4, 2, 3, 4}));
  EXPECT_EQ(Element(92).Oxidation, (std::vector<std::int8_t>{3, 4, 5, 6}));
}

TEST(ElementDataTest, PropertyTextsAreNumbersInTheirUnitsOrEmpty) {
  for (const TElementRec& e : Elements()) {
    // Calcium's atomic weight keeps the trailing blank it was tabulated with.
    const std::optional<double> weight =
        Number(e.Number == 20 ? e.Properties[0].substr(0, 5) : e.Properties[0]);
    ASSERT_TRUE(weight) << e.Symbol;
    EXPECT_TRUE(*weight > e.Number && *weight < 3.0 * e.Number) << e.Symbol;
    const bool measured = e.Number < 97;  // from berkelium on only the weight is given
    for (int k = 1; k < 4; ++k) {
      EXPECT_EQ(e.Properties[k].empty(), !measured || (k == 3 && In(e.Symbol, {"At", "Fr"})))
          << e.Symbol << " property " << k + 1;
    }
    if (!measured) continue;
    const double melting = *Number(e.Properties[1]);
    EXPECT_GT(melting, -273.15) << e.Symbol;
    // Arsenic sublimes at normal pressure; its melting point is taken under pressure.
    if (e.Symbol != "As") {
      EXPECT_LT(melting, *Number(e.Properties[2])) << e.Symbol;
    }
    // kg per cubic metre: gases at normal conditions below 10, the rest from lithium's 534 to
    // osmium's 22590 (lutetium's stored figure is the one kept as tabulated).
    const std::optional<double> density = Number(e.Properties[3]);
    if (density && e.Symbol != "Lu") {
      EXPECT_EQ(*density < 10, e.State == "Gas") << e.Symbol;
      EXPECT_LT(*density, 23000) << e.Symbol;
      EXPECT_TRUE(e.State == "Gas" || *density >= 534) << e.Symbol;
    }
  }
  EXPECT_EQ(Element(1).Properties[3], "8.988E-2");
  EXPECT_EQ(Element(20).Properties[0], "40.08 ");
  EXPECT_EQ(Element(71).Properties[3], "9.84");
  EXPECT_EQ(Element(80).Properties[2], "356.58");
  EXPECT_EQ(Element(97).Properties[0], "247");
}

}  // namespace
}  // namespace periodic
