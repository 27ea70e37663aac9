#include "analysis/grid_rim.hpp"

#include <algorithm>

#include "analysis/grid_axes.hpp"

namespace qv {

namespace {

bool on_rim(std::int32_t index, std::int32_t count) { return index < 2 || index > count - 3; }

}  // namespace

void fill_rim(Grid& grid, double value) {
  for (std::int32_t k = 0; k < grid.n3; ++k) {
    for (std::int32_t j = 0; j < grid.n2; ++j) {
      double* row = grid.values.data() + grid_index(grid, 0, j, k);
      if (on_rim(k, grid.n3) || on_rim(j, grid.n2) || grid.n1 < 5) {
        std::fill(row, row + grid.n1, value);
        continue;
      }
      // An interior row: only its two first and two last points.
      row[0] = row[1] = value;
      row[grid.n1 - 2] = row[grid.n1 - 1] = value;
    }
  }
}

}  // namespace qv
