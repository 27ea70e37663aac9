// The bundled example as a user looks at it in PyMOL: the script loads without an error, and
// the ray-traced picture shows the hydrogen-bond surface between the molecules, coloured, and
// nothing at the faces of the grid box. Skipped where PyMOL is not installed.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/png_pixels.hpp"
#include "support/temp_dir.hpp"
#include "view/child_process.hpp"
#include "view/picture_options.hpp"
#include "view/pymol_render.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::read_file;

int shell(const std::string& command) {
  const int rc = std::system(command.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::optional<std::string> pymol_python() {
  const char* path = std::getenv("PATH");
  return find_pymol_python(python_candidates(path ? path : ""));
}

// The example run once (WFN and RDG jobs, then the scripts without a picture) in a folder that
// the tests of this suite share.
class NciPicture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    python_ = pymol_python();
    if (!python_) return;
    folder_ = new testing::TempDir;  // also makes it the current folder
    const std::string examples = QV_EXAMPLES;
    fs::copy_file(examples + "/example.inp", "example.inp");
    run_ok_ = shell("python3 " + examples + "/make_water_dimer_wfn.py water_dimer.wfn >/dev/null") == 0 &&
              shell(std::string(QV_BINARY) + " example.inp >run.txt 2>&1") == 0 &&
              shell(std::string(QV_PLOT_BINARY) + " --no-render example.inp >plot.txt 2>&1") == 0;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override {
    if (!python_) GTEST_SKIP() << "PyMOL is not installed (Debian package pymol)";
    ASSERT_TRUE(run_ok_) << read_file("run.txt") << read_file("plot.txt");
    fs::current_path(folder_->path());
  }

  static inline std::optional<std::string> python_;
  static inline testing::TempDir* folder_ = nullptr;
  static inline bool run_ok_ = false;
};

TEST_F(NciPicture, ScriptLoadsWithoutAnErrorFromAnotherFolder) {
  // Started elsewhere, the script still finds its files beside itself.
  fs::create_directory("elsewhere");
  fs::current_path("elsewhere");
  const ProgramRun run = run_program(
      {*python_, "-m", "pymol", "-ckq", "../dimer_rdg.pml", "-d",
       "print('objects:', ' '.join(sorted(cmd.get_names('all'))), cmd.count_atoms('molecule'))"},
      "pymol.txt", 300.0);
  const std::string said = read_file("pymol.txt");
  fs::current_path("..");
  ASSERT_EQ(run.exit_status, 0) << said;
  EXPECT_EQ(said.find("Error"), std::string::npos) << said;
  EXPECT_EQ(said.find("Traceback"), std::string::npos) << said;
  EXPECT_NE(said.find("objects: molecule nci nci_colours rdg rhosign 6"), std::string::npos)
      << said;
}

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  long count = 0;
  void add(int x, int y) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
    ++count;
  }
};

TEST_F(NciPicture, RenderedSurfaceIsTheHydrogenBondDisc) {
  ASSERT_EQ(shell(std::string(QV_PLOT_BINARY) + " example.inp >render.txt 2>&1"), 0)
      << read_file("render.txt");
  testing::Picture pic;
  ASSERT_TRUE(testing::decode_png(read_file("dimer_rdg_nci.png"), pic));
  ASSERT_EQ(pic.width, kPictureWidth);
  ASSERT_EQ(pic.height, kPictureHeight);
  // Surface pixels: blue to green hues (red low, green or blue well above it). The atoms are
  // red (oxygen) and white or grey (hydrogen), the background white.
  Box surface, oxygen;
  long background = 0, greenish = 0, bluish = 0;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      const auto p = pic.at(x, y);
      const int r = p[0], g = p[1], b = p[2];
      if (r > 245 && g > 245 && b > 245) ++background;
      if (std::max(g, b) > r + 50) {
        surface.add(x, y);
        (g >= b ? greenish : bluish) += 1;
      }
      if (r > 150 && r > g + 80 && r > b + 80) oxygen.add(x, y);
    }
  const long all = static_cast<long>(pic.width) * pic.height;
  EXPECT_GT(background, all / 2) << "white background";
  EXPECT_LT(background, all - all / 50) << "not blank";
  EXPECT_GT(oxygen.count, 2000) << "the molecule is drawn";
  EXPECT_GT(surface.count, 2000) << "the surface is drawn and lit";
  EXPECT_GT(greenish, 200) << "green hues";
  EXPECT_GT(bluish, 200) << "blue hues: the hydrogen bond is attractive";
  // One compact surface well inside the picture, not a box framing it.
  EXPECT_LT(surface.right - surface.left, pic.width / 4);
  EXPECT_LT(surface.bottom - surface.top, pic.height / 4);
  EXPECT_GT(surface.left, pic.width / 10);
  EXPECT_LT(surface.right, pic.width - pic.width / 10);
  EXPECT_GT(surface.top, pic.height / 10);
  EXPECT_LT(surface.bottom, pic.height - pic.height / 10);
}

}  // namespace
}  // namespace qv
