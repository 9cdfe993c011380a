// The derivative, equivalence, function-variable, function-table and chart windows, driven
// headless through the main window as a user would.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXYSeries>

#include "app/chart_window.h"
#include "app/derivative_window.h"
#include "app/equivalence_window.h"
#include "app/function_table_window.h"
#include "app/function_variable_window.h"
#include "app/main_window.h"
#include "app/safe_save.h"
#include "app/status_panel.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

class ToolWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.TableWindow()->OpenDocument = [this](const QString& path) {
      opened_.push_back(path);
      return false;
    };
  }
  // Definitions and range, then "&Table".
  void Tabulate(const QString& definitions, double from, double to, double step) {
    window_.DefinitionsMemo()->setPlainText(definitions);
    window_.Core().SetSetting(stFrom, from);
    window_.Core().SetSetting(stTo, to);
    window_.Core().SetSetting(stStep, step);
    window_.Action("Table1")->trigger();
  }
  QString Cell(int row, int column) const {
    QAbstractItemModel* model = window_.TableWindow()->StringGrid1()->model();
    return model->data(model->index(row, column)).toString();
  }
  QString Header(int column) const {
    return window_.TableWindow()
        ->StringGrid1()
        ->model()
        ->headerData(column, Qt::Horizontal)
        .toString();
  }
  std::string Path(const char* name) const { return (folder_.path() + "/" + name).toStdString(); }

  TScriptedPrompt prompt_;
  QTemporaryDir folder_;
  TForm1 window_{prompt_, TDataFolder("calculator", "", folder_.path().toStdString())};
  std::vector<QString> opened_;
};

TEST_F(ToolWindowsTest, DerivativeWindowDifferentiatesAndClearsOnAnyChange) {
  window_.Action("Derivative1")->trigger();
  TForm14* form = window_.DerivativeWindow();
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Symbolic Differentiate");
  EXPECT_EQ(form->Edit1()->text(), "x");
  EXPECT_EQ(form->Button1()->text(), "&Differentiate");
  EXPECT_EQ(form->parentWidget(), &window_);

  form->ExpressionMemo()->setPlainText("x^2*\ny");
  QTest::mouseClick(form->Button1(), Qt::LeftButton);
  EXPECT_EQ(form->ResultMemo()->toPlainText(), "(2*x)*y") << "lines joined without separator";
  QTest::keyClicks(form->Edit1(), "1");
  EXPECT_TRUE(form->ResultMemo()->toPlainText().isEmpty());
  form->Frame131Button1Click();
  EXPECT_EQ(form->ResultMemo()->toPlainText(), "0") << "x1 is another variable";
  form->ExpressionMemo()->setPlainText("abs(x)");
  EXPECT_TRUE(form->ResultMemo()->toPlainText().isEmpty());

  form->Edit1()->setText("sin");
  form->ExpressionMemo()->setPlainText("x");
  form->Frame131Button1Click();
  EXPECT_EQ(form->ResultMemo()->toPlainText(), "Invalid name of derivative variable :  sin");
  form->Edit1()->setText("x");
  form->ExpressionMemo()->setPlainText(" \n ");
  form->Frame131Button1Click();
  EXPECT_EQ(form->ResultMemo()->toPlainText(), "Mathematical expression is empty");

  form->Splitter1()->setSizes({1, 1000});
  EXPECT_GE(form->Splitter1()->sizes()[0], 50);
  QTest::keyClick(form->ExpressionMemo(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ToolWindowsTest, EquivalenceWindowShowsTheVerdictAndPrefixedMessages) {
  window_.Action("EquivalentTest1")->trigger();
  TForm15* form = window_.EquivalenceWindow();
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Are expressions equivalent?");
  EXPECT_EQ(form->Test1()->text(), "&Test");

  form->FirstMemo()->setPlainText("sin(x)^2+\ncos(x)^2");
  form->SecondMemo()->setPlainText("1");
  form->Test1()->trigger();
  form->FirstMemo()->setPlainText("2");
  form->SecondMemo()->setPlainText("3");
  form->Test1()->trigger();
  form->FirstMemo()->setPlainText("2+");
  form->Test1()->trigger();
  form->FirstMemo()->setPlainText("1");
  form->SecondMemo()->setPlainText("1, 2");
  form->Test1()->trigger();
  EXPECT_EQ(prompt_.messages,
            (std::vector<std::string>{
                "Yes", "No", "First expression -> Syntax error : 2+", "Indeterminate",
                "Second expression -> Please insert only one expression", "Indeterminate"}));
  QTest::keyClick(form->SecondMemo(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(ToolWindowsTest, FunctionVariableWindowAcceptsRefusesAndCancels) {
  window_.Action("Variable1")->trigger();
  TForm6* form = window_.VariableWindow();
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(form->windowTitle(), "Function variable");
  EXPECT_EQ(form->Edit3()->text(), "x");

  form->Edit3()->setText("pi");
  QTest::mouseClick(form->Button1(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages,
            std::vector<std::string>{"Incorrect name of function variable (must not be constant)"});
  EXPECT_TRUE(form->isVisible()) << "a refused name leaves the window open";
  QTest::keyClick(form->Edit3(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(window_.Core().FunctionVariable, "x") << "Escape acts as Cancel";
  EXPECT_EQ(form->Edit3()->text(), "x");

  window_.Action("Variable1")->trigger();
  form->Edit3()->setText(" t ");
  QTest::mouseClick(form->Button1(), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(window_.Core().FunctionVariable, "t");
  // The definitions pass ran with it: t is now a variable of the expressions.
  window_.ExpressionsMemo()->setPlainText("t");
  EXPECT_EQ(window_.ResultsMemo()->toPlainText(), "NAN");

  // A function variable set elsewhere (a calculator file) is not undone by the next pass.
  window_.Core().SetFunctionVariable("u");
  window_.Frame31Memo1Change();
  EXPECT_EQ(window_.Core().FunctionVariable, "u");
  EXPECT_EQ(prompt_.messages.size(), 1u);
}

TEST_F(ToolWindowsTest, TableShowsTheRowsAndTogglesNum) {
  Tabulate("f(x)~Sin(x), c(x)~1/x, h(t)~t", 0, 1, 0.1);
  TForm8* form = window_.TableWindow();
  ASSERT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Functions table");
  QAbstractItemModel* model = form->StringGrid1()->model();
  ASSERT_NE(model, nullptr) << "a view over a model, not one item per cell";
  EXPECT_EQ(model->rowCount(), 11);
  EXPECT_EQ(model->columnCount(), 4);
  EXPECT_EQ(Header(0), "#");
  EXPECT_EQ(Header(1), "x");
  EXPECT_EQ(Header(3), "c(x)");
  EXPECT_EQ(Cell(10, 1), "1");
  EXPECT_EQ(Cell(0, 3), "#NUM!");
  EXPECT_EQ(form->StringGrid1()->columnWidth(2), 150);
  EXPECT_TRUE(form->Action("NAN1")->isChecked());

  form->Action("NAN1")->trigger();
  EXPECT_EQ(Cell(0, 3), "Null");
  form->Action("NAN1")->trigger();
  EXPECT_EQ(Cell(0, 3), "#NUM!");
  EXPECT_TRUE(window_.StatusPanel(2)->text().startsWith("Total allocated memory: "));

  QTest::keyClick(form->StringGrid1(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(prompt_.messages.empty());

  window_.DefinitionsMemo()->setPlainText("f(x)~");
  prompt_.messages.clear();
  window_.Table1Click();
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please correct user definitions"});
  EXPECT_FALSE(form->isVisible());
}

TEST_F(ToolWindowsTest, SaveAsWritesCommaTextAndExportReusesItsWorkbook) {
  Tabulate("k(x)~Complex(x,1)", 0, 0.5, 0.5);
  TForm8* form = window_.TableWindow();
  prompt_.files = {Path("table.csv")};
  form->Action("SaveAs1")->trigger();
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(Path("table.csv"), bytes), std::nullopt);
  EXPECT_EQ(bytes, "#,x,k(x)\r\n0,0,\"Complex(0, 1)\"\r\n1,0.5,\"Complex(0.5, 1)\"\r\n");

  prompt_.files = {Path("book")};
  form->Action("ExcelOLE2")->trigger();
  EXPECT_EQ(prompt_.filters.back(), "Excel workbook (*.xlsx)|*.xlsx");
  EXPECT_EQ(form->WorkbookPath(), Path("book.xlsx"));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0].toStdString(), Path("book.xlsx"));
  EXPECT_EQ(form->statusBar()->currentMessage().toStdString(),
            "Workbook written to " + Path("book.xlsx"));
  const auto firstSize = std::filesystem::file_size(Path("book.xlsx"));

  Tabulate("k(x)~x, g(x)~x*2", 0, 100, 1);
  form->Action("ExcelOLE2")->trigger();
  EXPECT_EQ(prompt_.filters.size(), 2u) << "the second export asks for no name";
  EXPECT_GT(std::filesystem::file_size(Path("book.xlsx")), firstSize);

  prompt_.files = {Path("missing/t.csv")};
  form->Action("SaveAs1")->trigger();
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("Cannot write " + Path("missing/t.csv"), 0), 0u);
}

TEST_F(ToolWindowsTest, ChartFollowsTheTableWithOneLegendEntryPerFunction) {
  Tabulate("f(x)~x, c(x)~1/(x-0.5), h(t)~t", 0, 1, 0.25);
  TForm8* form = window_.TableWindow();
  form->Action("Chart1")->trigger();
  TChartWindow* chart = form->ChartWindow();
  ASSERT_NE(chart, nullptr);
  ASSERT_TRUE(chart->isVisible());
  QStringList legend;
  for (QLegendMarker* marker : chart->Chart()->legend()->markers()) {
    if (marker->isVisible()) legend << marker->label();
  }
  EXPECT_EQ(legend, (QStringList{"f(x)", "c(x)"}));
  // c has a gap at 0.5: two pieces of line, one entry.
  int pieces = 0;
  for (QAbstractSeries* series : chart->Chart()->series())
    pieces += series->name() == "c(x)";
  EXPECT_GE(pieces, 2);

  Tabulate("g(x)~x^2", 0, 1, 0.25);
  legend.clear();
  for (QLegendMarker* marker : chart->Chart()->legend()->markers()) {
    if (marker->isVisible()) legend << marker->label();
  }
  EXPECT_EQ(legend, QStringList{"g(x)"});

  // A long table is thinned to the first, least and greatest value of each stretch of rows.
  Tabulate("g(x)~sin(x)", 0, 50000, 1);
  const auto* line = qobject_cast<QXYSeries*>(chart->Chart()->series().value(0));
  ASSERT_NE(line, nullptr);
  EXPECT_LE(line->count(), static_cast<int>(kMaxChartPoints));
  EXPECT_GE(line->count(), static_cast<int>(kMaxChartPoints) * 3 / 4);
  EXPECT_EQ(line->at(0).x(), 0);
  EXPECT_GE(line->at(line->count() - 1).x(), 50000 - 8);
  for (int i = 1; i < line->count(); ++i)
    ASSERT_LT(line->at(i - 1).x(), line->at(i).x()) << "points in row order";
  // Zooming in draws every row in view.
  chart->Chart()->axes(Qt::Horizontal).value(0)->setRange(100, 200);
  QApplication::processEvents();
  const auto* zoomed = qobject_cast<QXYSeries*>(chart->Chart()->series().value(0));
  ASSERT_NE(zoomed, nullptr);
  EXPECT_EQ(zoomed->count(), 102);
  EXPECT_EQ(zoomed->at(0).x(), 99);
  EXPECT_EQ(zoomed->at(101).x(), 200);

  prompt_.files = {Path("chart")};
  chart->SaveImageAs();
  std::string png;
  ASSERT_EQ(ReadFileBytes(Path("chart.png"), png), std::nullopt);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST_F(ToolWindowsTest, LongTableShowsProgressAndCancelKeepsItsRows) {
  bool sawProgress = false;
  QTimer::singleShot(0, [&] {
    if (auto* dialog = window_.TableWindow()->findChild<QProgressDialog*>()) {
      sawProgress = true;
      dialog->cancel();
    }
  });
  Tabulate("f(x)~x", 0, 1000000, 1);
  EXPECT_TRUE(sawProgress);
  const int rows = window_.TableWindow()->StringGrid1()->model()->rowCount();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, 1000001);
  EXPECT_EQ(Cell(rows - 1, 2), QString::number(rows - 1));
}

}  // namespace
}  // namespace app
