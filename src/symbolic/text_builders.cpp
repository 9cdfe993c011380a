// Expression text builders and the number and token predicates they rest on. The rule order of
// each builder matters: an earlier rule may hide a later one (a product with 1 is never folded
// as an integer product).
#include "symbolic/text_builders.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "evaluator/complex_eval.h"
#include "evaluator/syntax.h"
#include "evaluator/text_utils.h"

namespace symbolic {

namespace {

using evaluator::EqualsIgnoreCase;
using evaluator::IsAsciiDigit;

constexpr std::string_view kInfinity = "infinity";

std::string Clean(std::string_view text) {
  return evaluator::TTalvekComplexEval::CleanSigns(text);
}

bool IsZeroText(std::string_view text) {
  return text == "0" || text == "-0" || text == "+0";
}
bool IsOneText(std::string_view text) {
  return text == "1";
}
bool IsMinusOneText(std::string_view text) {
  return text == "-1";
}
bool HasInfinity(std::string_view text) {
  return ContainsToken(kInfinity, text);
}

// "-" followed by one term: no "+" or "-" outside brackets after the leading sign.
bool IsNegatedSingleTerm(std::string_view text) {
  if (text.empty() || text[0] != '-') return false;
  int depth = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (depth == 0 && (c == '+' || c == '-')) {
      return false;
    }
  }
  return true;
}

// The value of an integer text when it fits in 32 bits.
std::optional<std::int64_t> ToInt32(std::string_view text) {
  if (!IsIntegerText(text)) return std::nullopt;
  if (text[0] == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return value;
}

bool FitsInt32(std::int64_t value) {
  return value >= std::numeric_limits<std::int32_t>::min() &&
         value <= std::numeric_limits<std::int32_t>::max();
}

std::string Bracketed(std::string_view a, char symbol, std::string_view b) {
  std::string text;
  text.reserve(a.size() + b.size() + 5);
  text += '(';
  text += a;
  text += ")";
  text += symbol;
  text += '(';
  text += b;
  text += ')';
  return text;
}

// Integer folding of both operands; the plain bracketed form when either does not convert or
// the exact result leaves the 32-bit range.
template <typename Operation>
std::string FoldIntegers(std::string_view a, char symbol, std::string_view b, Operation operation) {
  const std::optional<std::int64_t> x = ToInt32(a);
  const std::optional<std::int64_t> y = ToInt32(b);
  if (x && y) {
    const std::int64_t result = operation(*x, *y);
    if (FitsInt32(result)) return std::to_string(result);
  }
  return Bracketed(a, symbol, b);
}

std::string PowerForm(std::string_view base, std::string_view exponent, bool powerAsCaret) {
  if (powerAsCaret) return Bracketed(base, '^', exponent);
  std::string text = "power(";
  text += base;
  text += ',';
  text += exponent;
  text += ')';
  return text;
}

std::string Negated(std::string_view text) {
  std::string result = "-(";
  result += text;
  result += ')';
  return result;
}

}  // namespace

bool IsIntegerText(std::string_view text) {
  if (text.empty() || text == "+" || text == "-") return false;
  if (!(text[0] == '+' || text[0] == '-' || IsAsciiDigit(text[0]))) return false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (!IsAsciiDigit(text[i])) return false;
  }
  return true;
}

bool IsDecimalText(std::string_view text) {
  if (text.empty() || text == "+" || text == "-") return false;
  const char first = text[0];
  if (!(first == '+' || first == '-' || first == '.' || IsAsciiDigit(first))) return false;
  int points = first == '.' ? 1 : 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '.') {
      ++points;
    } else if (!IsAsciiDigit(text[i])) {
      return false;
    }
  }
  return points <= 1;
}

bool IsNumberText(std::string_view text) {
  if (IsDecimalText(text)) return true;
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos) return false;
  const std::string_view exponent = text.substr(e + 1);
  return IsDecimalText(text.substr(0, e)) && (exponent.empty() || IsIntegerText(exponent));
}

bool ContainsToken(std::string_view name, std::string_view text) {
  if (name.empty()) return false;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t at = text.find(name, from);
    if (at == std::string_view::npos) return false;
    const std::size_t end = at + name.size();
    const bool boundedBefore = at == 0 || evaluator::IsDelimiter(text[at - 1]);
    const bool boundedAfter = end == text.size() || evaluator::IsDelimiter(text[end]);
    if (boundedBefore && boundedAfter) return true;
    // A counted occurrence starts right after a delimiter, so the next candidate lies past the
    // next delimiter.
    from = at + 1;
    while (from < text.size() && !evaluator::IsDelimiter(text[from]))
      ++from;
  }
  return false;
}

std::string MakeSqrt(std::string_view rawText) {
  if (rawText.empty()) return {};
  const std::string text = Clean(rawText);
  if (IsZeroText(text)) return "0";
  if (IsOneText(text)) return "1";
  return "sqrt(" + text + ")";
}

std::string MakeLn(std::string_view rawText) {
  if (rawText.empty()) return {};
  const std::string text = Clean(rawText);
  if (IsZeroText(text)) return "-infinity";
  if (EqualsIgnoreCase(text, "exp(1)")) return "1";
  return "ln(" + text + ")";
}

std::string MakePower(std::string_view rawBase, std::string_view rawExponent, bool powerAsCaret) {
  if (rawBase.empty() || rawExponent.empty()) return {};
  // Infinite operands are never simplified: 1^infinity and infinity^0 have no value.
  if (HasInfinity(rawBase) || HasInfinity(rawExponent)) {
    return PowerForm(rawBase, rawExponent, powerAsCaret);
  }
  const std::string base = Clean(rawBase);
  const std::string exponent = Clean(rawExponent);
  if (IsZeroText(exponent)) return IsZeroText(base) ? "(0^0)" : "1";
  if (IsOneText(exponent)) return base;
  if (IsZeroText(base)) return "0";
  if (IsOneText(base)) return "1";
  return PowerForm(base, exponent, powerAsCaret);
}

std::string MakeProduct(std::string_view rawA, std::string_view rawB, bool powerAsCaret) {
  if (rawA.empty() || rawB.empty()) return {};
  const std::string a = Clean(rawA);
  const std::string b = Clean(rawB);
  if (IsOneText(a)) return b;
  if (IsOneText(b)) return a;
  if (IsMinusOneText(a)) return Negated(b);
  if (IsMinusOneText(b)) return Negated(a);
  if ((IsZeroText(a) || IsZeroText(b)) && !HasInfinity(a) && !HasInfinity(b)) return "0";
  if (IsIntegerText(a) && IsIntegerText(b)) {
    return FoldIntegers(a, '*', b, [](std::int64_t x, std::int64_t y) { return x * y; });
  }
  if (EqualsIgnoreCase(a, b)) return MakePower(a, "2", powerAsCaret);
  if (IsNegatedSingleTerm(a) && IsNegatedSingleTerm(b)) {
    return Bracketed(std::string_view(a).substr(1), '*', std::string_view(b).substr(1));
  }
  return Bracketed(a, '*', b);
}

std::string MakeQuotient(std::string_view rawA, std::string_view rawB) {
  if (rawA.empty() || rawB.empty()) return {};
  const std::string a = Clean(rawA);
  const std::string b = Clean(rawB);
  if (IsZeroText(a)) {
    if (IsZeroText(b)) return "(0/0)";
    return HasInfinity(b) ? Bracketed(a, '/', b) : "0";
  }
  if (IsOneText(b)) return a;
  if (HasInfinity(a)) return Bracketed(a, '/', b);
  if (EqualsIgnoreCase(a, b)) return "1";
  const auto negationOf = [](std::string_view negated, std::string_view plain) {
    return negated.size() == plain.size() + 1 && negated[0] == '-' &&
           EqualsIgnoreCase(negated.substr(1), plain) && IsNegatedSingleTerm(negated);
  };
  if (negationOf(a, b) || negationOf(b, a)) return "-1";
  if (IsIntegerText(a) && IsIntegerText(b)) {
    const std::optional<std::int64_t> x = ToInt32(a);
    const std::optional<std::int64_t> y = ToInt32(b);
    // The quotient of two 32-bit values leaves the range only for INT32_MIN / -1.
    if (x && y && *y != 0 && *x % *y == 0 && FitsInt32(*x / *y)) return std::to_string(*x / *y);
    return Bracketed(a, '/', b);
  }
  return Bracketed(a, '/', b);
}

std::string MakeSum(std::string_view rawA, std::string_view rawB) {
  if (rawA.empty() || rawB.empty()) return {};
  const std::string a = Clean(rawA);
  const std::string b = Clean(rawB);
  if (IsZeroText(a)) return b;
  if (IsZeroText(b)) return a;
  if (IsIntegerText(a) && IsIntegerText(b)) {
    return FoldIntegers(a, '+', b, [](std::int64_t x, std::int64_t y) { return x + y; });
  }
  if (EqualsIgnoreCase(a, b)) return MakeProduct("2", a);
  return Bracketed(a, '+', b);
}

std::string MakeDifference(std::string_view rawA, std::string_view rawB) {
  if (rawA.empty() || rawB.empty()) return {};
  const std::string a = Clean(rawA);
  const std::string b = Clean(rawB);
  if (EqualsIgnoreCase(a, b) && !HasInfinity(a)) return "0";
  if (IsZeroText(a)) return Negated(b);
  if (IsZeroText(b)) return a;
  if (IsIntegerText(a) && IsIntegerText(b)) {
    return FoldIntegers(a, '-', b, [](std::int64_t x, std::int64_t y) { return x - y; });
  }
  return Bracketed(a, '-', b);
}

}  // namespace symbolic
