// The unit graph and its searches.
#include "conversion/unit_graph.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>

namespace conversion {

void TUnitGraph::DefineGraph(const TRecList& list, bool automaticLayout, std::int32_t width,
                             std::int32_t height) {
  vertices_.clear();
  arcs_.clear();
  levels_.clear();
  const std::vector<TGraphPoint> layout =
      automaticLayout ? RingLayout(list.UnitCount(), width, height) : std::vector<TGraphPoint>();
  vertices_.resize(static_cast<std::size_t>(list.UnitCount()));
  for (std::int32_t u = 0; u < list.UnitCount(); ++u) {
    TVertex& vertex = vertices_[static_cast<std::size_t>(u)];
    vertex.number = u + 1;
    vertex.name = list.Unit(u).name;
    vertex.position = automaticLayout ? layout[static_cast<std::size_t>(u)]
                                      : TGraphPoint{list.Unit(u).point.x, list.Unit(u).point.y};
  }
  arcs_.reserve(list.Definitions.size() * 2);
  for (const TConversionDefinition& definition : list.Definitions) {
    const std::int32_t a = definition.unitA + 1;
    const std::int32_t b = definition.unitB + 1;
    const auto number = static_cast<std::int32_t>(arcs_.size()) + 1;
    arcs_.push_back(TArc{number, a, b});
    arcs_.push_back(TArc{number + 1, b, a});
  }
  for (const TArc& arc : arcs_) {
    Vertex(arc.from).arcs.push_back(arc.number);
    if (arc.to != arc.from) Vertex(arc.to).arcs.push_back(arc.number);
  }
}

std::string TUnitGraph::ArcLabel(std::int32_t arc) {
  return (arc % 2 == 1 ? "E" : "F") + std::to_string((arc + 1) / 2);
}

std::string TUnitGraph::PictureLimitMessage(const TRecList& list) {
  if (list.UnitCount() > kMaxPictureUnits) {
    return kTooManyUnits + std::to_string(kMaxPictureUnits);
  }
  if (list.Definitions.size() > static_cast<std::size_t>(kMaxPictureDefinitions)) {
    return kTooManyDefinitions + std::to_string(kMaxPictureDefinitions);
  }
  return {};
}

// ---- Level search ----------------------------------------------------------------------------

bool TUnitGraph::HasBetterParallel(const TArc& arc) const {
  for (const std::int32_t other : Vertex(arc.from).arcs) {
    const TArc& candidate = Arc(other);
    if (other == arc.number || !candidate.enabled || candidate.from != arc.from ||
        candidate.to != arc.to) {
      continue;
    }
    if (candidate.weight < arc.weight || (candidate.weight == arc.weight && other < arc.number)) {
      return true;
    }
  }
  return false;
}

double TUnitGraph::DrumMin(std::int32_t start, std::int32_t target) {
  levels_.clear();
  double best = kUnreachable;
  const std::int32_t n = VertexCount();
  if (start < 1 || start > n || target < 1 || target > n) return best;

  std::vector<TLevelCell> level;
  for (const std::int32_t number : Vertex(start).arcs) {
    const TArc& arc = Arc(number);
    if (arc.enabled && arc.from == start) level.push_back({number, arc.weight});
  }
  std::vector<std::int32_t> reachedBefore;
  // The shortest walk so far to each vertex reached by the current level.
  std::vector<double> lengthTo(static_cast<std::size_t>(n) + 1, kUnreachable);
  while (!level.empty()) {
    levels_.push_back(level);
    for (const TLevelCell& cell : level) {
      if (Arc(cell.arc).to == target && cell.length < best) best = cell.length;
    }
    std::vector<std::int32_t> reached;
    for (const TLevelCell& cell : level)
      reached.push_back(Arc(cell.arc).to);
    std::sort(reached.begin(), reached.end());
    reached.erase(std::unique(reached.begin(), reached.end()), reached.end());
    if (levels_.size() > 1 && reached == reachedBefore) break;
    if (levels_.size() >= static_cast<std::size_t>(n)) break;

    std::fill(lengthTo.begin(), lengthTo.end(), kUnreachable);
    for (const TLevelCell& cell : level) {
      double& length = lengthTo[static_cast<std::size_t>(Arc(cell.arc).to)];
      length = std::min(length, cell.length);
    }
    std::vector<TLevelCell> next;
    for (const std::int32_t vertex : reached) {
      for (const std::int32_t number : Vertex(vertex).arcs) {
        const TArc& arc = Arc(number);
        if (!arc.enabled || arc.from != vertex || HasBetterParallel(arc)) continue;
        const double length = lengthTo[static_cast<std::size_t>(vertex)] + arc.weight;
        if (length > best) continue;
        next.push_back({number, length});
      }
    }
    reachedBefore = std::move(reached);
    level = std::move(next);
  }
  return best;
}

std::vector<std::int32_t> TUnitGraph::AllDrumMin(std::int32_t start, std::int32_t target) {
  const double best = DrumMin(start, target);
  if (best >= kUnreachable) return {};
  std::size_t last = levels_.size();
  TLevelCell current;
  for (std::size_t l = 0; l < levels_.size() && last == levels_.size(); ++l) {
    for (const TLevelCell& cell : levels_[l]) {
      if (Arc(cell.arc).to == target && std::fabs(cell.length - best) <= kLengthTolerance) {
        last = l;
        current = cell;
        break;
      }
    }
  }
  if (last == levels_.size()) return {};
  std::vector<std::int32_t> path{current.arc};
  for (std::size_t l = last; l-- > 0;) {
    const TLevelCell* chosen = nullptr;
    for (const TLevelCell& cell : levels_[l]) {
      const TArc& arc = Arc(cell.arc);
      if (arc.to != Arc(current.arc).from || arc.to == target) continue;
      if (chosen == nullptr || cell.length < chosen->length) chosen = &cell;
    }
    if (chosen == nullptr) return {};
    current = *chosen;
    path.push_back(current.arc);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

std::vector<std::vector<std::int32_t>> TUnitGraph::AllShortestChains(std::int32_t start,
                                                                     std::int32_t target,
                                                                     std::size_t limit) {
  std::vector<std::vector<std::int32_t>> chains;
  const double best = DrumMin(start, target);
  if (best >= kUnreachable || limit == 0) return chains;
  // Depth-first from each last arc back to level 0; choice k at depth d is the k-th cell of its
  // level, so the chains come out in level order and the first is AllDrumMin's.
  struct TStep {
    std::size_t level;
    std::size_t cell;
  };
  auto fits = [&](std::size_t level, std::size_t cell, const TStep* after) {
    const TLevelCell& candidate = levels_[level][cell];
    const TArc& arc = Arc(candidate.arc);
    if (after == nullptr) {
      return arc.to == target && std::fabs(candidate.length - best) <= kLengthTolerance;
    }
    const TLevelCell& next = levels_[after->level][after->cell];
    const TArc& nextArc = Arc(next.arc);
    return arc.to == nextArc.from && arc.to != target &&
           std::fabs(candidate.length - (next.length - nextArc.weight)) <= kLengthTolerance;
  };
  for (std::size_t last = 0; last < levels_.size(); ++last) {
    std::vector<TStep> stack;
    // Find the first fitting cell at or after `from` in `level`, or report none.
    auto advance = [&](std::size_t level, std::size_t from, const TStep* after) {
      for (std::size_t cell = from; cell < levels_[level].size(); ++cell) {
        if (fits(level, cell, after)) return cell;
      }
      return levels_[level].size();
    };
    std::size_t cell = advance(last, 0, nullptr);
    if (cell == levels_[last].size()) continue;
    stack.push_back({last, cell});
    while (!stack.empty()) {
      const TStep top = stack.back();
      if (top.level == 0) {
        std::vector<std::int32_t> chain;
        for (std::size_t k = stack.size(); k-- > 0;) {
          chain.push_back(levels_[stack[k].level][stack[k].cell].arc);
        }
        chains.push_back(std::move(chain));
        if (chains.size() >= limit) return chains;
      } else {
        const std::size_t below = advance(top.level - 1, 0, &stack.back());
        if (below < levels_[top.level - 1].size()) {
          stack.push_back({top.level - 1, below});
          continue;
        }
      }
      // Step to the next sibling of the deepest step, unwinding exhausted ones.
      while (!stack.empty()) {
        const TStep done = stack.back();
        stack.pop_back();
        const TStep* after = stack.empty() ? nullptr : &stack.back();
        const std::size_t sibling = advance(done.level, done.cell + 1, after);
        if (sibling < levels_[done.level].size()) {
          stack.push_back({done.level, sibling});
          break;
        }
      }
    }
  }
  return chains;
}

bool TUnitGraph::IsPlain() const {
  std::set<std::pair<std::int32_t, std::int32_t>> links;
  for (const TArc& arc : arcs_) {
    if (!arc.enabled || arc.weight != 1 || arc.from == arc.to) return false;
    if (!links.insert({arc.from, arc.to}).second) return false;
  }
  return true;
}

std::vector<std::int32_t> TUnitGraph::ShortestPathEnds(std::int32_t start) {
  const std::int32_t n = VertexCount();
  if (start < 1 || start > n) return std::vector<std::int32_t>(static_cast<std::size_t>(n), 0);
  if (IsPlain()) return BreadthFirstEnds(start);
  std::vector<std::int32_t> ends(static_cast<std::size_t>(n), 0);
  for (std::int32_t v = 1; v <= n; ++v) {
    const std::vector<std::int32_t> path = AllDrumMin(start, v);
    if (!path.empty()) ends[static_cast<std::size_t>(v - 1)] = path.back();
  }
  return ends;
}

std::vector<std::vector<std::int32_t>> TUnitGraph::ShortestPathEndsFromEach() {
  std::vector<std::vector<std::int32_t>> all;
  all.reserve(static_cast<std::size_t>(VertexCount()));
  const bool plain = IsPlain();
  for (std::int32_t start = 1; start <= VertexCount(); ++start) {
    all.push_back(plain ? BreadthFirstEnds(start) : ShortestPathEnds(start));
  }
  return all;
}

std::vector<std::int32_t> TUnitGraph::BreadthFirstEnds(std::int32_t start) const {
  const std::int32_t n = VertexCount();
  std::vector<std::int32_t> ends(static_cast<std::size_t>(n), 0);
  // With unit weights level i holds the arcs leaving the vertices at distance i, visited in
  // ascending vertex and arc number; the level search's chain to a vertex ends with the first
  // arc met that reaches it from the distance before. Breadth-first order with each frontier
  // sorted meets the arcs in exactly that order.
  std::vector<std::int32_t> distance(static_cast<std::size_t>(n) + 1, -1);
  distance[static_cast<std::size_t>(start)] = 0;
  std::vector<std::int32_t> frontier{start};
  std::int32_t& backHome = ends[static_cast<std::size_t>(start - 1)];
  while (!frontier.empty()) {
    std::vector<std::int32_t> next;
    for (const std::int32_t vertex : frontier) {
      const std::int32_t here = distance[static_cast<std::size_t>(vertex)];
      for (const std::int32_t number : Vertex(vertex).arcs) {
        const TArc& arc = Arc(number);
        if (arc.from != vertex) continue;
        std::int32_t& seen = distance[static_cast<std::size_t>(arc.to)];
        if (seen < 0) {
          seen = here + 1;
          ends[static_cast<std::size_t>(arc.to - 1)] = number;
          next.push_back(arc.to);
        } else if (arc.to == start && here == 1 && backHome == 0) {
          // A unit to itself: out to its first neighbour and back.
          backHome = number;
        }
      }
    }
    std::sort(next.begin(), next.end());
    frontier = std::move(next);
  }
  return ends;
}

// ---- Minimal tree and maximal flow -----------------------------------------------------------

void TUnitGraph::ClearHighlights() {
  for (TVertex& vertex : vertices_)
    vertex.highlighted = false;
  for (TArc& arc : arcs_)
    arc.highlighted = false;
}

std::vector<std::int32_t> TUnitGraph::ArboreleMin() {
  ClearHighlights();
  std::vector<std::int32_t> treeArcs;
  const std::int32_t n = VertexCount();
  if (n == 0) return treeArcs;
  // Join order of each vertex in the tree, -1 outside it.
  std::vector<std::int32_t> joined(static_cast<std::size_t>(n) + 1, -1);
  std::int32_t treeSize = 0;
  auto join = [&](std::int32_t vertex) { joined[static_cast<std::size_t>(vertex)] = treeSize++; };
  join(1);
  bool previousFailed = false;
  for (std::int32_t step = 1; step < n; ++step) {
    if (previousFailed) {
      // The graph falls apart: grow on from the lowest vertex still outside.
      for (std::int32_t v = 1; v <= n; ++v) {
        if (joined[static_cast<std::size_t>(v)] < 0) {
          join(v);
          break;
        }
      }
    }
    // The arc of least weight between the tree and an outside vertex; ties go to the lower
    // outside vertex, then the tree vertex that joined first, then the outside vertex's arc
    // list order.
    double best = kUnreachable;
    std::int32_t bestArc = 0;
    std::int32_t bestVertex = 0;
    for (std::int32_t v = 1; v <= n; ++v) {
      if (joined[static_cast<std::size_t>(v)] >= 0) continue;
      double vertexBest = kUnreachable;
      std::int32_t vertexArc = 0;
      std::int32_t vertexJoin = 0;
      for (const std::int32_t number : Vertex(v).arcs) {
        const TArc& arc = Arc(number);
        const std::int32_t other = arc.from == v ? arc.to : arc.from;
        const std::int32_t order = joined[static_cast<std::size_t>(other)];
        if (other == v || order < 0) continue;
        if (arc.weight < vertexBest || (arc.weight == vertexBest && order < vertexJoin)) {
          vertexBest = arc.weight;
          vertexArc = number;
          vertexJoin = order;
        }
      }
      if (vertexArc != 0 && vertexBest < best) {
        best = vertexBest;
        bestArc = vertexArc;
        bestVertex = v;
      }
    }
    previousFailed = bestArc == 0;
    if (previousFailed) continue;
    Arc(bestArc).highlighted = true;
    treeArcs.push_back(bestArc);
    join(bestVertex);
  }
  return treeArcs;
}

TFlow TUnitGraph::FluxMax(std::int32_t begin, std::int32_t end) {
  ClearHighlights();
  TFlow flow;
  const std::int32_t n = VertexCount();
  if (begin < 1 || begin > n || end < 1 || end > n || begin == end) return flow;
  std::vector<char> carries(arcs_.size(), 0);
  auto carried = [&](std::int32_t number) -> char& {
    return carries[static_cast<std::size_t>(number - 1)];
  };
  // Breadth-first augmenting chains: an arc is usable forwards while it carries nothing and
  // backwards while it carries one unit.
  struct TVia {
    std::int32_t arc = 0;
    bool forwards = true;
  };
  while (true) {
    std::vector<TVia> via(static_cast<std::size_t>(n) + 1);
    std::vector<char> seen(static_cast<std::size_t>(n) + 1, 0);
    seen[static_cast<std::size_t>(begin)] = 1;
    std::vector<std::int32_t> queue{begin};
    for (std::size_t head = 0; head < queue.size() && !seen[static_cast<std::size_t>(end)];
         ++head) {
      const std::int32_t vertex = queue[head];
      for (const std::int32_t number : Vertex(vertex).arcs) {
        const TArc& arc = Arc(number);
        if (!arc.enabled) continue;
        std::int32_t other = 0;
        bool forwards = true;
        if (arc.from == vertex && !carried(number)) {
          other = arc.to;
        } else if (arc.to == vertex && carried(number)) {
          other = arc.from;
          forwards = false;
        } else {
          continue;
        }
        if (seen[static_cast<std::size_t>(other)]) continue;
        seen[static_cast<std::size_t>(other)] = 1;
        via[static_cast<std::size_t>(other)] = {number, forwards};
        queue.push_back(other);
      }
    }
    if (!seen[static_cast<std::size_t>(end)]) break;
    for (std::int32_t vertex = end; vertex != begin;) {
      const TVia step = via[static_cast<std::size_t>(vertex)];
      carried(step.arc) = step.forwards ? 1 : 0;
      vertex = step.forwards ? Arc(step.arc).from : Arc(step.arc).to;
    }
    ++flow.value;
  }
  // A unit each way along one definition is no flow at all: drop both.
  for (std::size_t k = 0; k + 1 < carries.size(); k += 2) {
    if (carries[k] && carries[k + 1]) carries[k] = carries[k + 1] = 0;
  }
  for (const TArc& arc : arcs_) {
    if (carried(arc.number)) {
      flow.arcs.push_back(arc.number);
      Arc(arc.number).highlighted = true;
    }
  }
  return flow;
}

std::size_t TUnitGraph::AllocatedBytes() const {
  std::size_t bytes = vertices_.capacity() * sizeof(TVertex) + arcs_.capacity() * sizeof(TArc) +
                      levels_.capacity() * sizeof(std::vector<TLevelCell>);
  for (const TVertex& vertex : vertices_) {
    bytes += vertex.arcs.capacity() * sizeof(std::int32_t);
    // Short names live inside the string object itself.
    if (vertex.name.capacity() > std::string().capacity()) bytes += vertex.name.capacity() + 1;
  }
  for (const std::vector<TLevelCell>& level : levels_)
    bytes += level.capacity() * sizeof(TLevelCell);
  return bytes;
}

// ---- Layout ----------------------------------------------------------------------------------

std::vector<TGraphPoint> TUnitGraph::RingLayout(std::int32_t count, std::int32_t width,
                                                std::int32_t height) {
  std::vector<TGraphPoint> points;
  if (count <= 0) return points;
  const double cx = width / 2;
  const double cy = height / 2;
  points.reserve(static_cast<std::size_t>(count));
  points.push_back({static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy)});
  constexpr double pi = std::numbers::pi;
  // Positions that are whole in exact arithmetic (cos 60 degrees is one half) come out a hair
  // either side of the integer; the nudge keeps truncation from dropping a pixel for that.
  auto pixel = [](double value) {
    return static_cast<std::int32_t>(std::trunc(value + std::copysign(1e-9, value)));
  };
  std::int32_t ring = 1;
  double angle = 0;
  for (std::int32_t k = 1; k < count; ++k) {
    const double radius = 50.0 * ring;
    points.push_back({pixel(cx + radius * std::cos(angle)), pixel(cy + radius * std::sin(angle))});
    if (std::fabs(angle + pi / (10.0 * ring) - 2 * pi) <= pi / (3.0 * ring)) {
      ++ring;
      angle = 0;
    } else {
      angle += pi / (3.0 * ring);
    }
  }
  return points;
}

}  // namespace conversion
