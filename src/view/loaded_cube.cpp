#include "view/loaded_cube.hpp"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "gridio/cube_reading.hpp"
#include "gridio/number_reader.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

// The geometry lines of the header: counts, origin, axes and atoms, in double precision.
CubeGeometry read_geometry(LineReader& file) {
  NumberReader in(file);
  in.text_line("the first title line");
  in.text_line("the second title line");
  CubeGeometry g;
  std::int32_t natoms = 0;
  double reals[4];
  in.header_line(&natoms, 1, reals, 3, "the atom count and the origin");
  for (int c = 0; c < 3; ++c) g.origin[c] = reals[c];
  for (int k = 0; k < 3; ++k) {
    std::int32_t count = 0;
    in.header_line(&count, 1, reals, 3, "a point count and an axis vector");
    if (count <= 0)
      throw TextError(in.file(), in.line_number(),
                      "a positive point count and an axis vector (x, y, z)");
    g.points[k] = static_cast<std::size_t>(count);
    for (int c = 0; c < 3; ++c) g.axes[k][c] = reals[c];
  }
  // A negative count (several data sets per point) still announces that many atom lines.
  const long long atoms = std::llabs(static_cast<long long>(natoms));
  for (long long i = 0; i < atoms; ++i) {
    std::int32_t z = 0;
    in.header_line(&z, 1, reals, 4, "an atom line: atomic number, charge, x, y, z");
    g.atoms.push_back({z, reals[1], reals[2], reals[3]});
  }
  return g;
}

}  // namespace

LoadedCube load_cube(const std::string& path) {
  auto header = LineReader::open(path);
  if (!header) throw TextError(path, 0, "the cube file cannot be opened");
  LoadedCube cube;
  cube.geometry = read_geometry(*header);
  header.reset();

  // The values by the job's own reader, which knows every layout of the value section.
  auto values = LineReader::open(path);
  if (!values) throw TextError(path, 0, "the cube file cannot be opened");
  std::vector<std::string> unused_grd_lines;
  cube.grid = cube_in_array(*values, nullptr, CubeLayout::general, GridRole::density,
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
