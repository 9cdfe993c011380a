// Times one addition to a constant list that already holds 1,000 user constants, each defined
// from the one before it, as the constant list window and the calculator file reader store them.
#include <benchmark/benchmark.h>

#include <string>

#include "app/calculator_core.h"
#include "constants/constant_list.h"

namespace {

// Answers every question with Yes and drops the messages.
class TSilentPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
};

constexpr int kUserConstants = 1000;

struct TFilledList {
  TSilentPrompt prompt;
  app::TCalculatorCore core{prompt};
  constants::TConstantList list{core, prompt};
  TFilledList() {
    list.AddConst(list.NewRow(), "c1", "1", "first");
    for (int i = 2; i <= kUserConstants; ++i) {
      list.AddConst(list.NewRow(), "c" + std::to_string(i), "c" + std::to_string(i - 1) + "*1.001",
                    "user constant");
    }
  }
};

void BM_AddConstantTo1000(benchmark::State& state) {
  TFilledList filled;
  if (filled.list.Count() != 5 + kUserConstants) state.SkipWithError("list not filled");
  for (auto _ : state) {
    const bool stored = filled.list.AddConst(filled.list.NewRow(), "g", "9.81*c1000", "new");
    state.PauseTiming();
    if (!stored || !filled.list.DeleteConsts(filled.list.Count(), 1)) {
      state.SkipWithError("addition refused");
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddConstantTo1000)->Unit(benchmark::kMillisecond);

void BM_EditLastOf1000(benchmark::State& state) {
  TFilledList filled;
  const std::int32_t last = filled.list.Count();
  for (auto _ : state) {
    if (!filled.list.AddConst(last, "c1000", "c999*1.002", "edited")) {
      state.SkipWithError("edit refused");
    }
  }
}
BENCHMARK(BM_EditLastOf1000)->Unit(benchmark::kMillisecond);

void BM_EditInternalWith1000(benchmark::State& state) {
  TFilledList filled;
  for (auto _ : state) {
    if (!filled.list.AddConst(3, "STEP", "0.25", "Internal constant")) {
      state.SkipWithError("edit refused");
    }
  }
}
BENCHMARK(BM_EditInternalWith1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
