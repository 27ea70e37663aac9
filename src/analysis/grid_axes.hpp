#pragma once
// Shared pieces of the grid sweeps of the RDG job: axis step lengths, the interior of a grid
// (five-point stencils need two neighbours on each side) and the "not computed" marker.
#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "gridio/grid.hpp"

namespace qv {

// Step vector of each axis, row a = axis a, bohr (single precision as held in the header).
using AxisVectors = std::array<std::array<float, 3>, 3>;

// RDG holds this wherever it was not computed; later sweeps recognise such points by it.
inline constexpr double kNotComputed = 1.0E10;

// Length of one step vector, formed entirely in single precision.
inline float step_length(const std::array<float, 3>& a) {
  return std::sqrt((a[0] * a[0] + a[1] * a[1]) + a[2] * a[2]);
}

// True when every axis has at least one interior point (index 3..N-2 counted from 1).
inline bool has_interior(const Grid& g) { return g.n1 >= 5 && g.n2 >= 5 && g.n3 >= 5; }

inline bool is_finite(double v) { return std::fabs(v) <= DBL_MAX; }

// Derived grids never hold infinities or NaNs: such a value is replaced by `fallback`.
// Written as one comparison so that the sweeps stay vectorised.
inline double finite_or(double v, double fallback) {
  return std::fabs(v) <= DBL_MAX ? v : fallback;
}

// Offset of element (i1, i2, i3), counted from 0.
inline std::size_t grid_index(const Grid& g, std::size_t i1, std::size_t i2, std::size_t i3) {
  return i1 + static_cast<std::size_t>(g.n1) * (i2 + static_cast<std::size_t>(g.n2) * i3);
}

// Grid rows handed to one thread at a time by the sweeps: some 16 thousand points, so that a
// chunk costs far more than claiming it.
inline std::size_t rows_per_chunk(std::int32_t row_length) {
  return row_length > 0 ? 1 + 16384 / static_cast<std::size_t>(row_length) : 1;
}

}  // namespace qv
