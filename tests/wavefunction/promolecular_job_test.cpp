// The WFN job on .xyz and .pdb geometries, run by the program: the same cubes from either
// format, the cube header, and the refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "../support/temp_dir.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::run_binary;
using testing::TempDir;
using testing::write_file;

struct Atom {
  const char* element;  // as the element columns hold it
  const char* name;     // PDB atom name, columns 13-16
  double x, y, z;       // angstrom, three decimals
};

const std::vector<Atom> kWaterDimer = {
    {"O", " O1 ", -1.551, -0.115, 0.000}, {"H", " H1 ", -1.934, 0.763, 0.000},
    {"H", " H2 ", -0.600, 0.041, 0.000},  {"O", " O2 ", 1.351, 0.111, 0.000},
    {"H", " H3 ", 1.680, -0.374, -0.759}, {"H", " H4 ", 1.680, -0.374, 0.759}};

// 2-chloro-N-(sulfanylmethyl)acetamide, roughly: C, N, O, S, Cl and H.
const std::vector<Atom> kChloroAmide = {
    {"CL", "CL1 ", -2.713, 0.421, 0.012}, {"C", " C1 ", -1.135, -0.312, -0.143},
    {"C", " C2 ", 0.000, 0.652, 0.101},   {"O", " O1 ", -0.142, 1.861, 0.204},
    {"N", " N1 ", 1.212, 0.054, 0.163},   {"C", " C3 ", 2.451, 0.781, 0.398},
    {"S", " S1 ", 3.912, -0.251, 0.523},  {"H", " H1 ", -1.082, -1.101, 0.611},
    {"H", " H2 ", -1.121, -0.771, -1.131}, {"H", " H3 ", 1.291, -0.951, 0.072},
    {"H", " H4 ", 2.382, 1.361, 1.321},   {"H", " H5 ", 2.593, 1.482, -0.431},
    {"H", " H6 ", 4.871, 0.672, 0.812}};

std::string xyz_text(const std::vector<Atom>& atoms) {
  std::string s = std::to_string(atoms.size()) + "\nmade by the test\n";
  char buf[100];
  for (const Atom& a : atoms) {
    std::snprintf(buf, sizeof buf, "%-2s %10.3f %10.3f %10.3f\n", a.element, a.x, a.y, a.z);
    s += buf;
  }
  return s;
}

std::string pdb_text(const std::vector<Atom>& atoms, bool element_columns) {
  std::string s = "REMARK   made by the test\n";
  char buf[100];
  int serial = 1;
  for (const Atom& a : atoms) {
    std::snprintf(buf, sizeof buf, "HETATM%5d %-4s LIG A   1    %8.3f%8.3f%8.3f  1.00  0.00          %2s\n",
                  serial++, a.name, a.x, a.y, a.z, element_columns ? a.element : "");
    s += buf;
  }
  return s + "END\n";
}

std::string input(const std::string& geometry, const std::string& calc) {
  return "OUTPUT_FILE_NAME run.log\nSECTIONS *WFN\nPROPERTIES FROM WAVEFUNCTION\nINPUT " +
         geometry + "\nOUTPUT mol\nCALCULATING " + calc +
         "\nCENTER 0.5 0.2 0.1\nN_POINTS_X 21\nSTEPSIZE_X 0.35\nN_POINTS_Y 18\nSTEPSIZE_Y 0.3\n"
         "N_POINTS_Z 15\nSTEPSIZE_Z 0.4\n";
}

std::vector<std::string> run_and_collect(const std::string& geometry_name, const std::string& text,
                                         int threads = 1) {
  write_file(geometry_name, text);
  write_file("in.inp", input(geometry_name, "*rho *gra *lap"));
  EXPECT_EQ(run_binary("--threads " + std::to_string(threads) + " in.inp"), 0) << read_file("stderr.txt") << read_file("run.log");
  std::vector<std::string> cubes;
  for (const char* suffix : {"_rho.cube", "_gradrho.cube", "_laplrho.cube"}) {
    cubes.push_back(read_file(std::string("mol") + suffix));
    std::filesystem::remove(std::string("mol") + suffix);
  }
  return cubes;
}

TEST(PromolecularJob, XyzAndPdbGiveTheSameCubes) {
  for (const auto* atoms : {&kWaterDimer, &kChloroAmide}) {
    TempDir dir;
    const auto from_xyz = run_and_collect("mol.xyz", xyz_text(*atoms));
    const auto from_pdb = run_and_collect("mol.PDB", pdb_text(*atoms, true));
    const auto from_names = run_and_collect("names.pdb", pdb_text(*atoms, false));
    const auto three_threads = run_and_collect("mol.xyz", xyz_text(*atoms), 3);
    for (std::size_t c = 0; c < 3; ++c) {
      EXPECT_TRUE(from_xyz[c] == three_threads[c]) << c;
      ASSERT_GT(from_xyz[c].size(), 21u * 18u * 15u * 12u);
      EXPECT_TRUE(from_xyz[c] == from_pdb[c]) << c;
      EXPECT_TRUE(from_xyz[c] == from_names[c]) << c;
    }
    // The header: atom count and origin, then per atom Z, Z as the charge, position in bohr.
    std::istringstream cube(from_xyz[0]);
    std::string line;
    std::getline(cube, line);
    std::getline(cube, line);
    int natoms = 0;
    cube >> natoms;
    EXPECT_EQ(natoms, static_cast<int>(atoms->size()));
    std::getline(cube, line);
    for (int k = 0; k < 3; ++k) std::getline(cube, line);
    for (const Atom& a : *atoms) {
      int z = 0;
      double charge = 0, x = 0, y = 0, zz = 0;
      cube >> z >> charge >> x >> y >> zz;
      const int expected = std::string(a.element) == "CL" ? 17 : std::string("HCNOS").find(a.element[0]) == 0 ? 1
                           : a.element[0] == 'C' ? 6 : a.element[0] == 'N' ? 7 : a.element[0] == 'O' ? 8 : 16;
      EXPECT_EQ(z, expected) << a.name;
      EXPECT_EQ(charge, expected);
      EXPECT_NEAR(x, a.x / 0.529177210903, 1e-6);
      EXPECT_NEAR(y, a.y / 0.529177210903, 1e-6);
      EXPECT_NEAR(zz, a.z / 0.529177210903, 1e-6);
    }
    EXPECT_NE(read_file("run.log").find("promolecular density"), std::string::npos);
  }
}

// The values of a cube file, in file order.
std::vector<double> cube_values(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  std::getline(in, line);
  int natoms = 0;
  in >> natoms;
  std::getline(in, line);
  for (int k = 0; k < 3 + natoms; ++k) std::getline(in, line);
  std::vector<double> values;
  for (double v; in >> v;) values.push_back(v);
  return values;
}

TEST(PromolecularJob, TheRdgJobFindsTheHydrogenBondOfTheDimer) {
  TempDir dir;
  write_file("w.xyz", xyz_text(kWaterDimer));
  // A fine grid around the hydrogen bond, between H2 and the second oxygen.
  std::string text =
      "OUTPUT_FILE_NAME run.log\nSECTIONS *WFN *RDG\nPROPERTIES FROM WAVEFUNCTION\nINPUT w.xyz\n"
      "OUTPUT mol\nCALCULATING *rho\nCENTER 0.7 0.15 0.0\nN_POINTS_X 31\nSTEPSIZE_X 0.1\n"
      "N_POINTS_Y 25\nSTEPSIZE_Y 0.1\nN_POINTS_Z 25\nSTEPSIZE_Z 0.1\n";
  text +=
      "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\nINPUT *CUB\nCALCULATING *RDG *rho\n"
      "RHO_INPUT_CUBE mol_rho.cube\nGRAD= *calc\nLAPL= *calc\nLAPL_INPUT_CUBE\n"
      "RDG_CALCULATION *all_p\nRDG_OUTPUT rdg\nSPACE_CUTOFF *none\nRHO_SIGN_CALCULATION\n"
      "RHO_SIGN_OUTPUT rhosign\n";
  write_file("in.inp", text);
  ASSERT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt") << read_file("run.log");
  const auto rdg = cube_values(read_file("rdg.cube"));
  const auto rhosign = cube_values(read_file("rhosign.cube"));
  ASSERT_EQ(rdg.size(), 31u * 25u * 25u);
  ASSERT_EQ(rhosign.size(), rdg.size());
  // Between the molecules, where the density is that of a hydrogen bond (0.01 to 0.05 au),
  // the gradient nearly vanishes: low RDG with lambda2 < 0.
  bool bond = false;
  for (std::size_t p = 0; p < rdg.size(); ++p)
    bond = bond || (rdg[p] < 0.3 && rhosign[p] < -0.01 && rhosign[p] > -0.05);
  EXPECT_TRUE(bond);
  EXPECT_NE(read_file("run.log").find("REDUCED DENSITY GRADIENT ISOSURFACES STATISTICS"), std::string::npos);
}

TEST(PromolecularJob, AnAbsurdGridIsRefusedAtOnce) {
  TempDir dir;
  write_file("w.xyz", xyz_text(kWaterDimer));
  std::string text = input("w.xyz", "*rho *gra");
  text.replace(text.find("N_POINTS_X 21"), 13, "N_POINTS_X 999999999");
  write_file("in.inp", text);
  EXPECT_EQ(run_binary("in.inp"), 3);
  EXPECT_NE(read_file("stderr.txt").find("out of memory"), std::string::npos) << read_file("stderr.txt");
  EXPECT_FALSE(std::filesystem::exists("mol_rho.cube"));
}

TEST(PromolecularJob, RefusalsStopWithExitOneAndNoCube) {
  struct Case {
    std::string name, text, calc, message;
  };
  for (const Case& c : {
           Case{"w.xyz", xyz_text(kWaterDimer), "*rho *ene", "WFN SECTION: the energy densities (ene) need orbitals"},
           Case{"w.xyz", "2\nc\nH 0 0 0\nXy 0 0 1\n", "*rho", "w.xyz line 4: \"Xy\" is not an element symbol, program stop"},
           Case{"w.xyz", "1\nc\nRn 0 0 0\n", "*rho", "w.xyz line 3: element Rn (atomic number 86) has no free-atom density"},
           Case{"w.xyz", "1\nc\nH 0 0\n", "*gra", "w.xyz line 3: an atom line needs"},
           Case{"w.xyz", "3\nc\nH 0 0 0\n", "*lap", "w.xyz line 4: end of file after 1 atom lines; line 1 gives 3"},
           Case{"w.xyz", "1\nc\nH 0 0 0\nH 0 0 1\n", "*rho", "w.xyz line 4: more atom lines than the 1 atoms"},
           Case{"w.pdb", "HEADER\n", "*rho", "w.pdb: no ATOM or HETATM records, program stop"},
           Case{"missing.pdb", "", "*rho", "missing.pdb                       file cannot be opened, program stop"},
       }) {
    SCOPED_TRACE(c.message);
    TempDir dir;
    if (c.name != "missing.pdb") write_file(c.name, c.text);
    write_file("in.inp", input(c.name, c.calc));
    EXPECT_EQ(run_binary("in.inp"), 1);
    EXPECT_NE(read_file("run.log").find(c.message), std::string::npos) << read_file("run.log");
    EXPECT_NE(read_file("stdout.txt").find(c.message), std::string::npos) << read_file("stdout.txt");
    for (const char* suffix : {"_rho.cube", "_gradrho.cube", "_laplrho.cube"})
      EXPECT_FALSE(std::filesystem::exists(std::string("mol") + suffix)) << suffix;
  }
}

}  // namespace
}  // namespace qv
