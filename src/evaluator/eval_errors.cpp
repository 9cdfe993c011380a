// Texts of the arithmetic exception kinds.
#include "evaluator/eval_errors.h"

#include <array>

namespace evaluator {

std::string EMathError::MathExceptionText(int kind) {
  static constexpr std::array<const char*, 6> kTexts = {
      "NON MATHEMATICAL EXCEPTION",
      "EOverflow->Floating-point operation overflowed",
      "EUnderflow->Floating-point operation underflowed",
      "EInvalidArgument->Parameter out of range",
      "EZeroDivide->Attempt to divide by zero",
      "EInvalidOp->Processor encountered an undefined instruction",
  };
  if (kind < 0 || kind >= static_cast<int>(kTexts.size())) return "INDEX MUST BE BETWEEN  0 AND 5";
  return kTexts[static_cast<std::size_t>(kind)];
}

}  // namespace evaluator
