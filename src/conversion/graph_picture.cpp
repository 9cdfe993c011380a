// TGraphPicture and the drawing of the unit graph.
#include "conversion/graph_picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "conversion/graph_view.h"

namespace conversion {

namespace {

constexpr int kVertexRadius = 3;
// From a vertex's centre to the start of its label.
constexpr int kVertexLabelGap = 4;
constexpr int kContentMargin = 8;

QString VertexLabel(const TVertex& vertex) {
  return " " + QString::number(vertex.number) + ". " +
         QString::fromLatin1(vertex.name.data(), static_cast<qsizetype>(vertex.name.size()))
             .toUpper();
}

QPoint At(const TGraphPoint& point) {
  return {point.x, point.y};
}

// The item after (or before) `current` among 1 .. count, round the end.
std::int32_t Cycle(std::int32_t current, int direction, std::int32_t count) {
  if (current < 1 || current > count) return direction > 0 ? 1 : count;
  return (current - 1 + direction + count) % count + 1;
}

}  // namespace

void PaintGraph(QPainter& painter, const TGraphView& view, const QRect& area) {
  painter.fillRect(area, kPictureBackground);
  const TUnitGraph& graph = view.Graph();
  const QPen normal(kPictureNormal, 1);
  const QPen highlight(kPictureHighlight, 2);
  // Both arcs of a definition share one line: plain lines first, so that a highlighted
  // direction is drawn over its plain partner.
  for (const bool highlighted : {false, true}) {
    painter.setPen(highlighted ? highlight : normal);
    for (std::int32_t a = 1; a <= graph.ArcCount(); ++a) {
      const TArc& arc = graph.Arc(a);
      if (arc.highlighted != highlighted || arc.from == arc.to) continue;
      painter.drawLine(At(graph.Vertex(arc.from).position), At(graph.Vertex(arc.to).position));
    }
  }
  const QFontMetrics metrics = painter.fontMetrics();
  // Text is placed by its baseline; this puts the middle of capitals on the anchor.
  const int middle = (metrics.capHeight() + 1) / 2;
  // Labels sit on a patch of background, so that no line runs through their text.
  auto drawLabel = [&](int left, int baseline, const QString& text, const QColor& colour) {
    const int width = metrics.horizontalAdvance(text);
    painter.fillRect(left, baseline - metrics.ascent(), width, metrics.height(),
                     kPictureBackground);
    painter.setPen(colour);
    painter.drawText(left, baseline, text);
    return width;
  };
  for (std::int32_t a = 1; a <= graph.ArcCount(); ++a) {
    const QString label = QString::fromStdString(TUnitGraph::ArcLabel(a));
    const TGraphPoint anchor = view.LabelAnchor(a);
    drawLabel(anchor.x - metrics.horizontalAdvance(label) / 2, anchor.y + middle, label,
              graph.Arc(a).highlighted ? kPictureHighlight : kPictureNormal);
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (std::int32_t v = 1; v <= graph.VertexCount(); ++v) {
    const TVertex& vertex = graph.Vertex(v);
    const QColor& colour = vertex.highlighted ? kPictureHighlight : kPictureNormal;
    drawLabel(vertex.position.x + kVertexLabelGap, vertex.position.y + middle, VertexLabel(vertex),
              colour);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawEllipse(At(vertex.position), kVertexRadius, kVertexRadius);
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
}

TGraphPicture::TGraphPicture(TGraphView& view, QWidget* parent) : QWidget(parent), view_(view) {
  setObjectName("PaintBox1");
  setAccessibleName(tr("Graph of units"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Moves reach the picture whether or not the platform reports the button held.
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

QSize TGraphPicture::ContentSize() const {
  const QFontMetrics metrics = fontMetrics();
  const TUnitGraph& graph = view_.Graph();
  int width = 0;
  int height = 0;
  for (std::int32_t v = 1; v <= graph.VertexCount(); ++v) {
    const TVertex& vertex = graph.Vertex(v);
    width = std::max(width, vertex.position.x + kVertexLabelGap +
                                metrics.horizontalAdvance(VertexLabel(vertex)));
    height = std::max(height, vertex.position.y + metrics.height());
  }
  return {width + kContentMargin, height + kContentMargin};
}

void TGraphPicture::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setClipRegion(event->region());
  PaintGraph(painter, view_, rect());
  // A ring round the vertex the keyboard carries; a saved picture has none.
  if (const std::int32_t carried = view_.DraggedVertex(); carried != 0 && hasFocus()) {
    painter.setPen(QPen(kPictureHighlight, 1, Qt::DotLine));
    painter.drawEllipse(At(view_.Graph().Vertex(carried).position), 3 * kVertexRadius,
                        3 * kVertexRadius);
  }
}

void TGraphPicture::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  if (view_.BeginDrag(at.x(), at.y())) return;
  const std::int32_t arc = view_.ArcLabelAt(at.x(), at.y());
  if (arc != 0 && OnArcClicked) OnArcClicked(arc);
}

void TGraphPicture::mouseMoveEvent(QMouseEvent* event) {
  if (view_.DraggedVertex() == 0) return;
  const QPoint at = event->position().toPoint();
  view_.DragTo(at.x(), at.y());
  update();
}

void TGraphPicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || view_.DraggedVertex() == 0) return;
  const QPoint at = event->position().toPoint();
  view_.EndDrag(at.x(), at.y(), rect().contains(at));
  update();
  if (OnVertexReleased) OnVertexReleased();
}

void TGraphPicture::keyPressEvent(QKeyEvent* event) {
  const TUnitGraph& graph = view_.Graph();
  const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
  const std::int32_t carried = view_.DraggedVertex();
  const int step = shift ? 1 : 10;
  int dx = 0;
  int dy = 0;
  switch (event->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
      const int direction = event->key() == Qt::Key_PageDown ? 1 : -1;
      if (shift) {
        if (graph.ArcCount() == 0) break;
        keyArc_ = Cycle(keyArc_, direction, graph.ArcCount());
        if (OnArcClicked) OnArcClicked(keyArc_);
      } else if (graph.VertexCount() != 0) {
        if (carried != 0) PutDown(true);
        keyVertex_ = Cycle(keyVertex_, direction, graph.VertexCount());
        view_.BeginDragVertex(keyVertex_);
        update();
      }
      event->accept();
      return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      if (carried == 0) break;  // Escape then closes the window
      PutDown(event->key() != Qt::Key_Escape);
      event->accept();
      return;
    case Qt::Key_Left:
      dx = -step;
      break;
    case Qt::Key_Right:
      dx = step;
      break;
    case Qt::Key_Up:
      dy = -step;
      break;
    case Qt::Key_Down:
      dy = step;
      break;
    default:
      break;
  }
  if (carried != 0 && (dx != 0 || dy != 0)) {
    // The vertex stays inside the picture, which grows to hold it once it is put down.
    const TGraphPoint at = graph.Vertex(carried).position;
    view_.DragTo(std::clamp(at.x + dx, 0, width() - 1), std::clamp(at.y + dy, 0, height() - 1));
    update();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TGraphPicture::PutDown(bool keep) {
  const TGraphPoint at = view_.Graph().Vertex(view_.DraggedVertex()).position;
  view_.EndDrag(at.x, at.y, keep);
  update();
  if (OnVertexReleased) OnVertexReleased();
}

}  // namespace conversion
