// The command interpreter: walks over command lists under one guard per walk, dispatches each
// command on its code, runs if/while/bk, calls application and runtime functions with the save
// area and its limits, and reports the command that failed.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

#include "evaluator/complex_eval.h"
#include "evaluator/functions.h"

namespace evaluator {
namespace {

constexpr std::string_view kExecutePrefix = "Execute-> NON MATH EXCEPTION WAS RAISED : ";
constexpr std::string_view kExecuteComandPrefix =
    "ExecuteComand-> NON MATH EXCEPTION WAS RAISED : ";
constexpr const char* kStackOverflowText = "STACK OVERFLOW";
constexpr std::string_view kInfiniteLoop = "INFINITE LOOP IN WHILE : MaxIteration=";

// Nested walks allowed on one thread (calls inside branches inside calls, loops in loops),
// counted over every evaluator so that evaluators re-entered from application functions share
// the bound. One level of nesting takes about 220 bytes of native stack in an optimised build
// and about 1 KB unoptimised with the address sanitizer, so 4000 levels stay within 4 MB of
// the 8 MB main-thread stack even then; deeper nesting reports a stack overflow (-35) instead
// of exhausting the stack.
constexpr int kMaxNesting = 4000;
thread_local int tNesting = 0;

// The stack overflow the guard reports with code -35.
class EStackOverflow : public EEvalError {
 public:
  EStackOverflow() : EEvalError(kStackOverflowText) {}
};

enum class TWalk : std::uint8_t { kExecute, kExecuteComand };

class TNestingScope {
 public:
  TNestingScope() { ++tNesting; }
  ~TNestingScope() { --tNesting; }
  TNestingScope(const TNestingScope&) = delete;
  TNestingScope& operator=(const TNestingScope&) = delete;
};

// Cells are written field by field. Building a whole temporary value and copying it out reads
// back, in wide loads, bytes just written by narrow stores, which stalls the processor on every
// command that feeds the next.
inline void SetReal(TEvalValue& cell, double x) {
  cell.real = x;
  cell.kind = vkReal;
}

inline void CopyValue(TEvalValue& cell, const TEvalValue& value) {
  if (value.kind == vkReal) {
    SetReal(cell, value.real);
  } else {
    cell = value;
  }
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

// One activation of the interpreter on an evaluator. It keeps no state of its own: everything
// lives in the evaluator's cells and fields.
class TInterpreter {
 public:
  explicit TInterpreter(TTalvekComplexEval& eval) : e_(eval) {}

  // Runs the commands list[0] .. list[count - 1] (with kSequential, the commands 1 .. count)
  // while ErrorFlag stays clear. A failure ends the walk and is reported for the command that
  // raised it.
  template <bool kSequential>
  void Walk(const std::int32_t* list, std::size_t count, TWalk walk) {
    const TNestingScope nesting;
    std::size_t k = 0;
    try {
      for (; k < count; ++k) {
        if (e_.ErrorFlag) return;
        const std::int32_t n = CommandAt<kSequential>(list, k);
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
    } catch (const EMathError& error) {
      const std::int32_t command = CommandAt<kSequential>(list, k);
      if (error.kind() >= mekOverflow && error.kind() <= mekInvalidOperation) {
        e_.ExceptieMatematica(command, error.kind());
      } else {
        ReportNonMath(walk, command, error.what(), false);
      }
    } catch (const EStackOverflow& error) {
      ReportNonMath(walk, CommandAt<kSequential>(list, k), error.what(), true);
    } catch (const std::exception& error) {
      ReportNonMath(walk, CommandAt<kSequential>(list, k), error.what(), false);
    } catch (...) {
      ReportNonMath(walk, CommandAt<kSequential>(list, k), "UNKNOWN EXCEPTION", false);
    }
  }

 private:
  template <bool kSequential>
  static std::int32_t CommandAt(const std::int32_t* list, std::size_t k) {
    if constexpr (kSequential) {
      return static_cast<std::int32_t>(k + 1);
    } else {
      return list[k];
    }
  }

  TProcRec& Command(std::int32_t n) { return e_.ListaProc[static_cast<std::size_t>(n - 1)]; }

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
        CopyValue(*a[0], *a[1]);
        CopyValue(r, *a[1]);
        return;
      case kCodeDefine:
        r = TEvalValue::Null();
        return;
      case kCodeBk:
        if (proc.count < 1) break;
        CopyValue(r, *a[proc.count - 1]);
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

  // Pushes the result cells of the commands of `list`; MakeRoom has made space for them.
  void Save(const PComand& list) {
    auto top = static_cast<std::size_t>(e_.FunctionStackTop);
    for (const std::int32_t n : list)
      e_.FunctionStack[top++] = *Command(n).result[0];
    e_.FunctionStackTop = static_cast<std::int32_t>(top);
  }

  void Restore(const PComand& list) {
    e_.FunctionStackTop -= static_cast<std::int32_t>(list.size());
    auto top = static_cast<std::size_t>(e_.FunctionStackTop);
    for (const std::int32_t n : list)
      *Command(n).result[0] = e_.FunctionStack[top++];
  }

  void Run(const PComand& list) {
    e_.ExecuteComand(list, static_cast<std::int32_t>(list.size()) - 1);
  }

  // Before a form or call runs nested walks: the native stack must not run out, whatever the
  // user's text nests.
  static void CheckNesting() {
    if (tNesting >= kMaxNesting) throw EStackOverflow();
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
          value = *proc.operands[1];
        } else if (proc.count >= 3) {
          Run(form.elseCommands);
          value = *proc.operands[2];
        }
      }
    } catch (...) {
      restore();
      throw;
    }
    restore();
    // Written after the restore: the value was read from a branch cell that the restore puts
    // back.
    if (!e_.ErrorFlag) *proc.result[0] = value;
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

    // Room for the body's results, the saved parameters and the staged arguments.
    MakeRoom(function.body.size() + 2 * parameters);
    Save(function.body);
    auto top = static_cast<std::size_t>(e_.FunctionStackTop);
    for (std::size_t k = 0; k < parameters; ++k)
      e_.FunctionStack[top + k] = *function.parameterCells[k];
    e_.FunctionStackTop += static_cast<std::int32_t>(parameters);
    top += parameters;
    // All arguments are read before any parameter is bound: an argument may be another
    // parameter of the same function, as in f(y, x) called from the body of f(x, y).
    for (std::size_t k = 0; k < parameters; ++k)
      e_.FunctionStack[top + k] = *proc.operands[k];
    for (std::size_t k = 0; k < parameters; ++k)
      *function.parameterCells[k] = e_.FunctionStack[top + k];

    ++function.callDepth;
    Run(function.body);
    --function.callDepth;
    const TEvalValue value = bodyResult;

    e_.FunctionStackTop -= static_cast<std::int32_t>(parameters);
    top = static_cast<std::size_t>(e_.FunctionStackTop);
    for (std::size_t k = 0; k < parameters; ++k)
      *function.parameterCells[k] = e_.FunctionStack[top + k];
    Restore(function.body);
    if (hasBody) bodyResult = value;
    // Last, since a recursive call's own result cell is one of the body cells just restored.
    *proc.result[0] = value;
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

void TTalvekComplexEval::Execute() {
  MathErrorKind = mekNone;
  ErrorCode = ecNone;
  if (!MainCommands.empty()) {
    ExecuteComand(MainCommands, static_cast<std::int32_t>(MainCommands.size()) - 1);
  } else {
    const auto count =
        std::min(static_cast<std::size_t>(std::max(CommandCount, 0)), ListaProc.size());
    TInterpreter(*this).Walk<true>(nullptr, count, TWalk::kExecute);
  }
  if (ErrorFlag && ErrorCode == ecNone) ErrorCode = ecExecution;
}

void TTalvekComplexEval::ExecuteComand(const PComand& list, std::int32_t last) {
  if (last < 0) return;
  const auto count = std::min(list.size(), static_cast<std::size_t>(last) + 1);
  TInterpreter(*this).Walk<false>(list.data(), count, TWalk::kExecuteComand);
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
