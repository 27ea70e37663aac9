#pragma once
// Builders of TOPOND grid files and CRYSTAL-like output files for the TOP job's tests.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace qv::testing {

// A value that tells its point: v(i1, i2, i3) = i1 + 0.01 i2 + 0.0001 i3 (counted from 1),
// offset so that every grid of a test differs.
inline double point_value(int i1, int i2, int i3, double offset = 0.0) {
  return offset + i1 + 0.01 * i2 + 0.0001 * i3;
}

// TOPOND layout: "(3I4)", three "(E15.8,17X,E15.8)" lines, then per (i2, i3) run the N1 values
// eight per line with the rest on one shorter line.
inline std::string topond_text(int n1, int n2, int n3, double offset = 0.0,
                               const double origin[3] = nullptr, const double step[3] = nullptr) {
  static const double zero[3] = {0, 0, 0}, unit[3] = {0.1, 0.2, 0.3};
  if (!origin) origin = zero;
  if (!step) step = unit;
  char buf[128];
  std::snprintf(buf, sizeof buf, "%4d%4d%4d\n", n1, n2, n3);
  std::string text = buf;
  for (int k = 0; k < 3; ++k) {
    std::snprintf(buf, sizeof buf, "%15.8E%17s%15.8E\n", origin[k], "", step[k]);
    text += buf;
  }
  for (int i3 = 1; i3 <= n3; ++i3)
    for (int i2 = 1; i2 <= n2; ++i2)
      for (int i1 = 1; i1 <= n1; ++i1) {
        std::snprintf(buf, sizeof buf, "%16.8E", point_value(i1, i2, i3, offset));
        text += buf;
        if (i1 % 8 == 0 || i1 == n1) text += '\n';
      }
  return text;
}

struct CrystalAtom {
  int z;
  double f[3];
};

// What CRYSTAL prints of a cell before its lattice vectors: the centring code line and, when
// `matrix` is given, the transformation matrix with its nine numbers as "(9F8.4)" writes them.
inline std::string centring_text(int code, const double* matrix = nullptr) {
  char buf[160];
  std::snprintf(buf, sizeof buf,
                " PRIMITIVE CELL - CENTRING CODE %d/0 VOLUME=    18.654615 - DENSITY  3.559 "
                "g/cm^3\n",
                code);
  std::string text = buf;
  text += "         A              B              C           ALPHA      BETA       GAMMA \n";
  if (matrix) {
    text += "\n TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n";
    for (int i = 0; i < 9; ++i) {
      std::snprintf(buf, sizeof buf, "%8.4f", matrix[i]);
      text += buf;
    }
    text += "\n\n";
  }
  return text;
}

// The lines of a CRYSTAL output that the TOP job reads, among lines it must pass over; `cell`
// stands between the atoms and the lattice vectors (as centring_text() makes it).
inline std::string crystal_text(const std::vector<CrystalAtom>& atoms, const double lattice[3][3],
                                bool with_count = true, const std::string& cell = "") {
  char buf[160];
  std::string text = " CRYSTAL OUTPUT MADE FOR A TEST\n\n";
  if (with_count) {
    std::snprintf(buf, sizeof buf, " NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:%5d\n",
                  static_cast<int>(atoms.size()));
    text += buf;
  }
  text += "\n INPUT COORDINATES\n\n ATOM AT. N.              COORDINATES\n";
  int i = 0;
  for (const CrystalAtom& a : atoms) {
    std::snprintf(buf, sizeof buf, "%4d%4d   %20.12E%20.12E%20.12E\n", ++i, a.z, a.f[0], a.f[1],
                  a.f[2]);
    text += buf;
  }
  text += "\n *****\n" + cell + "\n DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)\n";
  text += "          X                    Y                    Z\n";
  for (int k = 0; k < 3; ++k) {
    std::snprintf(buf, sizeof buf, "%21.12E%21.12E%21.12E\n", lattice[k][0], lattice[k][1],
                  lattice[k][2]);
    text += buf;
  }
  return text;
}

}  // namespace qv::testing
