// What the graph window shows, without widgets: the category, its graph, the chosen view with
// its highlights and chains, where the vertices and arc labels lie for the mouse, and the
// dragging of a vertex into a new place that the next save of the table writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "conversion/unit_graph.h"

namespace conversion {

class TUnitConversion;

enum class TGraphViewKind { Graph, MinimalTree, ShortestPath, MaximalFlow };

// A press this close to a vertex, in both directions, picks it up.
inline constexpr std::int32_t kVertexPickDistance = 10;
// An arc label is drawn centred on its anchor; a click inside this box round it hits it.
inline constexpr std::int32_t kLabelHalfWidth = 14;
inline constexpr std::int32_t kLabelHalfHeight = 8;
// Shortest chains can be exponentially many; the view lists at most this many.
inline constexpr std::size_t kMaxListedChains = 1000;

inline constexpr const char* kNoCategoryCaption = "Category = NIL";
inline constexpr const char* kChainRange = "THE NUMBER MUST BE BETWEEN 1 AND ";
inline constexpr const char* kMemoryPrefix = "Total allocated memory= ";

class TGraphView {
 public:
  // `conversion` must outlive the view.
  explicit TGraphView(TUnitConversion& conversion);

  // Shows category `index` (0-based, -1 for none) in the plain view.
  void ShowCategory(std::int32_t index);
  // Builds the graph again from the table, which may have changed: an index past the end
  // becomes none, and the view stays as it was when its begin and end units still exist.
  void Rebuild();
  std::int32_t Category() const { return category_; }
  // "Category = 2. Angles" or "Category = NIL".
  std::string Caption() const;
  // The message that keeps the category out of the picture (which is then empty), or empty.
  const std::string& LimitMessage() const { return limitMessage_; }
  const TUnitGraph& Graph() const { return graph_; }

  TGraphViewKind Kind() const { return kind_; }
  void ShowPlainGraph();
  void ShowMinimalTree();
  // The shortest chains from `begin` to `end` (vertex numbers), the first highlighted.
  void ShowShortestPath(std::int32_t begin, std::int32_t end);
  void ShowMaximalFlow(std::int32_t begin, std::int32_t end);
  std::size_t ChainCount() const { return chains_.size(); }
  std::size_t ChosenChain() const { return chosenChain_; }  // 1-based, 0 for none
  // Highlights chain `number` (1-based) instead of the one before; false, and no change, when
  // there is no such chain.
  bool ChooseChain(std::size_t number);
  // "Path 2 : 3".
  std::string PathCaption() const;
  std::string ChainRangeMessage() const;

  // Lays the vertices out round the centre of a `width` by `height` picture and keeps those
  // places in the units.
  void Refresh(std::int32_t width, std::int32_t height);

  // The first vertex, in vertex order, within kVertexPickDistance of (x, y); 0 for none.
  std::int32_t VertexAt(std::int32_t x, std::int32_t y) const;
  // The centre of arc `arc`'s label: a third of the way along the line from its start, so that
  // the two arcs of a definition keep their labels apart.
  TGraphPoint LabelAnchor(std::int32_t arc) const;
  // The first arc, in arc order, whose label box holds (x, y); 0 for none.
  std::int32_t ArcLabelAt(std::int32_t x, std::int32_t y) const;
  // "E1 : pi radians ---> degrees".
  std::string ArcText(std::int32_t arc) const;

  // Picks up the vertex at (x, y); false when there is none.
  bool BeginDrag(std::int32_t x, std::int32_t y);
  // Picks up vertex number `vertex` (as the keyboard does); false when there is none.
  bool BeginDragVertex(std::int32_t vertex);
  void DragTo(std::int32_t x, std::int32_t y);
  // Lets the vertex go at (x, y): inside the picture its unit keeps the place, outside it goes
  // back where it was. True when a place was stored.
  bool EndDrag(std::int32_t x, std::int32_t y, bool insidePicture);
  std::int32_t DraggedVertex() const { return dragged_; }

  // The bytes the graph and the listed chains hold, and the status text that reports them.
  std::size_t AllocatedBytes() const;
  std::string MemoryText() const;

 private:
  // Enters the path or the flow view between two vertices; the plain view when either is none.
  void ShowBetween(TGraphViewKind kind, std::int32_t begin, std::int32_t end);
  void ApplyView();
  void HighlightEnds();
  void HighlightChain(std::size_t number, bool on);
  // Stores a vertex's place in its unit, if the table still holds that unit there.
  void StorePosition(const TVertex& vertex);

  TUnitConversion& conversion_;
  TUnitGraph graph_;
  std::int32_t category_ = -1;
  std::string limitMessage_;
  TGraphViewKind kind_ = TGraphViewKind::Graph;
  // The units the path and flow views run between, by name, so that a rebuild finds them again.
  std::string beginName_;
  std::string endName_;
  std::vector<std::vector<std::int32_t>> chains_;
  std::size_t chosenChain_ = 0;
  std::int32_t dragged_ = 0;
  TGraphPoint dragStart_;
};

}  // namespace conversion
