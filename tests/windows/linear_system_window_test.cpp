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

namespace linsys {
namespace {

// Records the message boxes and answers the file dialogs with the paths a test queues.
class TScriptedPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string& filter) override { return Next(filter); }
  std::optional<std::string> SaveFile(const std::string& filter) override { return Next(filter); }
  std::vector<std::string> messages;
  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> filters;

 private:
  std::optional<std::string> Next(const std::string& filter) {
    filters.push_back(filter);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

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

  TScriptedPrompt prompt_;
  QTemporaryDir folder_;
  double tolerance_ = 1e-16;
  TlssForm1 window_{prompt_, [this] { return tolerance_; }};
};

TEST_F(LinearSystemWindowTest, StartsWithTheInitialSystem) {
  EXPECT_EQ(window_.windowTitle(), "System of linear equations solver");
  QStringList titles;  // from top to bottom
  for (int i = 0; i < window_.Splitter()->count(); ++i)
    titles << qobject_cast<QGroupBox*>(window_.Splitter()->widget(i))->title();
  EXPECT_EQ(titles, (QStringList{"Variables name", "System of linear equations", "Results"}));
  EXPECT_EQ(window_.Memo1()->toPlainText(), "x,y,z");
  EXPECT_EQ(window_.Memo3()->toPlainText(),
            "sin(e) x+ 2 y+ 3 z+1,\n4 x + 5 y+6 z-2,\n7 x+ 8 y+ 9 z+3");
  EXPECT_TRUE(Results().isEmpty());
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  EXPECT_TRUE(Checked().empty());
  window_.Splitter()->setSizes({1, 1000, 1});
  for (const int size : window_.Splitter()->sizes())
    EXPECT_GE(size, 50);
}

TEST_F(LinearSystemWindowTest, EachCommandShowsItsResultAndChecksOnlyItsItem) {
  window_.Action("SystemSolve1")->trigger();
  EXPECT_TRUE(Results().startsWith("Solution:\nx = "));
  EXPECT_EQ(Checked(), std::vector<std::string>{"SystemSolve1"});
  window_.Action("Determinant1")->trigger();
  EXPECT_TRUE(Results().startsWith("Determinant = "));
  EXPECT_EQ(Checked(), std::vector<std::string>{"Determinant1"});
  window_.Action("Inversmatix1")->trigger();
  EXPECT_EQ(Results().split('\n').size(), 4);
  EXPECT_TRUE(Results().startsWith("Inverse  matrix :\n"));
  window_.Action("Rightpart1")->trigger();
  EXPECT_EQ(Results(), "Right part:\n-1\n2\n-3");
  window_.Action("Initialmatrix1")->trigger();
  EXPECT_TRUE(Results().contains("\n4.00000000000000000E+0   5.00000000000000000E+0   "));
  EXPECT_EQ(Checked(), std::vector<std::string>{"Initialmatrix1"});

  // The memos are read at every command; a failure leaves every item unchecked.
  window_.Memo3()->setPlainText("x*y,\ny,\nz");
  window_.Action("SystemSolve1")->trigger();
  EXPECT_EQ(Results(), "System of equations is not linear");
  EXPECT_TRUE(Checked().empty());
  window_.Memo1()->setPlainText("a,\nb");
  window_.Memo3()->setPlainText("1e-10 a, 1e-10 b - 1e-10");
  window_.Action("Determinant1")->trigger();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"System is bad conditioned"});
  EXPECT_TRUE(Results().isEmpty());
  tolerance_ = 1e-30;
  window_.Action("SystemSolve1")->trigger();
  EXPECT_EQ(Results(), "Solution:\na = 0\nb = 1");
}

TEST_F(LinearSystemWindowTest, FilesAreSavedAndOpenedWithTheirCaptions) {
  window_.Memo1()->setPlainText("u, v");
  window_.Memo3()->setPlainText("u + v - 3,\nu - v + 1");
  prompt_.answers = {Path("a.sle")};
  window_.Action("SaveAs1")->trigger();
  EXPECT_EQ(prompt_.filters, std::vector<std::string>{std::string(kSleFilter)});
  EXPECT_EQ(window_.windowTitle().toStdString(), Path("a.sle"));
  EXPECT_FALSE(window_.Action("Save1")->isEnabled()) << "only a successful read enables it";
  QFile saved(QString::fromStdString(Path("a.sle")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(),
            "List of variables\r\n{\r\nu, v\r\n}\r\n\r\nSystem of linear equatins\r\n{\r\n"
            "u + v - 3,\r\nu - v + 1\r\n}\r\n");
  saved.close();

  // A cancelled dialog still resets the caption.
  window_.Action("Open1")->trigger();
  EXPECT_EQ(window_.windowTitle(), "System of linear equations solver");

  window_.Memo1()->setPlainText("x");
  window_.Memo3()->setPlainText("x");
  window_.Action("SystemSolve1")->trigger();
  prompt_.answers = {Path("a.sle")};
  window_.Action("Open1")->trigger();
  EXPECT_EQ(window_.Memo1()->toPlainText(), "u,v");
  EXPECT_EQ(window_.Memo3()->toPlainText(), "u + v - 3,\nu - v + 1");
  EXPECT_EQ(window_.windowTitle().toStdString(), Path("a.sle"));
  EXPECT_TRUE(Results().isEmpty());
  EXPECT_TRUE(Checked().empty());
  ASSERT_TRUE(window_.Action("Save1")->isEnabled());

  window_.Memo3()->setPlainText("u - 1,\nv - 2");
  window_.Action("Save1")->trigger();
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().contains("{\r\nu - 1,\r\nv - 2\r\n}"));
  saved.close();
  EXPECT_TRUE(prompt_.messages.empty());

  // A bad file is refused: the memos stay and "&Save" is disabled.
  QFile bad(QString::fromStdString(Path("bad.sle")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("}{u}{u}");
  bad.close();
  prompt_.answers = {Path("bad.sle")};
  window_.Action("Open1")->trigger();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Bad file format"});
  EXPECT_EQ(window_.Memo3()->toPlainText(), "u - 1,\nv - 2");
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  EXPECT_EQ(window_.windowTitle(), "System of linear equations solver");

  // A file that does not exist only makes the current file invalid.
  prompt_.answers = {Path("a.sle"), Path("none.sle")};
  window_.Action("Open1")->trigger();
  ASSERT_TRUE(window_.Action("Save1")->isEnabled());
  window_.Action("Open1")->trigger();
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  EXPECT_EQ(prompt_.messages.size(), 1u);
}

TEST_F(LinearSystemWindowTest, EscapeClosesTheWindow) {
  QTest::keyClick(window_.Memo3(), Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
}

TEST(LinearSystemFromMainWindow, TheMenuItemOpensTheSolverOwnedByTheCalculator) {
  TScriptedPrompt prompt;
  QTemporaryDir data;
  app::TForm1 main(prompt, app::TDataFolder("calculator", "", data.path().toStdString()));
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  TlssForm1* solver = main.SystemSolverWindow();
  ASSERT_NE(solver, nullptr);
  EXPECT_FALSE(solver->isVisible()) << "created hidden";
  QAction* item = main.Action("SystemSolver1");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
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
