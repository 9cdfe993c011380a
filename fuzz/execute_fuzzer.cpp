// libFuzzer target: one parse over the caller's cells, then many executions with the cells and
// runtime-function arguments set from the input's bytes to values of every kind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_support.h"

namespace {

using evaluator::TUserValuesArray;
using evaluator::TUserVarArray;

// Executions per input: enough to walk through many value combinations, few enough to keep an
// input well under a millisecond for ordinary texts.
constexpr int kMaxRounds = 64;
// Work units (see BoundWork) one execution may take: up to 64 rounds run the text and each
// runtime function once.
constexpr double kWorkPerExecution = 2e3;

}  // namespace

// Input: the mode byte, the text up to the first zero byte, then the values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  if (size == 0) return 0;
  const TModes modes = TModes::FromByte(data[0]);
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  const auto separator = std::find(rest.begin(), rest.end(), std::uint8_t{0});
  const std::string text(reinterpret_cast<const char*>(rest.data()),
                         static_cast<std::size_t>(separator - rest.begin()));
  TValueReader reader(rest.subspan(std::min(text.size() + 1, rest.size())));

  const auto eval = MakeEvaluator(modes);
  TEvalValue cells[kVariableCount] = {
      TEvalValue::Real(1), TEvalValue::Real(2), TEvalValue::Real(3),
      TEvalValue::Real(4), TEvalValue::Real(5), TEvalValue::Boolean(true),
  };
  // "a" is fixed: the text may not assign it, yet its value changes between runs.
  const TUserVarArray variables{
      {"x", &cells[0], false}, {"y", &cells[1], false}, {"z", &cells[2], false},
      {"n", &cells[3], false}, {"a", &cells[4], true},  {"b", &cells[5], false},
  };
  eval->VerifySyntaxSemanticsPointerVar(text, variables, modes.definitions);
  CheckParse(*eval);
  if (eval->ErrorFlag) return 0;
  BoundWork(*eval, kWorkPerExecution);

  TEvalValue result;
  for (int round = 0; round < kMaxRounds; ++round) {
    for (TEvalValue& cell : cells)
      cell = reader.Next();
    ExecuteResults(*eval);
    for (std::int32_t i = 0; i < eval->GetRunTimeFunctionCount(); ++i) {
      TUserValuesArray values;
      const std::int32_t count = eval->FuncArray[static_cast<std::size_t>(i)].parameterCount;
      for (std::int32_t k = 0; k < count; ++k)
        values.push_back(reader.Next());
      eval->DoRunTimeFunction(i, values, result);
      CheckExecution(*eval);
      if (!eval->ErrorFlag) evaluator::ValueToText(result);
    }
    if (reader.Done()) break;
  }
  eval->Release();
  return 0;
}
