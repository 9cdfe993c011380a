// Mathematica form of the evaluator's expression texts, so that expressions and their derivatives
// can be pasted into that system.
#pragma once

#include <string>
#include <string_view>

namespace symbolic {

// Writes `text` (the evaluator's normalised form: no blanks, lower-case names) in Mathematica
// syntax: calls of built-ins through their Mathematica heads, other calls as name[args],
// definitions f(x)~body as f[x_]:=body, deferred derivative marks f(x)' as D[f[x],variable],
// constants by their Mathematica names, exponent literals as mantissa*^exponent, a top-level
// list of expressions in braces, and operators with the parentheses Mathematica's precedence
// needs. A text that does not read as an expression comes back unchanged.
std::string ToMathematica(std::string_view text, std::string_view derivativeVariable);

}  // namespace symbolic
