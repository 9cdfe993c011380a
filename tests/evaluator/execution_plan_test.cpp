// The execution plan and its fast paths against the full rules: every value, error code and
// message the same with and without a plan, the extended-precision squares and cubes bit for
// bit, and the compiler's sharing of composites whose keys it holds back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One evaluator over pointer variables x, y and z, run by the typed plan where the parse
// allows one, by the step plan alone, or without a plan by the full rules, as the interpreter
// runs tables laid out by hand.
enum class TPlan { kTyped, kSteps, kNone };

struct TRun {
  TEvalValue x, y, z;
  TTalvekComplexEval eval;
  TPlan plan;

  TRun(const std::string& text, TPlan how) : plan(how) {
    eval.VerifySyntaxSemanticsPointerVar(
        text, {{"x", &x, false}, {"y", &y, false}, {"z", &z, false}}, false);
    EXPECT_FALSE(eval.ErrorFlag) << text << ": " << eval.ErrorMessage;
    if (how == TPlan::kNone) eval.CommandPlan.wanted = false;
    if (how == TPlan::kSteps) eval.CommandPlan.typedWanted = false;
  }

  // Everything a caller can see of the last run: the values or the error fields, the result
  // cells and the variables. With `commandCells`, after a run without fault, every command's
  // result cell too, which the step plan writes as the full rules do (the typed plan writes
  // only the cells callers read). After a fault the cells of the commands past it are not
  // defined: two joined operations compute both values before either is looked at, and then
  // the full rules run the list again up to the fault.
  std::string Outcome(TEvalValue** results, bool commandCells) const {
    std::string seen = "code " + std::to_string(eval.ErrorCode) + ", kind " +
                       std::to_string(eval.MathErrorKind) + ", " +
                       (eval.ErrorFlag ? "error: " + eval.ErrorMessage : "values:");
    for (std::int32_t k = 0; results != nullptr && k < eval.ResultCount; ++k)
      seen += " " + ValueToText(*results[k]);
    seen += " | result cells:";
    for (std::int32_t k = 0; eval.ResultCells != nullptr && k < eval.ResultCount; ++k) {
      if (!eval.ErrorFlag) seen += " " + ValueToText(*eval.ResultCells[k]);
    }
    if (commandCells) {
      seen += " | cells:";
      for (const TProcRec& command : eval.ListaProc) {
        if (!eval.ErrorFlag) seen += " " + ValueToText(*command.result[0]);
      }
    }
    seen += " | x " + ValueToText(x) + " y " + ValueToText(y) + " z " + ValueToText(z);
    return seen;
  }
  std::string Outcome(TEvalValue** results) const {
    return Outcome(results, plan != TPlan::kTyped);
  }

  std::string Evaluate(const TEvalValue& a, const TEvalValue& b, const TEvalValue& c,
                       bool commandCells) {
    x = a;
    y = b;
    z = c;
    if (eval.ResultCount == 1) {
      TEvalValue result;
      eval.DoMathExpression(result);
      return Outcome(nullptr, commandCells) + " | result " + ValueToText(result);
    }
    return Outcome(eval.DoVectorOfMathExpressions(), commandCells);
  }
  std::string Evaluate(const TEvalValue& a, const TEvalValue& b, const TEvalValue& c) {
    return Evaluate(a, b, c, plan != TPlan::kTyped);
  }
};

std::vector<TEvalValue> Inputs() {
  std::vector<TEvalValue> values;
  for (const double v : {0.5, 2.0, -3.0, 0.0, -0.0, 1.0, 1e200, -1e-200, 1e-320, kInf, -kInf, kNaN})
    values.push_back(TEvalValue::Real(v));
  values.push_back(TEvalValue::CurrencyScaled(15000));
  values.push_back(TEvalValue::Complex(1, 2));
  values.push_back(TEvalValue::Boolean(true));
  values.push_back(TEvalValue::Null());
  return values;
}

TEST(ExecutionPlan, EveryExpressionGivesWhatTheFullRulesGive) {
  const char* const texts[] = {
      "x*x+2*x+1",
      "x^2-y^3",
      "x^y",
      "x^0.5+x^-1",
      "(x+1)/(x-1)*(x+2)/(x-2)",
      "x/y-x*y",
      "sqrt(x)+ln(y)+log10(z)",
      "exp(x)*sin(y)/cos(z)",
      "tan(x)+arctan(y)+arcsin(z)+arccosh(x)",
      "sinh(x)*cosh(y)-tanh(z)",
      "abs(x)+sqr(y)+floor(z)+ceil(x)+int(y)",
      "max(x,y,z)-min(x,y,z)+max(x)",
      "eq(x,y)",
      "uneq(x,y)",
      "ls(x,y)",
      "lseq(x,x*1.00000000000001)",
      "greq(x,y)",
      "if(gr(x,y),x-y,y-x)",
      "z=x*2, z+y",
      "x*2, x^3, sin(x)^2+cos(x)^2",
      // Operations joined to the next one, the value on either side, and an operation whose
      // value is both operands of the next (which is not joined).
      "(x-y)/z-(y/z-x)",
      "z/(x-y)+(x*y-z)*z",
      "(x+y)*(x+y)-x/(y+z)",
      "z-x^3/y+exp(x)/y-ln(y)*x",
      "y^x*2",
      // Typed shapes: literals and variables on either side, values that are not finite on
      // the way to a finite result, and shared subexpressions.
      "2-x+3/y*(4+z)-x*5",
      "1/(1+exp(x*y))",
      "arctan(1/x)+tanh(y/z)",
      "max(x/y,1,z)-min(1,x*y)",
      "exp(-x*x)*0+2^x",
      "x/(y/z)-(x+y)^2+x^2",
      "(x-y)*(x-y)+sqrt(x-y)",
      "x*y, x/y, y^z",
      "ln(x)*sqr(y)+abs(z)*log2(x)",
  };
  const std::vector<TEvalValue> values = Inputs();
  for (const char* text : texts) {
    TRun typed(text, TPlan::kTyped);
    TRun steps(text, TPlan::kSteps);
    TRun full(text, TPlan::kNone);
    for (std::size_t i = 0; i < values.size(); ++i) {
      // y and z walk through the values at other paces, so that kinds and faults change from
      // one evaluation to the next on the same parse.
      const TEvalValue& a = values[i];
      const TEvalValue& b = values[(i * 5 + 1) % values.size()];
      const TEvalValue& c = values[(i * 7 + 2) % values.size()];
      const std::string seen =
          " at x = " + ValueToText(a) + ", y = " + ValueToText(b) + ", z = " + ValueToText(c);
      EXPECT_EQ(steps.Evaluate(a, b, c), full.Evaluate(a, b, c, true)) << text << seen;
      EXPECT_EQ(typed.Evaluate(a, b, c), full.Evaluate(a, b, c, false)) << text << seen;
    }
  }
}

TEST(ExecutionPlan, FunctionTablesGiveWhatTheFullRulesGive) {
  const char* const texts[] = {
      "f(x)~sin(x)*exp(-x), f(0)",
      "f(x)~ln(x)*x^2, f(1)",
      "f(x,y)~x/y+y^2, f(1,2)",
      "f(x)~x, f(0)",                       // a bare parameter as body
      "f(x)~if(gr(x,0),sqrt(x),0), f(1)",   // a form in the body
      "f(3)+y, f(x)~x*2+y",                 // first met in a call: the call lends its cells
      "z=sin(x)*2, f(x)~sin(x)*2+1, f(0)",  // a command shared with the main list
  };
  const std::vector<TEvalValue> values = Inputs();
  for (const char* text : texts) {
    TRun typed(text, TPlan::kTyped);
    TRun steps(text, TPlan::kSteps);
    TRun full(text, TPlan::kNone);
    for (TRun* run : {&typed, &steps, &full})
      run->eval.DoVectorOfMathExpressions();
    const std::int32_t parameters = typed.eval.FuncArray[0].parameterCount;
    for (std::size_t i = 0; i < values.size(); ++i) {
      TUserValuesArray arguments(static_cast<std::size_t>(parameters), values[i]);
      if (parameters > 1) arguments[1] = values[(i * 5 + 1) % values.size()];
      // A call leaves the body's cells as it found them, in every plan.
      std::string outcome[3];
      for (int k = 0; k < 3; ++k) {
        TRun& run = k == 0 ? typed : k == 1 ? steps : full;
        run.y = TEvalValue::Real(0.25);
        TEvalValue result;
        run.eval.DoRunTimeFunction(0, arguments, result);
        outcome[k] = run.Outcome(nullptr, true) + " | result " + ValueToText(result);
      }
      EXPECT_EQ(outcome[0], outcome[2]) << text << " at " << ValueToText(values[i]);
      EXPECT_EQ(outcome[1], outcome[2]) << text << " at " << ValueToText(values[i]);
    }
  }
}

// Recursive and mutually recursive definitions, calls in ifs and in both operands, functions
// that read their caller's parameters, and every limit a call can reach (a limit of 0 stops the
// first call): the typed plan gives up wherever the full rules fault or stop, and they decide.
// x and z serve as parameters, y holds the argument. DoRunTimeFunction runs on evaluators of
// their own, whose every command cell is compared too (a typed main list leaves the cells of
// its inner commands alone).
TEST(ExecutionPlan, RecursiveDefinitionsGiveWhatTheFullRulesGive) {
  const char* const texts[] = {
      "Fact(x)~if(eq(x,0),1,x*Fact(x-1)), Fact(y)",
      "Cnt(x)~if(eq(x,0),0,1+Cnt(x-1)), Cnt(y)",
      "Fib(x)~if(ls(x,2),x,Fib(x-1)+Fib(x-2)), F(z)~Fib(min(z,14)), F(y)",
      "Even(x)~if(ls(x,1),1,Odd(x-1)), Odd(x)~if(ls(x,1),0,Even(x-1)), Even(y)",
      "g(z)~x*z, f(x)~g(2)+x, f(y)",              // g reads the parameter of the f that calls it
      "g(z)~z*z+1, f(x)~g(x)-g(x+1), f(y)",       // g's body result is its latest call's value
      "f(x,z)~if(lseq(x,1),z,f(z,x-1)), f(y,3)",  // arguments read before either is bound
      "f(x)~if(gr(x,0),sqrt(x)), f(y)",           // Null when the condition is false
      "if(gr(y,0),Fact(y),-Fact(-y)), Fact(x)~if(lseq(x,1),1,x*Fact(x-1))",
      "f(x)~if(uneq(x,y),x/(x-y),1/x), f(y+1)*y+f(y)",
      "f(x)~if(greq(x,2),f(x/2)+f(x/2-1),exp(x)), f(y)",
      "sin(y)*2+f(1), f(x)~sin(y)*2",  // the body result shared with the main list
  };
  std::vector<TEvalValue> values;
  for (const double v : {5.0, 170.0, 171.0, 199.0, 200.0, -1.0, 0.5, 0.0, 14.0, 3.0, kInf, kNaN})
    values.push_back(TEvalValue::Real(v));
  values.push_back(TEvalValue::CurrencyScaled(50000));
  values.push_back(TEvalValue::Boolean(true));
  for (const char* text : texts) {
    TRun typed(text, TPlan::kTyped);
    TRun full(text, TPlan::kNone);
    TRun typedTable(text, TPlan::kTyped);
    TRun fullTable(text, TPlan::kNone);
    for (const std::int32_t limit : {200, 7, 0}) {
      for (const TEvalValue& value : values) {
        for (TRun* run : {&typed, &full, &typedTable, &fullTable})
          run->eval.MaxFunctionStack = limit;
        const TEvalValue x = TEvalValue::Real(0.25);
        const TEvalValue z = TEvalValue::Null();
        const std::string seen =
            " at y = " + ValueToText(value) + ", limit " + std::to_string(limit);
        EXPECT_EQ(typed.Evaluate(x, value, z), full.Evaluate(x, value, z, false)) << text << seen;
        // DoRunTimeFunction of the last function defined, as a table calls it.
        std::string outcome[2];
        for (int k = 0; k < 2; ++k) {
          TRun& run = k == 0 ? typedTable : fullTable;
          const FuncRecord& function = run.eval.FuncArray.back();
          TUserValuesArray arguments(static_cast<std::size_t>(function.parameterCount), value);
          TEvalValue result;
          run.eval.DoRunTimeFunction(run.eval.GetRunTimeFunctionCount() - 1, arguments, result);
          outcome[k] = run.Outcome(nullptr, true) + " | result " + ValueToText(result);
        }
        EXPECT_EQ(outcome[0], outcome[1]) << text << seen << " by DoRunTimeFunction";
      }
    }
  }
}

std::uint64_t Bits(double x) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

TEST(ExecutionPlan, SquaresAndCubesAreTheExtendedPrecisionProductsBitForBit) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(1.0, 2.0);
  std::uniform_int_distribution<int> exponent(-540, 540);
  std::vector<double> xs = {1.0,
                            3.0,
                            0.1,
                            1.0 / 3,
                            std::ldexp(1.0, 400),
                            std::ldexp(1.0, -400),
                            std::ldexp(1.5, 511),
                            std::ldexp(1.0, -537),
                            1e-310,
                            1.7e308};
  for (int k = 0; k < 2000000; ++k) {
    double x = std::ldexp(mantissa(random), exponent(random));
    if (k % 3 == 0) x = -x;
    if (k % 7 == 0) x = std::round(x * 1e6) / 1e6;  // short decimals, as typed
    if (k % 11 == 0) x = std::ldexp(1 + k % 97 * 0x1p-52, k % 600 - 300);  // near powers of two
    xs.push_back(x);
  }
  int doubleProductsDiffer = 0;
  for (const double x : xs) {
    const double square = static_cast<double>(static_cast<long double>(x) * x);
    const double cube =
        static_cast<double>(static_cast<long double>(x) * (static_cast<long double>(x) * x));
    ASSERT_EQ(Bits(ExtendedSquare(x)), Bits(square)) << std::hexfloat << x;
    double value = 0;
    if (SquareOrCube(x, 2, value)) {
      ASSERT_EQ(Bits(value), Bits(RealPower(x, 2))) << x;
    }
    if (SquareOrCube(x, 3, value)) {
      ASSERT_EQ(Bits(value), Bits(cube)) << x;
    }
    doubleProductsDiffer += square != x * x;
    doubleProductsDiffer += cube != x * x * x;
  }
  // The double products differ from the extended ones for many of these values, so matching
  // the extended ones means something.
  EXPECT_GT(doubleProductsDiffer, 1000);
  double value = 0;
  for (const double x : {0.0, -0.0, kInf, -kInf, kNaN, 1e200}) {
    EXPECT_FALSE(SquareOrCube(x, 2, value) && SquareOrCube(x, 3, value)) << x;
  }
  EXPECT_FALSE(SquareOrCube(2, 4, value));
}

// The comparisons above mean something only where the typed plan is taken: lists of real
// commands, ifs on comparisons and calls of such functions are laid out as trees; anything
// else (booleans as values, loops, assignments, trees too deep for the native stack, a
// function whose body result another list shares) keeps the step plan and still computes its
// value.
TEST(ExecutionPlan, TypedPlanTakesListsOfRealCommandsAlone) {
  const std::pair<const char*, bool> mains[] = {
      {"x*x+2*x+1", true},
      {"max(x,y,z)-min(x,y,z)", true},
      {"x*y, x/y, y^z", true},
      {"x^y+x^3", true},
      {"eq(x,y)", false},
      {"if(gr(x,y),x-y,y-x)", true},
      {"z=x*2, z+y", false},
      {"x*2, x", true},
      {"sin(x)+random(1)", false},
      {"if(gr(x,y),x-y)", true},
      {"Fact(x)~if(eq(x,0),1,x*Fact(x-1)), Fact(y)", true},
      {"f(x)~x*2+1, f(y)*f(y)", false},         // one call used twice would run twice
      {"sin(y)*2+f(1), f(x)~sin(y)*2", false},  // the body result shared with the main list
      {"f(x)~bk(z=x,z), f(y)", false},
  };
  for (const auto& [text, typed] : mains) {
    TRun run(text, TPlan::kTyped);
    run.Evaluate(TEvalValue::Real(0.5), TEvalValue::Real(2), TEvalValue::Real(3));
    EXPECT_EQ(run.eval.CommandPlan.typedMain.Ready(), typed) << text;
  }
  std::string sum = "x";
  for (int k = 1; k < 400; ++k)
    sum += "+x";
  TRun deep(sum, TPlan::kTyped);
  EXPECT_EQ(deep.Evaluate(TEvalValue::Real(0.5), TEvalValue::Real(0), TEvalValue::Real(0)),
            "code 0, kind -1, values: | result cells: 200 | x 0.5 y 0 z 0 | result 200");
  EXPECT_FALSE(deep.eval.CommandPlan.typedMain.Ready());

  // Whether the body has a tree, and whether DoRunTimeFunction runs it.
  const std::tuple<const char*, bool, bool> bodies[] = {
      {"f(x)~sin(x)*exp(-x), f(0)", true, true},
      {"f(x,y)~x/y+y^2, f(1,2)", true, true},
      {"f(x)~if(gr(x,0),sqrt(x),0), f(1)", true, true},
      {"Fact(x)~if(eq(x,0),1,x*Fact(x-1)), Fact(3)", true, true},
      // First met in a call, whose cells are not the parameters: calls from trees only.
      {"f(3)+y, f(x)~x*2+y", true, false},
      {"f(x)~if(gr(x,0),g(x),0), g(x)~bk(z=x,z), f(1)", false, false},  // calls a loopless bk
  };
  for (const auto& [text, typed, entry] : bodies) {
    TRun run(text, TPlan::kTyped);
    run.eval.DoVectorOfMathExpressions();
    ASSERT_GE(run.eval.CommandPlan.typedBodies.size(), 1U) << text;
    EXPECT_EQ(run.eval.CommandPlan.typedBodies[0].Ready(), typed) << text;
    EXPECT_EQ(run.eval.CommandPlan.typedCalls[0].root != nullptr, entry) << text;
  }
}

// Joining is what the expressions above exercise, so it must happen where it can, and not
// where the next operation takes the value twice; a shared command runs once.
TEST(ExecutionPlan, OperationsAreJoinedToTheNextOneThatTakesTheirValueOnce) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"(x-y)/z-(y/z-x)", 3},  // [x-y, /z], [y/z, -x], the difference
      {"(x+y)*(x+y)", 2},      // x+y (listed twice, run once), then its square: not joined
      {"sin(x)*y+z", 2},       // [sin(x), *y], +z
      {"z-x^3/y", 2},          // [x^3, /y], z-
  };
  for (const auto& [text, joined] : cases) {
    TRun run(text, TPlan::kSteps);
    run.Evaluate(TEvalValue::Real(0.5), TEvalValue::Real(2), TEvalValue::Real(3));
    EXPECT_EQ(run.eval.CommandPlan.main.joined.size(), joined) << text;
  }
}

// The compiler holds back the sharing key of a composite that uses an entry for the first
// time, and stores it when that entry is used again; a key held back must still be found.
TEST(ExecutionPlan, CompositesAreSharedWhenTheirOperandsComeBack) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"x*y+x*z+x*y", 4},     {"sin(x*y)+y+sin(x*y)", 4}, {"max(x,y)+max(x,y)", 2},
      {"(x+y)*2+3*(x+y)", 4}, {"x+y+z+x+y+z", 5},  // ((x+y)+z)+x ... shares nothing
  };
  for (const auto& [text, commands] : cases) {
    TRun run(text, TPlan::kSteps);
    EXPECT_EQ(run.eval.CommandCount, commands) << text;
  }
}

}  // namespace
}  // namespace evaluator
