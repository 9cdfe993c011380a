// End to end: texts parsed, run through the entry points and printed, including the folded
// versus run-time agreement and the failures reported by execution.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

// Parses `text` with automatic variables and runs it; the printed results, comma-separated,
// or "error <code>: <message>".
std::string Evaluate(const std::string& text, bool currency = false) {
  TTalvekComplexEval eval;
  eval.SetCurrencyMode(currency);
  eval.VerifySyntaxSemanticsAutoVar(text);
  if (eval.ErrorFlag)
    return "parse error " + std::to_string(eval.ErrorCode) + ": " + eval.ErrorMessage;
  TEvalValue** results = eval.DoVectorOfMathExpressions();
  if (results == nullptr) {
    return "error " + std::to_string(eval.ErrorCode) + ": " + eval.ErrorMessage;
  }
  std::string printed;
  for (std::int32_t k = 0; k < eval.ResultCount; ++k) {
    if (k > 0) printed += ", ";
    printed += ValueToText(*results[k]);
  }
  return printed;
}

// The printed value of the last expression of `text`, or "error <code>: <message>".
std::string LastResult(const std::string& text) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsAutoVar(text);
  TEvalValue** results = eval.ErrorFlag ? nullptr : eval.DoVectorOfMathExpressions();
  if (results == nullptr) {
    return "error " + std::to_string(eval.ErrorCode) + ": " + eval.ErrorMessage;
  }
  return ValueToText(*results[eval.ResultCount - 1]);
}

TEST(Evaluation, TextsPrintTheirValues) {
  const std::pair<const char*, const char*> cases[] = {
      {"x=2, y=x^3", "2, 8"},
      {"bk(n=10,s=0,i=0,while(lseq(i,n-1),bk(i=i+1,s=s+i)),s)", "55"},
      {"Fact(n)~if(eq(n,0),1,n*Fact(n-1)), Fact(5)", "Null, 120"},
      {"Fact(5), Fact(n)~if(eq(n,0),1,n*Fact(n-1))", "120, Null"},
      {"x=-1, if(gr(x,0),1)", "-1, Null"},
      {"x=-8, x^(1/3), power(x,2/3)", "-8, -2, 4"},
      {"x=0.1, eq(x+0.2,0.3), uneq(x,nan)", "0.1, True, NAN"},
      {"x=3, complex(1,2)+x", "3, Complex(4, 2)"},
      {"x=7, mod(x,3), mod(-x,3), quotient(-x,2)", "7, 1, 2, -4"},
      {"x=2, logn(x,8), arctan(1,1)-arctan2(1,1)", "2, 3, 0"},
      {"x=1, max(x,infinity,2), min(x,-infinity)", "1, INF, -INF"},
      {"a=true, not(a), and(a,a,false), xor(a,a,a)", "True, False, False, True"},
      {"1/3", "0.333333333333333"},
      {"x=1, x/3", "1, 0.333333333333333"},
      {"x=2, real2curr(x)/3, x/real2curr(3)", "2, 0.6667, 0.666666666666667"},
      {"x=1e15, x, x/10", "1E15, 1E15, 100000000000000"},
      {"f(x)~x^2, f(3)+f(4)", "Null, 25"},
  };
  for (const auto& [text, printed] : cases)
    EXPECT_EQ(Evaluate(text), printed) << text;
  EXPECT_EQ(Evaluate("1/3", true), "0.3333");
  EXPECT_EQ(Evaluate("x=1, x/3", true), "1, 0.3333");
}

TEST(Evaluation, FoldedAndRunTimeResultsAgree) {
  // The same arithmetic once with literals (folded while parsing) and once through variables
  // (run by commands) must print the same.
  const char* bodies[] = {
      "a+b*c-a/b",         "a^b^0.5",
      "sqrt(a*b)+ln(c)",   "max(a,b,c)-min(a,b,c)",
      "sin(a)^2+cos(a)^2", "mean(a,b,c)*sum(a,b)",
      "(a-b)/(c+1)",       "arctan(a,b)+sinh(c/4)",
      "mod(b,a)+div(c,a)", "-a^2+-b",
  };
  for (const char* body : bodies) {
    std::string literal = body;
    for (const auto& [name, value] : {std::pair{'a', "2"}, {'b', "3.5"}, {'c', "7"}}) {
      for (std::size_t at = literal.find(name); at != std::string::npos;
           at = literal.find(name, at + 1)) {
        const bool alone =
            (at == 0 || !std::isalpha(static_cast<unsigned char>(literal[at - 1]))) &&
            (at + 1 == literal.size() ||
             !std::isalpha(static_cast<unsigned char>(literal[at + 1])));
        if (alone) literal.replace(at, 1, value);
      }
    }
    const std::string folded = Evaluate(literal);
    const std::string computed = Evaluate(std::string("a=2,b=3.5,c=7,") + body);
    EXPECT_EQ("2, 3.5, 7, " + folded, computed) << body << " vs " << literal;
  }
}

TEST(Evaluation, ExecutionFailuresReportCodeKindAndOperands) {
  TTalvekComplexEval eval;
  TEvalValue zero = TEvalValue::Real(0);
  eval.VerifySyntaxSemanticsPointerVar("1/x", {{"x", &zero, false}}, false);
  TEvalValue result;
  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, -26);
  EXPECT_EQ(eval.MathErrorKind, 4);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieMatematica-> EZeroDivide->Attempt to divide by zero : 1 / 0");
  EXPECT_TRUE(result.IsNull());

  TEvalValue big = TEvalValue::Real(1e308);
  eval.VerifySyntaxSemanticsPointerVar("x*10", {{"x", &big, false}}, false);
  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, -25);
  EXPECT_EQ(eval.MathErrorKind, 1);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieMatematica-> EOverflow->Floating-point operation overflowed : 1E308 * 10");

  eval.VerifySyntaxSemanticsPointerVar("ln(x)", {{"x", &zero, false}}, false);
  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, 9);
  EXPECT_EQ(eval.MathErrorKind, 4);

  TEvalValue flag = TEvalValue::Boolean(true);
  eval.VerifySyntaxSemanticsPointerVar("a+1", {{"a", &flag, false}}, false);
  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.MathErrorKind, 0);
  EXPECT_EQ(eval.ErrorMessage,
            "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : Incorrect real or complex type for "
            "operator '+'");
}

TEST(Evaluation, RecursionDepthIsLimitedPerFunction) {
  EXPECT_EQ(Evaluate("Cnt(n)~if(eq(n,0),0,1+Cnt(n-1)), Cnt(199)"), "Null, 199");
  const std::string deep = Evaluate("Cnt(n)~if(eq(n,0),0,1+Cnt(n-1)), Cnt(200)");
  EXPECT_EQ(deep.rfind("error -42: ", 0), 0u) << deep;
  EXPECT_NE(deep.find("FUNCTION STACK IS OVERFLOW"), std::string::npos) << deep;
}

TEST(Evaluation, RunTimeFunctionsAreCalledWithValues) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemantics("g(x,y)~x*y+1, g(2,3)", "x,y", false);
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  TEvalValue result;
  eval.DoRunTimeFunction(0, {TEvalValue::Real(4), TEvalValue::Real(5)}, result);
  EXPECT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_EQ(ValueToText(result), "21");
  eval.DoRunTimeFunction(0, {TEvalValue::Real(4)}, result);
  EXPECT_EQ(eval.ErrorCode, -17);

  eval.DoMathExpression(result);
  EXPECT_EQ(eval.ErrorCode, -18) << "a vector is not one expression";
}

TEST(Evaluation, EveryBuiltinFoldsAsItRuns) {
  // Each catalogue function over a table of arguments: the call with literal arguments is
  // folded while parsing, the same call through variables runs as a command; both must print
  // the same value or fail with the same code.
  const char* arguments[] = {"0", "0.5", "-0.5", "1", "-2", "3.7", "100", "1e-5", "complex(1,2)"};
  int compared = 0;
  for (int index = 0; index < kBuiltinCount; ++index) {
    const TBuiltinEntry& entry = BuiltinEntry(index);
    if (entry.kind != TBuiltinKind::Function || entry.name == "random" ||
        entry.name == "directedinfinity") {
      continue;
    }
    const int arity = entry.minArguments == 0 ? 1 : entry.minArguments;
    for (const char* a : arguments) {
      for (const char* b : arguments) {
        if (arity == 1 && b != arguments[0]) continue;
        std::string literal = std::string(entry.name) + "(" + a;
        std::string viaVariables =
            std::string("a=") + a + ", b=" + b + ", " + std::string(entry.name) + "(a";
        if (arity == 2) {
          literal += std::string(",") + b;
          viaVariables += ",b";
        }
        literal += ")";
        viaVariables += ")";
        const std::string folded = Evaluate(literal);
        const std::string computed = LastResult(viaVariables);
        const bool foldFailed = folded.rfind("parse error ", 0) == 0;
        const std::size_t domain = folded.find("DOMIAN : ");
        if (foldFailed && domain != std::string::npos) {
          // A type or domain failure folds under the function's number and runs as -23, with
          // the same reason.
          EXPECT_EQ(computed.rfind("error -23:", 0), 0u) << literal << " / " << computed;
          EXPECT_NE(computed.find(folded.substr(domain + 9)), std::string::npos) << literal;
        } else if (foldFailed) {
          // Arithmetic faults report the same code either way.
          const std::string code = folded.substr(12, folded.find(':') - 12);
          EXPECT_EQ(computed.rfind("error " + code + ":", 0), 0u) << literal << " / " << computed;
        } else {
          EXPECT_EQ(computed, folded) << literal;
        }
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 500);
}

// Regression: a text whose main list is empty (nothing but definitions, or a fixed entry) used
// to run every command of the table, function bodies included, with their parameters Null.
TEST(Evaluation, FunctionOnlyDefinitionsRunNoBodyUntilCalled) {
  for (const char* text :
       {"sq(u)~u*u", "sq(u)~u*u, 1", "sq(u)~u*u, pi",
        "f(x)~Sin(x), Fact(n)~if(eq(n,0),1,n*Fact(n-1))", "w(n)~while(n,bk(n=n-1)), 2"}) {
    TTalvekComplexEval eval;
    eval.VerifySyntaxSemanticsAutoVar(text);
    ASSERT_FALSE(eval.ErrorFlag) << text << ": " << eval.ErrorMessage;
    EXPECT_NE(eval.DoVectorOfMathExpressions(), nullptr) << text << ": " << eval.ErrorMessage;
  }
  EXPECT_EQ(Evaluate("sq(u)~u*u"), "Null");
  EXPECT_EQ(Evaluate("sq(u)~u*u, pi"), "Null, 3.14159265358979");

  TTalvekComplexEval one;
  one.VerifySyntaxSemanticsAutoVar("g(t)~t*2");
  TEvalValue value;
  one.DoMathExpression(value);
  EXPECT_FALSE(one.ErrorFlag) << one.ErrorMessage;
  EXPECT_EQ(ValueToText(value), "Null");
}

TEST(Evaluation, FunctionOnlyDefinitionsAreCalledThroughDoRunTimeFunction) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsAutoVar(
      "Fact(n)~if(eq(n,0),1,n*Fact(n-1)), Fib(n)~if(ls(n,2),n,Fib(n-1)+Fib(n-2)),"
      "gcd(a,b)~if(eq(b,0),a,gcd(b,mod(a,b))),"
      "ev(n)~if(eq(n,0),1,od(n-1)), od(n)~if(eq(n,0),0,ev(n-1))");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  ASSERT_NE(eval.DoVectorOfMathExpressions(), nullptr) << eval.ErrorMessage;
  const auto call = [&](std::int32_t index, TUserValuesArray values) {
    TEvalValue result;
    eval.DoRunTimeFunction(index, values, result);
    return eval.ErrorFlag ? eval.ErrorMessage : ValueToText(result);
  };
  EXPECT_EQ(call(0, {TEvalValue::Real(5)}), "120");
  EXPECT_EQ(call(1, {TEvalValue::Real(15)}), "610");
  EXPECT_EQ(call(2, {TEvalValue::Real(84), TEvalValue::Real(36)}), "12");
  EXPECT_EQ(call(3, {TEvalValue::Real(10)}), "1");
  EXPECT_EQ(call(4, {TEvalValue::Real(7)}), "1");
}

TEST(Evaluation, FixedEntriesStillDrawTheirRandomNumbersOncePerRun) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsAutoVar("2, random(1000000)");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_TRUE(eval.MainCommands.empty());
  ASSERT_TRUE(eval.CommandsWithoutMain.has_value());
  EXPECT_EQ(eval.CommandsWithoutMain->size(), 1u) << "only the draw runs";
  std::set<std::string> draws;
  for (int run = 0; run < 20; ++run) {
    TEvalValue** results = eval.DoVectorOfMathExpressions();
    ASSERT_NE(results, nullptr) << eval.ErrorMessage;
    draws.insert(ValueToText(*results[1]));
  }
  EXPECT_GT(draws.size(), 1u);
}

TEST(Evaluation, DerivationModeOfFunctionOnlyDefinitionsRuns) {
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsAndDerivation("sq(u)~u*u", "u", false, "u");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_NE(eval.DoVectorOfMathExpressions(), nullptr) << eval.ErrorMessage;
}

}  // namespace
}  // namespace evaluator
