#include "gridio/check_cube.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "gridio/stop.hpp"
#include "grid_files_support.hpp"

namespace qv {
namespace {

using testing_support::simple_header;
using testing_support::split_lines;

GridHeader reference_header() {
  GridHeader h = simple_header(10, 11, 12);
  h.natoms = 2;
  h.atomic_numbers = {8, 1};
  h.atoms = {{8.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 1.43f, 1.1f}};
  return h;
}

// Messages as the run writes them (label "gradient ").
const std::string kAtomCount =
    " WARNING!the number of atoms in gradient  cube file is different from'the number of atoms "
    "in the cube file of electron density";
const std::string kOrigin =
    " WARNING!the origin in gradient  cube file is different from the origin in the 'cube file "
    "of electron density,PROGRAM STOP";
const std::string kCounts =
    " WARNING!the number of grid points in gradient  cube file is different from' the number of "
    "points in the cube file of electrond density,PROGRAM STOP";
const std::string kAxes =
    " WARNING!the axis orientation of gradient  cube file is different from'the axis "
    "orientation in the cube file of electron density,PROGRAM STOP";
const std::string kAtomTable =
    " WARNING!atoms type/coordinate in gradient  cube file is different from atoms "
    "type/coordinate'in the cube file of electron density";

TEST(CheckCube, MessageLengths) {
  // one blank + opening + 9-character label + closing
  EXPECT_EQ(kAtomCount.size(), 1u + 31 + 9 + 85);
  EXPECT_EQ(kOrigin.size(), 1u + 22 + 9 + 90);
  EXPECT_EQ(kCounts.size(), 1u + 37 + 9 + 101);
  EXPECT_EQ(kAxes.size(), 1u + 32 + 9 + 99);
  EXPECT_EQ(kAtomTable.size(), 1u + 33 + 9 + 87);
}

TEST(CheckCube, EachCheckWritesAndStopsOrGoesOn) {
  struct Case {
    const char* name;
    std::function<void(GridHeader&)> change;
    std::vector<std::string> screen;  // the log gets the same lines minus the counts line
    bool stops;
  };
  const std::string counts_line =
      "          40          50          60          10          11          12 new:          10"
      "          11          11";
  const Case cases[] = {
      {"identical", [](GridHeader&) {}, {}, false},
      {"atomic numbers are not compared", [](GridHeader& h) { h.atomic_numbers = {1, 8}; }, {}, false},
      {"atom count", [](GridHeader& h) { h.natoms = 3; }, {kAtomCount}, false},
      {"origin in the sixth decimal", [](GridHeader& h) { h.origin[1] = -4.999999f; }, {kOrigin}, true},
      {"origin not a number", [](GridHeader& h) { h.origin[0] = std::nanf(""); }, {kOrigin}, true},
      {"point counts", [](GridHeader& h) { h.n3 = 11; }, {kCounts, counts_line}, true},
      {"axis vectors", [](GridHeader& h) { h.axes[2][0] = 0.000001f; }, {kAxes}, true},
      {"one atom value", [](GridHeader& h) { h.atoms[1][2] = 1.44f; }, {kAtomTable}, false},
      {"all four values of an atom",
       [](GridHeader& h) { h.atoms[0] = {9.0f, 1.0f, 1.0f, 1.0f}; },
       {kAtomTable, kAtomTable, kAtomTable, kAtomTable}, false},
      {"fewer atoms: each missing one reported once",
       [](GridHeader& h) {
         h.natoms = 1;
         h.atoms.pop_back();
         h.atomic_numbers.pop_back();
       },
       {kAtomCount, kAtomTable}, false},
      {"more atoms: never read past the reference table",
       [](GridHeader& h) {
         h.natoms = 3;
         h.atoms.push_back({6.0f, 2.0f, 2.0f, 2.0f});
         h.atomic_numbers.push_back(6);
       },
       {kAtomCount}, false},
      {"atom count and origin: warning, then stop",
       [](GridHeader& h) {
         h.natoms = 5;
         h.origin[2] = 0.0f;
       },
       {kAtomCount, kOrigin}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto screen = TextOutput::memory("screen");
    RunOutput out(*screen);
    out.set_log(TextOutput::memory("log"));
    GridHeader fresh = reference_header();
    c.change(fresh);
    bool stopped = false;
    try {
      check_cube(fresh, reference_header(), kGradientLabel, WfnCounts{40, 50, 60}, out);
    } catch (const ProgramStop& stop) {
      stopped = true;
      EXPECT_EQ(stop.status, 1);
    }
    EXPECT_EQ(stopped, c.stops);
    out.flush();
    EXPECT_EQ(split_lines(screen->contents()), c.screen);
    std::vector<std::string> log_lines = c.screen;
    if (!log_lines.empty() && log_lines.back() == counts_line) log_lines.pop_back();
    EXPECT_EQ(split_lines(out.log().contents()), log_lines);
  }
}

TEST(CheckCube, LaplacianLabel) {
  auto screen = TextOutput::memory("screen");
  RunOutput out(*screen);
  out.set_log(TextOutput::memory("log"));
  GridHeader fresh = reference_header();
  fresh.natoms = 0;
  check_cube(fresh, reference_header(), kLaplacianLabel, WfnCounts{}, out);
  out.flush();
  EXPECT_EQ(split_lines(screen->contents())[0],
            " WARNING!the number of atoms in laplacian cube file is different from'the number of "
            "atoms in the cube file of electron density");
}

}  // namespace
}  // namespace qv
