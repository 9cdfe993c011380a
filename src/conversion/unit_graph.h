// The graph of one category's units: two arcs per definition, the level search for shortest
// chains and its path reconstruction, the ring layout, the minimal tree and the maximal flow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversion/conversion_table.h"

namespace conversion {

// The length of a walk that cannot be made.
inline constexpr double kUnreachable = 1.7e308;
// Lengths closer than this are equal.
inline constexpr double kLengthTolerance = 1e-13;

// The largest graph the picture shows, and the texts for a larger one.
inline constexpr std::int32_t kMaxPictureUnits = 400;
inline constexpr std::int32_t kMaxPictureDefinitions = 150;
inline constexpr const char* kTooManyUnits = "VERTEX COUNT MUST BE <= ";
inline constexpr const char* kTooManyDefinitions = "ARC COUNT MUST BE <= ";

struct TGraphPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const TGraphPoint&) const = default;
};

struct TVertex {
  std::int32_t number = 0;  // 1-based, the unit's position + 1
  std::string name;
  TGraphPoint position;
  bool highlighted = false;
  std::vector<std::int32_t> arcs;  // arcs leaving or entering it, ascending
};

struct TArc {
  std::int32_t number = 0;  // 2k+1: Unit A -> Unit B of definition k; 2k+2: back
  std::int32_t from = 0;    // vertex numbers
  std::int32_t to = 0;
  bool highlighted = false;
  bool enabled = true;
  double weight = 1;
};

// One cell of the level table: an arc and the length of the walk that ends with it.
struct TLevelCell {
  std::int32_t arc = 0;
  double length = 0;
};

struct TFlow {
  std::int32_t value = 0;          // the number of unit chains that carry the flow
  std::vector<std::int32_t> arcs;  // arcs that carry flow, ascending
};

class TUnitGraph {
 public:
  // Builds vertices and arcs for a category: positions from the units, or the ring layout
  // for a picture of `width` by `height` pixels when `automaticLayout` is set.
  void DefineGraph(const TRecList& list, bool automaticLayout = false, std::int32_t width = 600,
                   std::int32_t height = 450);

  std::int32_t VertexCount() const { return static_cast<std::int32_t>(vertices_.size()); }
  std::int32_t ArcCount() const { return static_cast<std::int32_t>(arcs_.size()); }
  TVertex& Vertex(std::int32_t number) { return vertices_[static_cast<std::size_t>(number - 1)]; }
  const TVertex& Vertex(std::int32_t number) const {
    return vertices_[static_cast<std::size_t>(number - 1)];
  }
  TArc& Arc(std::int32_t number) { return arcs_[static_cast<std::size_t>(number - 1)]; }
  const TArc& Arc(std::int32_t number) const { return arcs_[static_cast<std::size_t>(number - 1)]; }
  // "E1", "F1", ...: E for the arc from Unit A, F for the arc back.
  static std::string ArcLabel(std::int32_t arc);
  // The message that keeps a graph this big out of the picture, or empty when it fits.
  static std::string PictureLimitMessage(const TRecList& list);

  // The level search from `start` to `target`: the shortest length, kUnreachable when the
  // target cannot be reached; leaves the level table filled.
  double DrumMin(std::int32_t start, std::int32_t target);
  const std::vector<std::vector<TLevelCell>>& Levels() const { return levels_; }
  // The first shortest chain in level order, as arc numbers from `start`; empty when the
  // target cannot be reached. A vertex to itself goes out and back.
  std::vector<std::int32_t> AllDrumMin(std::int32_t start, std::int32_t target);
  // Every shortest chain in the order of the level table (the first is AllDrumMin's), at
  // most `limit` of them.
  std::vector<std::vector<std::int32_t>> AllShortestChains(std::int32_t start, std::int32_t target,
                                                           std::size_t limit);

  // The last arc of AllDrumMin(start, v) for every vertex v (index v - 1), 0 where there is
  // none, in one breadth-first pass. The chains from one start form a tree, so this is all of
  // them. Gives the level search's chains on graphs whose arcs are all enabled, of weight 1,
  // without loops and without two arcs of the same direction between two vertices (a checked
  // table); any other graph is searched level by level.
  std::vector<std::int32_t> ShortestPathEnds(std::int32_t start);
  // ShortestPathEnds for every start vertex in turn (index start - 1), as a check stores them.
  std::vector<std::vector<std::int32_t>> ShortestPathEndsFromEach();

  // Highlights and returns the arcs of a spanning tree grown from vertex 1 (a forest when the
  // graph falls apart).
  std::vector<std::int32_t> ArboreleMin();
  // The maximal flow from `begin` to `end` with capacity 1 on every arc; highlights the arcs
  // that carry it.
  TFlow FluxMax(std::int32_t begin, std::int32_t end);
  void ClearHighlights();

  // The bytes the graph's vertices, arcs, arc lists, names and level table hold on the heap.
  std::size_t AllocatedBytes() const;

  // The automatic layout of `count` vertices round the centre of a `width` by `height` picture.
  static std::vector<TGraphPoint> RingLayout(std::int32_t count, std::int32_t width,
                                             std::int32_t height);

 private:
  bool IsPlain() const;
  std::vector<std::int32_t> BreadthFirstEnds(std::int32_t start) const;
  bool HasBetterParallel(const TArc& arc) const;

  std::vector<TVertex> vertices_;
  std::vector<TArc> arcs_;
  std::vector<std::vector<TLevelCell>> levels_;
};

}  // namespace conversion
