// Opens every window that the menus reach, starting from the main window's menus and going on
// through the menus of each window opened, and closes each with Escape, as a keyboard user
// would. Windows added later are met the same way, without being listed here. Any warning Qt
// prints on the way fails the test, and so does a window a keyboard user could not work:
// a control without an accessible name, no focus on opening, Escape leaving it open.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <iostream>

#include "app/function_table_window.h"
#include "app/keyboard_access.h"
#include "app/main_window.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

QStringList recordedWarnings;

void RecordWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
  // The offscreen platform notes each window-manager request it cannot honour (raise, size
  // hints); that is the test's display, not the program.
  if (message.startsWith("This plugin does not support")) return;
  if (type != QtDebugMsg && type != QtInfoMsg) recordedWarnings << message;
}

// Where a key goes in the window: its focused control, else the window.
QWidget* KeyTarget(QWidget* window) {
  QWidget* focus = window->focusWidget();
  return focus != nullptr && focus->isVisible() ? focus : window;
}

QString Describe(QWidget* window) {
  return QString("%1 \"%2\"").arg(window->metaObject()->className(), window->windowTitle());
}

class EveryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recordedWarnings.clear();
    previousHandler_ = qInstallMessageHandler(RecordWarnings);
    // The workbook would go to the desktop's spreadsheet program.
    window_.TableWindow()->OpenDocument = [](const QString&) { return false; };
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  void TearDown() override { qInstallMessageHandler(previousHandler_); }

  // The keyboard facts of a window just opened.
  void CheckOpened(QWidget* window) {
    const QString name = Describe(window);
    opened_ << name;
    EXPECT_NE(window->focusWidget(), nullptr) << name.toStdString() << " has no focus";
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      if (IsControl(widget, window) && AccessibleNameOf(widget).isEmpty()) {
        ADD_FAILURE() << name.toStdString() << ": " << widget->metaObject()->className() << " "
                      << widget->objectName().toStdString() << " has no accessible name";
      }
    }
    if (qobject_cast<QDialog*>(window) != nullptr &&
        !window->findChildren<QPushButton*>().isEmpty()) {
      bool hasDefault = false;
      for (QPushButton* button : window->findChildren<QPushButton*>())
        hasDefault = hasDefault || button->isDefault();
      EXPECT_TRUE(hasDefault) << name.toStdString() << ": Enter presses no button";
    }
  }

  void CloseWithEscape(QWidget* window) {
    QTest::keyClick(KeyTarget(window), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible()) << Describe(window).toStdString() << " stays open on Escape";
  }

  static QSet<QWidget*> ShownWindows() {
    QSet<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      const Qt::WindowType type = widget->windowType();
      if (widget->isVisible() && (type == Qt::Window || type == Qt::Dialog)) shown << widget;
    }
    return shown;
  }

  static void CollectItems(QMenu* menu, QList<QAction*>& items) {
    emit menu->aboutToShow();  // menus that enable their items as they open
    for (QAction* action : menu->actions()) {
      if (action->menu() != nullptr) {
        CollectItems(action->menu(), items);
      } else if (!action->isSeparator()) {
        items << action;
      }
    }
  }

  // Runs every item of `window`'s menus that opens something (check items only switch a
  // state), handles what it opens, and walks on through the windows it opens.
  void Walk(QWidget* window) {
    auto* mainWindow = qobject_cast<QMainWindow*>(window);
    if (mainWindow == nullptr || mainWindow->menuWidget() == nullptr) return;
    QList<QAction*> items;
    for (QAction* action : mainWindow->menuBar()->actions()) {
      if (action->menu() != nullptr) {
        CollectItems(action->menu(), items);
      } else {
        items << action;
      }
    }
    for (QAction* action : items) {
      if (!action->isEnabled() || action->isCheckable() || !window->isVisible()) continue;
      const QSet<QWidget*> before = ShownWindows();
      // A dialog run with its own modal loop is handled from inside that loop.
      QTimer modalCloser;
      QObject::connect(&modalCloser, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
          if (modal->windowModality() == Qt::NonModal || !modal->isVisible()) return;
          CheckOpened(modal);
          CloseWithEscape(modal);
        }
      });
      modalCloser.start(10);
      action->trigger();
      QApplication::processEvents();
      modalCloser.stop();
      for (QWidget* opened : ShownWindows() - before) {
        CheckOpened(opened);
        if (!walked_.contains(opened)) {
          walked_ << opened;
          Walk(opened);
        }
        CloseWithEscape(opened);
      }
    }
  }

  void (*previousHandler_)(QtMsgType, const QMessageLogContext&, const QString&) = nullptr;
  TScriptedPrompt prompt_;  // answers No and chooses no file
  QTemporaryDir folder_;
  TForm1 window_{prompt_, TDataFolder("calculator", "", folder_.path().toStdString())};
  QSet<QWidget*> walked_;
  QStringList opened_;
};

TEST_F(EveryWindowTest, EveryWindowOpensFromTheMenusAndClosesWithEscapeWithoutWarnings) {
  walked_ << &window_;
  CheckOpened(&window_);
  Walk(&window_);
  // The windows every calculator has; the walk finds the rest on its own.
  for (const char* title : {"\"Help\"", "\"Constant list\"", "\"Periodic Table of the Elements\"",
                            "\"Functions table\"", "\"Rows count\""}) {
    EXPECT_FALSE(opened_.filter(title).isEmpty()) << title << " was not reached";
  }
  for (const QString& opened : opened_)
    RecordProperty("opened", opened.toStdString());
  EXPECT_TRUE(recordedWarnings.isEmpty()) << recordedWarnings.join("\n").toStdString();
  std::cout << "opened " << opened_.size() << " windows:\n"
            << opened_.join("\n").toStdString() << '\n';
}

// The main window's keys: its memos pass Tab on, so Tab alone walks the panes in order.
TEST_F(EveryWindowTest, TabWalksTheMainWindowsPanesInReadingOrder) {
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QWidget* panes[] = {window_.DefinitionsMemo(), window_.ExpressionsMemo(), window_.ResultsMemo()};
  EXPECT_EQ(FirstField(&window_), panes[0]);
  panes[0]->setFocus();
  for (int pane = 1; pane < 3; ++pane) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), panes[pane]) << "Tab into pane " << pane;
  }
  EXPECT_FALSE(window_.ExpressionsMemo()->toPlainText().contains('\t'));
}

}  // namespace
}  // namespace app
