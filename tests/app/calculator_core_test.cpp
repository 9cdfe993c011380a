// The calculator core: the two passes, the retry block, result lines, the message tables, the
// settings, the value comparison, and the equivalence test.
#include "app/calculator_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/equivalence.h"
#include "app/error_messages.h"
#include "app/help_text.h"
#include "app/value_compare.h"
#include "support/scripted_prompt.h"

namespace app {
namespace {

using evaluator::TEvalValue;

constexpr const char* kDefaultDefinitions =
    "f(x)~Sin(x),\r\nFact(n)~if(eq(n,0),1,n*Fact(n-1)),\r\ny=1/3";

class CalculatorCoreTest : public ::testing::Test {
 protected:
  std::vector<std::string> Show(const std::string& expressions,
                                const std::string& definitions = kDefaultDefinitions) {
    core_.DefinitionsPass(definitions);
    core_.ExpressionsPass(expressions, definitions);
    return core_.Results();
  }
  TScriptedPrompt prompt_;
  TCalculatorCore core_{prompt_};
};

using Lines = std::vector<std::string>;

TEST_F(CalculatorCoreTest, StartsWithTheInternalConstantsAndDefaultSettings) {
  EXPECT_EQ(core_.FunctionVariable, "x");
  EXPECT_EQ(core_.AppFunctions.Table().size(), 38u);
  ASSERT_EQ(core_.ConstantsEval->VariableCount, 5);
  EXPECT_EQ(core_.ConstantsEval->GetVariableName(3), "step");
  EXPECT_EQ(ValueToText(*core_.ConstantsEval->VarVect[2].value), "0.1");
  EXPECT_TRUE(core_.ConstantsEval->FixLetterEndingNames);
  EXPECT_EQ(core_.GetSetting(stFrom), -100);
  EXPECT_EQ(core_.GetSetting(stColWidth), 150);
  EXPECT_TRUE(std::isnan(core_.GetSetting(6)));
}

TEST_F(CalculatorCoreTest, ExpressionsUseDefinitionsConstantsAndTheFunctionVariable) {
  EXPECT_EQ(Show("y*3, f(pi/2), Fact(5), step*10"), (Lines{"1", "1", "120", "1"}));
  EXPECT_EQ(Show("x"), (Lines{"NAN"})) << "the function variable holds NaN";
  EXPECT_EQ(Show("1+\r\n2"), (Lines{"3"})) << "lines join without a separator";
  EXPECT_EQ(Show("2*y, 3", ""),
            (Lines{"Execution error :  incorrect real or complex type for operator '*'"}))
      << "unknown names become new variables holding Null";
  EXPECT_EQ(Show("1, 2", ""), (Lines{"1", "2"})) << "an empty definitions pane reads as nan";
}

TEST_F(CalculatorCoreTest, RetryBlockValueIsNeverShown) {
  // Calls of definitions-pane functions are parsed again inside a leading block.
  const Lines shown = Show("f(0), Fact(3), 7");
  EXPECT_EQ(shown, (Lines{"0", "6", "7"}));
  EXPECT_EQ(core_.ExpressionsEval->ResultCount, 4);
  EXPECT_EQ(Show("g(1)"), (Lines{"Defined function was not implimented :  g"}));
}

TEST_F(CalculatorCoreTest, CurrencyFormatShowsCurrencyOrNotCurrency) {
  core_.CurrencyFormat = true;
  EXPECT_EQ(Show("1/3, 2*1.5, sin(1), true"),
            (Lines{"0.3333", "3", "Not Currency", "Not Currency"}));
}

TEST_F(CalculatorCoreTest, FailuresShowTheMessageOrError) {
  EXPECT_EQ(Show("1/0"), (Lines{"Division by 0"}));
  EXPECT_EQ(Show("z=0, 1/z"), (Lines{"Division by 0 "})) << "the run-time text ends in a blank";
  core_.ShowErrorMessages = false;
  EXPECT_EQ(Show("1/0"), (Lines{"ERROR"}));
  EXPECT_EQ(Show("z=0, 1/z"), (Lines{"ERROR"}));
}

TEST_F(CalculatorCoreTest, BadDefinitionsOrFunctionVariableStopTheExpressions) {
  core_.DefinitionsPass("y=");
  EXPECT_TRUE(core_.DefinitionsError);
  EXPECT_EQ(core_.Results(), (Lines{"Syntax error : y="}));
  EXPECT_TRUE(core_.ExpressionVariables.empty());
  core_.ExpressionsPass("1", "y=");
  EXPECT_EQ(prompt_.messages.back(), "Please corect user definitions");

  const std::string refused = "pi";
  core_.DefinitionsPass(kDefaultDefinitions, &refused);
  EXPECT_EQ(core_.FunctionVariable, "");
  EXPECT_EQ(prompt_.messages.back(), "Please correct function varable name");
  const std::string constant = "step";
  core_.SetFunctionVariable(constant);
  EXPECT_EQ(core_.FunctionVariable, "") << "a constant's name cannot be the variable";
  const std::string good = " t ";
  core_.DefinitionsPass("g(t)~t*2", &good);
  EXPECT_EQ(core_.FunctionVariable, "t");
  EXPECT_EQ(core_.UserFunctionsText, "g(t)~t*2");
}

TEST_F(CalculatorCoreTest, SettingsStoreTheDefaultForRefusedValues) {
  struct Case {
    int index;
    double value;
    double stored;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {stStep, 0, 0.1},
      {stStep, -1, 0.1},
      {stStep, 1e-14, 0.1},
      {stStep, 0.5, 0.5},
      {stColWidth, 5, 150},
      {stColWidth, 199.9, 199},
      {stColWidth, 201, 150},
      {stColWidth, nan, 150},
      {stColWidth, 10, 10},
      {stDetTolerance, -1, 1e-16},
      {stDetTolerance, 1e-9, 1e-9},
      {stFrom, HUGE_VAL, -100},
      {stTo, -5, -5},
  };
  for (const Case& c : cases) {
    core_.SetSetting(c.index, c.value);
    EXPECT_EQ(core_.GetSetting(c.index), c.stored) << c.index << " " << c.value;
  }
}

TEST(ValueCompare, RealsAndValuesFollowTheApplicationsRules) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(RealsEqual(1, 1 + 1e-15));
  EXPECT_FALSE(RealsEqual(1, 1 + 1e-12));
  EXPECT_TRUE(RealsEqual(nan, nan));
  EXPECT_FALSE(RealsEqual(nan, 1));
  EXPECT_TRUE(RealsEqual(HUGE_VAL, HUGE_VAL));
  EXPECT_FALSE(RealsEqual(HUGE_VAL, -HUGE_VAL));
  EXPECT_FALSE(RealsEqual(1, -1));
  EXPECT_TRUE(ValuesEqual(TEvalValue::Complex(1, nan), TEvalValue::Complex(1, nan)));
  EXPECT_FALSE(ValuesEqual(TEvalValue::Real(1), TEvalValue::CurrencyScaled(10000)));
  EXPECT_TRUE(ValuesEqual(TEvalValue::Boolean(true), TEvalValue::Boolean(true)));
  EXPECT_FALSE(ValuesEqual(TEvalValue::Null(), TEvalValue::Null()));
}

TEST(ErrorMessages, CodesMapToTheUsersWords) {
  evaluator::TTalvekComplexEval eval;
  auto parse = [&](std::int32_t code, std::int32_t kind, const std::string& text) {
    eval.ErrorCode = code;
    eval.MathErrorKind = kind;
    eval.ErrorMessage = text;
    return std::pair{ParseErrorMessage(eval), ExecuteErrorMessage(eval)};
  };
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(parse(7, -1, "Invalid number of function arguments for: SQRT"),
            (P{"Invalid number of function arguments for: SQRT",
               "Invalid number of function arguments for: SQRT"}));
  EXPECT_EQ(parse(7, 5, "ExceptieMatematica-> X : Sqrt( -4) ").first,
            "Invalid value for SQRT :  sqrt( -4)  : InvalidOp");
  EXPECT_EQ(parse(-1, -1, "x"),
            (P{"No math expression was parsed", "No math expression was parsed"}));
  EXPECT_EQ(parse(-2, -1, "A-> B"), (P{"Mismatched parenthesis", "A-> B"}));
  EXPECT_EQ(parse(-23, 0, "E-> X : Bad"), (P{"E-> X : Bad", "Execution error :  bad"}));
  EXPECT_EQ(parse(-26, 4, "t"), (P{"Division by 0", "Division by 0 "}));
  EXPECT_EQ(parse(-26, 1, "E-> K : 1 / 2").first, "Invalid value for / :  1 / 2 : Overflow");
  EXPECT_EQ(parse(-42, 0, "FUNCTION STACK IS OVERFLOW"),
            (P{"FUNCTION STACK IS OVERFLOW", "Stack overflow"}));
  EXPECT_EQ(parse(-99, 0, "raw"), (P{"raw", "raw"}));

  const std::string longDetail(300, 'A');
  const std::string cut = parse(-33, -1, "Compile-> SYNTAX ERROR :" + longDetail).first;
  // Regression: the detail kept " : " plus 256 characters; " : " counts within the 256.
  EXPECT_EQ(cut, "Syntax error : " + std::string(253, 'a'));
  EXPECT_EQ(parse(-33, -1, "Compile-> SYNTAX ERROR :" + std::string(253, 'A')).first, cut);
}

TEST(ErrorMessages, ApplicationFunctionsAreNamedByNumber) {
  TScriptedPrompt prompt;
  TCalculatorCore core(prompt);
  core.DefinitionsPass("");
  core.ExpressionsPass("Gamma(0)", "");
  EXPECT_EQ(core.Results().at(0).rfind("Invalid value for GAMMA", 0), 0u) << core.Results().at(0);
  core.ExpressionsPass("Gamma(1,2)", "");
  EXPECT_EQ(core.Results(), (Lines{"Invalid number of function arguments for: GAMMA"}));
}

TEST(Equivalence, VerdictsByMajorityOfSampledPoints) {
  TScriptedPrompt prompt;
  TEquivalenceTest test(prompt);
  EXPECT_EQ(test.Verdict("sin(x)^2+cos(x)^2", "1"), "Yes");
  EXPECT_EQ(test.Verdict("2", "1+1"), "Yes");
  EXPECT_EQ(test.Verdict("2", "3"), "No");
  EXPECT_EQ(test.Verdict("2 x", "x+x"), "Yes") << "implicit multiplication is on";
  EXPECT_TRUE(prompt.messages.empty());

  EXPECT_EQ(test.Verdict("2+", "3"), "Indeterminate");
  EXPECT_EQ(prompt.messages.back(), "First expression -> Syntax error : 2+");
  EXPECT_EQ(test.Verdict("1", "1,2"), "Indeterminate");
  EXPECT_EQ(prompt.messages.back(), "Second expression -> Please insert only one expression");
}

TEST(HelpText, NumbersEveryCodeTheEvaluatorKnows) {
  evaluator::TTalvekComplexEval plain;
  const std::vector<std::string> lines = HelpLines(plain);
  ASSERT_EQ(lines.size(), 12u + 103u + 2u);
  EXPECT_EQ(lines[lines.size() - 3], "102.  FUNCTION 'ISCURRENCY' TESTS CURRENCY TYPE");
  EXPECT_EQ(lines[12 + 78], "78.  FUNCTION 'SEILING' IS EQUIVALENT WITH OBJECT PASCAL 'SEIL'");
  EXPECT_EQ(lines[2], "Clear -> [Esc]");
  EXPECT_EQ(lines[4], "Redo ->  [F2]");
}

// Regression: definitions made only of function definitions made every expression fail.
TEST_F(CalculatorCoreTest, FunctionOnlyDefinitionsLeaveTheCalculatorUsable) {
  EXPECT_EQ(Show("1+1, sq(3)", "sq(u)~u*u"), (Lines{"2", "9"}));
  EXPECT_EQ(Show("Fact(5), f(0)", "f(x)~Sin(x), Fact(n)~if(eq(n,0),1,n*Fact(n-1))"),
            (Lines{"120", "0"}));
  EXPECT_EQ(Show("sq(4)", "sq(u)~u*u, pi"), (Lines{"16"}));
  EXPECT_EQ(Show("g(t)~t*2", "sq(u)~u*u"), (Lines{"Null"}));
  // The expressions use functions the definitions pane defines: the hidden retry block.
  EXPECT_EQ(Show("ev(10), od(7), gcd(84,36)",
                 "ev(n)~if(eq(n,0),1,od(n-1)), od(n)~if(eq(n,0),0,ev(n-1)),"
                 "gcd(a,b)~if(eq(b,0),a,gcd(b,mod(a,b)))"),
            (Lines{"1", "1", "12"}));
  EXPECT_TRUE(prompt_.messages.empty());
}

}  // namespace
}  // namespace app
