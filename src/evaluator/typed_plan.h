// The typed plan: a command list whose commands all take and give reals, laid out as a tree of
// nodes that pass doubles by value, with literals bound into the nodes and variables read
// straight from their cells. It writes no intermediate cell and tests no fault per step: a
// value that is not finite, anywhere in the tree, reaches the root (see typed_plan.cpp), and
// then the caller runs the full rules from the start to decide what happened. An if whose
// condition compares reals and a call of a runtime function whose body has a typed plan of
// its own are nodes too, so recursive definitions run by the typed plan as well.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "evaluator/value.h"

namespace evaluator {

struct TPlanStep;
struct TTypedNode;
class TTypedPlan;
struct TTypedCallee;
struct TTypedLink;
using TTypedRunner = double (*)(const TTypedNode& node);

// What a node reads for one operand; which member is meant is fixed by the node's runner.
union TTypedOperand {
  const double* variable;  // the payload of a cell that may change between runs
  double constant;
  const TTypedNode* node;
};

// An operand takes one slot, or two when it is an operation on two leaves (a variable or a
// literal each) computed inside the node that takes its value: x*x+2*x runs as one node. An if
// keeps its condition in a[0], its else operand in a[1] and its then operand in b[0].
struct TTypedNode {
  TTypedRunner run = nullptr;
  TTypedOperand a[2] = {{nullptr}, {nullptr}};  // the first operand
  TTypedOperand b[2] = {{nullptr}, {nullptr}};  // the second operand
  double (*function)(double) = nullptr;         // a function of the math library
  const TTypedNode* const* children = nullptr;  // the operands of max, min and calls, as nodes
  const double* const* leaves = nullptr;        // or of max and min as variables and literals
  const TTypedCallee* callee = nullptr;         // the function a call calls
  TTypedLink* link = nullptr;                   // of the node that starts a run with calls
  std::int32_t count = 0;                       // how many operands max, min or a call has
  std::int32_t weight = 0;                      // of a call: see TTypedRunState
};

// The bounds of one run of a typed plan with calls. The full rules nest one walk for each
// call and each if on the way to it, and report a stack overflow past a bound; the typed run
// counts the same walks and gives up far below that bound, and it gives up too before its own
// recursion takes more than a fixed amount of native stack.
struct TTypedRunState {
  std::int32_t walks = 0;
  std::uintptr_t stackBase = 0;
  // Set when a call gives up: the run will, so later calls give up at once rather than run
  // what might be an exponential number of calls that no longer matter.
  bool failed = false;
};

// A runtime function as call nodes call it: its parameter cells are bound around each call,
// as the full rules bind them, and the latest call's value goes into its body result cell.
struct TTypedCallee {
  const TTypedNode* root = nullptr;  // the body's tree; null while calls of it are not typed
  const TTypedPlan* plan = nullptr;  // its plan
  TEvalValue* const* parameters = nullptr;
  std::int32_t parameterCount = 0;
  std::uint32_t* depth = nullptr;          // the function's count of active calls
  const std::int32_t* maxDepth = nullptr;  // the evaluator's MaxFunctionStack
  TEvalValue* bodyResult = nullptr;
  TTypedRunState* state = nullptr;
};

// What the node that starts a run with calls needs: the cells every function it may reach
// reads besides its own parameters, which must hold doubles, and the body result cells those
// functions write, which a run that gives up puts back.
struct TTypedLink {
  const TTypedNode* root = nullptr;
  const TTypedCallee* self = nullptr;  // the function whose body this is, for DoRunTimeFunction
  TTypedRunState* state = nullptr;
  std::vector<const TEvalValue*> checks;
  std::vector<TEvalValue*> results;
  std::vector<TEvalValue> saved;
};

// Most parameters a typed call binds; functions with more run by the full rules.
constexpr std::int32_t kMaxTypedParameters = 4;

// What an entry point needs to run a typed plan of one root, laid out flat.
struct TTypedEntry {
  const TTypedNode* root = nullptr;  // null: no typed plan
  TEvalValue* cell = nullptr;        // the root's cell
  const TEvalValue* const* inputs = nullptr;
  std::size_t inputCount = 0;

  // The root's value; false when an input holds no double or the value is not finite.
  [[gnu::always_inline]] inline bool Compute(double& value) const {
    for (std::size_t k = 0; k < inputCount; ++k) {
      if (inputs[k]->kind != vkReal) return false;
    }
    value = root->run(*root);
    return std::isfinite(value);
  }
};

// What the builder needs to know of the commands besides their steps. Implemented by the
// interpreter, which knows the command table.
class TTypedSource {
 public:
  // The lists and operands of an if or a call command.
  struct TNested {
    TEvalValue* const* operands = nullptr;
    std::int32_t count = 0;
    bool isIf = false;
    std::vector<TPlanStep> lists[3];  // an if's condition, then and else lists
    TTypedCallee* callee = nullptr;   // a call's function, when its calls may be typed
    TEvalValue* result = nullptr;
  };

  virtual ~TTypedSource() = default;
  // Whether a cell may change between runs (a variable, a parameter, a command's result); any
  // other cell holds a literal or a folded constant and its value is bound into the nodes.
  virtual bool Varying(const TEvalValue* cell) const = 0;
  // Whether a command writes the cell; read where that command has not run, it holds a value
  // of an earlier run or of an enclosing call.
  virtual bool Written(const TEvalValue* cell) const = 0;
  // False when command `command` is neither an if nor a call the typed plan can make.
  virtual bool Nested(std::int32_t command, TNested& nested) const = 0;
};

class TTypedPlan {
 public:
  TTypedPlan() = default;
  // Nodes point into the plan's own storage.
  TTypedPlan(const TTypedPlan&) = delete;
  TTypedPlan& operator=(const TTypedPlan&) = delete;
  // A move keeps every node where it is.
  TTypedPlan(TTypedPlan&&) = default;
  TTypedPlan& operator=(TTypedPlan&&) = default;

  // Lays out `steps` (a command list in the order it runs) to compute the cells of `roots`,
  // those of them that a step writes. False, leaving the plan empty, when a step is not of
  // the typed kinds, when a step would not be needed by any root, or when the tree would be
  // too deep or would repeat too much shared work.
  bool Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots,
             const TTypedSource& source);

  // Once every function's plan is built and every callee's root set: whether each function
  // the tree calls, directly or not, has a typed body; if so the plan is made ready to start
  // runs with calls (`self` is the function whose body this is, for DoRunTimeFunction, or
  // null for a main list).
  bool Link(const TTypedCallee* self, TTypedRunState* state);
  // The functions the tree calls directly.
  const std::vector<TTypedCallee*>& Callees() const { return callees_; }

  bool Ready() const { return !roots_.empty(); }
  void Clear();

  // Computes every root into `values` (one a root, in order); false when an input cell holds
  // no double or a value is not finite, and then the full rules must decide. Writes no cell
  // but the body results of the functions it calls, which it puts back when it fails.
  [[gnu::always_inline]] inline bool Compute(double* values) const {
    if (entryNode_ != nullptr) [[unlikely]]
      return ComputeWithCalls(values);
    return InputsHoldReals() && ComputeRoots(values);
  }

  std::size_t RootCount() const { return roots_.size(); }
  // The first root as an entry point runs it.
  TTypedEntry Entry() const {
    if (roots_.empty()) return {};
    const TTypedNode* root = entryNode_ != nullptr ? entryNode_ : roots_[0].node;
    return {root, roots_[0].cell, inputs_.data(), inputs_.size()};
  }
  // The tree of the first root, as call nodes run it.
  const TTypedNode* Root() const { return roots_.empty() ? nullptr : roots_[0].node; }
  TEvalValue* RootCell(std::size_t k) const { return roots_[k].cell; }
  std::size_t NodeCount() const { return nodes_.size(); }
  // The varying cells the tree reads itself.
  const std::vector<const TEvalValue*>& Inputs() const { return inputs_; }

 private:
  friend class TTypedBuilder;
  bool ComputeWithCalls(double* values) const;
  [[gnu::always_inline]] inline bool InputsHoldReals() const {
    for (const TEvalValue* const input : inputs_) {
      if (input->kind != vkReal) return false;
    }
    return true;
  }
  [[gnu::always_inline]] inline bool ComputeRoots(double* values) const {
    bool finite = true;
    for (std::size_t k = 0; k < roots_.size(); ++k) {
      const TTypedNode& node = *roots_[k].node;
      values[k] = node.run(node);
      finite = finite && std::isfinite(values[k]);
    }
    return finite;
  }

  struct TRoot {
    const TTypedNode* node;
    TEvalValue* cell;
  };
  // Deques, since nodes and literals are referred to by address as the tree grows.
  std::deque<TTypedNode> nodes_;
  std::vector<std::unique_ptr<const TTypedNode*[]>> children_;
  std::vector<std::unique_ptr<const double*[]>> leaves_;
  std::deque<double> constants_;           // the literals among `leaves_`
  std::vector<const TEvalValue*> inputs_;  // the varying cells the tree reads
  std::vector<TRoot> roots_;
  std::vector<TTypedCallee*> callees_;
  // Set by Link when the tree holds calls: the node that starts a run, before the root.
  TTypedNode* entryNode_ = nullptr;
  std::unique_ptr<TTypedLink> link_;
};

// The nesting of the interpreter's walks on this thread (interpreter.cpp), counted over every
// evaluator so that evaluators re-entered from application functions share the bound; deeper
// nesting reports a stack overflow.
constexpr int kMaxWalkNesting = 4000;
extern constinit thread_local int tWalkNesting;
inline int CurrentWalkNesting() {
  return tWalkNesting;
}

}  // namespace evaluator
