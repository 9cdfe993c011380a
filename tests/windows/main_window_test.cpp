// The main window and the help window, driven headless as a user would: typing, menus, keys.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "app/help_window.h"
#include "app/status_panel.h"
#include "conversion/unit_conversion.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  QString Results() const { return window_.ResultsMemo()->toPlainText(); }
  void Type(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    QTest::keyClicks(memo, text);
  }

  TScriptedPrompt prompt_;
  // The window's own files go to a temporary folder.
  QTemporaryDir dataFolder_;
  TForm1 window_{prompt_, TDataFolder("calculator", "", dataFolder_.path().toStdString())};
};

TEST_F(MainWindowTest, StartsAsStated) {
  // The first activation read the start-up calculator file, whose path is now the caption.
  EXPECT_EQ(window_.windowTitle(), dataFolder_.path() + "/calculator.txt");
  // 300 pixels wide unless the status panels need more.
  EXPECT_EQ(window_.size(), QSize(std::max(300, window_.minimumWidth()), 443));
  EXPECT_TRUE(window_.StayOnTop());
  EXPECT_EQ(window_.DefinitionsBox()->title(), "User variables and functions ");
  EXPECT_EQ(window_.ExpressionsBox()->title(), "Mathematical expressions");
  EXPECT_EQ(window_.DefinitionsMemo()->toPlainText(),
            "f(x)~Sin(x),\nFact(n)~if(eq(n,0),1,n*Fact(n-1)),\ny=1/3");
  // Regression: the colour was on the group box around the memo.
  EXPECT_EQ(window_.ExpressionsMemo()->palette().color(QPalette::Base), QColor(192, 220, 192));
  EXPECT_EQ(window_.StatusPanel(0)->text(), "TYPE: Scientific");
  EXPECT_EQ(window_.StatusPanel(1)->text(), "History Index: 0");
  EXPECT_TRUE(window_.StatusPanel(2)->text().startsWith("Total allocated memory: "));
  EXPECT_TRUE(window_.StatusPanel(2)->text().endsWith(" bytes"));
  EXPECT_EQ(window_.StatusPanel(1)->width(), 220);
  EXPECT_FALSE(window_.Action("Undo1")->isEnabled());
  EXPECT_TRUE(window_.Action("Scientific1")->isChecked());
}

TEST_F(MainWindowTest, ResultsFollowTheTyping) {
  Type(window_.ExpressionsMemo(), "Fact(5), y*3");
  EXPECT_EQ(Results(), "120\n1");
  Type(window_.ExpressionsMemo(), "+");
  EXPECT_EQ(Results(), "Syntax error : y*3+");
  window_.DefinitionsMemo()->setPlainText("a=2");
  window_.ExpressionsMemo()->setPlainText("a^10");
  EXPECT_EQ(Results(), "1024");
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(MainWindowTest, MenusSwitchFormatsAndMessages) {
  window_.ExpressionsMemo()->setPlainText("1/3, sin(1)");
  window_.Action("Currency1")->trigger();
  EXPECT_EQ(window_.StatusPanel(0)->text(), "TYPE: Currency");
  EXPECT_EQ(Results(), "0.3333\nNot Currency");
  window_.Action("Scientific1")->trigger();
  EXPECT_EQ(Results(), "0.333333333333333\n0.841470984807897");

  window_.Action("ErrorMessage1")->trigger();
  EXPECT_TRUE(Results().isEmpty());
  window_.ExpressionsMemo()->setPlainText("1/0");
  EXPECT_EQ(Results(), "ERROR");
  window_.Action("ErrorMessage1")->trigger();
  window_.ExpressionsMemo()->setPlainText("1/0 ");
  EXPECT_EQ(Results(), "Division by 0");

  window_.Action("StayOnTop1")->trigger();
  EXPECT_FALSE(window_.StayOnTop());
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, UserFunctionsItemHidesAndRestoresTheDefinitions) {
  const int definitions = window_.Splitter()->sizes()[0];
  window_.Action("UserFunctions1")->trigger();
  EXPECT_FALSE(window_.DefinitionsBox()->isVisible());
  window_.Action("UserFunctions1")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(window_.DefinitionsBox()->isVisible());
  EXPECT_EQ(window_.Splitter()->sizes()[0], definitions);
}

TEST_F(MainWindowTest, KeysClearAndResizeWithTheExactShiftState) {
  window_.ExpressionsMemo()->setPlainText("1+1");
  QTest::keyClick(window_.ExpressionsMemo(), Qt::Key_Escape);
  EXPECT_TRUE(window_.ExpressionsMemo()->toPlainText().isEmpty());
  EXPECT_TRUE(Results().isEmpty());

  const int width = window_.width();
  const int height = window_.height();
  const QList<int> sizes = window_.Splitter()->sizes();
  QTest::keyClick(window_.DefinitionsMemo(), Qt::Key_Plus,
                  Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_EQ(window_.Splitter()->sizes()[0], sizes[0] + 5);
  QTest::keyClick(window_.ExpressionsMemo(), Qt::Key_Minus,
                  Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_EQ(window_.Splitter()->sizes()[1], sizes[1] - 5);
  QTest::keyClick(window_.ResultsMemo(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_EQ(window_.height(), height + 5);
  QTest::keyClick(window_.ResultsMemo(), Qt::Key_Plus,
                  Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
  EXPECT_EQ(window_.width(), width + 5);
  // Other modifier states and the main keyboard's plus leave everything as it is.
  QTest::keyClick(window_.ResultsMemo(), Qt::Key_Plus,
                  Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier);
  QTest::keyClick(window_.ResultsMemo(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(window_.size(), QSize(width + 5, height + 5));
}

TEST_F(MainWindowTest, SplitterHoldsEveryPaneAtFiftyPixels) {
  window_.Splitter()->setSizes({1, 1000, 1});
  for (const int size : window_.Splitter()->sizes())
    EXPECT_GE(size, 50);
}

TEST_F(MainWindowTest, HelpListsEveryCodeAndNewUserFunctions) {
  window_.Help1Click();
  const QStringList lines = window_.HelpWindow()->Memo1()->toPlainText().split('\n');
  EXPECT_EQ(lines[0], "COMMAND SHORTCUTS");
  EXPECT_EQ(lines[1], QString(52, '='));
  EXPECT_EQ(lines[3], "Undo ->  [F1]");
  EXPECT_EQ(lines[12],
            "0.  IF 'ProtectVariables' property is false (default), IT IS MEAN THAT "
            "YOU CAN SET VALUES BY '=' OPERATOR: X=0 ");
  EXPECT_EQ(lines.last(), "Type Info = COMPLEX, DOUBLE, CURRENCY, BOOLEAN");
  // Codes 0 .. 102, 38 application functions and the two default runtime functions.
  EXPECT_EQ(lines.size(), 12 + 103 + 38 + 2 + 2);
  EXPECT_EQ(lines[lines.size() - 3],
            "142.  RUNTIME FUNCTION 'FACT' WITH 1 PARAMETERS IS DEFINED BY USER");
  EXPECT_EQ(window_.HelpWindow()->windowTitle(), "Help");
  EXPECT_EQ(window_.HelpWindow()->size(), QSize(696, 480));

  window_.DefinitionsMemo()->setPlainText("g(x)~x");
  window_.Help1Click();
  EXPECT_TRUE(window_.HelpWindow()->Memo1()->toPlainText().contains("RUNTIME FUNCTION 'G'"));
  QTest::keyClick(window_.HelpWindow()->Memo1(), Qt::Key_Escape);
  EXPECT_FALSE(window_.HelpWindow()->isVisible());
}

// Regression: focus given back by a dismissed message box counted as a new entry, which ran
// the passes and showed the box again, for ever.
TEST_F(MainWindowTest, MessageBoxIsShownOncePerClick) {
  window_.DefinitionsMemo()->setPlainText("y=1/");
  prompt_.messages.clear();
  QPlainTextEdit* memo = window_.ExpressionsMemo();
  const auto click = [&] { QTest::mouseClick(memo->viewport(), Qt::LeftButton); };
  // A modal box takes the focus and gives it back to the memo when it closes.
  prompt_.onMessage = [&] {
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(memo, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(memo, &in);
  };
  click();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please corect user definitions"});
  QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(memo, &back);
  EXPECT_EQ(prompt_.messages.size(), 1u);
  click();
  EXPECT_EQ(prompt_.messages.size(), 2u);
  // Moving in with the keyboard is an entry of its own.
  QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(memo, &tab);
  EXPECT_EQ(prompt_.messages.size(), 3u);
}

// Regression: the memory text showed as "Total allc", and at the smallest window the three
// panels were drawn over each other.
TEST_F(MainWindowTest, StatusPanelsKeepTheirWidthsAndShowWholeTextsAsTooltips) {
  for (const int width : {1, 300, 900}) {
    window_.resize(width, window_.height());
    QApplication::processEvents();
    EXPECT_EQ(window_.StatusPanel(0)->width(), 90);
    EXPECT_EQ(window_.StatusPanel(1)->width(), 220);
    EXPECT_GE(window_.StatusPanel(2)->width(), 50);
    EXPECT_LE(window_.StatusPanel(0)->geometry().right(), window_.StatusPanel(1)->x());
    EXPECT_LE(window_.StatusPanel(1)->geometry().right(), window_.StatusPanel(2)->x());
    EXPECT_LE(window_.StatusPanel(2)->geometry().right(), window_.statusBar()->width());
  }
  EXPECT_GT(window_.StatusPanel(2)->width(), 500) << "the last panel takes the rest";
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(window_.StatusPanel(i)->text().isEmpty());
    EXPECT_EQ(window_.StatusPanel(i)->toolTip(), window_.StatusPanel(i)->text());
  }
}

// Regression: with "&StayOnTop" checked the help window opened behind the calculator.
TEST_F(MainWindowTest, HelpOpensOwnedByTheCalculatorAndCentredOnIt) {
  ASSERT_TRUE(window_.StayOnTop());
  window_.Help1Click();
  TForm2* help = window_.HelpWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_EQ(help->parentWidget(), &window_);
  EXPECT_TRUE(help->isWindow());
  ASSERT_NE(help->windowHandle(), nullptr);
  EXPECT_EQ(help->windowHandle()->transientParent(), window_.windowHandle());
  EXPECT_LE((help->geometry().center() - window_.geometry().center()).manhattanLength(), 2);
}

TEST_F(MainWindowTest, ReadsTheConversionTableAtStartUpAndBindsConvToIt) {
  const std::string path = dataFolder_.path().toStdString() + "/calculator.cnv";
  EXPECT_EQ(window_.ConvFilePath, path);
  EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
  EXPECT_EQ(window_.Conversion().Table().Count(), 11);
  // Unchecked, "Conv" refuses; after the check it converts.
  EXPECT_FALSE(window_.Core().ExpressionsPass("Conv(9,1,4,0)", ""));
  ASSERT_EQ(window_.Core().Results().size(), 1u);
  EXPECT_NE(QString::fromStdString(window_.Core().Results()[0])
                .indexOf("check conversions", 0, Qt::CaseInsensitive),
            -1);
  ASSERT_TRUE(window_.Conversion().Check());
  EXPECT_TRUE(window_.Core().ExpressionsPass("Conv(9,1,4,0)", ""));
  EXPECT_EQ(window_.Core().Results(), std::vector<std::string>{"491.67"});
}

}  // namespace
}  // namespace app
