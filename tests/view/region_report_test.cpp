// The table of NCI regions from cube files on disk, alone and through quelvarin-plot.
#include "view/nci_region_report.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "analysis/rdg_settings.hpp"
#include "view/plot_command.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/text_error.hpp"
#include "support/temp_dir.hpp"
#include "view/region_table.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

// A cube of 8 x 7 x 6 points, step 0.25 bohr, with a water-like pair of atoms, whose values
// come from `value(i1, i2, i3)`, written third index fastest as cube files are.
std::string cube_text(const std::function<double(int, int, int)>& value, int n1 = 8) {
  std::string s = "title\nsecond title\n    3   -1.000000   -1.000000   -1.000000\n";
  char line[128];
  std::snprintf(line, sizeof line, "%5d%12.6f%12.6f%12.6f\n", n1, 0.25, 0.0, 0.0);
  s += line;
  s += "    7    0.000000    0.250000    0.000000\n    6    0.000000    0.000000    0.250000\n";
  s += "    8    8.000000    0.000000    0.000000    0.000000\n";
  s += "    1    1.000000   -0.500000    0.250000    0.000000\n";
  s += "    1    1.000000    0.750000    0.250000    0.250000\n";
  for (int i = 0; i < n1; ++i)
    for (int j = 0; j < 7; ++j) {
      for (int k = 0; k < 6; ++k) {
        std::snprintf(line, sizeof line, "%13.5E", value(i, j, k));
        s += line;
      }
      s += "\n";
    }
  return s;
}

// Two regions: a 2 x 2 x 2 attractive block at (2..3, 2..3, 2..3) and a repulsive slab of
// 3 x 2 x 1 on the face i3 = 5.
bool in_block(int i, int j, int k) { return i >= 2 && i <= 3 && j >= 2 && j <= 3 && k >= 2 && k <= 3; }
bool in_slab(int i, int j, int k) { return i >= 4 && i <= 6 && j >= 1 && j <= 2 && k == 5; }

double rdg_value(int i, int j, int k) {
  if (in_block(i, j, k)) return i == 3 && j == 2 && k == 3 ? 0.125 : 0.375;
  if (in_slab(i, j, k)) return 0.25;
  return (i + j + k) % 2 ? 0.75 : 1.0E10;
}
double rhosign_value(int i, int j, int k) {
  if (in_block(i, j, k)) return i == 3 && j == 2 && k == 3 ? -0.03 : -0.02;
  if (in_slab(i, j, k)) return 0.015;
  return 0.5;
}

void write_cubes() {
  write_file("mol_rdg.cube", cube_text(rdg_value));
  write_file("mol_sign.cube", cube_text(rhosign_value));
}

RegionReportFiles files() { return {"mol_rdg.cube", "mol_sign.cube", "mol_rdg_regions.tsv"}; }

TEST(RegionReport, TwoRegionsFromCubeFiles) {
  TempDir dir;
  write_cubes();
  auto screen = TextOutput::memory();
  const RegionReport report = report_nci_regions(files(), NciCriteria{}, *screen);
  screen->flush();
  ASSERT_TRUE(report.problem.empty()) << report.problem;
  ASSERT_EQ(report.regions.size(), 2u);
  const std::string tsv = read_file("mol_rdg_regions.tsv");
  // The block's lowest RDG is at (3, 2, 3): (-0.25, -0.5, -0.25), 0.6124 bohr from the O at
  // the origin and 0.8292 from the first H; its integral is (7 x 0.02 + 0.03) x 0.25^3. The
  // slab's points share one RDG: the first in file order, (4, 1, 5), is its lowest.
  const std::string expected =
      std::string(kRegionColumns) + "\n" +
      "1\t8\t1.25000E-01\t2.65625E-03\t1.25000E-01\t-3.00000E-02\t-3.00000E-02\t-2.00000E-02\t"
      "-0.25\t-0.5\t-0.25\tO1\tH2\t0.612372\t0.829156\tattractive\n"
      "2\t6\t9.37500E-02\t1.40625E-03\t2.50000E-01\t1.50000E-02\t1.50000E-02\t1.50000E-02\t"
      "0\t-0.75\t0.25\tO1\tH2\t0.790569\t1.14564\trepulsive*\n";
  EXPECT_EQ(tsv, expected);
  EXPECT_NE(screen->contents().find("grid 8 x 7 x 6 points, cell volume 1.56250E-02 bohr^3"),
            std::string::npos)
      << screen->contents();

  const auto comments = region_comment_lines(report, "mol_rdg_regions.tsv");
  ASSERT_EQ(comments.size(), 3u);
  EXPECT_EQ(comments[1],
            "#   region 1: attractive, 8 points, between O1 and H2, lowest RDG at -0.25 -0.5 "
            "-0.25 bohr");
  EXPECT_EQ(comments[2].substr(0, 28), "#   region 2: repulsive*, 6 ");
}

TEST(RegionReport, ProblemsLeaveNothingWritten) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    const char* problem;  // a detected problem, or nullptr for a TextError
  };
  const Case cases[] = {
      {"different grids", [] { write_file("mol_sign.cube", cube_text(rhosign_value, 9)); },
       "hold different grids: no table of NCI regions"},
      {"foreign table", [] { write_file("mol_rdg_regions.tsv", "region\tmy notes\n"); },
       "mol_rdg_regions.tsv exists and was not made by quelvarin-plot"},
      {"truncated cube",
       [] {
         const std::string full = cube_text(rdg_value);
         write_file("mol_rdg.cube", full.substr(0, full.size() - 30));
       },
       nullptr},
      {"missing cube", [] { std::filesystem::remove("mol_sign.cube"); }, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_cubes();
    c.spoil();
    const bool foreign = std::filesystem::exists("mol_rdg_regions.tsv");
    const std::string before = foreign ? read_file("mol_rdg_regions.tsv") : "";
    auto screen = TextOutput::memory();
    if (c.problem) {
      const RegionReport report = report_nci_regions(files(), NciCriteria{}, *screen);
      EXPECT_NE(report.problem.find(c.problem), std::string::npos) << report.problem;
    } else {
      EXPECT_THROW(report_nci_regions(files(), NciCriteria{}, *screen), TextError);
    }
    screen->flush();
    EXPECT_EQ(screen->contents(), "");
    if (foreign)
      EXPECT_EQ(read_file("mol_rdg_regions.tsv"), before);
    else
      EXPECT_FALSE(std::filesystem::exists("mol_rdg_regions.tsv"));
  }
}

TEST(RegionReport, QuelvarinPlotWritesTheTableAndNumbersTheRegionsInTheScript) {
  TempDir dir;
  write_cubes();
  RdgSettings rdg;
  rdg.computations = {1, 1, 0, 0};
  rdg.rdg_stem = left_adjust("mol_rdg", 30);
  rdg.rhosign_stem = left_adjust("mol_sign", 30);
  auto screen = TextOutput::memory("screen");
  auto errors = TextOutput::memory("errors");
  PictureOptions strict;
  strict.isovalue = 0.3;  // the block's points at RDG 0.375 drop out, leaving one point
  strict.min_region_points = 1;
  strict.render = false;
  EXPECT_EQ(draw_results(rdg, "run.inp", *screen, *errors, strict), 0);
  screen->flush();
  errors->flush();
  EXPECT_EQ(errors->contents(), "");
  const std::string& out = screen->contents();
  EXPECT_NE(out.find("RDG < 0.3, |rho*sign(lambda2)| <= 0.05, at least 1 points each"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("wrote mol_rdg_regions.tsv (2 NCI regions)"), std::string::npos) << out;
  for (const char* name : {"mol_rdg.vmd", "mol_rdg.pml"}) {
    const std::string script = read_file(name);
    EXPECT_NE(script.find("# NCI regions as numbered in mol_rdg_regions.tsv (2 regions):\n"
                          "#   region 1: attractive, 1 points, between O1 and H2"),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("#   region 2: repulsive*, 6 points"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace qv
