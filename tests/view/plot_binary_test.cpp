// The quelvarin-plot binary: its argument and the input file it is given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/small_cube.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

// quelvarin-plot with `args`, its output in out.txt and err.txt.
int run_plot(const std::string& args) {
  return testing::run_shell(std::string(QV_PLOT_BINARY) + " " + args);
}

TEST(PlotCommand, BinaryReportsBadInputFiles) {
  TempDir dir;
  EXPECT_EQ(run_plot("missing.inp"), 2);
  EXPECT_NE(read_file("err.txt").find("\"missing.inp\": the input file cannot be opened"),
            std::string::npos);
  EXPECT_EQ(run_plot(""), 1);
  EXPECT_NE(read_file("err.txt").find("usage: quelvarin-plot [OPTIONS] INPUT"), std::string::npos);
  // An input whose RDG job is off: nothing to draw, and the run log it names is left alone.
  write_file("run.inp", "title\nOUTPUT_FILE_NAME run.log\nSECTIONS *WFN\n");
  write_file("run.log", "the log of the run\n");
  EXPECT_NE(run_plot("run.inp"), 0);
  EXPECT_EQ(read_file("run.log"), "the log of the run\n");
}

// An input file of a run with the RDG job: both tables, RDG and rho*sign(lambda2) cubes, the
// outputs in a subfolder.
const char* kRdgInput =
    "NCI run\n"
    "OUTPUT_FILE_NAME out/run.log\n"
    "SECTIONS *RDG\n"
    "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\n"
    "INPUT  *CUB\n"
    "CALCULATING *RDG *rho *plo\n"
    "RHO_INPUT_CUBE   density.cube\n"
    "GRAD= *calc\n"
    "LAPL= *calc\n"
    "RDG_CALCULATION *all_p\n"
    "RDG_OUTPUT  out/mol_rdg\n"
    "SPACE_CUTOFF *none\n"
    "RHO_SIGN_CALCULATION\n"
    "RHO_SIGN_OUTPUT out/mol_sign\n"
    "2DPLOT *rho *rhosign\n"
    "PLOT_NAME   'out/mol'\n";  // quoted: a slash would end the name

const std::string kCube = testing::small_cube_text();

TEST(PlotBinary, FindsTheOutputsThroughTheInputFile) {
  TempDir dir;
  std::filesystem::create_directory("out");
  write_file("run.inp", kRdgInput);
  write_file("out/run.log", "the log of the run\n");
  const std::string row = "      -0.205E-01           0.305E+00\n";
  write_file("out/mol_rho.2D", "       rho                RDG       \n" + row);
  write_file("out/mol_rhosign.2D", "  rho*sign(lambda2)           RDG       \n" + row + row);
  write_file("out/mol_rdg.cube", kCube);
  write_file("out/mol_sign.cube", kCube);
  ASSERT_EQ(run_plot("--no-render run.inp"), 0) << read_file("err.txt");
  EXPECT_EQ(read_file("err.txt"), "");
  const std::string said = read_file("out.txt");
  EXPECT_NE(said.find("wrote out/mol_rho.svg from out/mol_rho.2D (1 points, 1 outside"),
            std::string::npos) << said;
  EXPECT_NE(said.find("wrote out/mol_rhosign.svg from out/mol_rhosign.2D (2 points, 0 outside"),
            std::string::npos) << said;
  const std::string svg = read_file("out/mol_rhosign.svg");
  EXPECT_NE(svg.find("table out/mol_rhosign.2D of input run.inp"), std::string::npos);
  // The script sits beside the cubes and names them from there.
  const std::string script = read_file("out/mol_rdg.vmd");
  EXPECT_NE(script.find("mol new [file join $qv_here {mol_sign.cube}]"), std::string::npos);
  EXPECT_NE(script.find("mol addfile [file join $qv_here {mol_rdg.cube}]"), std::string::npos);
  EXPECT_EQ(read_file("out/run.log"), "the log of the run\n");
  EXPECT_EQ(read_file("out/mol_rdg.cube"), kCube);
}

TEST(PlotBinary, InputThatStopsWhileReadShowsWhy) {
  TempDir dir;
  // The RDG block ends before its template is complete: the reader stops.
  write_file("run.inp", "NCI run\nOUTPUT_FILE_NAME run.log\nSECTIONS *RDG\n"
                        "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\nINPUT *CUB\n");
  EXPECT_EQ(run_plot("run.inp"), 1);
  const std::string err = read_file("err.txt");
  EXPECT_NE(err.find("THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP"), std::string::npos) << err;
  EXPECT_NE(err.find("the input file run.inp stops while being read: nothing drawn"),
            std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists("run.log"));
}

}  // namespace
}  // namespace qv
