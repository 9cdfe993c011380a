// The interpolation window and its two row dialogs, driven headless: the grids, tabs, menus,
// files and dialogs, and the sheets reaching the main window's expressions.
#include "interpolation/interpolation_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <optional>

#include "../app/temp_folder.h"
#include "app/data_folder.h"
#include "app/main_window.h"
#include "interpolation/row_count_dialogs.h"
#include "support/scripted_prompt.h"

namespace interpolation {
namespace {

class InterpolationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompt_.answer = true;  // "ARE YOU SURE ?" is Yes unless a test says No
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  QAbstractItemModel* Model(std::size_t sheet = 0) { return window_.Grid(sheet)->model(); }
  QString Cell(int row, int column, std::size_t sheet = 0) {
    return Model(sheet)->index(row, column).data().toString();
  }
  // Types into a cell as a user does: the editor opens on the cell, Return commits it.
  void Type(int row, int column, const QString& text, std::size_t sheet = 0) {
    QTableView* grid = window_.Grid(sheet);
    const QModelIndex cell = Model(sheet)->index(row, column);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    QLineEdit* editor = nullptr;  // closed editors linger hidden until they are deleted
    for (QLineEdit* candidate : grid->viewport()->findChildren<QLineEdit*>()) {
      if (candidate->isVisible()) editor = candidate;
    }
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits on its next turn
  }
  // Runs `steps` on the modal dialog once it is open.
  static void WhenOpen(QDialog* dialog, std::function<void()> steps) {
    QTimer::singleShot(0, dialog, [dialog, steps = std::move(steps)] {
      EXPECT_TRUE(dialog->isVisible());
      steps();
      if (dialog->isVisible()) dialog->reject();
    });
  }

  app::TScriptedPrompt prompt_;
  app::TCalculatorCore core_{prompt_};
  TForm26 window_{core_, prompt_};
  app::TTempFolder folder_;
};

TEST_F(InterpolationWindowTest, StartsWithOneEmptySheet) {
  EXPECT_EQ(window_.windowTitle(), "Interpolation table");
  QTabWidget* tabs = window_.PageControl1();
  EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
  ASSERT_EQ(tabs->count(), 1);
  EXPECT_EQ(tabs->tabText(0), "Sheet&1");
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  EXPECT_TRUE(window_.Action("Natural1")->isChecked());
  EXPECT_EQ(window_.Action("DeleteSheet1")->text(), "&Delete S&heet");
  EXPECT_EQ(window_.Action("Ordonatex1")->text(), "&Ordination");

  QTableView* grid = window_.Grid(0);
  EXPECT_EQ(Model()->rowCount(), 1);
  EXPECT_EQ(Model()->headerData(0, Qt::Horizontal).toString(), "#");
  EXPECT_EQ(Model()->headerData(1, Qt::Horizontal).toString(), "x");
  EXPECT_EQ(Model()->headerData(2, Qt::Horizontal).toString(), "f(x)");
  EXPECT_EQ(Cell(0, 0), "1");
  EXPECT_FALSE(Model()->flags(Model()->index(0, 0)).testFlag(Qt::ItemIsEditable));
  EXPECT_EQ(grid->columnWidth(0), 50);
  const int half = (grid->viewport()->width() - 50) / 2 - 15;
  EXPECT_EQ(grid->columnWidth(1), half);
  EXPECT_EQ(grid->columnWidth(2), half);
  window_.resize(window_.width() + 100, window_.height());
  QApplication::processEvents();
  EXPECT_EQ(grid->columnWidth(1), (grid->viewport()->width() - 50) / 2 - 15);
}

TEST_F(InterpolationWindowTest, TypedPointsReachTheFunctionsAndDialogsResizeTheSheet) {
  TInterpolationSheet& sheet = window_.Sheets().Sheet(0);
  WhenOpen(window_.RowsCountDialog(), [&] {
    EXPECT_EQ(window_.RowsCountDialog()->Edit1()->text(), "1");
    window_.RowsCountDialog()->Edit1()->setText("3");
    window_.RowsCountDialog()->Button1()->click();
    EXPECT_FALSE(window_.RowsCountDialog()->isVisible());
  });
  window_.Action("AddRow1")->trigger();
  ASSERT_EQ(Model()->rowCount(), 3);
  EXPECT_EQ(Cell(2, 0), "3");

  const char* points[3][2] = {{"2", "4"}, {"0", "0"}, {"1", "1"}};
  for (int r = 0; r < 3; ++r) {
    Type(r, 1, points[r][0]);
    Type(r, 2, points[r][1]);
  }
  EXPECT_EQ(sheet.Row(0), (TSheetRow{"2", "4"}));
  core_.ExpressionsPass("Lagrange(1.5,1)", "");
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"2.25"});
  EXPECT_FALSE(sheet.DataChanged);
  Type(0, 2, "5");
  EXPECT_TRUE(sheet.DataChanged && sheet.SplineChanged);

  window_.Action("Ordonatex1")->trigger();
  EXPECT_EQ(Cell(0, 1), "0");
  EXPECT_EQ(Cell(2, 2), "5");

  WhenOpen(window_.DeleteRowsDialog(), [&] {
    TForm28* dialog = window_.DeleteRowsDialog();
    EXPECT_EQ(dialog->FromEdit()->text(), "1");
    EXPECT_EQ(dialog->CountEdit()->text(), "1");
    dialog->FromEdit()->setText("2");
    dialog->Button1()->click();
  });
  window_.Action("DelRow1")->trigger();
  EXPECT_EQ(prompt_.questions.back(), "ARE YOU SURE ?");
  ASSERT_EQ(Model()->rowCount(), 2);
  EXPECT_EQ(Cell(1, 1), "2");
  EXPECT_EQ(Cell(1, 0), "2");
}

TEST_F(InterpolationWindowTest, SheetsAreAddedDeletedAndRenamed) {
  window_.Action("DeleteSheet1")->trigger();
  EXPECT_EQ(prompt_.messages.back(), "Cannot delete first sheet");
  window_.Action("AddSheet1")->trigger();
  window_.Action("AddSheet1")->trigger();
  QTabWidget* tabs = window_.PageControl1();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(tabs->tabText(2), "Sheet&3");
  Type(0, 1, "7", 2);
  window_.Action("Periodic1")->trigger();
  EXPECT_EQ(window_.Sheets().Sheet(2).SplineType(), stPeriodic);

  tabs->setCurrentIndex(0);
  EXPECT_TRUE(window_.Action("Natural1")->isChecked());  // the menu follows the sheet
  tabs->setCurrentIndex(1);
  prompt_.answer = false;
  window_.Action("DeleteSheet1")->trigger();
  EXPECT_EQ(tabs->count(), 3);
  prompt_.answer = true;
  window_.Action("DeleteSheet1")->trigger();
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(1), "Sheet&2");
  tabs->setCurrentIndex(1);
  EXPECT_EQ(Cell(0, 1, 1), "7");
  EXPECT_TRUE(window_.Action("Periodic1")->isChecked());
  Type(0, 2, "8", 1);
  EXPECT_EQ(window_.Sheets().Sheet(1).Row(0), (TSheetRow{"7", "8"}));
}

TEST_F(InterpolationWindowTest, FilesAreOpenedAndSavedForTheActiveSheet) {
  const std::string path = folder_ / "points.dat";
  std::ofstream(path, std::ios::binary) << "1,2\r\n3,4\r\n";
  prompt_.file = path;
  window_.Action("Open1")->trigger();
  EXPECT_EQ(prompt_.filters.back(),
            "Interpolation files (*.dat)|*.dat|Text files (*.txt)|*.txt|All files (*.)|*.");
  ASSERT_EQ(Model()->rowCount(), 2);
  EXPECT_EQ(Cell(1, 1), "3");
  EXPECT_EQ(Cell(1, 2), "4");
  EXPECT_EQ(window_.windowTitle().toStdString(), path);
  EXPECT_TRUE(window_.Action("Save1")->isEnabled());

  Type(1, 2, "sin(1.5)");
  window_.Action("Save1")->trigger();
  std::ifstream written(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
            "1  1  2\r\n2  3  sin(1.5)\r\n");

  window_.Action("AddSheet1")->trigger();
  EXPECT_EQ(window_.windowTitle(), "Interpolation table");
  EXPECT_FALSE(window_.Action("Save1")->isEnabled());
  window_.PageControl1()->setCurrentIndex(0);
  EXPECT_EQ(window_.windowTitle().toStdString(), path);

  // A file that is not there changes nothing.
  prompt_.file = folder_ / "missing.dat";
  window_.Action("Open1")->trigger();
  EXPECT_EQ(Model()->rowCount(), 2);
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST(InterpolationInMainWindowTest, TheMainWindowOpensTheSheetsAndComputesWithThem) {
  app::TScriptedPrompt prompt;
  app::TTempFolder folder;
  app::TForm1 main(prompt, app::TDataFolder("calculator", "", folder.Path()));
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  QAction* item = main.Action("Interpolation1");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  TForm26* window = main.InterpolationWindow();
  EXPECT_TRUE(window->isVisible());
  window->Sheets().Sheet(0).SetRows({{"0", "0"}, {"1", "1"}, {"2", "4"}});
  window->ReloadGrids();
  main.ExpressionsMemo()->setPlainText("Lagrange(1.5,1)");
  EXPECT_EQ(main.ResultsMemo()->toPlainText(), "2.25");
  window->Action("Main1")->trigger();
  EXPECT_TRUE(main.isVisible());
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace interpolation
