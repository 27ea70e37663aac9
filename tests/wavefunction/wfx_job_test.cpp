// The WFN job on .wfx files, run by the program: the same cubes as from the .wfn of the same
// wavefunction, the run summary's format line, and the refusals (message, exit 1, no cube).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "../support/temp_dir.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::run_binary;
using testing::TempDir;
using testing::write_file;

namespace fs = std::filesystem;

std::string input(const std::string& wavefunction, const std::string& stem) {
  return "OUTPUT_FILE_NAME " + stem + ".log\n"
         "SECTIONS *WFN\n"
         "PROPERTIES FROM WAVEFUNCTION\n"
         "INPUT " + wavefunction + "\n"
         "OUTPUT " + stem + "\n"
         "CALCULATING *rho *gra *lap *ene\n"
         "CENTER 0.2 0.1 -0.3\n"
         "N_POINTS_X 9\nSTEPSIZE_X 0.3\nN_POINTS_Y 8\nSTEPSIZE_Y 0.3\nN_POINTS_Z 7\nSTEPSIZE_Z 0.3\n";
}

const std::vector<testing::TestAtom> kAtoms{{0, 0, 0.25, 8}, {1.5, 0.5, -0.75, 1}, {-1.5, 0.5, -0.75, 1}};

// Every type from s to h, on every centre; numbers of at most 7 significant digits.
std::vector<testing::TestPrimitive> every_type() {
  std::vector<testing::TestPrimitive> prims;
  for (int t = 56; t >= 1; t -= 1)
    prims.push_back({t % 3, t, 0.25 + 0.125 * (t % 7), {0.0625 * (t % 9) - 0.25, 0.03125 * (t % 5)}});
  return prims;
}

const char* const kSuffixes[] = {"_rho.cube", "_gradrho.cube", "_laplrho.cube",
                                 "_G.cube",   "_V.cube",       "_H.cube"};

TEST(WfxJob, GivesTheCubesOfTheSameWfn) {
  TempDir dir;
  const auto prims = every_type();
  write_file("mol.wfn", testing::wfn_text(kAtoms, prims, {2.0, 0.5}));
  write_file("mol.wfx", testing::wfx_text(kAtoms, prims, {2.0, 0.5}));
  write_file("a.inp", input("mol.wfn", "a"));
  write_file("b.inp", input("mol.wfx", "b"));
  ASSERT_EQ(run_binary("a.inp"), 0) << read_file("stderr.txt");
  ASSERT_EQ(run_binary("b.inp"), 0) << read_file("stderr.txt");
  for (const char* suffix : kSuffixes) {
    SCOPED_TRACE(suffix);
    const std::string a = read_file(std::string("a") + suffix);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, read_file(std::string("b") + suffix));
  }
  // The run logs differ by the input's name, the output names and the format line only.
  std::string log_a = read_file("a.log"), log_b = read_file("b.log");
  const std::string format_line = " read as a .wfx file (extended AIM wavefunction)\n";
  const std::string input_line = " input wavefunction:   mol.wfx" + std::string(26, ' ') + "\n";
  const std::size_t at = log_b.find(input_line + format_line);
  ASSERT_NE(at, std::string::npos) << log_b;
  log_b.erase(at + input_line.size(), format_line.size());
  for (std::size_t p = 0; (p = log_b.find("mol.wfx", p)) != std::string::npos;) log_b.replace(p, 7, "mol.wfn");
  for (std::size_t p = 0; (p = log_b.find(":  b_", p)) != std::string::npos;) log_b.replace(p, 5, ":  a_");
  for (std::size_t p = 0; (p = log_b.find(":b_", p)) != std::string::npos;) log_b.replace(p, 3, ":a_");
  EXPECT_EQ(log_a, log_b);
}

TEST(WfxJob, SummaryCountsTheCorePrimitivesAndThreadsChangeNoByte) {
  TempDir dir;
  write_file("mol.wfx", testing::wfx_text(kAtoms, every_type(), {2.0, 0.5},
                                          {{0, 1, 40.0, 20.0}, {0, 1, 4.0, 1.5}}));
  write_file("one.inp", input("mol.wfx", "one"));
  write_file("in.inp", input("mol.wfx", "c"));
  ASSERT_EQ(run_binary("one.inp --threads 1"), 0) << read_file("stderr.txt");
  ASSERT_EQ(run_binary("in.inp --threads 3"), 0) << read_file("stderr.txt");
  for (const char* suffix : kSuffixes)
    EXPECT_EQ(read_file(std::string("one") + suffix), read_file(std::string("c") + suffix)) << suffix;
  EXPECT_NE(read_file("c.log").find(
                " input wavefunction:   mol.wfx                          \n"
                " read as a .wfx file (extended AIM wavefunction), with 2 EDF primitives (core "
                "density)\n properties to be evaluated:\n"),
            std::string::npos)
      << read_file("c.log");
}

TEST(WfxJob, RefusalsStopWithoutOutput) {
  const std::string good = testing::wfx_text(kAtoms, every_type(), {2.0, 0.5});
  struct Case {
    std::string from, to, message;
  };
  for (const Case& c : {
           Case{"</Primitive Types>\n", "", "<Primitive Types>: the tag is not closed"},
           Case{"<Nuclear Names>\n X1\n X2\n X3\n</Nuclear Names>\n", "", "mol.wfx <Nuclear Names>: this required section is missing, program stop"},
           Case{"<Number of Primitives>\n 56", "<Number of Primitives>\n 55", "<Primitive Centers>: holds 56 numbers where the primitives make 55"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n   2.x5", "<Primitive Exponents>: \"2.x5"},
           Case{"<Primitive Types>\n 56", "<Primitive Types>\n 57", "<Primitive Types>: primitive 1 has type 57;"},
           Case{"<Primitive Centers>\n 3", "<Primitive Centers>\n 4", "<Primitive Centers>: 4 is not a whole number from 1 to 3"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n  -2.5", "primitive 1 has exponent -0.25"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n NaN   2.5", "<Primitive Exponents>: NAN is not a finite number"},
       }) {
    SCOPED_TRACE(c.to);
    TempDir dir;
    std::string text = good;
    ASSERT_NE(text.find(c.from), std::string::npos);
    text.replace(text.find(c.from), c.from.size(), c.to);
    write_file("mol.wfx", text);
    write_file("in.inp", input("mol.wfx", "d"));
    EXPECT_EQ(run_binary("in.inp"), 1);
    const std::string log = read_file("d.log");
    EXPECT_NE(log.find(c.message), std::string::npos) << log;
    for (const char* suffix : kSuffixes) EXPECT_FALSE(fs::exists(std::string("d") + suffix));
  }
}

// The example's script writes one wavefunction (with g functions) in both layouts.
TEST(WfxJob, TheExampleScriptsWavefunctionGivesTheSameCubesBothWays) {
  const fs::path script =
      fs::path(QV_TEST_DATA).parent_path().parent_path() / "examples" / "make_water_dimer_wfx.py";
  if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  TempDir dir;
  for (const char* name : {"dimer.wfn", "dimer.wfx"})
    ASSERT_EQ(std::system(("python3 " + script.string() + " " + name + " >/dev/null").c_str()), 0);
  ASSERT_NE(read_file("dimer.wfx").find("<Primitive Types>"), std::string::npos);
  write_file("a.inp", input("dimer.wfn", "a"));
  write_file("b.inp", input("dimer.wfx", "b"));
  ASSERT_EQ(run_binary("a.inp"), 0) << read_file("stderr.txt");
  ASSERT_EQ(run_binary("b.inp"), 0) << read_file("stderr.txt");
  for (const char* suffix : kSuffixes) {
    SCOPED_TRACE(suffix);
    EXPECT_EQ(read_file(std::string("a") + suffix), read_file(std::string("b") + suffix));
  }
  EXPECT_NE(read_file("a_rho.cube").find("\n    8    8.000000"), std::string::npos);
}

}  // namespace
}  // namespace qv
