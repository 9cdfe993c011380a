// TElementDrawGrid: painting the cells, and the mouse and keys of the table window's grid.
#include "periodic/element_draw_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "periodic/element_view.h"

namespace periodic {

namespace {

QColor ToQColor(std::uint32_t color) {
  std::uint8_t blue = 0, green = 0, red = 0;
  ColorToBGRTOColor(color, blue, green, red);
  return QColor(red, green, blue);
}

}  // namespace

TElementDrawGrid::TElementDrawGrid(const TPeriodicTable& table, QWidget* parent)
    : QWidget(parent), table_(table) {
  setObjectName("DrawGrid1");
  setAccessibleName(tr("Elements"));
  setAccessibleDescription(tr("Arrow keys choose an element, Enter shows it"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  QFont face("Times New Roman");
  face.setStyleHint(QFont::Serif);
  setFont(face);
}

void TElementDrawGrid::SetCellSize(int cell, int fontSize) {
  cell_ = cell;
  QFont face = font();
  face.setPointSize(std::max(1, fontSize));
  setFont(face);
  update();
}

void TElementDrawGrid::SetCurrentCell(TCellPosition cell) {
  if (!TPeriodicTable::InGrid(cell)) return;
  current_ = cell;
  update();
}

TCellPosition TElementDrawGrid::CellAt(QPoint point) const {
  if (cell_ <= 0) return {};
  return {std::clamp(point.y() / cell_, 0, kGridRows - 1),
          std::clamp(point.x() / cell_, 0, kGridColumns - 1)};
}

QRect TElementDrawGrid::CellRect(TCellPosition cell) const {
  return QRect(cell.Column * cell_, cell.Row * cell_, cell_, cell_);
}

void TElementDrawGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (cell_ <= 0) return;
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      const std::optional<TCellLook> look = CellLook(table_, {row, column});
      if (!look) continue;
      const QRect cell = CellRect({row, column});
      QRect textArea = cell;
      if (look->Boxed) {
        // The box leaves two pixels free at the top and left, which draws the grid's gaps.
        const QRect box = cell.adjusted(2, 2, 0, 0);
        painter.setPen(Qt::black);
        painter.setBrush(ToQColor(look->Fill));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        textArea = box;
      }
      painter.setPen(look->WhiteText ? Qt::white : Qt::black);
      painter.drawText(textArea, Qt::AlignCenter, QString::fromStdString(look->Text));
    }
  }
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = CellRect(current_).adjusted(1, 1, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void TElementDrawGrid::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(CellAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TElementDrawGrid::mousePressEvent(QMouseEvent* event) {
  const TCellPosition cell = CellAt(event->position().toPoint());
  SetCurrentCell(cell);
  if (OnMouseMove) OnMouseMove(cell);
  QWidget::mousePressEvent(event);
}

void TElementDrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(CellAt(event->position().toPoint()));
  if (OnDoubleClick) OnDoubleClick();
}

void TElementDrawGrid::keyPressEvent(QKeyEvent* event) {
  TCellPosition cell = current_;
  switch (event->key()) {
    case Qt::Key_Left:
      --cell.Column;
      break;
    case Qt::Key_Right:
      ++cell.Column;
      break;
    case Qt::Key_Up:
      --cell.Row;
      break;
    case Qt::Key_Down:
      ++cell.Row;
      break;
    case Qt::Key_Home:
      cell.Column = 0;
      break;
    case Qt::Key_End:
      cell.Column = kGridColumns - 1;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (OnEnter) OnEnter();
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  SetCurrentCell(cell);
}

}  // namespace periodic
