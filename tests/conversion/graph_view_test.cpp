// The graph window's logic: the shortest-path view and its chains, a table that changes under a
// built graph, hit testing of vertices and arc labels, dragging, and the 16-colour bitmap.
#include "conversion/graph_view.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "conversion/sixteen_colour_bitmap.h"
#include "conversion/unit_conversion.h"
#include "support/scripted_prompt.h"

namespace conversion {
namespace {

using TPath = std::vector<std::int32_t>;

struct TPlace {
  std::string name;
  std::int32_t x, y;
};

class GraphViewTest : public ::testing::Test {
 protected:
  // Adds a category with the units at their places and definitions between them in order.
  void AddCategory(const std::string& name, const std::vector<TPlace>& units,
                   const std::vector<std::pair<std::string, std::string>>& links) {
    TCategoryList& table = conversion_.EditTable();
    TRecList& list = table.At(*table.Add(name)).list;
    for (const TPlace& unit : units)
      list.AddUnit(unit.name, unit.x, unit.y);
    for (const auto& [a, b] : links)
      list.AddDefinition(list.FindUnit(a), list.FindUnit(b), "x", "x");
  }
  // The square A(100,100) B(300,100) C(100,300) D(300,300) with A-B, A-C, B-D, C-D.
  void AddSquare() {
    AddCategory("Letters", {{"A", 100, 100}, {"B", 300, 100}, {"C", 100, 300}, {"D", 300, 300}},
                {{"A", "B"}, {"A", "C"}, {"B", "D"}, {"C", "D"}});
  }
  TPath Highlighted() const {
    TPath arcs;
    for (std::int32_t a = 1; a <= view_.Graph().ArcCount(); ++a) {
      if (view_.Graph().Arc(a).highlighted) arcs.push_back(a);
    }
    return arcs;
  }
  const TUnit& Unit(std::int32_t category, const std::string& name) const {
    const TRecList& list = conversion_.Table().At(category).list;
    return list.Unit(list.FindUnit(name));
  }

  app::TScriptedPrompt prompt_;
  TUnitConversion conversion_{prompt_};
  TGraphView view_{conversion_};
};

TEST_F(GraphViewTest, ShortestPathViewListsEveryShortestChainAndHighlightsTheChosenOne) {
  AddSquare();
  view_.ShowCategory(0);
  EXPECT_EQ(view_.Caption(), "Category = 1. Letters");
  view_.ShowShortestPath(1, 4);
  ASSERT_EQ(view_.Kind(), TGraphViewKind::ShortestPath);
  EXPECT_EQ(view_.ChainCount(), 2u);
  EXPECT_EQ(view_.PathCaption(), "Path 1 : 2");
  EXPECT_EQ(Highlighted(), (TPath{1, 5}));
  EXPECT_TRUE(view_.Graph().Vertex(1).highlighted);
  EXPECT_TRUE(view_.Graph().Vertex(4).highlighted);
  EXPECT_FALSE(view_.Graph().Vertex(2).highlighted);

  EXPECT_FALSE(view_.ChooseChain(3));
  EXPECT_FALSE(view_.ChooseChain(0));
  EXPECT_EQ(view_.ChainRangeMessage(), "THE NUMBER MUST BE BETWEEN 1 AND 2");
  EXPECT_EQ(Highlighted(), (TPath{1, 5}));
  EXPECT_TRUE(view_.ChooseChain(2));
  EXPECT_EQ(view_.PathCaption(), "Path 2 : 2");
  EXPECT_EQ(Highlighted(), (TPath{3, 7}));

  // The status text counts what the listed chains hold too.
  const std::size_t withChains = view_.AllocatedBytes();
  EXPECT_EQ(view_.MemoryText(), "Total allocated memory= " + std::to_string(withChains) + " bytes");
  view_.ShowPlainGraph();
  EXPECT_TRUE(Highlighted().empty());
  EXPECT_LT(view_.AllocatedBytes(), withChains);
}

TEST_F(GraphViewTest, RebuildKeepsTheViewBetweenTheSameUnitsAndDropsWhatIsGone) {
  AddSquare();
  AddCategory("Other", {{"x", 0, 0}, {"y", 0, 0}}, {{"x", "y"}});
  view_.ShowCategory(0);
  view_.ShowShortestPath(1, 4);
  view_.ChooseChain(2);
  // A direct definition A-D: one shortest chain now, made of it.
  TRecList& list = conversion_.EditTable().At(0).list;
  list.AddDefinition(list.FindUnit("A"), list.FindUnit("D"), "x", "x");
  view_.Rebuild();
  EXPECT_EQ(view_.Kind(), TGraphViewKind::ShortestPath);
  EXPECT_EQ(view_.PathCaption(), "Path 1 : 1");
  EXPECT_EQ(Highlighted(), (TPath{9}));

  view_.ShowCategory(1);
  view_.ShowMaximalFlow(1, 2);
  EXPECT_EQ(Highlighted(), (TPath{1}));
  conversion_.EditTable().Remove(1);
  view_.Rebuild();
  EXPECT_EQ(view_.Category(), -1);
  EXPECT_EQ(view_.Caption(), "Category = NIL");
  EXPECT_EQ(view_.Kind(), TGraphViewKind::Graph);
  EXPECT_EQ(view_.Graph().VertexCount(), 0);
}

TEST_F(GraphViewTest, PressesPickTheFirstVertexWithinTenPixelsAndClicksFindArcLabels) {
  AddCategory("Close", {{"a", 100, 100}, {"b", 108, 95}, {"c", 400, 250}}, {{"a", "c"}});
  view_.ShowCategory(0);
  EXPECT_EQ(view_.VertexAt(104, 98), 1);  // both a and b are near: a comes first
  EXPECT_EQ(view_.VertexAt(118, 100), 2);
  EXPECT_EQ(view_.VertexAt(90, 110), 1);
  EXPECT_EQ(view_.VertexAt(89, 100), 0);
  EXPECT_EQ(view_.VertexAt(100, 111), 0);

  // E1 a third of the way from a to c, F1 a third of the way back.
  EXPECT_EQ(view_.LabelAnchor(1), (TGraphPoint{200, 150}));
  EXPECT_EQ(view_.LabelAnchor(2), (TGraphPoint{300, 200}));
  EXPECT_EQ(view_.ArcLabelAt(200 + kLabelHalfWidth, 150 - kLabelHalfHeight), 1);
  EXPECT_EQ(view_.ArcLabelAt(200 + kLabelHalfWidth + 1, 150), 0);
  EXPECT_EQ(view_.ArcLabelAt(295, 205), 2);
  EXPECT_EQ(view_.ArcText(1), "E1 : a ---> c");
  EXPECT_EQ(view_.ArcText(2), "F1 : c ---> a");
}

TEST_F(GraphViewTest, DraggedVertexKeepsItsPlaceInTheUnitWithoutLockingTheTable) {
  AddSquare();
  ASSERT_TRUE(conversion_.Check());
  view_.ShowCategory(0);
  ASSERT_TRUE(view_.BeginDrag(295, 305));  // D
  view_.DragTo(250, 260);
  EXPECT_EQ(view_.Graph().Vertex(4).position, (TGraphPoint{250, 260}));
  EXPECT_EQ(Unit(0, "D").point.x, 300);  // only the release stores it
  EXPECT_TRUE(view_.EndDrag(420, 180, true));
  EXPECT_EQ(Unit(0, "D").point.x, 420);
  EXPECT_EQ(Unit(0, "D").point.y, 180);
  EXPECT_FALSE(conversion_.Locked());

  // Let go outside the picture: back where it was, the unit untouched.
  ASSERT_TRUE(view_.BeginDrag(100, 100));
  view_.DragTo(-40, 500);
  EXPECT_FALSE(view_.EndDrag(-40, 500, false));
  EXPECT_EQ(view_.Graph().Vertex(1).position, (TGraphPoint{100, 100}));
  EXPECT_EQ(Unit(0, "A").point.x, 100);

  // The table changed since the graph was built: a place never lands on another unit.
  ASSERT_TRUE(view_.BeginDrag(100, 300));                  // C, vertex 3
  conversion_.EditTable().At(0).list.AddUnit("Aa", 7, 7);  // now unit 3 is B
  view_.EndDrag(50, 50, true);
  EXPECT_EQ(Unit(0, "B").point.x, 300);
  EXPECT_EQ(Unit(0, "C").point.x, 100);
}

TEST(SixteenColourBitmapTest, HeaderPaletteAndPackedRowsAreThoseOfAFourBitBitmap) {
  EXPECT_EQ(NearestStandardColour(0x7F7F7F), 8);  // dark grey
  EXPECT_EQ(NearestStandardColour(0xFE0202), 9);  // red
  EXPECT_EQ(NearestStandardColour(0xFFFFFFFF), 15);
  EXPECT_EQ(NearestStandardColour(0x202020), 0);

  // Three pixels a row, two rows, with padding between rows to keep them 4-byte aligned.
  const std::uint32_t pixels[] = {0xFFFFFF, 0xFF0000, 0x000080, 0,  //
                                  0x00FF00, 0x000000, 0xFFFF00, 0};
  const std::string bmp = EncodeSixteenColourBitmap(pixels, 3, 2, 4);
  auto u32 = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
      value = value << 8 | static_cast<std::uint8_t>(bmp[at + i]);
    return value;
  };
  ASSERT_EQ(bmp.size(), 118u + 2 * 4);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), bmp.size());
  EXPECT_EQ(u32(10), 118u);  // pixels after the headers and 16 palette entries
  EXPECT_EQ(u32(18), 3u);
  EXPECT_EQ(u32(22), 2u);
  EXPECT_EQ(static_cast<int>(bmp[28]), 4);
  EXPECT_EQ(u32(54 + 9 * 4), 0x00FF0000u);  // red as blue, green, red, 0
  // Bottom row first, two pixels a byte, the left one in the high half.
  EXPECT_EQ(bmp.substr(118), std::string("\xA0\xB0\0\0\xF9\x40\0\0", 8));
}

}  // namespace
}  // namespace conversion
