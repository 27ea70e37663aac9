#include "view/loaded_cube.hpp"

#include <cmath>
#include <utility>
#include <vector>

#include "gridio/cube_reading.hpp"
#include "gridio/text_error.hpp"
#include "view/cube_glance.hpp"

namespace qv {

namespace {

// The header as written, in double precision.
CubeGeometry geometry_of(CubeGlance header) {
  CubeGeometry g;
  g.origin = header.origin;
  g.axes = header.axes;
  for (int k = 0; k < 3; ++k) g.points[k] = static_cast<std::size_t>(header.points[k]);
  g.atoms = std::move(header.atom_list);
  return g;
}

}  // namespace

LoadedCube load_cube(const std::string& path) {
  LoadedCube cube;
  cube.geometry = geometry_of(glance_at_cube(path));

  // The values by the job's own reader, which knows every layout of the value section.
  auto values = LineReader::open(path);
  if (!values) throw TextError(path, 0, "the cube file cannot be opened");
  std::vector<std::string> unused_grd_lines;
  cube.grid = read_grid_file(*values, nullptr, CubeLayout::general, GridRole::density,
                            unused_grd_lines)
                  .grid;
  return cube;
}

bool same_grid(const CubeGeometry& a, const CubeGeometry& b) {
  if (a.points != b.points) return false;
  auto near = [](double x, double y) { return std::fabs(x - y) <= 1e-6; };
  for (int c = 0; c < 3; ++c) {
    if (!near(a.origin[c], b.origin[c])) return false;
    for (int k = 0; k < 3; ++k)
      if (!near(a.axes[k][c], b.axes[k][c])) return false;
  }
  return true;
}

}  // namespace qv
