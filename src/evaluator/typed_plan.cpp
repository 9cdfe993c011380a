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
//
// Comparisons give 1 or 0 (NaN for an operand that is not finite), and an if gives NaN for a
// condition that is neither, or for a false condition without an else. A call binds its
// arguments to the parameter cells, runs the callee's tree and puts the parameters back,
// which is all the save area of the full rules leaves changed, since no node writes a cell of
// the body; it writes the body result cell as a completed call does. Nodes run their operands
// in the order of the command list, so calls complete in the order the full rules make them.
#include "evaluator/typed_plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <type_traits>
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

// Operands are read one after the other, the first first, as they may hold calls.
template <TPlanStep::TOp kOp, int kA, int kB>
double RunArithmetic(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  const double y = Get<kB>(node.b);
  return Arithmetic<kOp>(x, y);
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

// ---- Comparisons, if and calls -------------------------------------------------------------

enum class TCompare : std::uint8_t {
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessOrEqual,
  kGreaterOrEqual
};

// ApproxEqual of two finite doubles, with the common answers found without splitting them:
// equal doubles, and doubles further apart than two mantissas within its tolerance can be
// (its tolerance of 1e-13 on mantissas of one exponent is under 2e-13 of either value).
[[gnu::always_inline]] inline bool Near(double x, double y) {
  if (x == y) return true;
  if (std::fabs(x - y) > 4e-13 * std::fmax(std::fabs(x), std::fabs(y))) return false;
  return ApproxEqual(x, y);
}

template <TCompare kCompare, int kA, int kB>
double RunCompare(const TTypedNode& node) {
  const double x = Get<kA>(node.a);
  const double y = Get<kB>(node.b);
  if (!Finite(x) || !Finite(y)) return kDoubt;
  bool value = false;
  if constexpr (kCompare == TCompare::kEqual) value = Near(x, y);
  if constexpr (kCompare == TCompare::kNotEqual) value = !Near(x, y);
  if constexpr (kCompare == TCompare::kLess) value = x < y;
  if constexpr (kCompare == TCompare::kGreater) value = x > y;
  if constexpr (kCompare == TCompare::kLessOrEqual) value = x < y || Near(x, y);
  if constexpr (kCompare == TCompare::kGreaterOrEqual) value = x > y || Near(x, y);
  return value ? 1.0 : 0.0;
}

// kNone for an if without an else, whose false condition gives Null in the full rules.
constexpr int kNone = -1;

template <int kThen, int kElse>
double RunIf(const TTypedNode& node) {
  const TTypedNode& condition = *node.a[0].node;
  const double test = condition.run(condition);
  if (test == 1.0) return Get<kThen>(node.b);
  if constexpr (kElse != kNone) {
    if (test == 0.0) return Get<kElse>(node.a + 1);
  }
  return kDoubt;
}

// Nested walks of the full rules at which a typed run gives up, far below the interpreter's
// bound, and the native stack its recursion may take.
constexpr std::int32_t kMaxWalks = 1000;
constexpr std::uintptr_t kMaxStack = std::uintptr_t{1} << 20;
// The walks under way when a run starts: DoRunTimeFunction's call and its body, at most.
constexpr std::int32_t kEntryWalks = 2;

inline std::uintptr_t FrameAddress() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

template <std::int32_t kCount>
double RunCall(const TTypedNode& node) {
  const TTypedCallee& callee = *node.callee;
  TTypedRunState& state = *callee.state;
  if (state.failed) return kDoubt;
  // All arguments are computed before any parameter is bound, as they may read parameters.
  double arguments[kCount > 0 ? kCount : 1];
  for (std::int32_t k = 0; k < kCount; ++k) {
    const TTypedNode& child = *node.children[k];
    arguments[k] = child.run(child);
    if (!Finite(arguments[k])) {
      state.failed = true;
      return kDoubt;
    }
  }
  const std::uintptr_t frame = FrameAddress();
  const std::uintptr_t used =
      frame < state.stackBase ? state.stackBase - frame : frame - state.stackBase;
  if (static_cast<std::int64_t>(*callee.depth) >= *callee.maxDepth ||
      state.walks + node.weight > kMaxWalks || used > kMaxStack) {
    state.failed = true;
    return kDoubt;
  }
  TEvalValue* const* const parameters = callee.parameters;
  TEvalValue saved[kCount > 0 ? kCount : 1];
  for (std::int32_t k = 0; k < kCount; ++k) {
    saved[k] = *parameters[k];
    parameters[k]->real = arguments[k];
    parameters[k]->kind = vkReal;
  }
  ++*callee.depth;
  state.walks += node.weight;
  const double value = callee.root->run(*callee.root);
  state.walks -= node.weight;
  --*callee.depth;
  for (std::int32_t k = 0; k < kCount; ++k)
    *parameters[k] = saved[k];
  callee.bodyResult->real = value;
  callee.bodyResult->kind = vkReal;
  if (!Finite(value)) state.failed = true;
  return value;
}

TTypedRunner CallRunner(std::int32_t count) {
  switch (count) {
    case 0:
      return &RunCall<0>;
    case 1:
      return &RunCall<1>;
    case 2:
      return &RunCall<2>;
    case 3:
      return &RunCall<3>;
    default:
      return &RunCall<4>;
  }
}
static_assert(kMaxTypedParameters == 4);

// Starts a run of a tree with calls: `compute` runs the roots and says whether every value is
// finite. A run that gives up puts back the body results its calls wrote, so that the full
// rules start from what the caller left.
template <class F>
bool RunWithCalls(TTypedLink& link, F compute) {
  // Inside a walk (an application function evaluating again) the walks and the stack the full
  // rules would take are not known here.
  if (CurrentWalkNesting() != 0) return false;
  for (const TEvalValue* const cell : link.checks) {
    if (cell->kind != vkReal) return false;
  }
  const std::size_t count = link.results.size();
  for (std::size_t k = 0; k < count; ++k)
    link.saved[k] = *link.results[k];
  TTypedRunState& state = *link.state;
  state.walks = kEntryWalks;
  state.stackBase = FrameAddress();
  state.failed = false;
  bool finite = false;
  if (link.self != nullptr) {
    ++*link.self->depth;
    finite = compute();
    --*link.self->depth;
  } else {
    finite = compute();
  }
  if (!finite) {
    for (std::size_t k = 0; k < count; ++k)
      *link.results[k] = link.saved[k];
  }
  return finite;
}

double RunEntry(const TTypedNode& node) {
  TTypedLink& link = *node.link;
  double value = kDoubt;
  RunWithCalls(link, [&] {
    value = link.root->run(*link.root);
    return Finite(value);
  });
  return value;
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

// Calls `pick` with an operand's kind, a variable, a literal or a node, as a constant.
template <class F>
TTypedRunner ByLeafKind(int kind, F pick) {
  switch (kind) {
    case kVariable:
      return pick(std::integral_constant<int, kVariable>());
    case kConstant:
      return pick(std::integral_constant<int, kConstant>());
    default:
      return pick(std::integral_constant<int, kNode>());
  }
}

TTypedRunner PowerRunner(int a, int b) {
  return ByLeafKind(a, [b](auto x) {
    return ByLeafKind(
        b, [](auto y) -> TTypedRunner { return &RunPower<decltype(x)::value, y.value>; });
  });
}

template <TCompare kCompare>
TTypedRunner CompareRunner(int a, int b) {
  return ByLeafKind(a, [b](auto x) {
    return ByLeafKind(b, [](auto y) -> TTypedRunner {
      return &RunCompare<kCompare, decltype(x)::value, y.value>;
    });
  });
}

TTypedRunner CompareRunner(TPlanStep::TOp op, int a, int b) {
  switch (op) {
    case TPlanStep::kEqual:
      return CompareRunner<TCompare::kEqual>(a, b);
    case TPlanStep::kNotEqual:
      return CompareRunner<TCompare::kNotEqual>(a, b);
    case TPlanStep::kLess:
      return CompareRunner<TCompare::kLess>(a, b);
    case TPlanStep::kGreater:
      return CompareRunner<TCompare::kGreater>(a, b);
    case TPlanStep::kLessOrEqual:
      return CompareRunner<TCompare::kLessOrEqual>(a, b);
    default:
      return CompareRunner<TCompare::kGreaterOrEqual>(a, b);
  }
}

TTypedRunner IfRunner(int then, int otherwise) {
  return ByLeafKind(then, [otherwise](auto x) {
    if (otherwise == kNone) return TTypedRunner{&RunIf<x.value, kNone>};
    return ByLeafKind(otherwise,
                      [](auto y) -> TTypedRunner { return &RunIf<decltype(x)::value, y.value>; });
  });
}

}  // namespace

void TTypedPlan::Clear() {
  nodes_.clear();
  children_.clear();
  leaves_.clear();
  constants_.clear();
  inputs_.clear();
  roots_.clear();
  callees_.clear();
  entryNode_ = nullptr;
  link_.reset();
}

// Lays out one plan: a list, and the lists of the ifs in it, each in a scope of its own.
class TTypedBuilder {
 public:
  TTypedBuilder(TTypedPlan& plan, const TTypedSource& source) : plan_(plan), source_(source) {}

  bool Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots) {
    TScope top;
    if (!BuildList(steps, top)) return false;
    std::size_t runs = 0;
    for (TEvalValue* const cell : roots) {
      const auto found = top.made.find(cell);
      if (found == top.made.end()) continue;  // a variable or a literal: nothing to run
      TMade& made = found->second;
      made.used = true;
      if (made.boolean || (made.asOperand.firstCall >= 0 && made.uses++ > 0)) return false;
      plan_.roots_.push_back({made.node, cell});
      runs = std::min(runs + std::max<std::size_t>(made.asOperand.runs, 1), kRunsCap);
    }
    if (!AllUsed(top) || plan_.roots_.empty() || runs > kMaxRunsPerNode * madeCount_ + 8) {
      return false;
    }
    plan_.inputs_ = std::move(inputs_);
    plan_.callees_ = std::move(callees_);
    return true;
  }

 private:
  // What an operand reads, and what its node costs.
  struct TOperand {
    int kind = kVariable;
    TTypedOperand slots[2] = {{nullptr}, {nullptr}};
    int depth = 0;
    std::size_t runs = 0;  // node runs per run of the operand, shared ones counted per use
    // The positions in the command lists of the first and the last call the operand makes,
    // -1 when it makes none.
    std::int64_t firstCall = -1;
    std::int64_t lastCall = -1;
  };
  struct TMade {
    const TTypedNode* node = nullptr;
    TOperand asOperand;    // a node, or the pair its node computes
    bool used = false;     // by a step of its own list, or a root
    bool boolean = false;  // a comparison, whose value only an if's condition takes
    int uses = 0;
  };
  // The nodes of one list; an if's condition list is the scope of its branches, and every
  // list the scope of the ifs in it.
  struct TScope {
    std::unordered_map<const TEvalValue*, TMade> made;
    TScope* parent = nullptr;
    std::int32_t ifDepth = 0;
  };

  // Every step of a list must serve its own list: a step that served none, or served only a
  // branch, would still run, and could fault, in the full rules.
  static bool AllUsed(const TScope& scope) {
    return std::all_of(scope.made.begin(), scope.made.end(),
                       [](const auto& entry) { return entry.second.used; });
  }

  // The operand in `cell`: a node made before in this list or an enclosing one (or its pair),
  // a variable or a bound literal.
  TOperand Operand(const TEvalValue* cell, TScope& scope, bool boolean = false) {
    TOperand o;
    if (cell == nullptr) {
      refused_ = true;
      return o;
    }
    for (TScope* s = &scope; s != nullptr; s = s->parent) {
      const auto found = s->made.find(cell);
      if (found == s->made.end()) continue;
      TMade& made = found->second;
      if (s == &scope) made.used = true;
      // A value that makes calls is computed once, or the calls would complete in another
      // order than the full rules make them.
      if (made.boolean != boolean || (made.asOperand.firstCall >= 0 && made.uses > 0)) {
        refused_ = true;
      }
      ++made.uses;
      return made.asOperand;
    }
    if (boolean || source_.Written(cell)) {
      refused_ = true;
      return o;
    }
    if (source_.Varying(cell)) {
      if (std::find(inputs_.begin(), inputs_.end(), cell) == inputs_.end()) inputs_.push_back(cell);
      o.kind = kVariable;
      o.slots[0].variable = &cell->real;
      return o;
    }
    if (cell->kind != vkReal) {
      refused_ = true;
      return o;
    }
    o.kind = kConstant;
    o.slots[0].constant = cell->real;
    return o;
  }

  // An operand as a node or a leaf: a pair is read through its own node.
  TOperand Single(const TEvalValue* cell, TScope& scope) {
    TOperand o = Operand(cell, scope);
    if (o.kind >= kFirstPair) {
      for (const TScope* s = &scope; s != nullptr; s = s->parent) {
        const auto found = s->made.find(cell);
        if (found == s->made.end()) continue;
        o.kind = kNode;
        o.slots[0].node = found->second.node;
        o.slots[1].node = nullptr;
        break;
      }
    }
    return o;
  }

  const TTypedNode* LeafNode(const TOperand& o) {
    if (o.kind == kNode) return o.slots[0].node;
    TTypedNode node;
    node.run = o.kind == kVariable ? &RunVariable : &RunConstant;
    node.a[0] = o.slots[0];
    plan_.nodes_.push_back(node);
    return &plan_.nodes_.back();
  }

  const TTypedNode** Children(std::size_t count) {
    plan_.children_.push_back(std::make_unique<const TTypedNode*[]>(count));
    return plan_.children_.back().get();
  }

  // What a step's node costs, from its operands in the order it runs them; false when their
  // calls would complete in another order than the list makes them.
  struct TCost {
    int depth = 0;
    std::size_t runs = 1;
    std::int64_t firstCall = -1;
    std::int64_t lastCall = -1;
    bool ordered = true;
  };
  static void Take(TCost& cost, const TOperand& o) {
    cost.depth = std::max(cost.depth, o.depth);
    cost.runs = std::min(cost.runs + o.runs, kRunsCap);
    if (o.firstCall < 0) return;
    if (cost.lastCall >= o.firstCall) cost.ordered = false;
    if (cost.firstCall < 0) cost.firstCall = o.firstCall;
    cost.lastCall = o.lastCall;
  }

  bool BuildList(const std::vector<TPlanStep>& steps, TScope& scope) {
    for (const TPlanStep& step : steps) {
      // A shared command listed again computes what it already has; a call would run again.
      if (step.result == nullptr) continue;
      const auto again = scope.made.find(step.result);
      if (again != scope.made.end()) {
        if (again->second.asOperand.firstCall >= 0) return false;
        continue;
      }
      if (!BuildStep(step, scope)) return false;
    }
    return true;
  }

  bool BuildStep(const TPlanStep& step, TScope& scope) {
    TTypedNode node;
    TCost cost;
    int pairKind = -1;  // the pair this node computes, when both operands are leaves
    bool boolean = false;
    switch (step.op) {
      case TPlanStep::kAdd:
      case TPlanStep::kSubtract:
      case TPlanStep::kMultiply:
      case TPlanStep::kDivide: {
        if (step.count != 2) return false;
        const TOperand a = Operand(step.first, scope);
        const TOperand b = Operand(step.second, scope);
        if (refused_) return false;
        Take(cost, a);
        Take(cost, b);
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
        if (step.count != 2) return false;
        const bool small = !source_.Written(step.second) && !source_.Varying(step.second) &&
                           step.second->kind == vkReal &&
                           (step.second->real == 2 || step.second->real == 3);
        const TOperand a = small ? Operand(step.first, scope) : Single(step.first, scope);
        const TOperand b = Single(step.second, scope);
        if (refused_) return false;
        Take(cost, a);
        Take(cost, b);
        node.a[0] = a.slots[0];
        node.a[1] = a.slots[1];
        node.b[0] = b.slots[0];
        if (b.kind == kConstant && b.slots[0].constant == 2 && a.kind != kConstant) {
          node.run = UnaryRunner<TUnary::kExtendedSquare>(a.kind);
        } else if (b.kind == kConstant && b.slots[0].constant == 3 && a.kind != kConstant) {
          node.run = UnaryRunner<TUnary::kCube>(a.kind);
        } else {
          if (a.kind >= kFirstPair) return false;
          node.run = PowerRunner(a.kind, b.kind);
        }
        break;
      }
      case TPlanStep::kFunction:
      case TPlanStep::kSquareRoot:
      case TPlanStep::kAbsolute:
      case TPlanStep::kSquare: {
        if (step.count != 1) return false;
        const TOperand a = Operand(step.first, scope);
        if (refused_ || a.kind == kConstant) return false;
        Take(cost, a);
        node.a[0] = a.slots[0];
        node.a[1] = a.slots[1];
        node.function = step.function;
        switch (step.op) {
          case TPlanStep::kFunction:
            if (step.function == nullptr) return false;
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
        if (step.count < 1 || step.operands == nullptr) return false;
        std::vector<TOperand> operands;
        bool allLeaves = true;
        for (std::int32_t k = 0; k < step.count; ++k) {
          operands.push_back(Single(step.operands[k], scope));
          if (refused_) return false;
          Take(cost, operands.back());
          allLeaves = allLeaves && operands.back().kind != kNode;
        }
        const bool greatest = step.op == TPlanStep::kMax;
        node.count = step.count;
        const auto count = static_cast<std::size_t>(step.count);
        if (allLeaves) {
          plan_.leaves_.push_back(std::make_unique<const double*[]>(count));
          const double** leaves = plan_.leaves_.back().get();
          for (std::size_t k = 0; k < count; ++k) {
            const TOperand& o = operands[k];
            if (o.kind == kVariable) {
              leaves[k] = o.slots[0].variable;
            } else {
              plan_.constants_.push_back(o.slots[0].constant);
              leaves[k] = &plan_.constants_.back();
            }
          }
          node.leaves = leaves;
          node.run = greatest ? &RunExtremeOfLeaves<true> : &RunExtremeOfLeaves<false>;
        } else {
          const TTypedNode** children = Children(count);
          for (std::size_t k = 0; k < count; ++k)
            children[k] = LeafNode(operands[k]);
          node.children = children;
          node.run = greatest ? &RunExtreme<true> : &RunExtreme<false>;
        }
        break;
      }
      case TPlanStep::kEqual:
      case TPlanStep::kNotEqual:
      case TPlanStep::kLess:
      case TPlanStep::kGreater:
      case TPlanStep::kLessOrEqual:
      case TPlanStep::kGreaterOrEqual: {
        if (step.count != 2) return false;
        const TOperand a = Single(step.first, scope);
        const TOperand b = Single(step.second, scope);
        if (refused_ || (a.kind == kConstant && b.kind == kConstant)) return false;
        Take(cost, a);
        Take(cost, b);
        node.a[0] = a.slots[0];
        node.b[0] = b.slots[0];
        node.run = CompareRunner(step.op, a.kind, b.kind);
        boolean = true;
        break;
      }
      case TPlanStep::kNested:
        if (!BuildNested(step, scope, node, cost)) return false;
        break;
      default:
        return false;
    }
    if (!cost.ordered || ++cost.depth > kMaxDepth) return false;
    plan_.nodes_.push_back(node);
    ++madeCount_;
    TMade entry;
    entry.node = &plan_.nodes_.back();
    entry.boolean = boolean;
    entry.asOperand.depth = cost.depth;
    entry.asOperand.runs = cost.runs;
    entry.asOperand.firstCall = cost.firstCall;
    entry.asOperand.lastCall = cost.lastCall;
    if (pairKind >= 0) {
      // Read as a pair, its operands go into the node that takes its value.
      entry.asOperand.kind = pairKind;
      entry.asOperand.slots[0] = node.a[0];
      entry.asOperand.slots[1] = node.b[0];
      entry.asOperand.depth = 0;
      entry.asOperand.runs = 0;
    } else {
      entry.asOperand.kind = kNode;
      entry.asOperand.slots[0].node = entry.node;
    }
    scope.made[step.result] = entry;
    return true;
  }

  // An if whose condition is a comparison and whose branches give reals, or a call of a
  // function whose calls may be typed.
  bool BuildNested(const TPlanStep& step, TScope& scope, TTypedNode& node, TCost& cost) {
    TTypedSource::TNested nested;
    if (!source_.Nested(step.command, nested)) return false;
    if (!nested.isIf) {
      const TTypedCallee* callee = nested.callee;
      if (callee == nullptr || nested.count != callee->parameterCount ||
          nested.count > kMaxTypedParameters || nested.count < 0) {
        return false;
      }
      const auto count = static_cast<std::size_t>(nested.count);
      const TTypedNode** children = Children(count);
      for (std::size_t k = 0; k < count; ++k) {
        const TOperand o = Single(nested.operands[k], scope);
        if (refused_) return false;
        Take(cost, o);
        children[k] = LeafNode(o);
      }
      // The call completes after its arguments' calls.
      const std::int64_t position = calls_++;
      if (cost.firstCall < 0) cost.firstCall = position;
      cost.lastCall = position;
      node.children = children;
      node.count = nested.count;
      node.callee = callee;
      node.weight = 1 + scope.ifDepth;
      node.run = CallRunner(nested.count);
      if (std::find(callees_.begin(), callees_.end(), callee) == callees_.end())
        callees_.push_back(nested.callee);
      return true;
    }
    if (nested.count != 2 && nested.count != 3) return false;
    TScope condition;
    condition.parent = &scope;
    condition.ifDepth = scope.ifDepth + 1;
    if (!BuildList(nested.lists[0], condition)) return false;
    const TOperand test = Operand(nested.operands[0], condition, true);
    if (refused_ || test.kind != kNode) return false;
    Take(cost, test);
    node.a[0] = test.slots[0];
    int kinds[2] = {kNone, kNone};
    for (int branch = 0; branch < nested.count - 1; ++branch) {
      TScope taken;
      taken.parent = &condition;
      taken.ifDepth = condition.ifDepth;
      if (!BuildList(nested.lists[1 + branch], taken)) return false;
      const TOperand value = Single(nested.operands[1 + branch], taken);
      if (refused_ || !AllUsed(taken)) return false;
      // Only one branch runs: the cost is the dearer one's, and its calls follow the
      // condition's.
      TCost branchCost;
      branchCost.lastCall = cost.lastCall;
      Take(branchCost, value);
      if (!branchCost.ordered) return false;
      cost.depth = std::max(cost.depth, branchCost.depth);
      cost.runs = std::min(cost.runs + branchCost.runs, kRunsCap);
      if (value.firstCall >= 0) {
        if (cost.firstCall < 0) cost.firstCall = value.firstCall;
        cost.lastCall = std::max(cost.lastCall, value.lastCall);
      }
      kinds[branch] = value.kind;
      (branch == 0 ? node.b[0] : node.a[1]) = value.slots[0];
    }
    if (!AllUsed(condition)) return false;
    node.run = IfRunner(kinds[0], kinds[1]);
    return true;
  }

  TTypedPlan& plan_;
  const TTypedSource& source_;
  std::vector<const TEvalValue*> inputs_;
  std::vector<TTypedCallee*> callees_;
  std::size_t madeCount_ = 0;
  std::int64_t calls_ = 0;
  bool refused_ = false;
};

bool TTypedPlan::Build(const std::vector<TPlanStep>& steps, const std::vector<TEvalValue*>& roots,
                       const TTypedSource& source) {
  Clear();
  TTypedBuilder builder(*this, source);
  if (builder.Build(steps, roots)) return true;
  Clear();
  return false;
}

bool TTypedPlan::Link(const TTypedCallee* self, TTypedRunState* state) {
  entryNode_ = nullptr;
  link_.reset();
  if (roots_.empty()) return false;
  if (callees_.empty()) return true;
  // Every function the tree may reach, and what it reads and writes.
  std::vector<const TTypedCallee*> reached;
  std::vector<const TTypedCallee*> pending(callees_.begin(), callees_.end());
  auto link = std::make_unique<TTypedLink>();
  while (!pending.empty()) {
    const TTypedCallee* callee = pending.back();
    pending.pop_back();
    if (callee->root == nullptr || callee->plan == nullptr) return false;
    if (std::find(reached.begin(), reached.end(), callee) != reached.end()) continue;
    reached.push_back(callee);
    const auto* const parameters = callee->parameters;
    const auto* const parametersEnd = parameters + callee->parameterCount;
    for (const TEvalValue* const cell : callee->plan->Inputs()) {
      const bool bound = std::find(parameters, parametersEnd, cell) != parametersEnd;
      if (!bound && std::find(link->checks.begin(), link->checks.end(), cell) == link->checks.end())
        link->checks.push_back(cell);
    }
    if (std::find(link->results.begin(), link->results.end(), callee->bodyResult) ==
        link->results.end()) {
      link->results.push_back(callee->bodyResult);
    }
    for (const TTypedCallee* next : callee->plan->Callees())
      pending.push_back(next);
  }
  link->saved.resize(link->results.size());
  link->root = roots_[0].node;
  link->self = self;
  link->state = state;
  link_ = std::move(link);
  TTypedNode entry;
  entry.run = &RunEntry;
  entry.link = link_.get();
  nodes_.push_back(entry);
  entryNode_ = &nodes_.back();
  return true;
}

bool TTypedPlan::ComputeWithCalls(double* values) const {
  return InputsHoldReals() && RunWithCalls(*link_, [&] { return ComputeRoots(values); });
}

}  // namespace evaluator
