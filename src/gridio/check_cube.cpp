#include "gridio/check_cube.hpp"

#include <algorithm>

#include "gridio/stop.hpp"

namespace qv {

namespace {

struct Message {
  std::string_view opening, closing;
};

constexpr Message kAtomCount{
    "WARNING!the number of atoms in ",
    " cube file is different from'the number of atoms in the cube file of electron density"};
constexpr Message kOrigin{
    "WARNING!the origin in ",
    " cube file is different from the origin in the 'cube file of electron density,PROGRAM STOP"};
constexpr Message kCounts{"WARNING!the number of grid points in ",
                          " cube file is different from' the number of points in the cube file "
                          "of electrond density,PROGRAM STOP"};
constexpr Message kAxes{"WARNING!the axis orientation of ",
                        " cube file is different from'the axis orientation in the cube file of "
                        "electron density,PROGRAM STOP"};
constexpr Message kAtomTable{"WARNING!atoms type/coordinate in ",
                             " cube file is different from atoms type/coordinate'in the cube file "
                             "of electron density"};

// Two reals differ when they are unequal or either is not a number.
bool differs(float a, float b) { return !(a == b); }

void report(const Message& m, std::string_view label, RunOutput& out) {
  const ListLine line = ListLine().text(m.opening).text(label).text(m.closing);
  out.to_screen(line);
  out.to_log(line);
}

}  // namespace

void check_cube(const GridHeader& fresh, const GridHeader& reference, std::string_view label,
                const WfnCounts& wfn, RunOutput& out) {
  if (fresh.natoms != reference.natoms) report(kAtomCount, label, out);

  for (int k = 0; k < 3; ++k) {
    if (differs(fresh.origin[k], reference.origin[k])) {
      report(kOrigin, label, out);
      program_stop(1);
    }
  }

  if (fresh.n1 != reference.n1 || fresh.n2 != reference.n2 || fresh.n3 != reference.n3) {
    report(kCounts, label, out);
    out.to_screen(ListLine()
                      .i4(wfn.points_x)
                      .i4(wfn.points_y)
                      .i4(wfn.points_z)
                      .i4(reference.n1)
                      .i4(reference.n2)
                      .i4(reference.n3)
                      .text("new:")
                      .i4(fresh.n1)
                      .i4(fresh.n2)
                      .i4(fresh.n3));
    program_stop(1);
  }

  for (int row = 0; row < 3; ++row) {
    for (int k = 0; k < 3; ++k) {
      if (differs(fresh.axes[row][k], reference.axes[row][k])) {
        report(kAxes, label, out);
        program_stop(1);
      }
    }
  }

  // Over the reference atoms; one that the new table lacks counts as one difference.
  const std::size_t ref_atoms =
      std::min<std::size_t>(reference.natoms > 0 ? reference.natoms : 0, reference.atoms.size());
  for (std::size_t i = 0; i < ref_atoms; ++i) {
    if (i >= fresh.atoms.size()) {
      report(kAtomTable, label, out);
      continue;
    }
    for (int k = 0; k < 4; ++k) {
      if (differs(fresh.atoms[i][k], reference.atoms[i][k])) report(kAtomTable, label, out);
    }
  }
}

}  // namespace qv
