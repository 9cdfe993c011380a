// ExprTk timed on the benchmark's cases: evaluation after one compile, compile alone, and the
// function table as a loop over one compiled expression.
#include "exprtk_peer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "bench_cases.h"

// Neither feature takes part in the benchmark; leaving them out shortens the compile.
#define exprtk_disable_string_capabilities
#define exprtk_disable_rtl_io_file
#include <exprtk.hpp>

namespace bench {
namespace {

constexpr int kTablePoints = 100000;
constexpr double kTableStep = 1e-4;

struct TExprtk {
  double x = 0.5, y = 0.5, z = 0.5;
  exprtk::symbol_table<double> symbols;
  exprtk::expression<double> expression;
  exprtk::parser<double> parser;

  TExprtk() {
    symbols.add_variable("x", x);
    symbols.add_variable("y", y);
    symbols.add_variable("z", z);
    symbols.add_constants();
    expression.register_symbol_table(symbols);
  }

  bool Compile(const std::string& text) { return parser.compile(text, expression); }
};

void Evaluate(benchmark::State& state, const std::string& text) {
  TExprtk peer;
  if (!peer.Compile(text)) return state.SkipWithError(peer.parser.error().c_str());
  const auto points = Points();
  std::size_t k = 0;
  for (auto _ : state) {
    peer.x = points[k].x;
    peer.y = points[k].y;
    peer.z = points[k].z;
    k = (k + 1) % points.size();
    benchmark::DoNotOptimize(peer.expression.value());
  }
}

// As for the other evaluators, the first compile is not timed: the memory is already there.
void Parse(benchmark::State& state, const std::string& text) {
  TExprtk peer;
  if (!peer.Compile(text)) return state.SkipWithError(peer.parser.error().c_str());
  for (auto _ : state) {
    benchmark::DoNotOptimize(peer.Compile(text));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Table(benchmark::State& state) {
  TExprtk peer;
  if (!peer.Compile("sin(x)*exp(-x)")) return state.SkipWithError(peer.parser.error().c_str());
  for (auto _ : state) {
    double total = 0;
    for (int i = 0; i < kTablePoints; ++i) {
      peer.x = i * kTableStep;
      total += peer.expression.value();
    }
    benchmark::DoNotOptimize(total);
  }
}

bool Agrees() {
  bool agree = true;
  for (const TBenchExpression& e : Expressions()) {
    TExprtk peer;
    if (!peer.Compile(e.exprtk)) {
      std::fprintf(stderr, "%s in ExprTk: %s\n", e.name.c_str(), peer.parser.error().c_str());
      agree = false;
      continue;
    }
    for (std::size_t k = 0; k < 16; ++k) {
      const TPoint& p = Points()[k];
      peer.x = p.x;
      peer.y = p.y;
      peer.z = p.z;
      const double value = peer.expression.value();
      const double expected = e.native(p.x, p.y, p.z);
      if (!(std::fabs(value - expected) <= 1e-12 * std::fmax(1.0, std::fabs(expected)))) {
        std::fprintf(stderr, "%s: %.17g in ExprTk, %.17g in C++\n", e.name.c_str(), value,
                     expected);
        agree = false;
        break;
      }
    }
  }
  return agree;
}

}  // namespace

bool RegisterExprtk() {
  if (!Agrees()) return false;
  for (const TBenchExpression& e : Expressions())
    benchmark::RegisterBenchmark(("eval/exprtk/" + e.name).c_str(), Evaluate, e.exprtk);
  for (const TBenchExpression& e : Expressions())
    benchmark::RegisterBenchmark(("parse/exprtk/" + e.name).c_str(), Parse, e.exprtk);
  benchmark::RegisterBenchmark("table/exprtk/f(x)~sin(x)*exp(-x), 100000 points", Table)
      ->Unit(benchmark::kMicrosecond);
  return true;
}

}  // namespace bench
