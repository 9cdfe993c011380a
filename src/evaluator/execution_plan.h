// The command table as the interpreter runs it after a parse: each command's cells reached
// directly and its fast path for reals chosen once, and the lists run most often laid out in
// the order they run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "evaluator/typed_plan.h"
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
    // Comparisons of two reals, whose value is a boolean (so a known-real front ends there).
    kEqual,
    kNotEqual,
    kLess,
    kGreater,
    kLessOrEqual,
    kGreaterOrEqual,
  };
  TEvalValue* first = nullptr;            // operand 0
  TEvalValue* second = nullptr;           // operand 1
  TEvalValue* result = nullptr;           // the result cell
  TEvalValue* const* operands = nullptr;  // every operand (max, min)
  double (*function)(double) = nullptr;
  std::int32_t count = 0;    // operand count
  std::int32_t command = 0;  // the command's number
  TOp op = kGeneral;
};

// A step of a list that runs by fast steps from end to end, as RunKnownRealList runs it (it
// knows the list holds doubles). An operation whose value the next operation takes at once is
// joined to it, so that the value passes in a register (it is still written to its cell), and
// each step runs through a function chosen when the plan is made.
struct TJoinedStep;
using TJoinedRunner = double (*)(const TJoinedStep& joined);
struct TJoinedStep {
  TJoinedRunner run = nullptr;
  TPlanStep step;                // the step, or the first of a joined pair
  TEvalValue* other = nullptr;   // of a pair: the second operation's other operand
  TEvalValue* result = nullptr;  // of a pair: the second operation's result cell
};

// A command list laid out in the order it runs.
struct TPlanList {
  std::vector<TPlanStep> steps;
  // The leading steps whose fast paths give reals, and the cells they read that no earlier
  // step writes. While those cells hold doubles, so do all the operands of the leading steps,
  // and the steps run without looking at kinds. Left empty for long lists.
  std::size_t fastSteps = 0;
  std::vector<const TEvalValue*> inputs;
  // The steps joined as RunKnownRealList runs them, when every step is in the known-real front.
  std::vector<TJoinedStep> joined;
};

// The plan copies cell pointers out of the command table, so it holds while ListaProc,
// MainCommands and the runtime function records stay as the parse left them; the values in the
// cells may change freely.
struct TExecutionPlan {
  std::vector<TPlanStep> commands;  // the step of command n at n - 1
  TPlanList main;                   // MainCommands
  // Whether `main` is a known-real front from end to end, so that RunMainDirectly may try it;
  // and the length of MainCommands when the plan was made.
  bool mainDirect = false;
  std::size_t mainCount = 0;
  std::vector<TPlanList> bodies;  // the body of each runtime function
  // For each runtime function, what CallRunTimeFunctionDirectly needs, or nothing (`direct`
  // false) when it cannot run the function.
  struct TDirectCall {
    bool direct = false;  // the body is a known-real front from end to end, and the first
                          // call command has the parameter cells as operands
    std::vector<TEvalValue*> cells;  // the result cells of the body's commands, in order
    std::vector<TEvalValue> saved;   // their values while the body runs
    TEvalValue* const* parameters = nullptr;
    std::int32_t parameterCount = 0;
    TEvalValue* bodyResult = nullptr;
    TEvalValue* callResult = nullptr;  // of the first call command
  };
  std::vector<TDirectCall> directCalls;
  // The same lists as typed plans where their commands allow: `typedMain` computes the result
  // cells, each of `typedBodies` the body result of its function.
  TTypedPlan typedMain;
  std::vector<TTypedPlan> typedBodies;
  // Each runtime function as typed calls call it (its root null when they may not), and the
  // bounds of the typed run under way. Call nodes point here, so neither moves once made.
  std::vector<TTypedCallee> typedCallees;
  TTypedRunState typedState;
  std::vector<double> typedValues;  // the roots' values of a run of typedMain
  // DoMathExpression's typed run, set when typedMain has the one result of a single
  // expression; and the length of MainCommands it was made for.
  TTypedEntry typedEntry;
  std::size_t typedEntryMainCount = 0;
  // DoRunTimeFunction's typed call of each function, set when its body has a typed plan and
  // CallRunTimeFunctionDirectly could run it.
  // Laid out for the call alone and aligned to cache lines: a table makes one a point.
  struct alignas(64) TTypedCall {
    const TTypedNode* root = nullptr;  // null: no typed call
    TEvalValue* const* parameters = nullptr;
    std::size_t parameterCount = 0;
    // The varying cells the body reads besides its parameters, which must hold doubles.
    std::vector<const TEvalValue*> inputs;
    TEvalValue* bodyResult = nullptr;
    TEvalValue* callResult = nullptr;      // of the first call command
    const std::uint32_t* depth = nullptr;  // the function's count of active calls
    // The commonest call: of one parameter, that parameter's cell, with no other inputs.
    TEvalValue* single = nullptr;
  };
  std::vector<TTypedCall> typedCalls;
  // Set by a successful parse: the first execution makes the plan.
  bool wanted = false;
  // Cleared to run the step plan alone (the tests compare the two).
  bool typedWanted = true;

  bool Ready() const { return !commands.empty(); }
  void Clear() {
    commands.clear();
    main = TPlanList{};
    mainDirect = false;
    mainCount = 0;
    bodies.clear();
    directCalls.clear();
    typedMain.Clear();
    typedBodies.clear();
    typedCallees.clear();
    typedState = {};
    typedValues.clear();
    typedEntry = {};
    typedEntryMainCount = 0;
    typedCalls.clear();
    wanted = false;
    typedWanted = true;
  }
};

class TTalvekComplexEval;

// DoMathExpression's run of a parse whose main list runs by its typed plan or by fast steps
// alone, its inputs holding doubles: the plan, then the result cell into `result`, with the
// error fields cleared as a successful run leaves them. False when a step or an input needs
// the full rules, or there is no such plan yet; then DoMathExpression runs the list again from
// its start (interpreter.cpp).
bool RunMainDirectly(TTalvekComplexEval& eval, TEvalValue& result);

// DoRunTimeFunction's run of runtime function `index` (0-based) with `values` (as many as it
// has parameters), without a walk, when the plan marks the function direct and no limit is
// near: the values go into the parameter cells, the body runs by fast steps, and the call
// command's result cell and `result` receive the value. False when the call needs the
// interpreter's full rules; then nothing has changed that the call would not change itself
// (interpreter.cpp).
bool CallRunTimeFunctionDirectly(TTalvekComplexEval& eval, std::size_t index,
                                 const TEvalValue* values, TEvalValue& result);

}  // namespace evaluator
