// Mathematica form of expression texts: read into a small tree with the language's precedence,
// then written out head by head.
#include "symbolic/mathematica_export.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "evaluator/catalogue.h"
#include "evaluator/complex_eval.h"
#include "evaluator/syntax.h"
#include "evaluator/text_utils.h"
#include "symbolic/text_builders.h"

namespace symbolic {

namespace {

// Both walks below keep their own stacks, as derivative texts nest as deeply as the input that
// produced them.

using evaluator::IsAsciiDigit;
using evaluator::IsBlank;
using evaluator::IsDelimiter;
using evaluator::IsOperatorCharacter;
using evaluator::OperatorPrecedence;

struct TNode {
  enum TKind : std::uint8_t { kNumber, kName, kCall, kMark, kBinary, kNegation, kList };
  TKind kind = kName;
  char symbol = 0;                       // operator of a binary node
  std::string_view text;                 // number, name, or the called name
  std::vector<std::int32_t> children{};  // operands, arguments or members in written order
};

using TTree = std::vector<TNode>;

// Reads a normalised text with the evaluator's precedence: "^" and the unary signs bind
// tightest and group from the right, then "*" "/", "+" "-", "=", "~", ",".
class TReader {
 public:
  explicit TReader(std::string_view text) : text_(text) {}

  bool Read(TTree& tree, std::int32_t& root) {
    tree_ = &tree;
    pending_.push_back(TPending{TPending::kGroup, 0, {}, 0, {}});
    bool expectOperand = true;
    std::size_t i = 0;
    const std::size_t n = text_.size();
    while (i < n) {
      const char c = text_[i];
      if (IsBlank(c)) {
        ++i;
        continue;
      }
      if (c == ',' || c == ')') {
        if (expectOperand) return false;
        while (pending_.back().kind != TPending::kGroup)
          Reduce();
        if (!CloseMember()) return false;
        ++i;
        if (c == ',') {
          expectOperand = true;
          continue;
        }
        if (pending_.size() == 1) return false;
        TPending group = std::move(pending_.back());
        pending_.pop_back();
        std::int32_t node = -1;
        if (group.name.empty()) {
          node = group.members.size() == 1 ? group.members[0]
                                           : Add(TNode{TNode::kList, 0, {}, group.members});
        } else {
          // Arguments are flattened as the evaluator flattens argument lists into cells.
          std::vector<std::int32_t> arguments;
          for (const std::int32_t member : group.members)
            AppendFlattened(member, arguments);
          const bool mark = i < n && text_[i] == '\'';
          if (mark) ++i;
          node = Add(TNode{mark ? TNode::kMark : TNode::kCall, 0, group.name, arguments});
        }
        operands_.push_back(node);
        expectOperand = false;
        continue;
      }
      if (expectOperand) {
        if (c == '(') {
          pending_.push_back(TPending{TPending::kGroup, 0, {}, operands_.size(), {}});
          ++i;
        } else if (c == '-') {
          pending_.push_back(TPending{TPending::kNegation, c, {}, 0, {}});
          ++i;
        } else if (c == '+') {
          ++i;  // a unary plus changes nothing
        } else if (IsOperatorCharacter(c)) {
          return false;
        } else {
          const std::size_t end = TokenEnd(i);
          const std::string_view token = text_.substr(i, end - i);
          if (end < n && text_[end] == '(') {
            pending_.push_back(TPending{TPending::kGroup, 0, token, operands_.size(), {}});
            i = end + 1;
          } else {
            const bool number = IsNumberText(token);
            operands_.push_back(Add(TNode{number ? TNode::kNumber : TNode::kName, 0, token, {}}));
            i = end;
            expectOperand = false;
          }
        }
        continue;
      }
      if (!IsOperatorCharacter(c)) return false;
      const int precedence = OperatorPrecedence(c);
      while (pending_.back().kind != TPending::kGroup) {
        const TPending& top = pending_.back();
        const int topPrecedence =
            top.kind == TPending::kBinary ? OperatorPrecedence(top.symbol) : 5;
        if (topPrecedence < precedence || (topPrecedence == precedence && c == '^')) break;
        Reduce();
      }
      pending_.push_back(TPending{TPending::kBinary, c, {}, 0, {}});
      expectOperand = true;
      ++i;
    }
    if (expectOperand) return false;
    while (pending_.back().kind != TPending::kGroup)
      Reduce();
    if (pending_.size() != 1 || !CloseMember()) return false;
    const std::vector<std::int32_t>& members = pending_.back().members;
    root = members.size() == 1 ? members[0] : Add(TNode{TNode::kList, 0, {}, members});
    return true;
  }

 private:
  struct TPending {
    enum TKind : std::uint8_t { kGroup, kBinary, kNegation };
    TKind kind;
    char symbol;
    std::string_view name;  // the called name of a call's group
    std::size_t operandBase;
    std::vector<std::int32_t> members;
  };

  std::int32_t Add(TNode node) {
    tree_->push_back(std::move(node));
    return static_cast<std::int32_t>(tree_->size() - 1);
  }

  // A run up to the next delimiter; an exponent literal such as 2.5e-3 runs on over its sign.
  std::size_t TokenEnd(std::size_t begin) const {
    std::size_t end = begin;
    while (end < text_.size() && !IsDelimiter(text_[end]) && !IsBlank(text_[end]))
      ++end;
    const std::string_view token = text_.substr(begin, end - begin);
    if (token.size() >= 2 && (token.back() == 'e' || token.back() == 'E') &&
        evaluator::IsPlainDecimal(token.substr(0, token.size() - 1)) && end + 1 < text_.size() &&
        (text_[end] == '+' || text_[end] == '-') && IsAsciiDigit(text_[end + 1])) {
      end += 1;
      while (end < text_.size() && IsAsciiDigit(text_[end]))
        ++end;
    }
    return end;
  }

  void Reduce() {
    const TPending op = pending_.back();
    pending_.pop_back();
    const std::int32_t right = operands_.back();
    operands_.pop_back();
    if (op.kind == TPending::kNegation) {
      operands_.push_back(Add(TNode{TNode::kNegation, '-', {}, {right}}));
      return;
    }
    const std::int32_t left = operands_.back();
    operands_.pop_back();
    operands_.push_back(Add(TNode{TNode::kBinary, op.symbol, {}, {left, right}}));
  }

  bool CloseMember() {
    TPending& group = pending_.back();
    if (operands_.size() != group.operandBase + 1) return false;
    group.members.push_back(operands_.back());
    operands_.pop_back();
    return true;
  }

  void AppendFlattened(std::int32_t node, std::vector<std::int32_t>& out) const {
    std::vector<std::int32_t> open{node};
    while (!open.empty()) {
      const std::int32_t next = open.back();
      open.pop_back();
      const TNode& n = (*tree_)[static_cast<std::size_t>(next)];
      if (n.kind == TNode::kList) {
        open.insert(open.end(), n.children.rbegin(), n.children.rend());
      } else {
        out.push_back(next);
      }
    }
  }

  std::string_view text_;
  TTree* tree_ = nullptr;
  std::vector<std::int32_t> operands_;
  std::vector<TPending> pending_;
};

// Where a node is written: the least precedence it may have without parentheses, whether a
// signed form (-x, 2.5*^-3) may stand there bare, and whether the node's text opens an
// expression, where a negation reads as a sign rather than as part of "--" or "+-".
struct TContext {
  int minimum;
  bool signedAllowed;
  bool atStart = false;
};
constexpr TContext kFree{0, true, true};

struct TPart {
  std::int32_t node;  // -1 for a literal piece
  TContext context;
  std::string literal;
};

std::string_view ConstantName(std::string_view name) {
  static constexpr std::pair<std::string_view, std::string_view> kConstants[] = {
      {"infinity", "Infinity"},
      {"pi", "Pi"},
      {"e", "E"},
      {"indeterminate", "Indeterminate"},
      {"true", "True"},
      {"false", "False"},
      {"degree", "Degree"},
      {"null", "Null"},
      {"nan", "Indeterminate"},
      {"zero", "(1.0*^-13)"},  // the evaluator's zero tolerance
  };
  for (const auto& [ours, theirs] : kConstants) {
    if (evaluator::EqualsIgnoreCase(name, ours)) return theirs;
  }
  return {};
}

// Heads of the built-ins that are written as Head[arguments].
struct THead {
  int code;
  std::string_view head;
};
constexpr THead kHeads[] = {{evaluator::kCodeExp, "Exp"},
                            {evaluator::kCodeCos, "Cos"},
                            {evaluator::kCodeSin, "Sin"},
                            {evaluator::kCodeTan, "Tan"},
                            {evaluator::kCodeCotan, "Cot"},
                            {evaluator::kCodeCot, "Cot"},
                            {evaluator::kCodeSqrt, "Sqrt"},
                            {evaluator::kCodeAbs, "Abs"},
                            {evaluator::kCodeLn, "Log"},
                            {evaluator::kCodeLog, "Log"},
                            {evaluator::kCodeLogn, "Log"},
                            {evaluator::kCodePowerFn, "Power"},
                            {evaluator::kCodeCeil, "Ceiling"},
                            {evaluator::kCodeCeiling, "Ceiling"},
                            {evaluator::kCodeInt, "IntegerPart"},
                            {evaluator::kCodeIntegerpart, "IntegerPart"},
                            {evaluator::kCodeFrac, "FractionalPart"},
                            {evaluator::kCodeFractionalpart, "FractionalPart"},
                            {evaluator::kCodeFloor, "Floor"},
                            {evaluator::kCodeArccos, "ArcCos"},
                            {evaluator::kCodeArccosh, "ArcCosh"},
                            {evaluator::kCodeCosh, "Cosh"},
                            {evaluator::kCodeArcsin, "ArcSin"},
                            {evaluator::kCodeArcsinh, "ArcSinh"},
                            {evaluator::kCodeSinh, "Sinh"},
                            {evaluator::kCodeArctan, "ArcTan"},
                            {evaluator::kCodeArctanh, "ArcTanh"},
                            {evaluator::kCodeTanh, "Tanh"},
                            {evaluator::kCodeSec, "Sec"},
                            {evaluator::kCodeSecant, "Sec"},
                            {evaluator::kCodeCsc, "Csc"},
                            {evaluator::kCodeCosecant, "Csc"},
                            {evaluator::kCodeSech, "Sech"},
                            {evaluator::kCodeCoth, "Coth"},
                            {evaluator::kCodeCsch, "Csch"},
                            {evaluator::kCodeArccot, "ArcCot"},
                            {evaluator::kCodeArccoth, "ArcCoth"},
                            {evaluator::kCodeArcsec, "ArcSec"},
                            {evaluator::kCodeArcsech, "ArcSech"},
                            {evaluator::kCodeArccsc, "ArcCsc"},
                            {evaluator::kCodeArccsch, "ArcCsch"},
                            {evaluator::kCodeMax, "Max"},
                            {evaluator::kCodeMin, "Min"},
                            {evaluator::kCodeSum, "Plus"},
                            {evaluator::kCodeEq, "Equal"},
                            {evaluator::kCodeUneq, "Unequal"},
                            {evaluator::kCodeLs, "Less"},
                            {evaluator::kCodeGr, "Greater"},
                            {evaluator::kCodeLseq, "LessEqual"},
                            {evaluator::kCodeGreq, "GreaterEqual"},
                            {evaluator::kCodeAnd, "And"},
                            {evaluator::kCodeOr, "Or"},
                            {evaluator::kCodeNot, "Not"},
                            {evaluator::kCodeXor, "Xor"},
                            {evaluator::kCodeIf, "If"},
                            {evaluator::kCodeBk, "CompoundExpression"},
                            {evaluator::kCodeWhile, "While"},
                            {evaluator::kCodeSign, "Sign"},
                            {evaluator::kCodeDirectedinfinity, "DirectedInfinity"},
                            {evaluator::kCodeMod, "Mod"},
                            {evaluator::kCodeQuotient, "Quotient"},
                            {evaluator::kCodeDiv, "Quotient"},
                            {evaluator::kCodeComplex, "Complex"},
                            {evaluator::kCodeRe, "Re"},
                            {evaluator::kCodeIm, "Im"},
                            {evaluator::kCodeConjugate, "Conjugate"},
                            {evaluator::kCodeArg, "Arg"},
                            {evaluator::kCodeReal2curr, "Real2Curr"},
                            {evaluator::kCodeCurr2real, "Curr2Real"},
                            {evaluator::kCodeIscurrency, "IsCurrency"}};

std::string_view PlainHead(int code) {
  for (const THead& entry : kHeads) {
    if (entry.code == code) return entry.head;
  }
  return {};
}

class TPrinter {
 public:
  TPrinter(const TTree& tree, std::string_view variable) : tree_(tree), variable_(variable) {}

  std::string Print(std::int32_t root) {
    std::string out;
    std::vector<TPart> stack{TPart{root, kFree, {}}};
    std::vector<TPart> parts;
    while (!stack.empty()) {
      TPart part = std::move(stack.back());
      stack.pop_back();
      if (part.node < 0) {
        out += part.literal;
        continue;
      }
      const bool leadingSign = Node(part.node).kind == TNode::kNegation && part.context.atStart;
      const bool enclose = PrecedenceOf(part.node) < part.context.minimum ||
                           (IsSigned(part.node) && !part.context.signedAllowed && !leadingSign);
      parts.clear();
      Expand(part.node, enclose || part.context.atStart, parts);
      if (enclose) stack.push_back(Literal(")"));
      for (auto it = parts.rbegin(); it != parts.rend(); ++it)
        stack.push_back(std::move(*it));
      if (enclose) stack.push_back(Literal("("));
    }
    return out;
  }

 private:
  static TPart Literal(std::string text) { return TPart{-1, kFree, std::move(text)}; }
  static TPart Operand(std::int32_t node, TContext context) { return TPart{node, context, {}}; }

  const TNode& Node(std::int32_t n) const { return tree_[static_cast<std::size_t>(n)]; }

  static bool HasExponent(std::string_view number) {
    return number.find_first_of("eE") != std::string_view::npos;
  }

  int BuiltinCode(const TNode& call) const {
    const int index = evaluator::FindBuiltin(call.text);
    return index < 0 ? 0 : evaluator::kFirstBuiltinCode + index;
  }

  int PrecedenceOf(std::int32_t n) const {
    const TNode& node = Node(n);
    switch (node.kind) {
      case TNode::kBinary:
        return OperatorPrecedence(node.symbol);
      case TNode::kNegation:
        return 6;
      case TNode::kCall: {
        // (Pi/180)*x and x/Degree are products, not single operands.
        const int code = BuiltinCode(node);
        const bool product = code == evaluator::kCodeDegtorad || code == evaluator::kCodeRadtodeg;
        return product && node.children.size() == 1 ? 4 : 10;
      }
      default:
        return 10;
    }
  }

  bool IsSigned(std::int32_t n) const {
    const TNode& node = Node(n);
    return node.kind == TNode::kNegation || (node.kind == TNode::kNumber && HasExponent(node.text));
  }

  void Arguments(const TNode& node, std::vector<TPart>& parts, std::string_view suffix = {}) {
    for (std::size_t k = 0; k < node.children.size(); ++k) {
      if (k > 0) parts.push_back(Literal(","));
      parts.push_back(Operand(node.children[k], kFree));
      if (!suffix.empty()) parts.push_back(Literal(std::string(suffix)));
    }
  }

  void Expand(std::int32_t n, bool atStart, std::vector<TPart>& parts) {
    const TNode& node = Node(n);
    switch (node.kind) {
      case TNode::kNumber:
        parts.push_back(Literal(NumberText(node.text)));
        return;
      case TNode::kName: {
        const std::string_view constant = ConstantName(node.text);
        parts.push_back(Literal(std::string(constant.empty() ? node.text : constant)));
        return;
      }
      case TNode::kNegation:
        parts.push_back(Literal("-"));
        parts.push_back(Operand(node.children[0], TContext{5, false}));
        return;
      case TNode::kList:
        parts.push_back(Literal("{"));
        Arguments(node, parts);
        parts.push_back(Literal("}"));
        return;
      case TNode::kMark:
        parts.push_back(Literal("D[" + std::string(node.text) + "["));
        Arguments(node, parts);
        parts.push_back(Literal("]," + std::string(variable_) + "]"));
        return;
      case TNode::kBinary:
        ExpandBinary(node, atStart, parts);
        return;
      case TNode::kCall:
        ExpandCall(node, parts);
        return;
    }
  }

  void ExpandBinary(const TNode& node, bool atStart, std::vector<TPart>& parts) {
    const std::int32_t left = node.children[0];
    const std::int32_t right = node.children[1];
    if (node.symbol == '~') {
      // f(x,y)~body: the parameters become patterns.
      const TNode& head = Node(left);
      if (head.kind == TNode::kCall) {
        parts.push_back(Literal(std::string(head.text) + "["));
        Arguments(head, parts, "_");
        parts.push_back(Literal("]:="));
      } else {
        parts.push_back(Operand(left, TContext{1, false}));
        parts.push_back(Literal(":="));
      }
      parts.push_back(Operand(right, TContext{2, false}));
      return;
    }
    const int precedence = OperatorPrecedence(node.symbol);
    // "^" groups from the right, the others from the left; only a power's base may not be a
    // leading negation.
    const TContext leftContext{node.symbol == '^' ? 6 : precedence, false,
                               atStart && node.symbol != '^'};
    const TContext rightContext{node.symbol == '^' ? 5 : precedence + 1, false};
    parts.push_back(Operand(left, leftContext));
    parts.push_back(Literal(std::string(1, node.symbol)));
    parts.push_back(Operand(right, rightContext));
  }

  void ExpandCall(const TNode& node, std::vector<TPart>& parts) {
    using namespace evaluator;
    const int code = BuiltinCode(node);
    const std::size_t count = node.children.size();
    auto argument = [&](std::size_t k, TContext context = kFree) {
      parts.push_back(Operand(node.children[k], context));
    };
    auto literal = [&](std::string text) { parts.push_back(Literal(std::move(text))); };
    bool done = true;
    switch (count == 1 ? code : -code) {
      case kCodeLnxp1:
        literal("Log[1+");
        argument(0, TContext{4, false});
        literal("]");
        break;
      case kCodeLog10:
      case kCodeLog2:
        literal(code == kCodeLog10 ? "Log[10," : "Log[2,");
        argument(0);
        literal("]");
        break;
      case kCodeSqr:
        literal("Power[");
        argument(0);
        literal(",2]");
        break;
      case kCodeDegtorad:
        literal("(Pi/180)*");
        argument(0, TContext{5, false});
        break;
      case kCodeRadtodeg:
        argument(0, TContext{4, false});
        literal("/Degree");
        break;
      case kCodeIsnan:
        literal("SameQ[Indeterminate,");
        argument(0);
        literal("]");
        break;
      case kCodeRandom:
        if (PositiveRange(node.children[0])) {
          literal("Random[Integer,{0,");
          argument(0, TContext{3, false});
          literal("-1}]");
        } else {
          literal("Random[]");
        }
        break;
      case kCodeIscomplex:
        literal("SameQ[Complex,Head[");
        argument(0);
        literal("]]");
        break;
      case kCodeIsreal:
        literal("Or[SameQ[Real,Head[");
        argument(0);
        literal("]],SameQ[Integer,Head[");
        argument(0);
        literal("]],SameQ[Rational,Head[");
        argument(0);
        literal("]]]");
        break;
      case kCodeIsboolean:
        literal("Or[SameQ[True,");
        argument(0);
        literal("],SameQ[False,");
        argument(0);
        literal("]]");
        break;
      case kCodeIsnull:
        literal("SameQ[Null,");
        argument(0);
        literal("]");
        break;
      case -kCodeArctan2:
        if (count != 2) {
          done = false;
          break;
        }
        literal("ArcTan[");
        argument(1);
        literal(",");
        argument(0);
        literal("]");
        break;
      case -kCodeComplexfrompolar:
        if (count != 2) {
          done = false;
          break;
        }
        literal("Times[");
        argument(0);
        literal(",Exp[Complex[0,1]*");
        argument(1, TContext{5, false});
        literal("]]");
        break;
      case kCodeMean:
      case -kCodeMean:
        literal("(1/" + std::to_string(count) + "*Plus[");
        Arguments(node, parts);
        literal("])");
        break;
      default:
        done = false;
        break;
    }
    if (done) return;
    // Everything else: a head and the argument list. Application and runtime functions keep
    // their names; a built-in without a head of its own keeps its name capitalised.
    std::string head(PlainHead(code));
    if (head.empty()) {
      head = std::string(node.text);
      if (code != 0) head[0] = evaluator::AsciiUpper(head[0]);
    }
    literal(head + "[");
    Arguments(node, parts);
    literal("]");
  }

  // A literal random range whose integer part is at least 1.
  bool PositiveRange(std::int32_t n) const {
    const TNode& node = Node(n);
    double value = 0;
    return node.kind == TNode::kNumber && IsNumberText(node.text) &&
           evaluator::ReadNumber(node.text, value) && std::trunc(value) >= 1;
  }

  // 2.5e-3 becomes 2.5*^-3; an exponent-less "2e" is just 2.
  static std::string NumberText(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    if (e == std::string_view::npos) return std::string(number);
    std::string_view exponent = number.substr(e + 1);
    if (!exponent.empty() && exponent[0] == '+') exponent.remove_prefix(1);
    std::string text(number.substr(0, e));
    if (!exponent.empty()) {
      text += "*^";
      text += exponent;
    }
    return text;
  }

  const TTree& tree_;
  std::string_view variable_;
};

}  // namespace

std::string ToMathematica(std::string_view text, std::string_view derivativeVariable) {
  TTree tree;
  std::int32_t root = -1;
  TReader reader(text);
  if (text.empty() || !reader.Read(tree, root)) return std::string(text);
  return TPrinter(tree, derivativeVariable).Print(root);
}

}  // namespace symbolic

namespace evaluator {

std::string TTalvekComplexEval::ToMathematica(std::string_view text) const {
  return symbolic::ToMathematica(text, DerivativeVariable);
}

bool TTalvekComplexEval::GetMathematicaExpression(std::string& text) {
  text.clear();
  if (ResultCount == 0 || MathExpressionString.empty()) return false;
  if (!OriginalMathExpressionString) {
    text = ToMathematica(MathExpressionString);
    return true;
  }
  // The kept text is the caller's own: bring it to the normalised form first. It was accepted
  // by the parse, so this cannot fail; the counters the parse uses are left as they were.
  std::string normalised = MathExpressionString;
  const std::int32_t capacity = CommandCapacity;
  const bool errorFlag = ErrorFlag;
  const std::int32_t errorCode = ErrorCode;
  const std::string errorMessage = ErrorMessage;
  const bool normalisedOk = StergeSpatii(normalised);
  CommandCapacity = capacity;
  ErrorFlag = errorFlag;
  ErrorCode = errorCode;
  ErrorMessage = errorMessage;
  if (!normalisedOk) normalised = MathExpressionString;
  text = ToMathematica(ToLowerAscii(normalised));
  return true;
}

}  // namespace evaluator
