// The table in memory and its key lines: the reading rules, case-blind names, the default
// table and the default file's bytes.
#include "conversion/conversion_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/default_conversions.h"

namespace conversion {
namespace {

TEST(KeyLineTest, FieldsSplitAtColonsWithFourCoordinates) {
  const TKeyLine line =
      ParseKeyLine(" pi radians : degrees : x*180 : x/180 : 674 : 287 : 452 : 304");
  EXPECT_EQ(line.unitA, "pi radians");
  EXPECT_EQ(line.unitB, "degrees");
  EXPECT_EQ(line.aToB, "x*180");
  EXPECT_EQ(line.bToA, "x/180");
  EXPECT_EQ(line.xA, 674);
  EXPECT_EQ(line.yA, 287);
  EXPECT_EQ(line.xB, 452);
  EXPECT_EQ(line.yB, 304);
}

TEST(KeyLineTest, MissingAndMalformedFieldsGiveEmptyTextsAndZeros) {
  struct TCase {
    const char* value;
    TKeyLine expected;
  };
  const TCase cases[] = {
      {"a : b : x*2 : x/2", {"a", "b", "x*2", "x/2"}},
      {"a : b : x*2 : x/2 : 5", {"a", "b", "x*2", "x/2"}},  // "5" is not before a ":"
      {"a : b : x : x : 1 : 2", {"a", "b", "x", "x", 1, 0, 0, 2}},
      {"a : b : x : x : one : -2 : +3 : 4z", {"a", "b", "x", "x", 0, -2, 3, 0}},
      {"a : b : x : x : 99999999999 : 1 : 2 : 3", {"a", "b", "x", "x", 0, 1, 2, 3}},
      {"a : b", {"a", "", "", "b"}},  // one ":" leaves Unit B empty
      {"just text", {"", "", "", "just text"}},
  };
  for (const TCase& c : cases) {
    const TKeyLine line = ParseKeyLine(c.value);
    EXPECT_EQ(line.unitA, c.expected.unitA) << c.value;
    EXPECT_EQ(line.unitB, c.expected.unitB) << c.value;
    EXPECT_EQ(line.aToB, c.expected.aToB) << c.value;
    EXPECT_EQ(line.bToA, c.expected.bToA) << c.value;
    EXPECT_EQ(line.xA, c.expected.xA) << c.value;
    EXPECT_EQ(line.yA, c.expected.yA) << c.value;
    EXPECT_EQ(line.xB, c.expected.xB) << c.value;
    EXPECT_EQ(line.yB, c.expected.yB) << c.value;
  }
}

TEST(ConversionTableTest, ReadingSkipsLinesWithoutUnitsAndKeepsFirstPositions) {
  TCategoryList table;
  const std::vector<TCnvSection> sections = {
      {"Length",
       {"m : km : x/1000 : x*1000 : 1 : 2 : 3 : 4", "cm : : x : x", "only one : field",
        "KM : mile : x/1.609 : x*1.609 : 9 : 9 : 5 : 6"}},
      {"angles", {}},
  };
  EXPECT_FALSE(ReadSections(sections, table).has_value());
  ASSERT_EQ(table.Count(), 2);
  EXPECT_EQ(table.At(0).name, "angles");
  const TRecList& length = table.At(1).list;
  ASSERT_EQ(length.UnitCount(), 3);  // km, m, mile: "KM" is km
  EXPECT_EQ(length.Unit(0).name, "km");
  EXPECT_EQ(length.Unit(0).point.x, 3);  // from its first line, not 9
  EXPECT_EQ(length.Unit(0).point.y, 4);
  EXPECT_EQ(length.Unit(2).name, "mile");
  ASSERT_EQ(length.Definitions.size(), 2u);
  EXPECT_EQ(length.Definitions[0].unitA, 1);
  EXPECT_EQ(length.Definitions[0].unitB, 0);
  EXPECT_EQ(length.Definitions[1].unitA, 0);
  EXPECT_EQ(length.Definitions[1].unitB, 2);
  EXPECT_EQ(KeyLineValue(length, length.Definitions[1]),
            "km : mile : x/1.609 : x*1.609 : 3 : 4 : 5 : 6");
}

TEST(ConversionTableTest, ATableFarBeyondAnyRealOneIsRefusedAndChangesNothing) {
  TCategoryList table;
  LoadDefaultTable(table);
  TCnvSection huge{"Chain", {}};
  for (int k = 0; k <= kMaxDefinitions; ++k) {
    huge.values.push_back("u" + std::to_string(k) + " : u" + std::to_string(k + 1) + " : x : x");
  }
  const std::optional<std::string> message = ReadSections({huge}, table);
  EXPECT_EQ(message, "Too many conversion definitions, at most 5000");
  EXPECT_EQ(table.Count(), 11);
  huge.values.pop_back();
  EXPECT_FALSE(ReadSections({huge}, table).has_value());
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.At(0).list.UnitCount(), kMaxDefinitions + 1);
}

TEST(ConversionTableTest, NamesDifferingOnlyInCaseAreOneName) {
  TCategoryList table;
  ASSERT_EQ(table.Add("Weight"), 0);
  EXPECT_EQ(table.Add("angles"), 0);
  EXPECT_FALSE(table.Add("WEIGHT").has_value());
  EXPECT_EQ(table.Find("weight"), 1);
  EXPECT_EQ(table.Rename(1, "Bits"), 1);
  EXPECT_FALSE(table.Rename(1, "ANGLES").has_value());
  EXPECT_EQ(table.Rename(0, "Angles"), 0);  // a new spelling of its own name is fine
  EXPECT_EQ(table.At(0).name, "Angles");

  // Two sections naming one category fill one category.
  const std::vector<TCnvSection> sections = {{"Time", {"h : min : x*60 : x/60"}},
                                             {"TIME", {"Min : s : x*60 : x/60"}}};
  ASSERT_FALSE(ReadSections(sections, table).has_value());
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.At(0).list.UnitCount(), 3);
  EXPECT_EQ(table.At(0).list.Definitions.size(), 2u);
}

TEST(ConversionTableTest, AddingAUnitMovesTheDefinitionsThatFollowIt) {
  TRecList list;
  list.AddUnit("b", 0, 0);
  list.AddUnit("d", 0, 0);
  list.AddDefinition(0, 1, "x", "x");
  EXPECT_EQ(list.AddUnit("c", 20, 20), 1);
  EXPECT_EQ(list.AddUnit("C", 5, 5), 1);  // already there: unchanged
  EXPECT_EQ(list.Unit(1).point.x, 20);
  EXPECT_EQ(list.Definitions[0].unitA, 0);
  EXPECT_EQ(list.Definitions[0].unitB, 2);
}

TEST(DefaultTableTest, HoldsElevenCategoriesAndEightyNineDefinitions) {
  TCategoryList table;
  LoadDefaultTable(table);
  const std::vector<std::string> names = {"Angles",      "Bits & Bytes", "Capacity", "Current",
                                          "Energy",      "Length",       "Power",    "Pressure",
                                          "Temperature", "Time",         "Weight"};
  ASSERT_EQ(table.Count(), 11);
  std::size_t definitions = 0;
  for (std::int32_t c = 0; c < table.Count(); ++c) {
    EXPECT_EQ(table.At(c).name, names[static_cast<std::size_t>(c)]);
    definitions += table.At(c).list.Definitions.size();
  }
  EXPECT_EQ(definitions, 89u);
  EXPECT_EQ(DefaultDefinitions().size(), 89u);
  const TRecList& temperature = table.At(8).list;
  ASSERT_EQ(temperature.UnitCount(), 4);
  EXPECT_EQ(temperature.Unit(0).name, "Celcius");
  EXPECT_EQ(temperature.Unit(3).name, "Rankine");
}

}  // namespace
}  // namespace conversion
