// The WFN job run by the program: which files it writes, their names and grid, and the stops on
// wavefunctions it cannot use.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "../support/temp_dir.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::run_binary;
using testing::TempDir;
using testing::write_file;

std::string input(const std::string& out_line, const std::string& calc, int n = 3) {
  const std::string np = std::to_string(n);
  return "OUTPUT_FILE_NAME run.log\n"
         "SECTIONS *WFN\n"
         "PROPERTIES FROM WAVEFUNCTION\n"
         "INPUT mol.wfn\n" +
         out_line + "\n" + "CALCULATING " + calc +
         "\n"
         "CENTER 0.25 -0.5 1.0\n"
         "N_POINTS_X " + np + "\nSTEPSIZE_X 0.2\nN_POINTS_Y " + np + "\nSTEPSIZE_Y 0.2\n" +
         "N_POINTS_Z " + np + "\nSTEPSIZE_Z 0.2\n";
}

std::string molecule(int type = 1) {
  return testing::wfn_text({{0.25, -0.5, 1.0, 8}, {1.25, -0.5, 1.0, 1}},
                           {{0, type, 1.5, {0.8}}, {1, 1, 0.5, {0.3}}}, {2.0});
}

// Files the run created besides its input, run log and captured streams.
std::set<std::string> outputs() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator("."))
    names.insert(e.path().filename().string());
  for (const char* known : {"in.inp", "mol.wfn", "run.log", "stdout.txt", "stderr.txt"})
    names.erase(known);
  return names;
}

TEST(WfnJob, WritesExactlyTheRequestedFiles) {
  struct Case {
    std::string out_line, calc;
    std::set<std::string> files;
  };
  for (const Case& c : {
           Case{"OUTPUT dimer", "*ene", {"dimer_G.cube", "dimer_V.cube", "dimer_H.cube"}},
           Case{"OUTPUT", "*rho", {"_rho.cube"}},
           Case{"OUTPUT  d", "*gra *lap", {"d_gradrho.cube", "d_laplrho.cube"}},
           Case{"OUTPUT d", "*rho*gra*lap*ene",
                {"d_rho.cube", "d_gradrho.cube", "d_laplrho.cube", "d_G.cube", "d_V.cube", "d_H.cube"}},
           Case{"OUTPUT d", "nothing", {}},
       }) {
    SCOPED_TRACE(c.calc);
    TempDir dir;
    write_file("in.inp", input(c.out_line, c.calc));
    write_file("mol.wfn", molecule());
    EXPECT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
    EXPECT_EQ(outputs(), c.files);
    const std::string log = read_file("run.log");
    EXPECT_NE(log.find("!!!!!!!!!!PROPERTIES FROM WAVEFUNCTION!!!!!!!!!!!"), std::string::npos);
  }
}

TEST(WfnJob, SinglePointCubeHoldsTheCentre) {
  TempDir dir;
  write_file("in.inp", input("OUTPUT one", "*rho", 1));
  write_file("mol.wfn", molecule());
  ASSERT_EQ(run_binary("in.inp"), 0) << read_file("stderr.txt");
  std::istringstream cube(read_file("one_rho.cube"));
  std::string line;
  std::getline(cube, line);
  std::getline(cube, line);
  std::getline(cube, line);
  EXPECT_EQ(line, "    2    0.250000   -0.500000    1.000000");
  for (int k = 0; k < 3; ++k) std::getline(cube, line);
  EXPECT_EQ(line, "    1    0.000000    0.000000    0.200000");
  std::getline(cube, line);
  EXPECT_EQ(line, "    8    8.000000    0.250000   -0.500000    1.000000");
  std::getline(cube, line);
  std::getline(cube, line);
  // rho = 2 (0.8 + 0.3 exp(-0.5))^2 at the first centre.
  const double psi = 0.8 + 0.3 * std::exp(-0.5);
  EXPECT_NEAR(std::stod(line), 2 * psi * psi, 1e-5);
}

TEST(WfnJob, UnusableWavefunctionsStopWithoutOutput) {
  struct Case {
    std::string wfn, message;
  };
  for (const Case& c : {Case{molecule(57), "mol.wfn line 6: primitive 1 has type 57;"},
                        Case{"", "mol.wfn                           file cannot be opened"}}) {
    TempDir dir;
    write_file("in.inp", input("OUTPUT d", "*rho*gra*lap*ene"));
    if (!c.wfn.empty()) write_file("mol.wfn", c.wfn);
    EXPECT_EQ(run_binary("in.inp"), 1);
    EXPECT_EQ(outputs(), std::set<std::string>{});
    const std::string log = read_file("run.log");
    EXPECT_NE(log.find(c.message), std::string::npos) << log;
    EXPECT_EQ(log.find("PROPERTIES FROM WAVEFUNCTION!"), std::string::npos);  // no summary
  }
}

}  // namespace
}  // namespace qv
