// Reading the atoms and the lattice from CRYSTAL output files, made up and real.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gridio/text_error.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"
#include "topond/topond_text.hpp"

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

// A centred lattice: the printed primitive vectors become the conventional ones through the
// matrix before them; a centred lattice without a usable matrix is refused.
TEST(CrystalOutput, CentredLatticeGivesConventionalVectors) {
  const double primitive[3][3] = {{0, 2.82, 2.82}, {2.82, 0, 2.82}, {2.82, 2.82, 0}};
  const double f_matrix[9] = {-1, 1, 1, 1, -1, 1, 1, 1, -1};
  const double singular[9] = {1, 1, 0, 1, 1, 0, 0, 0, 1};
  const std::vector<testing::CrystalAtom> atoms = {{11, {0, 0, 0}}, {17, {0.5, 0, 0}}};
  struct Case {
    const char* name;
    std::string text;
    CrystalRead outcome;
    float a11;  // lattice[0][0] when read
  };
  const Case cases[] = {
      {"face centred",
       testing::crystal_text(atoms, primitive, true, testing::centring_text(5, f_matrix)),
       CrystalRead::Ok, 5.64f},
      {"primitive code", testing::crystal_text(atoms, primitive, true, testing::centring_text(1)),
       CrystalRead::Ok, 0.0f},
      {"no cell lines", testing::crystal_text(atoms, primitive), CrystalRead::Ok, 0.0f},
      {"no matrix", testing::crystal_text(atoms, primitive, true, testing::centring_text(5)),
       CrystalRead::CentringWithoutMatrix, 0.0f},
      {"singular matrix",
       testing::crystal_text(atoms, primitive, true, testing::centring_text(5, singular)),
       CrystalRead::UnreadableMatrix, 0.0f},
  };
  for (const Case& c : cases) {
    CrystalStructure s;
    ASSERT_EQ(read_text(c.text, s), c.outcome) << c.name;
    if (c.outcome != CrystalRead::Ok) continue;
    EXPECT_EQ(s.lattice[0][0], c.a11) << c.name;
    EXPECT_EQ(s.lattice[1][1], c.a11 == 0.0f ? 0.0f : 5.64f) << c.name;
    EXPECT_EQ(s.lattice[0][1], c.a11 == 0.0f ? 2.82f : 0.0f) << c.name;
  }
}

TEST(CrystalOutput, RefusalsNameTheLineAndWhatIsMissing) {
  const double primitive[3][3] = {{0, 2.82, 2.82}, {2.82, 0, 2.82}, {2.82, 2.82, 0}};
  const std::vector<testing::CrystalAtom> atoms = {{11, {0, 0, 0}}};
  CrystalStructure s;
  ASSERT_EQ(read_text(testing::crystal_text(atoms, primitive, true, testing::centring_text(5)), s),
            CrystalRead::CentringWithoutMatrix);
  EXPECT_EQ(refusal_reason(CrystalRead::CentringWithoutMatrix, s.cell),
            ", line 11: centring code 5 (a centred lattice) but no line \" TRANSFORMATION MATRIX "
            "PRIMITIVE-CRYSTALLOGRAPHIC CELL\" before the first \" DIRECT LATTICE VECTORS "
            "CARTESIAN COMPONENTS (ANGSTROM)\", so the cell of the input coordinates is unknown, "
            "program stop");
  std::string text = testing::crystal_text(atoms, primitive, true, testing::centring_text(5));
  text.replace(text.find("  3.559 g/cm^3\n") + 15, 0,
               " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n -1 1 1 1 -1 1 1 1\n");
  ASSERT_EQ(read_text(text, s), CrystalRead::UnreadableMatrix);
  EXPECT_EQ(refusal_reason(CrystalRead::UnreadableMatrix, s.cell),
            ", line 13: the line after \" TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\" "
            "does not hold the nine numbers of an invertible matrix, so the cell of the input "
            "coordinates is unknown, program stop");
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
    double lattice_00;
  };
  const Case cases[] = {
      {"qua_hf_2d_f.out", {14, 8}, 4.25615022826},
      {"mgo_sto3g.out", {12, 8}, 4.21},  // face-centred: the conventional vectors
      {"test39_dft.out", {215, 230, 232}, 5.467},  // body-centred
      {"incomplete.out", {4}, 1.98319817467},
      {"out_mgoOpt.out", {12, 8}, 4.217},
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
    EXPECT_EQ(s.lattice[0][0], static_cast<float>(c.lattice_00)) << c.file;
  }
  // A molecule: coordinates but no lattice block.
  auto in = LineReader::open((dir / "conv_toluene.out").string());
  ASSERT_TRUE(in);
  CrystalStructure s;
  EXPECT_THROW(read_crystal_output(*in, s), TextError);
}

}  // namespace
}  // namespace qv
