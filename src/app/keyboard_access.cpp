// TKeyboardAccess.
#include "app/keyboard_access.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace app {

namespace {

// A caption as a reader says it: no accelerator marks, no trailing colon.
QString Spoken(QString text) {
  text.replace("&&", QChar(0x1));
  text.remove('&');
  text.replace(QChar(0x1), "&");
  text = text.trimmed();
  while (text.endsWith(':'))
    text.chop(1);
  return text.trimmed();
}

// Qt's own parts of a compound control (a combo box's edit, a table's cell editor, a scroll
// area's viewport), which the control stands for.
bool IsInsideCompound(const QWidget* widget, const QWidget* window) {
  if (widget->objectName().startsWith("qt_")) return true;
  for (const QWidget* parent = widget->parentWidget(); parent != nullptr && parent != window;
       parent = parent->parentWidget()) {
    if (qobject_cast<const QComboBox*>(parent) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(parent) != nullptr ||
        qobject_cast<const QAbstractScrollArea*>(parent) != nullptr) {
      return true;
    }
  }
  return false;
}

bool TakesTabFocus(const QWidget* widget) {
  return (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->focusProxy() == nullptr;
}

}  // namespace

QString AccessibleNameOf(QWidget* widget) {
  if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible != nullptr ? accessible->text(QAccessible::Name).trimmed() : QString();
}

bool IsControl(QWidget* widget, QWidget* window) {
  if (widget == window || widget->window() != window || IsInsideCompound(widget, window)) {
    return false;
  }
  // A label is named by its text, which a reader follows as it changes; an empty one (a
  // status panel before its first message) says nothing yet.
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    return !label->text().isEmpty() || !label->pixmap().isNull();
  }
  if (widget->focusPolicy() != Qt::NoFocus) return true;
  if (qobject_cast<QAbstractButton*>(widget) != nullptr ||
      qobject_cast<QGroupBox*>(widget) != nullptr) {
    return true;
  }
  // The calculator's own widgets (draw grids, paint boxes, status panels) are all controls.
  const QString className = QString::fromLatin1(widget->metaObject()->className());
  return className.mid(className.lastIndexOf(':') + 1).startsWith('T');
}

void NameControls(QWidget* window) {
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!IsControl(widget, window)) continue;
    const QString current = AccessibleNameOf(widget);
    // Qt names an unlabelled box by the item it shows, which is its value, not its name.
    auto* box = qobject_cast<QComboBox*>(widget);
    const bool namedByValue =
        box != nullptr && widget->accessibleName().isEmpty() && current == box->currentText();
    if (!current.isEmpty() && !namedByValue) continue;
    // Qt itself reads a buddy label and the group box just above; groups further up are not.
    QString name;
    for (QWidget* parent = widget->parentWidget(); name.isEmpty() && parent != nullptr;
         parent = parent->parentWidget()) {
      if (auto* group = qobject_cast<QGroupBox*>(parent)) name = Spoken(group->title());
      if (parent == window) break;
    }
    if (name.isEmpty()) name = Spoken(widget->toolTip());
    if (name.isEmpty()) name = Spoken(window->windowTitle());
    if (name.isEmpty()) name = QApplication::applicationDisplayName();
    widget->setAccessibleName(name);
  }
}

namespace {

// The visible controls of `window` that Tab reaches, in reading order: rows first (a control
// whose top lies within half the height of the row's first control belongs to that row),
// within a row left to right.
std::vector<QWidget*> ReadingOrder(QWidget* window) {
  struct TPlace {
    QWidget* widget;
    QRect frame;
  };
  std::vector<TPlace> places;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!IsControl(widget, window) || !TakesTabFocus(widget) || !widget->isVisibleTo(window)) {
      continue;
    }
    places.push_back({widget, QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())});
  }
  std::stable_sort(places.begin(), places.end(),
                   [](const TPlace& a, const TPlace& b) { return a.frame.top() < b.frame.top(); });
  std::vector<int> rows(places.size());
  int row = 0;
  for (std::size_t i = 0, rowStart = 0; i < places.size(); ++i) {
    const QRect& start = places[rowStart].frame;
    if (places[i].frame.top() >= start.top() + std::max(start.height() / 2, 1)) {
      ++row;
      rowStart = i;
    }
    rows[i] = row;
  }
  std::vector<std::size_t> order(places.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (rows[a] != rows[b]) return rows[a] < rows[b];
    return places[a].frame.left() < places[b].frame.left();
  });
  std::vector<QWidget*> widgets;
  for (std::size_t index : order)
    widgets.push_back(places[index].widget);
  return widgets;
}

}  // namespace

void OrderTabChain(QWidget* window) {
  const std::vector<QWidget*> order = ReadingOrder(window);
  for (std::size_t i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget* FirstField(QWidget* window) {
  for (QWidget* widget : ReadingOrder(window)) {
    if (widget->isEnabled()) return widget;
  }
  return nullptr;
}

void TKeyboardAccess::Install() {
  static TKeyboardAccess* filter = nullptr;
  if (filter != nullptr || QApplication::instance() == nullptr) return;
  filter = new TKeyboardAccess(QApplication::instance());
  QApplication::instance()->installEventFilter(filter);
}

void TKeyboardAccess::Prepare(QWidget* window) {
  NameControls(window);
  for (QPlainTextEdit* memo : window->findChildren<QPlainTextEdit*>())
    memo->setTabChangesFocus(true);
  for (QTextEdit* memo : window->findChildren<QTextEdit*>())
    memo->setTabChangesFocus(true);
  OrderTabChain(window);
  // A dialog starts at its first field each time it opens; a window shown again (or re-shown
  // by a change of its stay-on-top style) keeps the control the user left it in.
  QWidget* current = window->focusWidget();
  const bool keep = qobject_cast<QDialog*>(window) == nullptr && current != nullptr &&
                    current->isVisibleTo(window) && current->isEnabled();
  if (keep) return;
  if (QWidget* first = FirstField(window)) first->setFocus(Qt::OtherFocusReason);
}

bool TKeyboardAccess::eventFilter(QObject* watched, QEvent* event) {
  // A window's own show handler runs after this, so a window that puts the focus elsewhere on
  // purpose still does.
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    const Qt::WindowType type = widget->windowType();
    if (type == Qt::Window || type == Qt::Dialog) Prepare(widget);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace app
