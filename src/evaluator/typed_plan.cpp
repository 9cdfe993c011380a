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
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <utility>

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

// How a node reads an operand. Besides a variable, a literal and another node, an operand may
// be one of twelve pairs: an operation (+ - * /) on two leaves, variable and variable,
// variable and literal or literal and variable, which the node computes itself.
constexpr int kVariable = 0;
constexpr int kConstant = 1;
constexpr int kNode = 2;
constexpr int kFirstPair = 3;
constexpr int kKinds = kFirstPair + 12;
enum TPairLeaves : int { kVariableVariable, kVariableConstant, kConstantVariable };

constexpr int PairKind(int operation, int leaves) {
  return kFirstPair + operation * 3 + leaves;
}

// The operations in pair order.
constexpr TPlanStep::TOp kPairOps[] = {TPlanStep::kAdd, TPlanStep::kSubtract, TPlanStep::kMultiply,
                                       TPlanStep::kDivide};

template <TPlanStep::TOp kOp>
[[gnu::always_inline]] inline double Arithmetic(double x, double y) {
  if constexpr (kOp == TPlanStep::kAdd) return x + y;
  if constexpr (kOp == TPlanStep::kSubtract) return x - y;
  if constexpr (kOp == TPlanStep::kMultiply) return x * y;
  if constexpr (kOp == TPlanStep::kDivide) return std::isfinite(y) ? x / y : kDoubt;
}

template <int kKind>
[[gnu::always_inline]] inline double Get(const TTypedOperand* operand) {
  if constexpr (kKind == kVariable) {
    return *operand[0].variable;
  } else if constexpr (kKind == kConstant) {
    return operand[0].constant;
  } else if constexpr (kKind == kNode) {
    return operand[0].node->run(*operand[0].node);
  } else {
    constexpr int leaves = (kKind - kFirstPair) % 3;
    const double x = leaves == kConstantVariable ? operand[0].constant : *operand[0].variable;
    const double y = leaves == kVariableConstant ? operand[1].constant : *operand[1].variable;
    return Arithmetic<kPairOps[(kKind - kFirstPair) / 3]>(x, y);
  }
}

[[gnu::always_inline]] inline bool Finite(double x) {
  return std::isfinite(x);
}

// ---- Runners ------------------------------------------------------------------------------

template <TPlanStep::TOp kOp, int kA, int kB>
double RunArithmetic(const TTypedNode& node) {
  return Arithmetic<kOp>(Get<kA>(node.a), Get<kB>(node.b));
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
template <int kExponent>
[[gnu::always_inline]] inline double IntegerPower(double x) {
  double value = 0;
  if (SquareOrCube(x, kExponent, value)) [[likely]]
    return value;
  return PowerOutOfLine(x, kExponent);
}

enum class TUnary : std::uint8_t {
  kFunction,
  kSquareRoot,
  kAbsolute,
  kSquare,
  kExtendedSquare,
  kCube
};

template <TUnary kUnary, int kA>
double RunUnary(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  if constexpr (kUnary == TUnary::kFunction) return Finite(x) ? node.function(x) : kDoubt;
  if constexpr (kUnary == TUnary::kSquareRoot) return std::sqrt(x);
  if constexpr (kUnary == TUnary::kAbsolute) return std::fabs(x);
  if constexpr (kUnary == TUnary::kSquare) return x * x;  // sqr
  if constexpr (kUnary == TUnary::kExtendedSquare) return IntegerPower<2>(x);
  if constexpr (kUnary == TUnary::kCube) return IntegerPower<3>(x);
}

template <int kA, int kB>
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

// v * 0 is zero for a finite v and NaN otherwise, so the sum of them tests every operand at
// once.
template <bool kGreatest>
double RunExtremeOfLeaves(const TTypedNode& node) {
  const double* const* const leaves = node.leaves;
  double best = *leaves[0];
  double poison = best * 0.0;
  for (std::int32_t k = 1; k < node.count; ++k) {
    const double v = *leaves[k];
    poison += v * 0.0;
    best = (kGreatest ? best < v : best > v) ? v : best;
  }
  return poison == 0 ? best : kDoubt;
}

double RunVariable(const TTypedNode& node) {
  return *node.a[0].variable;
}

double RunConstant(const TTypedNode& node) {
  return node.a[0].constant;
}

// ---- Choosing runners ---------------------------------------------------------------------

using TRunnerRow = std::array<TTypedRunner, kKinds>;

template <TPlanStep::TOp kOp, int kA, int... kB>
constexpr TRunnerRow ArithmeticRow(std::integer_sequence<int, kB...>) {
  return {&RunArithmetic<kOp, kA, kB>...};
}

template <TPlanStep::TOp kOp, int... kA>
constexpr std::array<TRunnerRow, kKinds> ArithmeticTable(std::integer_sequence<int, kA...>) {
  return {ArithmeticRow<kOp, kA>(std::make_integer_sequence<int, kKinds>())...};
}

template <TPlanStep::TOp kOp>
TTypedRunner ArithmeticRunner(int a, int b) {
  static constexpr std::array<TRunnerRow, kKinds> table =
      ArithmeticTable<kOp>(std::make_integer_sequence<int, kKinds>());
  return table[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
}

template <TUnary kUnary, int... kA>
constexpr TRunnerRow UnaryRow(std::integer_sequence<int, kA...>) {
  return {&RunUnary<kUnary, kA>...};
}

template <TUnary kUnary>
TTypedRunner UnaryRunner(int a) {
  static constexpr TRunnerRow row = UnaryRow<kUnary>(std::make_integer_sequence<int, kKinds>());
  return row[static_cast<std::size_t>(a)];
}

template <int kA>
TTypedRunner PowerRunner(int b) {
  switch (b) {
    case kVariable:
      return &RunPower<kA, kVariable>;
    case kConstant:
      return &RunPower<kA, kConstant>;
    default:
      return &RunPower<kA, kNode>;
  }
}

TTypedRunner PowerRunner(int a, int b) {
  switch (a) {
    case kVariable:
      return PowerRunner<kVariable>(b);
    case kConstant:
      return PowerRunner<kConstant>(b);
    default:
      return PowerRunner<kNode>(b);
  }
}

}  // namespace

void TTypedPlan::Clear() {
  nodes_.clear();
  children_.clear();
  leaves_.clear();
  constants_.clear();
  inputs_.clear();
  roots_.clear();
}

bool TTypedPlan::Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots,
                       const TVarying& varying) {
  Clear();
  // Nodes, operand lists and bound literals are referred to by address, so their vectors must
  // not move: one node per step and one per operand of max and min at most.
  std::size_t capacity = 0;
  std::size_t operandCount = 0;
  for (const TPlanStep& step : steps) {
    const bool extreme = step.op == TPlanStep::kMax || step.op == TPlanStep::kMin;
    capacity += 1 + (extreme ? step.count : 0);
    operandCount += extreme ? step.count : 0;
  }
  nodes_.reserve(capacity);
  children_.reserve(operandCount);
  leaves_.reserve(operandCount);
  constants_.reserve(operandCount);

  // What an operand reads, and what its node costs.
  struct TOperand {
    int kind = kVariable;
    TTypedOperand slots[2] = {{nullptr}, {nullptr}};
    int depth = 0;
    std::size_t runs = 0;  // node runs per run of the operand, shared ones counted per use
  };
  struct TMade {
    std::size_t node = 0;
    TOperand asOperand;  // a node, or the pair its node computes
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
  bool refused = false;
  // The operand in `cell`: a node made before (or its pair), a variable or a bound literal.
  const auto operand = [&](const TEvalValue* cell) -> TOperand {
    TOperand o;
    if (cell == nullptr) {
      refused = true;
      return o;
    }
    const auto found = made.find(cell);
    if (found != made.end()) {
      found->second.used = true;
      return found->second.asOperand;
    }
    // A cell that a later step writes holds, when read here, a value from an earlier run.
    if (laterWrites.count(cell) != 0) {
      refused = true;
      return o;
    }
    if (varying(cell)) {
      if (std::find(inputs.begin(), inputs.end(), cell) == inputs.end()) inputs.push_back(cell);
      o.kind = kVariable;
      o.slots[0].variable = &cell->real;
      return o;
    }
    if (cell->kind != vkReal) {
      refused = true;
      return o;
    }
    o.kind = kConstant;
    o.slots[0].constant = cell->real;
    return o;
  };
  // An operand as a node or a leaf: a pair is read through its own node.
  const auto single = [&](const TEvalValue* cell) -> TOperand {
    TOperand o = operand(cell);
    if (o.kind >= kFirstPair) {
      const TMade& m = made.at(cell);
      o.kind = kNode;
      o.slots[0].node = &nodes_[m.node];
      o.slots[1].node = nullptr;
    }
    return o;
  };
  const auto leafNode = [&](const TOperand& o) -> const TTypedNode* {
    if (o.kind == kNode) return o.slots[0].node;
    TTypedNode node;
    node.run = o.kind == kVariable ? &RunVariable : &RunConstant;
    node.a[0] = o.slots[0];
    nodes_.push_back(node);
    return &nodes_.back();
  };

  for (const TPlanStep& step : steps) {
    if (--laterWrites[step.result] == 0) laterWrites.erase(step.result);
    // A shared command listed again computes what it already has.
    if (step.result == nullptr || made.count(step.result) != 0) continue;
    TTypedNode node;
    int depth = 0;
    std::size_t runs = 1;
    const auto take = [&](const TOperand& o) {
      depth = std::max(depth, o.depth);
      runs = std::min(runs + o.runs, kRunsCap);
    };
    int pairKind = -1;  // the pair this node computes, when both operands are leaves
    switch (step.op) {
      case TPlanStep::kAdd:
      case TPlanStep::kSubtract:
      case TPlanStep::kMultiply:
      case TPlanStep::kDivide: {
        if (step.count != 2) return fail();
        const TOperand a = operand(step.first);
        const TOperand b = operand(step.second);
        if (refused) return fail();
        take(a);
        take(b);
        node.a[0] = a.slots[0];
        node.a[1] = a.slots[1];
        node.b[0] = b.slots[0];
        node.b[1] = b.slots[1];
        int operation = 0;
        switch (step.op) {
          case TPlanStep::kAdd:
            node.run = ArithmeticRunner<TPlanStep::kAdd>(a.kind, b.kind);
            break;
          case TPlanStep::kSubtract:
            operation = 1;
            node.run = ArithmeticRunner<TPlanStep::kSubtract>(a.kind, b.kind);
            break;
          case TPlanStep::kMultiply:
            operation = 2;
            node.run = ArithmeticRunner<TPlanStep::kMultiply>(a.kind, b.kind);
            break;
          default:
            operation = 3;
            node.run = ArithmeticRunner<TPlanStep::kDivide>(a.kind, b.kind);
            break;
        }
        if (a.kind == kVariable && b.kind == kVariable) {
          pairKind = PairKind(operation, kVariableVariable);
        } else if (a.kind == kVariable && b.kind == kConstant) {
          pairKind = PairKind(operation, kVariableConstant);
        } else if (a.kind == kConstant && b.kind == kVariable) {
          pairKind = PairKind(operation, kConstantVariable);
        }
        break;
      }
      case TPlanStep::kPower: {
        if (step.count != 2) return fail();
        const TOperand b = single(step.second);
        const TOperand a =
            b.kind == kConstant && (b.slots[0].constant == 2 || b.slots[0].constant == 3)
                ? operand(step.first)
                : single(step.first);
        if (refused) return fail();
        take(a);
        take(b);
        node.a[0] = a.slots[0];
        node.a[1] = a.slots[1];
        node.b[0] = b.slots[0];
        if (b.kind == kConstant && b.slots[0].constant == 2 && a.kind != kConstant) {
          node.run = UnaryRunner<TUnary::kExtendedSquare>(a.kind);
        } else if (b.kind == kConstant && b.slots[0].constant == 3 && a.kind != kConstant) {
          node.run = UnaryRunner<TUnary::kCube>(a.kind);
        } else {
          node.run = PowerRunner(a.kind, b.kind);
        }
        break;
      }
      case TPlanStep::kFunction:
      case TPlanStep::kSquareRoot:
      case TPlanStep::kAbsolute:
      case TPlanStep::kSquare: {
        if (step.count != 1) return fail();
        const TOperand a = operand(step.first);
        if (refused || a.kind == kConstant) return fail();
        take(a);
        node.a[0] = a.slots[0];
        node.a[1] = a.slots[1];
        node.function = step.function;
        switch (step.op) {
          case TPlanStep::kFunction:
            if (step.function == nullptr) return fail();
            node.run = UnaryRunner<TUnary::kFunction>(a.kind);
            break;
          case TPlanStep::kSquareRoot:
            node.run = UnaryRunner<TUnary::kSquareRoot>(a.kind);
            break;
          case TPlanStep::kAbsolute:
            node.run = UnaryRunner<TUnary::kAbsolute>(a.kind);
            break;
          default:
            node.run = UnaryRunner<TUnary::kSquare>(a.kind);
            break;
        }
        break;
      }
      case TPlanStep::kMax:
      case TPlanStep::kMin: {
        if (step.count < 1 || step.operands == nullptr) return fail();
        std::vector<TOperand> operands;
        bool allLeaves = true;
        for (std::int32_t k = 0; k < step.count; ++k) {
          operands.push_back(single(step.operands[k]));
          if (refused) return fail();
          take(operands.back());
          allLeaves = allLeaves && operands.back().kind != kNode;
        }
        const bool greatest = step.op == TPlanStep::kMax;
        node.count = step.count;
        if (allLeaves) {
          node.leaves = leaves_.data() + leaves_.size();
          for (const TOperand& o : operands) {
            if (o.kind == kVariable) {
              leaves_.push_back(o.slots[0].variable);
            } else {
              constants_.push_back(o.slots[0].constant);
              leaves_.push_back(&constants_.back());
            }
          }
          node.run = greatest ? &RunExtremeOfLeaves<true> : &RunExtremeOfLeaves<false>;
        } else {
          node.children = children_.data() + children_.size();
          for (const TOperand& o : operands)
            children_.push_back(leafNode(o));
          node.run = greatest ? &RunExtreme<true> : &RunExtreme<false>;
        }
        break;
      }
      default:
        return fail();
    }
    if (++depth > kMaxDepth) return fail();
    nodes_.push_back(node);
    TMade entry;
    entry.node = nodes_.size() - 1;
    entry.asOperand.depth = depth;
    entry.asOperand.runs = runs;
    if (pairKind >= 0) {
      // Read as a pair, its operands go into the node that takes its value.
      entry.asOperand.kind = pairKind;
      entry.asOperand.slots[0] = node.a[0];
      entry.asOperand.slots[1] = node.b[0];
      entry.asOperand.depth = 0;
      entry.asOperand.runs = 0;
    } else {
      entry.asOperand.kind = kNode;
      entry.asOperand.slots[0].node = &nodes_.back();
    }
    made[step.result] = entry;
  }

  std::size_t runs = 0;
  for (TEvalValue* const cell : roots) {
    const auto found = made.find(cell);
    if (found == made.end()) continue;  // a variable or a literal as a result: nothing to run
    found->second.used = true;
    roots_.push_back({&nodes_[found->second.node], cell});
    runs = std::min(runs + std::max<std::size_t>(found->second.asOperand.runs, 1), kRunsCap);
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
