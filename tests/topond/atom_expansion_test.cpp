// Symmetry expansion of the irreducible atoms and their conversion to Cartesian bohr.
#include <gtest/gtest.h>

#include "topond/atom_expansion.hpp"
#include "topond/symmetry_text.hpp"

namespace qv {
namespace {

TopSettings settings_of(std::initializer_list<const char*> texts) {
  TopSettings top;
  for (const char* t : texts) {
    SymmetryOperation op;
    parse_symmetry_text(t, "in.inp", 1, op);
    top.rotations.push_back(op.rotation);
    top.translations.push_back(op.translation);
  }
  top.symmetry_count = static_cast<std::int32_t>(top.rotations.size());
  return top;
}

CrystalStructure cubic_cell(float a, std::vector<std::array<float, 3>> fractional,
                            std::vector<std::string> labels) {
  CrystalStructure c;
  c.lattice = {{{a, 0, 0}, {0, a, 0}, {0, 0, a}}};
  c.fractional = std::move(fractional);
  c.labels = std::move(labels);
  return c;
}

TEST(AtomExpansion, OperationsOuterAtomsInner) {
  // One angstrom cell edge of b angstrom makes fractional coordinates read directly as bohr.
  const float a = static_cast<float>(kBohrInAngstrom);
  CrystalStructure c = cubic_cell(a, {{0.1f, 0.2f, 0.3f}, {0.5f, 0.5f, 0.5f}, {0.25f, 0, 0}},
                                  {"   1   6   ", "   2   8   ", "   3  14   "});
  ExpandedAtoms e = expand_atoms(c, settings_of({"x,y,z", "-x,-y,-z"}));
  ASSERT_TRUE(e.bad_label.empty());
  ASSERT_EQ(e.atoms.size(), 6u);
  EXPECT_EQ(e.atomic_numbers, (std::vector<std::int32_t>{6, 8, 14, 6, 8, 14}));
  const float sign[6] = {1, 1, 1, -1, -1, -1};
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(e.atoms[k][0], static_cast<float>(e.atomic_numbers[k]));
    for (std::size_t c3 = 0; c3 < 3; ++c3)
      EXPECT_NEAR(e.atoms[k][1 + c3], sign[k] * c.fractional[k % 3][c3], 1e-6) << k;
  }
}

TEST(AtomExpansion, NoOperationsNoAtoms) {
  CrystalStructure c = cubic_cell(1, {{0, 0, 0}}, {"   1 XX    "});  // the label is never read
  ExpandedAtoms e = expand_atoms(c, TopSettings{});
  EXPECT_TRUE(e.atoms.empty());
  EXPECT_TRUE(e.bad_label.empty());
}

TEST(AtomExpansion, SwapOfXAndY) {
  TopSettings top = settings_of({"y,x,z"});
  EXPECT_EQ(top.rotations[0][1][0], 1);
  EXPECT_EQ(top.rotations[0][0][1], 1);
  const auto f = apply_operation(top, 0, {0.1f, 0.2f, 0.3f});
  EXPECT_EQ(f, (std::array<float, 3>{0.2f, 0.1f, 0.3f}));
}

TEST(AtomExpansion, TranslationIsAddedInDoublePrecision) {
  TopSettings top = settings_of({"x,y,z"});
  top.translations[0] = {0.1, 0.5, 1.0 / 3.0};
  const auto f = apply_operation(top, 0, {7.19999953e-05f, 0.25f, 0.000153000001f});
  // Adding in single precision would give 0.100072004 and 0.333486348.
  EXPECT_EQ(f[0], 0.100071996f);
  EXPECT_EQ(f[1], 0.75f);
  EXPECT_EQ(f[2], 0.333486319f);
}

TEST(AtomExpansion, CartesianBohrFromLatticeRows) {
  // Rows are lattice vectors: a1 = (2, 0, 0), a2 = (1, 3, 0), a3 = (0, 0, 4) angstrom.
  const std::array<std::array<float, 3>, 3> lattice{{{2, 0, 0}, {1, 3, 0}, {0, 0, 4}}};
  const auto r = to_cartesian_bohr(lattice, {0.5f, 0.5f, 0.25f});
  EXPECT_EQ(r[0], static_cast<float>(1.5 / kBohrInAngstrom));
  EXPECT_EQ(r[1], static_cast<float>(1.5 / kBohrInAngstrom));
  EXPECT_EQ(r[2], static_cast<float>(1.0 / kBohrInAngstrom));
  EXPECT_EQ(r[2], 1.8897264f);
}

TEST(AtomExpansion, AtomicNumberFromLabelColumnsSevenAndEight) {
  struct Case {
    const char* label;
    bool ok;
    std::int32_t z;
  };
  const Case cases[] = {{"   1   6   ", true, 6},  {"   1 215   ", true, 15},
                        {"   1  26 FE", true, 26}, {"   1  2    ", true, 2},
                        {"   1       ", true, 0},  {"   1  C    ", false, 0},
                        {"   1   6X  ", true, 6},  {"   1  6X   ", false, 0},
                        {"   1  -1   ", true, -1}, {"   1  1-   ", false, 0}};
  for (const Case& c : cases) {
    std::int32_t z = -99;
    EXPECT_EQ(label_atomic_number(c.label, z), c.ok) << c.label;
    if (c.ok) {
      EXPECT_EQ(z, c.z) << c.label;
    }
  }
}

TEST(AtomExpansion, BadLabelStopsTheExpansion) {
  CrystalStructure c = cubic_cell(1, {{0, 0, 0}, {0, 0, 0}}, {"   1   6   ", "   2  Si   "});
  ExpandedAtoms e = expand_atoms(c, settings_of({"x,y,z"}));
  EXPECT_EQ(e.bad_label, "   2  Si   ");
}

}  // namespace
}  // namespace qv
