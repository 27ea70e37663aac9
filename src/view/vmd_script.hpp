#pragma once
// A VMD script that loads the rho*sign(lambda2) cube (which carries the molecule) and the RDG
// cube, and draws the RDG isosurface coloured by rho*sign(lambda2) on the blue-green-red scale.
#include <string>
#include <string_view>
#include <vector>

#include "gridio/text_output.hpp"

namespace qv {

// The first line of every script we write; it tells our scripts from other files.
inline constexpr std::string_view kVmdMark = "# VMD script made by quelvarin-plot";

enum class MoleculeStyle { Lines, Cpk };

struct VmdScene {
  std::string rdg_cube;      // paths as the script should name them (relative to the script)
  std::string rhosign_cube;
  double isovalue = 0.5;     // RDG isosurface
  double colour_low = -0.05, colour_high = 0.05;  // rho*sign(lambda2) range of the colour scale
  MoleculeStyle style = MoleculeStyle::Cpk;
  std::vector<std::string> comments;  // whole comment lines written after the opening ones
};

// True when `name` can stand between Tcl braces: no braces, backslashes or line ends.
bool vmd_safe_name(std::string_view name);

// `target` as named from the directory of `script` (both as given on the command line).
std::string path_from_script(const std::string& script, const std::string& target);

void write_vmd_script(const VmdScene& scene, TextOutput& out);

}  // namespace qv
