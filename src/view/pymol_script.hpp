#pragma once
// A PyMOL script of the NCI scene: the molecule as sticks and balls, the RDG isosurface
// coloured by rho*sign(lambda2) on the blue-green-red ramp, on white, turned so that a surface
// between two molecules is seen at an angle rather than edge-on.
#include <string>
#include <string_view>
#include <vector>

#include "gridio/text_output.hpp"

namespace qv {

// The first line of every script we write; it tells our scripts from other files.
inline constexpr std::string_view kPymolMark = "# PyMOL script made by quelvarin-plot";

struct PymolScene {
  std::string atoms_xyz;     // paths as the script should name them (relative to the script)
  std::string rdg_cube;
  std::string rhosign_cube;
  double isovalue = 0.5;       // RDG isosurface
  double colour_range = 0.05;  // rho*sign(lambda2) from -range (blue) to +range (red), a.u.
  std::vector<std::string> comments;  // whole comment lines written after the opening ones
};

// `text` as a Python string literal in double quotes.
std::string python_string(std::string_view text);

void write_pymol_script(const PymolScene& scene, TextOutput& out);

}  // namespace qv
