// Times the storing of every unit-to-unit path of a conversion check (ConvPaths) on the default
// table and on categories at the picture limits, and the level search it reproduces.
#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "conversion/unit_conversion.h"
#include "conversion/unit_graph.h"

namespace {

using conversion::TCnvSection;

class TSilentPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
};

std::string UnitName(int k) {
  return "unit " + std::to_string(1000 + k);
}

// 400 units and 150 definitions: a chain through 151 units (the deepest paths), or random
// links between distinct units; the other units stand alone.
std::vector<TCnvSection> LimitCategory(bool chain) {
  TCnvSection section{"Limit", {}};
  std::mt19937 random(7);
  std::vector<std::pair<int, int>> links;
  while (links.size() < 150) {
    int a = static_cast<int>(links.size());
    int b = a + 1;
    if (!chain) {
      a = static_cast<int>(random() % 400);
      b = static_cast<int>(random() % 400);
      bool repeated = a == b;
      for (const auto& [p, q] : links)
        repeated = repeated || (p == a && q == b) || (p == b && q == a);
      if (repeated) continue;
    }
    links.push_back({a, b});
  }
  for (const auto& [a, b] : links) {
    section.values.push_back(UnitName(a) + " : " + UnitName(b) + " : x*2 : x/2");
  }
  return {section};
}

void Prepare(conversion::TUnitConversion& conversion, const std::vector<TCnvSection>* sections) {
  if (sections == nullptr) {
    conversion::LoadDefaultTable(conversion.EditTable());
  } else {
    conversion::ReadSections(*sections, conversion.EditTable());
    conversion::TRecList& list = conversion.EditTable().At(0).list;
    for (int k = 0; list.UnitCount() < 400; ++k)
      list.AddUnit(UnitName(k), 20, 20);
  }
  conversion.Check();
}

void ConvPathsOf(benchmark::State& state, const std::vector<TCnvSection>* sections) {
  TSilentPrompt prompt;
  conversion::TUnitConversion conversion(prompt);
  Prepare(conversion, sections);
  for (auto _ : state) {
    conversion.ConvPaths();
    benchmark::ClobberMemory();
  }
}

void BM_ConvPathsDefaultTable(benchmark::State& state) {
  ConvPathsOf(state, nullptr);
}

void BM_ConvPathsLimitChain(benchmark::State& state) {
  const std::vector<TCnvSection> sections = LimitCategory(true);
  ConvPathsOf(state, &sections);
}

void BM_ConvPathsLimitRandom(benchmark::State& state) {
  const std::vector<TCnvSection> sections = LimitCategory(false);
  ConvPathsOf(state, &sections);
}

// The level search for every ordered pair, as ConvPaths would run it without the one-pass
// search per start unit. (On the 400-unit chain one such round takes over a minute.)
void LevelSearchOf(benchmark::State& state, const std::vector<TCnvSection>* sections) {
  TSilentPrompt prompt;
  conversion::TUnitConversion conversion(prompt);
  Prepare(conversion, sections);
  for (auto _ : state) {
    for (std::int32_t c = 0; c < conversion.Table().Count(); ++c) {
      conversion::TUnitGraph graph;
      graph.DefineGraph(conversion.Table().At(c).list);
      for (std::int32_t u = 1; u <= graph.VertexCount(); ++u) {
        for (std::int32_t v = 1; v <= graph.VertexCount(); ++v) {
          benchmark::DoNotOptimize(graph.AllDrumMin(u, v));
        }
      }
    }
  }
}

void BM_LevelSearchDefaultTable(benchmark::State& state) {
  LevelSearchOf(state, nullptr);
}

}  // namespace

BENCHMARK(BM_ConvPathsDefaultTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvPathsLimitChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvPathsLimitRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelSearchDefaultTable)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
