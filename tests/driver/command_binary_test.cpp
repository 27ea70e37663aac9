// Both commands' command lines through the binaries: --help and --version, refused options
// (exit 2, nothing written), the chosen isovalue in the scripts, and the PNG step with and
// without a PyMOL interpreter (a stand-in here; the real one is tested in tests/view).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "support/png_writer.hpp"
#include "support/small_cube.hpp"
#include "support/temp_dir.hpp"
#include "view/png_mark.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::run_shell;
using testing::TempDir;
using testing::write_file;

int quelvarin(const std::string& args) { return run_shell(std::string(QV_BINARY) + " " + args); }
int plot(const std::string& args, const std::string& python = "/nonexistent/python3") {
  return run_shell("QUELVARIN_PYMOL_PYTHON=" + python + " " + QV_PLOT_BINARY + " " + args);
}

std::set<std::string> files_here() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator("."))
    names.insert(e.path().filename().string());
  return names;
}

const char* kInput =
    "NCI run\nOUTPUT_FILE_NAME run.log\nSECTIONS *RDG\n"
    "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\nINPUT  *CUB\nCALCULATING *RDG *rho\n"
    "RHO_INPUT_CUBE   density.cube\nGRAD= *calc\nLAPL= *calc\nRDG_CALCULATION *all_p\n"
    "RDG_OUTPUT  mol_rdg\nSPACE_CUTOFF *none\nRHO_SIGN_CALCULATION\nRHO_SIGN_OUTPUT mol_sign\n";

const std::string kCube = testing::small_cube_text();

void write_run() {
  write_file("run.inp", kInput);
  write_file("mol_rdg.cube", kCube);
  write_file("mol_sign.cube", kCube);
}

TEST(CommandBinaries, HelpAndVersionOnStandardOutput) {
  TempDir dir;
  for (const std::string program : {"quelvarin", "quelvarin-plot"}) {
    const std::string binary = program == "quelvarin" ? QV_BINARY : QV_PLOT_BINARY;
    EXPECT_EQ(run_shell(binary + " --help"), 0);
    const std::string help = read_file("out.txt");
    EXPECT_TRUE(help.starts_with("usage: " + program + " [OPTIONS] INPUT\n")) << help;
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_LE(std::count(help.begin(), help.end(), '\n'), 24) << "one screen";
    EXPECT_EQ(read_file("err.txt"), "");
    EXPECT_EQ(run_shell(binary + " --version"), 0);
    EXPECT_EQ(read_file("out.txt"), program + " 0.1.0\n");
  }
  EXPECT_EQ(run_shell(std::string(QV_PLOT_BINARY) + " --help"), 0);
  for (const char* option :
       {"--iso VALUE", "--range VALUE", "--no-render", "--min-points N", "--kind-threshold VALUE"})
    EXPECT_NE(read_file("out.txt").find(option), std::string::npos) << option;
}

TEST(CommandBinaries, RefusedOptionsWriteNothing) {
  struct Case {
    bool plot;
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {true, "--iso -1 run.inp", "quelvarin-plot: --iso needs a number greater than 0, not \"-1\""},
      {true, "--range 0 run.inp", "quelvarin-plot: --range needs a number greater than 0, not \"0\""},
      {true, "--iso half run.inp", "quelvarin-plot: --iso needs a number greater than 0, not \"half\""},
      {true, "--range", "quelvarin-plot: --range needs a value: --range VALUE"},
      {true, "--min-points 4.5 run.inp",
       "quelvarin-plot: --min-points needs a whole number of 1 or more, not \"4.5\""},
      {true, "--min-points 0 run.inp",
       "quelvarin-plot: --min-points needs a whole number of 1 or more, not \"0\""},
      {true, "--min-points 8x run.inp",
       "quelvarin-plot: --min-points needs a whole number of 1 or more, not \"8x\""},
      {true, "--kind-threshold -0.01 run.inp",
       "quelvarin-plot: --kind-threshold needs a number of 0 or more, not \"-0.01\""},
      {true, "--kind-threshold none run.inp",
       "quelvarin-plot: --kind-threshold needs a number of 0 or more, not \"none\""},
      {true, "--iso 0.3 --min-points", "quelvarin-plot: --min-points needs a value: --min-points N"},
      {true, "--colour red run.inp", "quelvarin-plot: unknown option --colour"},
      {true, "run.inp --iso 0.3", "quelvarin-plot: unexpected argument \"--iso\" after INPUT"},
      {false, "--iso 0.3 run.inp", "quelvarin: unknown option --iso"},
      {false, "run.inp extra", "quelvarin: unexpected argument \"extra\" after INPUT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    TempDir dir;
    write_run();
    const std::set<std::string> before = files_here();
    EXPECT_EQ(c.plot ? plot(c.args) : quelvarin(c.args), 2);
    EXPECT_TRUE(read_file("err.txt").starts_with(c.message)) << read_file("err.txt");
    EXPECT_EQ(read_file("out.txt"), "");
    std::set<std::string> after = files_here();
    after.erase("out.txt"), after.erase("err.txt");
    EXPECT_EQ(after, before);
  }
}

TEST(CommandBinaries, ChosenIsovalueWithoutPicture) {
  TempDir dir;
  write_run();
  ASSERT_EQ(plot("--iso 0.3 --range 0.02 --no-render run.inp"), 0) << read_file("err.txt");
  EXPECT_NE(read_file("mol_rdg.vmd").find("Isosurface 0.300000"), std::string::npos);
  EXPECT_NE(read_file("mol_rdg.vmd").find("-0.020000 0.020000"), std::string::npos);
  EXPECT_NE(read_file("mol_rdg.pml").find("isosurface nci, rdg, 0.3\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists("mol_rdg_atoms.xyz"));
  EXPECT_FALSE(std::filesystem::exists("mol_rdg_nci.png"));
  EXPECT_EQ(read_file("out.txt").find("PNG"), std::string::npos) << "--no-render: not a word";
  // The table of NCI regions takes the same isovalue and range, and its own two options.
  ASSERT_EQ(plot("--iso 0.3 --min-points 8 --kind-threshold 0 --no-render run.inp"), 0)
      << read_file("err.txt");
  EXPECT_NE(read_file("out.txt").find("RDG < 0.3, |rho*sign(lambda2)| <= 0.05, at least 8 points "
                                      "each\nkind threshold 0 a.u.; grid 5 x 5 x 5 points"),
            std::string::npos)
      << read_file("out.txt");
  EXPECT_TRUE(read_file("mol_rdg_regions.tsv").starts_with("region\tpoints\tvolume\t"));
}

TEST(CommandBinaries, WithoutPymolOneLineAndStatusZero) {
  TempDir dir;
  write_run();
  ASSERT_EQ(plot("run.inp"), 0) << read_file("err.txt");
  EXPECT_NE(read_file("out.txt").find("quelvarin-plot: no PNG picture: PyMOL was not found "
                                      "(install it, e.g. the Debian package pymol"),
            std::string::npos)
      << read_file("out.txt");
  EXPECT_EQ(read_file("err.txt"), "");
  EXPECT_TRUE(std::filesystem::exists("mol_rdg.pml"));
  EXPECT_FALSE(std::filesystem::exists("mol_rdg_nci.png"));
}

// A stand-in interpreter that "imports pymol" and leaves a picture where the render asks.
void write_fake_python(const std::string& picture) {
  write_file("python",
             "#!/bin/sh\n[ \"$1\" = \"-c\" ] && exit 0\nout=${6#png }; out=${out%%,*}\ncp " +
                 picture + " \"$out\"\n");
  ::chmod("python", 0755);
}

TEST(CommandBinaries, PictureWrittenMarkedAndOnlyOverOurOwn) {
  TempDir dir;
  write_run();
  const std::string png = testing::solid_png(1200, 900, 255, 255, 255);
  write_file("made.png", png);
  write_fake_python((dir.path() / "made.png").string());
  const std::string python = (dir.path() / "python").string();
  ASSERT_EQ(plot("run.inp", python), 0) << read_file("err.txt");
  const std::string picture = read_file("mol_rdg_nci.png");
  EXPECT_EQ(picture, with_text_chunk(png, kPngMark));
  EXPECT_NE(read_file("out.txt").find("wrote mol_rdg_nci.png (1200 x 900, ray-traced by PyMOL"),
            std::string::npos);
  ASSERT_EQ(plot("run.inp", python), 0) << "our own picture is replaced";
  // Someone else's picture of that name stays as it is.
  write_file("mol_rdg_nci.png", png);
  EXPECT_EQ(plot("run.inp", python), 1);
  EXPECT_NE(read_file("err.txt").find("mol_rdg_nci.png exists and was not made by quelvarin-plot"),
            std::string::npos);
  EXPECT_EQ(read_file("mol_rdg_nci.png"), png);
}

}  // namespace
}  // namespace qv
