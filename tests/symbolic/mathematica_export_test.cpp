// Mathematica export: heads of every kind of call, definitions, deferred marks, constants as
// whole tokens, exponent literals, vectors, and the parentheses Mathematica's precedence needs.
#include <gtest/gtest.h>

#include <string>

#include "evaluator/catalogue.h"
#include "evaluator/complex_eval.h"
#include "symbolic/mathematica_export.h"

namespace symbolic {
namespace {

struct ExportCase {
  const char* text;
  const char* mathematica;
};

void ExpectExports(std::initializer_list<ExportCase> cases) {
  for (const ExportCase& c : cases)
    EXPECT_EQ(ToMathematica(c.text, "x"), c.mathematica) << c.text;
}

TEST(MathematicaExport, BuiltinCallsTakeTheirHeads) {
  ExpectExports(
      {{"sin(x)", "Sin[x]"},
       {"SIN(X)", "Sin[X]"},
       {"ln(x)*logn(2,x)", "Log[x]*Log[2,x]"},
       {"lnxp1(-x)", "Log[1+(-x)]"},
       {"log10(x)+log2(x)", "Log[10,x]+Log[2,x]"},
       {"sqr(x+1)", "Power[x+1,2]"},
       {"arctan2(y,x)", "ArcTan[x,y]"},
       {"mean(a,b,c)", "(1/3*Plus[a,b,c])"},
       {"2*mean(a)", "2*(1/1*Plus[a])"},
       {"if(lseq(x,0),x,-x)", "If[LessEqual[x,0],x,-x]"},
       {"bk(y=2,x*y)", "CompoundExpression[y=2,x*y]"},
       {"degtorad(x+1)", "(Pi/180)*(x+1)"},
       {"2^degtorad(x)", "2^((Pi/180)*x)"},
       {"radtodeg(x-1)", "(x-1)/Degree"},
       {"isnan(x)", "SameQ[Indeterminate,x]"},
       {"random(6)", "Random[Integer,{0,6-1}]"},
       {"random(0.5)+random(x)", "Random[]+Random[]"},
       {"complexfrompolar(r,t+1)", "Times[r,Exp[Complex[0,1]*(t+1)]]"},
       {"iscomplex(z)", "SameQ[Complex,Head[z]]"},
       {"isreal(z)", "Or[SameQ[Real,Head[z]],SameQ[Integer,Head[z]],SameQ[Rational,Head[z]]]"},
       {"isboolean(z)", "Or[SameQ[True,z],SameQ[False,z]]"}});
}

TEST(MathematicaExport, EveryBuiltinFunctionIsTranslated) {
  // No call of a built-in may come out in the evaluator's own spelling.
  for (int index = 0; index < evaluator::kBuiltinCount; ++index) {
    const evaluator::TBuiltinEntry& entry = evaluator::BuiltinEntry(index);
    if (entry.kind == evaluator::TBuiltinKind::Constant) continue;
    std::string call = std::string(entry.name) + "(a";
    for (int k = 1; k < entry.minArguments; ++k)
      call += ",a";
    call += ")";
    const std::string exported = ToMathematica(call, "x");
    EXPECT_EQ(exported.find(std::string(entry.name) + "["), std::string::npos)
        << call << " -> " << exported;
    EXPECT_EQ(exported.find(std::string(entry.name) + "("), std::string::npos)
        << call << " -> " << exported;
  }
}

TEST(MathematicaExport, UserFunctionsDefinitionsAndMarks) {
  ExpectExports({{"f(x)'", "D[f[x],x]"},
                 {"f(2*x,y)'*3", "D[f[2*x,y],x]*3"},
                 {"f(x,y)~x*y", "f[x_,y_]:=x*y"},
                 {"f(x)~x^2,f(x)'", "{f[x_]:=x^2,D[f[x],x]}"},
                 {"myfunc(x,1)+g(y)", "myfunc[x,1]+g[y]"}});
  EXPECT_EQ(ToMathematica("f(t)'", "t"), "D[f[t],t]");
}

TEST(MathematicaExport, ConstantsNumbersAndVectors) {
  ExpectExports({{"zero+nan*pi", "(1.0*^-13)+Indeterminate*Pi"},
                 {"pixel+epsilon+e", "pixel+epsilon+E"},
                 {"-infinity-indeterminate", "-Infinity-Indeterminate"},
                 {"if(true,false,null)*degree", "If[True,False,Null]*Degree"},
                 {"2.5e-3", "2.5*^-3"},
                 {"1.5e+3*x", "(1.5*^3)*x"},
                 {"x^2e-1", "x^(2*^-1)"},
                 {"xe-1", "xe-1"},
                 {"1,x,x^2", "{1,x,x^2}"},
                 {"max((1,2),3)", "Max[1,2,3]"}});
}

TEST(MathematicaExport, ParenthesesFollowPrecedence) {
  ExpectExports({{"(x+1)*y", "(x+1)*y"},
                 {"x+(y+z)", "x+(y+z)"},
                 {"x-(y-z)", "x-(y-z)"},
                 {"x^y^z", "x^y^z"},
                 {"(x^y)^z", "(x^y)^z"},
                 {"-x^2", "-x^2"},
                 {"(-x)^2", "(-x)^2"},
                 {"2^-x", "2^(-x)"},
                 {"x*-y", "x*(-y)"},
                 {"-x*y-x", "-x*y-x"},
                 {"y-(-x)*y", "y-(-x)*y"},
                 {"(-x)^2-x", "(-x)^2-x"},
                 {"x--y", "x-(-y)"},
                 {"--x", "-(-x)"},
                 {"+x", "x"}});
}

TEST(MathematicaExport, TextsThatDoNotReadComeBackUnchanged) {
  for (const char* text : {"", "x+", "(x", "x)", "f(", "*x", "x y", "a,,b"}) {
    EXPECT_EQ(ToMathematica(text, "x"), text);
  }
}

TEST(MathematicaExport, DeeplyNestedTextsExportWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string text;
  for (int k = 0; k < kDepth; ++k)
    text += "sin(";
  text += "x" + std::string(kDepth, ')');
  const std::string exported = ToMathematica(text, "x");
  EXPECT_EQ(exported.substr(0, 8), "Sin[Sin[");
  EXPECT_EQ(exported.size(), text.size());
}

TEST(MathematicaExport, EvaluatorGivesTheExpressionAndTheDerivative) {
  evaluator::TTalvekComplexEval eval;
  std::string text = "unchanged";
  EXPECT_FALSE(eval.GetMathematicaExpression(text));
  EXPECT_TRUE(text.empty());

  eval.VerifySyntaxSemanticsAndDerivation(" Sin( X ) ^ 2 + Zero", "x", false, "x");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_TRUE(eval.GetMathematicaExpression(text));
  EXPECT_EQ(text, "Sin[x]^2+(1.0*^-13)");
  eval.GetDerivative(true, text);
  EXPECT_EQ(text, "2*Sin[x]*Cos[x]");
  EXPECT_FALSE(eval.ErrorFlag);

  eval.OriginalMathExpressionString = false;
  eval.VerifySyntaxSemanticsAndDerivation("f(t)~t^3, f(x)", "x", true, "x");
  ASSERT_FALSE(eval.ErrorFlag) << eval.ErrorMessage;
  EXPECT_TRUE(eval.GetMathematicaExpression(text));
  EXPECT_EQ(text, "{f[t_]:=t^3,f[x]}");
  eval.GetDerivative(true, text);
  EXPECT_EQ(text, "{f[t_]:=t^3,D[f[x],x]}");
}

}  // namespace
}  // namespace symbolic
