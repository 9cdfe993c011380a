// What the evaluator's fuzz targets share: the mode byte that sets up an evaluator, values made
// from raw input bytes, and the contract every entry point must keep (checked, not assumed).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/app_functions.h"
#include "evaluator/complex_eval.h"
#include "evaluator/random_source.h"

namespace fuzzing {

using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

// The evaluator's own limits, lowered: the most any parse gets. The language can ask for
// exponential work (Fib(n) with two recursive calls, loops in loops), which is slow by right,
// not a fault, so BoundWork lowers them further per text to keep each input well inside the
// one-second timeout. Recursion with one recursive call may go deeper than kMaxFunctionStack,
// past the interpreter's nesting bound, whose report must be reached too.
inline constexpr std::int32_t kMaxIteration = 1000;
inline constexpr std::int32_t kMaxFunctionStack = 50;
inline constexpr std::int32_t kMaxLinearDepth = 5000;

// The first input byte, bit by bit.
struct TModes {
  int entryPoint = 0;  // 0 name list, 1 automatic, 2 caller's cells, 3 derivation
  bool implicitMultiplication = false;
  bool currency = false;
  bool definitions = false;
  bool applicationFunctions = false;
  bool rewrittenText = false;  // OriginalMathExpressionString off: the compiler's own text
  bool fixedNames = false;     // variables registered by name are fixed

  static TModes FromByte(std::uint8_t b) {
    TModes m;
    m.entryPoint = b & 3;
    m.implicitMultiplication = (b & 4) != 0;
    m.currency = (b & 8) != 0;
    m.definitions = (b & 16) != 0;
    m.applicationFunctions = (b & 32) != 0;
    m.rewrittenText = (b & 64) != 0;
    m.fixedNames = (b & 128) != 0;
    return m;
  }
};

// The names that the name-list, pointer and derivation modes know; the seed texts use them.
inline constexpr const char* kVariableNames = "x,y,z,n,a,b";
inline constexpr int kVariableCount = 6;
inline constexpr const char* kDerivativeVariable = "x";

// Stops the run with a message libFuzzer keeps next to the input that broke the contract.
[[noreturn]] inline void Violation(const char* what, const TTalvekComplexEval& eval) {
  std::fprintf(stderr, "contract violated: %s (ErrorCode %d, ErrorMessage \"%s\")\n", what,
               eval.ErrorCode, eval.ErrorMessage.c_str());
  std::abort();
}

// A failed call states its failure: a code and a text.
inline void CheckStatedError(const TTalvekComplexEval& eval) {
  if (!eval.ErrorFlag) return;
  if (eval.ErrorCode == 0) Violation("failure without an error code", eval);
  if (eval.ErrorMessage.empty()) Violation("failure without an error message", eval);
}

// An execution leaves no call active, and one that succeeded leaves the save area as it found
// it; otherwise the next execution would start from a wrong depth or stack.
inline void CheckExecution(const TTalvekComplexEval& eval) {
  CheckStatedError(eval);
  for (const evaluator::FuncRecord& function : eval.FuncArray) {
    if (function.callDepth != 0) Violation("runtime function left active", eval);
  }
  if (!eval.ErrorFlag && eval.FunctionStackTop != 0) Violation("save area left raised", eval);
}

// A parse ends either with results to run or with a stated error and nothing left to run.
inline void CheckParse(const TTalvekComplexEval& eval) {
  CheckStatedError(eval);
  if (eval.ErrorFlag) {
    if (eval.ResultCount != 0) Violation("failed parse left results", eval);
    return;
  }
  if (eval.ResultCount < 1 || eval.ResultCells == nullptr) Violation("parse without results", eval);
  for (std::int32_t k = 0; k < eval.ResultCount; ++k) {
    if (eval.ResultCells[k] == nullptr) Violation("result cell missing", eval);
  }
}

// Reads every value of a successful execution as the windows would show it.
inline std::size_t Show(std::span<TEvalValue* const> cells) {
  std::size_t length = 0;
  for (const TEvalValue* cell : cells)
    length += evaluator::ValueToText(*cell).size();
  return length;
}

// Runs the parse's results once through the entry point that fits them, and once through the
// one that refuses them.
inline void ExecuteResults(TTalvekComplexEval& eval) {
  TEvalValue result;
  if (eval.ResultCount == 1) {
    eval.DoMathExpression(result);
    CheckExecution(eval);
    if (!eval.ErrorFlag) Show({&eval.ResultCells[0], 1});
  }
  TEvalValue** cells = eval.DoVectorOfMathExpressions();
  CheckExecution(eval);
  if (cells != nullptr) {
    Show({cells, static_cast<std::size_t>(eval.ResultCount)});
  } else if (!eval.ErrorFlag) {
    Violation("vector run gave no cells and no error", eval);
  }
  if (eval.ResultCount > 1) {
    eval.DoMathExpression(result);
    if (!eval.ErrorFlag) Violation("vector ran as one expression", eval);
    CheckExecution(eval);
  }
}

// Everything a window reads back after a parse.
inline void ReadBack(TTalvekComplexEval& eval) {
  std::size_t length = eval.MathExpressionString.size() + eval.DerivativeString.size();
  for (std::int32_t i = 0; i <= eval.VariableCount + 1; ++i)
    length += eval.GetVariableName(i).size();
  for (std::int32_t i = -1; i <= eval.GetRunTimeFunctionCount(); ++i)
    length += eval.GetRunTimeFunctionText(i).size();
  for (std::int32_t code = eval.GetMaxFunctionCode() - eval.GetRunTimeFunctionCount();
       code <= eval.GetMaxFunctionCode() + 1; ++code) {
    length += eval.GetHelpText(code).size();
  }
  if (length == std::numeric_limits<std::size_t>::max()) std::abort();  // keeps the reads
}

// Lowers MaxIteration and MaxFunctionStack so that one execution of the parsed text cannot do
// much more than `budget` units of work, a unit being one command or a tenth of a call. With N
// commands, w loops, f runtime functions and b calls of runtime functions in bodies, branches
// and loops (counted as often as the lists name them, since each naming runs), an activation
// does at most N * MaxIteration^w units and starts at most g = b * MaxIteration^w others, and
// calls nest at most MaxFunctionStack * f deep. The loops get half the budget's exponent, the
// calls the rest: recursion with one recursive call may go deep enough to reach the
// interpreter's nesting bound, branching recursion only a few levels. Both limits stay at
// least 1, so their failures are still reached.
inline void BoundWork(TTalvekComplexEval& eval, double budget) {
  const std::int32_t firstRunTimeCode =
      evaluator::kFirstUserFunctionCode + eval.GetUserFunctionCount();
  double calls = 0;
  const auto count = [&](const evaluator::PComand& list) {
    for (const std::int32_t n : list) {
      if (n >= 1 && n <= eval.CommandCount && eval.Command(n).code >= firstRunTimeCode) ++calls;
    }
  };
  for (const evaluator::FuncRecord& function : eval.FuncArray)
    count(function.body);
  for (const evaluator::IfRecord& form : eval.IfArray) {
    count(form.condition);
    count(form.thenCommands);
    count(form.elseCommands);
  }
  for (const evaluator::WhileRecord& loop : eval.WhileArray) {
    count(loop.test);
    count(loop.body);
  }
  double loops = 0;
  for (const evaluator::TProcRec& proc : eval.ListaProc)
    loops += proc.code == evaluator::kCodeWhile ? 1 : 0;
  const double functions = eval.GetRunTimeFunctionCount();

  auto clamp = [](double value, std::int32_t highest) {
    return static_cast<std::int32_t>(std::clamp(std::floor(value), 1.0, double(highest)));
  };
  const double unitsPerActivation = eval.CommandCount + 10.0;
  const double room = std::log(std::max(budget / unitsPerActivation, 1.0));
  const std::int32_t rounds =
      loops > 0 ? clamp(std::exp(room / (2 * loops)), kMaxIteration) : kMaxIteration;
  const double loopExponent = loops * std::log(rounds);
  const double callRoom = room - loopExponent;
  const double branching = std::log(std::max(calls, 1.0)) + loopExponent;
  std::int32_t depth = kMaxFunctionStack;
  if (functions > 0 && calls <= 1 && loops == 0) {
    depth = clamp(std::exp(callRoom) / functions, kMaxLinearDepth);
  } else if (functions > 0) {
    depth = clamp(callRoom / (functions * std::max(branching, std::log(2.0))), kMaxFunctionStack);
  }
  eval.MaxIteration = rounds;
  eval.MaxFunctionStack = depth;
}

// Values for the caller's cells and runtime-function arguments, taken from input bytes: one tag
// byte, then as many payload bytes as the kind needs (zeros once the input runs out).
class TValueReader {
 public:
  explicit TValueReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Done() const { return position_ >= bytes_.size(); }

  TEvalValue Next() {
    const std::uint8_t tag = Byte();
    switch (tag % 12) {
      case 0:
        return TEvalValue::Real(Double());  // any bit pattern: NaN, infinities, subnormals
      case 1:
        return TEvalValue::Real(static_cast<std::int8_t>(Byte()));  // small whole numbers
      case 2:
        return TEvalValue::Real(static_cast<std::int8_t>(Byte()) / 8.0);
      case 3:
        return TEvalValue::CurrencyScaled(static_cast<std::int64_t>(Word()));
      case 4:
        return TEvalValue::CurrencyScaled(static_cast<std::int8_t>(Byte()) * 2500);
      case 5:
        return TEvalValue::Boolean((Byte() & 1) != 0);
      case 6: {
        const double re = Double();
        return TEvalValue::Complex(re, Double());
      }
      case 7: {
        const double re = static_cast<std::int8_t>(Byte());
        return TEvalValue::Complex(re, static_cast<std::int8_t>(Byte()));
      }
      case 8:
        return TEvalValue::Null();
      case 9:
        return TEvalValue{};  // an empty cell, as a caller may leave one
      case 10: {
        static constexpr double kSpecial[] = {
            std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(),
            -std::numeric_limits<double>::infinity(),
            0.0,
            -0.0,
            std::numeric_limits<double>::max(),
            std::numeric_limits<double>::denorm_min(),
            1e308,
        };
        return TEvalValue::Real(kSpecial[Byte() % 8]);
      }
      default: {
        static constexpr std::int64_t kSpecial[] = {
            std::numeric_limits<std::int64_t>::min(),
            std::numeric_limits<std::int64_t>::max(),
            0,
            -1,
        };
        return TEvalValue::CurrencyScaled(kSpecial[Byte() % 4]);
      }
    }
  }

 private:
  std::uint8_t Byte() { return position_ < bytes_.size() ? bytes_[position_++] : 0; }

  std::uint64_t Word() {
    std::uint64_t word = 0;
    for (int k = 0; k < 8; ++k)
      word = (word << 8) | Byte();
    return word;
  }

  double Double() {
    const std::uint64_t word = Word();
    double value;
    std::memcpy(&value, &word, sizeof value);
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// The application's function table, made once; the evaluators copy what they need.
inline const evaluator::TUserFuncArray& ApplicationFunctions() {
  static const app::TAppFunctions functions;
  return functions.Table();
}

// A fresh evaluator set up by the modes. Every input starts from the same generator state, so
// that a failing input repeats.
inline std::unique_ptr<TTalvekComplexEval> MakeEvaluator(const TModes& modes) {
  evaluator::RandomSource().Seed(1);
  auto eval = modes.applicationFunctions
                  ? std::make_unique<TTalvekComplexEval>(ApplicationFunctions())
                  : std::make_unique<TTalvekComplexEval>();
  if (eval->ErrorFlag) Violation("application function table refused", *eval);
  eval->MaxIteration = kMaxIteration;
  eval->MaxFunctionStack = kMaxFunctionStack;
  eval->ImplicitMultiplication = modes.implicitMultiplication;
  eval->SetCurrencyMode(modes.currency);
  eval->SetOriginalMathExpressionString(!modes.rewrittenText);
  eval->FixDigitEndingNames = modes.fixedNames;
  eval->FixLetterEndingNames = modes.fixedNames;
  return eval;
}

}  // namespace fuzzing
