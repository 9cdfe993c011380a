// Symbolic differentiation during the parse: the derivative texts of leaves, operators and
// functions, NaN propagation, deferred marks, GetDerivative's codes, and a differential check of
// the derivative texts against difference quotients of the expressions they came from.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

struct Derived {
  std::int32_t code;
  std::string text;
};

Derived Derive(TTalvekComplexEval& eval, const std::string& expression,
               const std::string& variable = "x") {
  eval.VerifySyntaxSemanticsAndDerivation(expression, "x,y", true, variable);
  if (eval.ErrorFlag) return {eval.ErrorCode, eval.ErrorMessage};
  std::string text;
  eval.GetDerivative(false, text);
  return {eval.ErrorCode, text};
}

Derived Derive(const std::string& expression, const std::string& variable = "x") {
  TTalvekComplexEval eval;
  return Derive(eval, expression, variable);
}

struct DerivativeCase {
  const char* expression;
  const char* derivative;
};

void ExpectDerivatives(TTalvekComplexEval& eval, std::initializer_list<DerivativeCase> cases) {
  for (const DerivativeCase& c : cases) {
    const Derived result = Derive(eval, c.expression);
    EXPECT_EQ(result.code, 0) << c.expression << ": " << result.text;
    EXPECT_EQ(result.text, c.derivative) << c.expression;
  }
}

void ExpectDerivatives(std::initializer_list<DerivativeCase> cases) {
  TTalvekComplexEval eval;
  ExpectDerivatives(eval, cases);
}

TEST(Derivation, VariableIsMatchedWithoutRegardToCase) {
  EXPECT_EQ(Derive("x", "X").text, "1");
  EXPECT_EQ(Derive("X", "x").text, "1");
  EXPECT_EQ(Derive("x", "y").text, "0");
  EXPECT_EQ(Derive("abs(X)", "X").text, "nan");
}

TEST(Derivation, LeavesAndOperatorsGiveTheirRules) {
  ExpectDerivatives({{"7", "0"},
                     {"pi+e+infinity+degree+zero", "0"},
                     {"2*x", "2"},
                     {"x^2", "2*x"},
                     {"x*y", "y"},
                     {"x/y", "y/(y^2)"},
                     {"1/x", "(-1)/(x^2)"},
                     {"2^x", "(2^x)*ln(2)"},
                     {"x^x", "(x^x)*(1+ln(x))"},
                     {"1.5e3*x", "1.5e3"},
                     {"y=x^2", "2*x"},
                     {"1,x,x^2", "0,1,2*x"}});
}

TEST(Derivation, FunctionsApplyTheChainRule) {
  ExpectDerivatives({{"sin(x)", "cos(x)"},
                     {"cos(2*x)", "(-sin(2*x))*2"},
                     {"sqrt(x)", "1/(2*sqrt(x))"},
                     {"tan(x)", "sec(x)^2"},
                     {"sec(x)", "sec(x)*tan(x)"},
                     {"power(x,3)", "3*(x^2)"},
                     {"logn(2,x)", "1/(x*ln(2))"},
                     {"arctan2(x,1)", "1/(1+(x^2))"},
                     {"bk(y,x^2)", "2*x"},
                     {"random(1)*x", "random(1)"},
                     {"directedinfinity(1)*x", "directedinfinity(1)"}});
}

TEST(Derivation, MissingDerivativesPropagateExceptInsideEqAndIf) {
  ExpectDerivatives({{"abs(x)", "nan"},
                     {"abs(y)", "0"},
                     {"sin(x)+abs(x)", "nan"},
                     {"abs(xy)+x", "1"},  // xy is a variable of its own, not the token x
                     {"degtorad(x)", "nan"},
                     {"nan*x", "nan"},
                     {"eq(x,x^2)", "eq(1,2*x)"},
                     {"eq(abs(x),x)", "eq(nan,1)"},
                     {"x+eq(nan,1)", "1+eq(nan,0)"},
                     {"if(gr(x,0),x^2,-x)", "if(gr(x,0),2*x,-1)"},
                     {"if(gr(x,0),abs(x))", "if(gr(x,0),nan)"},
                     {"sin(x),abs(x)", "cos(x),nan"}});
}

TEST(Derivation, RuntimeFunctionsKeepADeferredMark) {
  ExpectDerivatives({{"f(x)~x^2,f(x)", "f(x)~(x^2),f(x)'"},
                     {"f(x)~x^2,3*f(2*x)", "f(x)~(x^2),3*f(2*x)'"},
                     {"g(a,b)~a*b,g(x,2)", "g(a,b)~(a*b),g(x,2)'"}});
}

TEST(Derivation, ApplicationFunctionsFollowTheirArgumentCount) {
  auto twice = [](const TEvalValue* const* arguments, std::int32_t, TEvalValue& result) {
    result = TEvalValue::Real(2 * arguments[0]->AsDouble());
  };
  auto first = [](const TEvalValue* const* arguments, std::int32_t, TEvalValue& result) {
    result = *arguments[0];
  };
  auto tick = [](const TEvalValue* const*, std::int32_t, TEvalValue& result) {
    result = TEvalValue::Real(1);
  };
  TTalvekComplexEval eval(TUserFuncArray{{"twice", twice, 1, nullptr},
                                         {"first", first, kAnyParameterCount, nullptr},
                                         {"tick", tick, -1, nullptr}});
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  ExpectDerivatives(eval, {{"twice(x)", "nan"},
                           {"twice(y)", "0"},
                           {"twice(2)*x", "twice(2)"},
                           {"x+twice(nan)", "nan"},
                           {"first(y,1,x)", "nan"},
                           {"first(y,1)", "0"},
                           {"tick*x", "tick"}});
  const Derived wrongCount = Derive(eval, "twice(x,1)");
  EXPECT_EQ(wrongCount.code, 96);
  EXPECT_EQ(wrongCount.text, "Invalid number of function arguments for: TWICE");
}

TEST(Derivation, InvalidVariableNamesFailBeforeTheTextIsRead) {
  for (const char* variable : {"", "2x", "a+b"}) {
    TTalvekComplexEval eval;
    int fired = 0;
    eval.OnParseError = [&](TTalvekComplexEval&) { ++fired; };
    eval.VerifySyntaxSemanticsAndDerivation("(((", "x", false, variable);
    EXPECT_EQ(eval.ErrorCode, -3) << variable;
    EXPECT_EQ(fired, 1) << variable;
  }
  EXPECT_EQ(Derive("x", "sin").text,
            "VerifySyntaxSemanticsRule-> INVALID DERIVATIVE VARIABLE NAME;IsValidIdentName-> "
            "IDENTIFIER CANNOT BE A RESERVED NAME: sin");
}

TEST(Derivation, GetDerivativeReportsWhyThereIsNoDerivative) {
  TTalvekComplexEval eval;
  int fired = 0;
  eval.OnParseError = [&](TTalvekComplexEval&) { ++fired; };
  auto expectFailure = [&](std::int32_t code, const char* message) {
    std::string text = "stale";
    fired = 0;
    eval.GetDerivative(false, text);
    EXPECT_TRUE(eval.ErrorFlag);
    EXPECT_EQ(eval.ErrorCode, code);
    EXPECT_EQ(eval.ErrorMessage, message);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(fired, 1);
  };
  expectFailure(-1, "GetDerivative-> NO MATH EXPRESSION WAS PARSED");
  eval.VerifySyntaxSemantics("x^2", "x", false);
  expectFailure(-15, "GetDerivative-> YOU MUST USE VerifySyntaxSemanticsAndDerivation METHOD");

  eval.VerifySyntaxSemanticsAndDerivation("x^2", "x", false, "  x ");
  EXPECT_EQ(eval.DerivativeVariable, "x");
  EXPECT_EQ(eval.DerivativeString, "2*x");
  eval.SetOriginalMathExpressionString(false);
  expectFailure(-16, "GetDerivative-> DERIVATIVE EXPRESSION WAS ERASED");
  eval.VerifySyntaxSemanticsAndDerivation("x+", "x", false, "x");
  expectFailure(-1, "GetDerivative-> NO MATH EXPRESSION WAS PARSED");

  // Success clears an earlier error; both forms come from the same parse.
  eval.VerifySyntaxSemanticsAndDerivation("sin(x)", "x", false, "x");
  eval.ErrorFlag = true;
  eval.ErrorCode = -23;
  std::string text;
  eval.GetDerivative(true, text);
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, 0);
  EXPECT_EQ(text, "Cos[x]");
  eval.GetDerivative(false, text);
  EXPECT_EQ(text, "cos(x)");
}

TEST(Derivation, NegatedBasesKeepTheirGroupingInTexts) {
  // Kept expression texts and the rules' operand texts both come from entries; a negation
  // written without its parentheses turned (-x)^2 into -x^2.
  TTalvekComplexEval eval;
  eval.OriginalMathExpressionString = false;
  const DerivativeCase cases[] = {
      {"(-x)^2", "(-x)^2"}, {"2-(-x)^2", "2-((-x)^2)"}, {"x*-y", "x*(-y)"}, {"--x", "x"}};
  for (const DerivativeCase& c : cases) {
    eval.VerifySyntaxSemantics(c.expression, "x,y", false);
    EXPECT_EQ(eval.MathExpressionString, c.derivative) << c.expression;
  }
  EXPECT_EQ(Derive("sin((-x)^2)").text, "cos((-x)^2)*(-(2*(-x)))");
}

// ---- Differential check -----------------------------------------------------------------------

// Evaluates a parsed text at x through a cell the test owns.
class PointEvaluator {
 public:
  explicit PointEvaluator(const std::string& text) {
    eval_.VerifySyntaxSemanticsPointerVar(text, {TUserVarRec{"x", &x_, false}}, false);
  }
  bool Parsed() const { return !eval_.ErrorFlag; }
  const std::string& Error() const { return eval_.ErrorMessage; }
  double At(double x) {
    x_ = TEvalValue::Real(x);
    TEvalValue result;
    eval_.DoMathExpression(result);
    return eval_.ErrorFlag || !result.IsRealOrCurrency() ? std::nan("") : result.AsDouble();
  }

 private:
  TEvalValue x_ = TEvalValue::Real(0);
  TTalvekComplexEval eval_;
};

void ExpectDerivativeMatchesDifferenceQuotient(const char* expression, bool powerAsCaret) {
  SCOPED_TRACE(expression);
  TTalvekComplexEval deriver;
  deriver.PowerAsCaret = powerAsCaret;
  const Derived derived = Derive(deriver, expression);
  ASSERT_EQ(derived.code, 0) << derived.text;
  ASSERT_NE(derived.text, "nan");
  PointEvaluator function(expression);
  PointEvaluator derivative(derived.text);
  ASSERT_TRUE(function.Parsed()) << function.Error();
  ASSERT_TRUE(derivative.Parsed()) << derived.text << ": " << derivative.Error();
  for (const double x : {0.4, 0.9, 1.7}) {
    const double h = 1e-5 * std::max(1.0, std::fabs(x));
    const double quotient = (function.At(x + h) - function.At(x - h)) / (2 * h);
    EXPECT_NEAR(derivative.At(x), quotient, 1e-6 * std::max(1.0, std::fabs(quotient)))
        << "at " << x << ", derivative " << derived.text;
  }
}

// Every differentiable function and operator rule, alone and composed; arguments are scaled into
// each function's domain at the points the check uses.
const char* const kDifferentiable[] = {"x^2+3*x-5",
                                       "x^3",
                                       "1/x",
                                       "x/(1+x^2)",
                                       "sqrt(x)",
                                       "sqrt(1+x^2)",
                                       "exp(2*x)",
                                       "exp(-x^2)",
                                       "ln(x)",
                                       "ln(1+x^2)",
                                       "log(x)*x",
                                       "log10(x)",
                                       "log2(x^2+1)",
                                       "lnxp1(x)",
                                       "sin(x)",
                                       "cos(3*x)",
                                       "tan(x)",
                                       "cotan(x)",
                                       "cot(2*x)",
                                       "sec(x)",
                                       "secant(x)",
                                       "csc(x)",
                                       "cosecant(x)",
                                       "sinh(x)",
                                       "cosh(x)",
                                       "tanh(x)",
                                       "sech(x)",
                                       "csch(x)",
                                       "coth(x)",
                                       "arcsin(x/2)",
                                       "arccos(x/2)",
                                       "arctan(x)",
                                       "arcsinh(x)",
                                       "arccosh(x+1)",
                                       "arctanh(x/2)",
                                       "arccot(x)",
                                       "arccoth(x+2)",
                                       "arcsec(x+1)",
                                       "arcsech(x/2)",
                                       "arccsc(x+1)",
                                       "arccsch(x)",
                                       "sqr(sin(x))",
                                       "power(x,3)",
                                       "power(2,x)",
                                       "x^x",
                                       "2^x",
                                       "x^(1/3)",
                                       "x^-2",
                                       "e^x*pi",
                                       "logn(2,x)",
                                       "logn(x,10)",
                                       "logn(x,x^2+1)",
                                       "arctan(x,2)",
                                       "arctan(1+x,x^2)",
                                       "arctan2(x,2)",
                                       "arctan2(x^2,1+x)",
                                       "sin(x)^2+cos(x)^2",
                                       "exp(sin(x))*ln(x)",
                                       "x*exp(x)/(1+x)",
                                       "(-x)^2",
                                       "-x^3",
                                       "2-(-x)^2",
                                       "sin(-x)*x",
                                       "x/-(-x*x)",
                                       "1/(x*x*x)",
                                       "exp(x)^2",
                                       "x^2*1.5e-1",
                                       "if(gr(x,0),x^2,-x)",
                                       "bk(1,x^3)",
                                       "sin(cos(tan(x)))",
                                       "x^sin(x)",
                                       "(x+1)^(x-0.25)",
                                       "sqrt(x)*sqrt(x)",
                                       "arcsech(x^2/4)*sech(x)"};

TEST(DerivationDifferential, DerivativeTextsMatchDifferenceQuotients) {
  for (const char* expression : kDifferentiable) {
    ExpectDerivativeMatchesDifferenceQuotient(expression, true);
  }
}

TEST(DerivationDifferential, PowerFunctionFormGivesTheSameDerivatives) {
  for (const char* expression : {"x^x", "x^3", "2^x", "x^sin(x)", "power(x,x^2)", "x*x"}) {
    ExpectDerivativeMatchesDifferenceQuotient(expression, false);
  }
  TTalvekComplexEval eval;
  eval.PowerAsCaret = false;
  EXPECT_EQ(Derive(eval, "x^x").text, "power(x,x)*(1+ln(x))");
  EXPECT_EQ(Derive(eval, "x^2").text, "2*x");
}

// ---- Limits -----------------------------------------------------------------------------------

std::string Chain(const std::string& item, int count, const std::string& separator) {
  std::string text = item;
  for (int k = 1; k < count; ++k)
    text += separator + item;
  return text;
}

TEST(DerivationLimits, LongInputsEndWithADerivativeOrNan) {
  const std::string nested = Chain("sin(", 3000, "") + "x" + std::string(3000, ')');
  const struct {
    const char* name;
    std::string text;
    const char* derivative;  // null: any text but nan
  } cases[] = {{"long sum", Chain("x", 20000, "+"), "20000"},
               {"long product", Chain("x", 3000, "*"), "nan"},
               {"tall power tower", Chain("x", 2000, "^"), "nan"},
               {"deep nesting", nested, "nan"},
               {"sum of many products", Chain("x*y", 600, "+"), nullptr}};
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const Derived result = Derive(c.text);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.code, 0) << c.name;
    if (c.derivative != nullptr) {
      EXPECT_EQ(result.text, c.derivative) << c.name;
    } else {
      EXPECT_NE(result.text, "nan") << c.name;
    }
    EXPECT_LT(elapsed.count(), 30.0) << c.name;  // a guard against runaway, generous for sanitizers
  }
}

}  // namespace
}  // namespace evaluator
