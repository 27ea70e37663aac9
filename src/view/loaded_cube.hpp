#pragma once
// A whole cube file for the companion command: the header in double precision (positions and
// cell volumes as written, not rounded to float) and the values.
#include <string>

#include "gridio/grid.hpp"
#include "view/nci_regions.hpp"

namespace qv {

struct LoadedCube {
  CubeGeometry geometry;
  Grid grid;  // first index fastest, as CubeGeometry::points
};

// Raises TextError naming the file and line when the file is missing or is not a cube,
// OutOfMemory when its grid cannot be held.
LoadedCube load_cube(const std::string& path);

// True when two grids have the same point counts, origin and axis vectors (to 1e-6 bohr).
bool same_grid(const CubeGeometry& a, const CubeGeometry& b);

}  // namespace qv
