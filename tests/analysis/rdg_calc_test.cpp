// RDG: the value, the strict range, the density test, the three space cut-offs and the marker.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/rdg_calc.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

// A 5 x 5 x 5 grid with unit steps whose point (i, j, k) (from 0) lies at (i-2, j-2, k-2).
GridHeader centred_header(std::vector<std::array<float, 4>> atoms) {
  GridHeader h;
  h.n1 = h.n2 = h.n3 = 5;
  h.origin = {-2, -2, -2};
  h.axes = test::diagonal_axes(1, 1, 1);
  h.natoms = static_cast<std::int32_t>(atoms.size());
  h.atoms = std::move(atoms);
  h.atomic_numbers.assign(h.atoms.size(), 1);
  return h;
}

int chosen(const Grid& rdg) {
  int n = 0;
  for (double v : rdg.values) n += v != kNotComputed;
  return n;
}

TEST(RdgCalc, ValueAndDensityTest) {
  const GridHeader h = centred_header({});
  struct Case {
    double rho, grad, expected;
  } cases[] = {
      {1.0, 2.0, kRdgFactor * 2.0},
      {1.0, -2.0, kRdgFactor * 2.0},  // the magnitude of the gradient value counts
      {0.5, 0.3, kRdgFactor * 0.3 / std::pow(0.5, 1.3333333730697632)},
      {0.0, 1.0, kNotComputed},
      {-0.1, 1.0, kNotComputed},
      {1e-310, 1.0, kNotComputed},  // not finite: treated as not computed
  };
  for (const Case& c : cases) {
    const Grid rdg = rdg_calc(test::filled(5, 5, 5, c.rho), test::filled(5, 5, 5, c.grad),
                              test::filled(5, 5, 5, 0.0), RdgChoice{}, h);
    for (double v : rdg.values) EXPECT_EQ(v, c.expected) << c.rho << " " << c.grad;
  }
}

TEST(RdgCalc, RangeBoundsAreStrict) {
  const GridHeader h = centred_header({});
  RdgChoice choice;
  choice.lower = 0.25f;
  choice.upper = 0.75f;
  struct Case {
    double selection;
    bool chosen;
  } cases[] = {{0.25, false}, {0.75, false}, {0.2500001, true}, {0.7499999, true},
               {0.5, true},   {0.1, false},  {0.9, false}};
  for (const Case& c : cases) {
    const Grid rdg = rdg_calc(test::filled(5, 5, 5, 1.0), test::filled(5, 5, 5, 1.0),
                              test::filled(5, 5, 5, c.selection), choice, h);
    EXPECT_EQ(chosen(rdg), c.chosen ? 125 : 0) << c.selection;
  }
  // Bounds are widened from single precision: 0.1f is not 0.1.
  choice.lower = 0.1f;
  const Grid rdg = rdg_calc(test::filled(5, 5, 5, 1.0), test::filled(5, 5, 5, 1.0),
                            test::filled(5, 5, 5, 0.1), choice, h);
  EXPECT_EQ(chosen(rdg), 0);
}

TEST(RdgCalc, SpaceCutoffs) {
  const std::vector<std::array<float, 4>> origin_atom = {{1, 0, 0, 0}};
  const std::vector<std::array<float, 4>> two_atoms = {{1, 2, 2, 2}, {8, -2, -2, -2}};
  struct Case {
    const char* name;
    std::vector<std::array<float, 4>> atoms;
    SpaceCutoff space;
    float cutoff;
    int expected;
  } cases[] = {
      {"none", origin_atom, SpaceCutoff::none, 0.0f, 125},
      {"no switch", origin_atom, SpaceCutoff::not_chosen, 5.0f, 0},
      // distance 1 exactly is not inside: only the atom's own point
      {"distance 1", origin_atom, SpaceCutoff::near_atoms, 1.0f, 1},
      {"distance 1.01", origin_atom, SpaceCutoff::near_atoms, 1.01f, 7},
      {"distance sqrt2", origin_atom, SpaceCutoff::near_atoms, 1.4143f, 19},
      {"distance 0", origin_atom, SpaceCutoff::near_atoms, 0.0f, 0},
      {"distance no atoms", {}, SpaceCutoff::near_atoms, 100.0f, 0},
      {"distance two atoms", two_atoms, SpaceCutoff::near_atoms, 1.01f, 8},
      // box -1 < x < 1 (strict) around one atom at the origin: only x = 0 on each axis
      {"extent 1", origin_atom, SpaceCutoff::atom_box, 1.0f, 1},
      {"extent 1.5", origin_atom, SpaceCutoff::atom_box, 1.5f, 27},
      {"extent 0", origin_atom, SpaceCutoff::atom_box, 0.0f, 0},
      {"extent no atoms", {}, SpaceCutoff::atom_box, 100.0f, 0},
      {"extent two atoms", two_atoms, SpaceCutoff::atom_box, 0.5f, 125},
  };
  for (const Case& c : cases) {
    RdgChoice choice;
    choice.space = c.space;
    choice.cutoff = c.cutoff;
    const Grid rdg = rdg_calc(test::filled(5, 5, 5, 1.0), test::filled(5, 5, 5, 1.0),
                              test::filled(5, 5, 5, 0.0), choice, centred_header(c.atoms));
    EXPECT_EQ(chosen(rdg), c.expected) << c.name;
  }
}

TEST(RdgCalc, PositionsFollowOriginAndSkewedAxes) {
  GridHeader h = centred_header({{1, 0, 0, 0}});
  h.origin = {-2, -2, -2};
  h.axes = {{{1, 0, 0}, {1, 1, 0}, {0, 0, 1}}};  // axis 2 leans along x
  RdgChoice choice;
  choice.space = SpaceCutoff::near_atoms;
  choice.cutoff = 0.5f;
  const Grid rdg = rdg_calc(test::filled(5, 5, 5, 1.0), test::filled(5, 5, 5, 1.0),
                            test::filled(5, 5, 5, 0.0), choice, h);
  // x = -2 + i + j, y = -2 + j, z = -2 + k: the origin is point (0, 2, 2).
  EXPECT_EQ(chosen(rdg), 1);
  EXPECT_NE(rdg.at(0, 2, 2), kNotComputed);
}

}  // namespace
}  // namespace qv
