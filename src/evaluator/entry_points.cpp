// The execution entry points: one expression, a vector of expressions, and one runtime function
// called with given argument values. None of them throws; the outcome is in the error fields.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "evaluator/complex_eval.h"

namespace evaluator {

namespace {

constexpr std::string_view kRunTimeFunctionIndex = "DoRunTimeFunction-> INCORRECT FUNCTION INDEX";

}  // namespace

namespace {

// DoMathExpression past its typed plan: the step plan's run of a list of fast steps alone, or
// Execute and the reports. Out of line, so that the typed run saves no registers for it.
[[gnu::noinline]] void DoMathExpressionByRules(TTalvekComplexEval& e, TEvalValue& result) {
  if (RunMainDirectly(e, result)) return;
  result = TEvalValue::Null();
  e.ErrorFlag = false;
  if (e.ResultCount == 0) {
    e.ErrorFlag = true;
    e.ErrorCode = ecNothingParsed;
    e.ErrorMessage = msg::kDoMathNothingParsed;
  } else if (e.ResultCount >= 2) {
    e.ErrorFlag = true;
    e.ErrorCode = ecVectorOfExpressions;
    e.ErrorMessage = msg::kVectorOfExpressions;
  } else {
    e.Execute();
    if (!e.ErrorFlag) [[likely]] {
      CopyCell(result, *e.ResultCells[0]);
      return;
    }
  }
  if (e.OnExecuteError) e.OnExecuteError(e);
}

}  // namespace

void TTalvekComplexEval::DoMathExpression(TEvalValue& result) {
  // The usual case, a parse whose commands all work on reals, runs by its typed plan and
  // needs none of the rest; a main list replaced since the parse does not.
  const TTypedEntry& typed = CommandPlan.typedEntry;
  if (typed.root != nullptr && CommandPlan.typedEntryMainCount == MainCommands.size()) {
    double value = 0;
    if (typed.Compute(value)) [[likely]] {
      typed.cell->real = value;
      typed.cell->kind = vkReal;
      ErrorFlag = false;
      MathErrorKind = mekNone;
      ErrorCode = ecNone;
      result.real = value;
      result.kind = vkReal;
      return;
    }
  }
  DoMathExpressionByRules(*this, result);
}

TEvalValue** TTalvekComplexEval::DoVectorOfMathExpressions() {
  ErrorFlag = false;
  if (ResultCount == 0) {
    ErrorFlag = true;
    ErrorMessage = msg::kDoVectorNothingParsed;
    ErrorCode = ecNothingParsed;
  } else {
    Execute();
    if (!ErrorFlag) return ResultCells;
  }
  if (OnExecuteError) OnExecuteError(*this);
  return nullptr;
}

namespace {

// DoRunTimeFunction past its typed plan; out of line, so that the typed call saves no
// registers for it.
[[gnu::noinline]] void DoRunTimeFunctionByRules(TTalvekComplexEval& e, std::int32_t index,
                                                const TUserValuesArray& values, TEvalValue& result);

}  // namespace

void TTalvekComplexEval::DoRunTimeFunction(std::int32_t index, const TUserValuesArray& values,
                                           TEvalValue& result) {
  // A function with a typed plan, called rightly, needs none of the rest. The plan exists only
  // after a successful parse, so ResultCount is not 0 then.
  const auto& typed = CommandPlan.typedCalls;
  if (index >= 0 && static_cast<std::size_t>(index) < typed.size() &&
      values.size() == typed[static_cast<std::size_t>(index)].parameterCount &&
      CallRunTimeFunctionTyped(*this, static_cast<std::size_t>(index), values.data(), result)) {
    return;
  }
  DoRunTimeFunctionByRules(*this, index, values, result);
}

namespace {

void DoRunTimeFunctionByRules(TTalvekComplexEval& e, std::int32_t index,
                              const TUserValuesArray& values, TEvalValue& result) {
  result = TEvalValue::Null();
  e.ErrorFlag = false;
  const FuncRecord* function = nullptr;
  if (e.ResultCount == 0) {
    e.ErrorCode = ecNothingParsed;
    e.ErrorMessage = msg::kDoVectorNothingParsed;
  } else if (index < 0 || index >= e.GetRunTimeFunctionCount()) {
    e.ErrorCode = ecExecution;
    e.ErrorMessage = kRunTimeFunctionIndex;
  } else {
    function = &e.FuncArray[static_cast<std::size_t>(index)];
    if (values.size() != static_cast<std::size_t>(std::max(function->parameterCount, 0))) {
      e.ErrorCode = ecValueCount;
      e.ErrorMessage = msg::kValueCount;
      function = nullptr;
    }
  }
  if (function == nullptr) {
    e.ErrorFlag = true;
    if (e.OnExecuteError) e.OnExecuteError(e);
    return;
  }

  // Reported like Execute: a fresh code and kind, and -23 for a failure without a code.
  e.ErrorCode = ecNone;
  e.MathErrorKind = mekNone;
  if (CallRunTimeFunctionDirectly(e, static_cast<std::size_t>(index), values.data(), result)) {
    return;
  }
  TProcRec& call = e.Command(function->firstCommand);
  const std::size_t count = values.size();
  // The first call of a function is normally the left side of its definition, whose operands
  // are the parameter cells themselves: the values go there. A function first met in a call
  // such as f(3), or in the body of another function, has operands that must not change: the
  // table may run that very command again while this call is under way, as mutual recursion
  // does. Then a copy of the command, with cells of its own, makes this one call.
  bool operandsAreParameters = function->parameterCells != nullptr || count == 0;
  for (std::size_t k = 0; operandsAreParameters && k < count; ++k) {
    operandsAreParameters = call.operands[k] == function->parameterCells[k];
  }
  const std::int32_t first = function->firstCommand;
  const TEvalValue* called = nullptr;
  TEvalValue own = TEvalValue::Null();
  if (operandsAreParameters) {
    for (std::size_t k = 0; k < count; ++k)
      CopyCell(*call.operands[k], values[k]);
    e.ExecuteCommands(&first, 1);
    called = call.result[0];
  } else {
    std::vector<TEvalValue> arguments(values);
    std::vector<TEvalValue*> cells(count);
    for (std::size_t k = 0; k < count; ++k)
      cells[k] = &arguments[k];
    TEvalValue* ownCell = &own;
    TProcRec copy = call;
    copy.operands = cells.data();
    copy.result = &ownCell;
    e.ExecuteCall(first, copy);
    called = &own;
  }

  if (!e.ErrorFlag) {
    CopyCell(result, *called);
  } else {
    if (e.ErrorCode == ecNone) e.ErrorCode = ecExecution;
    if (e.OnExecuteError) e.OnExecuteError(e);
  }
}

}  // namespace

}  // namespace evaluator
