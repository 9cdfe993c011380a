// Times "CubicSpline" on a sheet of 100,000 points: the first call, which reads the cells,
// sorts the points and solves the spline, and the later calls on the unchanged sheet, called
// directly and from a compiled expression as a function table runs it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/calculator_core.h"
#include "app/user_prompt.h"
#include "evaluator/value.h"
#include "interpolation/interpolation_sheets.h"

namespace {

using evaluator::TEvalValue;

constexpr std::size_t kPoints = 100000;

class TQuietPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
};

// A core with sheet 1 holding kPoints points of a smooth curve, as a ".dat" file would give
// them: texts of 17 significant digits, rows in a shuffled order.
struct TFixture {
  TQuietPrompt prompt;
  app::TCalculatorCore core{prompt};
  interpolation::TInterpolationSheets sheets{core};

  TFixture() {
    std::vector<interpolation::TSheetRow> rows(kPoints);
    char text[32];
    for (std::size_t k = 0; k < kPoints; ++k) {
      const double x = static_cast<double>(k) / 100;
      std::snprintf(text, sizeof text, "%.17g", x);
      rows[k].x = text;
      std::snprintf(text, sizeof text, "%.17g", std::sin(x) * 100);
      rows[k].fx = text;
    }
    std::shuffle(rows.begin(), rows.end(), std::mt19937(1));
    sheets.Sheet(0).SetRows(std::move(rows));
  }

  double Call(double x) {
    const TEvalValue argument = TEvalValue::Real(x);
    const TEvalValue number = TEvalValue::Real(1);
    const TEvalValue* arguments[] = {&argument, &number};
    TEvalValue result;
    sheets.CubicSpline(arguments, 2, result);
    return result.real;
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_CubicSplineFirstCall(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    f.sheets.Sheet(0).MarkChanged();
    benchmark::DoNotOptimize(f.Call(123.456));
  }
}
BENCHMARK(BM_CubicSplineFirstCall)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CubicSplineLaterCall(benchmark::State& state) {
  TFixture& f = Fixture();
  f.Call(0);
  double x = 0;
  for (auto _ : state) {
    x = x < 999 ? x + 0.37 : 0;
    benchmark::DoNotOptimize(f.Call(x));
  }
}
BENCHMARK(BM_CubicSplineLaterCall);

// The expression parsed once and run with a new x each time, as a function table does.
void BM_CubicSplineInExpression(benchmark::State& state) {
  TFixture& f = Fixture();
  f.Call(0);
  TEvalValue x = TEvalValue::Real(0);
  evaluator::TTalvekComplexEval& eval = *f.core.ExpressionsEval;
  eval.VerifySyntaxSemanticsPointerVar("CubicSpline(x,1)", {{"x", &x, false}}, false);
  if (eval.ErrorFlag) state.SkipWithError("parse failed");
  TEvalValue result;
  for (auto _ : state) {
    x.real = x.real < 999 ? x.real + 0.37 : 0;
    eval.DoMathExpression(result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CubicSplineInExpression);

}  // namespace

BENCHMARK_MAIN();
