// The conversion windows driven headless from the main window: the check that unlocks the
// conversion, the definition table's dialogs, and a conversion with a category of the user's.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/data_folder.h"
#include "app/main_window.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "conversion/conversion_file.h"
#include "conversion/conversion_table_window.h"
#include "conversion/convert_unit_window.h"
#include "conversion/definition_dialog.h"
#include "conversion/unit_conversion.h"
#include "periodic/periodic_table_window.h"
#include "support/scripted_prompt.h"

namespace conversion {
namespace {

// Five definitions in a chain, and a second category.
constexpr const char* kChainFile =
    "[Chain]\r\n1=A : B : x*2 : x/2\r\n2=B : C : x*2 : x/2\r\n3=C : D : x*2 : x/2\r\n"
    "4=D : E : x*2 : x/2\r\n5=A : E : x*16 : x/16\r\n[Other]\r\n1=p : q : x : x\r\n";

class ConversionWindowsTest : public ::testing::Test {
 protected:
  // Starts the calculator on the conversion file `cnv`, or on the default one.
  void Start(const char* cnv = nullptr) {
    prompt_.answer = true;  // "ARE YOU SURE ?" is Yes unless a test queues other answers
    const app::TDataFolder folder("calculator", "", dataFolder_.path().toStdString());
    if (cnv != nullptr) std::ofstream(folder.PathOf(app::TDataFile::Conversion)) << cnv;
    main_.emplace(prompt_, folder);
    main_->show();
    table_ = main_->ConversionTableWindow();
    convert_ = main_->ConvertUnitWindow();
  }
  QString Cell(int row, int column) const {
    const QTableWidgetItem* item = table_->Grid()->item(row - 1, column);
    return item == nullptr ? QString() : item->text();
  }
  void Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
  }
  // Types the name into TForm20 and presses "&Ok".
  void Name(const QString& name) {
    table_->NameDialog()->NameEdit()->setText(name);
    QTest::mouseClick(table_->NameDialog()->OkButton(), Qt::LeftButton);
  }
  QString Calculate(const QString& category, const QString& from, const QString& to,
                    const QString& expression) {
    Choose(convert_->CategoryBox(), category);
    Choose(convert_->FromBox(), from);
    Choose(convert_->ToBox(), to);
    convert_->ExpressionEdit()->setText(expression);
    QTest::mouseClick(convert_->CalculateButton(), Qt::LeftButton);
    return convert_->ValueEdit()->text();
  }

  app::TScriptedPrompt prompt_;
  QTemporaryDir dataFolder_;
  std::optional<app::TForm1> main_;
  TForm17* table_ = nullptr;
  TForm21* convert_ = nullptr;
};

TEST_F(ConversionWindowsTest, CalculateWaitsForACheckThatFailsOnADuplicateRow) {
  Start("[Chain]\r\n1=A : B : x*2 : x/2\r\n2=B : C : x*3 : x/3\r\n3=b : a : x/2 : x*2\r\n");
  int graphUpdates = 0;
  table_->Links().UpdateGraph = [&graphUpdates] { ++graphUpdates; };
  main_->Action("Conversion1")->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(convert_));
  EXPECT_FALSE(convert_->CalculateButton()->isEnabled());
  EXPECT_FALSE(convert_->CategoryBox()->isEnabled());
  EXPECT_TRUE(convert_->CheckButton()->isEnabled());
  main_->ExpressionsMemo()->setPlainText("Conv(1, 1, 2, 3)");
  EXPECT_TRUE(main_->ResultsMemo()->toPlainText().contains("please check conversions",
                                                           Qt::CaseInsensitive));

  QTest::mouseClick(convert_->CheckButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Error in category : Chain : Row# 1 and "
                                                       "Row#3 : rows cannot be identical"});
  EXPECT_FALSE(convert_->CalculateButton()->isEnabled());
  EXPECT_TRUE(main_->Conversion().Locked());

  // The definition window deletes the row; the next check unlocks both the window and "Conv".
  QTest::mouseClick(convert_->DefineButton(), Qt::LeftButton);
  EXPECT_TRUE(table_->isVisible());
  table_->Action("DeleteDefinition1")->trigger();
  table_->DeleteDialog()->FromEdit()->setText("3");
  QTest::mouseClick(table_->DeleteDialog()->OkButton(), Qt::LeftButton);
  graphUpdates = 0;
  QTest::mouseClick(convert_->CheckButton(), Qt::LeftButton);
  EXPECT_EQ(graphUpdates, 2);  // locked at the start of the check, and checked
  EXPECT_EQ(prompt_.messages.size(), 1u);
  EXPECT_TRUE(convert_->CalculateButton()->isEnabled());
  EXPECT_FALSE(convert_->CheckButton()->isEnabled());
  EXPECT_EQ(convert_->CategoryBox()->currentText(), "Chain");
  EXPECT_EQ(convert_->FromBox()->currentText(), "A");
  main_->ExpressionsMemo()->setPlainText("Conv(1, 1, 3, 1)");
  EXPECT_EQ(main_->ResultsMemo()->toPlainText(), "6");

  // Any change locks again.
  table_->Action("AddCategory1")->trigger();
  Name("Zeta");
  EXPECT_FALSE(convert_->CalculateButton()->isEnabled());
  EXPECT_TRUE(main_->Conversion().Locked());

  // A value handed over from the element window becomes the expression.
  main_->PeriodicTableWindow()->Links().ConvertValue("1811", " Initial Iron Melting Point");
  EXPECT_EQ(convert_->ExpressionEdit()->text(), "1811");
  EXPECT_EQ(convert_->StatusLabel()->text(), " Initial Iron Melting Point");
  QTest::keyClick(convert_->ExpressionEdit(), Qt::Key_Escape);
  EXPECT_FALSE(convert_->isVisible());
  QTest::keyClick(table_->Grid(), Qt::Key_Escape);
  EXPECT_FALSE(table_->isVisible());
}

TEST_F(ConversionWindowsTest, DeletingDefinitionsAndCategoriesKeepsWhatTheTableStillNeeds) {
  Start(kChainFile);
  main_->Action("DefConversions1")->trigger();
  ASSERT_EQ(table_->CategoryBox()->currentText(), "Chain");
  EXPECT_EQ(table_->StatusLabel()->text(), dataFolder_.filePath("calculator.cnv"));
  EXPECT_EQ(Cell(5, 2), "E");
  table_->resize(700, 300);
  QApplication::processEvents();
  QTableWidget* grid = table_->Grid();
  EXPECT_EQ(grid->columnWidth(0), 40);
  EXPECT_NEAR(40 + 4 * grid->columnWidth(2), grid->viewport()->width(), 4);

  // From 3, count 10 in a table of 5: rows 3 to 5 go.
  table_->Action("DeleteDefinition1")->trigger();
  constants::TForm24* remove = table_->DeleteDialog();
  remove->FromEdit()->setText("3");
  remove->CountEdit()->setText("10");
  QTest::mouseClick(remove->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(remove->isVisible());
  EXPECT_EQ(table_->Grid()->rowCount(), 2);
  EXPECT_EQ(Cell(2, 3), "x*2");
  EXPECT_EQ(prompt_.questions, std::vector<std::string>{"ARE YOU SURE ?"});

  // A category with definitions stays; an empty one goes.
  table_->Action("DeleteCategory1")->trigger();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please delete all definitions"});
  EXPECT_EQ(table_->CategoryBox()->count(), 2);
  table_->Action("AddCategory1")->trigger();
  EXPECT_EQ(table_->NameDialog()->windowTitle(), "Add unit category");
  Name("Empty");
  EXPECT_EQ(table_->CategoryBox()->count(), 3);
  EXPECT_EQ(table_->CategoryBox()->currentIndex(), -1);
  Choose(table_->CategoryBox(), "Empty");
  EXPECT_EQ(table_->Grid()->rowCount(), 1);
  table_->Action("DeleteCategory1")->trigger();
  EXPECT_EQ(table_->CategoryBox()->count(), 2);
  EXPECT_EQ(table_->CategoryBox()->findText("Empty"), -1);
  EXPECT_EQ(prompt_.messages.size(), 1u);
}

TEST_F(ConversionWindowsTest, AFileThatCannotBeReadLeavesTheTableAndItsFileAsTheyWere) {
  Start(kChainFile);
  main_->Action("DefConversions1")->trigger();
  const std::string path = main_->ConvFilePath;
  // Too many definitions for a table: refused on reading.
  const std::string refused = dataFolder_.filePath("huge.cnv").toStdString();
  {
    std::ofstream huge(refused);
    huge << "[Huge]\r\n";
    for (int k = 1; k <= 5001; ++k)
      huge << k << "=u" << k << " : u" << k + 1 << " : x : x\r\n";
  }
  prompt_.file = refused;
  table_->Action("OpenCnv1")->trigger();
  EXPECT_EQ(prompt_.messages,
            std::vector<std::string>{"Too many conversion definitions, at most 5000"});
  EXPECT_EQ(main_->ConvFilePath, path);
  EXPECT_EQ(table_->CategoryBox()->itemText(0), "Chain");
  // "&Save cnv" still writes where the table came from, not over the refused file.
  const auto hugeSize = std::filesystem::file_size(refused);
  table_->Action("SaveCnv1")->trigger();
  EXPECT_EQ(std::filesystem::file_size(refused), hugeSize);
  TCategoryList read;
  ASSERT_FALSE(ReadConvFile(path, read).has_value());
  EXPECT_EQ(read.Count(), 2);

  // "&Graph" hands the selected category over, unless the picture cannot hold it.
  std::vector<std::int32_t> shown;
  table_->Links().ShowGraph = [&shown](std::int32_t category) { shown.push_back(category); };
  Choose(table_->CategoryBox(), "Other");
  table_->Action("Graph1")->trigger();
  EXPECT_EQ(shown, std::vector<std::int32_t>{1});
}

TEST_F(ConversionWindowsTest, RenamingAUnitToAnotherMergesThemAndDropsTheRowsBetweenThem) {
  Start(kChainFile);
  main_->Action("DefConversions1")->trigger();
  table_->Grid()->setCurrentCell(1, 0);
  QTest::keyClick(table_->Grid(), Qt::Key_Return);  // row 2: B - C
  TForm18* editor = table_->DefinitionDialog();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->windowTitle(), "Edit conversion definition");
  EXPECT_EQ(editor->UnitANumber()->text(), "2");
  EXPECT_EQ(editor->UnitBBox()->currentText(), "C");
  EXPECT_EQ(editor->AToBEdit()->text(), "x*2");

  // B becomes "a": A - B, now linking A with itself, goes; the edited row moves up.
  QTest::mouseClick(editor->EditButton(), Qt::LeftButton);
  EXPECT_EQ(table_->NameDialog()->windowTitle(), "Edit unit");
  EXPECT_EQ(table_->NameDialog()->NameEdit()->text(), "B");
  Name("a");
  EXPECT_TRUE(prompt_.messages.empty());
  EXPECT_EQ(table_->Grid()->rowCount(), 4);
  EXPECT_EQ(Cell(1, 1), "A");
  EXPECT_EQ(Cell(1, 2), "C");
  EXPECT_EQ(table_->SelectedRow(), 1);
  EXPECT_EQ(editor->UnitABox()->count(), 4);
  EXPECT_EQ(editor->UnitABox()->currentText(), "A");
  editor->AToBEdit()->setText("x*4");
  editor->BToAEdit()->setText("x/4");
  QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(Cell(1, 3), "x*4");
  EXPECT_EQ(table_->Grid()->rowCount(), 4);
  EXPECT_TRUE(main_->Conversion().Check());
  EXPECT_EQ(main_->Conversion().StoredPath(0, 0, 1), std::vector<std::int32_t>{1});
}

TEST_F(ConversionWindowsTest, UnitNumberZeroChoosesNoUnitAndOkAsksForOne) {
  Start(kChainFile);
  main_->Action("DefConversions1")->trigger();
  table_->Action("AddDefinition1")->trigger();
  TForm18* editor = table_->DefinitionDialog();
  ASSERT_TRUE(editor->isVisible());
  EXPECT_EQ(editor->windowTitle(), "Add conversion definition");
  EXPECT_EQ(editor->UnitANumber()->text(), "1");
  EXPECT_TRUE(editor->AToBEdit()->text().isEmpty());
  editor->UnitBNumber()->setText("4");
  EXPECT_EQ(editor->UnitBBox()->currentText(), "D");
  editor->UnitANumber()->setText("0");
  EXPECT_EQ(editor->UnitABox()->currentIndex(), -1);
  editor->AToBEdit()->setText("x*8");
  editor->BToAEdit()->setText("x/8");
  QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please select items in ComboBox"});
  EXPECT_TRUE(editor->isVisible());
  editor->UnitANumber()->setText("one");
  EXPECT_EQ(editor->UnitANumber()->text(), "0");
  Choose(editor->UnitABox(), "A");
  EXPECT_EQ(editor->UnitANumber()->text(), "1");
  QTest::keyClick(editor->AToBEdit(), Qt::Key_Return);  // Enter is "&Ok"
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(table_->Grid()->rowCount(), 6);
  EXPECT_EQ(table_->SelectedRow(), 6);
  EXPECT_EQ(Cell(6, 2), "D");
}

TEST_F(ConversionWindowsTest, ConvertsWithTheDefaultTableAndANewCategoryThenSavesIt) {
  Start();
  main_->Action("Conversion1")->trigger();
  QTest::mouseClick(convert_->CheckButton(), Qt::LeftButton);
  ASSERT_TRUE(convert_->CalculateButton()->isEnabled());
  EXPECT_EQ(Calculate("Angles", "degrees", "pi radians", "100"), "0.555555555555556");
  EXPECT_EQ(Calculate("Temperature", "Celcius", "Rankine", "0"), "491.67");

  // A category of the user's, with two units made in the editor.
  convert_->Action("DefConversions1")->trigger();
  table_->Action("AddCategory1")->trigger();
  Name("Speed");
  Choose(table_->CategoryBox(), "Speed");
  table_->Action("AddDefinition1")->trigger();
  TForm18* editor = table_->DefinitionDialog();
  QTest::mouseClick(editor->AddButton(), Qt::LeftButton);
  EXPECT_EQ(table_->NameDialog()->windowTitle(), "Add unit");
  Name("m/s");
  QTest::mouseClick(editor->AddButton(), Qt::LeftButton);
  Name("km/h");
  EXPECT_EQ(editor->UnitABox()->count(), 2);
  editor->UnitANumber()->setText("1");
  editor->UnitBNumber()->setText("2");
  EXPECT_EQ(editor->UnitABox()->currentText(), "km/h");
  editor->AToBEdit()->setText("x/3.6");
  editor->BToAEdit()->setText("x*3.6");
  QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
  ASSERT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();
  EXPECT_EQ(Cell(1, 1), "km/h");
  EXPECT_TRUE(convert_->CheckButton()->isEnabled());

  QTest::mouseClick(convert_->CheckButton(), Qt::LeftButton);
  EXPECT_EQ(Calculate("Speed", "km/h", "m/s", "36"), "10");
  EXPECT_EQ(Calculate("Speed", "m/s", "m/s", "7"), "7");
  ASSERT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();

  const std::string saved = dataFolder_.filePath("mine.cnv").toStdString();
  prompt_.file = saved;
  table_->Action("SaveAsCnv1")->trigger();
  EXPECT_EQ(prompt_.filters.back(),
            "Conversion files (*.cnv)|*.cnv|Text files (*.txt)|*.txt|All files (*.)|*.");
  EXPECT_EQ(main_->ConvFilePath, saved);
  TCategoryList read;
  ASSERT_FALSE(ReadConvFile(saved, read).has_value());
  EXPECT_EQ(read.Count(), 12);
  const TRecList& speed = read.At(read.Find("Speed")).list;
  ASSERT_EQ(speed.Definitions.size(), 1u);
  EXPECT_EQ(speed.Unit(speed.Definitions[0].unitA).name, "km/h");
  EXPECT_EQ(speed.Definitions[0].bToA, "x*3.6");
  EXPECT_EQ(speed.Unit(0).point.x, 20);

  // Read back through the window, it converts again after a check.
  table_->Action("NewCnv1")->trigger();
  EXPECT_EQ(table_->CategoryBox()->count(), 0);
  table_->Action("OpenCnv1")->trigger();
  EXPECT_EQ(table_->CategoryBox()->count(), 12);
  QTest::mouseClick(convert_->CheckButton(), Qt::LeftButton);
  EXPECT_EQ(Calculate("Speed", "m/s", "km/h", "10"), "36");
}

}  // namespace
}  // namespace conversion
