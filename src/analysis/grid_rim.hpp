#pragma once
// The rim of a grid: the two outer layers of points on each face, where five-point stencils
// have no neighbours on one side and derived quantities are not defined.
#include "gridio/grid.hpp"

namespace qv {

// Sets every rim point (an index 0, 1, N-2 or N-1 along some axis, counted from 0) to `value`;
// interior points are left as they are. A grid with fewer than 5 points along an axis is all rim.
void fill_rim(Grid& grid, double value);

}  // namespace qv
