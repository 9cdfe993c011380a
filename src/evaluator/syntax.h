// Character classes and number syntax of the expression language, shared by the normaliser
// and the compiler.
#pragma once

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

#include "evaluator/text_utils.h"

namespace evaluator {

// The seven operator characters.
constexpr bool IsOperatorCharacter(char c) {
  return c == '*' || c == '+' || c == '-' || c == '/' || c == '=' || c == '^' || c == '~';
}

// How tightly an operator binds: "~" loosest, then "=", "+" "-", "*" "/", and "^" tightest.
constexpr int OperatorPrecedence(char symbol) {
  switch (symbol) {
    case '~':
      return 1;
    case '=':
      return 2;
    case '+':
    case '-':
      return 3;
    case '*':
    case '/':
      return 4;
    default:
      return 5;  // "^"
  }
}

// Operators, parentheses and the comma; a position outside the text counts as one too.
constexpr bool IsDelimiter(char c) {
  return IsOperatorCharacter(c) || c == '(' || c == ')' || c == ',';
}

// Blanks between tokens; line ends count as blanks so that an expression may span lines.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Digits with at most one "." (a leading "." allowed), after an optional sign.
constexpr bool IsPlainDecimal(std::string_view text) {
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  bool digit = false;
  bool point = false;
  for (char c : text) {
    if (IsAsciiDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// An optional sign, then one or more digits.
constexpr bool IsIntegerExponent(std::string_view text) {
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

// A plain decimal, optionally followed by "e" (or "E") and nothing or an integer exponent.
// One pass that stops at the first character a number cannot hold.
constexpr bool IsNumber(std::string_view text) {
  std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  bool digit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsAsciiDigit(c)) {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else if ((c == 'e' || c == 'E') && digit) {
      const std::string_view exponent = text.substr(i + 1);
      return exponent.empty() || IsIntegerExponent(exponent);
    } else {
      return false;
    }
  }
  return digit;
}

// Reads a number of the language's syntax with "." as separator, whatever the locale. A value
// too small for a double reads as 0; false for a non-number or one too large.
inline bool ReadNumber(std::string_view text, double& value) {
  if (!IsNumber(text)) return false;
  std::string digits(text);
  if (digits[0] == '+') digits.erase(0, 1);
  if (digits.back() == 'e' || digits.back() == 'E') digits.pop_back();
  if (digits[0] == '.' || (digits[0] == '-' && digits[1] == '.')) {
    digits.insert(digits[0] == '-' ? 1 : 0, "0");
  }
  const char* first = digits.data();
  const char* last = first + digits.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is refused. The wider type tells the two apart.
    long double wide = 0;
    const auto [wideEnd, wideError] = std::from_chars(first, last, wide);
    const bool underflow = wideError == std::errc::result_out_of_range
                               ? digits.find("e-") != std::string::npos
                               : std::fabs(wide) < 1;
    if (!underflow) return false;
    value = digits[0] == '-' ? -0.0 : 0.0;
    return true;
  }
  return error == std::errc() && end == last && std::isfinite(value);
}

// The token that stands for ListStr entry n inside a text being compiled.
inline std::string ReferenceToken(std::int32_t entry) {
  return "{" + std::to_string(entry) + "}";
}

}  // namespace evaluator
