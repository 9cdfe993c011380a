// The execution entry points: one expression, a vector of expressions, and one runtime function
// called with given argument values. None of them throws; the outcome is in the error fields.
#include <algorithm>
#include <cmath>
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

// A function with a typed plan, called with as many values as it has parameters and no limit
// near, runs by its plan: the values go into the parameter cells, where CallRunTimeFunction
// leaves them too, and its body result, the call command's result cell and `result` receive
// the value. The body writes no cell of its own, which is what the save area's restore would
// leave; the calls it makes write their functions' body results, and put them back if it gives
// up. The plan exists only after a successful parse, so ResultCount is not 0 then.

// Whether a limit CallRunTimeFunction reports is near; those are left to it.
[[gnu::always_inline]] inline bool LimitNear(const TTalvekComplexEval& e,
                                             const TExecutionPlan::TTypedCall& call) {
  return static_cast<std::int64_t>(*call.depth) >= e.MaxFunctionStack ||
         CurrentWalkNesting() + 1 >= kMaxWalkNesting;
}

// The body's value, when finite, as a completed call leaves it.
[[gnu::always_inline]] inline bool Complete(TTalvekComplexEval& e,
                                            const TExecutionPlan::TTypedCall& call, double value,
                                            TEvalValue& result) {
  if (!std::isfinite(value)) return false;
  for (TEvalValue* const cell : {call.bodyResult, call.callResult}) {
    cell->real = value;
    cell->kind = vkReal;
  }
  result.real = value;
  result.kind = vkReal;
  e.ErrorFlag = false;
  e.ErrorCode = ecNone;
  e.MathErrorKind = mekNone;
  return true;
}

// The call of any function `index`, `call` its typed call, by the typed plan when it can.
[[gnu::noinline]] void CallTyped(TTalvekComplexEval& e, std::int32_t index,
                                 const TExecutionPlan::TTypedCall& call,
                                 const TUserValuesArray& values, TEvalValue& result) {
  const auto typed = [&] {
    const std::size_t count = call.parameterCount;
    if (call.root == nullptr || values.size() != count || LimitNear(e, call)) return false;
    const TEvalValue* const given = values.data();
    TEvalValue* const* const parameters = call.parameters;
    for (std::size_t k = 0; k < count; ++k)
      CopyCell(*parameters[k], given[k]);
    for (std::size_t k = 0; k < count; ++k) {
      if (given[k].kind != vkReal) return false;
    }
    for (const TEvalValue* const input : call.inputs) {
      if (input->kind != vkReal) return false;
    }
    return Complete(e, call, call.root->run(*call.root), result);
  };
  // Having written only the parameter cells, the typed plan leaves the rest to the full rules.
  if (!typed()) DoRunTimeFunctionByRules(e, index, values, result);
}

}  // namespace

void TTalvekComplexEval::DoRunTimeFunction(std::int32_t index, const TUserValuesArray& values,
                                           TEvalValue& result) {
  const auto& typed = CommandPlan.typedCalls;
  // A negative index converts to one past any table.
  const auto slot = static_cast<std::size_t>(index);
  if (slot < typed.size()) {
    const TExecutionPlan::TTypedCall& call = typed[slot];
    // A table's call, as lean as it can be: one real value for a body reading nothing else.
    if (call.single != nullptr && values.size() == 1 && values[0].kind == vkReal) {
      if (!LimitNear(*this, call)) {
        call.single->real = values[0].real;
        call.single->kind = vkReal;
        if (Complete(*this, call, call.root->run(*call.root), result)) return;
      }
      return DoRunTimeFunctionByRules(*this, index, values, result);
    }
    return CallTyped(*this, index, call, values, result);
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
