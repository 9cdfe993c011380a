// The constant list windows, driven headless from the main window as a user would.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/temp_folder.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "constants/const_edit_dialog.h"
#include "constants/const_table_window.h"
#include "constants/constant_delete_window.h"
#include "constants/constant_edit_window.h"
#include "constants/constant_list.h"
#include "constants/constant_list_window.h"
#include "support/scripted_prompt.h"

namespace constants {
namespace {

class ConstantWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_.answer = true;  // "ARE YOU SURE ?" is Yes unless a test queues other answers
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

  app::TScriptedPrompt prompt_;
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
  list_->EditRow(7);  // an edit of a row that goes away is closed with it
  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(remove->isVisible());
  EXPECT_FALSE(list_->EditWindow()->isVisible());
  EXPECT_EQ(list_->Grid()->rowCount(), 5);
  // g is no longer a constant, so the definitions may set it.
  main_.DefinitionsMemo()->setPlainText("g=1");
  main_.ExpressionsMemo()->setPlainText("g");
  EXPECT_EQ(Results(), "1");
}

class ConstTableWindowTest : public ConstantWindowsTest {
 protected:
  void SetUp() override {
    ConstantWindowsTest::SetUp();
    main_.Action("DefConstants1")->trigger();
    table_ = main_.ConstTableWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(table_));
  }
  QString TableCell(int row, int column) const {
    const QTableWidgetItem* item = table_->Grid()->item(row - 1, column);
    return item == nullptr ? QString() : item->text();
  }
  void Choose(const QString& name) {
    const int index = table_->SearchBox()->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    table_->SearchBox()->setCurrentIndex(index);
    emit table_->SearchBox()->activated(index);
  }
  QString DataFile(const QString& name) const { return dataFolder_.path() + "/" + name; }

  TForm22* table_ = nullptr;
};

TEST_F(ConstTableWindowTest, StartsWithTheDefaultFileWrittenAndSorted) {
  EXPECT_EQ(table_->windowTitle(), "Constants definition table");
  EXPECT_TRUE(QFile::exists(DataFile("calculator.con")));
  EXPECT_EQ(table_->StatusLabel()->text(), DataFile("calculator.con"));
  EXPECT_EQ(table_->CategoryBox()->currentText(), "Physical constants");
  EXPECT_EQ(table_->Grid()->rowCount(), 24);
  EXPECT_EQ(TableCell(1, 0), "1");
  EXPECT_EQ(TableCell(1, 1), "Avogadro_constant");
  EXPECT_EQ(TableCell(1, 2), "6.0221367E+023");
  EXPECT_EQ(TableCell(1, 3), "(1/mol)");
  EXPECT_EQ(table_->SearchBox()->count(), 24);
  EXPECT_EQ(table_->SearchBox()->currentIndex(), -1);

  table_->resize(680, 400);
  QApplication::processEvents();
  const int a = (table_->Grid()->width() - 40) / 8 - 1;
  EXPECT_EQ(table_->Grid()->columnWidth(0), 40);
  EXPECT_EQ(table_->Grid()->columnWidth(1), 4 * a);
  EXPECT_EQ(table_->Grid()->columnWidth(3), 2 * a);

  table_->Action("Constants1")->trigger();
  EXPECT_TRUE(list_->isVisible());
  QTest::keyClick(table_->Grid(), Qt::Key_Escape);
  EXPECT_FALSE(table_->isVisible());
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ConstTableWindowTest, AddToConstantsCopiesTheChosenConstantIntoTheList) {
  QTest::mouseClick(table_->AddToConstantsButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Please enter a constant");
  Choose("Planck_constant");
  EXPECT_EQ(table_->Grid()->currentRow(), table_->SearchBox()->currentIndex());
  QTest::mouseClick(table_->AddToConstantsButton(), Qt::LeftButton);
  EXPECT_EQ(list_->Grid()->rowCount(), 6);
  EXPECT_EQ(Cell(6, 1), "Planck_constant");
  EXPECT_EQ(Cell(6, 3), "6.6260754E-034");
  EXPECT_EQ(Cell(6, 4), "(J*s)");
  main_.ExpressionsMemo()->setPlainText("Planck_constant*1E34");
  EXPECT_EQ(Results(), "6.6260754");
  // A second copy clashes with the first.
  QTest::mouseClick(table_->AddToConstantsButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back().rfind("IsValidIdentName-> IDENTIFIER NAME ALREADY EXIST", 0),
            0u);
  EXPECT_EQ(list_->Grid()->rowCount(), 6);
}

TEST_F(ConstTableWindowTest, ConstantDialogAddsAndEditsInSortedOrder) {
  table_->Action("AddConst1")->trigger();
  TForm23* dialog = table_->ConstantDialog();
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Add constant");
  dialog->NameEdit()->setText("  Aa_first ");
  dialog->ValueEdit()->setText(" 1.5 ");
  dialog->DescriptionEdit()->setText("(none)");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(table_->Grid()->rowCount(), 25);
  EXPECT_EQ(TableCell(1, 1), "Aa_first");
  EXPECT_EQ(TableCell(1, 2), "1.5");
  EXPECT_EQ(table_->SearchBox()->currentText(), "Aa_first");

  table_->Action("AddConst1")->trigger();
  dialog->NameEdit()->setText("AVOGADRO_CONSTANT");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Duplicates not allowed : AVOGADRO_CONSTANT");
  EXPECT_TRUE(dialog->isVisible());
  dialog->NameEdit()->setText("   ");  // nothing happens without a name
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog->isVisible());
  dialog->reject();

  QTableWidget* grid = table_->Grid();
  const QRect cell = grid->visualItemRect(grid->item(0, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Edit constant");
  EXPECT_EQ(dialog->NameEdit()->text(), "Aa_first");
  dialog->NameEdit()->setText("Zz_last");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(TableCell(25, 1), "Zz_last");
  EXPECT_EQ(TableCell(25, 3), "(none)");
  EXPECT_EQ(TableCell(1, 1), "Avogadro_constant");
}

TEST_F(ConstTableWindowTest, DeleteDialogChecksTheBlockAndCutsItAtTheEnd) {
  table_->Action("DeleteConst1")->trigger();
  TForm24* dialog = table_->DeleteDialog();
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Delete definition");
  EXPECT_EQ(dialog->FromEdit()->text(), "1");
  EXPECT_EQ(dialog->CountEdit()->text(), "1");
  for (const char* from : {"0", "25"}) {
    dialog->FromEdit()->setText(from);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(prompt_.messages.back(), "Invalid #") << from;
  }
  dialog->FromEdit()->setText("2");
  dialog->CountEdit()->setText("0");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Invalid count");
  dialog->CountEdit()->setText("100");
  prompt_.answers = {false};
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(table_->Grid()->rowCount(), 24);
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(table_->Grid()->rowCount(), 1);
  EXPECT_EQ(TableCell(1, 1), "Avogadro_constant");
}

TEST_F(ConstTableWindowTest, CategoriesAreAddedRenamedAndDeletedOnlyWhenEmpty) {
  table_->Action("AddCategory1")->trigger();
  TForm25* dialog = table_->CategoryDialog();
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Add constant category");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Category cannot be an empty string");
  dialog->NameEdit()->setText("physical CONSTANTS");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages.back(), "Duplicates not allowed : physical CONSTANTS");
  dialog->NameEdit()->setText("Mechanics");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(table_->CategoryBox()->count(), 2);
  EXPECT_EQ(table_->CategoryBox()->currentIndex(), -1);
  EXPECT_EQ(table_->Grid()->rowCount(), 1);
  EXPECT_EQ(table_->CategoryBox()->itemText(0), "Mechanics");

  table_->CategoryBox()->setCurrentIndex(1);
  EXPECT_EQ(table_->Grid()->rowCount(), 24);
  table_->Action("DeleteCategory1")->trigger();
  EXPECT_EQ(prompt_.messages.back(), "Please delete all constants");
  table_->Action("EditCategory1")->trigger();
  EXPECT_EQ(dialog->windowTitle(), "Edit constant category");
  EXPECT_EQ(dialog->NameEdit()->text(), "Physical constants");
  dialog->NameEdit()->setText("Atoms");
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(table_->CategoryBox()->itemText(0), "Atoms");

  table_->CategoryBox()->setCurrentIndex(1);
  table_->Action("DeleteCategory1")->trigger();
  EXPECT_EQ(table_->CategoryBox()->count(), 1);
}

TEST_F(ConstTableWindowTest, FileMenuSavesOpensAndRestoresTheDefault) {
  prompt_.file = DataFile("mine.con").toStdString();
  table_->Action("SaveAsConst1")->trigger();
  EXPECT_EQ(prompt_.filters.back(),
            "Conversion files (*.con)|*.con|Text files (*.txt)|*.txt|All files (*.)|*.");
  EXPECT_TRUE(QFile::exists(DataFile("mine.con")));
  EXPECT_EQ(table_->StatusLabel()->text(), DataFile("mine.con"));

  table_->Action("NewConst1")->trigger();
  EXPECT_EQ(table_->CategoryBox()->count(), 0);
  table_->Action("OpenConst1")->trigger();
  EXPECT_EQ(table_->windowTitle(), "Constant definition table");
  EXPECT_EQ(table_->CategoryBox()->currentText(), "Physical constants");
  EXPECT_EQ(table_->Grid()->rowCount(), 24);

  // Saving needs a Yes; the default file is written again only after one too.
  table_->Action("DeleteConst1")->trigger();
  table_->DeleteDialog()->CountEdit()->setText("23");
  QTest::mouseClick(table_->DeleteDialog()->OkButton(), Qt::LeftButton);
  prompt_.answers = {false};
  table_->Action("SaveConst1")->trigger();
  table_->Action("OpenConst1")->trigger();
  EXPECT_EQ(table_->Grid()->rowCount(), 24);
  table_->Action("DeleteConst1")->trigger();
  QTest::mouseClick(table_->DeleteDialog()->OkButton(), Qt::LeftButton);
  table_->Action("SaveConst1")->trigger();
  table_->Action("OpenConst1")->trigger();
  EXPECT_EQ(table_->Grid()->rowCount(), 1);

  table_->Action("DefaultConst1")->trigger();
  EXPECT_EQ(table_->Grid()->rowCount(), 24);
  EXPECT_EQ(table_->StatusLabel()->text(), DataFile("calculator.con"));
  EXPECT_TRUE(prompt_.messages.empty()) << prompt_.messages.back();
}

TEST(ConstTableSettingsTest, TheSettingsNameTheConstantsFileReadAtStart) {
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString();
  app::WriteBytes(path + "/mine.con", "[Mechanics]\r\ng = 9.81 //(m/s^2)\r\n");
  app::WriteBytes(path + "/calculator.ini", "[Paths]\r\nConstFilePath=" + path + "/mine.con\r\n");
  app::TScriptedPrompt prompt;
  {
    app::TForm1 main(prompt, app::TDataFolder("calculator", "", path));
    TForm22* table = main.ConstTableWindow();
    EXPECT_EQ(table->CategoryBox()->currentText(), "Mechanics");
    EXPECT_EQ(table->Table().ConstFilePath, path + "/mine.con");
    main.close();
  }
  EXPECT_NE(app::ReadBytes(path + "/calculator.ini").find("ConstFilePath=" + path + "/mine.con"),
            std::string::npos);
  EXPECT_FALSE(QFile::exists(folder.path() + "/calculator.con"));
  EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
}  // namespace constants
