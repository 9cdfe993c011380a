// The two message tables. Both build a detail from the evaluator's text and a kind from its
// arithmetic kind, then choose the words by code; a few codes read differently at run time.
#include "app/error_messages.h"

#include <array>
#include <string_view>

#include "evaluator/catalogue.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

using evaluator::TTalvekComplexEval;

enum class TWhen { Parse, Execute };

// Codes whose message is the same text + detail at parse time, and the raw evaluator text at
// run time.
struct TParseRow {
  std::int32_t code;
  std::string_view text;
  bool withDetail;
};

constexpr auto kParseRows = std::to_array<TParseRow>({
    {-2, "Mismatched parenthesis", false},
    {-3, "Invalid name of derivative variable", true},
    {-4, "Mathematical expression is empty", false},
    {-5, "Identifier cannot be empty", false},
    {-6, "Identifier length is too long", true},
    {-7, "Invalid identifier", true},
    {-8, "Identifier cannot be a reserved name", true},
    {-9, "Identifier already exists", true},
    {-10, "Dublicating user identifier", true},
    {-11, "Unknown expression", true},
    {-12, "Invalid exponent value", true},
    {-15, "Use 'VerifySyntaxSemanticsAndDerivation' for differentiation", false},
    {-16, "Derivative expression string was erased", false},
    {-19, "Function number must be less", true},
    {-20, "Function address cannot be nil", true},
    {-21, "Cannot set value for protected expression", true},
    {-22, "Invalid expression", true},
    {-31, "Undefined function", true},
    {-32, "Undefined variable", true},
    {-33, "Syntax error", true},
    {-34, "Comma syntax error", true},
    {-36, "Invalid function name", true},
    {-37, "Dublicating defined function", true},
    {-38, "Defined function was not implimented", true},
    {-39, "Invalid arguments number for defined function", true},
    {-40, "Invalid argument name for defined function", true},
    {-41, "Dublicating argument name for defined function", true},
});

// Codes whose message is only made at run time (raw text at parse time).
struct TExecuteRow {
  std::int32_t code;
  std::string_view text;
};
constexpr std::array<TExecuteRow, 3> kExecuteRows = {{
    {-23, "Execution error"},
    {-35, "Fatal error"},
    {-42, "Stack overflow"},
}};

// Operator codes -25 .. -30, in that order.
constexpr std::array<std::string_view, 6> kOperatorInvalid = {
    "Invalid value for *", "Invalid value for /", "Invalid value for +",
    "Invalid value for -", "Invalid value for ^", "Invalid value for =",
};

// " : " + everything after the first ":", lower-cased; the whole detail, " : " included, is at
// most 256 characters.
std::string Detail(const std::string& message) {
  constexpr std::size_t kDetailLength = 256;
  constexpr std::string_view kSeparator = " : ";
  const std::size_t colon = message.find(':');
  if (colon == std::string::npos) return {};
  return std::string(kSeparator) + evaluator::ToLowerAscii(std::string_view(message).substr(
                                       colon + 1, kDetailLength - kSeparator.size()));
}

std::string Kind(std::int32_t kind) {
  static constexpr std::array<std::string_view, 6> kKinds = {" : NONMATH",    " : Overflow",
                                                             " : Underflow",  " : InvalidArgument",
                                                             " : ZeroDivide", " : InvalidOp"};
  if (kind < 0 || kind >= static_cast<std::int32_t>(kKinds.size())) return {};
  return std::string(kKinds[static_cast<std::size_t>(kind)]);
}

std::string Message(const TTalvekComplexEval& eval, TWhen when) {
  const std::int32_t code = eval.ErrorCode;
  const std::string detail = Detail(eval.ErrorMessage);
  const std::string kind = Kind(eval.MathErrorKind);
  const std::int32_t userFunctions = eval.GetUserFunctionCount();

  if (code >= 1 && code <= evaluator::kBuiltinCount + userFunctions) {
    // A function failed: name it by its number (catalogue entries first, then application
    // functions).
    const std::string name = code <= evaluator::kBuiltinCount
                                 ? evaluator::ToUpperAscii(evaluator::BuiltinEntry(code - 1).name)
                                 : evaluator::ToUpperAscii(eval.GetUserFunctionName(
                                       code - evaluator::kBuiltinCount - 1));
    if (!kind.empty()) return "Invalid value for " + name + detail + kind;
    return "Invalid number of function arguments for: " + name;
  }
  if (code == -1) return "No math expression was parsed";
  if (code == -17) return "Variable count and value caunt do not corespond";
  if (code == -18)
    return "Use 'DoVectorOfMathExpressions' for calculate a vector of math expression";
  if (code == -26 && eval.MathErrorKind == evaluator::mekZeroDivide) {
    return when == TWhen::Parse ? "Division by 0" : "Division by 0 ";
  }
  if (code <= -25 && code >= -30) {
    return std::string(kOperatorInvalid[static_cast<std::size_t>(-25 - code)]) + detail + kind;
  }
  if (when == TWhen::Parse) {
    for (const TParseRow& row : kParseRows) {
      if (row.code == code) {
        return std::string(row.text) + (row.withDetail ? detail : std::string());
      }
    }
  } else {
    for (const TExecuteRow& row : kExecuteRows) {
      if (row.code == code) return std::string(row.text) + detail;
    }
  }
  return eval.ErrorMessage;
}

}  // namespace

std::string ParseErrorMessage(const TTalvekComplexEval& eval) {
  return Message(eval, TWhen::Parse);
}

std::string ExecuteErrorMessage(const TTalvekComplexEval& eval) {
  return Message(eval, TWhen::Execute);
}

}  // namespace app
