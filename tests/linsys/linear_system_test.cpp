// Building a system from its equations and the five results the solver's window shows.
#include "linsys/linear_system.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "evaluator/complex_eval.h"

namespace linsys {
namespace {

using evaluator::TEvalValue;

class TRecordingPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
  std::vector<std::string> messages;
};

class LinearSystemTest : public ::testing::Test {
 protected:
  std::vector<std::string> Show(const std::string& variables, const std::string& equations,
                                TSystemResult result = TSystemResult::Solution) {
    system_.VariablesText = variables;
    system_.EquationsText = equations;
    shown_ = system_.Show(result);
    return system_.Results();
  }

  TRecordingPrompt prompt_;
  double tolerance_ = 1e-16;
  TLinearSystem system_{prompt_, [this] { return tolerance_; }};
  bool shown_ = false;
};

TEST_F(LinearSystemTest, TheInitialSystemSolvesAndItsMatrixHoldsTheCoefficients) {
  ASSERT_TRUE(system_.Show(TSystemResult::InitialMatrix));
  evaluator::TTalvekComplexEval eval;
  TEvalValue sinE;
  eval.VerifySyntaxSemantics("sin(e)", "", false);
  eval.DoMathExpression(sinE);
  // A coefficient is f(e_j) - f(0), here (sin(e) + 1) - 1, rounded on the way.
  const TEvalValue coefficient =
      evaluator::Add(evaluator::Add(sinE, TEvalValue::Real(1)), TEvalValue::Real(-1));
  const std::vector<std::string> expected = {
      "Initial matrix:",
      MatrixEntryText(coefficient) + "   2.00000000000000000E+0   3.00000000000000000E+0   ",
      "4.00000000000000000E+0   5.00000000000000000E+0   6.00000000000000000E+0   ",
      "7.00000000000000000E+0   8.00000000000000000E+0   9.00000000000000000E+0   "};
  EXPECT_EQ(system_.Results(), expected);

  EXPECT_EQ(Show(std::string(kInitialVariables), std::string(kInitialEquations),
                 TSystemResult::RightPart),
            (std::vector<std::string>{"Right part:", "-1", "2", "-3"}));

  const std::vector<std::string> solution =
      Show(std::string(kInitialVariables), std::string(kInitialEquations));
  ASSERT_TRUE(shown_);
  ASSERT_EQ(solution.size(), 4u);
  EXPECT_EQ(solution[0], "Solution:");
  EXPECT_EQ(solution[1].rfind("x = ", 0), 0u);
  EXPECT_EQ(solution[3].rfind("z = ", 0), 0u);
  // The solution satisfies every equation: A·X = B.
  const TValueMatrix& a = system_.A();
  for (std::size_t i = 0; i < 3; ++i) {
    double sum = 0;
    for (std::size_t j = 0; j < 3; ++j)
      sum += a(i, j).real * system_.X()[j].real;
    EXPECT_NEAR(sum, system_.B()[i].real, 1e-12);
  }
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(LinearSystemTest, TheInverseTimesTheMatrixIsTheIdentity) {
  const std::string equations = "2 p + q - r - 8, -3 p - q + 2 r + 11, -2 p + q + 2 r + 3";
  const std::vector<std::string> lines = Show("p,q,r", equations, TSystemResult::Inverse);
  ASSERT_TRUE(shown_);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Inverse  matrix :");
  double inverse[3][3];
  for (int r = 0; r < 3; ++r) {
    std::size_t position = 0;
    for (int c = 0; c < 3; ++c) {
      const std::string& line = lines[static_cast<std::size_t>(r) + 1];
      const std::size_t end = line.find("   ", position);
      inverse[r][c] = std::stod(line.substr(position, end - position));
      position = end + 3;
    }
  }
  const double a[3][3] = {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      double sum = 0;
      for (int k = 0; k < 3; ++k)
        sum += inverse[r][k] * a[k][c];
      EXPECT_NEAR(sum, r == c ? 1 : 0, 1e-14) << r << "," << c;
    }
  }
  Show("p,q,r", equations, TSystemResult::Determinant);
  ASSERT_TRUE(shown_);
  EXPECT_NEAR(system_.D().real, -1, 1e-14);
  EXPECT_EQ(Show("p,q,r", "2 p - 4, q + 3 p - 9, r - q"),
            (std::vector<std::string>{"Solution:", "p = 2", "q = 3", "r = 3"}));
}

TEST_F(LinearSystemTest, OnlyLinearSquareSystemsAreBuilt) {
  const struct {
    const char* variables;
    const char* equations;
    const char* message;  // null when the system solves
  } rows[] = {
      {"x,y", "x*y, y", "System of equations is not linear"},
      {"x,y", "x/2 - 1, y", nullptr},
      {"x,y", "2/x, y", "System of equations is not linear"},
      {"x,y", "x^2, y", "System of equations is not linear"},
      {"x,y", "sin(x), y", "System of equations is not linear"},
      {"x,y", "x = 1, y", "Cannot set value for protected expression :  x"},
      {"x,y", "3 y - x, 2 x", nullptr},
      {"x,y", "x + y, x - y, x", "Number of variables do not corespond with number of equations"},
      {"x,y,z", "x + y, x - y", "Number of variables do not corespond with number of equations"},
      {"x,y", "x + w, y", "Undefined variable :  w"},
      {"x,y", "x +, y", "Syntax error : x+"},
      {"x,x", "x, x", "Identifier already exists :  x"},
      {"x,\r\n y", "3 x\r\n + 2 y - 1,\n y", nullptr},  // memos may span lines
  };
  for (const auto& row : rows) {
    const std::vector<std::string> results = Show(row.variables, row.equations);
    if (row.message == nullptr) {
      EXPECT_TRUE(shown_) << row.equations;
      EXPECT_FALSE(system_.ErrorFlag());
    } else {
      EXPECT_FALSE(shown_) << row.equations;
      EXPECT_TRUE(system_.ErrorFlag());
      EXPECT_EQ(results, std::vector<std::string>{row.message}) << row.equations;
    }
  }
  EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(LinearSystemTest, AComplexSystemIsComplexThroughout) {
  const std::string variables = "a,b";
  const std::string equations = "complex(0,1) a + b - 1, a - b";
  EXPECT_EQ(
      Show(variables, equations, TSystemResult::InitialMatrix),
      (std::vector<std::string>{"Initial matrix:",
                                "Complex(0.00000000000000000E+0, 1.00000000000000000E+0)   "
                                "Complex(1.00000000000000000E+0, 0.00000000000000000E+0)   ",
                                "Complex(1.00000000000000000E+0, 0.00000000000000000E+0)   "
                                "Complex(-1.00000000000000000E+0, 0.00000000000000000E+0)   "}));
  EXPECT_EQ(Show(variables, equations, TSystemResult::RightPart),
            (std::vector<std::string>{"Right part:", "Complex(1, 0)", "Complex(0, 0)"}));
  EXPECT_EQ(
      Show(variables, equations),
      (std::vector<std::string>{"Solution:", "a = Complex(0.5, -0.5)", "b = Complex(0.5, -0.5)"}));
}

TEST_F(LinearSystemTest, ATinyDeterminantIsRefusedUntilTheToleranceIsLowered) {
  // No constant term next to the tiny coefficients, which f(e_j) - f(0) would cancel.
  const std::string equations = "1e-10 x - 1e-10, 1e-10 y - 2e-10";
  EXPECT_TRUE(Show("x,y", equations).empty());
  EXPECT_FALSE(shown_);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"System is bad conditioned"});
  EXPECT_TRUE(Show("x,y", equations, TSystemResult::Inverse).empty());
  EXPECT_EQ(prompt_.messages.size(), 2u) << "one message for the whole inverse";
  // The matrix itself is shown whatever its determinant.
  EXPECT_TRUE(system_.Show(TSystemResult::InitialMatrix));

  tolerance_ = 1e-30;
  EXPECT_EQ(Show("x,y", equations), (std::vector<std::string>{"Solution:", "x = 1", "y = 2"}));
  EXPECT_EQ(Show("x,y", equations, TSystemResult::Determinant),
            (std::vector<std::string>{"Determinant = 1E-20"}));
  // A setting that is no positive number means the default tolerance.
  tolerance_ = -1;
  EXPECT_FALSE(system_.Show(TSystemResult::Solution));
}

TEST_F(LinearSystemTest, ValuesThatAreNoNumbersAreRefusedWithAMessage) {
  EXPECT_TRUE(Show("x", "x + null").size() == 1) << "the evaluator's own message";
  EXPECT_FALSE(shown_);
  // A constant equation of no number: the arithmetic of the build refuses it.
  prompt_.messages.clear();
  EXPECT_TRUE(Show("x", "null").empty());
  EXPECT_FALSE(shown_);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Incorrect real or complex type"});
}

TEST_F(LinearSystemTest, TooManyVariablesAreRefusedBeforeAnyEvaluation) {
  std::string variables;
  std::string equations;
  for (std::size_t i = 1; i <= kMaxVariables + 1; ++i) {
    variables += (i > 1 ? "," : "") + ("v" + std::to_string(i));
    equations += (i > 1 ? "," : "") + ("v" + std::to_string(i));
  }
  EXPECT_EQ(Show(variables, equations), std::vector<std::string>{std::string(kTooManyVariables)});
  EXPECT_TRUE(system_.A().Size() == 0) << "nothing is built";
}

}  // namespace
}  // namespace linsys
