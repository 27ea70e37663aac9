#pragma once
// Helpers shared by the grid file tests: headers and grids built in place, text split in lines.
#include <string>
#include <string_view>
#include <vector>

#include "gridio/grid.hpp"
#include "gridio/text_output.hpp"

namespace qv::testing_support {

inline std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

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
