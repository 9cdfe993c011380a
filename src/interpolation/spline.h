// Cubic splines through sorted nodes: the second derivatives of the natural and the periodic
// spline, found with the sweep solvers, and the spline's value between two nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace interpolation {

// The second derivatives M at the nodes x[0] < ... < x[N-1] (N >= 4) with values y. Failures
// raise: EEvalError "Sheet<n>: " + the solver's status, or the periodic bad-condition message;
// EMathError for a zero step between two equal nodes. `sheet` only names the sheet in them.
std::vector<double> NaturalSpline(std::int32_t sheet, std::span<const double> x,
                                  std::span<const double> y);
std::vector<double> PeriodicSpline(std::int32_t sheet, std::span<const double> x,
                                   std::span<const double> y);

// The first interval k in 1 .. N-1 with x[k-1] <= t <= x[k], or whose ends equal t by the
// value comparison, found by binary search; 0 when there is none.
std::size_t SplineInterval(std::span<const double> x, double t);

// The spline's value at t on interval k, in its Taylor form around the right node x[k]; at a
// node it is that node's value exactly.
double SplineValue(std::span<const double> x, std::span<const double> y, std::span<const double> m,
                   std::size_t k, double t);

}  // namespace interpolation
