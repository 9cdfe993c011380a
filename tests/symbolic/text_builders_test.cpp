// Text builders: their folding rules in order, 32-bit integer folding and its fallback, the
// number predicates, whole-token search, and the sign clean-up the builders rely on.
#include <gtest/gtest.h>

#include <string>

#include "evaluator/complex_eval.h"
#include "symbolic/text_builders.h"

namespace symbolic {
namespace {

struct BuilderCase {
  std::string result;
  const char* expected;
};

void ExpectAll(std::initializer_list<BuilderCase> cases) {
  int row = 0;
  for (const BuilderCase& c : cases)
    EXPECT_EQ(c.result, c.expected) << "row " << row++;
}

TEST(TextBuilders, SqrtLnAndPowerFoldTheirSpecialOperands) {
  ExpectAll({{MakeSqrt("-0"), "0"},
             {MakeSqrt("1"), "1"},
             {MakeSqrt("-(-x)"), "sqrt(x)"},
             {MakeLn("+0"), "-infinity"},
             {MakeLn("EXP(1)"), "1"},
             {MakeLn("(x)"), "ln(x)"},
             {MakePower("0", "0"), "(0^0)"},
             {MakePower("x", "0"), "1"},
             {MakePower("x+1", "1"), "x+1"},
             {MakePower("0", "x"), "0"},
             {MakePower("1", "x"), "1"},
             {MakePower("infinity", "0"), "(infinity)^(0)"},
             {MakePower("1", "-infinity"), "(1)^(-infinity)"},
             {MakePower("x", "y"), "(x)^(y)"},
             {MakePower("x", "y", false), "power(x,y)"}});
}

TEST(TextBuilders, ProductAppliesItsRulesInOrder) {
  ExpectAll({{MakeProduct("1", "x+y"), "x+y"},
             {MakeProduct("x", "1"), "x"},
             {MakeProduct("-1", "x+1"), "-(x+1)"},
             {MakeProduct("x", "-1"), "-(x)"},
             {MakeProduct("-1", "-1"), "-(-1)"},
             {MakeProduct("x", "-0"), "0"},
             {MakeProduct("0", "infinity"), "(0)*(infinity)"},
             {MakeProduct("+6", "-7"), "-42"},
             {MakeProduct("x", "X"), "(x)^(2)"},
             {MakeProduct("x", "x", false), "power(x,2)"},
             {MakeProduct("-x", "-sin(y)"), "(x)*(sin(y))"},
             {MakeProduct("-x+1", "-y"), "(-x+1)*(-y)"},
             {MakeProduct("2", "x"), "(2)*(x)"}});
}

TEST(TextBuilders, QuotientAppliesItsRulesInOrder) {
  ExpectAll({{MakeQuotient("0", "0"), "(0/0)"},
             {MakeQuotient("0", "infinity"), "(0)/(infinity)"},
             {MakeQuotient("0", "x"), "0"},
             {MakeQuotient("x", "1"), "x"},
             {MakeQuotient("infinity", "infinity"), "(infinity)/(infinity)"},
             {MakeQuotient("sin(x)", "SIN(x)"), "1"},
             {MakeQuotient("-x", "x"), "-1"},
             {MakeQuotient("x*y", "-x*y"), "-1"},
             {MakeQuotient("-x+1", "x+1"), "(-x+1)/(x+1)"},
             {MakeQuotient("xy", "y"), "(xy)/(y)"},
             {MakeQuotient("-6", "3"), "-2"},
             {MakeQuotient("7", "2"), "(7)/(2)"},
             {MakeQuotient("5", "0"), "(5)/(0)"}});
}

TEST(TextBuilders, SumAndDifferenceFoldZerosIntegersAndEqualOperands) {
  ExpectAll({{MakeSum("0", "x"), "x"},
             {MakeSum("x", "0"), "x"},
             {MakeSum("2", "-3"), "-1"},
             {MakeSum("x", "x"), "(2)*(x)"},
             {MakeSum("x", "y"), "(x)+(y)"},
             {MakeDifference("x", "x"), "0"},
             {MakeDifference("infinity", "infinity"), "(infinity)-(infinity)"},
             {MakeDifference("0", "x+1"), "-(x+1)"},
             {MakeDifference("x", "0"), "x"},
             {MakeDifference("5", "7"), "-2"},
             {MakeDifference("x", "y"), "(x)-(y)"}});
}

TEST(TextBuilders, IntegerFoldingOutsideThirtyTwoBitsKeepsTheBracketedForm) {
  ExpectAll({{MakeProduct("65536", "65536"), "(65536)*(65536)"},
             {MakeProduct("46340", "46340"), "2147395600"},
             {MakeSum("2147483647", "1"), "(2147483647)+(1)"},
             {MakeDifference("-2147483647", "1"), "-2147483648"},
             {MakeDifference("-2147483648", "1"), "(-2147483648)-(1)"},
             {MakeQuotient("-2147483648", "-1"), "(-2147483648)/(-1)"},
             {MakeSum("99999999999", "1"), "(99999999999)+(1)"}});
}

TEST(TextBuilders, EveryBuilderGivesNoTextForAMissingOperand) {
  EXPECT_EQ(MakeSqrt(""), "");
  EXPECT_EQ(MakeLn(""), "");
  for (const auto& [a, b] : {std::pair{"", "x"}, std::pair{"0", ""}}) {
    EXPECT_EQ(MakePower(a, b), "") << a << "|" << b;
    EXPECT_EQ(MakeProduct(a, b), "") << a << "|" << b;
    EXPECT_EQ(MakeQuotient(a, b), "") << a << "|" << b;
    EXPECT_EQ(MakeSum(a, b), "") << a << "|" << b;
    EXPECT_EQ(MakeDifference(a, b), "") << a << "|" << b;
  }
}

TEST(NumberTexts, PredicatesFollowTheNumberSyntax) {
  struct Case {
    const char* text;
    bool integer, decimal, number;
  };
  const Case cases[] = {
      {"12", true, true, true},    {"+1", true, true, true},       {"-0", true, true, true},
      {"+", false, false, false},  {"", false, false, false},      {"1.5", false, true, true},
      {".5", false, true, true},   {"1.2.3", false, false, false}, {"1-", false, false, false},
      {"1e5", false, false, true}, {"1.5e-3", false, false, true}, {"2e", false, false, true},
      {"e5", false, false, false}, {"1e5.0", false, false, false}, {"1E5", false, false, false},
      {"1e+", false, false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsIntegerText(c.text), c.integer) << c.text;
    EXPECT_EQ(IsDecimalText(c.text), c.decimal) << c.text;
    EXPECT_EQ(IsNumberText(c.text), c.number) << c.text;
  }
}

TEST(ContainsTokenTest, MatchesWholeTokensOnly) {
  struct Case {
    const char *name, *text;
    bool found;
  };
  const Case cases[] = {
      {"x", "max(x,1)", true}, {"x", "xy+1", false},   {"x", "exp(x)", true},
      {"x", "x", true},        {"x", "yx", false},     {"x", "xx+x", true},
      {"x", "f(x)'", true},    {"x", "", false},       {"", "x", false},
      {"x", "X", false},       {"ab", "aab~ab", true}, {"infinity", "-infinity", true}};
  for (const Case& c : cases) {
    EXPECT_EQ(ContainsToken(c.name, c.text), c.found) << c.name << " in " << c.text;
  }
}

TEST(CleanSigns, FoldsDoubledSignsOnlyWhereGroupingSurvives) {
  struct Case {
    const char *input, *output;
  };
  const Case cases[] = {{"-(-x)", "x"},
                        {"a-(+b)", "a-b"},
                        {"-(-a+b)", "-(-a+b)"},
                        {"a*-(-x*y)", "a*+x*y"},
                        {"a/-(-x)", "a/+x"},
                        {"-(-(2*x))", "2*x"},
                        // Removing these parentheses would regroup the term.
                        {"2-(-x)^2", "2-(-x)^2"},
                        {"a/-(-x*y)", "a/-(-x*y)"},
                        {"a^-(-x*y)", "a^-(-x*y)"}};
  for (const Case& c : cases) {
    EXPECT_EQ(evaluator::TTalvekComplexEval::CleanSigns(c.input), c.output) << c.input;
  }
  EXPECT_EQ(evaluator::TTalvekComplexEval::CleanSigns(MakeProduct("2", "x")), "2*x");
}

}  // namespace
}  // namespace symbolic
