#pragma once
// A whole cube file of 5 x 5 x 5 points with one oxygen atom, for the tests of quelvarin-plot
// (which reads every value of the RDG and rho*sign(lambda2) cubes); none of its points is in NCI.
#include <string>

namespace qv::testing {

inline std::string small_cube_text() {
  std::string cube =
      "\n\n"
      "    1   -5.000000   -5.000000   -5.000000\n"
      "    5    0.200000    0.000000    0.000000\n"
      "    5    0.000000    0.200000    0.000000\n"
      "    5    0.000000    0.000000    0.200000\n"
      "    8    8.000000    0.000000    0.000000    0.000000\n";
  for (int run = 0; run < 25; ++run)
    cube += "  5.00000E-01  2.50000E-01  1.25000E-01  1.00000E-03 -2.50000E-07\n";
  return cube;
}

}  // namespace qv::testing
