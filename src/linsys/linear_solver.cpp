// The elimination, the substitution and the matrix text form.
#include "linsys/linear_solver.h"

#include "evaluator/eval_errors.h"

#include <charconv>
#include <cmath>
#include <complex>
#include <exception>
#include <limits>
#include <utility>

namespace linsys {

using evaluator::Divide;
using evaluator::Multiply;
using evaluator::Subtract;

void TValueMatrix::SwapRows(std::size_t a, std::size_t b, std::size_t fromColumn) {
  for (std::size_t k = fromColumn; k < size_; ++k)
    std::swap((*this)(a, k), (*this)(b, k));
}

double EffectiveTolerance(double configured) {
  return std::isfinite(configured) && configured > 0 ? configured : kDefaultDetTolerance;
}

double Magnitude(const TEvalValue& value) {
  if (value.IsComplex()) return std::hypot(value.complex.re, value.complex.im);
  if (value.IsRealOrCurrency()) return std::fabs(value.AsDouble());
  return std::numeric_limits<double>::quiet_NaN();
}

namespace {

// The running product of the pivots. Its range is no limit on what can be solved: a product
// beyond the largest double becomes an infinity, which passes the tolerance test, rather than
// an overflow that would refuse a well-conditioned system whose determinant is merely huge.
TEvalValue DeterminantProduct(const TEvalValue& a, const TEvalValue& b) {
  try {
    return Multiply(a, b);
  } catch (const evaluator::EMathError&) {
    if (!a.IsComplex() && !b.IsComplex()) return TEvalValue::Real(a.AsDouble() * b.AsDouble());
    const auto parts = [](const TEvalValue& v) {
      return v.IsComplex() ? std::complex<double>(v.complex.re, v.complex.im)
                           : std::complex<double>(v.AsDouble(), 0);
    };
    const std::complex<double> product = parts(a) * parts(b);
    return TEvalValue::Complex(product.real(), product.imag());
  }
}

// NaN counts as too small, so that a determinant that went wrong is never trusted.
bool TooSmall(const TEvalValue& determinant, double tolerance) {
  return !(Magnitude(determinant) > tolerance);
}

}  // namespace

TEliminatedSystem::TEliminatedSystem(const TValueMatrix& a, double tolerance)
    : w_(a), pivotRows_(a.Size()) {
  try {
    Eliminate(tolerance);
  } catch (const std::exception& failure) {
    failure_ = failure.what();
  }
}

void TEliminatedSystem::Eliminate(double tolerance) {
  const std::size_t n = w_.Size();
  if (n == 0) return;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    std::size_t h = i;
    double largest = Magnitude(w_(i, i));
    for (std::size_t r = i + 1; r < n; ++r) {
      const double candidate = Magnitude(w_(r, i));
      if (candidate > largest) {
        largest = candidate;
        h = r;
      }
    }
    pivotRows_[i] = h;
    if (h == i) {
      determinant_ = DeterminantProduct(determinant_, w_(i, i));
    } else {
      w_.SwapRows(i, h, i);
      determinant_ =
          DeterminantProduct(DeterminantProduct(TEvalValue::Real(-1), determinant_), w_(i, i));
    }
    if (TooSmall(determinant_, tolerance)) {
      failure_ = std::string(kBadConditioned);
      return;
    }
    const TEvalValue& pivot = w_(i, i);
    for (std::size_t j = i + 1; j < n; ++j) {
      const TEvalValue factor = w_(j, i);
      // Downwards to column i itself, as a fresh elimination computes it: the value left in
      // column i is never read again, but computing it may fail like any other entry.
      for (std::size_t k = n; k-- > i;)
        w_(j, k) = Subtract(w_(j, k), Divide(Multiply(factor, w_(i, k)), pivot));
      w_(j, i) = factor;
    }
  }
  pivotRows_[n - 1] = n - 1;
  determinant_ = DeterminantProduct(determinant_, w_(n - 1, n - 1));
  if (TooSmall(determinant_, tolerance)) failure_ = std::string(kBadConditioned);
}

std::optional<std::string> TEliminatedSystem::Solve(const TValueVector& b, TValueVector& x) const {
  if (failure_) return failure_;
  const std::size_t n = w_.Size();
  if (b.size() != n) return std::string("Right part and matrix differ in size");
  try {
    TValueVector c = b;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      if (pivotRows_[i] != i) std::swap(c[i], c[pivotRows_[i]]);
      for (std::size_t j = i + 1; j < n; ++j)
        c[j] = Subtract(c[j], Divide(Multiply(w_(j, i), c[i]), w_(i, i)));
    }
    TValueVector solution(n);
    for (std::size_t i = n; i-- > 0;) {
      TEvalValue sum = c[i];
      for (std::size_t j = i + 1; j < n; ++j)
        sum = Subtract(sum, Multiply(w_(i, j), solution[j]));
      solution[i] = Divide(sum, w_(i, i));
    }
    x = std::move(solution);
  } catch (const std::exception& failure) {
    return std::string(failure.what());
  }
  return std::nullopt;
}

std::optional<std::string> SolveSystem(const TValueMatrix& a, const TValueVector& b,
                                       double tolerance, TValueVector& x, TEvalValue& d) {
  x.assign(a.Size(), TEvalValue::Real(std::numeric_limits<double>::quiet_NaN()));
  const TEliminatedSystem system(a, tolerance);
  d = system.Determinant();
  return system.Solve(b, x);
}

std::string ExponentText(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (x == 0) return "0.00000000000000000E+0";  // negative zero included
  char buffer[40];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 17).ptr;
  const std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = digits.find('e');
  int exponent = 0;
  const char* start = buffer + e + 1;
  if (*start == '+') ++start;
  std::from_chars(start, end, exponent);
  std::string text(digits.substr(0, e));
  text += exponent < 0 ? "E-" : "E+";
  text += std::to_string(exponent < 0 ? -exponent : exponent);
  return text;
}

std::string MatrixEntryText(const TEvalValue& value) {
  if (value.IsComplex()) {
    return "Complex(" + ExponentText(value.complex.re) + ", " + ExponentText(value.complex.im) +
           ")";
  }
  if (value.IsRealOrCurrency()) return ExponentText(value.AsDouble());
  return evaluator::ValueToText(value);
}

std::string MatrixLine(std::span<const TEvalValue> entries) {
  std::string line;
  for (const TEvalValue& entry : entries) {
    line += MatrixEntryText(entry);
    line += "   ";
  }
  return line;
}

}  // namespace linsys
