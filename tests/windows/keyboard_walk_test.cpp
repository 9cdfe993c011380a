// The main window's menus and the guide's tasks worked with keys alone: every key goes where a
// real keyboard sends it (the open menu, else the focused control), nothing is clicked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include "app/chart_window.h"
#include "app/derivative_window.h"
#include "app/function_table_window.h"
#include "app/main_window.h"
#include "conversion/convert_unit_window.h"
#include "linsys/linear_system_window.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

class KeyboardWalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) target = QApplication::focusWidget();
    if (target == nullptr) target = QApplication::activeWindow();
    ASSERT_NE(target, nullptr) << "no window takes the key";
    QTest::keyClick(target, key, modifiers);
    // A button reached by its letter shows itself pressed for a moment before it clicks.
    if (modifiers & Qt::AltModifier) QTest::qWait(150);
    QApplication::processEvents();
  }
  static void Type(const QString& text) {
    for (QChar c : text)
      QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
  }
  // Alt+F once or twice, whichever of the two menus on F comes first.
  static void OpenFunctionsMenu() {
    Press(Qt::Key_F, Qt::AltModifier);
    if (OpenMenu() != "&Functions") Press(Qt::Key_F, Qt::AltModifier);
    ASSERT_EQ(OpenMenu(), "&Functions");
  }
  // A tool of "&Functions" by its letter, from the main window, as the active window.
  void OpenTool(Qt::Key letter, QWidget* tool) {
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    ASSERT_NO_FATAL_FAILURE(OpenFunctionsMenu());
    Press(letter);
    ASSERT_TRUE(tool->isVisible());
    ASSERT_EQ(QApplication::activeWindow(), tool);
  }
  static void CloseWithEscape(QWidget* tool) {
    Press(Qt::Key_Escape);
    EXPECT_FALSE(tool->isVisible());
  }
  // The title of the menu that is open, or empty.
  static QString OpenMenu() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu != nullptr ? menu->title() : QString();
  }
  // Down through a box's items until `text` shows, as a user scans a list.
  static void Choose(QComboBox* box, const QString& text) {
    for (int step = 0; step <= box->count() && box->currentText() != text; ++step)
      QTest::keyClick(box, Qt::Key_Down);
    ASSERT_EQ(box->currentText(), text);
  }

  TScriptedPrompt prompt_;
  QTemporaryDir folder_;
  TForm1 window_{prompt_, TDataFolder("calculator", "", folder_.path().toStdString())};
};

// "&File" and "&Functions" share Alt+F: Qt opens them in turn, one on each press (where the
// turn stands is kept from the last press of Alt+F), and Alt alone puts the menu bar under the
// arrow keys.
TEST_F(KeyboardWalkTest, AltFOpensFileAndFunctionsInTurnAndAltArrowsReachEveryMenu) {
  QStringList opened;
  for (int press = 0; press < 3; ++press) {
    Press(Qt::Key_F, Qt::AltModifier);
    opened << OpenMenu();
  }
  EXPECT_TRUE(opened == QStringList({"&File", "&Functions", "&File"}) ||
              opened == QStringList({"&Functions", "&File", "&Functions"}))
      << opened.join(", ").toStdString();
  Press(Qt::Key_Escape);
  Press(Qt::Key_Escape);
  EXPECT_EQ(OpenMenu(), "");

  QTest::keyPress(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt, Qt::NoModifier);
  QApplication::processEvents();
  ASSERT_NE(window_.menuBar()->activeAction(), nullptr) << "Alt does not enter the menu bar";
  QStringList reached{window_.menuBar()->activeAction()->text()};
  for (int step = 1; step < window_.menuBar()->actions().size(); ++step) {
    Press(Qt::Key_Right);
    reached << window_.menuBar()->activeAction()->text();
  }
  EXPECT_EQ(reached, QStringList({"&File", "&Edit", "&View", "&Functions", "&Options", "&Help"}));
  Press(Qt::Key_Left);
  Press(Qt::Key_Left);
  Press(Qt::Key_Down);
  EXPECT_EQ(OpenMenu(), "&Functions");
  Press(Qt::Key_Escape);
  Press(Qt::Key_Escape);
}

// The guide's derivative, unit conversion, linear system and function chart, opened from the
// menus, filled in and run.
TEST_F(KeyboardWalkTest, TheGuidesToolsWorkFromTheKeyboardAlone) {
  // "&Functions" / "&Derivative", the expression typed, "&Differentiate" by its letter.
  TForm14* derivative = window_.DerivativeWindow();
  ASSERT_NO_FATAL_FAILURE(OpenTool(Qt::Key_D, derivative));
  ASSERT_EQ(QApplication::focusWidget(), derivative->ExpressionMemo());
  Type("x^2");
  Press(Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(derivative->ResultMemo()->toPlainText(), "2*x");
  CloseWithEscape(derivative);

  // "&Functions" / "&Conversion": "&Check Conv" and "&Calculate" share Alt+C, so Alt+C checks
  // while "&Calculate" is locked, and Enter in "Expression:" calculates.
  conversion::TForm21* convert = window_.ConvertUnitWindow();
  ASSERT_NO_FATAL_FAILURE(OpenTool(Qt::Key_C, convert));
  ASSERT_EQ(QApplication::focusWidget(), convert->ExpressionEdit());
  Press(Qt::Key_C, Qt::AltModifier);
  ASSERT_TRUE(convert->CalculateButton()->isEnabled()) << "Alt+C did not check";
  ASSERT_TRUE(convert->CategoryBox()->isEnabled());
  // Back to the boxes: Shift+Tab from "&Check Conv" passes "Value:" and "Expression:".
  while (QApplication::focusWidget() != convert->CategoryBox() &&
         QApplication::focusWidget() != convert) {
    QWidget* before = QApplication::focusWidget();
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_NE(QApplication::focusWidget(), before) << "Shift+Tab is stuck";
  }
  Choose(convert->CategoryBox(), "Temperature");
  Press(Qt::Key_Tab);
  Choose(convert->FromBox(), "Celcius");
  Press(Qt::Key_Tab);
  Choose(convert->ToBox(), "Rankine");
  Press(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), convert->ExpressionEdit());
  Type("0");
  Press(Qt::Key_Return);
  EXPECT_EQ(convert->ValueEdit()->text(), "491.67");
  // Once checked, Alt+C is "&Calculate": "&Check Conv" is disabled until the next change.
  Press(Qt::Key_Backspace);
  Type("100");
  Press(Qt::Key_C, Qt::AltModifier);
  EXPECT_EQ(convert->ValueEdit()->text(), "671.67");
  CloseWithEscape(convert);

  // "&Functions" / "&System Solver": both panes typed, Tab between them, "&Execute" /
  // "&System Solve".
  linsys::TlssForm1* solver = window_.SystemSolverWindow();
  ASSERT_NO_FATAL_FAILURE(OpenTool(Qt::Key_S, solver));
  ASSERT_EQ(QApplication::focusWidget(), solver->Memo1());
  Press(Qt::Key_A, Qt::ControlModifier);
  Type("p,q");
  Press(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), solver->Memo3());
  Press(Qt::Key_A, Qt::ControlModifier);
  Type("2*p-4,q+3*p-9");
  Press(Qt::Key_E, Qt::AltModifier);
  ASSERT_EQ(OpenMenu(), "&Execute");
  Press(Qt::Key_S);
  EXPECT_EQ(solver->Memo2()->toPlainText(), "Solution:\np = 2\nq = 3");
  CloseWithEscape(solver);

  // "&Functions" / "&Table", then "&Window" / "&Chart": + and - zoom, the arrows move the
  // zoomed picture, "&View" / "&Reset zoom" goes back.
  TForm8* table = window_.TableWindow();
  ASSERT_NO_FATAL_FAILURE(OpenTool(Qt::Key_T, table));
  Press(Qt::Key_W, Qt::AltModifier);
  ASSERT_EQ(OpenMenu(), "&Window");
  Press(Qt::Key_C);
  TChartWindow* chart = table->ChartWindow();
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(chart->View()));
  auto* x = qobject_cast<QValueAxis*>(chart->Chart()->axes(Qt::Horizontal).value(0));
  ASSERT_NE(x, nullptr);
  const double whole = x->max() - x->min();
  const double start = x->min();
  Press(Qt::Key_Plus);
  EXPECT_NEAR(x->max() - x->min(), whole / 1.25, whole * 1e-6);
  const double zoomedStart = x->min();
  Press(Qt::Key_Right);
  EXPECT_GT(x->min(), zoomedStart);
  Press(Qt::Key_Left);
  EXPECT_NEAR(x->min(), zoomedStart, whole * 1e-6);
  Press(Qt::Key_V, Qt::AltModifier);
  Press(Qt::Key_R);
  EXPECT_DOUBLE_EQ(x->min(), start);
  EXPECT_DOUBLE_EQ(x->max() - x->min(), whole);
  CloseWithEscape(chart);
  table->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(table));
  CloseWithEscape(table);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace app
