// TElementDrawGrid: the table window's draw grid, square cells painted from the table's cell
// looks, with a current cell moved by the arrow keys and the cell under the mouse reported.
#pragma once

#include <QWidget>
#include <functional>

#include "periodic/periodic_table.h"

namespace periodic {

class TElementDrawGrid : public QWidget {
 public:
  explicit TElementDrawGrid(const TPeriodicTable& table, QWidget* parent = nullptr);

  // Cell side in pixels and the font's point size.
  void SetCellSize(int cell, int fontSize);
  int CellSize() const { return cell_; }

  TCellPosition CurrentCell() const { return current_; }
  void SetCurrentCell(TCellPosition cell);
  // The cell at a point of the widget, clamped to the grid.
  TCellPosition CellAt(QPoint point) const;
  QRect CellRect(TCellPosition cell) const;

  std::function<void(TCellPosition)> OnMouseMove;
  std::function<void()> OnDoubleClick;
  std::function<void()> OnEnter;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const TPeriodicTable& table_;
  int cell_ = 0;
  TCellPosition current_;
};

}  // namespace periodic
