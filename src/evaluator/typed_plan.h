// The typed plan: a command list whose commands all take and give reals, laid out as a tree of
// nodes that pass doubles by value, with literals bound into the nodes and variables read
// straight from their cells. It writes no intermediate cell and tests no fault per step: a
// value that is not finite, anywhere in the tree, reaches the root (see typed_plan.cpp), and
// then the caller runs the full rules from the start to decide what happened.
#pragma once

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

struct TTypedNode {
  TTypedRunner run = nullptr;
  TTypedOperand a{nullptr};
  TTypedOperand b{nullptr};
  double (*function)(double) = nullptr;         // a function of the math library
  const TTypedNode* const* children = nullptr;  // the operands of max and min
  std::int32_t count = 0;                       // how many children
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
  TEvalValue* RootCell(std::size_t k) const { return roots_[k].cell; }
  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  struct TRoot {
    const TTypedNode* node;
    TEvalValue* cell;
  };
  std::vector<TTypedNode> nodes_;
  std::vector<const TTypedNode*> children_;
  std::vector<const TEvalValue*> inputs_;  // the varying cells the tree reads
  std::vector<TRoot> roots_;
};

}  // namespace evaluator
