// Parsing: normalisation routines, the parse driver's checks, precedence, folding, sharing,
// flags, variable registration, runtime function definitions and the compile errors.
#include <gtest/gtest.h>

#include <string>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

struct NormalisedText {
  bool ok;
  std::string text;
  std::int32_t code;
  std::string message;
};

NormalisedText Spaces(const std::string& input, bool implicit) {
  TTalvekComplexEval eval;
  eval.ImplicitMultiplication = implicit;
  std::string text = input;
  const bool ok = eval.StergeSpatii(text);
  return {ok, text, eval.ErrorCode, eval.ErrorMessage};
}

TEST(Normaliser, BlanksAreDroppedOrBecomeMultiplication) {
  struct Case {
    const char* input;
    bool implicit;
    const char* output;
  };
  const Case cases[] = {
      {"x  +  y", false, "x+y"}, {"f (x)", false, "f(x)"}, {" 1 , 2 ", false, "1,2"},
      {"x y", true, "x*y"},      {"2 (3)", true, "2*(3)"}, {"(a) (b)", true, "(a)*(b)"},
      {"(a) b", true, "(a)*b"},  {"f (x)", true, "f*(x)"}, {"( a + b )", true, "(a+b)"},
      {"sin x", true, "sin*x"},  {"2\tx", true, "2*x"},    {"x -y", true, "x-y"},
  };
  for (const Case& c : cases) {
    const NormalisedText result = Spaces(c.input, c.implicit);
    EXPECT_TRUE(result.ok) << c.input;
    EXPECT_EQ(result.text, c.output) << c.input;
  }
}

TEST(Normaliser, RefusedBlanksAndBracesSayWhere) {
  const NormalisedText blank = Spaces("1+x y", false);
  EXPECT_FALSE(blank.ok);
  EXPECT_EQ(blank.code, -11);
  EXPECT_EQ(blank.message, "StergeSpatii-> UNKNOWN EXPRESSION: x'_'");

  const NormalisedText brace = Spaces("a{1}", false);
  EXPECT_EQ(brace.code, -11);
  EXPECT_EQ(brace.message, "StergeSpatii-> UNKNOWN EXPRESSION: a{");

  const NormalisedText groups = Spaces("(1) (2)", false);
  EXPECT_EQ(groups.code, -22);
}

TEST(Normaliser, OperatorCharactersReserveCommandSlots) {
  TTalvekComplexEval eval;
  eval.ImplicitMultiplication = true;
  std::string text = "a+b*c - d e";
  ASSERT_TRUE(eval.StergeSpatii(text));
  EXPECT_EQ(text, "a+b*c-d*e");
  EXPECT_EQ(eval.CommandCapacity, 4);
}

TEST(Normaliser, ExponentLiteralsBecomeConstantEntries) {
  TTalvekComplexEval eval;
  std::string text = "1.5e+3*xe-2+.5e1";
  ASSERT_TRUE(eval.FormatareaExponentei(text, false));
  EXPECT_EQ(text, "{0}*xe-2+{1}");
  ASSERT_EQ(eval.ListStr.size(), 2u);
  EXPECT_EQ(eval.ListStr[0].text, "(1.5e+3)");
  EXPECT_EQ(eval.ListStr[0].cells[0]->real, 1500);
  EXPECT_TRUE(eval.ListStr[0].fixed);
  EXPECT_FALSE(eval.ListStr[0].dependent);
  EXPECT_EQ(eval.ListStr[1].cells[0]->real, 5);

  std::string exported = "2.5e-3+1e4";
  ASSERT_TRUE(eval.FormatareaExponentei(exported, true));
  EXPECT_EQ(exported, "2.5*^-3+1*^4");

  std::string bad = "2*1e+x";
  EXPECT_FALSE(eval.FormatareaExponentei(bad, false));
  EXPECT_EQ(eval.ErrorCode, -11);
  EXPECT_EQ(eval.ErrorMessage, "FormatareaExponentei-> UNKNOWN EXPRESSION: 1e+x");

  std::string huge = "1e999";
  EXPECT_FALSE(eval.FormatareaExponentei(huge, false));
  EXPECT_EQ(eval.ErrorCode, -12);
}

TEST(Normaliser, DisplayCleanUpsKeepOnlyMeaningfulParentheses) {
  const std::pair<const char*, const char*> redundant[] = {
      {"((a+b))", "(a+b)"}, {"(x)+1", "x+1"}, {"sin((x))", "sin(x)"},
      {"(1e5)", "(1e5)"},   {"f(x)", "f(x)"}, {"(a*b)+c", "(a*b)+c"},
  };
  for (const auto& [in, out] : redundant) {
    EXPECT_EQ(TTalvekComplexEval::StripRedundantParentheses(in), out) << in;
  }
  const std::pair<const char*, const char*> signs[] = {
      {"-(-x)", "x"},         {"a-(+b)", "a-b"},  {"a+(-b*c)", "a-b*c"},
      {"-(-a+b)", "-(-a+b)"}, {"((x+1))", "x+1"},
  };
  for (const auto& [in, out] : signs)
    EXPECT_EQ(TTalvekComplexEval::CleanSigns(in), out) << in;
}

// ---- The parse driver ---------------------------------------------------------------------------

struct Parsed {
  std::int32_t code;
  std::string message;
  std::int32_t results;
};

Parsed Parse(const std::string& text, const std::string& names = "x,y") {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics(text, names, false);
  return {eval.ErrorCode, eval.ErrorMessage, eval.ResultCount};
}

TEST(Parser, RefusedTextsReportTheirCodeAndText) {
  struct Case {
    const char* text;
    std::int32_t code;
    const char* message;
  };
  const Case cases[] = {
      {"(1+2)(3)", -22, "VerifySyntaxSemanticsRule-> PARANTHESES SYNTAX ERROR"},
      {"(1+2", -2, "VerifySyntaxSemanticsRule-> PARANTHESES SYNTAX ERROR"},
      {"1+2)", -2, "VerifySyntaxSemanticsRule-> PARANTHESES SYNTAX ERROR"},
      {"", -4, "VerifySyntaxSemanticsRule-> MATH EXPRESSION IS EMPTY"},
      {"   ", -4, "VerifySyntaxSemanticsRule-> MATH EXPRESSION IS EMPTY"},
      {"f(1)", -38, "VerifySyntaxSemanticsRule-> FUNCTION WAS NOT IMPLIMENTED : f"},
      {"5=3", -21, "EvalExpres-> PROTECTED EXPRESSION ON =: 5"},
      {"sqrt(4,5)", 7, "Invalid number of function arguments for: SQRT"},
      {"z+1", -32, "ExpresieSemanticCorecta->  UNKNOWN VARIABLE: z"},
      {"2x", -7, "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : 2x"},
      {"2(3)", -31, "ExpresieSemanticCorecta->  UNKNOWN FUNCTION: 2"},
      {"x(3)", -31, "ExpresieSemanticCorecta->  UNKNOWN FUNCTION: x"},
      {"1+", -33, "Compile-> SYNTAX ERROR :1+"},
      {"f()", -33, "Compile-> SYNTAX ERROR :"},
      {"*2", -33, "Compile-> SYNTAX ERROR :*2"},
      {"1,,2", -34, "ParseForward-> SYNTAX ERROR : ,,"},
      {"(x)y", -33, "Compile-> SYNTAX ERROR :(x)y"},
      {"directedinfinity(2)", 76, "Invalid number of function arguments for: DIRECTEDINFINITY"},
      {"while(x)", 42, "Invalid number of function arguments for: WHILE"},
      {"sin", 4, "Invalid number of function arguments for: SIN"},
      {"pi(2)", 1, "Invalid number of function arguments for: PI"},
      {"true+1", -22, "EvalExpres-> EXCEPTION ERROR ON True + 1 : Incorrect real or complex type"},
      {"while(ls(x,1),2)", 42,
       "ValFunct-> while FUNCTION ARGUMENTS ESCAPE DEFINITION DOMIAN : WHILE LOOP IS UNUTILITY"},
  };
  for (const Case& c : cases) {
    const Parsed parsed = Parse(c.text);
    EXPECT_EQ(parsed.code, c.code) << c.text;
    EXPECT_EQ(parsed.message, c.message) << c.text;
    EXPECT_EQ(parsed.results, 0) << c.text;
  }
}

TEST(Parser, FoldingFailuresCarryTheOperandsAndKind) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("1/0", "", false);
  EXPECT_EQ(eval.ErrorCode, -26);
  EXPECT_EQ(eval.MathErrorKind, 4);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieExprConst-> EZeroDivide->Attempt to divide by zero : 1 / 0");

  eval.VerifySyntaxSemantics("sqrt(-4)", "", false);
  EXPECT_EQ(eval.ErrorCode, 7);
  EXPECT_EQ(eval.MathErrorKind, 5);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieFunctie-> EInvalidOp->Processor encountered an undefined instruction : "
            "sqrt( -4) ");
}

TEST(Parser, EveryFailureFiresTheHandlerAndLeavesTheObjectEmpty) {
  TTalvekComplexEval eval;
  int fired = 0;
  eval.OnParseError = [&](TTalvekComplexEval&) { ++fired; };
  eval.VerifySyntaxSemantics("x+", "x", false);
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(eval.ResultCount, 0);
  EXPECT_EQ(eval.VariableCount, 0);
  EXPECT_EQ(eval.CommandCount, 0);
  TEvalValue result;
  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, -1);
}

double FoldedValue(const std::string& text, bool currency = false) {
  TTalvekComplexEval eval;
  eval.SetCurrencyMode(currency);
  eval.VerifySyntaxSemantics(text, "", false);
  EXPECT_FALSE(eval.ErrorFlag) << text << ": " << eval.ErrorMessage;
  EXPECT_EQ(eval.CommandCount, 0) << text;
  return eval.ErrorFlag ? 0 : eval.ResultCells[0]->AsDouble();
}

TEST(Parser, PrecedenceAndAssociativityFollowTheLanguage) {
  const std::pair<const char*, double> cases[] = {
      {"2^3^2", 512},     {"-2^2", -4},      {"2^-1", 0.5},         {"2*3+4", 10},
      {"2+3*4", 14},      {"10-4-3", 3},     {"64/4/2", 8},         {"-3*-2", 6},
      {"2^-1^2", 0.5},    {"--3", 3},        {"+-+3", -3},          {"(2+3)*4", 20},
      {"2*(3+4)^2", 98},  {"8/2^2", 2},      {"-(-(-2))", -2},      {"1e2+1.5E1", 115},
      {"(-8)^(1/3)", -2}, {"(-8)^(2/3)", 4}, {"power(-8,1/3)", -2}, {"2^(1/2)*2^(1/2)", 2},
  };
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(FoldedValue(text), value) << text;
}

TEST(Parser, ConstantsFoldToTheirValues) {
  EXPECT_DOUBLE_EQ(FoldedValue("Pi"), FoldedValue("PI"));
  EXPECT_DOUBLE_EQ(FoldedValue("zero"), 1e-13);
  EXPECT_DOUBLE_EQ(FoldedValue("degree*180"), FoldedValue("pi"));
  EXPECT_DOUBLE_EQ(FoldedValue("e"), std::exp(1.0));
  EXPECT_TRUE(std::isinf(FoldedValue("infinity")));
  EXPECT_TRUE(std::isnan(FoldedValue("nan")));
  EXPECT_TRUE(std::isnan(FoldedValue("indeterminate")));
  EXPECT_DOUBLE_EQ(FoldedValue("directedinfinity(-1)"), -HUGE_VAL);
}

TEST(Parser, CurrencyModeReadsLiteralsAsCurrency) {
  TTalvekComplexEval eval;
  eval.SetCurrencyMode(true);
  eval.VerifySyntaxSemantics("0.1+0.2", "", false);
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.ResultCells[0]->kind, vkCurrency);
  EXPECT_EQ(eval.ResultCells[0]->currency, 3000);
}

TEST(Parser, OnlyWhatDependsOnVariablesBecomesCommands) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("2*3+x", "x,y", false);
  EXPECT_EQ(eval.CommandCount, 1);
  EXPECT_TRUE(eval.LinearExpression);
  EXPECT_EQ(eval.MainCommands, PComand{1});
  EXPECT_TRUE(eval.ResultDependent);
  EXPECT_FALSE(eval.ResultFixed);

  eval.VerifySyntaxSemantics("x*y", "x,y", false);
  EXPECT_FALSE(eval.LinearExpression);
  eval.VerifySyntaxSemantics("2*x+y", "x,y", false);
  EXPECT_TRUE(eval.LinearExpression);
  eval.VerifySyntaxSemantics("x/y", "x,y", false);
  EXPECT_FALSE(eval.LinearExpression);
  eval.VerifySyntaxSemantics("sin(x)", "x,y", false);
  EXPECT_FALSE(eval.LinearExpression);
}

TEST(Parser, IdenticalSubexpressionsCompileOnceExceptRandom) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("sin(x)+sin(x)", "x", false);
  EXPECT_EQ(eval.CommandCount, 2);
  EXPECT_EQ(eval.MainCommands, (PComand{1, 1, 2})) << "a shared entry's commands run each time";

  eval.VerifySyntaxSemantics("random(1)+random(1)", "", false);
  EXPECT_EQ(eval.CommandCount, 3);

  eval.VerifySyntaxSemantics("-(-x)", "x", false);
  EXPECT_TRUE(eval.MainCommands.empty());
  EXPECT_EQ(eval.ResultCells[0], eval.VarVect[0].value) << "double negation is x itself";
}

TEST(Parser, TopLevelCommasMakeAVector) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("1,2,3", "", false);
  EXPECT_EQ(eval.ResultCount, 3);
  EXPECT_EQ(eval.ResultCells[2]->real, 3);
  EXPECT_TRUE(eval.ResultFixed);
  EXPECT_TRUE(eval.MainCommands.empty());
}

TEST(Parser, KeepsTheTextAsTypedOrCleanedOnRequest) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("  X + (-(-Y)) ", "x,y", false);
  EXPECT_EQ(eval.MathExpressionString, "  X + (-(-Y)) ");
  eval.SetOriginalMathExpressionString(false);
  eval.VerifySyntaxSemantics("  X + (-(-Y)) ", "x,y", false);
  EXPECT_EQ(eval.MathExpressionString, "x+y");
}

TEST(ParserVariables, NameListsRegisterInOrder) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("a+b", " a , b ", false);
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.GetVariableName(1), "a");
  EXPECT_EQ(eval.GetVariableName(2), "b");

  const std::pair<const char*, std::int32_t> refused[] = {
      {"x,,y", -7}, {",x", -7}, {"pi", -8}, {"x,X", -9}, {"x y", -7},
  };
  for (const auto& [names, code] : refused) {
    eval.VerifySyntaxSemantics("1", names, false);
    EXPECT_EQ(eval.ErrorCode, code) << names;
  }
  eval.VerifySyntaxSemantics("1", "x,,y", false);
  EXPECT_EQ(eval.ErrorMessage, "IsValidIdentName-> NOT VALID PASCAL IDENTIFIER : ,y");
  eval.VerifySyntaxSemantics("x", "x,", false);
  EXPECT_FALSE(eval.ErrorFlag) << "a trailing comma is ignored";
}

TEST(ParserVariables, AutomaticModeDeclaresUnknownNamesRightOperandFirst) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsAutoVar("a+b*c, d");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.GetVariableName(1), "c");
  EXPECT_EQ(eval.GetVariableName(2), "b");
  EXPECT_EQ(eval.GetVariableName(3), "a");
  EXPECT_EQ(eval.GetVariableName(4), "d");

  eval.VerifySyntaxSemanticsAutoVar("y=1/3");
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.GetVariableName(1), "y");
  EXPECT_EQ(eval.CommandCount, 1);
}

TEST(ParserVariables, FixedVariablesRefuseAssignment) {
  TTalvekComplexEval eval;
  eval.FixDigitEndingNames = true;
  eval.VerifySyntaxSemantics("c2=1", "c2,c", false);
  EXPECT_EQ(eval.ErrorCode, -21);
  eval.VerifySyntaxSemantics("c=1", "c2,c", false);
  EXPECT_FALSE(eval.ErrorFlag);

  TEvalValue constant = TEvalValue::Real(2);
  eval.VerifySyntaxSemanticsPointerVar("k*3", {{"k", &constant, true}}, false);
  ASSERT_FALSE(eval.ErrorFlag);
  EXPECT_TRUE(eval.ResultFixed);
  EXPECT_EQ(eval.CommandCount, 1);
  eval.VerifySyntaxSemanticsPointerVar("k=3", {{"k", &constant, true}}, false);
  EXPECT_EQ(eval.ErrorCode, -21);
}

TEST(ParserFunctions, DefinitionsAreCheckedAndRecorded) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("f(x)~x^2, f(3)", "x", false);
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.ResultCount, 2);
  ASSERT_EQ(eval.GetRunTimeFunctionCount(), 1);
  EXPECT_EQ(eval.GetRunTimeFunctionText(0), "f(x)~x^2");
  EXPECT_EQ(eval.FuncArray[0].parameterCount, 1);
  EXPECT_EQ(eval.GetHelpText(103), "RUNTIME FUNCTION 'F' WITH 1 PARAMETERS IS DEFINED BY USER");

  struct Case {
    const char* text;
    std::int32_t code;
    const char* message;
  };
  const Case cases[] = {
      {"f(x,x)~x", -41, "EvalExpres-> INVALID ARGUMENT SYNTAX FOR : f(x,x) : x"},
      {"f(2)~2", -40, "EvalExpres-> INVALID ARGUMENT NAME FOR : f(2) : 2"},
      {"sin(x)~x", -21, "EvalExpres-> PROTECTED EXPRESSION ON ~: sin(x)"},
      {"f(x)~x, f(x)~x+1", -37, "EvalExpres-> THIS FUNCTION WAS DEFINED ON ~ : f(x)"},
      {"x~1", -36, "EvalExpres-> INVALID FUNCTION NAME ON ~ : x"},
  };
  for (const Case& c : cases) {
    eval.VerifySyntaxSemantics(c.text, "x,y", false);
    EXPECT_EQ(eval.ErrorCode, c.code) << c.text;
    EXPECT_EQ(eval.ErrorMessage, c.message) << c.text;
  }
}

TEST(ParserFunctions, RecursionAndCallsBeforeTheDefinitionCompile) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("Fact(5), Fact(n)~if(eq(n,0),1,n*Fact(n-1))", "n", false);
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.GetRunTimeFunctionCount(), 1);
  EXPECT_EQ(eval.IfArray.size(), 1u);
  EXPECT_EQ(eval.FuncArray[0].firstCommand, 1);
}

TEST(ParserLimits, DeepNestingAndLongTextsCompileWithoutRecursion) {
  const int depth = 100000;
  std::string nested = std::string(depth, '(') + "x" + std::string(depth, ')');
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics(nested, "x", false);
  EXPECT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;

  std::string signs = std::string(depth, '-') + "x";
  eval.VerifySyntaxSemantics(signs, "x", false);
  EXPECT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;

  std::string calls;
  for (int i = 0; i < depth; ++i)
    calls += "sin(";
  calls += "x" + std::string(depth, ')');
  eval.VerifySyntaxSemantics(calls, "x", false);
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.CommandCount, depth);

  std::string chain = "x";
  for (int i = 0; i < depth; ++i)
    chain += "+x";
  eval.VerifySyntaxSemantics(chain, "x", false);
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(eval.CommandCount, depth);
  EXPECT_EQ(eval.MainCommands.size(), static_cast<std::size_t>(depth));

  eval.VerifySyntaxSemantics(chain + "=1", "x", false);
  EXPECT_EQ(eval.ErrorCode, -21);
}

}  // namespace
}  // namespace evaluator
