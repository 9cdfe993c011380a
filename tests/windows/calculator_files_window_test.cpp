// The main window's files: the settings file (written when missing, applied at start, kept on
// a screen, written on close), the start-up calculator file, the file menu and the history.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/status_panel.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

class SettingsWindowTest : public ::testing::Test {
 protected:
  std::string SettingsPath() const { return folder_.path().toStdString() + "/calculator.ini"; }
  void WriteSettingsFile(const std::string& text) {
    std::ofstream(SettingsPath(), std::ios::binary) << text;
  }
  std::unique_ptr<TForm1> NewWindow() {
    return std::make_unique<TForm1>(prompt_,
                                    TDataFolder("calculator", "", folder_.path().toStdString()));
  }
  QTemporaryDir folder_;
  TScriptedPrompt prompt_;
};

TEST_F(SettingsWindowTest, AMissingFileIsWrittenWithTheStartUpState) {
  const auto window = NewWindow();
  std::string error;
  const auto file = TIniFile::FromFile(SettingsPath(), error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(file->SectionNames(), (std::vector<std::string>{"FormPos", "View", "Paths"}));
  EXPECT_EQ(file->Value("View", "StayOnTop"), "1");
  EXPECT_EQ(file->Value("FormPos", "Height"), "443");
  EXPECT_EQ(file->Value("Paths", "FilePath"), folder_.path().toStdString());
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(SettingsWindowTest, StoredViewAndPlaceAreRestoredAndWrittenOnClose) {
  // The conversion file is read at start-up, so it has to exist to stay the current one.
  const std::string conv = folder_.path().toStdString() + "/c.cnv";
  std::ofstream(conv, std::ios::binary) << "[Length]\r\n1=m : cm : x*100 : x/100\r\n";
  WriteSettingsFile(
      "[FormPos]\r\nTop=40\r\nLeft=30\r\nHeight=500\r\nWidth=420\r\nMemo1Height=90\r\n"
      "Memo2Height=140\r\n[View]\r\nStayOnTop=0\r\nUserFunctions=1\r\nErrorMessage=0\r\n"
      "CurrencyType=1\r\n[Paths]\r\nFilePath=/somewhere/work.txt\r\nConvFilePath=" +
      conv + "\r\n");
  const auto window = NewWindow();
  window->show();
  EXPECT_EQ(window->size(), QSize(420, 500));
  EXPECT_EQ(window->pos(), QPoint(30, 40));
  EXPECT_FALSE(window->StayOnTop());
  EXPECT_FALSE(window->Action("ErrorMessage1")->isChecked());
  EXPECT_TRUE(window->Action("Currency1")->isChecked());
  EXPECT_EQ(window->StatusPanel(0)->text(), "TYPE: Currency");
  EXPECT_EQ(window->Splitter()->sizes()[0], 90);
  EXPECT_EQ(window->Splitter()->sizes()[1], 140);
  EXPECT_EQ(window->ConvFilePath, conv);
  EXPECT_EQ(prompt_.initialFolder, "/somewhere/work.txt");

  window->Action("ErrorMessage1")->trigger();
  window->close();
  std::string error;
  const auto file = TIniFile::FromFile(SettingsPath(), error);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Value("View", "ErrorMessage"), "1");
  EXPECT_EQ(file->Value("View", "StayOnTop"), "0");
  EXPECT_EQ(file->Value("Paths", "ConvFilePath"), conv);
}

TEST_F(SettingsWindowTest, FiveKeysOrBadValuesKeepTheDesignedPlace) {
  WriteSettingsFile(
      "[FormPos]\nTop=1\nLeft=2\nHeight=3\nWidth=4\nMemo1Height=5\n"
      "[View]\nUserFunctions=no\n");
  const auto window = NewWindow();
  EXPECT_EQ(window->height(), 443);
  EXPECT_TRUE(window->Action("UserFunctions1")->isChecked()) << "not an integer: ignored";

  WriteSettingsFile(
      "[FormPos]\nTop=x\nLeft=2\nHeight=450\nWidth=\nMemo1Height=5\nMemo2Height=6\n"
      "[View]\nUserFunctions=0\n");
  const auto second = NewWindow();
  EXPECT_EQ(second->height(), 450);
  EXPECT_EQ(second->x(), 2);
  EXPECT_FALSE(second->Action("UserFunctions1")->isChecked());
}

// A place stored on a screen that is gone must not put the window out of reach.
TEST_F(SettingsWindowTest, APlaceOffEveryScreenIsBroughtBack) {
  WriteSettingsFile(
      "[FormPos]\nTop=-50000\nLeft=90000\nHeight=400\nWidth=400\nMemo1Height=60\n"
      "Memo2Height=60\n");
  const auto window = NewWindow();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(QRect(window->pos(), window->size())))
      << window->x() << "," << window->y();
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

TEST_F(SettingsWindowTest, TheStartUpFileIsWrittenThenReadAndRecorded) {
  const auto window = NewWindow();
  window->show();
  const std::string path = folder_.path().toStdString() + "/calculator.txt";
  const std::string text = ReadAll(path);
  EXPECT_EQ(text.rfind("Constants\r\n{\r\nFROM = _from //Internal constant;\r\n", 0), 0u);
  EXPECT_NE(text.find("User definitions\r\n{\r\nf(x)~Sin(x),\r\nFact(n)~if(eq(n,0),1,"
                      "n*Fact(n-1)),\r\ny=1/3\r\n}\r\n"),
            std::string::npos);
  EXPECT_EQ(window->windowTitle().toStdString(), path);
  EXPECT_EQ(window->DefinitionsMemo()->toPlainText(),
            "f(x)~Sin(x),\nFact(n)~if(eq(n,0),1,n*Fact(n-1)),\ny=1/3");
  EXPECT_EQ(window->Session().History().Entries().size(), 1u);
  EXPECT_FALSE(window->Action("Undo1")->isEnabled());
  EXPECT_TRUE(window->Action("Save1")->isEnabled());
  EXPECT_EQ(window->StatusPanel(1)->text(), "History Index: 0");
  EXPECT_NE(ReadAll(folder_.path().toStdString() + "/calculator.log").find(std::string(65, '=')),
            std::string::npos);
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(SettingsWindowTest, SaveAsOpenUndoAndRedoStepThroughWholeStates) {
  const auto window = NewWindow();
  window->show();
  const std::string work = folder_.path().toStdString() + "/work.txt";
  window->DefinitionsMemo()->setPlainText("a=2");
  window->ExpressionsMemo()->setPlainText("a*10");
  prompt_.file = work;
  window->SaveAs1Click();
  EXPECT_EQ(window->windowTitle().toStdString(), work);
  EXPECT_NE(ReadAll(work).find("{\r\na=2\r\n}"), std::string::npos);
  EXPECT_EQ(window->StatusPanel(1)->text(), "History Index: 1");

  window->ExpressionsMemo()->setPlainText("a*20");
  window->Action("Clear1")->trigger();  // records the state, then empties the expressions
  EXPECT_TRUE(window->ExpressionsMemo()->toPlainText().isEmpty());
  EXPECT_EQ(window->Session().History().Entries().size(), 3u);

  EXPECT_EQ(window->Action("Undo1")->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(window->Action("Redo1")->shortcut(), QKeySequence(Qt::Key_F2));
  window->Action("Undo1")->trigger();  // back to "a*10"
  EXPECT_EQ(window->ExpressionsMemo()->toPlainText(), "a*10");
  EXPECT_EQ(window->ResultsMemo()->toPlainText(), "20");
  EXPECT_TRUE(window->Action("Redo1")->isEnabled());
  window->Action("Redo1")->trigger();  // on to "a*20"
  EXPECT_EQ(window->ExpressionsMemo()->toPlainText(), "a*20");
  EXPECT_FALSE(window->Action("Redo1")->isEnabled());
  window->ClearHistory1Click();
  EXPECT_FALSE(window->Action("Undo1")->isEnabled());
  EXPECT_EQ(window->StatusPanel(1)->text(), "History Index: 0");

  // Open reads the saved file back into the panes.
  window->DefinitionsMemo()->setPlainText("b=1");
  window->Open1Click();
  EXPECT_EQ(window->DefinitionsMemo()->toPlainText(), "a=2");
  EXPECT_EQ(window->ExpressionsMemo()->toPlainText(), "a*10");
  EXPECT_EQ(window->ResultsMemo()->toPlainText(), "20");
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(SettingsWindowTest, ABadFileOrABraceIsRefusedAndNothingIsLost) {
  const auto window = NewWindow();
  window->show();
  const std::string bad = folder_.path().toStdString() + "/bad.txt";
  std::ofstream(bad, std::ios::binary) << "Constants\r\n{\r\n}\r\n";
  window->ExpressionsMemo()->setPlainText("1+1");
  prompt_.file = bad;
  window->Open1Click();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Bad file format"});
  EXPECT_EQ(window->ExpressionsMemo()->toPlainText(), "1+1");
  EXPECT_FALSE(window->Action("Save1")->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Calculator");

  const std::string work = folder_.path().toStdString() + "/work.txt";
  prompt_.file = work;
  window->SaveAs1Click();
  const std::string saved = ReadAll(work);
  window->ExpressionsMemo()->setPlainText("1+1 {");
  window->Save1Click();
  EXPECT_NE(prompt_.messages.back().find("\"Mathematical expression\""), std::string::npos);
  EXPECT_EQ(ReadAll(work), saved);
}

}  // namespace
}  // namespace app
