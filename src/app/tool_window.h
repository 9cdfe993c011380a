// The small base every tool window shares: Escape closes it, "&StayOnTop" toggles the
// stay-on-top style, and evaluator errors become the user's messages through the shared tables.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <string>

class QTableWidget;

namespace evaluator {
class TTalvekComplexEval;
}

namespace app {

// A menu item with its object name (by which the keys and the tests find it) that runs
// `handler` on `receiver`.
template <class TReceiver, class THandler>
QAction* AddMenuItem(QMenu* menu, const QString& caption, const char* name, TReceiver* receiver,
                     THandler handler) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  QObject::connect(action, &QAction::triggered, receiver, handler);
  return action;
}

class TToolWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TToolWindow(QWidget* parent = nullptr);

  // Sets or clears the stay-on-top style, keeping the window shown if it was.
  void SetStayOnTop(bool onTop);
  bool StayOnTop() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Escape closes a tool window; the main window clears instead.
  virtual void EscapePressed() { close(); }

  // Shows a window this one opens: owned by it, so that it stays above it, and centred on it.
  void ShowOwnedWindow(TToolWindow* window);

  // A checkable "&StayOnTop" item in `menu`, checked as the window currently is.
  QAction* AddStayOnTopAction(QMenu* menu);

  // The row (counted from 1) that Return or Enter pressed in `grid` opens for editing, or 0
  // when `event` is no such key on a row.
  static int RowToEdit(const QTableWidget* grid, const QObject* watched, const QEvent* event);

  // The user's text for an evaluator's failure while parsing or while running.
  static std::string ParseErrorText(const evaluator::TTalvekComplexEval& eval);
  static std::string ExecuteErrorText(const evaluator::TTalvekComplexEval& eval);
};

// Shows `window`, raises it above the others and gives it the keyboard.
void BringToFront(QWidget* window);

// The wait cursor for as long as it lives: a file read that can take seconds says the window works.
class TWaitCursor {
 public:
  TWaitCursor();
  ~TWaitCursor();
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace app
