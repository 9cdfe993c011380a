// The table's grid, its look-ups, the default ".pte" text and loading property sections.
#include "periodic/periodic_table.h"

#include <gtest/gtest.h>

#include <map>

namespace periodic {
namespace {

// Splits a ".pte" text into sections of (key, value) lines at the first "=", as an INI
// reader does; enough to feed LoadSections in these tests.
std::map<std::string, TSectionLines> Sections(const std::string& text) {
  std::map<std::string, TSectionLines> sections;
  std::string current;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
      sections[current];
    } else if (const auto equals = line.find('='); equals != std::string::npos) {
      sections[current].emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
  }
  return sections;
}

TSectionReader Reader(const std::string& text) {
  return [sections = Sections(text)](const std::string& name) {
    const auto found = sections.find(name);
    return found == sections.end() ? TSectionLines() : found->second;
  };
}

std::string ValueOf(const TElementRec& cell, int id) {
  std::string value = "(none)";
  for (const TPropertyEntry& entry : cell.Values) {
    if (entry.Id == id) value = entry.Text;
  }
  return value;
}

TEST(PeriodicTableTest, GridHoldsEveryElementWhereItsRecordSaysAndNothingElse) {
  const TPeriodicTable table;
  int filled = 0;
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      const TElementRec& cell = table.ElementGrid[row][column];
      if (cell.Empty()) continue;
      ++filled;
      EXPECT_EQ(PositionOf(cell), (TCellPosition{row, column})) << cell.Symbol;
    }
  }
  EXPECT_EQ(filled, 109);
  for (int column = 0; column < kGridColumns; ++column)
    EXPECT_TRUE(table.ElementGrid[0][column].Empty());
  EXPECT_EQ(table.ElementGrid[8][3].Symbol, "Ce");
  EXPECT_EQ(table.ElementGrid[8][16].Symbol, "Lu");
  EXPECT_EQ(table.ElementGrid[9][16].Symbol, "Lr");
  EXPECT_TRUE(table.ElementGrid[2][5].Empty());
  EXPECT_TRUE(table.PropertyNames.empty());
}

TEST(PeriodicTableTest, FindsElementsBySymbolOrNumber) {
  const TPeriodicTable table;
  EXPECT_EQ(table.Find("Fe"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find("fe"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find("26"), (TCellPosition{4, 7}));
  EXPECT_EQ(table.Find(" 58 "), (TCellPosition{8, 3}));
  EXPECT_EQ(table.Find("Co"), (TCellPosition{4, 8}));
  EXPECT_EQ(table.Find("CO"), (TCellPosition{4, 8}));
  for (const char* unknown : {"", "0", "110", "-1", "Xx", "Fe ", "H2", "99999999999"})
    EXPECT_FALSE(table.Find(unknown)) << unknown;
}

TEST(PeriodicTableTest, PropertyKeysAreThirtyTwoBitIntegers) {
  EXPECT_EQ(PropertyKey("5"), 5);
  EXPECT_EQ(PropertyKey(" 12 "), 12);
  EXPECT_EQ(PropertyKey("+3"), 3);
  EXPECT_EQ(PropertyKey("-2"), -2);
  EXPECT_EQ(PropertyKey("2147483647"), 2147483647);
  for (const char* bad : {"", " ", "x", "5x", "1.5", "+", "+-1", "--1", "2147483648", "1 2"})
    EXPECT_FALSE(PropertyKey(bad)) << bad;
}

TEST(PeriodicTableTest, DefaultFileHoldsTheBuiltInTextsInGridOrder) {
  const TPeriodicTable table;
  const std::string text = table.DefaultFileText();
  EXPECT_EQ(text.rfind("[Properties]\r\n1=Atomic Weight\r\n2=Melting Point\r\n3=Boiling Point\r\n"
                       "4=Density\r\n\r\n[Units]\r\n1=amu\r\n2=C\r\n3=C\r\n4=kg/cu.m\r\n\r\n"
                       "[H]\r\n1=1.0079\r\n2=-259.2\r\n3=-252.7\r\n4=8.988E-2\r\n\r\n[He]\r\n",
                       0),
            0u);
  EXPECT_NE(text.find("\r\n\r\n[Ca]\r\n1=40.08 \r\n"), std::string::npos);
  EXPECT_NE(text.find("[Bk]\r\n1=247\r\n2=\r\n3=\r\n4=\r\n\r\n"), std::string::npos);
  EXPECT_LT(text.find("[Mt]"), text.find("[Ce]"));  // row 7 before the series
  EXPECT_EQ(text.substr(text.size() - 8), "\r\n4=\r\n\r\n");
  const auto sections = Sections(text);
  EXPECT_EQ(sections.size(), 2u + 109u);
  for (const auto& [name, lines] : sections)
    EXPECT_EQ(lines.size(), 4u) << name;
  std::size_t bareLineFeeds = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    bareLineFeeds += text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
  EXPECT_EQ(bareLineFeeds, 0u);
}

TEST(PeriodicTableTest, ReadingTheDefaultTextGivesTheBuiltInState) {
  TPeriodicTable fromFile;
  ASSERT_FALSE(fromFile.LoadSections(Reader(fromFile.DefaultFileText())));
  TPeriodicTable builtIn;
  builtIn.LoadBuiltInProperties();
  EXPECT_EQ(fromFile.PropertyNames, builtIn.PropertyNames);
  EXPECT_EQ(fromFile.PropertyUnits, builtIn.PropertyUnits);
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      EXPECT_EQ(fromFile.ElementGrid[row][column].Values, builtIn.ElementGrid[row][column].Values);
    }
  }
  const TElementRec& calcium = builtIn.Cell(*builtIn.Find("Ca"));
  EXPECT_EQ(ValueOf(calcium, 1), "40.08 ");
  EXPECT_EQ(ValueOf(builtIn.Cell(*builtIn.Find("Lu")), 4), "9.84");
  ASSERT_EQ(builtIn.PropertyUnits.size(), 4u);
  EXPECT_EQ(builtIn.PropertyUnits[3], (TPropertyEntry{4, "kg/cu.m"}));
}

TEST(PeriodicTableTest, FileNamesExtraPropertiesAndOverridesValues) {
  TPeriodicTable table;
  const auto error = table.LoadSections(
      Reader("[Properties]\r\n1=Mass\r\n5=Hardness\r\n[Units]\r\n1=amu\r\n5=Mohs\r\n"
             "[Fe]\r\n1=56\r\n5=4\r\n[Cu]\r\n3=\r\n"));
  ASSERT_FALSE(error);
  EXPECT_EQ(table.PropertyNames, (TPropertyList{{1, "Atomic Weight"},
                                                {5, "Hardness"},
                                                {2, "Melting Point"},
                                                {3, "Boiling Point"},
                                                {4, "Density"}}));
  EXPECT_EQ(table.PropertyUnits, (TPropertyList{{1, "amu"}, {5, "Mohs"}}));
  const TElementRec& iron = table.Cell(*table.Find("Fe"));
  EXPECT_EQ(ValueOf(iron, 1), "56");
  EXPECT_EQ(ValueOf(iron, 5), "4");
  EXPECT_EQ(ValueOf(iron, 2), "1535.85");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Cu")), 3), "");  // a file may empty a value
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Ni")), 5), "(none)");

  // A second load starts afresh.
  ASSERT_FALSE(table.LoadSections(Reader("[Units]\r\n2=K\r\n")));
  EXPECT_EQ(table.PropertyNames.size(), 4u);
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 1), "55.847");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 5), "(none)");
}

TEST(PeriodicTableTest, KeyThatIsNoIntegerFailsTheLoadAndChangesNothing) {
  TPeriodicTable table;
  auto error = table.LoadSections(Reader("[Properties]\r\n5=Hardness\r\nx=1\r\n7=Colour\r\n"));
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "'x' is not a valid integer value");
  EXPECT_TRUE(table.PropertyNames.empty());

  ASSERT_FALSE(table.LoadSections(Reader("[Units]\r\n1=amu\r\n[Fe]\r\n1=56\r\n")));
  error = table.LoadSections(Reader("[Units]\r\n1=u\r\n[H]\r\n1=1\r\n[He]\r\n1.5=2\r\n"));
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "'1.5' is not a valid integer value");
  EXPECT_EQ(table.PropertyUnits, (TPropertyList{{1, "amu"}}));
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("Fe")), 1), "56");
  EXPECT_EQ(ValueOf(table.Cell(*table.Find("H")), 1), "1.0079");
  EXPECT_EQ(table.PropertyNames.size(), 4u);

  table.ClearProperties();
  EXPECT_TRUE(table.PropertyNames.empty());
  EXPECT_TRUE(table.PropertyUnits.empty());
  EXPECT_TRUE(table.Cell(*table.Find("Fe")).Values.empty());
}

}  // namespace
}  // namespace periodic
