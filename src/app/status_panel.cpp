// TStatusPanel.
#include "app/status_panel.h"

#include <QPainter>

namespace app {

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {}

void TStatusPanel::SetPanelText(const QString& text) {
  setText(text);
  setToolTip(text);
}

QSize TStatusPanel::minimumSizeHint() const {
  return {minimumWidth(), QLabel::minimumSizeHint().height()};
}

void TStatusPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

}  // namespace app
