// TToolWindow.
#include "app/tool_window.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTableWidget>

#include "app/error_messages.h"

namespace app {

TToolWindow::TToolWindow(QWidget* parent) : QMainWindow(parent) {}

void TToolWindow::keyPressEvent(QKeyEvent* event) {
  // Editors pass Escape on, so it reaches the window whichever control has the focus.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    EscapePressed();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TToolWindow::SetStayOnTop(bool onTop) {
  if (StayOnTop() == onTop) return;
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (visible) show();  // changing window flags hides the window
}

bool TToolWindow::StayOnTop() const {
  return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TToolWindow::ShowOwnedWindow(TToolWindow* window) {
  if (window->parentWidget() != this) window->setParent(this, window->windowFlags());
  // Centred before it is first shown, when its frame is not known yet: it gets a frame like
  // this window's, and move() places the frame.
  if (!window->isVisible()) {
    QRect client = window->geometry();
    client.moveCenter(geometry().center());
    window->move(client.topLeft() - (geometry().topLeft() - frameGeometry().topLeft()));
  }
  BringToFront(window);
}

void BringToFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

TWaitCursor::TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
TWaitCursor::~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }

QAction* TToolWindow::AddStayOnTopAction(QMenu* menu) {
  QAction* action = menu->addAction(tr("&StayOnTop"));
  action->setCheckable(true);
  action->setChecked(StayOnTop());
  connect(action, &QAction::toggled, this, &TToolWindow::SetStayOnTop);
  return action;
}

int TToolWindow::RowToEdit(const QTableWidget* grid, const QObject* watched, const QEvent* event) {
  if (watched != grid || event->type() != QEvent::KeyPress || grid->currentRow() < 0) return 0;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter ? grid->currentRow() + 1 : 0;
}

std::string TToolWindow::ParseErrorText(const evaluator::TTalvekComplexEval& eval) {
  return ParseErrorMessage(eval);
}

std::string TToolWindow::ExecuteErrorText(const evaluator::TTalvekComplexEval& eval) {
  return ExecuteErrorMessage(eval);
}

}  // namespace app
