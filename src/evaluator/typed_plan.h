// The typed plan: a command list whose commands all take and give reals, laid out as a tree of
// nodes that pass doubles by value, with literals bound into the nodes and variables read
// straight from their cells. It writes no intermediate cell and tests no fault per step: a
// value that is not finite, anywhere in the tree, reaches the root (see typed_plan.cpp), and
// then the caller runs the full rules from the start to decide what happened.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "evaluator/value.h"

namespace evaluator {

struct TPlanStep;
struct TTypedNode;
using TTypedRunner = double (*)(const TTypedNode& node);

// What a node reads for one operand; which member is meant is fixed by the node's runner.
union TTypedOperand {
  const double* variable;  // the payload of a cell that may change between runs
  double constant;
  const TTypedNode* node;
};

// An operand takes one slot, or two when it is an operation on two leaves (a variable or a
// literal each) computed inside the node that takes its value: x*x+2*x runs as one node.
struct TTypedNode {
  TTypedRunner run = nullptr;
  TTypedOperand a[2] = {{nullptr}, {nullptr}};  // the first operand
  TTypedOperand b[2] = {{nullptr}, {nullptr}};  // the second operand
  double (*function)(double) = nullptr;         // a function of the math library
  const TTypedNode* const* children = nullptr;  // the operands of max and min, as nodes
  const double* const* leaves = nullptr;        // or as variables and literals alone
  std::int32_t count = 0;                       // how many operands max or min has
};

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

class TTypedPlan {
 public:
  // Whether a cell may change between runs (a variable, a parameter, a command's result); any
  // other cell holds a literal or a folded constant and its value is bound into the nodes.
  using TVarying = std::function<bool(const TEvalValue* cell)>;

  // Lays out `steps` (a command list in the order it runs) to compute the cells of `roots`,
  // those of them that a step writes. False, leaving the plan empty, when a step is not of
  // the typed kinds, when a step would not be needed by any root, or when the tree would be
  // too deep or would repeat too much shared work.
  bool Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots,
             const TVarying& varying);

  bool Ready() const { return !roots_.empty(); }
  void Clear();

  // Computes every root into `values` (one a root, in order); false when an input cell holds
  // no double or a value is not finite, and then the full rules must decide. Writes no cell.
  [[gnu::always_inline]] inline bool Compute(double* values) const {
    for (const TEvalValue* const input : inputs_) {
      if (input->kind != vkReal) return false;
    }
    bool finite = true;
    for (std::size_t k = 0; k < roots_.size(); ++k) {
      const TTypedNode& node = *roots_[k].node;
      values[k] = node.run(node);
      finite = finite && std::isfinite(values[k]);
    }
    return finite;
  }

  std::size_t RootCount() const { return roots_.size(); }
  // The first root as an entry point runs it.
  TTypedEntry Entry() const {
    if (roots_.empty()) return {};
    return {roots_[0].node, roots_[0].cell, inputs_.data(), inputs_.size()};
  }
  TEvalValue* RootCell(std::size_t k) const { return roots_[k].cell; }
  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  struct TRoot {
    const TTypedNode* node;
    TEvalValue* cell;
  };
  std::vector<TTypedNode> nodes_;
  std::vector<const TTypedNode*> children_;
  std::vector<const double*> leaves_;
  std::vector<double> constants_;          // the literals among `leaves_`
  std::vector<const TEvalValue*> inputs_;  // the varying cells the tree reads
  std::vector<TRoot> roots_;
};

}  // namespace evaluator
