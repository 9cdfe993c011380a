// The interpreter and the execution entry points on command tables laid out by hand as the
// compiler lays them out: walks, the guard's reports, if/while/bk, application and runtime
// calls with their limits, and the nesting bound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

constexpr const char* kNonMath = "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : ";

// Lays out cells, commands and records in an evaluator. Command numbers are 1-based as in
// ListaProc; every command gets a fresh result cell.
class Table {
 public:
  explicit Table(TTalvekComplexEval& eval) : e(eval) {}

  TEvalValue* Cell(TEvalValue value = TEvalValue::Null()) {
    TEvalValue* cell = e.NewCell();
    *cell = value;
    return cell;
  }
  TEvalValue* Num(double x) { return Cell(TEvalValue::Real(x)); }

  std::int32_t Emit(std::uint16_t code, const std::vector<TEvalValue*>& operands) {
    const auto count = static_cast<std::int32_t>(operands.size());
    TEvalValue** cells = e.NewCellArray(count);
    for (std::int32_t k = 0; k < count; ++k)
      cells[k] = operands[static_cast<std::size_t>(k)];
    TEvalValue** result = e.NewCellArray(1);
    result[0] = Cell(TEvalValue());
    e.ListaProc.push_back({cells, result, count, code});
    return ++e.CommandCount;
  }
  TEvalValue* Out(std::int32_t command) { return e.Command(command).result[0]; }

  // The expressions: `main` runs (empty: every command once), `results` are their values.
  void Expressions(PComand main, const std::vector<TEvalValue*>& results) {
    e.MainCommands = std::move(main);
    e.ResultCount = static_cast<std::int32_t>(results.size());
    e.ResultCells = e.NewCellArray(e.ResultCount);
    for (std::size_t k = 0; k < results.size(); ++k)
      e.ResultCells[k] = results[k];
  }

  void If(std::int32_t command, PComand condition, PComand then, PComand otherwise = {}) {
    e.IfArray.push_back({command, std::move(condition), std::move(then), std::move(otherwise)});
  }
  void While(std::int32_t command, PComand test, PComand body) {
    e.WhileArray.push_back({command, std::move(test), std::move(body)});
  }

  // The code runtime function `index` will have.
  std::uint16_t RunTimeCode(std::size_t index) const {
    return static_cast<std::uint16_t>(kFirstUserFunctionCode + e.UserFunctions.size() + index);
  }

  void Function(const std::string& name, std::int32_t definition,
                const std::vector<TEvalValue*>& parameters, TEvalValue* bodyResult, PComand body) {
    FuncRecord f;
    f.name = name;
    f.firstCommand = definition;
    f.parameterCount = static_cast<std::int32_t>(parameters.size());
    f.parameterCells = e.NewCellArray(f.parameterCount);
    for (std::size_t k = 0; k < parameters.size(); ++k)
      f.parameterCells[k] = parameters[k];
    f.bodyResult = e.NewCellArray(1);
    f.bodyResult[0] = bodyResult;
    f.body = std::move(body);
    e.FuncArray.push_back(std::move(f));
  }

  // Runtime function `index`: F(n) ~ if(eq(n,0), base, tail) where tail is F'(n-1) alone
  // (combine 0) or n*F'(n-1) (combine "*") or 1+F'(n-1) (combine "+"); F' has code `callee`.
  // Returns the parameter cell.
  TEvalValue* Recursive(const std::string& name, std::size_t index, double base,
                        std::uint16_t combine, std::uint16_t callee) {
    TEvalValue* n = Cell(TEvalValue::Real(-1));
    const std::int32_t definition = Emit(RunTimeCode(index), {n});
    const std::int32_t test = Emit(kCodeEq, {n, Num(0)});
    const std::int32_t minus = Emit(kCodeSubtract, {n, Num(1)});
    const std::int32_t call = Emit(callee, {Out(minus)});
    PComand otherwise{minus, call};
    TEvalValue* tail = Out(call);
    if (combine != 0) {
      const std::int32_t step = Emit(combine, {combine == kCodeMultiply ? n : Num(1), tail});
      otherwise.push_back(step);
      tail = Out(step);
    }
    const std::int32_t form = Emit(kCodeIf, {Out(test), Num(base), tail});
    If(form, {test}, {}, otherwise);
    Function(name, definition, {n}, Out(form), {form});
    return n;
  }

  // One expression calling runtime function `index` with a literal argument.
  std::int32_t CallExpression(std::size_t index, double argument) {
    const std::int32_t call = Emit(RunTimeCode(index), {Num(argument)});
    Expressions({call}, {Out(call)});
    return call;
  }

  TTalvekComplexEval& e;
};

TEvalValue Evaluate(TTalvekComplexEval& eval) {
  TEvalValue result;
  eval.DoMathExpression(result);
  return result;
}

// ---- Walks -------------------------------------------------------------------------------

TEST(InterpreterWalk, AssignmentsRunInListOrderAndTheAssignmentYieldsItsValue) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell();
  TEvalValue* y = t.Cell();
  const std::int32_t setX = t.Emit(kCodeAssign, {x, t.Num(2)});
  const std::int32_t cube = t.Emit(kCodePower, {x, t.Num(3)});
  const std::int32_t setY = t.Emit(kCodeAssign, {y, t.Out(cube)});
  t.Expressions({setX, cube, setY}, {t.Out(setX), t.Out(setY)});
  TEvalValue** cells = eval.DoVectorOfMathExpressions();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells[0]->real, 2);
  EXPECT_EQ(cells[1]->real, 8);
  EXPECT_EQ(x->real, 2);
  EXPECT_EQ(y->real, 8);
}

TEST(InterpreterWalk, WithoutMainCommandsEveryCommandRunsOnceInCreationOrder) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(1));
  const std::int32_t twice = t.Emit(kCodeMultiply, {x, t.Num(2)});
  const std::int32_t plus = t.Emit(kCodeAdd, {t.Out(twice), t.Num(1)});
  t.Expressions({}, {t.Out(plus)});
  EXPECT_EQ(Evaluate(eval).real, 3);
  // Only the listed commands run when there is a list.
  *t.Out(plus) = TEvalValue::Real(0);
  eval.MainCommands = {twice};
  EXPECT_EQ(Evaluate(eval).real, 0);
}

TEST(InterpreterWalk, ParameterlessApplicationFunctionRunsInBothWalks) {
  int calls = 0;
  TUserFuncArray table = {{"Tick",
                           [&](const TEvalValue* const*, std::int32_t count, TEvalValue& r) {
                             EXPECT_EQ(count, 0);
                             r = TEvalValue::Real(++calls);
                           },
                           -1}};
  TTalvekComplexEval eval(table);
  Table t(eval);
  const std::int32_t tick = t.Emit(kFirstUserFunctionCode, {});
  t.Expressions({}, {t.Out(tick)});
  EXPECT_EQ(Evaluate(eval).real, 1);
  eval.MainCommands = {tick};
  EXPECT_EQ(Evaluate(eval).real, 2);
}

// ---- The guard -----------------------------------------------------------------------------

struct MathFailure {
  const char* label;
  std::uint16_t code;
  std::vector<double> operands;
  std::int32_t errorCode;
  int kind;
  const char* description;
};

TEST(InterpreterGuard, ArithmeticFaultsReportTheCommandItsKindAndItsOperands) {
  const MathFailure cases[] = {
      {"1/x", kCodeDivide, {1, 0}, -26, mekZeroDivide, "1 / 0"},
      {"x*10", kCodeMultiply, {1e308, 10}, -25, mekOverflow, "1E308 * 10"},
      {"x+x", kCodeAdd, {1e308, 1e308}, -27, mekOverflow, "1E308 + 1E308"},
      {"x-y", kCodeSubtract, {-1e308, 1e308}, -28, mekOverflow, "-1E308 - 1E308"},
      {"x^2", kCodePower, {1e200, 2}, -29, mekOverflow, "1E200 ^ 2"},
      {"x^(1/2)", kCodePower, {-8, 1, 2}, -29, mekInvalidOperation, "-8 ^ (1/2)"},
      {"power(x,1/2)", kCodePowerFn, {-8, 1, 2}, 49, mekInvalidOperation, "power( -8,1/2) "},
      {"sqrt(x)", kCodeSqrt, {-4}, 7, mekInvalidOperation, "sqrt( -4) "},
      {"ln(x)", kCodeLn, {0}, 9, mekZeroDivide, "ln( 0) "},
      {"max(3,x)",
       kCodeMax,
       {3, std::numeric_limits<double>::quiet_NaN()},
       27,
       mekInvalidOperation,
       "max( 3 , NAN) "},
      {"exp(x)", kCodeExp, {1000}, 2, mekOverflow, "exp( 1000) "},
  };
  for (const MathFailure& c : cases) {
    TTalvekComplexEval eval;
    Table t(eval);
    std::vector<TEvalValue*> operands;
    for (double v : c.operands)
      operands.push_back(t.Cell(TEvalValue::Real(v)));
    const std::int32_t command = t.Emit(c.code, operands);
    t.Expressions({command}, {t.Out(command)});
    const TEvalValue result = Evaluate(eval);
    EXPECT_TRUE(eval.ErrorFlag) << c.label;
    EXPECT_TRUE(result.IsNull()) << c.label;
    EXPECT_EQ(eval.ErrorCode, c.errorCode) << c.label;
    EXPECT_EQ(eval.MathErrorKind, c.kind) << c.label;
    EXPECT_EQ(eval.ErrorMessage, "ExceptieMatematica-> " +
                                     TTalvekComplexEval::MathExceptionText(c.kind) + " : " +
                                     c.description)
        << c.label;
  }
}

TEST(InterpreterGuard, OtherFailuresGetThePrefixTheMessageAndASuffixByCode) {
  struct Case {
    const char* label;
    std::uint16_t code;
    bool sequential;  // no MainCommands: the Execute walk
    const char* message;
  };
  const Case cases[] = {
      {"a+1", kCodeAdd, false,
       "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : Incorrect real or complex type for "
       "operator '+'"},
      {"a/1 without a command list", kCodeDivide, true,
       "Execute-> NON MATH EXCEPTION WAS RAISED : Incorrect real or complex type for operator "
       "'/'"},
      {"sin(a)", kCodeSin, false,
       "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : Incorrect real or complex type : sin"},
      {"random(a)", kCodeRandom, false,
       "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : Incorrect real type : random"},
  };
  for (const Case& c : cases) {
    TTalvekComplexEval eval;
    Table t(eval);
    TEvalValue* a = t.Cell(TEvalValue::Boolean(true));
    std::vector<TEvalValue*> operands{a};
    if (c.code == kCodeAdd || c.code == kCodeDivide) operands.push_back(t.Num(1));
    const std::int32_t command = t.Emit(c.code, operands);
    t.Expressions(c.sequential ? PComand{} : PComand{command}, {t.Out(command)});
    Evaluate(eval);
    EXPECT_EQ(eval.ErrorMessage, c.message) << c.label;
    EXPECT_EQ(eval.ErrorCode, -23) << c.label;
    EXPECT_EQ(eval.MathErrorKind, 0) << c.label;
  }
}

TEST(InterpreterGuard, TheFirstFailureEndsTheWalkAndTheNextRunStartsClean) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(0));
  TEvalValue* counter = t.Cell(TEvalValue::Real(0));
  const std::int32_t divide = t.Emit(kCodeDivide, {t.Num(1), x});
  const std::int32_t bump = t.Emit(kCodeAssign, {counter, t.Num(7)});
  t.Expressions({divide, bump}, {t.Out(divide)});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -26);
  EXPECT_EQ(counter->real, 0);
  *x = TEvalValue::Real(4);
  EXPECT_EQ(Evaluate(eval).real, 0.25);
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(eval.ErrorCode, 0);
  EXPECT_EQ(eval.MathErrorKind, -1);
  EXPECT_EQ(counter->real, 7);
}

// ---- Application functions -----------------------------------------------------------------

TEST(InterpreterCalls, ApplicationFunctionsGetTheOperandsAndAFreshNullResult) {
  std::vector<TEvalValue> seen;
  TUserFuncArray table = {
      {"Gamma",
       [](const TEvalValue* const*, std::int32_t, TEvalValue&) {
         throw EMathError(mekInvalidArgument);
       },
       1},
      {"Broken",
       [](const TEvalValue* const*, std::int32_t, TEvalValue&) {
         throw std::runtime_error("table is empty");
       },
       1},
      {"Echo",
       [&](const TEvalValue* const* a, std::int32_t count, TEvalValue& r) {
         seen.push_back(r);  // what the interpreter hands in
         if (count == 2) r = Add(*a[0], *a[1]);
       },
       kAnyParameterCount},
  };
  TTalvekComplexEval eval(table);
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(2.5));
  const std::int32_t gamma = t.Emit(kFirstUserFunctionCode, {x});
  const std::int32_t broken = t.Emit(kFirstUserFunctionCode + 1, {x});
  const std::int32_t sum = t.Emit(kFirstUserFunctionCode + 2, {x, t.Num(1)});
  const std::int32_t nothing = t.Emit(kFirstUserFunctionCode + 2, {x});

  t.Expressions({gamma}, {t.Out(gamma)});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, 96);
  EXPECT_EQ(eval.MathErrorKind, mekInvalidArgument);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieMatematica-> EInvalidArgument->Parameter out of range : Gamma( 2.5) ");

  t.Expressions({broken}, {t.Out(broken)});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.ErrorMessage, std::string(kNonMath) + "table is empty : Broken");

  t.Expressions({sum, nothing}, {t.Out(sum), t.Out(nothing)});
  ASSERT_NE(eval.DoVectorOfMathExpressions(), nullptr);
  EXPECT_EQ(t.Out(sum)->real, 3.5);
  EXPECT_TRUE(t.Out(nothing)->IsNull());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].IsNull());
  EXPECT_TRUE(seen[1].IsNull());
}

// ---- Control forms -------------------------------------------------------------------------

// if(gr(x,0), f(x)[, g(x)]) with f and g application functions that count their calls.
struct IfFixture {
  int thenCalls = 0;
  int elseCalls = 0;
  TTalvekComplexEval eval{
      TUserFuncArray{{"f",
                      [this](const TEvalValue* const*, std::int32_t, TEvalValue& r) {
                        ++thenCalls;
                        r = TEvalValue::Real(1);
                      },
                      1},
                     {"g",
                      [this](const TEvalValue* const*, std::int32_t, TEvalValue& r) {
                        ++elseCalls;
                        r = TEvalValue::Real(2);
                      },
                      1}}};
  Table t{eval};
  TEvalValue* x = t.Cell(TEvalValue::Real(0));

  void Build(bool withElse) {
    const std::int32_t test = t.Emit(kCodeGr, {x, t.Num(0)});
    const std::int32_t f = t.Emit(kFirstUserFunctionCode, {x});
    std::vector<TEvalValue*> operands{t.Out(test), t.Out(f)};
    PComand otherwise;
    if (withElse) {
      const std::int32_t g = t.Emit(kFirstUserFunctionCode + 1, {x});
      operands.push_back(t.Out(g));
      otherwise = {g};
    }
    const std::int32_t form = t.Emit(kCodeIf, operands);
    t.If(form, {test}, {f}, otherwise);
    t.Expressions({form}, {t.Out(form)});
  }
};

TEST(InterpreterIf, OnlyTheChosenBranchRuns) {
  IfFixture fixture;
  fixture.Build(true);
  *fixture.x = TEvalValue::Real(5);
  EXPECT_EQ(Evaluate(fixture.eval).real, 1);
  *fixture.x = TEvalValue::Real(-5);
  EXPECT_EQ(Evaluate(fixture.eval).real, 2);
  EXPECT_EQ(fixture.thenCalls, 1);
  EXPECT_EQ(fixture.elseCalls, 1);
  EXPECT_EQ(fixture.eval.FunctionStackTop, 0);
}

TEST(InterpreterIf, TwoOperandsAndAFalseConditionGiveNull) {
  IfFixture fixture;
  fixture.Build(false);
  *fixture.x = TEvalValue::Real(-1);
  EXPECT_TRUE(Evaluate(fixture.eval).IsNull());
  EXPECT_FALSE(fixture.eval.ErrorFlag);
  EXPECT_EQ(fixture.thenCalls, 0);
}

TEST(InterpreterIf, ANumberIsNoConditionAndAMissingRecordIsAProgrammingError) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(1));
  const std::int32_t form = t.Emit(kCodeIf, {x, t.Num(2), t.Num(3)});
  t.Expressions({form}, {t.Out(form)});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorMessage, std::string(kNonMath) + "PROGRAMING ERROR : if");
  t.If(form, {}, {}, {});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorMessage, std::string(kNonMath) + "Incorrect boolean type : if");
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

// bk(n=10,s=0,i=0,while(lseq(i,n-1),bk(i=i+1,s=s+i)),s), optionally without n=10 so that the
// caller sets the number of rounds.
struct LoopFixture {
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* n = t.Cell(TEvalValue::Real(0));
  TEvalValue* s = t.Cell();
  TEvalValue* i = t.Cell();
  std::int32_t loop = 0;

  explicit LoopFixture(bool assignN) {
    PComand main;
    std::vector<TEvalValue*> block;
    if (assignN) {
      const std::int32_t setN = t.Emit(kCodeAssign, {n, t.Num(10)});
      main.push_back(setN);
      block.push_back(t.Out(setN));
    }
    const std::int32_t setS = t.Emit(kCodeAssign, {s, t.Num(0)});
    const std::int32_t setI = t.Emit(kCodeAssign, {i, t.Num(0)});
    const std::int32_t last = t.Emit(kCodeSubtract, {n, t.Num(1)});
    const std::int32_t test = t.Emit(kCodeLseq, {i, t.Out(last)});
    const std::int32_t next = t.Emit(kCodeAdd, {i, t.Num(1)});
    const std::int32_t setNext = t.Emit(kCodeAssign, {i, t.Out(next)});
    const std::int32_t add = t.Emit(kCodeAdd, {s, i});
    const std::int32_t setSum = t.Emit(kCodeAssign, {s, t.Out(add)});
    const std::int32_t body = t.Emit(kCodeBk, {t.Out(setNext), t.Out(setSum)});
    loop = t.Emit(kCodeWhile, {t.Out(test), t.Out(body)});
    t.While(loop, {last, test}, {next, setNext, add, setSum, body});
    for (std::int32_t c : {setS, setI, loop}) {
      main.push_back(c);
      block.push_back(t.Out(c));
    }
    block.push_back(s);
    const std::int32_t all = t.Emit(kCodeBk, block);
    main.push_back(all);
    t.Expressions(main, {t.Out(all)});
  }
};

TEST(InterpreterWhile, TheSumLoopGives55AndLeavesItsResultCellAlone) {
  LoopFixture fixture(true);
  *fixture.t.Out(fixture.loop) = TEvalValue::Real(-7);
  EXPECT_EQ(Evaluate(fixture.eval).real, 55);
  EXPECT_EQ(fixture.t.Out(fixture.loop)->real, -7);
  EXPECT_EQ(fixture.eval.FunctionStackTop, 0);
}

TEST(InterpreterWhile, MaxIterationBoundsTheBodyRuns) {
  LoopFixture fixture(false);
  fixture.eval.MaxIteration = 5;
  *fixture.n = TEvalValue::Real(5);
  EXPECT_EQ(Evaluate(fixture.eval).real, 15);
  EXPECT_FALSE(fixture.eval.ErrorFlag);
  *fixture.n = TEvalValue::Real(6);
  Evaluate(fixture.eval);
  EXPECT_EQ(fixture.eval.ErrorMessage,
            std::string(kNonMath) + "INFINITE LOOP IN WHILE : MaxIteration=5 : while");
  EXPECT_EQ(fixture.eval.ErrorCode, -23);
  EXPECT_EQ(fixture.eval.FunctionStackTop, 0);
}

TEST(InterpreterWhile, DefaultLimitIsOneHundredThousandRounds) {
  LoopFixture fixture(false);
  *fixture.n = TEvalValue::Real(std::numeric_limits<double>::infinity());
  Evaluate(fixture.eval);
  EXPECT_EQ(fixture.eval.ErrorMessage,
            std::string(kNonMath) + "INFINITE LOOP IN WHILE : MaxIteration=100000 : while");
  EXPECT_EQ(fixture.i->real, 100000);
}

// ---- Runtime functions ---------------------------------------------------------------------

TEST(InterpreterRunTime, RecursiveFactorialRestoresItsParameter) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* n = t.Recursive("Fact", 0, 1, kCodeMultiply, t.RunTimeCode(0));
  t.CallExpression(0, 5);
  EXPECT_EQ(Evaluate(eval).real, 120);
  EXPECT_EQ(n->real, -1);
  EXPECT_EQ(eval.FuncArray[0].callDepth, 0u);
  EXPECT_EQ(eval.FunctionStackTop, 0);
  EXPECT_EQ(eval.FuncArray[0].bodyResult[0]->real, 120);
}

TEST(InterpreterRunTime, FactorialOf171OverflowsInTheMultiplication) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* n = t.Recursive("Fact", 0, 1, kCodeMultiply, t.RunTimeCode(0));
  t.CallExpression(0, 171);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -25);
  EXPECT_EQ(eval.MathErrorKind, mekOverflow);
  EXPECT_EQ(eval.ErrorMessage.rfind("ExceptieMatematica-> ", 0), 0u);
  // Every activation put its cells back on the way out.
  EXPECT_EQ(n->real, -1);
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

TEST(InterpreterRunTime, DepthLimitAllows200NestedCallsAndRefusesTheNext) {
  TTalvekComplexEval eval;
  Table t(eval);
  t.Recursive("Cnt", 0, 0, kCodeAdd, t.RunTimeCode(0));
  const std::int32_t call = t.CallExpression(0, 199);
  EXPECT_EQ(Evaluate(eval).real, 199);
  *eval.Command(call).operands[0] = TEvalValue::Real(200);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -42);
  EXPECT_EQ(eval.MathErrorKind, 0);
  EXPECT_EQ(eval.ErrorMessage, std::string(kNonMath) + "FUNCTION STACK IS OVERFLOW : Cnt");
  EXPECT_EQ(eval.FuncArray[0].callDepth, 0u);
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

TEST(InterpreterRunTime, ArgumentsAreReadBeforeAnyParameterIsBound) {
  // Sub(x,y) ~ if(ls(x,y), Sub(y,x), x-y): the swapped call must see the old x.
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(0));
  TEvalValue* y = t.Cell(TEvalValue::Real(0));
  const std::uint16_t code = t.RunTimeCode(0);
  const std::int32_t definition = t.Emit(code, {x, y});
  const std::int32_t test = t.Emit(kCodeLs, {x, y});
  const std::int32_t swapped = t.Emit(code, {y, x});
  const std::int32_t difference = t.Emit(kCodeSubtract, {x, y});
  const std::int32_t form = t.Emit(kCodeIf, {t.Out(test), t.Out(swapped), t.Out(difference)});
  t.If(form, {test}, {swapped}, {difference});
  t.Function("Sub", definition, {x, y}, t.Out(form), {form});
  const std::int32_t call = t.Emit(code, {t.Num(1), t.Num(3)});
  t.Expressions({call}, {t.Out(call)});
  EXPECT_EQ(Evaluate(eval).real, 2);
  EXPECT_EQ(x->real, 0);
  EXPECT_EQ(y->real, 0);
}

TEST(InterpreterRunTime, ABodyWithoutCommandsLeavesItsParameterAlone) {
  // Id(x) ~ x
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* x = t.Cell(TEvalValue::Real(9));
  const std::int32_t definition = t.Emit(t.RunTimeCode(0), {x});
  t.Function("Id", definition, {x}, x, {});
  t.CallExpression(0, 4);
  EXPECT_EQ(Evaluate(eval).real, 4);
  EXPECT_EQ(x->real, 9);
}

TEST(InterpreterNesting, DeepRecursionEndsWithStackOverflowNotACrash) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* n = t.Recursive("Cnt", 0, 0, kCodeAdd, t.RunTimeCode(0));
  eval.MaxFunctionStack = 1000000;
  t.CallExpression(0, 1000000);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -35);
  EXPECT_EQ(eval.MathErrorKind, 0);
  EXPECT_EQ(eval.ErrorMessage.rfind(kNonMath, 0), 0u);
  EXPECT_NE(eval.ErrorMessage.find("STACK OVERFLOW : "), std::string::npos);
  EXPECT_EQ(n->real, -1);
  EXPECT_EQ(eval.FunctionStackTop, 0);
  // The evaluator is usable again at once.
  *eval.Command(eval.MainCommands[0]).operands[0] = TEvalValue::Real(50);
  EXPECT_EQ(Evaluate(eval).real, 50);
}

TEST(InterpreterNesting, ManyMutuallyRecursiveFunctionsWithinTheirOwnLimits) {
  // F0(n) calls F1(n-1), ..., F39(n) calls F0(n-1): no function nears 200 active calls, but
  // together they nest thousands deep.
  constexpr std::size_t kFunctions = 40;
  TTalvekComplexEval eval;
  Table t(eval);
  for (std::size_t k = 0; k < kFunctions; ++k) {
    t.Recursive("F" + std::to_string(k), k, 0, 0, t.RunTimeCode((k + 1) % kFunctions));
  }
  const std::int32_t call = t.CallExpression(0, 150 * kFunctions);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -35);
  *eval.Command(call).operands[0] = TEvalValue::Real(100);
  EXPECT_EQ(Evaluate(eval).real, 0);
  EXPECT_FALSE(eval.ErrorFlag);
}

// ---- Entry points --------------------------------------------------------------------------

TEST(InterpreterEntryPoints, NothingParsedAndVectorGivenToTheSingleEntry) {
  TTalvekComplexEval eval;
  int fired = 0;
  TEvalValue result = TEvalValue::Real(1);
  eval.DoMathExpression(result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -1);
  EXPECT_EQ(eval.ErrorMessage, "DoMathExpression-> NO MATH EXPRESSION WAS PARSED");
  EXPECT_EQ(eval.DoVectorOfMathExpressions(), nullptr);
  EXPECT_EQ(eval.ErrorMessage, "DoVectorOfMathExpressions-> NO MATH EXPRESSION WAS PARSED");
  eval.DoRunTimeFunction(0, {}, result);
  EXPECT_EQ(eval.ErrorCode, -1);
  EXPECT_EQ(eval.ErrorMessage, "DoVectorOfMathExpressions-> NO MATH EXPRESSION WAS PARSED");

  eval.OnExecuteError = [&](TTalvekComplexEval& sender) {
    EXPECT_EQ(&sender, &eval);
    ++fired;
  };
  Table t(eval);
  t.Expressions({}, {t.Num(1), t.Num(2)});
  result = TEvalValue::Real(1);
  eval.DoMathExpression(result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -18);
  EXPECT_EQ(eval.ErrorMessage, "DoMathExpression-> THERE IS A VECTOR OF MATH EXPRESSIONS");
  EXPECT_EQ(fired, 1);
  TEvalValue** cells = eval.DoVectorOfMathExpressions();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells[0]->real, 1);
  EXPECT_EQ(cells[1]->real, 2);
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(fired, 1);
}

TEST(InterpreterEntryPoints, RunTimeFunctionIsCalledThroughItsFirstCommand) {
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* n = t.Recursive("Fact", 0, 1, kCodeMultiply, t.RunTimeCode(0));
  t.CallExpression(0, 3);
  TEvalValue result;
  eval.DoRunTimeFunction(0, {TEvalValue::Real(5)}, result);
  EXPECT_FALSE(eval.ErrorFlag);
  EXPECT_EQ(result.real, 120);
  EXPECT_EQ(n->real, 5);  // the definition's operands are the parameter cells

  eval.DoRunTimeFunction(0, {TEvalValue::Real(1), TEvalValue::Real(2)}, result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -17);
  EXPECT_EQ(eval.ErrorMessage, "DoRunTimeFunction-> VARIABLE COUNT IS DIFFERENT FOR VALUE COUNT");

  eval.DoRunTimeFunction(0, {TEvalValue::Boolean(true)}, result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.ErrorMessage, std::string(kNonMath) + "Incorrect comparative type : eq");
}

TEST(InterpreterEntryPoints, RunTimeFunctionFirstMetInACallLeavesThatCallsCellsAlone) {
  // Sq(3) is met before Sq(x) ~ x*x: the first command reads the literal 3.
  TTalvekComplexEval eval;
  Table t(eval);
  TEvalValue* three = t.Num(3);
  const std::int32_t first = t.Emit(t.RunTimeCode(0), {three});
  TEvalValue* x = t.Cell(TEvalValue::Real(0));
  t.Emit(t.RunTimeCode(0), {x});
  const std::int32_t square = t.Emit(kCodeMultiply, {x, x});
  t.Function("Sq", first, {x}, t.Out(square), {square});
  t.Expressions({first}, {t.Out(first)});
  TEvalValue result;
  eval.DoRunTimeFunction(0, {TEvalValue::Real(7)}, result);
  EXPECT_EQ(result.real, 49);
  EXPECT_EQ(three->real, 3);
  EXPECT_EQ(Evaluate(eval).real, 9);
}

}  // namespace
}  // namespace evaluator
