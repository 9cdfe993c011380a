// The command table as the interpreter runs it after a parse: each command's cells reached
// directly and its fast path for reals chosen once, and the lists run most often laid out in
// the order they run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "evaluator/value.h"

namespace evaluator {

// One command of the plan.
struct TPlanStep {
  enum TOp : std::uint8_t {
    kGeneral,  // the full rules, from the command's TProcRec
    kNested,   // if, while, application and runtime function calls
    // Fast paths for real operands; anything else (and every fault) takes the full rules.
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kPower,       // squares and cubes
    kSquareRoot,  // sqrt
    kAbsolute,    // abs
    kSquare,      // sqr
    kFunction,    // a one-argument function of the math library: `function`
    kMax,
    kMin,
  };
  TEvalValue* first = nullptr;   // operand 0
  TEvalValue* second = nullptr;  // operand 1
  TEvalValue* result = nullptr;  // the result cell
  TEvalValue* const* operands = nullptr;  // every operand (max, min)
  double (*function)(double) = nullptr;
  std::int32_t count = 0;    // operand count
  std::int32_t command = 0;  // the command's number
  TOp op = kGeneral;
};

struct TExecutionPlan {
  std::vector<TPlanStep> commands;  // the step of command n at n - 1
  std::vector<TPlanStep> main;      // MainCommands, in order
  std::vector<std::vector<TPlanStep>> bodies;  // the body of each runtime function, in order
  // Whether each runtime function can be run by CallRunTimeFunctionDirectly: its body is made
  // of fast steps alone, and its first call command has the parameter cells as operands.
  std::vector<std::uint8_t> directFunctions;
  bool wanted = false;  // set by a successful parse: the first execution makes the plan

  bool Ready() const { return !commands.empty(); }
  void Clear() {
    commands.clear();
    main.clear();
    bodies.clear();
    directFunctions.clear();
    wanted = false;
  }
};

class TTalvekComplexEval;

// DoRunTimeFunction's run of runtime function `index` (0-based) with `values` (as many as it
// has parameters), without a walk, when the plan marks the function direct and no limit is
// near: the values go into the parameter cells, the body runs by fast steps, and the call
// command's result cell and `result` receive the value. False when the call needs the
// interpreter's full rules; then nothing has changed that the call would not change itself
// (interpreter.cpp).
bool CallRunTimeFunctionDirectly(TTalvekComplexEval& eval, std::size_t index,
                                 const TEvalValue* values, TEvalValue& result);

}  // namespace evaluator
