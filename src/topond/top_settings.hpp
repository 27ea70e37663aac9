#pragma once
// Settings of the TOP job, filled by the TOP block of the input file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gridio/fixed_text.hpp"

namespace qv {

struct TopSettings {
  std::int32_t grid_count = 0;  // grids to convert (only the first three are)
  std::array<std::string, 3> topond_grids{blank_text(30), blank_text(30), blank_text(30)};
  // stems of the output cube names (".cube" is added)
  std::array<std::string, 3> cube_stems{blank_text(30), blank_text(30), blank_text(30)};
  std::string crystal_output = blank_text(30);  // CRYSTAL output file
  std::int32_t symmetry_count = 0;
  // rotations[i][a][j]: coefficient of old coordinate a (x, y, z) in new coordinate j of
  // operation i; translations[i][j]: translation added to new coordinate j.
  std::vector<std::array<std::array<int, 3>, 3>> rotations;
  std::vector<std::array<double, 3>> translations;
};

}  // namespace qv
