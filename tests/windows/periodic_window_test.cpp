// The periodic-table windows driven headless: layout, painting, picking elements with the
// mouse and the keys, the element card, and the property hand-offs.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "constants/constant_list.h"
#include "constants/constant_list_window.h"
#include "periodic/element_draw_grid.h"
#include "periodic/element_view.h"
#include "periodic/element_window.h"
#include "periodic/periodic_table_window.h"
#include "support/scripted_prompt.h"

namespace periodic {
namespace {

struct TAdded {
  std::string name, expression, description;
};

class PeriodicWindowTest : public ::testing::Test {
 protected:
  PeriodicWindowTest() : window_(prompt_, pteFilePath_, DefaultPath(), Links()) {}

  std::string DefaultPath() const { return folder_.filePath("calculator.pte").toStdString(); }
  std::string WriteFile(const char* name, const char* text) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path.toStdString();
  }
  QString Row(int row) {
    QStringList cells;
    for (int column = 0; column < 3; ++column) {
      const QTableWidgetItem* item = Element().StringGrid1()->item(row, column);
      cells << (item == nullptr ? QString() : item->text());
    }
    return cells.join('|');
  }

  TPeriodicLinks Links() {
    TPeriodicLinks links;
    links.ShowMain = [this] { ++mainShown_; };
    links.ShowConstants = [this] { ++constantsShown_; };
    links.AddConstant = [this](const std::string& name, const std::string& expression,
                               const std::string& description) {
      added_.push_back({name, expression, description});
      return true;
    };
    links.ConvertValue = [this](const std::string& value, const std::string& status) {
      converted_.emplace_back(value, status);
    };
    return links;
  }

  void Pick(const char* symbol) {
    window_.DrawGrid1MouseMove(*window_.Table().Find(symbol));
    window_.DrawGrid1DblClick();
  }
  TpteForm2& Element() { return *window_.ElementWindow(); }
  QString Text(int label) { return Element().Label(label)->text(); }
  QStringList Oxidation() {
    QStringList lines;
    for (int i = 0; i < Element().ListBox1()->count(); ++i)
      lines << Element().ListBox1()->item(i)->text();
    return lines;
  }
  QPoint CentreOf(TCellPosition cell) { return window_.DrawGrid1()->CellRect(cell).center(); }

  QTemporaryDir folder_;
  std::string pteFilePath_;
  app::TScriptedPrompt prompt_;
  int mainShown_ = 0;
  int constantsShown_ = 0;
  std::vector<TAdded> added_;
  std::vector<std::pair<std::string, std::string>> converted_;
  TpteForm1 window_;
};

TEST_F(PeriodicWindowTest, GridFollowsTheWindowWidth) {
  EXPECT_EQ(window_.windowTitle(), "Periodic Table of the Elements");
  EXPECT_EQ(window_.width(), 558);
  EXPECT_EQ(window_.DrawGrid1()->width(), 518);
  EXPECT_EQ(window_.DrawGrid1()->height(), 280);
  EXPECT_EQ(window_.DrawGrid1()->CellSize(), 28);
  EXPECT_EQ(window_.DrawGrid1()->font().pointSize(), 11);
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  window_.resize(760, window_.height());
  EXPECT_EQ(window_.DrawGrid1()->CellSize(), 40);
  EXPECT_EQ(window_.DrawGrid1()->font().pointSize(), 16);
  EXPECT_GE(window_.centralWidget()->minimumHeight(), 400);
}

TEST_F(PeriodicWindowTest, FirstStartWritesTheDefaultFileAndLoadsIt) {
  EXPECT_TRUE(window_.Loaded());
  EXPECT_EQ(window_.StatusText().toStdString(), DefaultPath());
  EXPECT_EQ(pteFilePath_, DefaultPath());
  QFile file(QString::fromStdString(DefaultPath()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), window_.Table().DefaultFileText());
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(PeriodicWindowTest, OpenedFileAddsPropertiesAndDefPteRestoresTheDefault) {
  Pick("Fe");
  prompt_.file = WriteFile("hard.pte",
                           "[Properties]\r\n1=Mass\r\n5=Hardness\r\n[Units]\r\n1=amu\r\n"
                           "5=Mohs\r\n[Fe]\r\n1=56\r\n5=4\r\n");
  window_.Action("Open1")->trigger();
  EXPECT_EQ(prompt_.initialFolder, DefaultPath());  // where the file loaded at start was
  EXPECT_FALSE(Element().isVisible());
  EXPECT_TRUE(window_.Loaded());
  EXPECT_EQ(window_.StatusText().toStdString(), *prompt_.file);
  window_.DrawGrid1DblClick();  // the selection survives the load
  ASSERT_EQ(Element().StringGrid1()->rowCount(), 6);
  EXPECT_EQ(Row(1), "Atomic Weight|56|amu");
  EXPECT_EQ(Row(2), "Melting Point|1535.85|");
  EXPECT_EQ(Row(5), "Hardness|4|Mohs");

  prompt_.file = WriteFile("bad.pte", "[Units]\r\nx=1\r\n");
  window_.Action("Open1")->trigger();
  EXPECT_FALSE(window_.Loaded());
  EXPECT_EQ(window_.StatusText(), "");
  EXPECT_EQ(prompt_.messages, (std::vector<std::string>{"'x' is not a valid integer value"}));
  prompt_.messages.clear();

  window_.Action("Defpte1")->trigger();  // answered No
  EXPECT_FALSE(window_.Loaded());
  prompt_.answer = true;
  window_.Action("Defpte1")->trigger();
  EXPECT_TRUE(window_.Loaded());
  EXPECT_EQ(window_.StatusText().toStdString(), DefaultPath());
  Pick("Fe");
  ASSERT_EQ(Element().StringGrid1()->rowCount(), 5);
  EXPECT_EQ(Row(1), "Atomic Weight|55.847|amu");
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(PeriodicWindowTest, CellsArePaintedInTheirColours) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  const QImage image = window_.DrawGrid1()->grab().toImage();
  const auto pixel = [&](TCellPosition cell, int dx, int dy) {
    return image.pixelColor(window_.DrawGrid1()->CellRect(cell).topLeft() + QPoint(dx, dy));
  };
  EXPECT_EQ(pixel({1, 0}, 4, 4), QColor(226, 197, 225));   // hydrogen
  EXPECT_EQ(pixel({6, 2}, 4, 4), QColor(0, 102, 0));       // lanthanum
  EXPECT_EQ(pixel({9, 5}, 4, 4), QColor(45, 45, 132));     // uranium
  EXPECT_EQ(pixel({5, 13}, 4, 4), QColor(169, 205, 225));  // tin
  EXPECT_EQ(pixel({1, 0}, 2, 10), QColor(Qt::black));      // the box's left edge
  EXPECT_EQ(pixel({1, 0}, 1, 10), pixel({2, 5}, 10, 10));  // the gap beside it
  EXPECT_EQ(pixel({2, 5}, 10, 10), window_.palette().color(QPalette::Window));
}

TEST_F(PeriodicWindowTest, PickingShowsTheCardAndAnEmptyCellClosesIt) {
  Pick("Ce");
  ASSERT_TRUE(Element().isVisible());
  EXPECT_EQ(Element().windowTitle(), "Element");
  EXPECT_EQ(Text(1), "58");
  EXPECT_EQ(Text(4), "Ce");
  EXPECT_EQ(Text(5), "Cerium");
  EXPECT_EQ(Element().Panel3()->text(), "Lanthanoid");
  EXPECT_EQ(Text(2), "");
  EXPECT_EQ(Text(3), "");
  EXPECT_EQ(Oxidation(), (QStringList{"+3", "+4"}));
  EXPECT_FALSE(Element().ListBox1()->isEnabled());

  // The mouse picks hydrogen, the arrow keys and Enter neon.
  QTest::mouseDClick(window_.DrawGrid1(), Qt::LeftButton, {}, CentreOf({1, 0}));
  EXPECT_EQ(Text(4), "H");
  EXPECT_EQ(Oxidation(), (QStringList{"-1", "+1"}));
  window_.DrawGrid1()->SetCurrentCell({1, 16});
  QTest::keyClick(window_.DrawGrid1(), Qt::Key_Down);
  QTest::keyClick(window_.DrawGrid1(), Qt::Key_Right);
  QTest::keyClick(window_.DrawGrid1(), Qt::Key_Return);
  EXPECT_EQ(Text(4), "Ne");
  EXPECT_EQ(Text(2), "Group: 18");
  EXPECT_EQ(Text(3), "Period: 2");
  EXPECT_TRUE(Oxidation().isEmpty());

  window_.DrawGrid1MouseMove({2, 5});
  window_.DrawGrid1DblClick();
  EXPECT_FALSE(Element().isVisible());
  EXPECT_EQ(window_.SelectedCell(), (TCellPosition{2, 5}));
}

TEST_F(PeriodicWindowTest, CardLabelsAreCentredAndFlagsShownWhenSet) {
  EXPECT_EQ(Text(6), "Radiactive");
  Pick("U");
  EXPECT_EQ(Element().Label(5)->x(), CenteredLeft(Element().CardPanel()->width(), 7, 8.7));
  EXPECT_EQ(Text(6) + Text(8) + Text(9), "RadioactiveToxic");
  EXPECT_TRUE(Element().Label(8)->isVisibleTo(&Element()));
  EXPECT_FALSE(Element().Label(9)->isVisibleTo(&Element()));
}

TEST_F(PeriodicWindowTest, PropertiesGoToTheConstantsAndTheConversion) {
  Pick("Fe");
  QTableWidget* grid = Element().StringGrid1();
  ASSERT_EQ(grid->rowCount(), 5);
  EXPECT_EQ(grid->item(0, 1)->text(), "Value");
  grid->setCurrentCell(0, 1);
  Element().Button1Click();
  EXPECT_TRUE(added_.empty());

  grid->setCurrentCell(2, 0);
  QTest::mouseClick(Element().Button1(), Qt::LeftButton);
  ASSERT_EQ(added_.size(), 1u);
  EXPECT_EQ(added_[0].name, "Fe_Melting_Point");
  EXPECT_EQ(added_[0].expression, "1535.85");
  EXPECT_EQ(added_[0].description, "(C)");

  grid->setCurrentCell(4, 1);
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_EQ(converted_.size(), 1u);
  EXPECT_EQ(converted_[0].first, "7860");
  EXPECT_EQ(converted_[0].second, " Initial Iron Density = 7860 kg/cu.m");
  grid->setCurrentCell(0, 0);
  Element().StringGrid1DblClick();
  EXPECT_EQ(converted_.size(), 1u);
}

TEST_F(PeriodicWindowTest, MenusAndKeysOfBothWindows) {
  Pick("Fe");
  Element().Action("Main1")->trigger();
  window_.Action("Main1")->trigger();
  EXPECT_EQ(mainShown_, 2);
  Element().Action("Constants1")->trigger();
  EXPECT_EQ(constantsShown_, 1);
  Element().Action("OnTop1")->trigger();
  EXPECT_TRUE(Element().StayOnTop());
  EXPECT_TRUE(Element().isVisible());
  QTest::keyClick(Element().StringGrid1(), Qt::Key_Escape);
  EXPECT_FALSE(Element().isVisible());
  window_.Action("Element1")->trigger();
  EXPECT_TRUE(Element().isVisible());
  EXPECT_EQ(Text(4), "Fe");
  Element().Action("PeriodicTable1")->trigger();
  EXPECT_TRUE(window_.isVisible());
  QTest::keyClick(window_.DrawGrid1(), Qt::Key_Escape);
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST(PeriodicMainWindowTest, MainWindowOpensThePeriodicTableAndTakesItsConstants) {
  app::TScriptedPrompt prompt;
  QTemporaryDir folder;
  app::TForm1 main(prompt, app::TDataFolder("calculator", "", folder.path().toStdString()));
  // The table window loaded the default file it wrote and keeps its path in the main window.
  EXPECT_EQ(main.PTEFilePath, folder.filePath("calculator.pte").toStdString());
  QAction* item = main.Action("PeriodicTable1");
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  TpteForm1& table = *main.PeriodicTableWindow();
  ASSERT_TRUE(table.isVisible());
  table.Main1Click();
  EXPECT_TRUE(main.isVisible());

  table.DrawGrid1MouseMove(*table.Table().Find("Fe"));
  table.DrawGrid1DblClick();
  TpteForm2& element = *table.ElementWindow();
  element.StringGrid1()->setCurrentCell(2, 1);
  QTest::mouseClick(element.Button1(), Qt::LeftButton);
  const std::int32_t row = main.Constants().Find("Fe_Melting_Point");
  ASSERT_GT(row, 0);
  EXPECT_EQ(main.Constants().Row(row).Expression, "1535.85");
  EXPECT_EQ(main.Constants().Row(row).Description, "(C)");
  main.ExpressionsMemo()->setPlainText("Fe_Melting_Point+0.15");
  EXPECT_EQ(main.ResultsMemo()->toPlainText(), "1536");
  element.Action("Constants1")->trigger();
  EXPECT_TRUE(main.ConstantListWindow()->isVisible());
  EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
}  // namespace periodic
