// Source normalisation: blanks, exponent literals, and the parenthesis and sign clean-ups that
// turn internal texts back into readable ones.
#include <charconv>
#include <memory>
#include <vector>

#include "evaluator/complex_eval.h"
#include "evaluator/syntax.h"
#include "evaluator/text_utils.h"

namespace evaluator {

bool TTalvekComplexEval::StergeSpatii(std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  std::size_t operandStart = 0;  // where the operand being written began
  bool afterDelimiter = true;
  bool blankSeen = false;

  auto fail = [&](TErrorCode code, std::string message) {
    ErrorFlag = true;
    ErrorCode = code;
    ErrorMessage = std::move(message);
    return false;
  };
  auto currentOperand = [&] { return out.substr(operandStart); };

  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsBlank(c)) {
      if (out.empty() || IsDelimiter(out.back())) afterDelimiter = true;
      blankSeen = true;
      continue;
    }
    if (blankSeen && (!IsDelimiter(c) || c == '(')) {
      if (!ImplicitMultiplication) {
        if (c != '(' && !afterDelimiter) {
          return fail(ecUnknownExpression,
                      std::string(msg::kBlankBetweenOperands) + currentOperand() + "'_'");
        }
      } else if (!out.empty() && (!afterDelimiter || out.back() == ')')) {
        out += '*';
        ++CommandCapacity;
        operandStart = out.size();
      }
    }
    if (c == '{' || c == '}') {
      return fail(ecUnknownExpression,
                  std::string(msg::kBlankBetweenOperands) + currentOperand() + c);
    }
    if (c == '(' && !out.empty() && out.back() == ')') {
      return fail(ecSyntax, std::string(msg::kSpacesSyntax) + currentOperand() + "(");
    }
    if (IsOperatorCharacter(c)) ++CommandCapacity;
    out += c;
    afterDelimiter = false;
    blankSeen = false;
    if (IsDelimiter(c)) operandStart = out.size();
  }
  text = std::move(out);
  return true;
}

bool TTalvekComplexEval::FormatareaExponentei(std::string& text, bool forExport) {
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;  // text[0 .. copied) is already in out
  for (std::size_t e = text.find('e'); e != std::string::npos; e = text.find('e', e + 1)) {
    if (e < copied || e + 1 >= text.size()) continue;
    const char next = text[e + 1];
    if (next != '+' && next != '-' && !IsAsciiDigit(next)) continue;
    std::size_t begin = e;
    while (begin > 0 && !IsDelimiter(text[begin - 1]))
      --begin;
    if (begin < copied || !IsPlainDecimal(std::string_view(text).substr(begin, e - begin))) {
      continue;  // the "e" belongs to a name such as "xe"
    }
    std::size_t end = e + 1;
    if (text[end] == '+' || text[end] == '-') ++end;
    while (end < text.size() && !IsDelimiter(text[end]))
      ++end;
    const std::string_view literal = std::string_view(text).substr(begin, end - begin);
    const std::size_t exponentStart = (text[e + 1] == '+' || text[e + 1] == '-') ? e + 2 : e + 1;
    if (!IsIntegerExponent(std::string_view(text).substr(exponentStart, end - exponentStart))) {
      ErrorFlag = true;
      ErrorCode = ecUnknownExpression;
      ErrorMessage = std::string(msg::kExponentUnknown) + std::string(literal);
      return false;
    }
    out.append(text, copied, begin - copied);
    if (forExport) {
      out.append(text, begin, e - begin);
      out += "*^";
      out.append(text, e + 1, end - e - 1);
    } else {
      double value = 0;
      if (!ReadNumber(literal, value)) {
        ErrorFlag = true;
        ErrorCode = ecExponentConversion;
        ErrorMessage = std::string(msg::kExponentConversion) + "'" + std::string(literal) +
                       "' is not a valid floating point value";
        return false;
      }
      const std::int32_t entry = static_cast<std::int32_t>(ListStr.size());
      TRecord1& constant = ListStr.emplace_back();
      constant.text = "(" + std::string(literal) + ")";
      constant.cells = NewCellArray(1);
      constant.cells[0] = NewCell();
      *constant.cells[0] = TEvalValue::Real(value);
      constant.cellCount = 1;
      constant.isProtected = true;
      constant.fixed = true;
      if (DerivationMode) DetailOf(constant).derivative = "0";
      out += ReferenceToken(entry);
    }
    copied = end;
    e = end - 1;
  }
  if (copied == 0) return true;
  out.append(text, copied, std::string::npos);
  text = std::move(out);
  return true;
}

std::string TTalvekComplexEval::StripRedundantParentheses(std::string_view text) {
  // Match every pair first, then decide for each pair on the original text which ones go. Only
  // the entries of "(" are ever read back, so the table is not cleared first: derivative texts
  // of many kilobytes pass through here at every builder step.
  const std::size_t n = text.size();
  const auto match = std::make_unique_for_overwrite<std::size_t[]>(n);
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] == '(') {
      open.push_back(i);
    } else if (text[i] == ')' && !open.empty()) {
      match[open.back()] = i;
      open.pop_back();
    }
  }
  for (const std::size_t unmatched : open)
    match[unmatched] = std::string_view::npos;
  std::vector<char> drop(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] != '(' || match[i] == std::string_view::npos) continue;
    const std::size_t close = match[i];
    const bool delimitedBefore = i == 0 || IsDelimiter(text[i - 1]);
    const bool delimitedAfter = close + 1 == n || IsDelimiter(text[close + 1]);
    if (!delimitedBefore || !delimitedAfter) continue;  // argument groups stay
    // Pairs are decided from the outside in, so of "((...))" only one pair goes.
    const bool doubled = i > 0 && text[i - 1] == '(' && close + 1 < n && text[close + 1] == ')' &&
                         match[i - 1] == close + 1 && !drop[i - 1];
    bool operatorAtLevel = false;
    for (std::size_t k = i + 1; k < close; ++k) {
      if (text[k] == '(' && match[k] != std::string_view::npos) {
        k = match[k];
      } else if (IsOperatorCharacter(text[k]) || text[k] == ',') {
        operatorAtLevel = true;
        break;
      }
    }
    const std::string_view content = text.substr(i + 1, close - i - 1);
    const bool exponentNumber = IsNumber(content) && content.find_first_of("eE") != content.npos;
    if (doubled || (!operatorAtLevel && !exponentNumber && !content.empty())) {
      drop[i] = drop[close] = 1;
    }
  }
  std::string result;
  result.reserve(n);
  for (std::size_t i = 0, kept = 0; i <= n; ++i) {
    if (i == n || drop[i]) {
      result.append(text, kept, i - kept);
      kept = i + 1;
    }
  }
  return result;
}

std::string TTalvekComplexEval::CleanSigns(std::string_view input) {
  std::string text = StripOuterParentheses(StripRedundantParentheses(input));
  // A sign followed by "(" and another sign, the group holding one term: fold the two signs
  // into the first and drop the group's parentheses with the second sign.
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
      const char outer = text[i];
      const char inner = text[i + 2];
      if ((outer != '+' && outer != '-') || text[i + 1] != '(' || (inner != '+' && inner != '-')) {
        continue;
      }
      int depth = 0;
      std::size_t close = std::string::npos;
      bool singleTerm = true;
      bool singleFactor = true;
      for (std::size_t k = i + 3; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '(') {
          ++depth;
        } else if (c == ')') {
          if (depth == 0) {
            close = k;
            break;
          }
          --depth;
        } else if (depth == 0 && (c == ',' || c == '=' || c == '~')) {
          singleTerm = false;
        } else if (depth == 0 && (c == '+' || c == '-')) {
          // A sign right after an operator is part of its operand, not a new term.
          if (!IsOperatorCharacter(text[k - 1]) && text[k - 1] != '(') singleTerm = false;
        } else if (depth == 0 && (c == '*' || c == '/' || c == '^')) {
          singleFactor = false;
        }
      }
      if (close == std::string::npos || !singleTerm) continue;
      // Without its parentheses the term would regroup: -(-x)^2 is not +x^2, and a/-(-x*y) is
      // not a/+x*y.
      if (close + 1 < text.size() && text[close + 1] == '^') continue;
      if (i > 0 && (text[i - 1] == '/' || text[i - 1] == '^') && !singleFactor) continue;
      text[i] = outer == inner ? '+' : '-';
      text.erase(close, 1);
      text.erase(i + 1, 2);
      changed = true;
    }
    if (changed) text = StripOuterParentheses(StripRedundantParentheses(text));
  }
  // A dropped sign may leave the rest enclosed: +(a*b) becomes a*b.
  if (!text.empty() && text[0] == '+') text = StripOuterParentheses(text.substr(1));
  return text;
}

}  // namespace evaluator
