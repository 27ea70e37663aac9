#pragma once
// Grids filled from a function of the point position, for the analysis tests.
#include <array>
#include <functional>

#include "analysis/grid_axes.hpp"
#include "gridio/grid.hpp"

namespace qv::test {

// Position of point (i1, i2, i3) (from 0) relative to point `centre`, with the step lengths of
// the axes taken as the sweeps take them (single precision, widened) along orthogonal axes.
using Position = std::array<double, 3>;

inline Grid grid_of(std::int32_t n1, std::int32_t n2, std::int32_t n3, const AxisVectors& axes,
                    const std::function<double(const Position&)>& f,
                    std::array<double, 3> centre = {0, 0, 0}) {
  Grid g = make_grid(n1, n2, n3, "test grid");
  const double h[3] = {step_length(axes[0]), step_length(axes[1]), step_length(axes[2])};
  for (std::int32_t k = 0; k < n3; ++k)
    for (std::int32_t j = 0; j < n2; ++j)
      for (std::int32_t i = 0; i < n1; ++i)
        g.at(i, j, k) = f({h[0] * (i - centre[0]), h[1] * (j - centre[1]), h[2] * (k - centre[2])});
  return g;
}

inline Grid filled(std::int32_t n1, std::int32_t n2, std::int32_t n3, double v) {
  Grid g = make_grid(n1, n2, n3, "test grid");
  for (double& x : g.values) x = v;
  return g;
}

inline AxisVectors diagonal_axes(float h1, float h2, float h3) {
  return {{{h1, 0, 0}, {0, h2, 0}, {0, 0, h3}}};
}

inline bool is_interior(const Grid& g, std::int32_t i, std::int32_t j, std::int32_t k) {
  return i >= 2 && i <= g.n1 - 3 && j >= 2 && j <= g.n2 - 3 && k >= 2 && k <= g.n3 - 3;
}

}  // namespace qv::test
