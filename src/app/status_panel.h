// TStatusPanel, one panel of a window's status bar: a label that shortens its text with "..."
// when the panel is too narrow for it, and keeps the whole text as its tooltip.
#pragma once

#include <QLabel>

namespace app {

class TStatusPanel : public QLabel {
  Q_OBJECT

 public:
  explicit TStatusPanel(QWidget* parent = nullptr);

  // Sets the text and the tooltip that shows it whole.
  void SetPanelText(const QString& text);

  // Narrow enough for any width the status bar gives it; the text is elided instead.
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
