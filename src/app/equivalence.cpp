// Is2MathExpressionEquivalent and its verdict.
#include "app/equivalence.h"

#include <cmath>
#include <exception>

#include "app/error_messages.h"
#include "app/memo_text.h"
#include "app/value_compare.h"
#include "evaluator/random_source.h"
#include "evaluator/text_utils.h"

namespace app {

namespace {

constexpr const char* kFirstPrefix = "First expression -> ";
constexpr const char* kSecondPrefix = "Second expression -> ";
constexpr int kStages = 51;
constexpr int kTrialsPerStage = 101;

}  // namespace

TEquivalenceTest::TEquivalenceTest(TUserPrompt& prompt)
    : prompt_(prompt), eval_(std::make_unique<evaluator::TTalvekComplexEval>()) {
  eval_->ImplicitMultiplication = true;
  // Evaluation failures at a sample point only drop that point, so only parse errors speak.
  eval_->OnParseError = [this](evaluator::TTalvekComplexEval& sender) {
    prompt_.Message(prefix_ + ParseErrorMessage(sender));
  };
}

bool TEquivalenceTest::ParseOne(const std::string& text, const char* prefix) {
  prefix_ = prefix;
  eval_->VerifySyntaxSemanticsAutoVar(text);
  if (eval_->ErrorFlag) return false;
  if (eval_->ResultCount != 1) {
    prompt_.Message(prefix_ + "Please insert only one expression");
    return false;
  }
  return true;
}

void TEquivalenceTest::Is2MathExpressionEquivalent(const std::string& first,
                                                   const std::string& second,
                                                   std::int32_t& agreeing,
                                                   std::int32_t& disagreeing) {
  agreeing = 0;
  disagreeing = 0;
  if (!ParseOne(first, kFirstPrefix) || !ParseOne(second, kSecondPrefix)) return;
  eval_->VerifySyntaxSemanticsAutoVar(first + "," + second);
  if (eval_->ErrorFlag || eval_->ResultCount != 2) return;

  evaluator::TRandomSource& random = evaluator::RandomSource();
  for (int stage = 0; stage < kStages; ++stage) {
    const double scale = std::ldexp(1.0, stage);
    for (int trial = 0; trial < kTrialsPerStage; ++trial) {
      for (const evaluator::TRecord3& variable : eval_->VarVect) {
        const double sign = random.NextBelow(10) >= 5 ? 1.0 : -1.0;
        const bool reciprocal = random.NextBelow(10) >= 5;
        const double x = random.NextUnit();
        // Stage 0 samples 0 and reciprocals of numbers below 1; later stages spread the points
        // up to 2^50 and down to 2^-50.
        *variable.value = evaluator::TEvalValue::Real(reciprocal ? 1.0 / (scale * sign * x)
                                                                 : (scale - 1) * sign * x);
      }
      try {
        evaluator::TEvalValue** results = eval_->DoVectorOfMathExpressions();
        if (results == nullptr) continue;
        if (ValuesEqual(*results[0], *results[1])) {
          ++agreeing;
        } else {
          ++disagreeing;
        }
      } catch (const std::exception&) {
        // A point that cannot be evaluated does not vote.
      }
    }
  }
}

std::string TEquivalenceTest::Verdict(const std::string& first, const std::string& second) {
  std::int32_t agreeing = 0;
  std::int32_t disagreeing = 0;
  Is2MathExpressionEquivalent(MemoAsOneLine(first), MemoAsOneLine(second), agreeing, disagreeing);
  if (agreeing == 0 && disagreeing == 0) return "Indeterminate";
  return agreeing > disagreeing ? "Yes" : "No";
}

}  // namespace app
