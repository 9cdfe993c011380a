// Tests of the sheets and the "Lagrange" and "CubicSpline" functions, called from expressions of
// the calculator core and directly: reading cells, sorting, caches, argument and domain rules,
// the messages, and the sheet and row edits.
#include "interpolation/interpolation_sheets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "app/calculator_core.h"
#include "evaluator/eval_errors.h"
#include "interpolation/row_dialogs.h"
#include "support/scripted_prompt.h"

namespace interpolation {
namespace {

using evaluator::TEvalValue;

class SheetsTest : public ::testing::Test {
 protected:
  // "ARE YOU SURE ?" is Yes unless a test says No.
  SheetsTest() { prompt_.answer = true; }

  void Fill(std::size_t index, const std::vector<TSheetRow>& rows) {
    sheets_.Sheet(index).SetRows(rows);
  }
  // What the results pane shows for an expressions text.
  std::string Eval(const std::string& text) {
    core_.ExpressionsPass(text, "");
    std::string shown;
    for (const std::string& line : core_.Results())
      shown += (shown.empty() ? "" : "\n") + line;
    return shown;
  }
  // The function's own failure message, or its value's text.
  std::string Call(bool spline, const TEvalValue& x, const TEvalValue& sheet) {
    const TEvalValue* arguments[] = {&x, &sheet};
    TEvalValue result = TEvalValue::Null();
    try {
      if (spline) {
        sheets_.CubicSpline(arguments, 2, result);
      } else {
        sheets_.Lagrange(arguments, 2, result);
      }
    } catch (const std::exception& e) {
      return e.what();
    }
    return evaluator::ValueToText(result);
  }
  std::string Spline(double x, double sheet = 1) {
    return Call(true, TEvalValue::Real(x), TEvalValue::Real(sheet));
  }
  std::string Lagrange(double x, double sheet = 1) {
    return Call(false, TEvalValue::Real(x), TEvalValue::Real(sheet));
  }

  app::TScriptedPrompt prompt_;
  app::TCalculatorCore core_{prompt_};
  TInterpolationSheets sheets_{core_};
};

const std::vector<TSheetRow> kSquares = {{"0", "0"}, {"1", "1"}, {"2", "4"}};
const std::vector<TSheetRow> kWave = {{"3", "1"}, {"1", "1"}, {"0", "0"}, {"2", "0"}};

TEST_F(SheetsTest, ExpressionsUseTheSheetsThroughBothFunctions) {
  Fill(0, kSquares);
  EXPECT_EQ(Eval("Lagrange(1.5,1)"), "2.25");
  Fill(0, kWave);
  // Points typed in any order are used sorted: (0,0), (1,1), (2,0), (3,1).
  EXPECT_EQ(Eval("CubicSpline(0,1), CubicSpline(1,1), CubicSpline(2,1), CubicSpline(3,1)"),
            "0\n1\n0\n1");
  EXPECT_EQ(Eval("CubicSpline(1.5,1)"), "0.5");
  EXPECT_EQ(sheets_.Sheet(0).Rows(), kWave);  // the grid itself keeps its order
  // Cells are expressions; currency arguments count as reals.
  Fill(0, {{"pi/2", "sin(pi/2)"}, {"0", "0"}, {"-pi/2", "-1"}});
  EXPECT_EQ(Eval("Lagrange(pi/2,1)"), "1");
  core_.CurrencyFormat = true;
  EXPECT_EQ(Eval("Lagrange(0,1)"), "Not Currency");
  core_.CurrencyFormat = false;
  EXPECT_EQ(Call(false, TEvalValue::CurrencyScaled(0), TEvalValue::CurrencyScaled(10000)), "0");
}

TEST_F(SheetsTest, SplinesAreExactAtEveryNodeAndFollowTheSheetsType) {
  Fill(0, {{"0", "0.1"}, {"0.7", "0.3"}, {"1.3", "-0.2"}, {"2.9", "0.45"}, {"3.3", "0.1"}});
  for (const char* node : {"0", "0.7", "1.3", "2.9", "3.3"}) {
    SCOPED_TRACE(node);
    const double x = std::stod(node);
    const std::size_t r = x == 0 ? 0 : x == 0.7 ? 1 : x == 1.3 ? 2 : x == 2.9 ? 3 : 4;
    EXPECT_EQ(Spline(x), evaluator::RealToText(std::stod(sheets_.Sheet(0).Row(r).fx)));
  }
  const std::string natural = Spline(0.2);
  sheets_.Sheet(0).SetSplineType(stPeriodic);
  EXPECT_NE(Spline(0.2), natural);
  sheets_.Sheet(0).SetCell(4, scFx, "0.2");
  EXPECT_EQ(Spline(0.2),
            "Sheet1: bad condition for periodic Spline: begin point <> end point value");
  sheets_.Sheet(0).SetSplineType(stNatural);
  EXPECT_NE(Spline(0.2), natural);  // read again: the last value changed
}

TEST_F(SheetsTest, ArgumentsAndSheetNumbersAreChecked) {
  Fill(0, kSquares);
  sheets_.AddSheet();
  sheets_.AddSheet();
  EXPECT_EQ(Lagrange(1, 1.5), "Incorrect integer type: Sheet number");
  EXPECT_EQ(Lagrange(1, 0), "Sheet number must be between 1 and 3");
  EXPECT_EQ(Spline(1, 4), "Sheet number must be between 1 and 3");
  EXPECT_EQ(Spline(1, 1e300), "Sheet number must be between 1 and 3");
  EXPECT_EQ(Lagrange(1, 1 + 1e-14), "1");  // whole within 1e-13
  EXPECT_EQ(Call(false, TEvalValue::Boolean(true), TEvalValue::Real(1)),
            "Incorrect real type: parameter 1");
  EXPECT_EQ(Call(true, TEvalValue::Real(1), TEvalValue::Null()),
            "Incorrect real type: parameter 2");
  // Through the evaluator the failure names the function.
  EXPECT_EQ(Eval("Lagrange(1,0)"),
            "Invalid value for LAGRANGE :  sheet number must be between 1 and 3 : NONMATH");
}

TEST_F(SheetsTest, TheDomainIsTheNodesRangeWithTheValueTolerance) {
  Fill(0, kSquares);
  EXPECT_EQ(Lagrange(std::nextafter(2.0, 3.0)), "4");
  EXPECT_EQ(Lagrange(-1e-300), "Not defined for this arguments: -1E-300");
  EXPECT_EQ(Lagrange(2.5), "Not defined for this arguments: 2.5");
  EXPECT_EQ(Lagrange(std::nan("")), "Not defined for this arguments: NAN");
  Fill(0, kWave);
  EXPECT_EQ(Spline(std::nextafter(3.0, 4.0)), "1");
  EXPECT_EQ(Spline(-0.25), "Not defined for this arguments: -0.25");
  EXPECT_EQ(Spline(3.000001), "Not defined for this arguments: 3.000001");
}

TEST_F(SheetsTest, ReadingFailuresNameTheSheetAndTheRow) {
  struct TCase {
    std::vector<TSheetRow> rows;
    bool spline;
    std::string message;
  };
  const TCase cases[] = {
      {{{"1", "2"}}, false, "Sheet1: Number of interpolating points must be >=2"},
      {kSquares, true, "Sheet1: Number of interpolating points must be >=4"},
      {std::vector<TSheetRow>(10001, {"1", "1"}), false,
       "Sheet1: Number of interpolating points must be <=10000"},
      {{{"0", "0"}, {"1+", "1"}}, false, "Sheet1: Interpolation x[2]: Syntax error : 1+"},
      {{{"0", "0"}, {"1", "q"}}, false, "Sheet1: Interpolation f(x[2]): Undefined variable :  q"},
      {{{"0", "0"}, {"1", ""}}, false, "Sheet1: Interpolation f(x[2]): "},
      {{{"0", "1/0"}, {"1", "1"}}, false, "Sheet1: Interpolation f(x[1]): Division by 0"},
      {{{"0", "true"}, {"1", "1"}}, false, "Sheet1: Interpolation f(x[1]): Incorrect real type"},
      {{{"0", "0"}, {"1", "Lagrange(0,1)"}},
       false,
       "Sheet1: Interpolation f(x[2]): Invalid value for LAGRANGE :  sheet1: lagrange and "
       "cubicspline cannot be used in the cells of a sheet : NONMATH"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.message);
    Fill(0, c.rows);
    const std::string shown = c.spline ? Spline(0) : Lagrange(0);
    if (c.message.back() == ' ') {
      EXPECT_EQ(shown.rfind(c.message, 0), 0u) << shown;  // the evaluator's own text follows
    } else {
      EXPECT_EQ(shown, c.message);
    }
    EXPECT_TRUE(sheets_.Sheet(0).DataChanged);  // nothing was taken from a failed read
  }
}

TEST_F(SheetsTest, ReadsAreCachedUntilTheSheetChanges) {
  Fill(0, {{"0", "random"}, {"1", "1"}, {"2", "2"}, {"3", "3"}});
  sheets_.Sheet(0).SetCell(0, scFx, "0");
  EXPECT_EQ(Spline(0.5), "0.5");
  EXPECT_FALSE(sheets_.Sheet(0).SplineChanged);
  EXPECT_FALSE(sheets_.Sheet(0).DataChanged);
  // A cell that would change the value at every read is read once.
  sheets_.Sheet(0).SetCell(1, scFx, "1+random/1e6");
  const std::string first = Spline(1);
  EXPECT_EQ(Spline(1), first);
  EXPECT_EQ(Lagrange(1), first);
  sheets_.Sheet(0).SetCell(1, scFx, "5");
  EXPECT_TRUE(sheets_.Sheet(0).DataChanged);
  EXPECT_EQ(Lagrange(1), "5");
  EXPECT_FALSE(sheets_.Sheet(0).DataChanged);
  EXPECT_TRUE(sheets_.Sheet(0).SplineChanged);  // Lagrange alone leaves the spline to redo
  EXPECT_EQ(Spline(1), "5");
}

TEST_F(SheetsTest, EqualNodesFailAsADivisionAndNaNValuesGiveNull) {
  Fill(0, {{"0", "0"}, {"1", "1"}, {"1", "2"}, {"2", "0"}});
  const TEvalValue x = TEvalValue::Real(0.5);
  const TEvalValue one = TEvalValue::Real(1);
  const TEvalValue* arguments[] = {&x, &one};
  TEvalValue result;
  EXPECT_THROW(sheets_.CubicSpline(arguments, 2, result), evaluator::EMathError);
  const std::string shown = Eval("Lagrange(0.5,1)");
  EXPECT_EQ(shown.substr(shown.size() - 13), " : ZeroDivide") << shown;
  Fill(0, {{"0", "0"}, {"1", "nan"}, {"2", "0"}, {"3", "1"}});
  EXPECT_EQ(Spline(1.5), "Null");
  EXPECT_EQ(Lagrange(3), "Null");
}

TEST_F(SheetsTest, DeletingASheetMovesTheLaterOnesDown) {
  EXPECT_FALSE(sheets_.DeleteSheet(0));
  EXPECT_EQ(sheets_.Count(), 1u);
  sheets_.AddSheet();
  sheets_.AddSheet();
  Fill(1, kSquares);
  Fill(2, kWave);
  sheets_.Sheet(2).SetSplineType(stPeriodic);
  sheets_.Sheet(2).FileName = "wave.dat";
  sheets_.Sheet(2).HasFile = true;
  EXPECT_EQ(Lagrange(1.5, 2), "2.25");
  ASSERT_TRUE(sheets_.DeleteSheet(1));
  ASSERT_EQ(sheets_.Count(), 2u);
  EXPECT_EQ(sheets_.Sheet(1).Rows(), kWave);
  EXPECT_EQ(sheets_.Sheet(1).SplineType(), stPeriodic);
  EXPECT_EQ(sheets_.Sheet(1).FileName, "wave.dat");
  EXPECT_EQ(Spline(1, 2),
            "Sheet2: bad condition for periodic Spline: begin point <> end point value");
  EXPECT_EQ(Lagrange(1.5, 3), "Sheet number must be between 1 and 2");
}

TEST_F(SheetsTest, OrdinationSortsTheRowsAndKeepsTies) {
  Fill(0, {{"3", "-1"}, {"2", "-2"}, {"1+1", "-3"}, {"0", "-4"}});
  sheets_.Ordinate(0);
  const std::vector<TSheetRow> sorted = {{"0", "-4"}, {"2", "-2"}, {"1+1", "-3"}, {"3", "-1"}};
  EXPECT_EQ(sheets_.Sheet(0).Rows(), sorted);
  Fill(0, {{"3", "0"}, {"2", "0"}, {"x", "0"}});
  EXPECT_THROW(sheets_.Ordinate(0), evaluator::EEvalError);
  EXPECT_EQ(sheets_.Sheet(0).Row(0).x, "3");
}

TEST_F(SheetsTest, RowsCountDialogRules) {
  TInterpolationSheet& sheet = sheets_.Sheet(0);
  sheet.DataChanged = sheet.SplineChanged = false;
  for (const char* bad : {"0", "-3", "abc", "", "99999999999999999999", "1000001"}) {
    EXPECT_FALSE(SetRowsCount(sheet, bad, prompt_)) << bad;
  }
  EXPECT_EQ(
      prompt_.messages,
      (std::vector<std::string>{
          "The count must to be > 0", "The count must to be > 0",
          "'abc' is not a valid integer value", "'' is not a valid integer value",
          "'99999999999999999999' is not a valid integer value", "The count must be <= 1000000"}));
  EXPECT_EQ(sheet.RowCount(), 1u);
  EXPECT_FALSE(sheet.DataChanged);
  sheet.SetCell(0, scX, "7");
  EXPECT_TRUE(SetRowsCount(sheet, " 3 ", prompt_));
  EXPECT_EQ(sheet.RowCount(), 3u);
  EXPECT_EQ(sheet.CellText(2, scNumber), "3");
  EXPECT_EQ(sheet.Row(0).x, "7");
  EXPECT_TRUE(SetRowsCount(sheet, "1", prompt_));
  EXPECT_EQ(sheet.RowCount(), 1u);
}

TEST_F(SheetsTest, DeleteRowsDialogRules) {
  TInterpolationSheet& sheet = sheets_.Sheet(0);
  auto numbered = [](int count) {
    std::vector<TSheetRow> rows;
    for (int r = 1; r <= count; ++r)
      rows.push_back({std::to_string(r), "f" + std::to_string(r)});
    return rows;
  };
  auto xs = [&] {
    std::string text;
    for (const TSheetRow& row : sheet.Rows())
      text += row.x + ",";
    return text;
  };
  // A single row: nothing happens, not even a question.
  EXPECT_FALSE(DeleteSheetRows(sheet, "1", "1", prompt_));
  EXPECT_TRUE(prompt_.questions.empty());

  sheet.SetRows(numbered(5));
  EXPECT_FALSE(DeleteSheetRows(sheet, "1", "0", prompt_));
  EXPECT_EQ(prompt_.messages.back(), "Invalid count");
  EXPECT_TRUE(prompt_.questions.empty());
  EXPECT_FALSE(DeleteSheetRows(sheet, "x", "1", prompt_));
  EXPECT_EQ(prompt_.messages.back(), "'x' is not a valid integer value");
  EXPECT_FALSE(DeleteSheetRows(sheet, "6", "1", prompt_));
  EXPECT_EQ(prompt_.messages.back(), "Invalid #");
  EXPECT_EQ(prompt_.questions.back(), "ARE YOU SURE ?");
  prompt_.answer = false;
  EXPECT_FALSE(DeleteSheetRows(sheet, "2", "2", prompt_));
  EXPECT_EQ(sheet.RowCount(), 5u);
  prompt_.answer = true;

  sheet.DataChanged = sheet.SplineChanged = false;
  EXPECT_TRUE(DeleteSheetRows(sheet, "2", "2", prompt_));  // a block inside
  EXPECT_EQ(xs(), "1,4,5,");
  EXPECT_TRUE(sheet.DataChanged && sheet.SplineChanged);
  EXPECT_TRUE(DeleteSheetRows(sheet, "2", "9", prompt_));  // a block reaching the end
  EXPECT_EQ(xs(), "1,");
  sheet.SetRows(numbered(3));
  EXPECT_TRUE(DeleteSheetRows(sheet, "1", "3", prompt_));  // every row: one empty row is left
  EXPECT_EQ(sheet.Rows(), std::vector<TSheetRow>{TSheetRow{}});
}

}  // namespace
}  // namespace interpolation
