// The work the evaluators are timed on: expressions written in each one's syntax with the same
// expression compiled as plain C++, and texts generated to a given size for the parse-scaling
// runs.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace bench {

// The expression compiled as C++, the floor every evaluator is measured against.
using TNativeFunction = double (*)(double x, double y, double z);

// One expression in x, y and z, as this evaluator, muParser and ExprTk write it, and as C++.
struct TBenchExpression {
  std::string name;  // the row label: our text, or a short description for long ones
  std::string ours;
  std::string peer;    // muParser
  std::string exprtk;  // ExprTk
  TNativeFunction native = nullptr;
};

// The twelve typical expressions, a sum of twenty such terms and a 100-character expression.
std::span<const TBenchExpression> Expressions();

enum class TTextShape { kSum, kVector, kNestedCalls };

// "x+y+z+x+...", "x,y,z,x,..." or "sin(sin(...sin(x)...))", about `bytes` characters long.
std::string GeneratedText(TTextShape shape, std::size_t bytes);
std::string_view ShapeName(TTextShape shape);

// Values for x, y and z that the evaluation runs cycle through (kPointCount of each, all in
// (0, 1), where no expression above faults).
inline constexpr std::size_t kPointCount = 1024;
struct TPoint {
  double x, y, z;
};
std::span<const TPoint> Points();

}  // namespace bench
