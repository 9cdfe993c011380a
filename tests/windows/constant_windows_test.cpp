// The constant list windows, driven headless from the main window as a user would.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "app/data_folder.h"
#include "app/main_window.h"
#include "constants/constant_delete_window.h"
#include "constants/constant_edit_window.h"
#include "constants/constant_list.h"
#include "constants/constant_list_window.h"

namespace constants {
namespace {

class TScriptedPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override {
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
  std::deque<bool> answers;
};

class ConstantWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_.show();
    main_.Action("Constants1")->trigger();
    list_ = main_.ConstantListWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list_));
  }
  QString Cell(int row, int column) const {
    const QTableWidgetItem* item = list_->Grid()->item(row - 1, column);
    return item == nullptr ? QString() : item->text();
  }
  // Fills the edit window and presses "&Ok".
  void Store(const QString& name, const QString& expression) {
    TForm11* edit = list_->EditWindow();
    if (edit->NameEdit()->isEnabled()) edit->NameEdit()->setText(name);
    edit->ExpressionMemo()->setPlainText(expression);
    QTest::mouseClick(edit->OkButton(), Qt::LeftButton);
  }
  QString Results() const { return main_.ResultsMemo()->toPlainText(); }

  TScriptedPrompt prompt_;
  QTemporaryDir dataFolder_;
  app::TForm1 main_{prompt_, app::TDataFolder("calculator", "", dataFolder_.path().toStdString())};
  TForm10* list_ = nullptr;
};

TEST_F(ConstantWindowsTest, ListShowsTheInternalConstantsWithItsColumnWidths) {
  EXPECT_EQ(list_->windowTitle(), "Constant list");
  QTableWidget* grid = list_->Grid();
  EXPECT_EQ(grid->rowCount(), 5);
  EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), "Expression");
  EXPECT_EQ(grid->toolTip(), "Double click for edit!");
  EXPECT_EQ(Cell(1, 1), "FROM");
  EXPECT_EQ(Cell(3, 2), "0.1");
  EXPECT_EQ(Cell(5, 3), "_dettolerance");
  EXPECT_EQ(Cell(2, 4), "Internal constant");

  list_->resize(700, 300);
  QApplication::processEvents();
  const int a = (grid->width() - 40) / 10 - 3;
  EXPECT_EQ(grid->columnWidth(0), 40);
  EXPECT_EQ(grid->columnWidth(1), 2 * a);
  EXPECT_EQ(grid->columnWidth(3), 4 * a);
  EXPECT_EQ(grid->columnWidth(4), 2 * a);

  list_->Action("StayOnTop1")->trigger();
  EXPECT_TRUE(list_->StayOnTop());
  EXPECT_TRUE(list_->isVisible());
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_FALSE(list_->isVisible());
}

TEST_F(ConstantWindowsTest, AddedConstantIsListedAndUsableInTheMainWindow) {
  list_->Action("AddConst1")->trigger();
  TForm11* edit = list_->EditWindow();
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->windowTitle(), "Edit constants");
  EXPECT_TRUE(edit->NameEdit()->isEnabled());
  EXPECT_TRUE(edit->NameEdit()->text().isEmpty());
  Store("g", "9.81");
  EXPECT_FALSE(edit->isVisible());
  EXPECT_EQ(list_->Grid()->rowCount(), 6);
  EXPECT_EQ(Cell(6, 0), "6");
  EXPECT_EQ(Cell(6, 2), "9.81");

  main_.ExpressionsMemo()->setPlainText("g*2");
  EXPECT_EQ(Results(), "19.62");
  EXPECT_TRUE(prompt_.messages.empty());

  // A refused name keeps the window open with what was typed.
  list_->Action("AddConst1")->trigger();
  Store("sin", "1");
  EXPECT_TRUE(edit->isVisible());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("IsValidIdentName-> ", 0), 0u);
  main_.ExpressionsMemo()->setPlainText("g");
  QTest::keyClick(edit->NameEdit(), Qt::Key_Escape);
  EXPECT_FALSE(edit->isVisible());
  EXPECT_TRUE(Results().isEmpty());  // closing the edit window empties the results pane
}

TEST_F(ConstantWindowsTest, DoubleClickOrEnterEditsARowWithTheNameLockedForInternalOnes) {
  QTableWidget* grid = list_->Grid();
  const QRect cell = grid->visualItemRect(grid->item(2, 3));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  TForm11* edit = list_->EditWindow();
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->Row(), 3);
  EXPECT_EQ(edit->NameEdit()->text(), "STEP");
  EXPECT_FALSE(edit->NameEdit()->isEnabled());
  EXPECT_EQ(edit->ExpressionMemo()->toPlainText(), "_step");
  Store("", "0.5");
  EXPECT_DOUBLE_EQ(main_.Core().GetSetting(app::stStep), 0.5);
  EXPECT_EQ(Cell(3, 2), "0.5");

  list_->Action("AddConst1")->trigger();
  Store("k", "7");
  grid->setCurrentCell(5, 1);
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->Row(), 6);
  EXPECT_TRUE(edit->NameEdit()->isEnabled());
  EXPECT_EQ(edit->ExpressionMemo()->toPlainText(), "7");
}

TEST_F(ConstantWindowsTest, DeleteWindowChecksItsFieldsAndRemovesTheBlock) {
  list_->Action("AddConst1")->trigger();
  Store("g", "9.81");
  list_->Action("AddConst1")->trigger();
  Store("h", "2*g");
  list_->Action("DeleteConst1")->trigger();
  TForm12* remove = list_->DeleteWindow();
  ASSERT_TRUE(remove->isVisible());
  EXPECT_EQ(remove->windowTitle(), "Delete constants");
  EXPECT_EQ(remove->FromEdit()->text(), "5");
  EXPECT_EQ(remove->CountEdit()->text(), "1");

  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Cannot delete internal constants");
  remove->FromEdit()->setText("six");
  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "'six' is not a valid integer value");
  remove->FromEdit()->setText("6");
  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Cannot delete variable dependece : h");
  EXPECT_TRUE(remove->isVisible());
  EXPECT_EQ(list_->Grid()->rowCount(), 7);

  remove->CountEdit()->setText("2");
  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(remove->isVisible());
  EXPECT_EQ(list_->Grid()->rowCount(), 5);
  // g is no longer a constant, so the definitions may set it.
  main_.DefinitionsMemo()->setPlainText("g=1");
  main_.ExpressionsMemo()->setPlainText("g");
  EXPECT_EQ(Results(), "1");
}

TEST_F(ConstantWindowsTest, WindowMenuShowsTheMainWindow) {
  main_.hide();
  list_->Action("Main1")->trigger();
  EXPECT_TRUE(main_.isVisible());
}

}  // namespace
}  // namespace constants
