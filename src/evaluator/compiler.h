// The compiler: reads a normalised text with operator precedence and turns it into ListStr
// entries, folded constants and commands of the evaluator, sharing identical subexpressions.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "evaluator/complex_eval.h"
#include "evaluator/sharing_table.h"

namespace evaluator {

class TCompiler {
 public:
  explicit TCompiler(TTalvekComplexEval& eval) : eval_(eval) {}

  // Compiles the whole text (normalised, exponent literals already replaced by reference
  // tokens). Returns the entry that describes it, or -1 with the error fields set.
  std::int32_t Compile(std::string_view text);

  // The command numbers that compute an entry, in execution order.
  PComand CommandsOf(std::int32_t entry) const;
  // The text of an entry as the compiler's text form writes it ("(x+1)", "sin(x)", "-y").
  std::string EntryText(std::int32_t entry) const;
  // The entry text made readable for messages: references expanded, redundant and outer
  // parentheses removed.
  std::string DisplayText(std::int32_t entry) const;

 private:
  // One operand on the parse stack: a compiled entry, or a leaf not yet looked up (leaves are
  // resolved when their operator applies, right operand first).
  struct TOperand {
    std::int32_t entry = -1;
    std::string_view leaf;
  };
  enum class TPending : std::uint8_t { Binary, Negate, Plus, Group };
  // An operator waiting on the stack, or an open group.
  struct TPendingOp {
    TPending kind;
    char symbol = 0;                    // operator character of a binary operator
    std::string_view name;              // function name of a call group (empty: plain group)
    std::size_t start = 0;              // text position where the group or member began
    std::size_t operandBase = 0;        // operand stack size when the group opened
    std::vector<std::int32_t> members;  // finished members of a group
  };

  bool Read(std::string_view text, std::int32_t& root);
  bool Fail(TErrorCode code, std::string message);
  bool SyntaxError(std::size_t from, std::size_t to);
  // Keeps the failures that explain themselves; any other becomes a syntax error over the
  // offending text.
  bool FilterFailure(std::size_t from, std::size_t to);

  bool Reduce();  // applies the operator on top of the stack
  bool CloseMember(TPendingOp& group, std::size_t position, bool byComma);
  bool CloseGroup(std::size_t position);
  std::int32_t Resolve(const TOperand& operand);

  // The compiler's steps on entries.
  std::int32_t EvalString(std::string_view leaf);
  std::int32_t ApplyOperator(std::int32_t left, std::int32_t right, char symbol);
  std::int32_t Negate(std::int32_t operand);
  std::int32_t EvalExpres(std::int32_t left, std::int32_t right, char symbol);
  std::int32_t Define(std::int32_t left, std::int32_t right, std::int32_t entry);
  std::int32_t Call(std::string_view name, std::int32_t argument);
  std::int32_t ValFunct(std::uint16_t code, std::string_view name, std::int32_t argument);
  std::int32_t MakeList(const std::vector<std::int32_t>& members);

  std::int32_t NewEntry(TRecord1::TShape shape);
  // A one-cell array over a new cell holding a value known at parse time.
  TEvalValue** FoldedCells(const TEvalValue& value);
  std::int32_t ConstantEntry(const TEvalValue& value, std::string text);
  std::int32_t VariableEntry(std::int32_t variable, std::string_view text);
  std::int32_t EmitCommand(std::uint16_t code, TEvalValue** operands, std::int32_t count);
  std::int32_t Shared(const std::string& key) const;
  void Share(const std::string& key, std::int32_t entry);
  // The same for a composite entry made of `operands` (see TSharingTable).
  std::int32_t Shared(const std::string& key, std::span<const std::int32_t> operands);
  void Share(const std::string& key, std::int32_t entry, std::span<const std::int32_t> operands);
  // The division whose two operand entries make a rational exponent, or -1.
  std::int32_t RationalExponent(std::int32_t exponent) const;
  bool IsVolatileName(std::string_view name) const;
  std::string ValueText(std::int32_t entry) const;

  // Derivation mode (derivation.cpp): each finished entry gets its derivative text, built from
  // its operands' texts and derivative texts.
  void DeriveLeaf(std::int32_t entry);
  void DeriveOperator(std::int32_t entry);
  void DeriveCall(std::int32_t entry);
  void DeriveList(std::int32_t entry);
  std::string DeriveBuiltinCall(std::int32_t entry);
  std::string DerivePower(std::int32_t base, std::int32_t exponent);
  std::string DeriveQuotient(std::int32_t numerator, std::int32_t denominator);
  std::string DeriveByOccurrence(std::int32_t argument);
  // The entry's text with every operation in its own parentheses, built on demand and kept;
  // null when it would pass the derivation's size limits.
  const std::string* DerivationText(std::int32_t entry);
  // Books the characters a rule read and wrote; the empty text once the limits are passed.
  std::string Bounded(std::string derivative, std::size_t charactersRead);

  // Writes entry texts without recursion, since entries nest as deeply as the input does: one
  // stack holds the entries still to write and the literal pieces between them.
  class TTextWalk {
   public:
    explicit TTextWalk(std::int32_t root) : stack_{root} {}
    void Push(std::int32_t entry) { stack_.push_back(entry); }
    void Piece(std::string_view piece);
    // Pushes the parts of an operation, negation or argument list, to be written in order.
    void PushParts(const TRecord1& e, const PComand& members);
    // Appends the pieces due before the next entry to `text`; that entry, or -1 when done.
    std::int32_t Next(std::string& text);

   private:
    std::vector<std::int32_t> stack_;  // entries, or (negated, minus one) indexes of pieces
    std::vector<std::string_view> pieces_;
  };

  TRecord1& Entry(std::int32_t n) { return eval_.ListStr[static_cast<std::size_t>(n)]; }
  const TRecord1& Entry(std::int32_t n) const { return eval_.ListStr[static_cast<std::size_t>(n)]; }
  // The members of argument list `n`, and the derivative of entry `n` in derivation mode.
  const PComand& Arguments(std::int32_t n) const { return eval_.DetailOf(Entry(n)).arguments; }
  const std::string& Derivative(std::int32_t n) const {
    return eval_.DetailOf(Entry(n)).derivative;
  }
  void SetDerivative(std::int32_t n, std::string derivative) {
    eval_.DetailOf(Entry(n)).derivative = std::move(derivative);
  }

  TTalvekComplexEval& eval_;
  std::string_view text_;
  std::vector<TOperand> operands_;
  std::vector<TPendingOp> pending_;
  // Sharing: leaf texts, and structural keys of composite entries, to their entry.
  TSharingTable shared_;
  // Derivation mode: entry texts built so far (an empty one marks a text past the size limits;
  // a node-based map, so texts handed out stay in place), and the characters the rules have
  // handled in this parse.
  std::unordered_map<std::int32_t, std::string> derivationTexts_;
  std::size_t derivationWork_ = 0;
};

}  // namespace evaluator
