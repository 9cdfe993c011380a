// The benchmark expressions, the generated texts and the evaluation points.
#include "bench_cases.h"

#include <array>
#include <cmath>
#include <vector>

namespace bench {
namespace {

struct TCase {
  const char* ours;
  const char* peer;
  TNativeFunction native;
};

constexpr double kPi = 3.14159265358979323846;

// muParser spells arctan "atan" and pi "_pi"; everything else here reads the same in both. The
// C++ forms are what a programmer would write (a cube as two products).
constexpr TCase kTypical[] = {
    {"x*x+2*x+1", "x*x+2*x+1", [](double x, double, double) { return x * x + 2 * x + 1; }},
    {"sin(x)^2+cos(x)^2", "sin(x)^2+cos(x)^2",
     [](double x, double, double) {
       const double s = std::sin(x), c = std::cos(x);
       return s * s + c * c;
     }},
    {"(x+1)/(x-1)*(x+2)/(x-2)", "(x+1)/(x-1)*(x+2)/(x-2)",
     [](double x, double, double) { return (x + 1) / (x - 1) * (x + 2) / (x - 2); }},
    {"exp(-x*x/2)/sqrt(2*pi)", "exp(-x*x/2)/sqrt(2*_pi)",
     [](double x, double, double) { return std::exp(-x * x / 2) / std::sqrt(2 * kPi); }},
    {"sqrt(x*x+y*y+z*z)", "sqrt(x*x+y*y+z*z)",
     [](double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }},
    {"abs(sin(x))+abs(cos(y))", "abs(sin(x))+abs(cos(y))",
     [](double x, double y, double) { return std::fabs(std::sin(x)) + std::fabs(std::cos(y)); }},
    {"ln(1+x*x)-arctan(x)", "ln(1+x*x)-atan(x)",
     [](double x, double, double) { return std::log(1 + x * x) - std::atan(x); }},
    {"max(x,y,z)-min(x,y,z)", "max(x,y,z)-min(x,y,z)",
     [](double x, double y, double z) {
       return std::fmax(std::fmax(x, y), z) - std::fmin(std::fmin(x, y), z);
     }},
    {"x^3-3*x^2+3*x-1", "x^3-3*x^2+3*x-1",
     [](double x, double, double) { return x * x * x - 3 * x * x + 3 * x - 1; }},
    {"1/(1+exp(-x))", "1/(1+exp(-x))",
     [](double x, double, double) { return 1 / (1 + std::exp(-x)); }},
    {"(x+y+z)/3*(x-y)*(y-z)*(z-x)", "(x+y+z)/3*(x-y)*(y-z)*(z-x)",
     [](double x, double y, double z) { return (x + y + z) / 3 * (x - y) * (y - z) * (z - x); }},
    {"sinh(x)*cosh(y)-tanh(z)", "sinh(x)*cosh(y)-tanh(z)",
     [](double x, double y, double z) { return std::sinh(x) * std::cosh(y) - std::tanh(z); }},
};

// Eight more terms for the sum of twenty: the first ones again in other variables, so that no
// term repeats another and sharing cannot drop one.
constexpr TCase kMoreTerms[] = {
    {"y*y+2*y+1", "y*y+2*y+1", [](double, double y, double) { return y * y + 2 * y + 1; }},
    {"sin(y)^2+cos(z)^2", "sin(y)^2+cos(z)^2",
     [](double, double y, double z) {
       const double s = std::sin(y), c = std::cos(z);
       return s * s + c * c;
     }},
    {"(y+1)/(y-1)*(y+2)/(y-2)", "(y+1)/(y-1)*(y+2)/(y-2)",
     [](double, double y, double) { return (y + 1) / (y - 1) * (y + 2) / (y - 2); }},
    {"exp(-y*y/2)/sqrt(2*pi)", "exp(-y*y/2)/sqrt(2*_pi)",
     [](double, double y, double) { return std::exp(-y * y / 2) / std::sqrt(2 * kPi); }},
    {"abs(sin(z))+abs(cos(x))", "abs(sin(z))+abs(cos(x))",
     [](double x, double, double z) { return std::fabs(std::sin(z)) + std::fabs(std::cos(x)); }},
    {"ln(1+y*y)-arctan(z)", "ln(1+y*y)-atan(z)",
     [](double, double y, double z) { return std::log(1 + y * y) - std::atan(z); }},
    {"z^3-3*z^2+3*z-1", "z^3-3*z^2+3*z-1",
     [](double, double, double z) { return z * z * z - 3 * z * z + 3 * z - 1; }},
    {"1/(1+exp(-z))", "1/(1+exp(-z))",
     [](double, double, double z) { return 1 / (1 + std::exp(-z)); }},
};

double SumOfTwenty(double x, double y, double z) {
  double sum = 0;
  for (const TCase& term : kTypical)
    sum += term.native(x, y, z);
  for (const TCase& term : kMoreTerms)
    sum += term.native(x, y, z);
  return sum;
}

constexpr TCase kHundredCharacters = {
    "sin(x)^2+cos(y)^2+exp(-x*x/2)/sqrt(2*pi)+ln(1+z*z)-arctan(x*y)+max(x,y,z)-min(x,y,z)+"
    "sinh(x)*cosh(y)",
    "sin(x)^2+cos(y)^2+exp(-x*x/2)/sqrt(2*_pi)+ln(1+z*z)-atan(x*y)+max(x,y,z)-min(x,y,z)+"
    "sinh(x)*cosh(y)",
    [](double x, double y, double z) {
      const double s = std::sin(x), c = std::cos(y);
      return s * s + c * c + std::exp(-x * x / 2) / std::sqrt(2 * kPi) + std::log(1 + z * z) -
             std::atan(x * y) + std::fmax(std::fmax(x, y), z) - std::fmin(std::fmin(x, y), z) +
             std::sinh(x) * std::cosh(y);
    },
};

// ExprTk reads muParser's texts but for two names: it spells pi "pi" and ln "log".
std::string ExprtkText(std::string text) {
  for (std::size_t at = 0; (at = text.find("_pi", at)) != std::string::npos;)
    text.erase(at, 1);
  for (std::size_t at = 0; (at = text.find("ln(", at)) != std::string::npos; at += 4)
    text.replace(at, 2, "log");
  return text;
}

TBenchExpression Expression(std::string name, const TCase& e) {
  return {std::move(name), e.ours, e.peer, ExprtkText(e.peer), e.native};
}

std::vector<TBenchExpression> MakeExpressions() {
  std::vector<TBenchExpression> list;
  std::string ours, peer;
  auto addTerm = [&](const TCase& term) {
    if (!ours.empty()) {
      ours += '+';
      peer += '+';
    }
    ours += std::string("(") + term.ours + ")";
    peer += std::string("(") + term.peer + ")";
  };
  for (const TCase& e : kTypical) {
    list.push_back(Expression(e.ours, e));
    addTerm(e);
  }
  for (const TCase& e : kMoreTerms)
    addTerm(e);
  list.push_back({"sum of 20 terms", ours, peer, ExprtkText(peer), &SumOfTwenty});
  list.push_back(Expression("100-character expression", kHundredCharacters));
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
