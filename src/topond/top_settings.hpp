#pragma once
// Settings of the TOP job, filled by the TOP block of the input file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gridio/fixed_text.hpp"

namespace qv {

struct TopSettings {
  std::int32_t n_grid = 0;  // grids to convert (only the first three are)
  std::array<std::string, 3> grd_top_name{blank_text(30), blank_text(30), blank_text(30)};
  std::array<std::string, 3> cubeout{blank_text(30), blank_text(30), blank_text(30)};
  std::string crys_out = blank_text(30);  // CRYSTAL output file
  std::int32_t n_symm = 0;
  // symm_op[i][a][j]: coefficient of old coordinate a (x, y, z) in new coordinate j of
  // operation i; transl[i][j]: translation added to new coordinate j.
  std::vector<std::array<std::array<int, 3>, 3>> symm_op;
  std::vector<std::array<double, 3>> transl;
};

}  // namespace qv
