// Gaussian elimination with partial pivoting over the evaluator's values, so that real and
// complex systems take one path, and the text form in which the solver prints matrices.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "evaluator/value.h"

namespace linsys {

using evaluator::TEvalValue;
using TValueVector = std::vector<TEvalValue>;

// A square matrix of values, row by row.
class TValueMatrix {
 public:
  TValueMatrix() = default;
  explicit TValueMatrix(std::size_t size, TEvalValue fill = TEvalValue::Real(0))
      : size_(size), cells_(size * size, fill) {}

  std::size_t Size() const { return size_; }
  TEvalValue& operator()(std::size_t row, std::size_t column) {
    return cells_[row * size_ + column];
  }
  const TEvalValue& operator()(std::size_t row, std::size_t column) const {
    return cells_[row * size_ + column];
  }
  std::span<TEvalValue> Row(std::size_t row) { return {cells_.data() + row * size_, size_}; }
  std::span<const TEvalValue> Row(std::size_t row) const {
    return {cells_.data() + row * size_, size_};
  }
  void SwapRows(std::size_t a, std::size_t b, std::size_t fromColumn);

 private:
  std::size_t size_ = 0;
  std::vector<TEvalValue> cells_;
};

// The determinant tolerance used when the setting is not a positive finite number.
inline constexpr double kDefaultDetTolerance = 1e-16;
inline constexpr std::string_view kBadConditioned = "System is bad conditioned";

// The tolerance in force for a configured value.
double EffectiveTolerance(double configured);

// The magnitude by which pivots are chosen and the determinant is tested: the absolute value of
// a real or currency, the modulus of a complex value, NaN for anything else.
double Magnitude(const TEvalValue& value);

// A coefficient matrix brought to upper triangular form once, so that any number of right-hand
// sides are solved with exactly the operations a fresh elimination would apply to them. Rows are
// exchanged for the largest pivot (the earliest row on ties), and the running product of the
// pivots, the determinant, must stay above the tolerance at every step: a system whose
// determinant is tiny is refused even when it is well conditioned.
class TEliminatedSystem {
 public:
  TEliminatedSystem(const TValueMatrix& a, double tolerance);

  // "System is bad conditioned" or the text of an arithmetic failure; nothing when the
  // elimination went through.
  const std::optional<std::string>& Failure() const { return failure_; }
  const TEvalValue& Determinant() const { return determinant_; }

  // Solves A·X = b by forward elimination of b and back substitution. Returns nothing on
  // success, else the failure's text (X then keeps what it held).
  std::optional<std::string> Solve(const TValueVector& b, TValueVector& x) const;

 private:
  void Eliminate(double tolerance);

  // On and above the diagonal the eliminated rows; below it, at (j, i), the entry of row j in
  // column i when step i eliminated it, which the right-hand side's elimination needs again.
  TValueMatrix w_;
  // The row exchanged with row i at step i (i itself when none was).
  std::vector<std::size_t> pivotRows_;
  TEvalValue determinant_ = TEvalValue::Real(1);
  std::optional<std::string> failure_;
};

// SolveSystem: X preset to NaN, then filled, and D the determinant. Returns nothing on success,
// else the message to show ("System is bad conditioned" or an arithmetic failure's text).
std::optional<std::string> SolveSystem(const TValueMatrix& a, const TValueVector& b,
                                       double tolerance, TValueVector& x, TEvalValue& d);

// A real in exponent form with 18 significant digits and an exponent of at least one digit
// ("1.00000000000000000E+0", "-2.50000000000000000E-12"); "NAN", "INF" and "-INF" as the
// calculator writes them elsewhere.
std::string ExponentText(double x);
// A matrix entry: a real (a currency as its amount) in exponent form, a complex value as
// "Complex(" + real part + ", " + imaginary part + ")" in that form; anything else as the
// evaluator writes it.
std::string MatrixEntryText(const TEvalValue& value);
// One line of a printed matrix: every entry followed by three blanks.
std::string MatrixLine(std::span<const TEvalValue> entries);

}  // namespace linsys
