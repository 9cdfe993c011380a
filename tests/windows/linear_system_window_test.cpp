// The linear system window driven headless: its panes and menus, the check of the result shown,
// the file commands with their captions, Escape, and how the main window opens it.
#include "linsys/linear_system_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "app/main_window.h"
#include "support/scripted_prompt.h"

namespace linsys {
namespace {

const char* const kResultItems[] = {"SystemSolve1", "Determinant1", "Inversmatix1",
                                    "Initialmatrix1", "Rightpart1"};

class LinearSystemWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  QString Results() const { return window_.Memo2()->toPlainText(); }
  std::vector<std::string> Checked() const {
    std::vector<std::string> checked;
    for (const char* name : kResultItems) {
      if (window_.Action(name)->isChecked()) checked.emplace_back(name);
    }
    return checked;
  }
  std::string Path(const char* name) const { return (folder_.path() + "/" + name).toStdString(); }

  app::TScriptedPrompt prompt_;
  QTemporaryDir folder_;
  double tolerance_ = 1e-16;
  TlssForm1 window_{prompt_, [this] { return tolerance_; }};
};

TEST_F(LinearSystemWindowTest, CommandsShowTheirResultAndCheckOnlyTheirItem) {
  EXPECT_EQ(window_.windowTitle(), "System of linear equations solver");
  QStringList titles;  // from top to bottom
  for (int i = 0; i < window_.Splitter()->count(); ++i)
    titles << qobject_cast<QGroupBox*>(window_.Splitter()->widget(i))->title();
  EXPECT_EQ(titles, (QStringList{"Variables name", "System of linear equations", "Results"}));
  EXPECT_EQ(window_.Memo1()->toPlainText(), "x,y,z");
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());

  window_.Action("SystemSolve1")->trigger();
  EXPECT_TRUE(Results().startsWith("Solution:\nx = "));
  EXPECT_EQ(Checked(), std::vector<std::string>{"SystemSolve1"});
  window_.Action("Rightpart1")->trigger();
  EXPECT_EQ(Results(), "Right part:\n-1\n2\n-3");
  EXPECT_EQ(Checked(), std::vector<std::string>{"Rightpart1"});
  // The memos are read at every command; a failure leaves every item unchecked.
  window_.Memo3()->setPlainText("x*y,\ny,\nz");
  window_.Action("Determinant1")->trigger();
  EXPECT_EQ(Results(), "System of equations is not linear");
  EXPECT_TRUE(Checked().empty());
  QTest::keyClick(window_.Memo3(), Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
}

TEST_F(LinearSystemWindowTest, FilesAreSavedAndOpenedWithTheirCaptions) {
  window_.Memo1()->setPlainText("u, v");
  window_.Memo3()->setPlainText("u + v - 3,\nu - v + 1");
  prompt_.files = {Path("a.sle")};
  window_.Action("SaveAs1")->trigger();
  EXPECT_EQ(prompt_.filters, std::vector<std::string>{std::string(kSleFilter)});
  EXPECT_EQ(window_.windowTitle().toStdString(), Path("a.sle"));
  EXPECT_FALSE(window_.Action("Save1")->isEnabled()) << "only a successful read enables it";
  window_.Action("Open1")->trigger();  // cancelled, yet the caption is reset
  EXPECT_EQ(window_.windowTitle(), "System of linear equations solver");

  window_.Memo1()->setPlainText("x");
  window_.Memo3()->setPlainText("x");
  window_.Action("SystemSolve1")->trigger();
  prompt_.files = {Path("a.sle")};
  window_.Action("Open1")->trigger();
  EXPECT_EQ(window_.Memo1()->toPlainText(), "u,v");
  EXPECT_EQ(window_.Memo3()->toPlainText(), "u + v - 3,\nu - v + 1");
  EXPECT_EQ(window_.windowTitle().toStdString(), Path("a.sle"));
  EXPECT_TRUE(Results().isEmpty());
  EXPECT_TRUE(Checked().empty());
  ASSERT_TRUE(window_.Action("Save1")->isEnabled());
  window_.Memo3()->setPlainText("u - 1,\nv - 2");
  window_.Action("Save1")->trigger();
  QFile saved(QString::fromStdString(Path("a.sle")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().endsWith("{\r\nu - 1,\r\nv - 2\r\n}\r\n"));

  // A bad file is refused and disables "&Save"; so does a file that does not exist, silently.
  QFile bad(QString::fromStdString(Path("bad.sle")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write("}{u}{u}") == 7);
  bad.close();
  prompt_.files = {Path("bad.sle"), Path("a.sle"), Path("none.sle")};
  window_.Action("Open1")->trigger();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Bad file format"});
  EXPECT_EQ(window_.Memo3()->toPlainText(), "u - 1,\nv - 2");
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  window_.Action("Open1")->trigger();
  EXPECT_TRUE(window_.Action("Save1")->isEnabled());
  window_.Action("Open1")->trigger();
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  EXPECT_EQ(prompt_.messages.size(), 1u);
}

TEST(LinearSystemFromMainWindow, TheMenuItemOpensTheSolverOwnedByTheCalculator) {
  app::TScriptedPrompt prompt;
  QTemporaryDir data;
  app::TForm1 main(prompt, app::TDataFolder("calculator", "", data.path().toStdString()));
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  TlssForm1* solver = main.SystemSolverWindow();
  EXPECT_FALSE(solver->isVisible()) << "created hidden";
  main.Action("SystemSolver1")->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(solver));
  EXPECT_EQ(solver->parentWidget(), &main);
  EXPECT_TRUE(solver->isWindow());
  // The solver reads the calculator's tolerance setting.
  solver->Memo1()->setPlainText("a");
  solver->Memo3()->setPlainText("1e-17 a - 1e-17");
  solver->SystemSolve1Click();
  EXPECT_EQ(prompt.messages, std::vector<std::string>{"System is bad conditioned"});
  main.Core().SetSetting(app::stDetTolerance, 1e-20);
  solver->SystemSolve1Click();
  EXPECT_EQ(solver->Memo2()->toPlainText(), "Solution:\na = 1");
}

}  // namespace
}  // namespace linsys
