// Times this evaluator against muParser, ExprTk (when the build found its header) and the same
// expressions compiled as C++, in one process: evaluation after one parse, parse and compile,
// parse time against text size, a 100,000-point function table and deep recursion.
// Benchmark names are "<group>/<ours|muparser|exprtk|native>/<case>"; bench/format_results.py
// lines them up.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_cases.h"
#ifdef CALC_HAVE_EXPRTK
#include "exprtk_peer.h"
#endif
#include "evaluator/complex_eval.h"

namespace {

using bench::Points;
using bench::TTextShape;
using evaluator::TEvalValue;
using evaluator::TTalvekComplexEval;

constexpr int kTablePoints = 100000;
constexpr double kTableStep = 1e-4;

// This evaluator with x, y and z held in the caller's cells, so that nothing folds away.
struct TOurs {
  TEvalValue x = TEvalValue::Real(0.5);
  TEvalValue y = TEvalValue::Real(0.5);
  TEvalValue z = TEvalValue::Real(0.5);
  evaluator::TUserVarArray variables{{"x", &x, false}, {"y", &y, false}, {"z", &z, false}};
  TTalvekComplexEval eval;

  bool Parse(const std::string& text) {
    eval.VerifySyntaxSemanticsPointerVar(text, variables, false);
    return !eval.ErrorFlag;
  }
};

// muParser with the same three variables.
struct TPeer {
  double x = 0.5, y = 0.5, z = 0.5;
  mu::Parser parser;

  TPeer() {
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
  }
};

void EvaluateOurs(benchmark::State& state, const std::string& text) {
  TOurs ours;
  if (!ours.Parse(text)) return state.SkipWithError(ours.eval.ErrorMessage.c_str());
  const auto points = Points();
  std::size_t k = 0;
  TEvalValue result;
  for (auto _ : state) {
    ours.x.real = points[k].x;
    ours.y.real = points[k].y;
    ours.z.real = points[k].z;
    k = (k + 1) % points.size();
    ours.eval.DoMathExpression(result);
    benchmark::DoNotOptimize(result);
  }
  if (ours.eval.ErrorFlag) state.SkipWithError(ours.eval.ErrorMessage.c_str());
}

// The same expression as C++, called through a pointer as an evaluator's entry point is.
void EvaluateNative(benchmark::State& state, bench::TNativeFunction function) {
  const auto points = Points();
  std::size_t k = 0;
  for (auto _ : state) {
    const bench::TPoint& p = points[k];
    k = (k + 1) % points.size();
    benchmark::DoNotOptimize(function(p.x, p.y, p.z));
  }
}

void EvaluatePeer(benchmark::State& state, const std::string& text) {
  TPeer peer;
  peer.parser.SetExpr(text);
  const auto points = Points();
  std::size_t k = 0;
  try {
    for (auto _ : state) {
      peer.x = points[k].x;
      peer.y = points[k].y;
      peer.z = points[k].z;
      k = (k + 1) % points.size();
      benchmark::DoNotOptimize(peer.parser.Eval());
    }
  } catch (const mu::Parser::exception_type& e) {
    state.SkipWithError(e.GetMsg().c_str());
  }
}

// Both parsers parse the text once before timing starts: the calculator re-parses with the
// same evaluator on every keystroke, so the memory a parse uses is already there.
void ParseOurs(benchmark::State& state, const std::string& text) {
  TOurs ours;
  ours.Parse(text);
  for (auto _ : state) {
    ours.Parse(text);
  }
  if (ours.eval.ErrorFlag) state.SkipWithError(ours.eval.ErrorMessage.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// muParser compiles to its bytecode on the first evaluation after SetExpr, so one evaluation
// (some tens of nanoseconds) is part of its parse time.
void ParsePeer(benchmark::State& state, const std::string& text) {
  TPeer peer;
  try {
    peer.parser.SetExpr(text);
    peer.parser.Eval();
    for (auto _ : state) {
      peer.parser.SetExpr(text);
      benchmark::DoNotOptimize(peer.parser.Eval());
    }
  } catch (const mu::Parser::exception_type& e) {
    state.SkipWithError(e.GetMsg().c_str());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void TableOurs(benchmark::State& state) {
  TOurs ours;
  if (!ours.Parse("f(x)~sin(x)*exp(-x), f(0)"))
    return state.SkipWithError(ours.eval.ErrorMessage.c_str());
  evaluator::TUserValuesArray values(1);
  TEvalValue result;
  for (auto _ : state) {
    double total = 0;
    for (int i = 0; i < kTablePoints; ++i) {
      values[0] = TEvalValue::Real(i * kTableStep);
      ours.eval.DoRunTimeFunction(0, values, result);
      total += result.real;
    }
    benchmark::DoNotOptimize(total);
  }
  if (ours.eval.ErrorFlag) state.SkipWithError(ours.eval.ErrorMessage.c_str());
}

void TablePeer(benchmark::State& state) {
  TPeer peer;
  peer.parser.SetExpr("sin(x)*exp(-x)");
  for (auto _ : state) {
    double total = 0;
    for (int i = 0; i < kTablePoints; ++i) {
      peer.x = i * kTableStep;
      total += peer.parser.Eval();
    }
    benchmark::DoNotOptimize(total);
  }
}

[[gnu::noinline]] double TableFunction(double x) {
  return std::sin(x) * std::exp(-x);
}

void TableNative(benchmark::State& state) {
  for (auto _ : state) {
    double total = 0;
    for (int i = 0; i < kTablePoints; ++i)
      total += TableFunction(i * kTableStep);
    benchmark::DoNotOptimize(total);
  }
}

void Recursion(benchmark::State& state, const std::string& text, double expected) {
  TEvalValue n = TEvalValue::Real(0);
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsPointerVar(text, {{"n", &n, false}}, false);
  if (eval.ErrorFlag) return state.SkipWithError(eval.ErrorMessage.c_str());
  TEvalValue** results = nullptr;
  for (auto _ : state) {
    results = eval.DoVectorOfMathExpressions();
    benchmark::DoNotOptimize(results);
  }
  if (results == nullptr) return state.SkipWithError(eval.ErrorMessage.c_str());
  const double value = results[eval.ResultCount - 1]->real;
  if (std::fabs(value - expected) > 1e-12 * std::fabs(expected))
    state.SkipWithError("wrong result");
}

// A table of a recursive function as the function-table window makes it: Fact(n) for n = 0 ..
// 20 through DoRunTimeFunction, 231 calls in all.
void RecursiveTableOurs(benchmark::State& state) {
  TEvalValue n = TEvalValue::Real(0);
  TTalvekComplexEval eval;
  eval.VerifySyntaxSemanticsPointerVar("Fact(n)~if(eq(n,0),1,n*Fact(n-1)), Fact(1)",
                                       {{"n", &n, false}}, false);
  if (eval.ErrorFlag) return state.SkipWithError(eval.ErrorMessage.c_str());
  evaluator::TUserValuesArray values(1);
  TEvalValue result;
  for (auto _ : state) {
    double total = 0;
    for (int i = 0; i <= 20; ++i) {
      values[0] = TEvalValue::Real(i);
      eval.DoRunTimeFunction(0, values, result);
      total += result.real;
    }
    benchmark::DoNotOptimize(total);
  }
  if (eval.ErrorFlag) state.SkipWithError(eval.ErrorMessage.c_str());
}

[[gnu::noinline]] double NativeFact(double n) {
  return n == 0 ? 1 : n * NativeFact(n - 1);
}

[[gnu::noinline]] double NativeCnt(double n) {
  return n == 0 ? 0 : 1 + NativeCnt(n - 1);
}

void RecursionNative(benchmark::State& state, double (*function)(double), double n) {
  for (auto _ : state)
    benchmark::DoNotOptimize(function(n));
}

// Both evaluators must compute the same values, or the comparison means nothing: a wrong
// translation into the peer's syntax shows up here rather than as a surprising ratio.
bool ResultsAgree() {
  bool agree = true;
  for (const bench::TBenchExpression& e : bench::Expressions()) {
    TOurs ours;
    TPeer peer;
    if (!ours.Parse(e.ours)) {
      std::fprintf(stderr, "%s: %s\n", e.name.c_str(), ours.eval.ErrorMessage.c_str());
      agree = false;
      continue;
    }
    peer.parser.SetExpr(e.peer);
    for (std::size_t k = 0; k < 16; ++k) {
      const bench::TPoint& p = Points()[k];
      ours.x.real = peer.x = p.x;
      ours.y.real = peer.y = p.y;
      ours.z.real = peer.z = p.z;
      TEvalValue ourValue;
      ours.eval.DoMathExpression(ourValue);
      double peerValue = 0;
      try {
        peerValue = peer.parser.Eval();
      } catch (const mu::Parser::exception_type& error) {
        std::fprintf(stderr, "%s: %s\n", e.name.c_str(), error.GetMsg().c_str());
        agree = false;
        break;
      }
      const double nativeValue = e.native(p.x, p.y, p.z);
      const auto near = [](double a, double b) {
        return std::fabs(a - b) <= 1e-12 * std::fmax(1.0, std::fabs(b));
      };
      if (ours.eval.ErrorFlag || !ourValue.IsReal() || !near(ourValue.real, peerValue) ||
          !near(ourValue.real, nativeValue)) {
        std::fprintf(stderr, "%s: %.17g here, %.17g in muParser, %.17g in C++\n", e.name.c_str(),
                     ourValue.real, peerValue, nativeValue);
        agree = false;
        break;
      }
    }
  }
  return agree;
}

void RegisterAll() {
  for (const bench::TBenchExpression& e : bench::Expressions()) {
    benchmark::RegisterBenchmark(("eval/ours/" + e.name).c_str(), EvaluateOurs, e.ours);
    benchmark::RegisterBenchmark(("eval/muparser/" + e.name).c_str(), EvaluatePeer, e.peer);
    benchmark::RegisterBenchmark(("eval/native/" + e.name).c_str(), EvaluateNative, e.native);
  }
  for (const bench::TBenchExpression& e : bench::Expressions()) {
    benchmark::RegisterBenchmark(("parse/ours/" + e.name).c_str(), ParseOurs, e.ours);
    benchmark::RegisterBenchmark(("parse/muparser/" + e.name).c_str(), ParsePeer, e.peer);
  }
  for (const TTextShape shape : {TTextShape::kSum, TTextShape::kVector, TTextShape::kNestedCalls}) {
    for (const std::size_t kilobytes : {10, 100, 1000}) {
      const std::string name = "scaling/ours/" + std::string(bench::ShapeName(shape)) + "/" +
                               std::to_string(kilobytes) + " KB";
      benchmark::RegisterBenchmark(name.c_str(), ParseOurs,
                                   bench::GeneratedText(shape, kilobytes * 1000))
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RegisterBenchmark("table/ours/f(x)~sin(x)*exp(-x), 100000 points", TableOurs)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("table/muparser/f(x)~sin(x)*exp(-x), 100000 points", TablePeer)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("table/native/f(x)~sin(x)*exp(-x), 100000 points", TableNative)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("recursion/ours/Fact(170)", Recursion,
                               std::string("Fact(n)~if(eq(n,0),1,n*Fact(n-1)), Fact(170)"),
                               7.257415615307994e306);
  benchmark::RegisterBenchmark("recursion/ours/Cnt(199)", Recursion,
                               std::string("Cnt(n)~if(eq(n,0),0,1+Cnt(n-1)), Cnt(199)"), 199.0);
  benchmark::RegisterBenchmark("recursion/native/Fact(170)", RecursionNative, &NativeFact, 170.0);
  benchmark::RegisterBenchmark("recursion/native/Cnt(199)", RecursionNative, &NativeCnt, 199.0);
  benchmark::RegisterBenchmark("recursion/ours/Fact(0..20) by DoRunTimeFunction",
                               RecursiveTableOurs);
}

}  // namespace

int main(int argc, char** argv) {
  if (!ResultsAgree()) return 1;
  RegisterAll();
#ifdef CALC_HAVE_EXPRTK
  if (!bench::RegisterExprtk()) return 1;
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
