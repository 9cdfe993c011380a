// TGraphView.
#include "conversion/graph_view.h"

#include <cstdlib>

#include "conversion/unit_conversion.h"

namespace conversion {

namespace {

const TRecList& EmptyList() {
  static const TRecList empty;
  return empty;
}

bool Near(std::int32_t a, std::int32_t b, std::int32_t distance) {
  return std::abs(a - b) <= distance;
}

}  // namespace

TGraphView::TGraphView(TUnitConversion& conversion) : conversion_(conversion) {}

void TGraphView::ShowCategory(std::int32_t index) {
  category_ = index;
  kind_ = TGraphViewKind::Graph;
  Rebuild();
}

void TGraphView::Rebuild() {
  const TCategoryList& table = conversion_.Table();
  if (category_ < 0 || category_ >= table.Count()) category_ = -1;
  dragged_ = 0;
  limitMessage_.clear();
  const TRecList* list = &EmptyList();
  if (category_ >= 0) {
    limitMessage_ = TUnitGraph::PictureLimitMessage(table.At(category_).list);
    if (limitMessage_.empty()) list = &table.At(category_).list;
  }
  graph_.DefineGraph(*list);
  ApplyView();
}

std::string TGraphView::Caption() const {
  if (category_ < 0) return kNoCategoryCaption;
  return "Category = " + std::to_string(category_ + 1) + ". " +
         conversion_.Table().At(category_).name;
}

void TGraphView::ShowPlainGraph() {
  kind_ = TGraphViewKind::Graph;
  ApplyView();
}

void TGraphView::ShowMinimalTree() {
  kind_ = TGraphViewKind::MinimalTree;
  ApplyView();
}

void TGraphView::ShowShortestPath(std::int32_t begin, std::int32_t end) {
  ShowBetween(TGraphViewKind::ShortestPath, begin, end);
}

void TGraphView::ShowMaximalFlow(std::int32_t begin, std::int32_t end) {
  ShowBetween(TGraphViewKind::MaximalFlow, begin, end);
}

void TGraphView::ShowBetween(TGraphViewKind kind, std::int32_t begin, std::int32_t end) {
  const std::int32_t count = graph_.VertexCount();
  const bool valid = begin >= 1 && begin <= count && end >= 1 && end <= count;
  kind_ = valid ? kind : TGraphViewKind::Graph;
  if (valid) {
    beginName_ = graph_.Vertex(begin).name;
    endName_ = graph_.Vertex(end).name;
  }
  chosenChain_ = 1;
  ApplyView();
}

void TGraphView::ApplyView() {
  const std::size_t wantedChain = chosenChain_;
  chains_.clear();
  chosenChain_ = 0;
  graph_.ClearHighlights();
  if (kind_ == TGraphViewKind::MinimalTree) graph_.ArboreleMin();
  if (kind_ != TGraphViewKind::ShortestPath && kind_ != TGraphViewKind::MaximalFlow) return;

  std::int32_t begin = 0;
  std::int32_t end = 0;
  for (std::int32_t v = 1; v <= graph_.VertexCount(); ++v) {
    if (begin == 0 && graph_.Vertex(v).name == beginName_) begin = v;
    if (end == 0 && graph_.Vertex(v).name == endName_) end = v;
  }
  if (begin == 0 || end == 0) {
    kind_ = TGraphViewKind::Graph;
    return;
  }
  if (kind_ == TGraphViewKind::MaximalFlow) {
    graph_.FluxMax(begin, end);
  } else {
    chains_ = graph_.AllShortestChains(begin, end, kMaxListedChains);
    if (!chains_.empty()) {
      chosenChain_ = wantedChain >= 1 && wantedChain <= chains_.size() ? wantedChain : 1;
      HighlightChain(chosenChain_, true);
    }
  }
  graph_.Vertex(begin).highlighted = true;
  graph_.Vertex(end).highlighted = true;
}

void TGraphView::HighlightChain(std::size_t number, bool on) {
  for (const std::int32_t arc : chains_[number - 1])
    graph_.Arc(arc).highlighted = on;
}

bool TGraphView::ChooseChain(std::size_t number) {
  if (number < 1 || number > chains_.size()) return false;
  HighlightChain(chosenChain_, false);
  chosenChain_ = number;
  HighlightChain(chosenChain_, true);
  return true;
}

std::string TGraphView::PathCaption() const {
  return "Path " + std::to_string(chosenChain_) + " : " + std::to_string(chains_.size());
}

std::string TGraphView::ChainRangeMessage() const {
  return kChainRange + std::to_string(chains_.size());
}

void TGraphView::Refresh(std::int32_t width, std::int32_t height) {
  const std::vector<TGraphPoint> places =
      TUnitGraph::RingLayout(graph_.VertexCount(), width, height);
  for (std::int32_t v = 1; v <= graph_.VertexCount(); ++v) {
    TVertex& vertex = graph_.Vertex(v);
    vertex.position = places[static_cast<std::size_t>(v - 1)];
    StorePosition(vertex);
  }
}

void TGraphView::StorePosition(const TVertex& vertex) {
  const TCategoryList& table = conversion_.Table();
  if (category_ < 0 || category_ >= table.Count()) return;
  const TRecList& list = table.At(category_).list;
  const std::int32_t unit = vertex.number - 1;
  // The table may have changed since the graph was built; a place goes only to its own unit.
  if (unit >= list.UnitCount() || list.Unit(unit).name != vertex.name) return;
  conversion_.SetUnitPosition(category_, unit, vertex.position.x, vertex.position.y);
}

// ---- The mouse -------------------------------------------------------------------------------

std::int32_t TGraphView::VertexAt(std::int32_t x, std::int32_t y) const {
  for (std::int32_t v = 1; v <= graph_.VertexCount(); ++v) {
    const TGraphPoint& at = graph_.Vertex(v).position;
    if (Near(at.x, x, kVertexPickDistance) && Near(at.y, y, kVertexPickDistance)) return v;
  }
  return 0;
}

TGraphPoint TGraphView::LabelAnchor(std::int32_t arc) const {
  const TArc& line = graph_.Arc(arc);
  const TGraphPoint from = graph_.Vertex(line.from).position;
  const TGraphPoint to = graph_.Vertex(line.to).position;
  // A unit linked with itself: its labels go above its vertex, E to the left of F.
  if (line.from == line.to) {
    const std::int32_t side = line.number % 2 == 1 ? -kLabelHalfWidth : kLabelHalfWidth;
    return {from.x + side, from.y - 2 * kLabelHalfHeight};
  }
  return {from.x + (to.x - from.x) / 3, from.y + (to.y - from.y) / 3};
}

std::int32_t TGraphView::ArcLabelAt(std::int32_t x, std::int32_t y) const {
  for (std::int32_t arc = 1; arc <= graph_.ArcCount(); ++arc) {
    const TGraphPoint anchor = LabelAnchor(arc);
    if (Near(anchor.x, x, kLabelHalfWidth) && Near(anchor.y, y, kLabelHalfHeight)) return arc;
  }
  return 0;
}

std::string TGraphView::ArcText(std::int32_t arc) const {
  const TArc& line = graph_.Arc(arc);
  return TUnitGraph::ArcLabel(arc) + " : " + graph_.Vertex(line.from).name + " ---> " +
         graph_.Vertex(line.to).name;
}

bool TGraphView::BeginDrag(std::int32_t x, std::int32_t y) {
  return BeginDragVertex(VertexAt(x, y));
}

bool TGraphView::BeginDragVertex(std::int32_t vertex) {
  dragged_ = vertex >= 1 && vertex <= graph_.VertexCount() ? vertex : 0;
  if (dragged_ != 0) dragStart_ = graph_.Vertex(dragged_).position;
  return dragged_ != 0;
}

void TGraphView::DragTo(std::int32_t x, std::int32_t y) {
  if (dragged_ != 0) graph_.Vertex(dragged_).position = {x, y};
}

bool TGraphView::EndDrag(std::int32_t x, std::int32_t y, bool insidePicture) {
  if (dragged_ == 0) return false;
  TVertex& vertex = graph_.Vertex(dragged_);
  dragged_ = 0;
  if (!insidePicture) {
    vertex.position = dragStart_;
    return false;
  }
  vertex.position = {x, y};
  StorePosition(vertex);
  return true;
}

// ---- Memory ----------------------------------------------------------------------------------

std::size_t TGraphView::AllocatedBytes() const {
  std::size_t bytes = graph_.AllocatedBytes() + chains_.capacity() * sizeof(chains_[0]);
  for (const std::vector<std::int32_t>& chain : chains_)
    bytes += chain.capacity() * sizeof(std::int32_t);
  return bytes;
}

std::string TGraphView::MemoryText() const {
  return kMemoryPrefix + std::to_string(AllocatedBytes()) + " bytes";
}

}  // namespace conversion
