#pragma once
// Parser of the symmetry operation texts of the TOP block, such as "-x+1/2,y,-z": three
// comma-separated components, each giving the coefficients (-1, 0, +1) of x, y and z and a
// constant translation (whole, decimal or fractional, before or after the letters).
#include <array>
#include <string>
#include <string_view>

namespace qv {

struct SymmetryOperation {
  // rotation[a][j]: coefficient of old coordinate a (x, y, z) in new coordinate j.
  std::array<std::array<int, 3>, 3> rotation{};
  std::array<double, 3> translation{};  // added to new coordinate j
};

enum class SymmetryParse {
  Ok,
  ZeroDenominator,  // a fraction such as 1/0: the translation would be infinite
};

// Parses the operation text (the 40 columns after the keyword; shorter text is taken as
// blank-padded). A number that cannot be read raises TextError naming `file` and `line`.
SymmetryParse parse_symmetry_text(std::string_view text, const std::string& file, long line,
                                  SymmetryOperation& out);

}  // namespace qv
