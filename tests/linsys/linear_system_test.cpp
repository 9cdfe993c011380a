// Building a system from its equations and the results the solver's window shows.
#include "linsys/linear_system.h"

#include <gtest/gtest.h>

#include "evaluator/complex_eval.h"
#include "support/scripted_prompt.h"

namespace linsys {
namespace {

using evaluator::TEvalValue;
using TLines = std::vector<std::string>;

class LinearSystemTest : public ::testing::Test {
 protected:
  TLines Show(const std::string& variables, const std::string& equations,
              TSystemResult result = TSystemResult::Solution) {
    system_.VariablesText = variables;
    system_.EquationsText = equations;
    shown_ = system_.Show(result);
    return system_.Results();
  }

  app::TScriptedPrompt prompt_;
  double tolerance_ = 1e-16;
  TLinearSystem system_{prompt_, [this] { return tolerance_; }};
  bool shown_ = false;
};

TEST_F(LinearSystemTest, TheInitialSystemHoldsTheEvaluatedCoefficients) {
  ASSERT_TRUE(system_.Show(TSystemResult::InitialMatrix));
  evaluator::TTalvekComplexEval eval;
  TEvalValue sinE;
  eval.VerifySyntaxSemantics("sin(e)", "", false);
  eval.DoMathExpression(sinE);
  // A coefficient is f(e_j) - f(0), here (sin(e) + 1) - 1, rounded on the way.
  const TEvalValue a11 =
      evaluator::Add(evaluator::Add(sinE, TEvalValue::Real(1)), TEvalValue::Real(-1));
  EXPECT_EQ(system_.Results()[1],
            MatrixEntryText(a11) + "   2.00000000000000000E+0   3.00000000000000000E+0   ");
  EXPECT_EQ(system_.Results()[3],
            "7.00000000000000000E+0   8.00000000000000000E+0   9.00000000000000000E+0   ");
  EXPECT_TRUE(system_.Show(TSystemResult::RightPart));
  EXPECT_EQ(system_.Results(), (TLines{"Right part:", "-1", "2", "-3"}));
  EXPECT_EQ(Show("p,q,r", "2 p - 4, q + 3 p - 9, r - q"),
            (TLines{"Solution:", "p = 2", "q = 3", "r = 3"}));
}

TEST_F(LinearSystemTest, OnlyLinearSquareSystemsAreBuilt) {
  const char* const kCount = "Number of variables do not corespond with number of equations";
  const struct {
    const char* variables;
    const char* equations;
    const char* message;  // null when the system solves
  } rows[] = {
      {"x,y", "x*y, y", "System of equations is not linear"},
      {"x,y", "x/2 - 1, y", nullptr},
      {"x,y", "2/x, y", "System of equations is not linear"},
      {"x,y", "x = 1, y", "Cannot set value for protected expression :  x"},
      {"x,y", "x + y, x - y, x", kCount},
      {"x,y", "x + w, y", "Undefined variable :  w"},
      {"x,\r\n y", "3 x\r\n + 2 y - 1,\n y", nullptr},  // memos may span lines
  };
  for (const auto& row : rows) {
    const TLines results = Show(row.variables, row.equations);
    EXPECT_EQ(shown_, row.message == nullptr) << row.equations;
    if (row.message != nullptr) {
      EXPECT_EQ(results, TLines{row.message}) << row.equations;
    }
  }
  // A value that is no number stops the build with a message box.
  EXPECT_TRUE(Show("x", "null").empty());
  EXPECT_EQ(prompt_.messages, TLines{"Incorrect real or complex type"});
  std::string names = "v1";
  for (std::size_t i = 2; i <= kMaxVariables + 1; ++i)
    names += ",v" + std::to_string(i);
  EXPECT_EQ(Show(names, names), TLines{std::string(kTooManyVariables)});
}

TEST_F(LinearSystemTest, AComplexSystemIsComplexThroughout) {
  const std::string equations = "complex(0,1) a + b - 1, a - b";
  EXPECT_EQ(Show("a,b", equations, TSystemResult::InitialMatrix)[2],
            "Complex(1.00000000000000000E+0, 0.00000000000000000E+0)   "
            "Complex(-1.00000000000000000E+0, 0.00000000000000000E+0)   ");
  EXPECT_EQ(Show("a,b", equations),
            (TLines{"Solution:", "a = Complex(0.5, -0.5)", "b = Complex(0.5, -0.5)"}));
}

TEST_F(LinearSystemTest, ATinyDeterminantIsRefusedUntilTheToleranceIsLowered) {
  // No constant term beside the tiny coefficients, which f(e_j) - f(0) would cancel.
  const std::string equations = "1e-10 x - 1e-10, 1e-10 y - 2e-10";
  EXPECT_TRUE(Show("x,y", equations).empty());
  EXPECT_TRUE(Show("x,y", equations, TSystemResult::Inverse).empty());
  EXPECT_EQ(prompt_.messages, (TLines{"System is bad conditioned", "System is bad conditioned"}));
  tolerance_ = 1e-30;
  EXPECT_EQ(Show("x,y", equations), (TLines{"Solution:", "x = 1", "y = 2"}));
  EXPECT_EQ(Show("x,y", equations, TSystemResult::Inverse),
            (TLines{"Inverse  matrix :", "1.00000000000000000E+10   0.00000000000000000E+0   ",
                    "0.00000000000000000E+0   1.00000000000000000E+10   "}));
}

TEST_F(LinearSystemTest, ACancelledBuildLeavesNothingBuilt) {
  std::size_t calls = 0;
  system_.Progress = [&calls](std::size_t done, std::size_t total) {
    EXPECT_EQ(total, 4u);
    ++calls;
    return done < 2;
  };
  EXPECT_FALSE(system_.Show(TSystemResult::Solution));
  EXPECT_EQ(calls, 2u);
  EXPECT_TRUE(system_.Results().empty());
  EXPECT_EQ(system_.A().Size(), 0u);
  EXPECT_TRUE(prompt_.messages.empty());
}

}  // namespace
}  // namespace linsys
