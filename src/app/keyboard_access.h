// TKeyboardAccess: what makes every window of the calculator usable without a mouse, done in
// one place when a window is shown, so that windows added later get it too: a name for every
// control (for screen readers), a tab order that reads the window top to bottom and left to
// right, memos that pass Tab on instead of swallowing it, and the focus in the first field.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace app {

// The name a screen reader announces for `widget`: the one Qt derives (a button's or label's
// text, an explicit accessible name), or empty.
QString AccessibleNameOf(QWidget* widget);

// The widgets of `window` that a user meets: everything that takes the focus, shows text or
// is one of the calculator's own widgets, without Qt's inner parts of compound widgets.
bool IsControl(QWidget* widget, QWidget* window);

// Gives every control of `window` that has no accessible name one: the title of a group box
// it sits in, its tooltip, or else the window's title.
void NameControls(QWidget* window);

// Puts the visible controls of `window` that take the focus with Tab into reading order.
void OrderTabChain(QWidget* window);

// The first control of `window` in reading order that can take the focus now, or nullptr.
QWidget* FirstField(QWidget* window);

class TKeyboardAccess : public QObject {
 public:
  // Watches every window of the application from now on.
  static void Install();

  // All of the above for `window`, and the focus into its first field.
  static void Prepare(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
};

}  // namespace app
