// The unit graph: the level search and its chain choice, the breadth-first paths against the
// level search on random graphs, the ring layout, the minimal tree and the maximal flow.
#include "conversion/unit_graph.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace conversion {
namespace {

using TPath = std::vector<std::int32_t>;

// A category whose definitions link the named units in the given order.
TRecList Category(const std::vector<std::pair<std::string, std::string>>& links) {
  TRecList list;
  for (const auto& [a, b] : links) {
    list.AddUnit(a, 0, 0);
    list.AddUnit(b, 0, 0);
  }
  for (const auto& [a, b] : links)
    list.AddDefinition(list.FindUnit(a), list.FindUnit(b), "x", "x");
  return list;
}

TEST(UnitGraphTest, LevelSearchChoosesTheFirstShortestChainInLevelOrder) {
  // A-B, A-C, B-D, C-D: two chains of two definitions from A to D; the one through B is met
  // first.
  TUnitGraph graph;
  graph.DefineGraph(Category({{"A", "B"}, {"A", "C"}, {"B", "D"}, {"C", "D"}}));
  EXPECT_EQ(graph.DrumMin(1, 4), 2);
  EXPECT_EQ(graph.AllDrumMin(1, 4), (TPath{1, 5}));
  EXPECT_EQ(graph.AllDrumMin(4, 1), (TPath{6, 2}));
  const std::vector<TPath> chains = graph.AllShortestChains(1, 4, 10);
  EXPECT_EQ(chains, (std::vector<TPath>{{1, 5}, {3, 7}}));
  EXPECT_EQ(graph.AllShortestChains(1, 4, 1).size(), 1u);
}

TEST(UnitGraphTest, AUnitToItselfGoesOutAndBackAndAnUnlinkedUnitHasNoPath) {
  TRecList list = Category({{"m", "km"}, {"m", "cm"}});
  list.AddUnit("lonely", 0, 0);
  TUnitGraph graph;
  graph.DefineGraph(list);
  const std::int32_t m = list.FindUnit("m") + 1;
  const std::int32_t lonely = list.FindUnit("lonely") + 1;
  // The first neighbour of m in level order is cm (vertex 1), reached by arc 3 and left by 4.
  EXPECT_EQ(graph.AllDrumMin(m, m), (TPath{3, 4}));
  EXPECT_TRUE(graph.AllDrumMin(lonely, lonely).empty());
  EXPECT_TRUE(graph.AllDrumMin(m, lonely).empty());
  EXPECT_EQ(graph.DrumMin(lonely, m), kUnreachable);
  const std::vector<std::int32_t> ends = graph.ShortestPathEnds(m);
  EXPECT_EQ(list.PathFromEnds(ends, m - 1, m - 1), (TPath{3, 4}));
  EXPECT_TRUE(list.PathFromEnds(ends, m - 1, lonely - 1).empty());
}

TEST(UnitGraphTest, DisabledArcsAndHeavierParallelArcsAreNotWalked) {
  TRecList list = Category({{"a", "b"}, {"b", "c"}, {"a", "c"}});
  TUnitGraph graph;
  graph.DefineGraph(list);
  EXPECT_EQ(graph.AllDrumMin(1, 3), (TPath{5}));
  graph.Arc(5).enabled = false;
  EXPECT_EQ(graph.AllDrumMin(1, 3), (TPath{1, 3}));
  // ShortestPathEnds falls back to the level search on such a graph.
  EXPECT_EQ(list.PathFromEnds(graph.ShortestPathEnds(1), 0, 2), (TPath{1, 3}));

  list.AddDefinition(0, 1, "x", "x");  // a second a-b link, arcs 7 and 8
  graph.DefineGraph(list);
  graph.Arc(1).weight = 2;
  EXPECT_EQ(graph.AllDrumMin(1, 2), (TPath{7}));
}

// Random checked tables (no loops, no repeated pair): the breadth-first paths must be the
// level search's paths for every ordered pair.
TEST(UnitGraphTest, BreadthFirstPathsEqualTheLevelSearchOnRandomGraphs) {
  std::mt19937 random(20261208);
  for (int trial = 0; trial < 300; ++trial) {
    const int units = 1 + static_cast<int>(random() % 24);
    const int wanted = static_cast<int>(random() % (units * 2 + 1));
    std::set<std::pair<int, int>> used;
    std::vector<std::pair<std::string, std::string>> links;
    auto name = [](int k) { return "u" + std::to_string(100 + k); };
    for (int attempt = 0; attempt < wanted * 3 && static_cast<int>(links.size()) < wanted;
         ++attempt) {
      const int a = static_cast<int>(random() % units);
      const int b = static_cast<int>(random() % units);
      if (a == b || !used.insert(std::minmax(a, b)).second) continue;
      links.push_back({name(a), name(b)});
    }
    TRecList list = Category(links);
    for (int k = 0; k < units; ++k)
      list.AddUnit(name(k), 0, 0);
    TUnitGraph graph;
    graph.DefineGraph(list);
    for (std::int32_t s = 1; s <= graph.VertexCount(); ++s) {
      const std::vector<std::int32_t> ends = graph.ShortestPathEnds(s);
      for (std::int32_t t = 1; t <= graph.VertexCount(); ++t) {
        const TPath expected = graph.AllDrumMin(s, t);
        ASSERT_EQ(list.PathFromEnds(ends, s - 1, t - 1), expected)
            << "trial " << trial << " from " << s << " to " << t;
        if (!expected.empty()) {
          ASSERT_EQ(graph.AllShortestChains(s, t, 1).front(), expected);
        }
      }
    }
  }
}

TEST(UnitGraphTest, RingLayoutPutsSixThenTwelveVerticesRoundTheCentre) {
  const std::vector<TGraphPoint> one = TUnitGraph::RingLayout(1, 600, 450);
  EXPECT_EQ(one, (std::vector<TGraphPoint>{{300, 225}}));

  const std::vector<TGraphPoint> seven = TUnitGraph::RingLayout(7, 600, 450);
  EXPECT_EQ(
      seven,
      (std::vector<TGraphPoint>{
          {300, 225}, {350, 225}, {325, 268}, {275, 268}, {250, 225}, {275, 181}, {325, 181}}));

  const std::vector<TGraphPoint> nineteen = TUnitGraph::RingLayout(19, 601, 451);
  ASSERT_EQ(nineteen.size(), 19u);
  EXPECT_EQ(std::vector<TGraphPoint>(nineteen.begin(), nineteen.begin() + 7), seven);
  EXPECT_EQ(std::vector<TGraphPoint>(nineteen.begin() + 7, nineteen.end()),
            (std::vector<TGraphPoint>{{400, 225},
                                      {386, 275},
                                      {350, 311},
                                      {300, 325},
                                      {250, 311},
                                      {213, 275},
                                      {200, 225},
                                      {213, 175},
                                      {250, 138},
                                      {300, 125},
                                      {350, 138},
                                      {386, 175}}));
  // The twentieth starts the third ring, radius 150, at angle 0.
  EXPECT_EQ(TUnitGraph::RingLayout(20, 600, 450).back(), (TGraphPoint{450, 225}));
}

TEST(UnitGraphTest, MinimalTreeTakesTheLowestOutsideVertexAndTheEarliestTreeVertex) {
  // Units A..D; C-D, A-C, B-D, A-B.
  TUnitGraph graph;
  graph.DefineGraph(Category({{"C", "D"}, {"A", "C"}, {"B", "D"}, {"A", "B"}}));
  // B joins through A-B (arc 7), C through A-C (arc 3); D touches B and C, and B joined first.
  EXPECT_EQ(graph.ArboreleMin(), (TPath{7, 3, 5}));
  EXPECT_TRUE(graph.Arc(5).highlighted);
  EXPECT_FALSE(graph.Arc(1).highlighted);
}

TEST(UnitGraphTest, MinimalTreeOfAGraphThatFallsApartIsAForest) {
  TRecList list = Category({{"A", "B"}, {"D", "E"}});
  list.AddUnit("C", 0, 0);
  TUnitGraph graph;
  graph.DefineGraph(list);
  EXPECT_EQ(graph.ArboreleMin(), (TPath{1, 3}));
  TUnitGraph empty;
  empty.DefineGraph(TRecList());
  EXPECT_TRUE(empty.ArboreleMin().empty());
}

TEST(UnitGraphTest, MaximalFlowCountsArcDisjointChains) {
  TUnitGraph square;
  square.DefineGraph(Category({{"A", "B"}, {"A", "C"}, {"B", "D"}, {"C", "D"}}));
  TFlow flow = square.FluxMax(1, 4);
  EXPECT_EQ(flow.value, 2);
  EXPECT_EQ(flow.arcs, (TPath{1, 3, 5, 7}));
  EXPECT_TRUE(square.Arc(7).highlighted);

  // A triangle with a tail: the tail C-D carries one unit; A-C directly, B unused.
  TUnitGraph tail;
  tail.DefineGraph(Category({{"A", "B"}, {"B", "C"}, {"A", "C"}, {"C", "D"}}));
  flow = tail.FluxMax(1, 4);
  EXPECT_EQ(flow.value, 1);
  EXPECT_EQ(flow.arcs, (TPath{5, 7}));

  EXPECT_EQ(tail.FluxMax(2, 2).value, 0);
  EXPECT_EQ(tail.FluxMax(0, 9).value, 0);
}

}  // namespace
}  // namespace conversion
