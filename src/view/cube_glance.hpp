#pragma once
// A quick look at the header of a cube file: enough to tell that a file is a cube and what
// grid it holds, without reading its values.
#include <array>
#include <string>
#include <vector>

namespace qv {

struct CubeAtom {
  int atomic_number = 0;
  double x = 0.0, y = 0.0, z = 0.0;  // bohr
};

struct CubeGlance {
  int atoms = 0;
  std::array<long, 3> points{};  // N1, N2, N3
  std::array<double, 3> origin{};                // bohr, as written
  std::array<std::array<double, 3>, 3> axes{};  // axes[k]: step vector along index k, bohr
  std::vector<CubeAtom> atom_list;  // as the header lists them
};

// Reads the two title lines, the counts and axis lines and the atom lines, and checks that a
// value line follows. Raises TextError naming the file and line when the file is missing or
// its header is not that of a cube.
CubeGlance glance_at_cube(const std::string& path);

}  // namespace qv
