#pragma once
// Helpers shared by the grid file tests: headers and grids built in place, text split in lines.
#include <string>
#include <string_view>
#include <vector>

#include "gridio/grid.hpp"
#include "gridio/text_output.hpp"
#include "support/text_lines.hpp"

namespace qv::testing_support {

using testing::split_lines;

// A header with orthogonal steps of 0.2 bohr, origin (-5, -5, -5) and no atoms.
inline GridHeader simple_header(std::int32_t n1, std::int32_t n2, std::int32_t n3) {
  GridHeader h;
  h.origin = {-5.0f, -5.0f, -5.0f};
  h.n1 = n1;
  h.n2 = n2;
  h.n3 = n3;
  h.axes = {{{0.2f, 0.0f, 0.0f}, {0.0f, 0.2f, 0.0f}, {0.0f, 0.0f, 0.2f}}};
  return h;
}

// A grid whose value at (i1, i2, i3) tells its indices: 100 i1 + 10 i2 + i3 + 1.
inline Grid index_grid(std::int32_t n1, std::int32_t n2, std::int32_t n3) {
  Grid g = make_grid(n1, n2, n3, "test grid");
  for (int i3 = 0; i3 < n3; ++i3)
    for (int i2 = 0; i2 < n2; ++i2)
      for (int i1 = 0; i1 < n1; ++i1) g.at(i1, i2, i3) = 100.0 * i1 + 10.0 * i2 + i3 + 1;
  return g;
}

}  // namespace qv::testing_support
