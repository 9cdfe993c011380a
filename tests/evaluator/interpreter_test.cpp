// The interpreter and the execution entry points on command tables laid out by hand as the
// compiler lays them out: walks, the guard's reports, if/while, application and runtime calls
// with their limits, and the nesting bound.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluator/complex_eval.h"

namespace evaluator {
namespace {

const std::string kNonMath = "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : ";

// Lays out cells, commands (numbered from 1, each with a fresh result cell) and records.
struct Table {
  TTalvekComplexEval& e;

  TEvalValue* Cell(TEvalValue value = TEvalValue::Null()) {
    TEvalValue* cell = e.NewCell();
    *cell = value;
    return cell;
  }
  TEvalValue* Num(double x) { return Cell(TEvalValue::Real(x)); }
  TEvalValue* Out(std::int32_t command) { return e.Command(command).result[0]; }

  std::int32_t Emit(std::uint16_t code, const std::vector<TEvalValue*>& operands) {
    const auto count = static_cast<std::int32_t>(operands.size());
    TEvalValue** cells = e.NewCellArray(count);
    std::copy(operands.begin(), operands.end(), cells);
    TEvalValue** result = e.NewCellArray(1);
    result[0] = Cell(TEvalValue());
    e.ListaProc.push_back({cells, result, count, code});
    return ++e.CommandCount;
  }

  // `main` runs (empty: every command once); `results` hold the expressions' values.
  void Expressions(PComand main, const std::vector<TEvalValue*>& results) {
    e.MainCommands = std::move(main);
    e.ResultCount = static_cast<std::int32_t>(results.size());
    e.ResultCells = e.NewCellArray(e.ResultCount);
    std::copy(results.begin(), results.end(), e.ResultCells);
  }
  std::int32_t Expression(std::uint16_t code, const std::vector<TEvalValue*>& operands) {
    const std::int32_t command = Emit(code, operands);
    Expressions({command}, {Out(command)});
    return command;
  }

  std::uint16_t RunTimeCode(std::size_t index) const {
    return static_cast<std::uint16_t>(kFirstUserFunctionCode + e.UserFunctions.size() + index);
  }
  void Function(std::int32_t definition, const std::vector<TEvalValue*>& parameters,
                TEvalValue* bodyResult, PComand body) {
    FuncRecord& f = e.FuncArray.emplace_back();
    f.name = "F" + std::to_string(e.FuncArray.size() - 1);
    f.firstCommand = definition;
    f.parameterCount = static_cast<std::int32_t>(parameters.size());
    f.parameterCells = e.NewCellArray(f.parameterCount);
    std::copy(parameters.begin(), parameters.end(), f.parameterCells);
    f.bodyResult = e.NewCellArray(1);
    f.bodyResult[0] = bodyResult;
    f.body = std::move(body);
  }

  // F(n) ~ if(eq(n,0), base, tail), tail being G(n-1) (combine 0), n*G(n-1) ("*") or
  // 1+G(n-1) ("+"), where G has code `callee`. Fact and Cnt are of this form. Returns n.
  TEvalValue* Recursive(double base, std::uint16_t combine, std::uint16_t callee) {
    TEvalValue* n = Num(-1);
    const std::int32_t definition = Emit(RunTimeCode(e.FuncArray.size()), {n});
    const std::int32_t test = Emit(kCodeEq, {n, Num(0)});
    const std::int32_t minus = Emit(kCodeSubtract, {n, Num(1)});
    const std::int32_t call = Emit(callee, {Out(minus)});
    PComand otherwise{minus, call};
    if (combine != 0) {
      otherwise.push_back(Emit(combine, {combine == kCodeMultiply ? n : Num(1), Out(call)}));
    }
    const std::int32_t form = Emit(kCodeIf, {Out(test), Num(base), Out(otherwise.back())});
    e.IfArray.push_back({form, {test}, {}, otherwise});
    Function(definition, {n}, Out(form), {form});
    return n;
  }
};

TEvalValue Evaluate(TTalvekComplexEval& eval) {
  TEvalValue result;
  eval.DoMathExpression(result);
  return result;
}

TEST(Interpreter, AssignmentsRunInListOrderAndYieldTheAssignedValue) {
  TTalvekComplexEval eval;
  Table t{eval};
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
  EXPECT_EQ(y->real, 8);
}

TEST(Interpreter, ArithmeticFaultsReportTheCommandItsKindAndItsOperands) {
  const struct {
    std::uint16_t code;
    std::vector<double> operands;
    std::int32_t errorCode;
    int kind;
    std::string description;
  } cases[] = {
      {kCodeDivide, {1, 0}, -26, mekZeroDivide, "1 / 0"},
      {kCodeMultiply, {1e308, 10}, -25, mekOverflow, "1E308 * 10"},
      {kCodePower, {-8, 1, 2}, -29, mekInvalidOperation, "-8 ^ (1/2)"},
      {kCodePowerFn, {-8, 1, 2}, 49, mekInvalidOperation, "power( -8,1/2) "},
      {kCodeSqrt, {-4}, 7, mekInvalidOperation, "sqrt( -4) "},
      {kCodeLn, {0}, 9, mekZeroDivide, "ln( 0) "},
      {kCodeMax,
       {3, std::numeric_limits<double>::quiet_NaN()},
       27,
       mekInvalidOperation,
       "max( 3 , NAN) "},
  };
  for (const auto& c : cases) {
    TTalvekComplexEval eval;
    Table t{eval};
    std::vector<TEvalValue*> operands;
    for (double v : c.operands)
      operands.push_back(t.Num(v));
    t.Expression(c.code, operands);
    EXPECT_TRUE(Evaluate(eval).IsNull()) << c.description;
    EXPECT_EQ(eval.ErrorCode, c.errorCode) << c.description;
    EXPECT_EQ(eval.MathErrorKind, c.kind) << c.description;
    EXPECT_EQ(eval.ErrorMessage, "ExceptieMatematica-> " +
                                     TTalvekComplexEval::MathExceptionText(c.kind) + " : " +
                                     c.description);
  }
}

TEST(Interpreter, OtherFailuresGetTheWalksPrefixAndASuffixNamingTheOperation) {
  const struct {
    std::uint16_t code;
    bool listed;  // false: no MainCommands, the Execute walk
    std::string message;
  } cases[] = {
      {kCodeAdd, true, kNonMath + "Incorrect real or complex type for operator '+'"},
      {kCodeDivide, false,
       "Execute-> NON MATH EXCEPTION WAS RAISED : Incorrect real or complex type for operator "
       "'/'"},
      {kCodeSin, true, kNonMath + "Incorrect real or complex type : sin"},
  };
  for (const auto& c : cases) {
    TTalvekComplexEval eval;
    Table t{eval};
    std::vector<TEvalValue*> operands{t.Cell(TEvalValue::Boolean(true))};
    if (c.code != kCodeSin) operands.push_back(t.Num(1));
    t.Expression(c.code, operands);
    if (!c.listed) eval.MainCommands.clear();
    Evaluate(eval);
    EXPECT_EQ(eval.ErrorMessage, c.message);
    EXPECT_EQ(eval.ErrorCode, -23);
    EXPECT_EQ(eval.MathErrorKind, 0);
  }
}

TEST(Interpreter, ApplicationFunctionsReportFailuresUnderTheirOwnNumberAndName) {
  std::vector<TEvalValue> handedIn;
  TUserFunction invalid = [](const TEvalValue* const*, std::int32_t, TEvalValue&) {
    throw EMathError(mekInvalidArgument);
  };
  TUserFunction broken = [](const TEvalValue* const*, std::int32_t, TEvalValue&) {
    throw std::runtime_error("table is empty");
  };
  TUserFunction echo = [&](const TEvalValue* const* a, std::int32_t count, TEvalValue& r) {
    handedIn.push_back(r);
    if (count == 2) r = Add(*a[0], *a[1]);
  };
  TTalvekComplexEval eval({{"Gamma", invalid, 1}, {"Broken", broken, 1}, {"Echo", echo, -1}});
  Table t{eval};
  TEvalValue* x = t.Num(2.5);
  t.Expression(kFirstUserFunctionCode, {x});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, 96);
  EXPECT_EQ(eval.MathErrorKind, mekInvalidArgument);
  EXPECT_EQ(eval.ErrorMessage,
            "ExceptieMatematica-> EInvalidArgument->Parameter out of range : Gamma( 2.5) ");
  t.Expression(kFirstUserFunctionCode + 1, {x});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "table is empty : Broken");
  // The scratch result is Null before each call; a function that sets nothing yields Null.
  t.Expression(kFirstUserFunctionCode + 2, {x, t.Num(1)});
  EXPECT_EQ(Evaluate(eval).real, 3.5);
  t.Expression(kFirstUserFunctionCode + 2, {});
  EXPECT_TRUE(Evaluate(eval).IsNull());
  EXPECT_FALSE(eval.ErrorFlag);
  ASSERT_EQ(handedIn.size(), 2u);
  EXPECT_TRUE(handedIn[0].IsNull() && handedIn[1].IsNull());
}

TEST(Interpreter, IfRunsOnlyTheChosenBranchAndNeedsABooleanCondition) {
  int calls[2] = {0, 0};
  auto counted = [&](int which) -> TUserFunction {
    return [&calls, which](const TEvalValue* const*, std::int32_t, TEvalValue& r) {
      r = TEvalValue::Real(++calls[which]);
    };
  };
  TTalvekComplexEval eval({{"f", counted(0), 1}, {"g", counted(1), 1}});
  Table t{eval};
  TEvalValue* x = t.Num(5);
  const std::int32_t test = t.Emit(kCodeGr, {x, t.Num(0)});
  const std::int32_t f = t.Emit(kFirstUserFunctionCode, {x});
  const std::int32_t g = t.Emit(kFirstUserFunctionCode + 1, {x});
  const std::int32_t full = t.Emit(kCodeIf, {t.Out(test), t.Out(f), t.Out(g)});
  const std::int32_t half = t.Emit(kCodeIf, {t.Out(test), t.Out(f)});
  eval.IfArray = {{full, {test}, {f}, {g}}, {half, {test}, {f}, {}}};
  t.Expressions({full}, {t.Out(full)});
  EXPECT_EQ(Evaluate(eval).real, 1);
  *x = TEvalValue::Real(-5);
  EXPECT_EQ(Evaluate(eval).real, 1);
  EXPECT_EQ(calls[0], 1);
  t.Expressions({half}, {t.Out(half)});
  EXPECT_TRUE(Evaluate(eval).IsNull());
  EXPECT_FALSE(eval.ErrorFlag);

  *t.Out(test) = TEvalValue::Real(1);  // a number is no condition
  eval.IfArray[1].condition.clear();
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "Incorrect boolean type : if");
  eval.IfArray.clear();
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "PROGRAMING ERROR : if");
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

// bk(s=0, i=0, while(lseq(i,n-1), bk(i=i+1, s=s+i)), s) with n set by the test.
TEST(Interpreter, WhileSumsAndStopsAfterMaxIterationRounds) {
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* n = t.Num(10);
  TEvalValue* s = t.Cell();
  TEvalValue* i = t.Cell();
  const std::int32_t setS = t.Emit(kCodeAssign, {s, t.Num(0)});
  const std::int32_t setI = t.Emit(kCodeAssign, {i, t.Num(0)});
  const std::int32_t last = t.Emit(kCodeSubtract, {n, t.Num(1)});
  const std::int32_t test = t.Emit(kCodeLseq, {i, t.Out(last)});
  const std::int32_t next = t.Emit(kCodeAdd, {i, t.Num(1)});
  const std::int32_t setNext = t.Emit(kCodeAssign, {i, t.Out(next)});
  const std::int32_t add = t.Emit(kCodeAdd, {s, i});
  const std::int32_t setSum = t.Emit(kCodeAssign, {s, t.Out(add)});
  const std::int32_t body = t.Emit(kCodeBk, {t.Out(setNext), t.Out(setSum)});
  const std::int32_t loop = t.Emit(kCodeWhile, {t.Out(test), t.Out(body)});
  eval.WhileArray = {{loop, {last, test}, {next, setNext, add, setSum, body}}};
  const std::int32_t all = t.Emit(kCodeBk, {t.Out(setS), t.Out(setI), t.Out(loop), s});
  t.Expressions({setS, setI, loop, all}, {t.Out(all)});
  *t.Out(loop) = TEvalValue::Real(-7);
  EXPECT_EQ(Evaluate(eval).real, 55);
  EXPECT_EQ(t.Out(loop)->real, -7);  // a loop has no value of its own

  eval.MaxIteration = 5;
  *n = TEvalValue::Real(5);
  EXPECT_EQ(Evaluate(eval).real, 15);
  *n = TEvalValue::Real(6);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "INFINITE LOOP IN WHILE : MaxIteration=5 : while");
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

TEST(Interpreter, RecursionRestoresParametersAndLimitsTheDepthPerFunction) {
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* n = t.Recursive(1, kCodeMultiply, t.RunTimeCode(0));  // Fact
  t.Recursive(0, kCodeAdd, t.RunTimeCode(1));                       // Cnt
  const std::int32_t fact = t.Expression(t.RunTimeCode(0), {t.Num(5)});
  EXPECT_EQ(Evaluate(eval).real, 120);
  EXPECT_EQ(n->real, -1);
  *eval.Command(fact).operands[0] = TEvalValue::Real(171);  // fails by overflow, not depth
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -25);
  EXPECT_EQ(n->real, -1);
  EXPECT_EQ(eval.FunctionStackTop, 0);

  const std::int32_t cnt = t.Expression(t.RunTimeCode(1), {t.Num(199)});
  EXPECT_EQ(Evaluate(eval).real, 199);
  *eval.Command(cnt).operands[0] = TEvalValue::Real(200);
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -42);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "FUNCTION STACK IS OVERFLOW : F1");
  EXPECT_EQ(eval.FuncArray[1].callDepth, 0u);
  EXPECT_EQ(eval.FunctionStackTop, 0);
}

TEST(Interpreter, CallsReadAllArgumentsFirstAndLeaveABareParameterBodyAlone) {
  // F0(x,y) ~ if(ls(x,y), F0(y,x), x-y) and F1(z) ~ z.
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* x = t.Num(0);
  TEvalValue* y = t.Num(0);
  const std::int32_t definition = t.Emit(t.RunTimeCode(0), {x, y});
  const std::int32_t test = t.Emit(kCodeLs, {x, y});
  const std::int32_t swapped = t.Emit(t.RunTimeCode(0), {y, x});
  const std::int32_t difference = t.Emit(kCodeSubtract, {x, y});
  const std::int32_t form = t.Emit(kCodeIf, {t.Out(test), t.Out(swapped), t.Out(difference)});
  eval.IfArray = {{form, {test}, {swapped}, {difference}}};
  t.Function(definition, {x, y}, t.Out(form), {form});
  TEvalValue* z = t.Num(9);
  t.Function(t.Emit(t.RunTimeCode(1), {z}), {z}, z, {});

  t.Expression(t.RunTimeCode(0), {t.Num(1), t.Num(3)});
  EXPECT_EQ(Evaluate(eval).real, 2);
  EXPECT_EQ(x->real, 0);
  t.Expression(t.RunTimeCode(1), {t.Num(4)});
  EXPECT_EQ(Evaluate(eval).real, 4);
  EXPECT_EQ(z->real, 9);
}

TEST(Interpreter, DeepMutualRecursionEndsWithStackOverflowAndTheEvaluatorStaysUsable) {
  // Forty functions calling each other in a ring, each far below its own limit of 200.
  constexpr std::size_t kRing = 40;
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* n = t.Recursive(0, 0, t.RunTimeCode(1));
  for (std::size_t k = 1; k < kRing; ++k)
    t.Recursive(0, 0, t.RunTimeCode((k + 1) % kRing));
  const std::int32_t ring = t.Expression(t.RunTimeCode(0), {t.Num(150 * kRing)});
  Evaluate(eval);
  EXPECT_EQ(eval.ErrorCode, -35);
  EXPECT_EQ(eval.MathErrorKind, 0);
  EXPECT_EQ(eval.ErrorMessage.rfind(kNonMath + "STACK OVERFLOW : ", 0), 0u);
  EXPECT_EQ(n->real, -1);
  EXPECT_EQ(eval.FunctionStackTop, 0);
  *eval.Command(ring).operands[0] = TEvalValue::Real(100);
  EXPECT_EQ(Evaluate(eval).real, 0);
}

TEST(Interpreter, EntryPointsReportNothingParsedAVectorAndAWrongValueCount) {
  TTalvekComplexEval eval;
  TEvalValue result = TEvalValue::Real(1);
  eval.DoMathExpression(result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -1);
  EXPECT_EQ(eval.ErrorMessage, "DoMathExpression-> NO MATH EXPRESSION WAS PARSED");
  EXPECT_EQ(eval.DoVectorOfMathExpressions(), nullptr);
  EXPECT_EQ(eval.ErrorMessage, "DoVectorOfMathExpressions-> NO MATH EXPRESSION WAS PARSED");

  int fired = 0;
  eval.OnExecuteError = [&](TTalvekComplexEval& sender) { fired += &sender == &eval; };
  Table t{eval};
  t.Expressions({}, {t.Num(1), t.Num(2)});
  result = TEvalValue::Real(1);
  eval.DoMathExpression(result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -18);
  EXPECT_EQ(eval.ErrorMessage, "DoMathExpression-> THERE IS A VECTOR OF MATH EXPRESSIONS");
  EXPECT_NE(eval.DoVectorOfMathExpressions(), nullptr);
  EXPECT_EQ(fired, 1);

  TEvalValue* n = t.Recursive(1, kCodeMultiply, t.RunTimeCode(0));

  eval.DoRunTimeFunction(0, {TEvalValue::Real(5)}, result);
  EXPECT_EQ(result.real, 120);
  EXPECT_EQ(n->real, 5);  // the definition's operands are the parameter cells
  eval.DoRunTimeFunction(0, {TEvalValue::Real(1), TEvalValue::Real(2)}, result);
  EXPECT_TRUE(result.IsNull());
  EXPECT_EQ(eval.ErrorCode, -17);
  EXPECT_EQ(eval.ErrorMessage, "DoRunTimeFunction-> VARIABLE COUNT IS DIFFERENT FOR VALUE COUNT");
  eval.DoRunTimeFunction(0, {TEvalValue::Boolean(true)}, result);
  EXPECT_EQ(eval.ErrorCode, -23);
  EXPECT_EQ(eval.ErrorMessage, kNonMath + "Incorrect comparative type : eq");
  EXPECT_EQ(fired, 3);
}

TEST(Interpreter, RunTimeFunctionFirstMetInACallKeepsThatCallsLiteral) {
  // F0(3) is met before F0(x) ~ x*x.
  TTalvekComplexEval eval;
  Table t{eval};
  TEvalValue* three = t.Num(3);
  const std::int32_t first = t.Emit(t.RunTimeCode(0), {three});
  TEvalValue* x = t.Num(0);
  t.Emit(t.RunTimeCode(0), {x});
  const std::int32_t square = t.Emit(kCodeMultiply, {x, x});
  t.Function(first, {x}, t.Out(square), {square});
  t.Expressions({first}, {t.Out(first)});
  TEvalValue result;
  eval.DoRunTimeFunction(0, {TEvalValue::Real(7)}, result);
  EXPECT_EQ(result.real, 49);
  EXPECT_EQ(three->real, 3);
  EXPECT_EQ(Evaluate(eval).real, 9);
}

}  // namespace
}  // namespace evaluator
