// The compiler: an operator-precedence reader over the normalised text that builds entries as
// it goes, folding what is known at parse time and emitting commands for the rest. It keeps
// explicit stacks, so nesting depth never grows the native stack.
#include "evaluator/compiler.h"

#include <algorithm>
#include <exception>

#include "evaluator/functions.h"
#include "evaluator/syntax.h"

namespace evaluator {

namespace {

constexpr std::int32_t kNoEntry = -1;

std::uint16_t OperatorCode(char symbol) {
  switch (symbol) {
    case '*':
      return kCodeMultiply;
    case '/':
      return kCodeDivide;
    case '+':
      return kCodeAdd;
    case '-':
      return kCodeSubtract;
    case '^':
      return kCodePower;
    case '=':
      return kCodeAssign;
    default:
      return kCodeDefine;
  }
}

bool IsIdentifierText(std::string_view name) {
  if (name.empty() || !(IsAsciiLetter(name[0]) || name[0] == '_')) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; });
}

std::string KeyOf(char kind, std::int32_t a, std::int32_t b = kNoEntry) {
  std::string key(1, kind);
  key += std::to_string(a);
  key += ',';
  key += std::to_string(b);
  return key;
}

}  // namespace

// ---- Reading the text -------------------------------------------------------------------------

std::int32_t TCompiler::Compile(std::string_view text) {
  // Each operator, group and comma yields about two entries, one command and one open record
  // on the reader's stack. Reserving them up front keeps long texts from moving their tables
  // as they grow; pages of the reserve that are never written cost nothing.
  const auto groups = static_cast<std::size_t>(std::count(text.begin(), text.end(), '(') +
                                               std::count(text.begin(), text.end(), ','));
  const std::size_t steps = static_cast<std::size_t>(std::max(eval_.CommandCapacity, 0)) + groups;
  eval_.ListaProc.reserve(eval_.ListaProc.size() + steps);
  eval_.ListStr.reserve(eval_.ListStr.size() + 2 * steps + 8);
  // Calls and lists have details, at most two a group; in derivation mode every entry has one.
  const std::size_t details = eval_.DerivationMode ? 2 * steps + 8 : 2 * groups + 8;
  eval_.ListStrDetails.reserve(eval_.ListStrDetails.size() + details);
  shared_.Reserve(2 * steps + 8);
  pending_.reserve(steps + 1);
  std::int32_t root = kNoEntry;
  return Read(text, root) ? root : kNoEntry;
}

bool TCompiler::Read(std::string_view text, std::int32_t& root) {
  text_ = text;
  operands_.clear();
  pending_.clear();
  pending_.push_back(TPendingOp{TPending::Group, 0, {}, 0, 0, {}});
  bool expectOperand = true;
  std::size_t i = 0;
  const std::size_t n = text.size();

  while (i < n) {
    const char c = text[i];
    if (c == ',' || c == ')') {
      if (expectOperand && pending_.back().kind != TPending::Group) return SyntaxError(i, i);
      while (pending_.back().kind != TPending::Group) {
        if (!Reduce()) return FilterFailure(i, i);
      }
      if (c == ',') {
        if (!CloseMember(pending_.back(), i, true)) return false;
        pending_.back().start = i + 1;
        expectOperand = true;
      } else {
        if (pending_.size() == 1)
          return SyntaxError(i, i);  // unbalanced; the check should catch it
        if (!CloseGroup(i)) return false;
        expectOperand = false;
      }
      ++i;
      continue;
    }
    if (expectOperand) {
      if (c == '(') {
        pending_.push_back(TPendingOp{TPending::Group, 0, {}, i + 1, operands_.size(), {}});
        ++i;
      } else if (c == '+' || c == '-') {
        pending_.push_back(
            TPendingOp{c == '-' ? TPending::Negate : TPending::Plus, c, {}, i, 0, {}});
        ++i;
      } else if (IsOperatorCharacter(c)) {
        return SyntaxError(i, i);  // a binary operator without its left operand
      } else if (c == '{') {
        const std::size_t close = text.find('}', i);
        if (close == std::string_view::npos) return SyntaxError(i, i);
        std::int32_t entry = 0;
        for (std::size_t k = i + 1; k < close; ++k)
          entry = entry * 10 + (text[k] - '0');
        operands_.push_back(TOperand{entry, {}});
        i = close + 1;
        expectOperand = false;
      } else {
        std::size_t end = i;
        while (end < n && !IsDelimiter(text[end]))
          ++end;
        const std::string_view token = text.substr(i, end - i);
        if (end < n && text[end] == '(') {
          ++eval_.CommandCapacity;
          pending_.push_back(TPendingOp{TPending::Group, 0, token, end + 1, operands_.size(), {}});
          i = end + 1;
        } else {
          operands_.push_back(TOperand{kNoEntry, token});
          i = end;
          expectOperand = false;
        }
      }
      continue;
    }
    if (!IsOperatorCharacter(c)) return SyntaxError(i, i);  // two operands side by side
    const int precedence = OperatorPrecedence(c);
    while (true) {
      const TPendingOp& top = pending_.back();
      if (top.kind == TPending::Group) break;
      const int topPrecedence = top.kind == TPending::Binary ? OperatorPrecedence(top.symbol) : 5;
      // "^" groups from the right; everything else from the left.
      if (topPrecedence < precedence || (topPrecedence == precedence && c == '^')) break;
      if (!Reduce()) return FilterFailure(i, i);
    }
    pending_.push_back(TPendingOp{TPending::Binary, c, {}, i, 0, {}});
    expectOperand = true;
    ++i;
  }

  if (expectOperand && pending_.back().kind != TPending::Group) return SyntaxError(n, n);
  while (pending_.back().kind != TPending::Group) {
    if (!Reduce()) return FilterFailure(n, n);
  }
  if (pending_.size() != 1) return SyntaxError(n, n);
  if (!CloseGroup(n)) return false;
  root = operands_.back().entry;
  return true;
}

bool TCompiler::Reduce() {
  const TPendingOp op = pending_.back();
  pending_.pop_back();
  if (op.kind == TPending::Binary) {
    const TOperand rightOperand = operands_.back();
    operands_.pop_back();
    const TOperand leftOperand = operands_.back();
    operands_.pop_back();
    // The right operand is looked up first, as automatic variables are numbered in that order.
    const std::int32_t right = Resolve(rightOperand);
    if (right < 0) return false;
    const std::int32_t left = Resolve(leftOperand);
    if (left < 0) return false;
    const std::int32_t entry = ApplyOperator(left, right, op.symbol);
    if (entry < 0) return false;
    operands_.push_back(TOperand{entry, {}});
    return true;
  }
  const std::int32_t operand = Resolve(operands_.back());
  operands_.pop_back();
  if (operand < 0) return false;
  const std::int32_t entry = op.kind == TPending::Negate ? Negate(operand) : operand;
  if (entry < 0) return false;
  operands_.push_back(TOperand{entry, {}});
  return true;
}

bool TCompiler::CloseMember(TPendingOp& group, std::size_t position, bool byComma) {
  if (operands_.size() == group.operandBase) {
    // An empty member between two commas is the comma pass's error; any other is a syntax
    // error of the group.
    const bool afterComma = group.start > 0 && text_[group.start - 1] == ',';
    if (byComma && afterComma) {
      return Fail(ecParseForwardSyntax,
                  std::string(msg::kParseForwardSyntax) +
                      TTalvekComplexEval::StripRedundantParentheses(
                          text_.substr(group.start - 1, position + 1 - (group.start - 1))));
    }
    return SyntaxError(position, position);
  }
  const std::int32_t member = Resolve(operands_.back());
  operands_.pop_back();
  if (member < 0) return FilterFailure(position, position);
  group.members.push_back(member);
  return true;
}

bool TCompiler::CloseGroup(std::size_t position) {
  if (!CloseMember(pending_.back(), position, false)) return false;
  TPendingOp group = std::move(pending_.back());
  pending_.pop_back();
  std::int32_t entry = group.members.size() == 1 ? group.members[0] : MakeList(group.members);
  if (entry >= 0 && !group.name.empty()) entry = Call(group.name, entry);
  if (entry < 0) return FilterFailure(position, position);
  operands_.push_back(TOperand{entry, {}});
  return true;
}

std::int32_t TCompiler::Resolve(const TOperand& operand) {
  if (operand.entry >= 0) return operand.entry;
  const std::int32_t entry = EvalString(operand.leaf);
  if (entry >= 0 || eval_.ErrorFlag) return entry;
  if (IsIdentifierText(operand.leaf)) {
    Fail(ecUnknownVariable, std::string(msg::kUnknownVariable) + std::string(operand.leaf));
  } else {
    eval_.IsValidIdentName(std::string(operand.leaf));
    eval_.ErrorFlag = true;
  }
  return kNoEntry;
}

// ---- Failures ---------------------------------------------------------------------------------

bool TCompiler::Fail(TErrorCode code, std::string message) {
  eval_.ErrorFlag = true;
  eval_.ErrorCode = code;
  eval_.ErrorMessage = std::move(message);
  return false;
}

bool TCompiler::SyntaxError(std::size_t from, std::size_t to) {
  eval_.ErrorFlag = true;
  eval_.ErrorCode = ecNone;
  eval_.ErrorMessage.clear();
  return FilterFailure(from, to);
}

bool TCompiler::FilterFailure(std::size_t from, std::size_t to) {
  const std::int32_t code = eval_.ErrorCode;
  const std::string& message = eval_.ErrorMessage;
  bool stands = code > 0 || (code <= ecArgumentSyntax + 5 && code >= ecArgumentSyntax) ||
                (code <= ecMultiply && code >= ecUnknownVariable) ||
                code == ecProtectedExpression || code == ecReservedName ||
                code == ecIdentifierTooLong || code == ecParseForwardSyntax ||
                message.rfind(msg::kEvalExpres, 0) == 0;
  if (code == ecNotIdentifier) {
    const std::string_view name = std::string_view(message).substr(msg::kNotIdentifier.size());
    stands = name.find_first_of("(*+,-/=^~") == std::string_view::npos;
  }
  if (stands) return false;
  // The offending text: the member of the innermost group around the failure.
  std::size_t begin = std::min(from, text_.size());
  for (int depth = 0; begin > 0; --begin) {
    const char c = text_[begin - 1];
    if (c == ')') ++depth;
    if (c == '(' && depth-- == 0) break;
    if (c == ',' && depth == 0) break;
  }
  std::size_t end = std::min(to, text_.size());
  for (int depth = 0; end < text_.size(); ++end) {
    const char c = text_[end];
    if (c == '(') ++depth;
    if (c == ')' && depth-- == 0) break;
    if (c == ',' && depth == 0) break;
  }
  const std::string offending =
      TTalvekComplexEval::StripOuterParentheses(TTalvekComplexEval::StripRedundantParentheses(
          eval_.ExpandReferences(std::string(text_.substr(begin, end - begin)))));
  return Fail(ecCompileSyntax, std::string(msg::kCompileSyntax) + offending);
}

// ---- Entries ------------------------------------------------------------------------------------

std::int32_t TCompiler::NewEntry(TRecord1::TShape shape) {
  eval_.ListStr.emplace_back().shape = shape;
  return static_cast<std::int32_t>(eval_.ListStr.size() - 1);
}

TEvalValue** TCompiler::FoldedCells(const TEvalValue& value) {
  TEvalValue** cells = eval_.NewCellArray(1);
  cells[0] = eval_.NewCell();
  *cells[0] = value;
  return cells;
}

std::int32_t TCompiler::ConstantEntry(const TEvalValue& value, std::string text) {
  const std::int32_t entry = NewEntry(TRecord1::shLeaf);
  TRecord1& e = Entry(entry);
  e.text = std::move(text);
  e.cells = FoldedCells(value);
  e.cellCount = 1;
  e.isProtected = true;
  e.fixed = true;
  return entry;
}

std::int32_t TCompiler::VariableEntry(std::int32_t variable, std::string_view text) {
  const TRecord3& v = eval_.VarVect[static_cast<std::size_t>(variable - 1)];
  const std::int32_t entry = NewEntry(TRecord1::shLeaf);
  TRecord1& e = Entry(entry);
  e.text = std::string(text);
  e.cells = eval_.NewCellArray(1);
  e.cells[0] = v.value;
  e.cellCount = 1;
  e.dependent = true;
  e.isProtected = v.fixed;
  e.fixed = v.fixed;
  return entry;
}

std::int32_t TCompiler::EmitCommand(std::uint16_t code, TEvalValue** operands, std::int32_t count) {
  TEvalValue** result = eval_.NewCellArray(1);
  result[0] = eval_.NewCell();
  eval_.ListaProc.push_back(TProcRec{operands, result, count, code});
  return ++eval_.CommandCount;
}

std::int32_t TCompiler::Shared(const std::string& key) const {
  return shared_.Find(key);
}

void TCompiler::Share(const std::string& key, std::int32_t entry) {
  shared_.Insert(key, entry);
}

std::int32_t TCompiler::Shared(const std::string& key, std::span<const std::int32_t> operands) {
  return shared_.FindComposite(key, operands);
}

void TCompiler::Share(const std::string& key, std::int32_t entry,
                      std::span<const std::int32_t> operands) {
  shared_.InsertComposite(key, entry, operands);
}

bool TCompiler::IsVolatileName(std::string_view name) const {
  if (EqualsIgnoreCase(name, "random")) return true;
  const std::uint16_t code = eval_.FindFunctionCode(name);
  const std::int32_t user = code - kFirstUserFunctionCode;
  return user >= 0 && user < eval_.GetUserFunctionCount() &&
         eval_.UserFunctions[static_cast<std::size_t>(user)].parameterCount < 0;
}

std::int32_t TCompiler::RationalExponent(std::int32_t exponent) const {
  const TRecord1& e = Entry(exponent);
  return e.shape == TRecord1::shOperator && e.code == kCodeDivide ? exponent : kNoEntry;
}

std::string TCompiler::ValueText(std::int32_t entry) const {
  return ValueToText(*Entry(entry).cells[0]);
}

std::int32_t TCompiler::EvalString(std::string_view leaf) {
  const bool isVolatile = IsVolatileName(leaf);
  const std::string key = "L" + ToLowerAscii(leaf);
  if (!isVolatile) {
    const std::int32_t found = Shared(key);
    if (found >= 0) return found;
  }
  std::int32_t entry = kNoEntry;
  if (IsNumber(leaf)) {
    TEvalValue value;
    double real = 0;
    std::int64_t scaled = 0;
    if (eval_.CurrencyMode && DecimalTextToCurrency(leaf, scaled)) {
      value = TEvalValue::CurrencyScaled(scaled);
    } else if (!eval_.CurrencyMode && ReadNumber(leaf, real)) {
      value = TEvalValue::Real(real);
    } else {
      Fail(ecNone, "EvalString-> : '" + std::string(leaf) + "' is not a valid " +
                       (eval_.CurrencyMode ? "currency" : "floating point") + " value");
      return kNoEntry;
    }
    entry = ConstantEntry(value, std::string(leaf));
  } else if (const std::int32_t variable = eval_.FindVariable(leaf); variable > 0) {
    entry = VariableEntry(variable, leaf);
  } else if (const std::uint16_t code = eval_.FindFunctionCode(leaf); code != 0) {
    entry = ValFunct(code, leaf, kNoEntry);
    if (entry < 0) return kNoEntry;
    Entry(entry).shape = TRecord1::shLeaf;
    Entry(entry).text = std::string(leaf);
  } else if (eval_.VariableMode == 1 && leaf.find('(') == std::string_view::npos) {
    eval_.PuneNumeVar(eval_.VariableCount + 1, std::string(leaf));
    if (eval_.ErrorFlag) return kNoEntry;
    entry = VariableEntry(eval_.VariableCount, leaf);
  } else {
    return kNoEntry;
  }
  if (eval_.DerivationMode) DeriveLeaf(entry);
  if (!isVolatile) Share(key, entry);
  return entry;
}

std::int32_t TCompiler::ApplyOperator(std::int32_t left, std::int32_t right, char symbol) {
  const bool isVolatile = Entry(left).isVolatile || Entry(right).isVolatile;
  const std::string key = KeyOf(symbol, left, right);
  const std::int32_t operands[] = {left, right};
  if (!isVolatile) {
    const std::int32_t found = Shared(key, operands);
    if (found >= 0) return found;
  }
  const std::int32_t entry = EvalExpres(left, right, symbol);
  if (entry < 0) return kNoEntry;
  if (eval_.DerivationMode) DeriveOperator(entry);
  Entry(entry).isVolatile = isVolatile;
  if (!isVolatile) Share(key, entry, operands);
  return entry;
}

std::int32_t TCompiler::Negate(std::int32_t operand) {
  // Two signs cancel: the operand of the inner negation is the result.
  if (Entry(operand).shape == TRecord1::shNegation) return Entry(operand).right;
  const std::int32_t minusOne = EvalString("-1");
  const std::int32_t entry = ApplyOperator(minusOne, operand, '*');
  if (entry < 0) return kNoEntry;
  // Keep a shared "-1*x" typed as such in its own form.
  if (Entry(entry).left == minusOne && Entry(entry).right == operand &&
      Entry(entry).shape == TRecord1::shOperator) {
    Entry(entry).shape = TRecord1::shNegation;
  }
  return entry;
}

std::int32_t TCompiler::EvalExpres(std::int32_t left, std::int32_t right, char symbol) {
  const std::uint16_t code = OperatorCode(symbol);
  if (symbol == '=' && Entry(left).isProtected) {
    Fail(ecProtectedExpression, std::string(msg::kEvalExpres) +
                                    std::string(msg::kProtectedExpression) +
                                    "=: " + DisplayText(left));
    return kNoEntry;
  }
  const std::int32_t entry = NewEntry(TRecord1::shOperator);
  {
    TRecord1& e = Entry(entry);
    e.code = code;
    e.left = left;
    e.right = right;
    e.cellCount = 1;
    e.isProtected = true;
    e.fixed = Entry(left).fixed && Entry(right).fixed;
  }
  if (symbol == '~') return Define(left, right, entry);

  const std::int32_t rational = code == kCodePower ? RationalExponent(right) : kNoEntry;
  TEvalValue** operands = eval_.NewCellArray(rational >= 0 ? 3 : 2);
  operands[0] = Entry(left).cells[0];
  if (rational >= 0) {
    operands[1] = Entry(Entry(rational).left).cells[0];
    operands[2] = Entry(Entry(rational).right).cells[0];
  } else {
    operands[1] = Entry(right).cells[0];
  }
  const std::int32_t count = rational >= 0 ? 3 : 2;

  if (symbol != '=' && !Entry(left).dependent && !Entry(right).dependent) {
    TEvalValue value;
    try {
      value = ApplyFunction(code, operands, count);
    } catch (const EMathError& e) {
      eval_.MathErrorKind = e.kind();
      Fail(OperatorErrorCode(code), std::string(msg::kMathExceptionFolding) +
                                        EMathError::MathExceptionText(e.kind()) + " : " +
                                        ValueText(left) + " " + symbol + " " + ValueText(right));
      return kNoEntry;
    } catch (const std::exception& e) {
      eval_.MathErrorKind = mekNotMathematical;
      Fail(ecNone, std::string(msg::kExceptionErrorOn) + ValueText(left) + " " + symbol + " " +
                       ValueText(right) + " : " + e.what());
      return kNoEntry;
    }
    Entry(entry).cells = FoldedCells(value);
    return entry;
  }

  const std::int32_t command = EmitCommand(code, operands, count);
  TRecord1& e = Entry(entry);
  e.cells = eval_.Command(command).result;
  e.command = command;
  e.dependent = true;
  const bool leftDependent = Entry(left).dependent;
  const bool rightDependent = Entry(right).dependent;
  if ((code == kCodeMultiply && leftDependent && rightDependent) ||
      (code == kCodeDivide && rightDependent) || code == kCodePower || code == kCodeAssign) {
    eval_.LinearExpression = false;
  }
  return entry;
}

std::int32_t TCompiler::Define(std::int32_t left, std::int32_t right, std::int32_t entry) {
  const std::string leftText = DisplayText(left);
  const std::string prefix = std::string(msg::kEvalExpres);
  const TRecord1& call = Entry(left);
  if (call.shape != TRecord1::shCall || call.left < 0) {
    Fail(ecInvalidFunctionName,
         prefix + std::string(msg::kInvalidFunctionName) + "~ : " + leftText);
    return kNoEntry;
  }
  const std::int32_t runtime = call.code - kFirstUserFunctionCode - eval_.GetUserFunctionCount();
  if (call.code <= kLastBuiltinCode || runtime < 0) {
    Fail(ecProtectedExpression, prefix + std::string(msg::kProtectedExpression) + "~: " + leftText);
    return kNoEntry;
  }
  if (runtime >= eval_.GetRunTimeFunctionCount()) {
    Fail(ecSyntax, prefix + std::string(msg::kProgrammingError) + "~ : " + leftText);
    return kNoEntry;
  }
  FuncRecord& function = eval_.FuncArray[static_cast<std::size_t>(runtime)];
  if (function.parameterCells != nullptr) {
    Fail(ecFunctionDefined, prefix + std::string(msg::kFunctionDefined) + "~ : " + leftText);
    return kNoEntry;
  }
  if (Entry(call.left).cellCount != function.parameterCount) {
    Fail(ecArgumentCount, prefix + std::string(msg::kArgumentCount) + leftText);
    return kNoEntry;
  }
  std::vector<std::int32_t> parameters;
  for (const std::int32_t argument : eval_.DetailOf(call).arguments) {
    const std::string argumentText = DisplayText(argument);
    const std::int32_t variable = eval_.FindVariable(argumentText);
    if (Entry(argument).shape != TRecord1::shLeaf || variable == 0) {
      Fail(ecArgumentName,
           prefix + std::string(msg::kArgumentName) + leftText + " : " + argumentText);
      return kNoEntry;
    }
    if (std::find(parameters.begin(), parameters.end(), variable) != parameters.end()) {
      Fail(ecArgumentSyntax,
           prefix + std::string(msg::kArgumentSyntax) + leftText + " : " + argumentText);
      return kNoEntry;
    }
    parameters.push_back(variable);
  }
  function.bodyResult = Entry(right).cells;
  function.parameterCells = eval_.NewCellArray(static_cast<std::int32_t>(parameters.size()));
  for (std::size_t k = 0; k < parameters.size(); ++k) {
    function.parameterCells[k] = eval_.VarVect[static_cast<std::size_t>(parameters[k] - 1)].value;
  }
  function.body = CommandsOf(right);
  function.text = leftText + "~" + DisplayText(right);
  eval_.LinearExpression = false;

  TEvalValue** operands = eval_.NewCellArray(2);
  operands[0] = Entry(left).cells[0];
  operands[1] = Entry(right).cells[0];
  const std::int32_t command = EmitCommand(kCodeDefine, operands, 2);
  // A definition has no value; its command never runs, as its body runs only when called.
  *eval_.Command(command).result[0] = TEvalValue::Null();
  TRecord1& e = Entry(entry);
  e.cells = eval_.Command(command).result;
  e.command = command;
  e.dependent = true;
  e.ownsCommands = false;
  return entry;
}

std::int32_t TCompiler::MakeList(const std::vector<std::int32_t>& members) {
  std::string key = "A";
  bool isVolatile = false;
  std::int32_t cellCount = 0;
  for (const std::int32_t member : members) {
    key += std::to_string(member);
    key += ',';
    isVolatile = isVolatile || Entry(member).isVolatile;
    cellCount += Entry(member).cellCount;
  }
  if (!isVolatile) {
    const std::int32_t found = Shared(key, members);
    if (found >= 0) return found;
  }
  const std::int32_t entry = NewEntry(TRecord1::shList);
  TEvalValue** cells = eval_.NewCellArray(cellCount);
  TRecord1& e = Entry(entry);
  e.cells = cells;
  e.cellCount = cellCount;
  e.isProtected = true;
  e.fixed = true;
  e.isVolatile = isVolatile;
  eval_.DetailOf(e).arguments = members;
  std::int32_t next = 0;
  for (const std::int32_t member : members) {
    const TRecord1& m = Entry(member);
    for (std::int32_t k = 0; k < m.cellCount; ++k)
      cells[next++] = m.cells[k];
    e.dependent = e.dependent || m.dependent;
    e.fixed = e.fixed && m.fixed;
  }
  if (eval_.DerivationMode) DeriveList(entry);
  if (!isVolatile) Share(key, entry, members);
  return entry;
}

std::int32_t TCompiler::Call(std::string_view name, std::int32_t argument) {
  const bool isVolatile = IsVolatileName(name) || Entry(argument).isVolatile;
  const std::string key = "C" + ToLowerAscii(name) + "(" + std::to_string(argument);
  const std::int32_t operands[] = {argument};
  if (!isVolatile) {
    const std::int32_t found = Shared(key, operands);
    if (found >= 0) return found;
  }
  std::int32_t entry = kNoEntry;
  if (const std::uint16_t code = eval_.FindFunctionCode(name); code != 0) {
    entry = ValFunct(code, name, argument);
  } else if (eval_.IsValidIdentName(std::string(name)) && kFirstUserFunctionCode +
                                                                  eval_.GetUserFunctionCount() +
                                                                  eval_.GetRunTimeFunctionCount() <=
                                                              65535) {
    // An unknown name called like a function declares a runtime function, defined later by "~".
    FuncRecord& function = eval_.FuncArray.emplace_back();
    function.name = std::string(name);
    function.parameterCount = Entry(argument).cellCount;
    function.firstCommand = eval_.CommandCount + 1;
    entry = ValFunct(static_cast<std::uint16_t>(eval_.GetMaxFunctionCode()), name, argument);
  } else {
    Fail(ecUnknownFunction, std::string(msg::kUnknownFunction) + std::string(name));
    return kNoEntry;
  }
  if (entry < 0) return kNoEntry;
  if (eval_.DerivationMode) DeriveCall(entry);
  Entry(entry).isVolatile = Entry(entry).isVolatile || isVolatile;
  if (!isVolatile) Share(key, entry, operands);
  return entry;
}

std::int32_t TCompiler::ValFunct(std::uint16_t code, std::string_view name, std::int32_t argument) {
  const std::int32_t functionNumber = code - 7;
  const std::string functionName = eval_.FunctionName(code);
  const std::int32_t count = argument < 0 ? 0 : Entry(argument).cellCount;
  TEvalValue** arguments = argument < 0 ? nullptr : Entry(argument).cells;
  const bool argumentsDependent = argument >= 0 && Entry(argument).dependent;
  const bool argumentsFixed = argument < 0 || Entry(argument).fixed;
  auto countError = [&] {
    Fail(static_cast<TErrorCode>(functionNumber),
         std::string(msg::kWrongArgumentCount) + ToUpperAscii(name));
    return kNoEntry;
  };
  auto domainError = [&](const std::string& text) {
    eval_.MathErrorKind = mekNotMathematical;
    Fail(static_cast<TErrorCode>(functionNumber),
         "ValFunct-> " + functionName + std::string(msg::kFoldingDomain) + text);
    return kNoEntry;
  };
  auto folded = [&](const TEvalValue& value) {
    const std::int32_t entry = NewEntry(TRecord1::shCall);
    TRecord1& e = Entry(entry);
    e.code = code;
    e.left = argument;
    eval_.DetailOf(e).name = std::string(name);
    e.cells = FoldedCells(value);
    e.cellCount = 1;
    e.isProtected = true;
    e.fixed = argumentsFixed;
    return entry;
  };
  auto fold = [&](auto&& compute) {
    try {
      return folded(compute());
    } catch (const EMathError& e) {
      eval_.MathErrorKind = e.kind();
      std::string description = "ExceptieFunctie-> " + EMathError::MathExceptionText(e.kind()) +
                                " : " + functionName + "( ";
      for (std::int32_t k = 0; k < count; ++k) {
        if (k > 0) description += " , ";
        description += ValueToText(*arguments[k]);
      }
      Fail(static_cast<TErrorCode>(functionNumber), description + ") ");
      return kNoEntry;
    } catch (const std::exception& e) {
      return domainError(e.what());
    }
  };
  auto emitted = [&](TEvalValue** operands, std::int32_t operandCount, bool fixed) {
    const std::int32_t command = EmitCommand(code, operands, operandCount);
    const std::int32_t entry = NewEntry(TRecord1::shCall);
    TRecord1& e = Entry(entry);
    e.code = code;
    e.left = argument;
    eval_.DetailOf(e).name = std::string(name);
    e.command = command;
    e.cells = eval_.Command(command).result;
    e.cellCount = 1;
    e.dependent = true;
    e.isProtected = true;
    e.fixed = fixed;
    eval_.LinearExpression = false;
    return entry;
  };

  if (code <= kLastBuiltinCode) {
    if (!BuiltinAcceptsArgumentCount(code - kFirstBuiltinCode, count)) return countError();
    switch (code) {
      case kCodeDirectedinfinity: {
        const TEvalValue& direction = *arguments[0];
        const bool literal = !argumentsDependent && direction.IsRealOrCurrency() &&
                             (direction.AsDouble() == 1 || direction.AsDouble() == -1);
        if (!literal) return countError();
        return fold([&] { return ApplyFunction(code, arguments, count); });
      }
      case kCodeRandom: {
        if (!argumentsDependent && !arguments[0]->IsRealOrCurrency()) {
          return domainError(kIncorrectRealType);
        }
        const std::int32_t entry = emitted(arguments, count, argumentsFixed);
        Entry(entry).isVolatile = true;
        return entry;
      }
      case kCodeWhile: {
        const std::vector<std::int32_t>& parts = Arguments(argument);
        if (parts.size() != 2) return countError();
        if (Entry(parts[0]).fixed || Entry(parts[1]).fixed) return domainError(kWhileLoopUseless);
        WhileRecord loop;
        loop.command = eval_.CommandCount + 1;
        loop.test = CommandsOf(parts[0]);
        loop.body = CommandsOf(parts[1]);
        eval_.WhileArray.push_back(std::move(loop));
        const std::int32_t entry = emitted(arguments, count, argumentsFixed);
        Entry(entry).ownsCommands = false;
        return entry;
      }
      case kCodeIf: {
        if (!argumentsDependent) break;
        const std::vector<std::int32_t>& parts = Arguments(argument);
        if (parts.size() != static_cast<std::size_t>(count)) return countError();
        IfRecord form;
        form.command = eval_.CommandCount + 1;
        form.condition = CommandsOf(parts[0]);
        form.thenCommands = CommandsOf(parts[1]);
        if (parts.size() > 2) form.elseCommands = CommandsOf(parts[2]);
        eval_.IfArray.push_back(std::move(form));
        const std::int32_t entry = emitted(arguments, count, false);
        Entry(entry).ownsCommands = false;
        return entry;
      }
      default:
        break;
    }
    if (argumentsDependent) {
      if (code == kCodePowerFn && count == 2) {
        const std::int32_t rational = RationalExponent(Arguments(argument)[1]);
        if (rational >= 0) {
          TEvalValue** operands = eval_.NewCellArray(3);
          operands[0] = arguments[0];
          operands[1] = Entry(Entry(rational).left).cells[0];
          operands[2] = Entry(Entry(rational).right).cells[0];
          return emitted(operands, 3, argumentsFixed);
        }
      }
      return emitted(arguments, count, argumentsFixed);
    }
    if (code == kCodePowerFn && count == 2) {
      const std::int32_t rational = RationalExponent(Arguments(argument)[1]);
      if (rational >= 0) {
        const TEvalValue* operands[3] = {arguments[0], Entry(Entry(rational).left).cells[0],
                                         Entry(Entry(rational).right).cells[0]};
        return fold([&] { return ApplyFunction(kCodePower, operands, 3); });
      }
    }
    return fold([&] { return ApplyFunction(code, arguments, count); });
  }

  const std::int32_t user = code - kFirstUserFunctionCode;
  if (user < eval_.GetUserFunctionCount()) {
    const TUserFuncRec& function = eval_.UserFunctions[static_cast<std::size_t>(user)];
    const std::int32_t parameters = function.parameterCount;
    const bool accepted = parameters == kAnyParameterCount ? count >= 1
                          : parameters < 0                 ? count == 0
                                                           : count == parameters;
    if (!accepted) return countError();
    if (parameters < 0) {
      // A volatile function runs now for a first value and again at every execution.
      const std::int32_t entry = emitted(nullptr, 0, false);
      *Entry(entry).cells[0] = TEvalValue::Null();
      Entry(entry).isVolatile = true;
      return entry;
    }
    if (argumentsDependent) return emitted(arguments, count, argumentsFixed);
    return fold([&] {
      TEvalValue result = TEvalValue::Null();
      function.function(arguments, count, result);
      return result;
    });
  }

  const FuncRecord& function =
      eval_.FuncArray[static_cast<std::size_t>(user - eval_.GetUserFunctionCount())];
  if (count != function.parameterCount) return countError();
  const bool declaration = function.parameterCells == nullptr;
  const std::int32_t entry = emitted(arguments, count, declaration ? false : argumentsFixed);
  if (declaration) {
    // Copied first: the entry's new detail may move the list's.
    PComand parameters =
        Entry(argument).shape == TRecord1::shList ? Arguments(argument) : PComand{argument};
    eval_.DetailOf(Entry(entry)).arguments = std::move(parameters);
  }
  return entry;
}

// ---- Command lists and texts ----------------------------------------------------------------

PComand TCompiler::CommandsOf(std::int32_t root) const {
  PComand commands;
  // Entries to expand, or (negated, minus one) commands to append once their operands are in.
  std::vector<std::int32_t> stack{root};
  while (!stack.empty()) {
    const std::int32_t item = stack.back();
    stack.pop_back();
    if (item < 0) {
      commands.push_back(-item - 1);
      continue;
    }
    const TRecord1& e = Entry(item);
    if (!e.dependent || e.code == kCodeDefine) continue;
    if (e.command != 0) stack.push_back(-e.command - 1);
    if (!e.ownsCommands) continue;
    switch (e.shape) {
      case TRecord1::shOperator:
        stack.push_back(e.right);
        stack.push_back(e.left);
        break;
      case TRecord1::shNegation:
        stack.push_back(e.right);
        break;
      case TRecord1::shCall:
        if (e.left >= 0) stack.push_back(e.left);
        break;
      case TRecord1::shList: {
        const PComand& members = eval_.DetailOf(e).arguments;
        for (auto member = members.rbegin(); member != members.rend(); ++member)
          stack.push_back(*member);
        break;
      }
      case TRecord1::shLeaf:
        break;
    }
  }
  return commands;
}

void TCompiler::TTextWalk::Piece(std::string_view piece) {
  pieces_.push_back(piece);
  stack_.push_back(-static_cast<std::int32_t>(pieces_.size()));
}

void TCompiler::TTextWalk::PushParts(const TRecord1& e, const PComand& members) {
  static constexpr std::string_view kSymbols[] = {"", "*", "/", "+", "-", "^", "=", "~"};
  switch (e.shape) {
    case TRecord1::shOperator:
      Piece(")");
      Push(e.right);
      Piece(kSymbols[e.code]);
      Push(e.left);
      Piece("(");
      break;
    case TRecord1::shNegation:
      // Enclosed, so that a negated base keeps its grouping: (-x)^2 is not -x^2.
      Piece(")");
      Push(e.right);
      Piece("(-");
      break;
    case TRecord1::shList:
      Piece(")");
      for (std::size_t k = members.size(); k-- > 0;) {
        Push(members[k]);
        if (k > 0) Piece(",");
      }
      Piece("(");
      break;
    case TRecord1::shLeaf:
    case TRecord1::shCall:
      break;
  }
}

std::int32_t TCompiler::TTextWalk::Next(std::string& text) {
  while (!stack_.empty()) {
    const std::int32_t item = stack_.back();
    stack_.pop_back();
    if (item >= 0) return item;
    text += pieces_[static_cast<std::size_t>(-item - 1)];
  }
  return -1;
}

std::string TCompiler::EntryText(std::int32_t root) const {
  std::string text;
  TTextWalk walk(root);
  for (std::int32_t item = walk.Next(text); item >= 0; item = walk.Next(text)) {
    const TRecord1& e = Entry(item);
    if (e.shape == TRecord1::shLeaf) {
      text += e.text;
    } else if (e.shape == TRecord1::shCall) {
      walk.Piece(")");
      if (e.left >= 0) walk.Push(e.left);
      walk.Piece("(");
      walk.Piece(eval_.DetailOf(e).name);
    } else {
      walk.PushParts(e, eval_.DetailOf(e).arguments);
    }
  }
  return text;
}

std::string TCompiler::DisplayText(std::int32_t entry) const {
  return TTalvekComplexEval::StripOuterParentheses(
      TTalvekComplexEval::StripRedundantParentheses(eval_.ExpandReferences(EntryText(entry))));
}

}  // namespace evaluator
