// The equivalence test: two expressions are sampled at 5151 random points over a wide range of
// magnitudes and compared value by value; a majority of agreeing points means equivalent.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/user_prompt.h"
#include "evaluator/complex_eval.h"

namespace app {

class TEquivalenceTest {
 public:
  explicit TEquivalenceTest(TUserPrompt& prompt);

  // Samples both texts; the counters say at how many points they agreed and disagreed. Parse
  // errors and a text holding more than one expression are shown through the prompt, prefixed
  // by which expression it was, and leave both counters at 0.
  void Is2MathExpressionEquivalent(const std::string& first, const std::string& second,
                                   std::int32_t& agreeing, std::int32_t& disagreeing);
  // "Yes", "No" or "Indeterminate" for two texts as typed (line ends removed).
  std::string Verdict(const std::string& first, const std::string& second);

 private:
  bool ParseOne(const std::string& text, const char* prefix);

  TUserPrompt& prompt_;
  std::unique_ptr<evaluator::TTalvekComplexEval> eval_;
  std::string prefix_;
};

}  // namespace app
