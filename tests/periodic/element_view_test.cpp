// What the periodic-table windows show: layout, cell looks and the element card of a pick.
#include "periodic/element_view.h"

#include <gtest/gtest.h>

namespace periodic {
namespace {

std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return BGRTOColor(b, g, r);
}

TCellPosition At(const TPeriodicTable& table, const char* symbol) {
  return *table.Find(symbol);
}

TEST(ElementViewTest, LayoutFollowsTheWindowWidth) {
  const TTableLayout layout = TableLayout(558);
  EXPECT_EQ(layout.GridWidth, 518);
  EXPECT_EQ(layout.Cell, 28);
  EXPECT_EQ(layout.GridHeight, 280);
  EXPECT_EQ(layout.FontSize, 11);
  EXPECT_EQ(TableLayout(30).Cell, 0);
  EXPECT_EQ(TableLayout(30).GridWidth, 0);
  EXPECT_EQ(PropertyColumnWidths(300), (std::array<int, 3>{110, 88, 66}));
}

TEST(ElementViewTest, ColoursPackBlueGreenRed) {
  EXPECT_EQ(BGRTOColor(0x11, 0x22, 0x33), 0x00112233u);
  std::uint8_t b = 0, g = 0, r = 0;
  ColorToBGRTOColor(0x00A1B2C3u, b, g, r);
  EXPECT_EQ(b, 0xA1);
  EXPECT_EQ(g, 0xB2);
  EXPECT_EQ(r, 0xC3);
}

TEST(ElementViewTest, CellsAreColouredByPosition) {
  const TPeriodicTable table;
  struct TSample {
    const char* symbol;
    std::uint32_t fill;
    bool white;
  };
  const TSample samples[] = {
      {"H", Rgb(226, 197, 225), false},  {"Be", Rgb(0, 194, 240), false},
      {"Mt", Rgb(180, 180, 212), false}, {"La", Rgb(0, 102, 0), true},
      {"Lu", Rgb(0, 102, 0), true},      {"Ac", Rgb(45, 45, 132), true},
      {"Bi", Rgb(169, 205, 225), false}, {"Po", Rgb(0, 180, 176), false},
      {"Se", Rgb(255, 255, 163), false}, {"At", Rgb(255, 204, 159), false},
      {"He", Rgb(255, 255, 255), false}, {"Sc", Rgb(180, 180, 212), false},
  };

  for (const TSample& sample : samples) {
    const auto look = CellLook(table, At(table, sample.symbol));
    ASSERT_TRUE(look) << sample.symbol;
    EXPECT_TRUE(look->Boxed) << sample.symbol;
    EXPECT_EQ(look->Text, sample.symbol);
    EXPECT_EQ(look->Fill, sample.fill) << sample.symbol;
    EXPECT_EQ(look->WhiteText, sample.white) << sample.symbol;
  }
  // Every element is drawn in a box; of the empty cells only the group numbers are drawn.
  std::vector<std::string> numbers;
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      const auto look = CellLook(table, {row, column});
      if (!table.ElementGrid[row][column].Empty()) {
        EXPECT_TRUE(look && look->Boxed) << row << "," << column;
      } else if (look) {
        EXPECT_FALSE(look->Boxed);
        numbers.push_back(look->Text + "@" + std::to_string(row) + "," + std::to_string(column));
      }
    }
  }
  const std::vector<std::string> expected = {"1@0,0",   "18@0,17", "2@1,1",   "13@1,12", "14@1,13",
                                             "15@1,14", "16@1,15", "17@1,16", "3@3,2",   "4@3,3",
                                             "5@3,4",   "6@3,5",   "7@3,6",   "8@3,7",   "9@3,8",
                                             "10@3,9",  "11@3,10", "12@3,11"};
  EXPECT_EQ(numbers, expected);
  EXPECT_FALSE(CellLook(table, {2, 5}));
  EXPECT_FALSE(CellLook(table, {7, 10}));
  EXPECT_FALSE(CellLook(table, {-1, 0}));
  EXPECT_FALSE(CellLook(table, {10, 0}));
}

TEST(ElementViewTest, CardLeavesOutWhatAnElementLacks) {
  TPeriodicTable table;
  table.LoadBuiltInProperties();
  const TElementCard cerium = RefreshData(table, At(table, "Ce"));
  EXPECT_EQ(cerium.Label2, "");
  EXPECT_EQ(cerium.Label3, "");
  EXPECT_EQ(cerium.Oxidation, (std::vector<std::string>{"+3", "+4"}));
  EXPECT_EQ(RefreshData(table, At(table, "H")).Oxidation, (std::vector<std::string>{"-1", "+1"}));
  EXPECT_TRUE(RefreshData(table, At(table, "Ne")).Oxidation.empty());

  const TElementCard uranium = RefreshData(table, At(table, "U"));
  EXPECT_EQ(uranium.Label6, "Radioactive");
  EXPECT_EQ(uranium.Label8, "Toxic");
  EXPECT_EQ(uranium.Label9, "");
  EXPECT_EQ(RefreshData(table, At(table, "Mt")).Label9, "Synthetic");

  const TElementCard empty = RefreshData(table, {2, 5});
  EXPECT_TRUE(empty.Label1.empty());
  EXPECT_TRUE(empty.Rows.empty());
}

TEST(ElementViewTest, PropertyRowsAreAddressedByIdentifier) {
  TPeriodicTable table;
  EXPECT_EQ(RefreshData(table, At(table, "Fe")).Rows.size(), 1u);  // nothing loaded
  table.PropertyNames = {{1, "Atomic Weight"}, {5, "Hardness"}, {2, "Melting Point"},
                         {3, "Boiling Point"}, {4, "Density"},  {9, "Beyond"},
                         {0, "Header"},        {-3, "Negative"}};
  table.PropertyUnits = {{5, "Mohs"}, {0, "x"}, {-1, "y"}, {100000, "z"}};
  TElementRec& iron = table.ElementGrid[4][7];
  iron.Values = {{5, "4"}, {1, "56"}, {-2147483647 - 1, "low"}};
  const TElementCard card = RefreshData(table, {4, 7});
  ASSERT_EQ(card.Rows.size(), 9u);
  EXPECT_EQ(card.Rows[0], (std::array<std::string, 3>{"Property", "Value", "Unit"}));
  EXPECT_EQ(card.Rows[1], (std::array<std::string, 3>{"Atomic Weight", "56", ""}));
  EXPECT_EQ(card.Rows[5], (std::array<std::string, 3>{"Hardness", "4", "Mohs"}));
  for (std::size_t row = 6; row < card.Rows.size(); ++row)
    EXPECT_EQ(card.Rows[row], (std::array<std::string, 3>{})) << row;
  EXPECT_EQ(InitialPropertyRows().size(), 5u);
  EXPECT_EQ(InitialPropertyRows()[4][0], "Density");
}

TEST(ElementViewTest, CardLinesListLabelsOxidationAndProperties) {
  TPeriodicTable table;
  table.LoadBuiltInProperties();
  const std::vector<std::string> mercury = CardLines(RefreshData(table, At(table, "Hg")));
  const std::vector<std::string> expected = {"80",
                                             "Hg",
                                             "Mercury",
                                             "Transition Metal",
                                             "Liquid",
                                             "Group: 12",
                                             "Period: 6",
                                             "",
                                             "Toxic",
                                             "",
                                             "Oxidation: +1 +2",
                                             "Atomic Weight\t200.59\tamu",
                                             "Melting Point\t-38.85\tC",
                                             "Boiling Point\t356.58\tC",
                                             "Density\t13546\tkg/cu.m"};
  EXPECT_EQ(mercury, expected);
  const std::vector<std::string> neon = CardLines(RefreshData(table, At(table, "Ne")));
  EXPECT_EQ(neon[10], "Oxidation:");
}

TEST(ElementViewTest, TextsHandedOnAndCentring) {
  EXPECT_EQ(ConstantName("Fe", "Melting Point"), "Fe_Melting_Point");
  EXPECT_EQ(ConstantName("Fe", "  Vapour  heat "), "Fe_Vapour__heat");
  EXPECT_EQ(ConstantName("H", ""), "H_");
  EXPECT_EQ(ConversionStatus("Iron", "Melting Point", "1535.85", "C"),
            " Initial Iron Melting Point = 1535.85 C");
  EXPECT_EQ(CenteredLeft(150, 2, kCardTextWidth), 66);  // (150 - 17.4) / 2 = 66.3
  EXPECT_EQ(CenteredLeft(150, 3, kCardTextWidth), 62);  // 61.95
  EXPECT_EQ(CenteredLeft(150, 2, kCardSymbolWidth), 47);
  EXPECT_EQ(CenteredLeft(40, 13, kCardTextWidth), -37);  // a long name runs over both edges
}

}  // namespace
}  // namespace periodic
