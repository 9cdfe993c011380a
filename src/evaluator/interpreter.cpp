// The command interpreter: walks over command lists under one guard per walk, dispatches each
// command on its code, runs if/while/bk, calls application and runtime functions with the save
// area and its limits, and reports the command that failed. After a parse it runs from the
// execution plan, whose fast paths handle reals without the full rules.
#include <math.h>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "evaluator/complex_eval.h"
#include "evaluator/functions.h"

namespace evaluator {

constinit thread_local int tWalkNesting = 0;

namespace {

constexpr std::string_view kExecutePrefix = "Execute-> NON MATH EXCEPTION WAS RAISED : ";
constexpr std::string_view kExecuteComandPrefix =
    "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : ";
constexpr const char* kStackOverflowText = "STACK OVERFLOW";
constexpr std::string_view kInfiniteLoop = "INFINITE LOOP IN WHILE : MaxIteration=";

// Nested walks allowed on one thread: calls inside branches inside calls, loops in loops. One
// level of nesting takes about 220 bytes of native stack in an optimised build, so the bound
// takes under 1 MB; deeper nesting reports a stack overflow (-35) instead of exhausting the
// stack.
constexpr int kMaxNesting = kMaxWalkNesting;
// Instrumented builds (sanitizers, coverage) make a level several times larger, so the stack
// the nested walks take is measured too, from the outermost walk's frame, and kept within half
// of the 8 MB main-thread stack.
constexpr std::uintptr_t kMaxNestingStack = std::uintptr_t{4} << 20;
thread_local std::uintptr_t tOutermostFrame = 0;

inline std::uintptr_t FrameAddress() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

// The stack overflow the guard reports with code -35.
class EStackOverflow : public EEvalError {
 public:
  EStackOverflow() : EEvalError(kStackOverflowText) {}
};

enum class TWalk : std::uint8_t { kExecute, kExecuteComand };

class TNestingScope {
 public:
  TNestingScope() {
    if (tWalkNesting++ == 0) tOutermostFrame = FrameAddress();
  }
  ~TNestingScope() { --tWalkNesting; }
  TNestingScope(const TNestingScope&) = delete;
  TNestingScope& operator=(const TNestingScope&) = delete;
};

// Cells are written field by field, and a value computed a moment ago is copied with CopyCell,
// for the reason given there. The save area takes whole copies: what it saves and restores
// was written long before.
inline void SetReal(TEvalValue& cell, double x) {
  cell.real = x;
  cell.kind = vkReal;
}

// The fast paths for doubles: the value when it is finite; false sends the command to the full
// rules (value model or ApplyFunction), which decide the fault or the non-finite value.
template <class F>
[[gnu::always_inline]] inline bool TryRealOperator(const TProcRec& proc, TEvalValue& result, F op) {
  const TEvalValue& x = *proc.operands[0];
  const TEvalValue& y = *proc.operands[1];
  if (x.kind != vkReal || y.kind != vkReal) return false;
  const double value = op(x.real, y.real);
  if (!std::isfinite(value)) [[unlikely]]
    return false;
  SetReal(result, value);
  return true;
}

template <class F>
[[gnu::always_inline]] inline bool TryRealFunction(const TProcRec& proc, TEvalValue& result,
                                                   F function) {
  if (proc.count != 1 || proc.operands[0]->kind != vkReal) return false;
  const double value = function(proc.operands[0]->real);
  if (!std::isfinite(value)) [[unlikely]]
    return false;
  SetReal(result, value);
  return true;
}

// ---- The plan's fast paths ---------------------------------------------------------------
// Each computes a step whose operands are doubles and whose value is finite, and throws
// nothing; false leaves the command to the full rules, which compute it again the same way and
// decide the fault or the non-finite value.

// With kKnownReal the operands are known to hold doubles (see TPlanList) and kinds are not
// looked at.

template <bool kKnownReal>
[[gnu::always_inline]] inline bool Real(const TEvalValue& x) {
  return kKnownReal || x.kind == vkReal;
}

template <bool kKnownReal, class F>
[[gnu::always_inline]] inline bool RealOperatorStep(const TPlanStep& step, F op) {
  const TEvalValue& x = *step.first;
  const TEvalValue& y = *step.second;
  if (!Real<kKnownReal>(x) || !Real<kKnownReal>(y)) return false;
  const double value = op(x.real, y.real);
  if (!std::isfinite(value)) [[unlikely]]
    return false;
  SetReal(*step.result, value);
  return true;
}

template <bool kKnownReal, class F>
[[gnu::always_inline]] inline bool RealFunctionStep(const TPlanStep& step, F function) {
  if (!Real<kKnownReal>(*step.first)) return false;
  const double value = function(step.first->real);
  if (!std::isfinite(value)) [[unlikely]]
    return false;
  SetReal(*step.result, value);
  return true;
}

// x^y for a square or a cube; other exponents are RealPower's, in the full rules.
template <bool kKnownReal>
[[gnu::always_inline]] inline bool RealPowerStep(const TPlanStep& step) {
  const TEvalValue& x = *step.first;
  const TEvalValue& y = *step.second;
  if (!Real<kKnownReal>(x) || !Real<kKnownReal>(y)) return false;
  double value = 0;
  if (!SquareOrCube(x.real, y.real, value)) return false;
  SetReal(*step.result, value);
  return true;
}

// max and min of finite reals, keeping the first of equal operands as the full rules do.
template <bool kKnownReal>
[[gnu::always_inline]] inline bool RealExtremeStep(const TPlanStep& step, bool greatest) {
  double best = 0;
  for (std::int32_t k = 0; k < step.count; ++k) {
    const TEvalValue& v = *step.operands[k];
    if (!Real<kKnownReal>(v) || !std::isfinite(v.real)) return false;
    if (k == 0 || (greatest ? best < v.real : best > v.real)) best = v.real;
  }
  SetReal(*step.result, best);
  return true;
}

// eq, uneq, ls, gr, lseq and greq of two reals, neither of them NaN.
template <bool kKnownReal>
[[gnu::always_inline]] inline bool ComparisonStep(const TPlanStep& step) {
  const TEvalValue& a = *step.first;
  const TEvalValue& b = *step.second;
  if (!Real<kKnownReal>(a) || !Real<kKnownReal>(b)) return false;
  const double x = a.real;
  const double y = b.real;
  if (std::isnan(x) || std::isnan(y)) return false;
  bool value = false;
  switch (step.op) {
    case TPlanStep::kEqual:
      value = ApproxEqual(x, y);
      break;
    case TPlanStep::kNotEqual:
      value = !ApproxEqual(x, y);
      break;
    case TPlanStep::kLess:
      value = x < y;
      break;
    case TPlanStep::kGreater:
      value = x > y;
      break;
    case TPlanStep::kLessOrEqual:
      value = x < y || ApproxEqual(x, y);
      break;
    default:
      value = x > y || ApproxEqual(x, y);
      break;
  }
  TEvalValue& result = *step.result;
  result.boolean = value;
  result.kind = vkBoolean;
  return true;
}

template <bool kKnownReal>
[[gnu::always_inline]] inline bool FastStep(const TPlanStep& step) {
  switch (step.op) {
    case TPlanStep::kAdd:
      return RealOperatorStep<kKnownReal>(step, [](double x, double y) { return x + y; });
    case TPlanStep::kSubtract:
      return RealOperatorStep<kKnownReal>(step, [](double x, double y) { return x - y; });
    case TPlanStep::kMultiply:
      return RealOperatorStep<kKnownReal>(step, [](double x, double y) { return x * y; });
    case TPlanStep::kDivide:
      return RealOperatorStep<kKnownReal>(step, [](double x, double y) { return x / y; });
    case TPlanStep::kPower:
      return RealPowerStep<kKnownReal>(step);
    case TPlanStep::kSquareRoot:
      return RealFunctionStep<kKnownReal>(step, [](double x) { return std::sqrt(x); });
    case TPlanStep::kAbsolute:
      return RealFunctionStep<kKnownReal>(step, [](double x) { return std::fabs(x); });
    case TPlanStep::kSquare:
      return RealFunctionStep<kKnownReal>(step, [](double x) { return x * x; });
    case TPlanStep::kFunction:
      return RealFunctionStep<kKnownReal>(step, step.function);
    case TPlanStep::kMax:
      return RealExtremeStep<kKnownReal>(step, true);
    case TPlanStep::kMin:
      return RealExtremeStep<kKnownReal>(step, false);
    case TPlanStep::kEqual:
    case TPlanStep::kNotEqual:
    case TPlanStep::kLess:
    case TPlanStep::kGreater:
    case TPlanStep::kLessOrEqual:
    case TPlanStep::kGreaterOrEqual:
      return ComparisonStep<kKnownReal>(step);
    case TPlanStep::kGeneral:
    case TPlanStep::kNested:
      return false;
  }
  return false;
}

// Runs the fast steps at the front of a list, those of the known-real front without looking
// at kinds; returns where it stopped, the list's size when every step is done.
[[gnu::always_inline]] inline std::size_t RunFastFront(const TPlanList& list) {
  const TPlanStep* const begin = list.steps.data();
  const TPlanStep* const end = begin + list.steps.size();
  const TPlanStep* step = begin;
  const auto isReal = [](const TEvalValue* cell) { return cell->kind == vkReal; };
  if (std::all_of(list.inputs.begin(), list.inputs.end(), isReal)) {
    const TPlanStep* const known = begin + list.fastSteps;
    while (step != known && FastStep<true>(*step))
      ++step;
  }
  while (step != end && FastStep<false>(*step))
    ++step;
  return static_cast<std::size_t>(step - begin);
}

// The runners of joined steps: one per kind of step, and one per pair of operations and side
// on which the second takes the first one's value. Each returns value * 0, which is NaN
// exactly when a value is not finite; and NaN when its step needs the full rules.
constexpr double kNeedsFullRules = std::numeric_limits<double>::quiet_NaN();

template <TPlanStep::TOp kOp>
[[gnu::always_inline]] inline double Arithmetic(double x, double y) {
  if constexpr (kOp == TPlanStep::kAdd) return x + y;
  if constexpr (kOp == TPlanStep::kSubtract) return x - y;
  if constexpr (kOp == TPlanStep::kMultiply) return x * y;
  if constexpr (kOp == TPlanStep::kDivide) return x / y;
}

template <TPlanStep::TOp kOp>
double RunOperation(const TJoinedStep& joined) {
  const TPlanStep& step = joined.step;
  const double value = Arithmetic<kOp>(step.first->real, step.second->real);
  SetReal(*step.result, value);
  return value * 0.0;
}

// The value of the first step of a pair: an operation, a function of the math library, or a
// square or cube (false for another power, which needs the full rules).
template <TPlanStep::TOp kFirst>
[[gnu::always_inline]] inline bool FirstValue(const TPlanStep& step, double& value) {
  if constexpr (kFirst == TPlanStep::kFunction) {
    value = step.function(step.first->real);
    return true;
  } else if constexpr (kFirst == TPlanStep::kPower) {
    return SquareOrCube(step.first->real, step.second->real, value);
  } else {
    value = Arithmetic<kFirst>(step.first->real, step.second->real);
    return true;
  }
}

template <TPlanStep::TOp kFirst, TPlanStep::TOp kSecond, bool kValueLeft>
double RunPair(const TJoinedStep& joined) {
  const TPlanStep& step = joined.step;
  double value = 0;
  if (!FirstValue<kFirst>(step, value)) return kNeedsFullRules;
  // `other` is not the first result cell (see JoinSteps), so it may be read before the write.
  const double other = joined.other->real;
  SetReal(*step.result, value);
  const double next =
      kValueLeft ? Arithmetic<kSecond>(value, other) : Arithmetic<kSecond>(other, value);
  SetReal(*joined.result, next);
  return value * 0.0 + next * 0.0;
}

double RunFunction(const TJoinedStep& joined) {
  const TPlanStep& step = joined.step;
  const double value = step.function(step.first->real);
  SetReal(*step.result, value);
  return value * 0.0;
}

template <double (*kFunction)(double)>
double RunFixedFunction(const TJoinedStep& joined) {
  const TPlanStep& step = joined.step;
  const double value = kFunction(step.first->real);
  SetReal(*step.result, value);
  return value * 0.0;
}

double Square(double x) {
  return x * x;
}

double RunPower(const TJoinedStep& joined) {
  return RealPowerStep<true>(joined.step) ? 0.0 : kNeedsFullRules;
}

template <bool kGreatest>
double RunExtreme(const TJoinedStep& joined) {
  return RealExtremeStep<true>(joined.step, kGreatest) ? 0.0 : kNeedsFullRules;
}

double RunAnyStep(const TJoinedStep& joined) {
  return FastStep<true>(joined.step) ? 0.0 : kNeedsFullRules;
}

// Runs a list that is a known-real front from end to end, when its inputs hold doubles;
// whether every step ran without a fault. A step whose value is not finite leaves the list to
// the full rules, which run it again from its start and decide the fault: the steps write
// nothing but their result cells, so running them again is harmless.
[[gnu::always_inline]] inline bool RunKnownRealList(const TPlanList& list) {
  for (const TEvalValue* const cell : list.inputs) {
    if (cell->kind != vkReal) return false;
  }
  for (const TJoinedStep& joined : list.joined) {
    if (std::isnan(joined.run(joined))) return false;
  }
  return true;
}

// ---- Making the plan ---------------------------------------------------------------------

// The one-argument functions whose full rules, for a double, give the math library's value
// when it is finite: the library's own functions, which the full rules call too.
using TRealFunction = double (*)(double);
TRealFunction MathLibraryFunction(std::uint16_t code, std::int32_t count) {
  if (count != 1) return nullptr;  // arctan with two arguments, or a count the rules refuse
  switch (code) {
    case kCodeExp:
      return &::exp;
    case kCodeCos:
      return &::cos;
    case kCodeSin:
      return &::sin;
    case kCodeTan:
      return &::tan;
    case kCodeLn:
    case kCodeLog:
      return &::log;
    case kCodeLnxp1:
      return &::log1p;
    case kCodeLog10:
      return &::log10;
    case kCodeLog2:
      return &::log2;
    case kCodeArccos:
      return &::acos;
    case kCodeArccosh:
      return &::acosh;
    case kCodeCosh:
      return &::cosh;
    case kCodeArcsin:
      return &::asin;
    case kCodeArcsinh:
      return &::asinh;
    case kCodeSinh:
      return &::sinh;
    case kCodeArctan:
      return &::atan;
    case kCodeArctanh:
      return &::atanh;
    case kCodeTanh:
      return &::tanh;
    case kCodeFloor:
      return &::floor;
    case kCodeCeil:
    case kCodeCeiling:
      return &::ceil;
    case kCodeInt:
    case kCodeIntegerpart:
      return &::trunc;
    default:
      return nullptr;
  }
}

TPlanStep::TOp FastOp(std::uint16_t code, std::int32_t count) {
  if (count == 2) {
    switch (code) {
      case kCodeAdd:
        return TPlanStep::kAdd;
      case kCodeSubtract:
        return TPlanStep::kSubtract;
      case kCodeMultiply:
        return TPlanStep::kMultiply;
      case kCodeDivide:
        return TPlanStep::kDivide;
      case kCodePower:
        return TPlanStep::kPower;
      case kCodeEq:
        return TPlanStep::kEqual;
      case kCodeUneq:
        return TPlanStep::kNotEqual;
      case kCodeLs:
        return TPlanStep::kLess;
      case kCodeGr:
        return TPlanStep::kGreater;
      case kCodeLseq:
        return TPlanStep::kLessOrEqual;
      case kCodeGreq:
        return TPlanStep::kGreaterOrEqual;
      default:
        break;
    }
  }
  if (count == 1) {
    if (code == kCodeSqrt) return TPlanStep::kSquareRoot;
    if (code == kCodeAbs) return TPlanStep::kAbsolute;
    if (code == kCodeSqr) return TPlanStep::kSquare;
    if (MathLibraryFunction(code, count) != nullptr) return TPlanStep::kFunction;
  }
  if (count >= 1 && code == kCodeMax) return TPlanStep::kMax;
  if (count >= 1 && code == kCodeMin) return TPlanStep::kMin;
  return TPlanStep::kGeneral;
}

TPlanStep PlanStep(const TProcRec& proc, std::int32_t command) {
  TPlanStep step;
  step.command = command;
  step.count = proc.count;
  const bool nested =
      proc.code == kCodeIf || proc.code == kCodeWhile || proc.code >= kFirstUserFunctionCode;
  if (proc.result == nullptr || (proc.count > 0 && proc.operands == nullptr)) {
    step.op = nested ? TPlanStep::kNested : TPlanStep::kGeneral;
    return step;
  }
  step.result = proc.result[0];
  if (nested) {
    // A call's operands are read from the command when it runs: DoRunTimeFunction may lend it
    // cells of its own.
    step.op = TPlanStep::kNested;
    return step;
  }
  step.operands = proc.operands;
  if (proc.count >= 1) step.first = proc.operands[0];
  if (proc.count >= 2) step.second = proc.operands[1];
  step.op = FastOp(proc.code, proc.count);
  if (step.op == TPlanStep::kFunction) step.function = MathLibraryFunction(proc.code, proc.count);
  return step;
}

bool IsArithmetic(TPlanStep::TOp op) {
  return op == TPlanStep::kAdd || op == TPlanStep::kSubtract || op == TPlanStep::kMultiply ||
         op == TPlanStep::kDivide;
}

TJoinedRunner OperationRunner(TPlanStep::TOp op) {
  switch (op) {
    case TPlanStep::kAdd:
      return &RunOperation<TPlanStep::kAdd>;
    case TPlanStep::kSubtract:
      return &RunOperation<TPlanStep::kSubtract>;
    case TPlanStep::kMultiply:
      return &RunOperation<TPlanStep::kMultiply>;
    case TPlanStep::kDivide:
      return &RunOperation<TPlanStep::kDivide>;
    case TPlanStep::kFunction:
      return &RunFunction;
    case TPlanStep::kSquareRoot:
      return &RunFixedFunction<static_cast<double (*)(double)>(&std::sqrt)>;
    case TPlanStep::kAbsolute:
      return &RunFixedFunction<static_cast<double (*)(double)>(&std::fabs)>;
    case TPlanStep::kSquare:
      return &RunFixedFunction<&Square>;
    case TPlanStep::kPower:
      return &RunPower;
    case TPlanStep::kMax:
      return &RunExtreme<true>;
    case TPlanStep::kMin:
      return &RunExtreme<false>;
    default:
      return &RunAnyStep;
  }
}

template <TPlanStep::TOp kFirst>
TJoinedRunner PairRunner(TPlanStep::TOp second, bool valueLeft) {
  switch (second) {
    case TPlanStep::kAdd:
      return valueLeft ? &RunPair<kFirst, TPlanStep::kAdd, true>
                       : &RunPair<kFirst, TPlanStep::kAdd, false>;
    case TPlanStep::kSubtract:
      return valueLeft ? &RunPair<kFirst, TPlanStep::kSubtract, true>
                       : &RunPair<kFirst, TPlanStep::kSubtract, false>;
    case TPlanStep::kMultiply:
      return valueLeft ? &RunPair<kFirst, TPlanStep::kMultiply, true>
                       : &RunPair<kFirst, TPlanStep::kMultiply, false>;
    default:
      return valueLeft ? &RunPair<kFirst, TPlanStep::kDivide, true>
                       : &RunPair<kFirst, TPlanStep::kDivide, false>;
  }
}

TJoinedRunner PairRunner(TPlanStep::TOp first, TPlanStep::TOp second, bool valueLeft) {
  switch (first) {
    case TPlanStep::kAdd:
      return PairRunner<TPlanStep::kAdd>(second, valueLeft);
    case TPlanStep::kSubtract:
      return PairRunner<TPlanStep::kSubtract>(second, valueLeft);
    case TPlanStep::kMultiply:
      return PairRunner<TPlanStep::kMultiply>(second, valueLeft);
    case TPlanStep::kDivide:
      return PairRunner<TPlanStep::kDivide>(second, valueLeft);
    case TPlanStep::kFunction:
      return PairRunner<TPlanStep::kFunction>(second, valueLeft);
    default:
      return PairRunner<TPlanStep::kPower>(second, valueLeft);
  }
}

// Lays out a list of fast steps for RunKnownRealList, joining an operation, a function or a
// power to the next step when that is an operation taking its value as exactly one operand. A
// shared subexpression appears in a list as often as it is used; fast steps write no variable, so
// its later runs would give the value it already has, and only the first is kept.
std::vector<TJoinedStep> JoinSteps(const std::vector<TPlanStep>& all) {
  std::vector<TPlanStep> steps;
  steps.reserve(all.size());
  for (const TPlanStep& step : all) {
    const auto same = [&step](const TPlanStep& kept) { return kept.command == step.command; };
    if (std::none_of(steps.begin(), steps.end(), same)) steps.push_back(step);
  }
  std::vector<TJoinedStep> joined;
  joined.reserve(steps.size());
  for (std::size_t k = 0; k < steps.size(); ++k) {
    const TPlanStep& step = steps[k];
    TJoinedStep j{OperationRunner(step.op), step, nullptr, nullptr};
    const bool joinable =
        IsArithmetic(step.op) || step.op == TPlanStep::kFunction || step.op == TPlanStep::kPower;
    if (k + 1 < steps.size() && joinable && IsArithmetic(steps[k + 1].op)) {
      const TPlanStep& next = steps[k + 1];
      const bool left = next.first == step.result;
      const bool right = next.second == step.result;
      if (left != right) {
        j.run = PairRunner(step.op, next.op, left);
        j.other = left ? next.second : next.first;
        j.result = next.result;
        ++k;
      }
    }
    joined.push_back(j);
  }
  return joined;
}

// Lists longer than this run their fast steps with kinds looked at: finding the inputs of a
// list takes time that grows with the square of its length.
constexpr std::size_t kKnownRealListLimit = 256;

TPlanList PlanList(const TExecutionPlan& plan, const PComand& list) {
  TPlanList planned;
  planned.steps.reserve(list.size());
  for (const std::int32_t n : list)
    planned.steps.push_back(plan.commands[static_cast<std::size_t>(n - 1)]);
  if (list.size() > kKnownRealListLimit) return planned;
  std::vector<const TEvalValue*> written;
  for (const TPlanStep& step : planned.steps) {
    if (step.op == TPlanStep::kGeneral || step.op == TPlanStep::kNested ||
        step.op >= TPlanStep::kEqual) {
      break;
    }
    for (std::int32_t k = 0; k < step.count; ++k) {
      const TEvalValue* const cell = step.operands[k];
      const auto seen = [cell](const std::vector<const TEvalValue*>& cells) {
        return std::find(cells.begin(), cells.end(), cell) != cells.end();
      };
      if (!seen(written) && !seen(planned.inputs)) planned.inputs.push_back(cell);
    }
    written.push_back(step.result);
    ++planned.fastSteps;
  }
  if (planned.fastSteps == planned.steps.size()) planned.joined = JoinSteps(planned.steps);
  return planned;
}

// Whether DoRunTimeFunction's call of function `index` can bypass the walk: what
// CallRunTimeFunction would refuse is left to it, and so is a first call that does not take
// its arguments in the parameter cells (a function first met in a call such as f(3)). `call`
// receives the cells such a call uses.
bool DirectShape(const TTalvekComplexEval& e, std::size_t index,
                 TExecutionPlan::TDirectCall& direct) {
  const FuncRecord& function = e.FuncArray[index];
  const std::vector<TPlanStep>& body = e.CommandPlan.bodies[index].steps;
  if (function.firstCommand < 1 ||
      static_cast<std::size_t>(function.firstCommand) > e.ListaProc.size() ||
      function.bodyResult == nullptr || function.parameterCount < 0 ||
      (function.parameterCount > 0 && function.parameterCells == nullptr)) {
    return false;
  }
  const TProcRec& call = e.ListaProc[static_cast<std::size_t>(function.firstCommand - 1)];
  if (call.code != kFirstUserFunctionCode + e.UserFunctions.size() + index ||
      call.result == nullptr || call.count < function.parameterCount) {
    return false;
  }
  for (std::int32_t k = 0; k < function.parameterCount; ++k) {
    if (call.operands[k] != function.parameterCells[k]) return false;
  }
  // The body's root command comes last; its result cell is the body result.
  if (!body.empty() && body.back().result != function.bodyResult[0]) return false;
  direct.parameters = function.parameterCells;
  direct.parameterCount = function.parameterCount;
  direct.bodyResult = function.bodyResult[0];
  direct.callResult = call.result[0];
  return true;
}

// What CallRunTimeFunctionDirectly needs to run function `index`: a body of fast steps alone.
TExecutionPlan::TDirectCall DirectCall(const TTalvekComplexEval& e, std::size_t index) {
  TExecutionPlan::TDirectCall direct;
  const TPlanList& body = e.CommandPlan.bodies[index];
  if (body.fastSteps != body.steps.size() || !DirectShape(e, index, direct)) return {};
  direct.direct = true;
  for (const TPlanStep& step : body.steps)
    direct.cells.push_back(step.result);
  direct.saved.resize(body.steps.size());
  return direct;
}

// The command table as the typed plan's builder sees it.
class TCommandSource final : public TTypedSource {
 public:
  explicit TCommandSource(TTalvekComplexEval& e) : e_(e) {
    // The cells whose values may change between runs: variables, parameters and every
    // command's result. Any other cell an operand names holds a literal or a folded constant.
    for (const TRecord3& variable : e.VarVect)
      varying_.insert(variable.value);
    for (const TProcRec& proc : e.ListaProc) {
      if (proc.result != nullptr) written_.insert(proc.result[0]);
    }
    for (const FuncRecord& function : e.FuncArray) {
      for (std::int32_t k = 0; function.parameterCells != nullptr && k < function.parameterCount;
           ++k) {
        varying_.insert(function.parameterCells[k]);
      }
      if (function.bodyResult != nullptr) varying_.insert(function.bodyResult[0]);
    }
    for (std::size_t k = 0; k < e.IfArray.size(); ++k)
      ifs_.emplace(e.IfArray[k].command, k);
  }

  bool Varying(const TEvalValue* cell) const override {
    return varying_.count(cell) != 0 || written_.count(cell) != 0;
  }
  bool Written(const TEvalValue* cell) const override { return written_.count(cell) != 0; }

  bool Nested(std::int32_t command, TNested& nested) const override {
    if (command < 1 || static_cast<std::size_t>(command) > e_.ListaProc.size()) return false;
    const TProcRec& proc = e_.Command(command);
    if (proc.result == nullptr || (proc.count > 0 && proc.operands == nullptr)) return false;
    nested.operands = proc.operands;
    nested.count = proc.count;
    nested.result = proc.result[0];
    if (proc.code == kCodeIf) {
      const auto found = ifs_.find(command);
      if (found == ifs_.end()) return false;
      const IfRecord& form = e_.IfArray[found->second];
      const PComand* lists[] = {&form.condition, &form.thenCommands, &form.elseCommands};
      for (int k = 0; k < 3; ++k) {
        for (const std::int32_t n : *lists[k])
          nested.lists[k].push_back(e_.CommandPlan.commands[static_cast<std::size_t>(n - 1)]);
      }
      nested.isIf = true;
      return true;
    }
    const std::size_t applications = e_.UserFunctions.size();
    if (proc.code < kFirstUserFunctionCode + applications) return false;
    const std::size_t index = proc.code - kFirstUserFunctionCode - applications;
    if (index >= callable_.size() || !callable_[index]) return false;
    TTypedCallee& callee = e_.CommandPlan.typedCallees[index];
    if (rootsKnown_ && callee.root == nullptr) return false;
    nested.callee = &callee;
    return true;
  }

  // Which functions typed calls may call: bodies without surprises for a tree. Once every body
  // is built, only those whose body has a typed tree.
  void SetCallable(std::vector<bool> callable) { callable_ = std::move(callable); }
  void SetRootsKnown() { rootsKnown_ = true; }

 private:
  TTalvekComplexEval& e_;
  std::unordered_set<const TEvalValue*> varying_;
  std::unordered_set<const TEvalValue*> written_;
  std::unordered_map<std::int32_t, std::size_t> ifs_;
  std::vector<bool> callable_;
  bool rootsKnown_ = false;
};

// Which functions typed calls may call. The full rules put a function's body result cell back
// around every call of an enclosing function whose lists hold it, and write it after each
// call of its own; that is the latest call's value only when no other list holds the cell.
std::vector<bool> TypedCallable(const TTalvekComplexEval& e) {
  std::unordered_map<const TEvalValue*, int> listsHolding;
  const auto count = [&](const PComand& list) {
    std::unordered_set<const TEvalValue*> cells;
    for (const std::int32_t n : list) {
      if (n < 1 || static_cast<std::size_t>(n) > e.ListaProc.size()) continue;
      const TProcRec& proc = e.ListaProc[static_cast<std::size_t>(n - 1)];
      if (proc.result != nullptr) cells.insert(proc.result[0]);
    }
    for (const TEvalValue* cell : cells)
      ++listsHolding[cell];
  };
  count(e.MainCommands);
  if (e.CommandsWithoutMain) count(*e.CommandsWithoutMain);
  for (const FuncRecord& function : e.FuncArray)
    count(function.body);
  for (const IfRecord& form : e.IfArray) {
    count(form.condition);
    count(form.thenCommands);
    count(form.elseCommands);
  }
  for (const WhileRecord& loop : e.WhileArray) {
    count(loop.test);
    count(loop.body);
  }
  std::vector<bool> callable(e.FuncArray.size(), false);
  for (std::size_t index = 0; index < e.FuncArray.size(); ++index) {
    const FuncRecord& function = e.FuncArray[index];
    const std::vector<TPlanStep>& body = e.CommandPlan.bodies[index].steps;
    if (function.bodyResult == nullptr || body.empty() || function.parameterCount < 0 ||
        function.parameterCount > kMaxTypedParameters ||
        (function.parameterCount > 0 && function.parameterCells == nullptr) ||
        body.back().result != function.bodyResult[0]) {
      continue;
    }
    const auto found = listsHolding.find(function.bodyResult[0]);
    callable[index] = found != listsHolding.end() && found->second == 1;
  }
  return callable;
}

void MakeTypedPlans(TTalvekComplexEval& e) {
  TExecutionPlan& plan = e.CommandPlan;
  TCommandSource source(e);
  const std::size_t functions = e.FuncArray.size();
  const std::vector<bool> callable = TypedCallable(e);
  source.SetCallable(callable);
  plan.typedBodies.resize(functions);
  plan.typedCallees.resize(functions);
  plan.typedCalls.resize(functions);
  std::vector<TExecutionPlan::TDirectCall> shapes(functions);
  std::vector<bool> entries(functions, false);
  for (std::size_t index = 0; index < functions; ++index) {
    FuncRecord& function = e.FuncArray[index];
    TTypedCallee& callee = plan.typedCallees[index];
    callee.plan = &plan.typedBodies[index];
    callee.parameters = function.parameterCells;
    callee.parameterCount = function.parameterCount;
    callee.depth = &function.callDepth;
    callee.maxDepth = &e.MaxFunctionStack;
    callee.bodyResult = function.bodyResult != nullptr ? function.bodyResult[0] : nullptr;
    callee.state = &plan.typedState;
    entries[index] = DirectShape(e, index, shapes[index]);
    if ((entries[index] || callable[index]) && !plan.bodies[index].steps.empty() &&
        plan.typedBodies[index].Build(plan.bodies[index].steps, {callee.bodyResult}, source) &&
        callable[index]) {
      callee.root = plan.typedBodies[index].Root();
    }
  }
  // A body that calls a function without a typed tree has none either, and so on up; then
  // each is linked to what it reaches.
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t index = 0; index < functions; ++index) {
      TTypedPlan& body = plan.typedBodies[index];
      if (!body.Ready()) continue;
      const auto& callees = body.Callees();
      const bool complete = std::all_of(callees.begin(), callees.end(),
                                        [](const TTypedCallee* c) { return c->root != nullptr; });
      if (complete && body.Link(&plan.typedCallees[index], &plan.typedState)) continue;
      body.Clear();
      plan.typedCallees[index].root = nullptr;
      changed = true;
    }
  }
  source.SetRootsKnown();

  if (e.ResultCells != nullptr && e.ResultCount >= 1) {
    const std::vector<TEvalValue*> roots(e.ResultCells, e.ResultCells + e.ResultCount);
    if (std::find(roots.begin(), roots.end(), nullptr) == roots.end() &&
        plan.typedMain.Build(plan.main.steps, roots, source)) {
      if (plan.typedMain.Link(nullptr, &plan.typedState)) {
        plan.typedValues.resize(plan.typedMain.RootCount());
      } else {
        plan.typedMain.Clear();
      }
    }
  }
  if (e.ResultCount == 1 && plan.typedMain.RootCount() == 1 &&
      plan.typedMain.RootCell(0) == e.ResultCells[0]) {
    plan.typedEntry = plan.typedMain.Entry();
    plan.typedEntryMainCount = e.MainCommands.size();
  }
  for (std::size_t index = 0; index < functions; ++index) {
    const TTypedPlan& body = plan.typedBodies[index];
    const TExecutionPlan::TDirectCall& shape = shapes[index];
    if (!entries[index] || !body.Ready()) continue;
    const TTypedEntry entry = body.Entry();
    TExecutionPlan::TTypedCall& call = plan.typedCalls[index];
    call.root = entry.root;
    call.parameters = shape.parameters;
    call.parameterCount = static_cast<std::size_t>(shape.parameterCount);
    const auto* const parametersEnd = shape.parameters + shape.parameterCount;
    for (std::size_t k = 0; k < entry.inputCount; ++k) {
      if (std::find(shape.parameters, parametersEnd, entry.inputs[k]) == parametersEnd)
        call.inputs.push_back(entry.inputs[k]);
    }
    call.bodyResult = entry.cell;
    call.callResult = shape.callResult;
    call.depth = &e.FuncArray[index].callDepth;
    if (call.parameterCount == 1 && call.inputs.empty()) call.single = call.parameters[0];
  }
}

// Runs the main list by its typed plan: the result cells written, the error fields as a
// successful Execute leaves them. False, with nothing written, when the full rules must run.
bool RunTypedMain(TTalvekComplexEval& e) {
  TExecutionPlan& plan = e.CommandPlan;
  if (!plan.typedMain.Ready() || plan.mainCount != e.MainCommands.size()) return false;
  double* const values = plan.typedValues.data();
  if (!plan.typedMain.Compute(values)) return false;
  for (std::size_t k = 0; k < plan.typedMain.RootCount(); ++k)
    SetReal(*plan.typedMain.RootCell(k), values[k]);
  e.MathErrorKind = mekNone;
  e.ErrorCode = ecNone;
  return true;
}

// Makes the plan when a parse asked for one; whether there is one.
[[gnu::noinline]] bool MakePlan(TTalvekComplexEval& e) {
  TExecutionPlan& plan = e.CommandPlan;
  if (!plan.wanted || e.ListaProc.empty()) return false;
  for (const std::int32_t n : e.MainCommands) {
    if (n < 1 || static_cast<std::size_t>(n) > e.ListaProc.size()) return false;
  }
  for (const FuncRecord& function : e.FuncArray) {
    for (const std::int32_t n : function.body) {
      if (n < 1 || static_cast<std::size_t>(n) > e.ListaProc.size()) return false;
    }
  }
  plan.commands.reserve(e.ListaProc.size());
  for (std::size_t k = 0; k < e.ListaProc.size(); ++k)
    plan.commands.push_back(PlanStep(e.ListaProc[k], static_cast<std::int32_t>(k + 1)));
  plan.main = PlanList(plan, e.MainCommands);
  plan.mainCount = e.MainCommands.size();
  plan.mainDirect = !plan.main.steps.empty() && plan.main.fastSteps == plan.main.steps.size() &&
                    e.ResultCount == 1 && e.ResultCells != nullptr && e.ResultCells[0] != nullptr;
  plan.bodies.reserve(e.FuncArray.size());
  plan.directCalls.reserve(e.FuncArray.size());
  for (std::size_t index = 0; index < e.FuncArray.size(); ++index) {
    plan.bodies.push_back(PlanList(plan, e.FuncArray[index].body));
    plan.directCalls.push_back(DirectCall(e, index));
  }
  if (plan.typedWanted) MakeTypedPlans(e);
  return true;
}

// Whether walks run from the plan; makes it on the first walk after a parse.
inline bool PlanReady(TTalvekComplexEval& e) {
  if (e.CommandPlan.Ready()) [[likely]]
    return true;
  return MakePlan(e);
}

// ---- What a walk runs ----------------------------------------------------------------------
// A walk goes over positions k = 0 .. count - 1 of a sequence, which names the command at each
// position and, in a planned sequence, its step.

struct TCommandList {
  static constexpr bool kPlanned = false;
  const std::int32_t* list;
  std::int32_t Command(std::size_t k) const { return list[k]; }
};

struct TAllCommands {  // commands 1 .. count in creation order
  static constexpr bool kPlanned = false;
  std::int32_t Command(std::size_t k) const { return static_cast<std::int32_t>(k + 1); }
};

struct TPlannedList {
  static constexpr bool kPlanned = true;
  const std::int32_t* list;
  const TPlanStep* plan;
  std::int32_t Command(std::size_t k) const { return list[k]; }
  const TPlanStep& Step(std::size_t k) const { return plan[list[k] - 1]; }
};

// Steps laid out in the order they run: the plan's commands, its main list or a body.
struct TPlannedSteps {
  static constexpr bool kPlanned = true;
  const TPlanStep* steps;
  std::int32_t Command(std::size_t k) const { return steps[k].command; }
  const TPlanStep& Step(std::size_t k) const { return steps[k]; }
};

// Runs fast steps from position k on until one needs more; returns where it stopped, `count`
// when all are done.
template <class TSequence>
std::size_t RunFastSteps(TSequence sequence, std::size_t k, std::size_t count) {
  while (k < count && FastStep<false>(sequence.Step(k)))
    ++k;
  return k;
}

// One activation of the interpreter on an evaluator. It keeps no state of its own: everything
// lives in the evaluator's cells and fields.
class TInterpreter {
 public:
  explicit TInterpreter(TTalvekComplexEval& eval) : e_(eval) {}

  // Runs the commands at positions k .. count - 1 of the sequence while ErrorFlag stays clear.
  // A failure ends the walk and is reported for the command that raised it.
  template <class TSequence>
  void Walk(TSequence sequence, std::size_t k, std::size_t count, TWalk walk) {
    const TNestingScope nesting;
    try {
      if constexpr (TSequence::kPlanned) {
        // Only forms and calls run walks of their own that can set ErrorFlag without throwing,
        // so the flag is looked at after them alone.
        if (e_.ErrorFlag) return;
        for (; k < count; ++k) {
          const TPlanStep& step = sequence.Step(k);
          if (step.op == TPlanStep::kNested) {
            const std::int32_t n = sequence.Command(k);
            Nest(n, Command(n));
            if (e_.ErrorFlag) return;
          } else if (!FastStep<false>(step)) {
            Step(Command(sequence.Command(k)));
          }
        }
      } else {
        for (; k < count; ++k) {
          if (e_.ErrorFlag) return;
          const std::int32_t n = sequence.Command(k);
          TProcRec& proc = Command(n);
          // Forms and calls leave the walk's loop for a frame of their own, so that what stays
          // on the native stack while they nest is as small as it can be.
          if (proc.code == kCodeIf || proc.code == kCodeWhile ||
              proc.code >= kFirstUserFunctionCode) {
            Nest(n, proc);
          } else {
            Step(proc);
          }
        }
      }
    } catch (...) {
      ReportCurrentFailure(walk, sequence.Command(k));
    }
  }

  // Runs `call`, a copy of call command n with operands of its own, as a walk of
  // ExecuteComand runs command n; a failure is reported for command n.
  void RunCall(std::int32_t n, TProcRec& call) {
    const TNestingScope nesting;
    try {
      Nest(n, call);
    } catch (...) {
      ReportCurrentFailure(TWalk::kExecuteComand, n);
    }
  }

  // Runs list[0] .. list[count - 1] as ExecuteComand does: from the plan, the fast steps at the
  // front without a walk's frame and the rest in a walk.
  void RunList(const std::int32_t* list, std::size_t count) {
    if (!PlanReady(e_)) {
      Walk(TCommandList{list}, 0, count, TWalk::kExecuteComand);
      return;
    }
    if (e_.ErrorFlag || count == 0) return;
    const TPlannedList sequence{list, e_.CommandPlan.commands.data()};
    // A list that starts with a form or call goes to the walk at once.
    const std::size_t done =
        sequence.Step(0).op == TPlanStep::kNested ? 0 : RunFastSteps(sequence, 0, count);
    if (done < count) WalkOutOfLine(sequence, done, count, TWalk::kExecuteComand);
  }

  // Runs steps laid out in order, as ExecuteComand runs a list: the fast steps at the front
  // without a walk's frame, the rest in a walk.
  void RunSteps(const TPlanList& list, TWalk walk) {
    const std::size_t size = list.steps.size();
    if (e_.ErrorFlag || size == 0) return;
    // A list that starts with a form or call, as a recursive body does, goes to the walk at
    // once.
    const std::size_t done = list.steps[0].op == TPlanStep::kNested ? 0 : RunFastFront(list);
    if (done < size) WalkOutOfLine(TPlannedSteps{list.steps.data()}, done, size, walk);
  }

  template <class TSequence>
  [[gnu::noinline]] void WalkOutOfLine(TSequence sequence, std::size_t k, std::size_t count,
                                       TWalk walk) {
    Walk(sequence, k, count, walk);
  }

 private:
  TProcRec& Command(std::int32_t n) { return e_.ListaProc[static_cast<std::size_t>(n - 1)]; }

  // Reports the exception being handled as the failure of command `command`: arithmetic
  // kinds through ExceptieMatematica, anything else with the walk's prefix. Out of line, so that
  // the walks' loops stay as small as they can be.
  [[gnu::noinline]] void ReportCurrentFailure(TWalk walk, std::int32_t command) {
    try {
      throw;
    } catch (const EMathError& error) {
      if (error.kind() >= mekOverflow && error.kind() <= mekInvalidOperation) {
        e_.ExceptieMatematica(command, error.kind());
      } else {
        ReportNonMath(walk, command, error.what(), false);
      }
    } catch (const EStackOverflow& error) {
      ReportNonMath(walk, command, error.what(), true);
    } catch (const std::exception& error) {
      ReportNonMath(walk, command, error.what(), false);
    } catch (...) {
      ReportNonMath(walk, command, "UNKNOWN EXCEPTION", false);
    }
  }

  [[gnu::always_inline]] inline void Step(TProcRec& proc) {
    TEvalValue* const* a = proc.operands;
    TEvalValue& r = *proc.result[0];
    switch (proc.code) {
      case kCodeMultiply:
        if (TryRealOperator(proc, r, [](double x, double y) { return x * y; })) return;
        r = Multiply(*a[0], *a[1]);
        return;
      case kCodeDivide:
        if (TryRealOperator(proc, r, [](double x, double y) { return x / y; })) return;
        r = Divide(*a[0], *a[1]);
        return;
      case kCodeAdd:
        if (TryRealOperator(proc, r, [](double x, double y) { return x + y; })) return;
        r = Add(*a[0], *a[1]);
        return;
      case kCodeSubtract:
        if (TryRealOperator(proc, r, [](double x, double y) { return x - y; })) return;
        r = Subtract(*a[0], *a[1]);
        return;
      case kCodePower:
        if (proc.count == 2 && a[0]->kind == vkReal && a[1]->kind == vkReal) {
          SetReal(r, RealPower(a[0]->real, a[1]->real));
          return;
        }
        break;
      case kCodeAssign:
        CopyCell(*a[0], *a[1]);
        CopyCell(r, *a[1]);
        return;
      case kCodeDefine:
        r = TEvalValue::Null();
        return;
      case kCodeBk:
        if (proc.count < 1) break;
        CopyCell(r, *a[proc.count - 1]);
        return;
      case kCodeExp:
        if (TryRealFunction(proc, r, [](double x) { return std::exp(x); })) return;
        break;
      case kCodeSin:
        if (TryRealFunction(proc, r, [](double x) { return std::sin(x); })) return;
        break;
      case kCodeCos:
        if (TryRealFunction(proc, r, [](double x) { return std::cos(x); })) return;
        break;
      case kCodeTan:
        if (TryRealFunction(proc, r, [](double x) { return std::tan(x); })) return;
        break;
      case kCodeSqrt:
        if (TryRealFunction(proc, r, [](double x) { return std::sqrt(x); })) return;
        break;
      case kCodeAbs:
        if (TryRealFunction(proc, r, [](double x) { return std::fabs(x); })) return;
        break;
      case kCodeLn:
      case kCodeLog:
        if (TryRealFunction(proc, r, [](double x) { return std::log(x); })) return;
        break;
      case kCodeSqr:
        if (TryRealFunction(proc, r, [](double x) { return x * x; })) return;
        break;
      default:
        break;
    }
    r = ApplyFunction(proc.code, a, proc.count);
  }

  void Nest(std::int32_t n, TProcRec& proc) {
    if (proc.code == kCodeIf) {
      RunIf(n, proc);
    } else if (proc.code == kCodeWhile) {
      RunWhile(n, proc);
    } else {
      Call(proc);
    }
  }

  // ---- Save area -------------------------------------------------------------------------

  // Grows FunctionStack so that `slots` values fit above FunctionStackTop.
  void MakeRoom(std::size_t slots) {
    const auto top = static_cast<std::size_t>(e_.FunctionStackTop);
    if (e_.FunctionStack.size() - top < slots)
      e_.FunctionStack.resize(e_.FunctionStack.size() + slots);
  }

  // Pushes the result cells of the commands of `list`; MakeRoom has made space for them. Cell
  // writes may alias anything, so the loops keep what they use in locals.
  void Save(const PComand& list) {
    const std::int32_t* const numbers = list.data();
    const std::size_t size = list.size();
    const TProcRec* const commands = e_.ListaProc.data();
    TEvalValue* const saved = e_.FunctionStack.data() + e_.FunctionStackTop;
    for (std::size_t k = 0; k < size; ++k)
      saved[k] = *commands[numbers[k] - 1].result[0];
    e_.FunctionStackTop += static_cast<std::int32_t>(size);
  }

  void Restore(const PComand& list) {
    const std::int32_t* const numbers = list.data();
    const std::size_t size = list.size();
    const TProcRec* const commands = e_.ListaProc.data();
    e_.FunctionStackTop -= static_cast<std::int32_t>(size);
    const TEvalValue* const saved = e_.FunctionStack.data() + e_.FunctionStackTop;
    for (std::size_t k = 0; k < size; ++k)
      *commands[numbers[k] - 1].result[0] = saved[k];
  }

  // The same for a body laid out in the plan, whose steps hold their result cells. Cell writes
  // may alias anything, so the loops keep their bounds in locals.
  void Save(const std::vector<TPlanStep>& steps) {
    const TPlanStep* const body = steps.data();
    const std::size_t size = steps.size();
    TEvalValue* const saved = e_.FunctionStack.data() + e_.FunctionStackTop;
    for (std::size_t k = 0; k < size; ++k)
      saved[k] = *body[k].result;
    e_.FunctionStackTop += static_cast<std::int32_t>(size);
  }

  void Restore(const std::vector<TPlanStep>& steps) {
    const TPlanStep* const body = steps.data();
    const std::size_t size = steps.size();
    e_.FunctionStackTop -= static_cast<std::int32_t>(size);
    const TEvalValue* const saved = e_.FunctionStack.data() + e_.FunctionStackTop;
    for (std::size_t k = 0; k < size; ++k)
      *body[k].result = saved[k];
  }

  void Run(const PComand& list) { RunList(list.data(), list.size()); }

  // Before a form or call runs nested walks: the native stack must not run out, whatever the
  // user's text nests.
  static void CheckNesting() {
    const std::uintptr_t frame = FrameAddress();
    const std::uintptr_t used =
        frame < tOutermostFrame ? tOutermostFrame - frame : frame - tOutermostFrame;
    if (tWalkNesting >= kMaxNesting || used > kMaxNestingStack) throw EStackOverflow();
  }

  // ---- Control forms ---------------------------------------------------------------------
  // The cells a form saves are put back however it ends, so FunctionStackTop always returns
  // to where it was and a failed run leaves the variables of an enclosing call intact.

  [[gnu::noinline]] void RunIf(std::int32_t n, TProcRec& proc) {
    const auto found = std::find_if(e_.IfArray.begin(), e_.IfArray.end(),
                                    [n](const IfRecord& form) { return form.command == n; });
    if (found == e_.IfArray.end() || proc.count < 2) throw EEvalError(kProgrammingError);
    const IfRecord& form = *found;
    CheckNesting();
    MakeRoom(form.condition.size() + form.thenCommands.size() + form.elseCommands.size());
    Save(form.condition);
    Save(form.thenCommands);
    Save(form.elseCommands);
    const auto restore = [&] {
      Restore(form.elseCommands);
      Restore(form.thenCommands);
      Restore(form.condition);
    };
    TEvalValue value = TEvalValue::Null();
    try {
      Run(form.condition);
      if (!e_.ErrorFlag) {
        const TEvalValue& condition = *proc.operands[0];
        if (!condition.IsBoolean()) throw EEvalError(kIncorrectBooleanType);
        if (condition.boolean) {
          Run(form.thenCommands);
          CopyCell(value, *proc.operands[1]);
        } else if (proc.count >= 3) {
          Run(form.elseCommands);
          CopyCell(value, *proc.operands[2]);
        }
      }
    } catch (...) {
      restore();
      throw;
    }
    restore();
    // Written after the restore: the value was read from a branch cell that the restore puts
    // back.
    if (!e_.ErrorFlag) CopyCell(*proc.result[0], value);
  }

  // A while has no value: its result cell is never written.
  [[gnu::noinline]] void RunWhile(std::int32_t n, TProcRec& proc) {
    const auto found = std::find_if(e_.WhileArray.begin(), e_.WhileArray.end(),
                                    [n](const WhileRecord& loop) { return loop.command == n; });
    if (found == e_.WhileArray.end() || proc.count < 1) throw EEvalError(kProgrammingError);
    const WhileRecord& loop = *found;
    CheckNesting();
    MakeRoom(loop.test.size() + loop.body.size());
    Save(loop.test);
    Save(loop.body);
    const auto restore = [&] {
      Restore(loop.body);
      Restore(loop.test);
    };
    try {
      const TEvalValue& test = *proc.operands[0];
      Run(loop.test);
      if (!e_.ErrorFlag && !test.IsBoolean()) throw EEvalError(kIncorrectBooleanType);
      std::int32_t rounds = 0;
      while (!e_.ErrorFlag && test.boolean) {
        if (rounds >= e_.MaxIteration) {
          throw EEvalError(std::string(kInfiniteLoop) + std::to_string(e_.MaxIteration));
        }
        ++rounds;
        Run(loop.body);
        Run(loop.test);
        if (!e_.ErrorFlag && !test.IsBoolean()) throw EEvalError(kIncorrectBooleanType);
      }
    } catch (...) {
      restore();
      throw;
    }
    restore();
  }

  // ---- Calls -----------------------------------------------------------------------------

  void Call(TProcRec& proc) {
    const auto index = static_cast<std::size_t>(proc.code - kFirstUserFunctionCode);
    if (index < e_.UserFunctions.size()) {
      CallApplicationFunction(e_.UserFunctions[index], proc);
    } else {
      CallRunTimeFunction(index - e_.UserFunctions.size(), proc);
    }
  }

  [[gnu::noinline]] static void CallApplicationFunction(const TUserFuncRec& function,
                                                        TProcRec& proc) {
    TEvalValue result = TEvalValue::Null();
    function.function(proc.operands, proc.count, result);
    *proc.result[0] = result;
  }

  // Binds the arguments to the function's parameter cells and runs its body. Everything the
  // body writes (its command results and the parameters) is saved first and put back after,
  // so an outer activation of the same function finds its values again.
  [[gnu::noinline]] void CallRunTimeFunction(std::size_t index, TProcRec& proc) {
    if (index >= e_.FuncArray.size()) throw EEvalError(kProgrammingError);
    FuncRecord& function = e_.FuncArray[index];
    const auto parameters = static_cast<std::size_t>(std::max(function.parameterCount, 0));
    if (function.bodyResult == nullptr || (parameters > 0 && function.parameterCells == nullptr) ||
        proc.count < function.parameterCount) {
      throw EEvalError(kProgrammingError);
    }
    TEvalValue& bodyResult = *function.bodyResult[0];
    // A body without commands is a bare parameter, variable or constant: its cell is left alone.
    const bool hasBody = !function.body.empty();
    if (hasBody) bodyResult = TEvalValue::Null();
    if (static_cast<std::int64_t>(function.callDepth) >= e_.MaxFunctionStack) {
      e_.ErrorCode = ecFunctionStackOverflow;
      throw EEvalError(std::string(msg::kFunctionStackOverflow));
    }
    CheckNesting();
    // The body as the plan lays it out, when there is a plan.
    const TPlanList* steps = e_.CommandPlan.Ready() && index < e_.CommandPlan.bodies.size()
                                 ? &e_.CommandPlan.bodies[index]
                                 : nullptr;

    // Room for the body's results, the saved parameters and the staged arguments.
    MakeRoom(function.body.size() + 2 * parameters);
    if (steps != nullptr) {
      Save(steps->steps);
    } else {
      Save(function.body);
    }
    TEvalValue* const saved = e_.FunctionStack.data() + e_.FunctionStackTop;
    TEvalValue* const staged = saved + parameters;
    TEvalValue* const* const cells = function.parameterCells;
    for (std::size_t k = 0; k < parameters; ++k)
      saved[k] = *cells[k];
    e_.FunctionStackTop += static_cast<std::int32_t>(parameters);
    // All arguments are read before any parameter is bound: an argument may be another
    // parameter of the same function, as in f(y, x) called from the body of f(x, y).
    for (std::size_t k = 0; k < parameters; ++k)
      staged[k] = *proc.operands[k];
    for (std::size_t k = 0; k < parameters; ++k)
      *cells[k] = staged[k];

    ++function.callDepth;
    if (steps != nullptr) {
      RunSteps(*steps, TWalk::kExecuteComand);
    } else {
      Run(function.body);
    }
    --function.callDepth;
    TEvalValue value;
    CopyCell(value, bodyResult);

    // The body's own calls may have grown FunctionStack, so the saved parameters are found
    // again from the top.
    e_.FunctionStackTop -= static_cast<std::int32_t>(parameters);
    const TEvalValue* const restored = e_.FunctionStack.data() + e_.FunctionStackTop;
    for (std::size_t k = 0; k < parameters; ++k)
      *cells[k] = restored[k];
    if (steps != nullptr) {
      Restore(steps->steps);
    } else {
      Restore(function.body);
    }
    if (hasBody) CopyCell(bodyResult, value);
    // Last, since a recursive call's own result cell is one of the body cells just restored.
    CopyCell(*proc.result[0], value);
  }

  // ---- Reports ---------------------------------------------------------------------------

  std::string FailureSuffix(std::int32_t code) const {
    if (code >= kCodeMultiply && code <= kCodeAssign) {
      return std::string(" for operator '") + OperatorCharacter(code) + "'";
    }
    if (code >= kFirstBuiltinCode) {
      const std::string name = e_.FunctionName(code);
      if (!name.empty()) return " : " + name;
    }
    return " unknown";
  }

  [[gnu::noinline]] void ReportNonMath(TWalk walk, std::int32_t command, const char* message,
                                       bool stackOverflow) {
    e_.ErrorFlag = true;
    e_.MathErrorKind = mekNotMathematical;
    if (stackOverflow) e_.ErrorCode = ecStackOverflow;
    std::string text(walk == TWalk::kExecute ? kExecutePrefix : kExecuteComandPrefix);
    text += message;
    text += FailureSuffix(Command(command).code);
    e_.ErrorMessage = std::move(text);
  }

  TTalvekComplexEval& e_;
};

}  // namespace

bool RunMainDirectly(TTalvekComplexEval& e, TEvalValue& result) {
  const TExecutionPlan& plan = e.CommandPlan;
  // A main list replaced since the parse is left to Execute.
  if (!plan.mainDirect || plan.mainCount != e.MainCommands.size()) return false;
  if (!RunKnownRealList(plan.main)) return false;
  e.ErrorFlag = false;
  e.MathErrorKind = mekNone;
  e.ErrorCode = ecNone;
  CopyCell(result, *e.ResultCells[0]);
  return true;
}

bool CallRunTimeFunctionDirectly(TTalvekComplexEval& e, std::size_t index, const TEvalValue* values,
                                 TEvalValue& result) {
  if (!PlanReady(e) || index >= e.CommandPlan.directCalls.size()) return false;
  TExecutionPlan::TDirectCall& call = e.CommandPlan.directCalls[index];
  if (!call.direct) return false;
  FuncRecord& function = e.FuncArray[index];
  // The limits CallRunTimeFunction reports are left to it.
  if (static_cast<std::int64_t>(function.callDepth) >= e.MaxFunctionStack ||
      tWalkNesting + 1 >= kMaxNesting) {
    return false;
  }

  // CallRunTimeFunction's steps, less those that cannot be seen here. The call's operands are
  // the parameter cells, so saving, binding and restoring them leaves the arguments there.
  // The body result cell, cleared there first, is the last step's result and is written
  // before anything reads it. The body holds no calls, so its cells are saved in a place of
  // its own rather than in FunctionStack.
  for (std::int32_t k = 0; k < call.parameterCount; ++k)
    CopyCell(*call.parameters[k], values[k]);
  // Cell writes may alias anything, so what the loops use is kept in locals.
  TEvalValue* const* const cells = call.cells.data();
  TEvalValue* const saved = call.saved.data();
  const std::size_t size = call.cells.size();
  for (std::size_t k = 0; k < size; ++k)
    saved[k] = *cells[k];
  ++function.callDepth;
  const bool done = RunKnownRealList(e.CommandPlan.bodies[index]);
  --function.callDepth;
  TEvalValue value;
  CopyCell(value, *call.bodyResult);
  for (std::size_t k = 0; k < size; ++k)
    *cells[k] = saved[k];
  // A step that needs the full rules: the cells are as they were before the body ran, and
  // CallRunTimeFunction runs it again.
  if (!done) return false;
  if (size > 0) *call.bodyResult = value;
  *call.callResult = value;
  result = value;
  return true;
}

namespace {

// Execute without MainCommands: the commands the parse still needs, or, for a table laid
// out without a parse, every command once in creation order.
[[gnu::noinline]] void ExecuteAllCommands(TTalvekComplexEval& e) {
  const auto count =
      std::min(static_cast<std::size_t>(std::max(e.CommandCount, 0)), e.ListaProc.size());
  TInterpreter interpreter(e);
  if (e.CommandsWithoutMain) {
    const PComand& list = *e.CommandsWithoutMain;
    if (list.empty()) return;
    if (PlanReady(e)) {
      interpreter.Walk(TPlannedList{list.data(), e.CommandPlan.commands.data()}, 0, list.size(),
                       TWalk::kExecute);
    } else {
      interpreter.Walk(TCommandList{list.data()}, 0, list.size(), TWalk::kExecute);
    }
    return;
  }
  if (PlanReady(e)) {
    interpreter.Walk(TPlannedSteps{e.CommandPlan.commands.data()}, 0, count, TWalk::kExecute);
  } else {
    interpreter.Walk(TAllCommands{}, 0, count, TWalk::kExecute);
  }
}

}  // namespace

void TTalvekComplexEval::Execute() {
  MathErrorKind = mekNone;
  ErrorCode = ecNone;
  if (!MainCommands.empty()) {
    // The main list laid out in the plan, unless it has been replaced since the parse.
    if (PlanReady(*this) && CommandPlan.mainCount == MainCommands.size()) {
      if (RunTypedMain(*this)) return;
      TInterpreter(*this).RunSteps(CommandPlan.main, TWalk::kExecuteComand);
    } else {
      ExecuteCommands(MainCommands.data(), MainCommands.size());
    }
  } else {
    ExecuteAllCommands(*this);
  }
  if (ErrorFlag && ErrorCode == ecNone) ErrorCode = ecExecution;
}

void TTalvekComplexEval::ExecuteComand(const PComand& list, std::int32_t last) {
  if (last < 0) return;
  ExecuteCommands(list.data(), std::min(list.size(), static_cast<std::size_t>(last) + 1));
}

void TTalvekComplexEval::ExecuteCommands(const std::int32_t* list, std::size_t count) {
  TInterpreter(*this).RunList(list, count);
}

void TTalvekComplexEval::ExecuteCall(std::int32_t command, TProcRec& call) {
  TInterpreter(*this).RunCall(command, call);
}

void TTalvekComplexEval::ExceptieMatematica(std::int32_t command, TMathErrorKind kind) {
  const TProcRec& proc = Command(command);
  const std::int32_t code = proc.code;
  const auto operand = [&](std::int32_t k) { return ValueToText(*proc.operands[k]); };

  MathErrorKind = kind;
  ErrorCode = (code >= kCodeMultiply && code <= kCodeAssign) ? OperatorErrorCode(code)
                                                             : code - (kFirstBuiltinCode - 1);
  std::string description;
  if (code > kCodeAssign) {
    description = FunctionName(code) + "( ";
    if (code == kCodePowerFn && proc.count == 3) {
      description += operand(0) + "," + operand(1) + "/" + operand(2);
    } else {
      for (std::int32_t k = 0; k < proc.count; ++k) {
        if (k > 0) description += " , ";
        description += operand(k);
      }
    }
    description += ") ";
  } else if (code == kCodePower && proc.count == 3) {
    description = operand(0) + " ^ (" + operand(1) + "/" + operand(2) + ")";
  } else if (proc.count >= 2) {
    description = operand(0) + " " + OperatorCharacter(code) + " " + operand(1);
  }
  ErrorMessage =
      std::string(msg::kMathExceptionExecution) + MathExceptionText(kind) + " : " + description;
  ErrorFlag = true;
}

}  // namespace evaluator
