// Reading the atoms and the lattice from CRYSTAL output files, made up and real.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gridio/text_error.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"

namespace qv {
namespace {

const std::string kCount = " NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:    2\n";
const std::string kAtoms =
    "\n INPUT COORDINATES\n\n ATOM AT. N.              COORDINATES\n"
    "   1  12     0.000000000000E+00  0.000000000000E+00  0.000000000000E+00\n"
    "   2   8    -5.000000000000E-01 -5.000000000000E-01  2.500000000000E-01\n";
const std::string kLattice =
    "\n DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)\n"
    "          X                    Y                    Z\n"
    "   0.000000000000E+00   0.210000000000E+01   0.210000000000E+01\n"
    "   0.210000000000E+01   0.000000000000E+00   0.210000000000E+01\n"
    "   0.210000000000E+01   0.210000000000E+01   0.000000000000E+00\n";

CrystalRead read_text(const std::string& text, CrystalStructure& c) {
  auto in = LineReader::from_text(text, "crystal.out");
  return read_crystal_output(*in, c);
}

TEST(CrystalOutput, ReadsLabelsCoordinatesAndLattice) {
  CrystalStructure c;
  ASSERT_EQ(read_text(" CRYSTAL\n" + kCount + kAtoms + " other lines\n" + kLattice, c),
            CrystalRead::Ok);
  ASSERT_EQ(c.labels.size(), 2u);
  EXPECT_EQ(c.labels[0], "   1  12   ");
  EXPECT_EQ(c.labels[1], "   2   8   ");
  EXPECT_EQ(c.fractional[1][0], -0.5f);
  EXPECT_EQ(c.fractional[1][2], 0.25f);
  EXPECT_EQ(c.lattice[0][1], 2.1f);
  EXPECT_EQ(c.lattice[2][2], 0.0f);
  EXPECT_EQ(c.lattice[1][0], 2.1f);
}

TEST(CrystalOutput, LaterCountOverridesEarlierAndCountsOnlyBeforeCoordinates) {
  CrystalStructure c;
  const std::string one = " NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:    1\n";
  ASSERT_EQ(read_text(kCount + one + kAtoms + kLattice, c), CrystalRead::Ok);
  EXPECT_EQ(c.labels.size(), 1u);
  EXPECT_EQ(read_text(kAtoms + kCount + kLattice, c), CrystalRead::NoAtomCount);
}

TEST(CrystalOutput, OnlyTheExactCoordinatesLineIsTheMarker) {
  CrystalStructure c;
  const std::string editing = " * GEOMETRY EDITING - INPUT COORDINATES ARE GIVEN IN ANGSTROM\n";
  ASSERT_EQ(read_text(kCount + editing + kAtoms + kLattice, c), CrystalRead::Ok);
  EXPECT_EQ(c.labels[1], "   2   8   ");
}

// Files that end before what is needed, or hold a bad number, are failures of the file layer.
TEST(CrystalOutput, TruncatedOrMalformedFilesNameFileAndLine) {
  struct Case {
    std::string text;
    long line;
  };
  const Case cases[] = {
      {kCount + "\n", 3},                                     // no coordinates marker
      {kCount + "\n INPUT COORDINATES\n\n", 5},               // no heading
      {kCount + kAtoms.substr(0, kAtoms.rfind("   2")), 7},  // an atom line missing
      {kCount + kAtoms, 8},                                   // no lattice marker
      {kCount + kAtoms + kLattice.substr(0, kLattice.rfind('\n', kLattice.size() - 2) + 1), 13},  // third vector
      {kCount + kAtoms.substr(0, kAtoms.rfind("   2")) + "   2   8    -5.0000000000ZE-01\n", 7},
      {" NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:  two\n", 1},
  };
  for (const Case& c : cases) {
    CrystalStructure s;
    try {
      read_text(c.text, s);
      ADD_FAILURE() << c.text;
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "crystal.out");
      EXPECT_EQ(e.line(), c.line) << c.text;
    }
  }
}

// The real files: versions 06 to 22, a run cut off early, a molecule without a lattice, and
// pseudopotential atomic numbers above 100 whose last two digits are the element.
TEST(CrystalOutput, RealFiles) {
  const std::filesystem::path dir = std::filesystem::path(QV_SAMPLES) / "crystal_out";
  if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no sample files";
  struct Case {
    const char* file;
    std::vector<int> atomic_numbers;
    double lattice_00;  // 0: not checked
  };
  const Case cases[] = {
      {"qua_hf_2d_f.out", {14, 8}, 4.25615022826},
      {"mgo_sto3g.out", {12, 8}, 0.0},
      {"test39_dft.out", {215, 230, 232}, -2.7335},
      {"incomplete.out", {4}, 1.98319817467},
      {"out_mgoOpt.out", {12, 8}, 0.0},
      {"propinp_diamondcrys.out", {6}, 3.56658},
      {"spec_dryIceIR.out", {6, 8}, 5.46540887},
      {"elastic2D_graphene.out", {6}, 2.12353987766},
  };
  for (const Case& c : cases) {
    auto in = LineReader::open((dir / c.file).string());
    ASSERT_TRUE(in) << c.file;
    CrystalStructure s;
    ASSERT_EQ(read_crystal_output(*in, s), CrystalRead::Ok) << c.file;
    {
      ASSERT_EQ(s.labels.size(), c.atomic_numbers.size()) << c.file;
      for (std::size_t i = 0; i < s.labels.size(); ++i) {
        std::int32_t z = -1;
        ASSERT_TRUE(label_atomic_number(s.labels[i], z)) << c.file << " " << s.labels[i];
        EXPECT_EQ(z % 100, c.atomic_numbers[i] % 100) << c.file;
      }
    }
    if (c.lattice_00 != 0.0) {
      EXPECT_EQ(s.lattice[0][0], static_cast<float>(c.lattice_00)) << c.file;
    }
  }
  // A molecule: coordinates but no lattice block.
  auto in = LineReader::open((dir / "conv_toluene.out").string());
  ASSERT_TRUE(in);
  CrystalStructure s;
  EXPECT_THROW(read_crystal_output(*in, s), TextError);
}

}  // namespace
}  // namespace qv
