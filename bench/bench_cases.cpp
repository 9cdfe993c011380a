// The benchmark expressions, the generated texts and the evaluation points.
#include "bench_cases.h"

#include <array>
#include <cmath>
#include <vector>

namespace bench {
namespace {

struct TPair {
  const char* ours;
  const char* peer;
};

// muParser spells arctan "atan" and pi "_pi"; everything else here reads the same in both.
constexpr TPair kTypical[] = {
    {"x*x+2*x+1", "x*x+2*x+1"},
    {"sin(x)^2+cos(x)^2", "sin(x)^2+cos(x)^2"},
    {"(x+1)/(x-1)*(x+2)/(x-2)", "(x+1)/(x-1)*(x+2)/(x-2)"},
    {"exp(-x*x/2)/sqrt(2*pi)", "exp(-x*x/2)/sqrt(2*_pi)"},
    {"sqrt(x*x+y*y+z*z)", "sqrt(x*x+y*y+z*z)"},
    {"abs(sin(x))+abs(cos(y))", "abs(sin(x))+abs(cos(y))"},
    {"ln(1+x*x)-arctan(x)", "ln(1+x*x)-atan(x)"},
    {"max(x,y,z)-min(x,y,z)", "max(x,y,z)-min(x,y,z)"},
    {"x^3-3*x^2+3*x-1", "x^3-3*x^2+3*x-1"},
    {"1/(1+exp(-x))", "1/(1+exp(-x))"},
    {"(x+y+z)/3*(x-y)*(y-z)*(z-x)", "(x+y+z)/3*(x-y)*(y-z)*(z-x)"},
    {"sinh(x)*cosh(y)-tanh(z)", "sinh(x)*cosh(y)-tanh(z)"},
};

// Eight more terms for the sum of twenty: the first ones again in other variables, so that no
// term repeats another and sharing cannot drop one.
constexpr TPair kMoreTerms[] = {
    {"y*y+2*y+1", "y*y+2*y+1"},
    {"sin(y)^2+cos(z)^2", "sin(y)^2+cos(z)^2"},
    {"(y+1)/(y-1)*(y+2)/(y-2)", "(y+1)/(y-1)*(y+2)/(y-2)"},
    {"exp(-y*y/2)/sqrt(2*pi)", "exp(-y*y/2)/sqrt(2*_pi)"},
    {"abs(sin(z))+abs(cos(x))", "abs(sin(z))+abs(cos(x))"},
    {"ln(1+y*y)-arctan(z)", "ln(1+y*y)-atan(z)"},
    {"z^3-3*z^2+3*z-1", "z^3-3*z^2+3*z-1"},
    {"1/(1+exp(-z))", "1/(1+exp(-z))"},
};

constexpr TPair kHundredCharacters = {
    "sin(x)^2+cos(y)^2+exp(-x*x/2)/sqrt(2*pi)+ln(1+z*z)-arctan(x*y)+max(x,y,z)-min(x,y,z)+"
    "sinh(x)*cosh(y)",
    "sin(x)^2+cos(y)^2+exp(-x*x/2)/sqrt(2*_pi)+ln(1+z*z)-atan(x*y)+max(x,y,z)-min(x,y,z)+"
    "sinh(x)*cosh(y)",
};

std::vector<TBenchExpression> MakeExpressions() {
  std::vector<TBenchExpression> list;
  TBenchExpression sum{"sum of 20 terms", "", ""};
  auto addTerm = [&](const TPair& term) {
    if (!sum.ours.empty()) {
      sum.ours += '+';
      sum.peer += '+';
    }
    sum.ours += std::string("(") + term.ours + ")";
    sum.peer += std::string("(") + term.peer + ")";
  };
  for (const TPair& e : kTypical) {
    list.push_back({e.ours, e.ours, e.peer});
    addTerm(e);
  }
  for (const TPair& e : kMoreTerms)
    addTerm(e);
  list.push_back(std::move(sum));
  list.push_back({"100-character expression", kHundredCharacters.ours, kHundredCharacters.peer});
  return list;
}

}  // namespace

std::span<const TBenchExpression> Expressions() {
  static const std::vector<TBenchExpression> list = MakeExpressions();
  return list;
}

std::string GeneratedText(TTextShape shape, std::size_t bytes) {
  static constexpr const char* kNames[] = {"x", "y", "z"};
  std::string text;
  text.reserve(bytes + 8);
  if (shape == TTextShape::kNestedCalls) {
    const std::size_t depth = bytes / 5;  // "sin(" and ")" per level
    for (std::size_t k = 0; k < depth; ++k)
      text += "sin(";
    text += 'x';
    text.append(depth, ')');
    return text;
  }
  const char separator = shape == TTextShape::kSum ? '+' : ',';
  for (std::size_t k = 0; text.size() < bytes; ++k) {
    if (k > 0) text += separator;
    text += kNames[k % 3];
  }
  return text;
}

std::string_view ShapeName(TTextShape shape) {
  switch (shape) {
    case TTextShape::kSum:
      return "sum";
    case TTextShape::kVector:
      return "vector";
    case TTextShape::kNestedCalls:
      return "nested calls";
  }
  return "";
}

std::span<const TPoint> Points() {
  static const std::array<TPoint, kPointCount> points = [] {
    std::array<TPoint, kPointCount> p{};
    // Low-discrepancy steps keep consecutive points apart, so no run reuses a cached result.
    for (std::size_t k = 0; k < kPointCount; ++k) {
      const auto n = static_cast<double>(k + 1);
      p[k] = {0.05 + 0.9 * std::fmod(n * 0.6180339887498949, 1.0),
              0.05 + 0.9 * std::fmod(n * 0.7548776662466927, 1.0),
              0.05 + 0.9 * std::fmod(n * 0.5698402909980532, 1.0)};
    }
    return p;
  }();
  return points;
}

}  // namespace bench
