#include "view/cube_glance.hpp"

#include <cmath>
#include <cstdlib>

#include "gridio/fast_fields.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

// The first `n` numbers of `line` (blank separated); false when fewer stand there.
bool numbers(std::string_view line, int n, double* out) {
  const char* p = line.data();
  const char* end = p + line.size();
  for (int i = 0; i < n; ++i)
    if (!scan_number(p, end, out[i])) return false;
  return true;
}

bool whole(double v, double limit) { return v == std::floor(v) && std::fabs(v) <= limit; }

}  // namespace

CubeGlance glance_at_cube(const std::string& path) {
  auto in = LineReader::open(path);
  if (!in) throw TextError(path, 0, "the cube file cannot be opened");
  CubeGlance g;
  in->require("the first title line of a cube file");
  in->require("the second title line of a cube file");
  double v[5];
  if (!numbers(in->require("the atom count and the origin"), 4, v) || !whole(v[0], 1e6))
    throw TextError(path, in->line_number(), "the atom count and the origin (x, y, z)");
  // Some programs write a negative atom count for orbital cubes; the atom lines still follow.
  g.atoms = static_cast<int>(std::fabs(v[0]));
  for (int c = 0; c < 3; ++c) g.origin[c] = v[c + 1];
  for (int axis = 0; axis < 3; ++axis) {
    if (!numbers(in->require("a point count and an axis step vector"), 4, v) ||
        !whole(v[0], 1e9) || v[0] < 1)
      throw TextError(path, in->line_number(),
                      "a positive point count and an axis step vector (x, y, z)");
    g.points[axis] = static_cast<long>(v[0]);
    for (int c = 0; c < 3; ++c) g.axes[axis][c] = v[c + 1];
  }
  for (int a = 0; a < g.atoms; ++a) {
    if (!numbers(in->require("an atom line"), 5, v))
      throw TextError(path, in->line_number(),
                      "an atom line: atomic number, charge, x, y, z");
    // An atomic number that is no whole number of a sensible size names no element (0).
    const int number = whole(v[0], 1e6) ? static_cast<int>(v[0]) : 0;
    g.atom_list.push_back({number, v[2], v[3], v[4]});
  }
  if (!numbers(in->require("the grid values"), 1, v))
    throw TextError(path, in->line_number(), "the grid values");
  return g;
}

}  // namespace qv
