// Expression text builders: each joins operand texts into the text of one operation, folding 0,
// 1, -1, small integers and equal operands, so that derivative texts stay short as they grow.
#pragma once

#include <string>
#include <string_view>

namespace symbolic {

// Number texts of the builders' own syntax (signs allowed, no blanks).
bool IsIntegerText(std::string_view text);
bool IsDecimalText(std::string_view text);
bool IsNumberText(std::string_view text);

// Whether `name` occurs in `text` as a whole token: both neighbours are delimiters or lie outside
// the text. Case-sensitive, as the texts it searches are already folded to lower case.
bool ContainsToken(std::string_view name, std::string_view text);

// The builders. Each cleans its operands' signs and parentheses first and returns the empty
// text, which stands for "no expression", when any operand is empty. `powerAsCaret` chooses
// between "(a)^(b)" and "power(a,b)" for the powers a builder writes.
std::string MakeSqrt(std::string_view text);
std::string MakeLn(std::string_view text);
std::string MakePower(std::string_view base, std::string_view exponent, bool powerAsCaret = true);
std::string MakeProduct(std::string_view a, std::string_view b, bool powerAsCaret = true);
std::string MakeQuotient(std::string_view numerator, std::string_view denominator);
std::string MakeSum(std::string_view a, std::string_view b);
std::string MakeDifference(std::string_view a, std::string_view b);

}  // namespace symbolic
