// Building and running the typed plan.
//
// Why one test at the root is enough: every input is a double (the caller checks the kinds),
// and every node gives a value that is not finite when one of its operands is not: + - * and
// the functions of the library propagate infinities and NaNs by themselves, and the nodes that
// could turn one into a finite value (a divisor, the argument of exp, arctan or tanh, the
// operands of max and min, the operands of a general power) give NaN for it instead. So a
// finite root means every value in the tree was finite, which is exactly when each command's
// full rules would have given the same double without a fault. A node that needs the full
// rules for another reason (a zero squared, which RealPower decides) answers NaN the same way.
#include "evaluator/typed_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "evaluator/execution_plan.h"

namespace evaluator {
namespace {

constexpr double kDoubt = std::numeric_limits<double>::quiet_NaN();

// Trees deeper than this are not laid out: nodes call their operands, and the native stack
// must stay small whatever the text nests. Long sums and the like keep the step plan.
constexpr int kMaxDepth = 160;
// Shared commands are computed once per use in a tree; a list that would repeat more work than
// this (in node runs per distinct command) keeps the step plan, which runs each once.
constexpr std::size_t kMaxRunsPerNode = 2;
constexpr std::size_t kRunsCap = std::size_t{1} << 40;  // counts saturate here

enum class TKind : std::uint8_t { kVariable, kConstant, kNode };

template <TKind kKind>
[[gnu::always_inline]] inline double Get(const TTypedOperand& operand) {
  if constexpr (kKind == TKind::kVariable) {
    return *operand.variable;
  } else if constexpr (kKind == TKind::kConstant) {
    return operand.constant;
  } else {
    return operand.node->run(*operand.node);
  }
}

[[gnu::always_inline]] inline bool Finite(double x) {
  return std::isfinite(x);
}

// ---- Runners ------------------------------------------------------------------------------

template <TPlanStep::TOp kOp, TKind kA, TKind kB>
double RunArithmetic(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  const double y = Get<kB>(node.b);
  if constexpr (kOp == TPlanStep::kAdd) return x + y;
  if constexpr (kOp == TPlanStep::kSubtract) return x - y;
  if constexpr (kOp == TPlanStep::kMultiply) return x * y;
  if constexpr (kOp == TPlanStep::kDivide) return Finite(y) ? x / y : kDoubt;
}

// A unary node's operand is a variable or a node: a constant operand would have been folded.
template <TKind kA>
double RunFunction(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  return Finite(x) ? node.function(x) : kDoubt;
}

template <TKind kA>
double RunSquareRoot(const TTypedNode& node) {
  return std::sqrt(Get<kA>(node.a));
}

template <TKind kA>
double RunAbsolute(const TTypedNode& node) {
  return std::fabs(Get<kA>(node.a));
}

template <TKind kA>
double RunSquare(const TTypedNode& node) {  // sqr
  const double x = Get<kA>(node.a);
  return x * x;
}

// RealPower's value when the exponent is not one of the cases it handles inline; NaN for a
// fault, which the full rules then report.
[[gnu::noinline]] double PowerOutOfLine(double x, double y) {
  if (!Finite(x) || !Finite(y)) return kDoubt;
  try {
    return RealPower(x, y);
  } catch (...) {
    return kDoubt;
  }
}

// x^2 and x^3 with a literal exponent, bit for bit as RealPower multiplies them.
template <int kExponent, TKind kA>
double RunIntegerPower(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  double value = 0;
  if (SquareOrCube(x, kExponent, value)) [[likely]]
    return value;
  return PowerOutOfLine(x, kExponent);
}

template <TKind kA, TKind kB>
double RunPower(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  const double y = Get<kB>(node.b);
  double value = 0;
  if (SquareOrCube(x, y, value)) return value;
  return PowerOutOfLine(x, y);
}

// max and min keep the first of equal operands, as the full rules do.
template <bool kGreatest>
double RunExtreme(const TTypedNode& node) {
  double best = 0;
  for (std::int32_t k = 0; k < node.count; ++k) {
    const TTypedNode& child = *node.children[k];
    const double v = child.run(child);
    if (!Finite(v)) return kDoubt;
    if (k == 0 || (kGreatest ? best < v : best > v)) best = v;
  }
  return best;
}

double RunVariable(const TTypedNode& node) {
  return *node.a.variable;
}

double RunConstant(const TTypedNode& node) {
  return node.a.constant;
}

// ---- Choosing runners ---------------------------------------------------------------------

template <TPlanStep::TOp kOp, TKind kA>
TTypedRunner ArithmeticRunner(TKind b) {
  switch (b) {
    case TKind::kVariable:
      return &RunArithmetic<kOp, kA, TKind::kVariable>;
    case TKind::kConstant:
      return &RunArithmetic<kOp, kA, TKind::kConstant>;
    case TKind::kNode:
      break;
  }
  return &RunArithmetic<kOp, kA, TKind::kNode>;
}

template <TPlanStep::TOp kOp>
TTypedRunner ArithmeticRunner(TKind a, TKind b) {
  switch (a) {
    case TKind::kVariable:
      return ArithmeticRunner<kOp, TKind::kVariable>(b);
    case TKind::kConstant:
      return ArithmeticRunner<kOp, TKind::kConstant>(b);
    case TKind::kNode:
      break;
  }
  return ArithmeticRunner<kOp, TKind::kNode>(b);
}

template <TKind kA>
TTypedRunner PowerRunner(TKind b) {
  switch (b) {
    case TKind::kVariable:
      return &RunPower<kA, TKind::kVariable>;
    case TKind::kConstant:
      return &RunPower<kA, TKind::kConstant>;
    case TKind::kNode:
      break;
  }
  return &RunPower<kA, TKind::kNode>;
}

// Runners of one operand, which is a variable or a node.
template <template <TKind> class TRunnerOf>
TTypedRunner UnaryRunner(TKind a) {
  return a == TKind::kVariable ? &TRunnerOf<TKind::kVariable>::Run : &TRunnerOf<TKind::kNode>::Run;
}

template <TKind kA>
struct TFunctionOf {
  static double Run(const TTypedNode& node) { return RunFunction<kA>(node); }
};
template <TKind kA>
struct TSquareRootOf {
  static double Run(const TTypedNode& node) { return RunSquareRoot<kA>(node); }
};
template <TKind kA>
struct TAbsoluteOf {
  static double Run(const TTypedNode& node) { return RunAbsolute<kA>(node); }
};
template <TKind kA>
struct TSquareOf {
  static double Run(const TTypedNode& node) { return RunSquare<kA>(node); }
};
template <TKind kA>
struct TExtendedSquareOf {
  static double Run(const TTypedNode& node) { return RunIntegerPower<2, kA>(node); }
};
template <TKind kA>
struct TCubeOf {
  static double Run(const TTypedNode& node) { return RunIntegerPower<3, kA>(node); }
};

}  // namespace

void TTypedPlan::Clear() {
  nodes_.clear();
  children_.clear();
  inputs_.clear();
  roots_.clear();
}

bool TTypedPlan::Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots,
                       const TVarying& varying) {
  Clear();
  // Nodes are made in list order and refer to earlier ones by address, so the vector must not
  // move: one node per step and one leaf per operand of max and min at most.
  std::size_t capacity = 0;
  for (const TPlanStep& step : steps)
    capacity += 1 + ((step.op == TPlanStep::kMax || step.op == TPlanStep::kMin) ? step.count : 0);
  nodes_.reserve(capacity);
  std::size_t childCount = 0;
  for (const TPlanStep& step : steps) {
    if (step.op == TPlanStep::kMax || step.op == TPlanStep::kMin) childCount += step.count;
  }
  children_.reserve(childCount);

  struct TMade {
    std::size_t node;
    int depth;
    std::size_t runs;  // node runs per run of this node, shared operands counted per use
    bool used = false;
  };
  std::unordered_map<const TEvalValue*, TMade> made;  // result cell -> its node
  std::unordered_map<const TEvalValue*, std::size_t> laterWrites;
  for (const TPlanStep& step : steps)
    ++laterWrites[step.result];
  std::vector<const TEvalValue*> inputs;

  const auto fail = [this] {
    Clear();
    return false;
  };
  // The operand in `cell`: a node made before, a variable or a bound literal.
  struct TOperand {
    TKind kind;
    TTypedOperand value;
    int depth;
    std::size_t runs;
  };
  bool refused = false;
  const auto operand = [&](const TEvalValue* cell) -> TOperand {
    if (cell == nullptr) {
      refused = true;
      return {};
    }
    const auto found = made.find(cell);
    if (found != made.end()) {
      found->second.used = true;
      TTypedOperand value{};
      value.node = &nodes_[found->second.node];
      return {TKind::kNode, value, found->second.depth, found->second.runs};
    }
    // A cell that a later step writes holds, when read here, a value from an earlier run.
    if (laterWrites.count(cell) != 0) {
      refused = true;
      return {};
    }
    TTypedOperand value{};
    if (varying(cell)) {
      if (std::find(inputs.begin(), inputs.end(), cell) == inputs.end()) inputs.push_back(cell);
      value.variable = &cell->real;
      return {TKind::kVariable, value, 0, 0};
    }
    if (cell->kind != vkReal) {
      refused = true;
      return {};
    }
    value.constant = cell->real;
    return {TKind::kConstant, value, 0, 0};
  };
  // A leaf node for an operand of max or min.
  const auto leaf = [&](const TOperand& o) -> const TTypedNode* {
    if (o.kind == TKind::kNode) return o.value.node;
    TTypedNode node;
    node.run = o.kind == TKind::kVariable ? &RunVariable : &RunConstant;
    node.a = o.value;
    nodes_.push_back(node);
    return &nodes_.back();
  };

  for (const TPlanStep& step : steps) {
    if (--laterWrites[step.result] == 0) laterWrites.erase(step.result);
    // A shared command listed again computes what it already has.
    if (made.count(step.result) != 0) continue;
    TTypedNode node;
    int depth = 0;
    std::size_t runs = 1;
    const auto take = [&](const TOperand& o) {
      depth = std::max(depth, o.depth);
      runs = std::min(runs + o.runs, kRunsCap);
    };
    switch (step.op) {
      case TPlanStep::kAdd:
      case TPlanStep::kSubtract:
      case TPlanStep::kMultiply:
      case TPlanStep::kDivide:
      case TPlanStep::kPower: {
        if (step.count != 2) return fail();
        const TOperand a = operand(step.first);
        const TOperand b = operand(step.second);
        if (refused) return fail();
        take(a);
        take(b);
        node.a = a.value;
        node.b = b.value;
        switch (step.op) {
          case TPlanStep::kAdd:
            node.run = ArithmeticRunner<TPlanStep::kAdd>(a.kind, b.kind);
            break;
          case TPlanStep::kSubtract:
            node.run = ArithmeticRunner<TPlanStep::kSubtract>(a.kind, b.kind);
            break;
          case TPlanStep::kMultiply:
            node.run = ArithmeticRunner<TPlanStep::kMultiply>(a.kind, b.kind);
            break;
          case TPlanStep::kDivide:
            node.run = ArithmeticRunner<TPlanStep::kDivide>(a.kind, b.kind);
            break;
          default:
            if (a.kind == TKind::kConstant) {
              node.run = PowerRunner<TKind::kConstant>(b.kind);
            } else if (b.kind == TKind::kConstant && b.value.constant == 2) {
              node.run = UnaryRunner<TExtendedSquareOf>(a.kind);
            } else if (b.kind == TKind::kConstant && b.value.constant == 3) {
              node.run = UnaryRunner<TCubeOf>(a.kind);
            } else {
              node.run = a.kind == TKind::kVariable ? PowerRunner<TKind::kVariable>(b.kind)
                                                    : PowerRunner<TKind::kNode>(b.kind);
            }
            break;
        }
        break;
      }
      case TPlanStep::kFunction:
      case TPlanStep::kSquareRoot:
      case TPlanStep::kAbsolute:
      case TPlanStep::kSquare: {
        if (step.count != 1) return fail();
        const TOperand a = operand(step.first);
        if (refused || a.kind == TKind::kConstant) return fail();
        take(a);
        node.a = a.value;
        node.function = step.function;
        switch (step.op) {
          case TPlanStep::kFunction:
            if (step.function == nullptr) return fail();
            node.run = UnaryRunner<TFunctionOf>(a.kind);
            break;
          case TPlanStep::kSquareRoot:
            node.run = UnaryRunner<TSquareRootOf>(a.kind);
            break;
          case TPlanStep::kAbsolute:
            node.run = UnaryRunner<TAbsoluteOf>(a.kind);
            break;
          default:
            node.run = UnaryRunner<TSquareOf>(a.kind);
            break;
        }
        break;
      }
      case TPlanStep::kMax:
      case TPlanStep::kMin: {
        if (step.count < 1 || step.operands == nullptr) return fail();
        const std::size_t first = children_.size();
        for (std::int32_t k = 0; k < step.count; ++k) {
          const TOperand o = operand(step.operands[k]);
          if (refused) return fail();
          take(o);
          children_.push_back(leaf(o));
        }
        node.children = children_.data() + first;
        node.count = step.count;
        node.run = step.op == TPlanStep::kMax ? &RunExtreme<true> : &RunExtreme<false>;
        break;
      }
      default:
        return fail();
    }
    if (step.result == nullptr || ++depth > kMaxDepth) return fail();
    nodes_.push_back(node);
    made[step.result] = {nodes_.size() - 1, depth, runs};
  }

  std::size_t runs = 0;
  for (TEvalValue* const cell : roots) {
    const auto found = made.find(cell);
    if (found == made.end()) continue;  // a variable or a literal as a result: nothing to run
    found->second.used = true;
    roots_.push_back({&nodes_[found->second.node], cell});
    runs = std::min(runs + found->second.runs, kRunsCap);
  }
  // Every step must serve a root: a step that served none would still run, and could fault, in
  // the full rules.
  for (const auto& entry : made) {
    if (!entry.second.used) return fail();
  }
  if (roots_.empty() || runs > kMaxRunsPerNode * made.size() + 8) return fail();
  inputs_ = std::move(inputs);
  return true;
}

}  // namespace evaluator
