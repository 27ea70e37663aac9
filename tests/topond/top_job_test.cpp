// The TOP job end to end through the binary: CRYSTAL output and TOPOND grids in, cube files and
// the run log out, and the stops on bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.hpp"
#include "support/text_lines.hpp"
#include "topond/topond_text.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::crystal_text;
using testing::point_value;
using testing::read_file;
using testing::run_binary;
using testing::TempDir;
using testing::topond_text;
using testing::write_file;

const double kLattice[3][3] = {{4, 0, 0}, {0, 5, 0}, {0, 0, 6}};
const std::vector<testing::CrystalAtom> kAtoms = {
    {11, {0, 0, 0}}, {17, {0.5, 0.5, 0.5}}, {8, {0.25, 0.1, 0.25}}};

// A name as the run log prints it: blank-padded to its 30-character field.
std::string full_width(std::string name) {
  name.resize(30, ' ');
  return name;
}

std::string input_text(int n_grid, int pairs, std::vector<std::string> symm,
                       const std::string& crystal = "crystal.out") {
  std::string t =
      "OUTPUT_FILE_NAME run.log\nSECTIONS *TOP\n\nTOPOND TO CUBE CONVERSION\nN_OF_GRIDS " +
      std::to_string(n_grid) + "\n";
  for (int g = 1; g <= pairs; ++g)
    t += "GRID_FILE_NAME g" + std::to_string(g) + ".dat\nCUBE_NAME(OUTPUT) c" +
         std::to_string(g) + "\n";
  t += "CRYSTAL_OUTPUT_NAME " + crystal + "\nN_OF_SYMM_OPERATIONS " +
       std::to_string(symm.size()) + "\n";
  for (const std::string& s : symm) t += "SYMM " + s + "\n";
  return t;
}

void write_grids(int count, int n1 = 4, int n2 = 3, int n3 = 2) {
  for (int g = 1; g <= count; ++g)
    write_file("g" + std::to_string(g) + ".dat", topond_text(n1, n2, n3, 100.0 * g));
}

// The values of a cube file, third index fastest.
std::vector<double> cube_values(const std::vector<std::string>& lines, std::size_t first) {
  std::vector<double> v;
  for (std::size_t i = first; i < lines.size(); ++i) {
    const char* p = lines[i].c_str();
    char* end = nullptr;
    for (double x = std::strtod(p, &end); end != p; x = std::strtod(p, &end)) {
      v.push_back(x);
      p = end;
    }
  }
  return v;
}

TEST(TopJob, IdentityAndInversionGiveSixAtomLinesInOrder) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(1);
  write_file("in.inp", input_text(1, 1, {"x,y,z", "-x,-y,-z"}));
  ASSERT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
  const auto lines = testing::split_lines(read_file("c1.cube"));
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[0], std::string(60, ' '));
  EXPECT_EQ(lines[1], std::string(60, ' '));
  EXPECT_EQ(lines[2], "    6    0.000000    0.000000    0.000000");
  EXPECT_EQ(lines[3], "    4    0.100000    0.000000    0.000000");
  EXPECT_EQ(lines[4], "    3    0.000000    0.200000    0.000000");
  EXPECT_EQ(lines[5], "    2    0.000000    0.000000    0.300000");
  const std::vector<std::string> atoms = {
      "   11   11.000000    0.000000    0.000000    0.000000",
      "   17   17.000000    3.779453    4.724316    5.669179",
      "    8    8.000000    1.889726    0.944863    2.834590",
      "   11   11.000000    0.000000    0.000000    0.000000",
      "   17   17.000000   -3.779453   -4.724316   -5.669179",
      "    8    8.000000   -1.889726   -0.944863   -2.834590"};
  for (std::size_t k = 0; k < atoms.size(); ++k) EXPECT_EQ(lines[6 + k], atoms[k]) << k;
  EXPECT_EQ(lines.size(), 12u + 4 * 3);  // one value line per (i1, i2) run of two values
  const std::string log = read_file("run.log");
  EXPECT_NE(log.find("\n+x,+y,+z, \n-x,-y,-z, \n"), std::string::npos);
}

// Converts one small grid with the crystal.out of the current folder and the given operations;
// the lines of the cube file written.
std::vector<std::string> converted_cube(const std::vector<std::string>& symm) {
  write_grids(1);
  write_file("in.inp", input_text(1, 1, symm));
  EXPECT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
  return testing::split_lines(read_file("c1.cube"));
}

// A primitive (P) lattice, as CRYSTAL prints it with its centring code 1/0 and no matrix: the
// atoms of a skewed cell, to the last digit of the cube file as before centred lattices were
// read (reference lines from an independent single-precision model of the conversion).
TEST(TopJob, PrimitiveLatticeAtomsUnchanged) {
  const double hexagonal[3][3] = {
      {4.25615022826, -2.45728948, 0.0}, {0.0, 4.91457896, 0.0}, {0.0, 0.0, 5.40485895}};
  const std::vector<testing::CrystalAtom> quartz = {
      {14, {0.4705925485842, 0.0, 0.0}}, {8, {0.4151440131428, 0.2670973406544, 0.1199927007933}}};
  const std::vector<std::string> want = {
      "   14   14.000000    3.784957   -2.185246    0.000000",
      "    8    8.000000    3.338987    0.552824    1.225570",
      "   14   14.000000    0.000000    4.370492    3.404568",
      "    8    8.000000   -2.148253    2.615235    4.630138"};
  for (const std::string& cell : {std::string(), testing::centring_text(1)}) {
    TempDir dir;
    write_file("crystal.out", crystal_text(quartz, hexagonal, true, cell));
    const auto lines = converted_cube({"x,y,z", "-y,x-y,z+1/3"});
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[2].substr(0, 5), "    4");
    for (std::size_t k = 0; k < want.size(); ++k) EXPECT_EQ(lines[6 + k], want[k]) << k;
  }
}

// Centred lattices: CRYSTAL prints primitive vectors and the matrix that makes the conventional
// ones; the atoms, given in conventional fractions and expanded with the centring translations,
// land at their conventional Cartesian positions.
struct CentredCase {
  const char* name;
  int code;
  double primitive[3][3];
  double matrix[9];
  double axes[3];  // edges of the orthogonal conventional cell, angstrom
  std::vector<std::string> centring;
  std::vector<std::array<double, 3>> translations;
};

void PrintTo(const CentredCase& c, std::ostream* os) { *os << c.name; }

class TopJobCentred : public ::testing::TestWithParam<CentredCase> {};

TEST_P(TopJobCentred, AtomsAtTheirConventionalPositions) {
  const CentredCase& c = GetParam();
  const std::vector<testing::CrystalAtom> atoms = {{11, {0, 0, 0}}, {17, {0.5, 0.25, 0.1}}};
  TempDir dir;
  write_file("crystal.out",
             crystal_text(atoms, c.primitive, true, testing::centring_text(c.code, c.matrix)));
  const auto lines = converted_cube(c.centring);
  const std::size_t n = atoms.size() * c.translations.size();
  ASSERT_GE(lines.size(), 6 + n);
  for (std::size_t k = 0; k < n; ++k) {
    const testing::CrystalAtom& atom = atoms[k % atoms.size()];
    const auto& t = c.translations[k / atoms.size()];
    std::istringstream row(lines[6 + k]);
    int z = 0;
    double charge = 0, r[3] = {};
    row >> z >> charge >> r[0] >> r[1] >> r[2];
    EXPECT_EQ(z, atom.z) << c.name << " atom " << k;
    for (int m = 0; m < 3; ++m)
      EXPECT_NEAR(r[m], (atom.f[m] + t[m]) * c.axes[m] / 0.5291771292686462, 2e-6)
          << c.name << " atom " << k << " axis " << m;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lattices, TopJobCentred,
    ::testing::Values(
        CentredCase{"F", 5, {{0, 2.82, 2.82}, {2.82, 0, 2.82}, {2.82, 2.82, 0}},
                    {-1, 1, 1, 1, -1, 1, 1, 1, -1}, {5.64, 5.64, 5.64},
                    {"x,y,z", "x,y+1/2,z+1/2", "x+1/2,y,z+1/2", "x+1/2,y+1/2,z"},
                    {{0, 0, 0}, {0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}}},
        CentredCase{"I", 6, {{-2.7335, 2.7335, 5.3575}, {2.7335, -2.7335, 5.3575},
                             {2.7335, 2.7335, -5.3575}},
                    {0, 1, 1, 1, 0, 1, 1, 1, 0}, {5.467, 5.467, 10.715},
                    {"x,y,z", "x+1/2,y+1/2,z+1/2"}, {{0, 0, 0}, {0.5, 0.5, 0.5}}},
        CentredCase{"C", 4, {{2.0, -2.5, 0}, {2.0, 2.5, 0}, {0, 0, 6.0}},
                    {1, 1, 0, -1, 1, 0, 0, 0, 1}, {4.0, 5.0, 6.0},
                    {"x,y,z", "x+1/2,y+1/2,z"}, {{0, 0, 0}, {0.5, 0.5, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A real body-centred crystal (ZnGeP2, I -4 2 d): the P atom at conventional (0.2582, 0.25,
// 0.125) stands where CRYSTAL's own Cartesian table has it, (1.4116, 1.3668, 1.3394) angstrom.
TEST(TopJob, RealBodyCentredCrystal) {
  const fs::path sample = fs::path(QV_SAMPLES) / "crystal_out" / "test39_dft.out";
  if (!fs::exists(sample)) GTEST_SKIP() << "no sample files";
  TempDir dir;
  fs::create_symlink(sample, "crystal.out");
  const auto lines = converted_cube({"x,y,z", "x+1/2,y+1/2,z+1/2"});
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[2].substr(0, 5), "    6");
  std::istringstream row(lines[6]);
  int z = 0;
  double charge = 0, r[3] = {};
  row >> z >> charge >> r[0] >> r[1] >> r[2];
  EXPECT_EQ(z, 15);
  const double want[3] = {1.411579, 1.366750, 1.339375};  // angstrom
  for (int m = 0; m < 3; ++m) EXPECT_NEAR(r[m] * 0.5291771292686462, want[m], 1e-4) << m;
}

// The bundled example: a face-centred rock-salt cell printed as CRYSTAL prints it gives the
// eight ions of the conventional cube that the README lists.
TEST(TopJob, BundledFaceCentredExample) {
  const fs::path examples = fs::path(QV_TEST_DATA) / ".." / ".." / "examples";
  TempDir dir;
  for (const char* file : {"top_example.inp", "top_example_crystal.out", "top_example_rho.dat"})
    fs::create_symlink(fs::canonical(examples / file), file);
  fs::create_directory("out");
  ASSERT_EQ(run_binary("top_example.inp"), 0) << read_file("stderr.txt");
  const auto lines = testing::split_lines(read_file("out/nacl_rho.cube"));
  const std::vector<std::string> want = {
      "   11   11.000000    0.000000    0.000000    0.000000",
      "   17   17.000000    5.329028    0.000000    0.000000",
      "   11   11.000000    0.000000    5.329028    5.329028",
      "   17   17.000000    5.329028    5.329028    5.329028",
      "   11   11.000000    5.329028    0.000000    5.329028",
      "   17   17.000000   10.658056    0.000000    5.329028",
      "   11   11.000000    5.329028    5.329028    0.000000",
      "   17   17.000000   10.658056    5.329028    0.000000"};
  ASSERT_GE(lines.size(), 6 + want.size());
  EXPECT_EQ(lines[2].substr(0, 5), "    8");
  for (std::size_t k = 0; k < want.size(); ++k) EXPECT_EQ(lines[6 + k], want[k]) << k;
}

// CRYSTAL moved every atom while editing the geometry (a new origin): the cube's atoms move too.
TEST(TopJob, CrystalsOwnTranslationMovesTheAtoms) {
  TempDir dir;
  write_file("crystal.out",
             crystal_text(kAtoms, kLattice, true,
                          " ATOMS TRANSLATED BY (ANGSTROM)         0.50000      0.00000     "
                          "-1.00000\n"));
  const auto lines = converted_cube({"x,y,z"});
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[6], "   11   11.000000    0.944863    0.000000   -1.889726");
  EXPECT_EQ(lines[7], "   17   17.000000    4.724316    4.724316    3.779453");
}

class TopJobRuns : public ::testing::TestWithParam<int> {};

TEST_P(TopJobRuns, ValuesReachTheCubeAtTheirPoints) {
  const int n1 = GetParam(), n2 = 2, n3 = 7;
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(1, n1, n2, n3);
  write_file("in.inp", input_text(1, 1, {"x,y,z"}));
  ASSERT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
  const auto lines = testing::split_lines(read_file("c1.cube"));
  ASSERT_EQ(lines[3].substr(0, 5), n1 == 16 ? "   16" : "   17");
  EXPECT_EQ(lines.size(), 6u + 3 + static_cast<std::size_t>(n1 * n2 * 2));  // 7 = 6 + 1 per run
  const auto v = cube_values(lines, 9);
  ASSERT_EQ(v.size(), static_cast<std::size_t>(n1 * n2 * n3));
  std::size_t k = 0;
  for (int i1 = 1; i1 <= n1; ++i1)
    for (int i2 = 1; i2 <= n2; ++i2)
      for (int i3 = 1; i3 <= n3; ++i3, ++k) {
        const double want = point_value(i1, i2, i3, 100.0);
        ASSERT_NEAR(v[k], want, want * 6e-6) << i1 << " " << i2 << " " << i3;
      }
}

INSTANTIATE_TEST_SUITE_P(N1, TopJobRuns, ::testing::Values(16, 17));

TEST(TopJob, NoGridsStillReadsTheCrystalOutput) {
  TempDir dir;
  write_file("in.inp", input_text(0, 0, {"x,y,z"}));
  EXPECT_EQ(run_binary("in.inp"), 1);
  EXPECT_NE(read_file("run.log").find(" " + full_width("crystal.out") +
                                      " file cannot be opened, program stop\n"),
            std::string::npos);
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  EXPECT_EQ(run_binary("in.inp"), 0);
  EXPECT_NE(read_file("run.log").find("           0  file(s) will converted"), std::string::npos);
  for (const auto& e : fs::directory_iterator("."))
    EXPECT_NE(e.path().extension(), ".cube") << e.path();
}

TEST(TopJob, FiveGridsConvertThree) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(4);
  write_file("in.inp", input_text(5, 4, {"x,y,z"}));
  ASSERT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
  for (int g = 1; g <= 3; ++g) {
    const auto lines = testing::split_lines(read_file("c" + std::to_string(g) + ".cube"));
    ASSERT_EQ(lines.size(), 6u + 3 + 4 * 3) << g;
    EXPECT_NEAR(cube_values(lines, 9)[0], point_value(1, 1, 1, 100.0 * g), 1e-3);
  }
  EXPECT_FALSE(fs::exists("c4.cube"));
  EXPECT_EQ(read_file("run.log").rfind(
                " TOPOND FILE CONVERSION SECTION: number of grid files greater than 3. Only "
                "first three files will be converted\n",
                0),
            0u);
}

TEST(TopJob, MissingSecondGridKeepsTheFirstCube) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(1);
  write_file("in.inp", input_text(2, 2, {"x,y,z"}));
  EXPECT_EQ(run_binary("in.inp"), 1);
  const auto lines = testing::split_lines(read_file("c1.cube"));
  EXPECT_EQ(lines.size(), 6u + 3 + 4 * 3);
  EXPECT_FALSE(fs::exists("c2.cube"));
  const std::string log = read_file("run.log");
  EXPECT_NE(log.find("\n " + full_width("g2.dat") + " file cannot be opened, program stop\n"),
            std::string::npos);
  EXPECT_EQ(log.find("TOPOND TO CUBE CONVERSION!!"), std::string::npos);  // no summary
}

TEST(TopJob, DirectoryAsGridCannotBeOpened) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  fs::create_directory("g1.dat");
  write_file("in.inp", input_text(1, 1, {"x,y,z"}));
  EXPECT_EQ(run_binary("in.inp"), 1);
  EXPECT_NE(read_file("run.log").find(" " + full_width("g1.dat") +
                                      " file cannot be opened, program stop\n"),
            std::string::npos);
  EXPECT_FALSE(fs::exists("c1.cube"));
}

TEST(TopJob, MalformedSecondGridIsAFileFailureAfterTheFirstCube) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(1);
  write_file("g2.dat", "   2   1   1\n 0.0\n 0.0\n 0.0\n 1.0 2.0 #\n");
  write_file("in.inp", input_text(2, 2, {"x,y,z"}));
  EXPECT_EQ(run_binary("in.inp"), 2);
  EXPECT_NE(read_file("stderr.txt").find("g2.dat"), std::string::npos);
  EXPECT_EQ(testing::split_lines(read_file("c1.cube")).size(), 6u + 3 + 4 * 3);
}

// Stops on a CRYSTAL output or input the job cannot use: one clear run-log line, exit 1, no cube.
struct StopCase {
  const char* name;
  std::string crystal;
  std::vector<std::string> symm;
  std::string message;
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class TopJobStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(TopJobStops, OneMessageNoCube) {
  TempDir dir;
  write_file("crystal.out", GetParam().crystal);
  write_grids(1);
  write_file("in.inp", input_text(1, 1, GetParam().symm));
  EXPECT_EQ(run_binary("in.inp"), 1);
  EXPECT_NE(read_file("run.log").find(GetParam().message), std::string::npos)
      << read_file("run.log");
  EXPECT_FALSE(fs::exists("c1.cube"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TopJobStops,
    ::testing::Values(
        StopCase{"NoAtomCount", crystal_text(kAtoms, kLattice, false), {"x,y,z"},
                 " crystal.out: no line \" NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL "
                 "CELL:\" before \" INPUT COORDINATES\", so the number of atoms is unknown, "
                 "program stop\n"},
        StopCase{"BadLabel", crystal_text({{-1, {0, 0, 0}}}, kLattice).replace(
                     crystal_text({{-1, {0, 0, 0}}}, kLattice).find("   1  -1"), 8, "   1  Na"),
                 {"x,y,z"},
                 " crystal.out: the atom label \"   1  Na   \" holds no atomic number in its "
                 "characters 7 and 8, program stop\n"},
        StopCase{"CentredWithoutMatrix",
                 crystal_text(kAtoms, kLattice, true, testing::centring_text(6)),
                 {"x,y,z"},
                 " crystal.out, line 13: centring code 6 (a centred lattice) but no line \" "
                 "TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\" before the first \" "
                 "DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)\", so the cell of the "
                 "input coordinates is unknown, program stop\n"},
        StopCase{"UnreadableMatrix",
                 crystal_text(kAtoms, kLattice, true,
                              " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n"
                              "  0.0000  1.0000  1.0000  1.0000  0.0000  1.0000  1.0000  1.0000"
                              "  0.000O\n"),
                 {"x,y,z"},
                 " crystal.out, line 14: the line after \" TRANSFORMATION MATRIX "
                 "PRIMITIVE-CRYSTALLOGRAPHIC CELL\" does not hold the nine numbers of an "
                 "invertible matrix, so the cell of the input coordinates is unknown, program "
                 "stop\n"},
        StopCase{"ZeroDenominator", crystal_text(kAtoms, kLattice), {"x,y,z+1/0"},
                 "symmetry operation \"x,y,z+1/0\" (in.inp, line 10) holds a fraction with a "
                 "zero denominator, PROGRAM STOP\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TopJob, ComponentWithoutLetterWarnsAndConverts) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  write_grids(1);
  write_file("in.inp", input_text(1, 1, {"x,y,1/2"}));
  ASSERT_EQ(run_binary("in.inp"), 0);
  EXPECT_NE(read_file("run.log").find(
                "\n+x,+y, TOPOND SECTION, SYMMETRY OPERATION:problem in the reading process....\n"
                "+0.50, \n"),
            std::string::npos);
  const auto lines = testing::split_lines(read_file("c1.cube"));
  EXPECT_EQ(lines[6], "   11   11.000000    0.000000    0.000000    5.669179");  // z = 1/2: 3 A
  EXPECT_EQ(lines[8], "    8    8.000000    1.889726    0.944863    5.669179");
}

// An output without a lattice block (a molecule, a truncated run) fails as a file that ends
// too early: the file layer's message on standard error, and no cube.
TEST(TopJob, MissingLatticeBlockIsRefused) {
  TempDir dir;
  const std::string full = crystal_text(kAtoms, kLattice);
  write_file("crystal.out", full.substr(0, full.find(" DIRECT LATTICE")));
  write_grids(1);
  write_file("in.inp", input_text(1, 1, {"x,y,z"}));
  EXPECT_EQ(run_binary("in.inp"), 2);
  EXPECT_NE(read_file("stderr.txt").find("crystal.out"), std::string::npos);
  EXPECT_NE(read_file("stderr.txt").find("DIRECT LATTICE VECTORS"), std::string::npos);
  EXPECT_FALSE(fs::exists("c1.cube"));
}

TEST(TopJob, CubeNeverOverwritesAnInputFile) {
  TempDir dir;
  write_file("crystal.out", crystal_text(kAtoms, kLattice));
  const std::string grid = topond_text(4, 3, 2);
  write_file("g1.cube", grid);
  std::string in = input_text(1, 0, {"x,y,z"});
  in.replace(in.find("CRYSTAL_OUTPUT_NAME"), 0, "GRID_FILE_NAME g1.cube\nCUBE_NAME(OUTPUT) g1\n");
  write_file("in.inp", in);
  EXPECT_EQ(run_binary("in.inp"), 1);
  EXPECT_EQ(read_file("g1.cube"), grid);
  EXPECT_NE(read_file("run.log").find("would overwrite the input file g1.cube"),
            std::string::npos);
}

}  // namespace
}  // namespace qv
