// PaintBox1 of the graph window: draws what a TGraphView holds with QPainter and hands the
// mouse to it, so that a vertex can be dragged and an arc label clicked. The keyboard does the
// same: Page Down and Page Up pick up the next or previous vertex, the arrows move it (ten
// pixels, one with Shift), Enter puts it down and Escape puts it back; Shift+Page Down and
// Shift+Page Up choose an arc as a click on its label does.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <functional>

class QPainter;

namespace conversion {

class TGraphView;

// The picture's colours: all three are standard colours, so a 16-colour copy keeps them.
inline const QColor kPictureBackground{0xFF, 0xFF, 0xFF};
inline const QColor kPictureNormal{0x00, 0x00, 0x80};
inline const QColor kPictureHighlight{0xFF, 0x00, 0x00};

// Draws `view` over `area`: the filled background, every arc as a line with its label, then
// every vertex with " " + number + ". " + its name in capitals; highlighted items in the second
// colour.
void PaintGraph(QPainter& painter, const TGraphView& view, const QRect& area);

class TGraphPicture : public QWidget {
  Q_OBJECT

 public:
  // `view` must outlive the picture.
  explicit TGraphPicture(TGraphView& view, QWidget* parent = nullptr);

  // The size that holds every vertex with its label.
  QSize ContentSize() const;

  // A click on arc `arc`'s label (not on a vertex).
  std::function<void(std::int32_t arc)> OnArcClicked;
  // A dragged vertex was let go, inside the picture or not.
  std::function<void()> OnVertexReleased;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Lets the carried vertex go where it stands (or back, when not `keep`).
  void PutDown(bool keep);

  TGraphView& view_;
  // The vertex and the arc the keyboard chose last, 0 for none yet.
  std::int32_t keyVertex_ = 0;
  std::int32_t keyArc_ = 0;
};

}  // namespace conversion
