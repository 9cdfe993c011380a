// The function table without its window: columns, rows and their stop rule, Replace and the
// "&Null -> #NUM!" texts, comma text, and the workbook's limits.
#include "app/function_table.h"

#include <gtest/gtest.h>

#include "app/calculator_core.h"
#include "app/workbook_export.h"
#include "support/scripted_prompt.h"
#include "temp_folder.h"

namespace app {
namespace {

class FunctionTableTest : public ::testing::Test {
 protected:
  // The definitions pass, then the table over [from, to] by step.
  TFunctionTable::TBuildResult Tabulate(const std::string& definitions, double from, double to,
                                        double step, std::size_t rowLimit = kMaxTableRows) {
    core_.SetSetting(stFrom, from);
    core_.SetSetting(stTo, to);
    core_.SetSetting(stStep, step);
    EXPECT_TRUE(core_.DefinitionsPass(definitions)) << definitions;
    return table_.Build(core_, TFunctionTable::TProgress(), rowLimit);
  }
  std::vector<std::string> Row(std::size_t row) const {
    std::vector<std::string> cells;
    for (std::size_t column = 0; column < table_.ColumnCount(); ++column)
      cells.push_back(table_.CellText(row, column));
    return cells;
  }

  TScriptedPrompt prompt_;
  TCalculatorCore core_{prompt_};
  TFunctionTable table_;
};

using Cells = std::vector<std::string>;

TEST_F(FunctionTableTest, TabulatesOnlyFunctionsOfTheFunctionVariable) {
  Tabulate("f(x)~Sin(x), g(X)~x*2, h(t)~t, two(x,y)~x+y, y=3, k(x)~x+y", 0, 1, 0.5);
  EXPECT_EQ(Row(0), (Cells{"#", "x", "f(x)", "g(x)", "k(x)"}));
  EXPECT_EQ(Row(1), (Cells{"0", "0", "0", "0", "3"}));
  EXPECT_EQ(Row(3), (Cells{"2", "1", "0.841470984807897", "2", "4"}));
  EXPECT_EQ(table_.RowCount(), 4u);

  Tabulate("h(t)~t", 0, 1, 0.5);
  EXPECT_EQ(table_.ColumnCount(), 3u) << "no function: the third column stays empty";
  EXPECT_EQ(Row(0), (Cells{"#", "x", ""}));
  EXPECT_EQ(Row(1), (Cells{"0", "0", ""}));
}

TEST_F(FunctionTableTest, RowsStopAtTheEndEvenWhenRoundingOvershootsIt) {
  EXPECT_EQ(Tabulate("f(x)~x", 0, 1, 0.1), TFunctionTable::TBuildResult::Complete);
  ASSERT_EQ(table_.DataRowCount(), 11u) << "10 * 0.1 is not exactly 1 but is tabulated";
  EXPECT_EQ(Row(11), (Cells{"10", "1", "1"}));
  EXPECT_EQ(Row(4)[1], "0.3");

  Tabulate("f(x)~x", 5, 1, 0.1);
  EXPECT_EQ(table_.DataRowCount(), 0u);
  EXPECT_EQ(table_.RowCount(), 2u) << "the header and one empty row";
  EXPECT_EQ(Row(1), (Cells{"", "", ""}));

  Tabulate("f(x)~x", 2, 2, 0.1);
  EXPECT_EQ(table_.DataRowCount(), 1u);
  EXPECT_EQ(TFunctionTable::ExpectedRows(core_), 0u);
}

// Regression: a step far below the precision of the range never moved x, and the table grew
// until memory ran out.
TEST_F(FunctionTableTest, ATableThatWouldNeverEndIsCut) {
  EXPECT_EQ(Tabulate("f(x)~x", -1e300, 1e300, 0.1, 1000), TFunctionTable::TBuildResult::Cut);
  EXPECT_EQ(table_.DataRowCount(), 1000u);
  EXPECT_EQ(TFunctionTable::ExpectedRows(core_), kMaxTableRows + 1);
}

TEST_F(FunctionTableTest, ProgressCanStopTheTableAndKeepsItsRows) {
  core_.SetSetting(stFrom, 0);
  core_.SetSetting(stTo, 200000);
  core_.SetSetting(stStep, 1);
  ASSERT_TRUE(core_.DefinitionsPass("f(x)~x*2"));
  std::size_t calls = 0;
  const auto result = table_.Build(core_, [&](std::size_t done, std::size_t expected) {
    EXPECT_EQ(expected, 200001u);
    ++calls;
    return done < 40000;
  });
  EXPECT_EQ(result, TFunctionTable::TBuildResult::Cancelled);
  EXPECT_EQ(calls, 3u);
  ASSERT_EQ(table_.DataRowCount(), 49152u);
  EXPECT_EQ(table_.CellText(49152, 2), "98302");
}

TEST_F(FunctionTableTest, FailedCellsShowTheirValueAndLeaveTheResultsAlone) {
  core_.ClearResults();
  Tabulate("a(x)~nan+x, c(x)~1/x", 0, 0.1, 0.1);
  EXPECT_EQ(Row(1), (Cells{"0", "0", "NAN", "Null"}));
  EXPECT_TRUE(core_.Results().empty()) << "a failing cell writes no message";
  // The handler is back for the next pass.
  core_.ExpressionsPass("c(0)", "a(x)~nan+x, c(x)~1/x");
  EXPECT_EQ(core_.Results(), std::vector<std::string>{"Division by 0 "});
}

TEST_F(FunctionTableTest, NumOptionTurnsNanIntoNullWhenToggledBack) {
  Tabulate("a(x)~nan+x, c(x)~1/x, d(x)~eq(x,0)", 0, 0.1, 0.1);
  table_.FailuresAsNum();
  EXPECT_EQ(Row(1), (Cells{"0", "0", "#NUM!", "#NUM!", "True"}));
  EXPECT_EQ(Row(2), (Cells{"1", "0.1", "#NUM!", "10", "False"}));
  table_.NumAsNull();
  EXPECT_EQ(Row(1), (Cells{"0", "0", "Null", "Null", "True"})) << "not back into NAN";
  table_.FailuresAsNum();
  EXPECT_EQ(Row(1)[2], "#NUM!");
  // Replace compares trimmed texts without regard to case and only in value columns.
  table_.Replace("  true ", " yes ");
  table_.Replace("0", "zero");
  EXPECT_EQ(Row(1), (Cells{"0", "0", "#NUM!", "#NUM!", "yes"}));
  table_.Replace("YES", "no");
  EXPECT_EQ(Row(1)[4], "no");
  EXPECT_EQ(Row(2)[4], "False");
}

TEST(CommaText, QuotesCellsWithBlanksCommasQuotesAndLineBreaks) {
  EXPECT_EQ(CommaText({"a", "b c", "1,5", "say \"hi\"", "", "f(x)", "two\nlines", "tab\t"}),
            "a,\"b c\",\"1,5\",\"say \"\"hi\"\"\",,f(x),\"two\nlines\",\"tab\t\"");
  EXPECT_EQ(CommaText({}), "");
}

TEST_F(FunctionTableTest, CommaLinesHoldEveryGridRowWithCrLf) {
  Tabulate("k(x)~Complex(x,1)", 0, 0.5, 0.5);
  EXPECT_EQ(table_.CommaLines(),
            "#,x,k(x)\r\n0,0,\"Complex(0, 1)\"\r\n1,0.5,\"Complex(0.5, 1)\"\r\n");
  Tabulate("k(x)~x", 1, 0, 0.5);
  EXPECT_EQ(table_.CommaLines("\n"), "#,x,k(x)\n,,\n");
}

TEST(WorkbookExport, NumbersAreWholeFiniteTexts) {
  double number = 0;
  EXPECT_TRUE(WorkbookNumber("-1.5E-10", number));
  EXPECT_DOUBLE_EQ(number, -1.5e-10);
  for (const char* text : {"", "NAN", "INF", "-INF", "#NUM!", "1 ", "Complex(1, 2)", "True", "0x1"})
    EXPECT_FALSE(WorkbookNumber(text, number)) << text;
}

TEST_F(FunctionTableTest, WorkbookIsWrittenThroughTheSafeSaveOrRefused) {
  const TTempFolder folder;
  Tabulate("f(x)~x", 0, 1, 0.5);
  const std::string path = folder / "table.xlsx";
  ASSERT_EQ(WriteWorkbook(table_, path), std::nullopt);
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "PK") << "a zip container";
  const auto failure = WriteWorkbook(table_, folder / "missing/table.xlsx");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->rfind("Cannot write " + folder / "missing/table.xlsx", 0), 0u) << *failure;

  // Stopped by its progress: nothing written, nothing to say.
  Tabulate("f(x)~x", 0, 20000, 1);
  std::size_t calls = 0;
  EXPECT_EQ(WriteWorkbook(table_, folder / "stopped.xlsx",
                          [&calls](std::size_t done, std::size_t total) {
                            EXPECT_EQ(total, 20002u);
                            EXPECT_EQ(done, 16384u);
                            return ++calls > 1;
                          }),
            std::string());
  EXPECT_FALSE(std::filesystem::exists(folder / "stopped.xlsx"));

  // Longer than a worksheet: refused before anything is written.
  Tabulate("f(x)~x", 0, 2e6, 1, kWorkbookMaxRows);
  const auto tooLong = WriteWorkbook(table_, folder / "long.xlsx");
  ASSERT_TRUE(tooLong.has_value());
  EXPECT_EQ(*tooLong, "A workbook holds at most 1048575 table rows; this table has 1048576");
  EXPECT_FALSE(std::filesystem::exists(folder / "long.xlsx"));
}

}  // namespace
}  // namespace app
