// The main window with its settings file: written when missing, applied at start, kept on a
// screen, written again on close.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <fstream>

#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/status_panel.h"

namespace app {
namespace {

class TQuietPrompt : public TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  void SetInitialFolder(const std::string& folder) override { initialFolder = folder; }
  std::vector<std::string> messages;
  std::string initialFolder;
};

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
  TQuietPrompt prompt_;
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
  WriteSettingsFile(
      "[FormPos]\r\nTop=40\r\nLeft=30\r\nHeight=500\r\nWidth=420\r\nMemo1Height=90\r\n"
      "Memo2Height=140\r\n[View]\r\nStayOnTop=0\r\nUserFunctions=1\r\nErrorMessage=0\r\n"
      "CurrencyType=1\r\n[Paths]\r\nFilePath=/somewhere/work.txt\r\nConvFilePath=/c.cnv\r\n");
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
  EXPECT_EQ(window->ConvFilePath, "/c.cnv");
  EXPECT_EQ(prompt_.initialFolder, "/somewhere/work.txt");

  window->Action("ErrorMessage1")->trigger();
  window->close();
  std::string error;
  const auto file = TIniFile::FromFile(SettingsPath(), error);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Value("View", "ErrorMessage"), "1");
  EXPECT_EQ(file->Value("View", "StayOnTop"), "0");
  EXPECT_EQ(file->Value("Paths", "ConvFilePath"), "/c.cnv");
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

}  // namespace
}  // namespace app
