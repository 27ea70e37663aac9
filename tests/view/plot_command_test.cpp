// quelvarin-plot end to end: crafted tables and cubes in a temporary folder, the files the
// command writes, its refusals and failures, and the picture as a renderer draws it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "view/svg_picture.hpp"
#include "view/vmd_script.hpp"
#include "view/pymol_script.hpp"
#include "view/plot_command.hpp"
#include "support/png_pixels.hpp"
#include "support/temp_dir.hpp"
#include "support/xml_check.hpp"

namespace qv {
namespace {

using testing::check_xml;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

struct Result {
  int status;
  std::string screen, errors;
};

// PyMOL's rendering is tested on its own (tests/view): here only the files we write.
PictureOptions without_png() {
  PictureOptions options;
  options.render = false;
  return options;
}

Result draw(const RdgSettings& rdg, const PictureOptions& options = without_png()) {
  auto screen = TextOutput::memory("screen");
  auto errors = TextOutput::memory("errors");
  const int status = draw_results(rdg, "run.inp", *screen, *errors, options);
  screen->flush();
  errors->flush();
  return {status, screen->contents(), errors->contents()};
}

// Settings of a run that asks for both tables and both cubes.
RdgSettings full_settings() {
  RdgSettings rdg;
  rdg.computations = {true, true, false, true};
  rdg.plot_tables = {true, true};
  rdg.plot_stem = left_adjust("mol", 30);
  rdg.rdg_stem = left_adjust("mol_rdg", 30);
  rdg.rhosign_stem = left_adjust("mol_sign", 30);
  return rdg;
}

// `runs` runs of `n` values, six to a line, none of them in NCI with its own copy.
std::string values_text(int runs, int n) {
  const char* values[] = {"  5.00000E-01", "  2.50000E-01", "  1.25000E-01", "  1.00000E+10"};
  std::string s;
  for (int run = 0; run < runs; ++run)
    for (int k = 0; k < n; ++k) s += std::string(values[(run + k) % 4]) + (k % 6 == 5 || k + 1 == n ? "\n" : "");
  return s;
}

std::string cube_text(int n1, int n2, int n3) {
  auto count = [](int n, const char* rest) {
    std::string s = std::to_string(n);
    return std::string(5 - s.size(), ' ') + s + rest;
  };
  return std::string(60, ' ') + "\n" + std::string(60, ' ') + "\n" +
         "    1   -5.000000   -5.000000   -5.000000\n" +
         count(n1, "    0.200000    0.000000    0.000000\n") +
         count(n2, "    0.000000    0.200000    0.000000\n") +
         count(n3, "    0.000000    0.000000    0.200000\n") +
         "    8    8.000000    0.000000    0.000000    0.000000\n" + values_text(n1 * n2, n3);
}

// A crafted table in the layout of the run: heading, then "(5X,E11.3,10X,E11.3)" rows.
std::string table_text(const char* heading, int rows) {
  std::string s = std::string("  ") + heading + "           RDG       \n";
  for (int k = 0; k < rows; ++k) {
    // Five bins along x, each with more points than the last, all at RDG 0.3xx.
    const int bin = k % 15 < 1 ? 0 : k % 15 < 3 ? 1 : k % 15 < 6 ? 2 : k % 15 < 10 ? 3 : 4;
    const char* x[] = {"-0.205E-01", "-0.105E-01", " 0.550E-02", " 0.155E-01", " 0.255E-01"};
    s += std::string("     ") + x[bin] + "           0.305E+00\n";
  }
  s += "      0.900E-01           0.305E+00\n";  // outside the view
  return s;
}

void write_run_outputs() {
  write_file("mol_rho.2D", table_text("     rho         ", 30));
  write_file("mol_rhosign.2D", table_text("rho*sign(lambda2)", 30));
  write_file("mol_rdg.cube", cube_text(5, 6, 7));
  write_file("mol_sign.cube", cube_text(5, 6, 7));
}

TEST(PlotCommand, DrawsBothTablesAndWritesTheScript) {
  TempDir dir;
  write_run_outputs();
  const Result r = draw(full_settings());
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  for (const char* name : {"mol_rho.svg", "mol_rhosign.svg"}) {
    const auto doc = check_xml(read_file(name));
    ASSERT_TRUE(doc.ok) << name << ": " << doc.error;
    // Density table: the negative x values fall outside its view [0, 0.05].
    const std::size_t cells = std::string(name) == "mol_rho.svg" ? 3u : 5u;
    EXPECT_EQ(doc.children(doc.by_id("cells"), "rect").size(), cells) << name;
  }
  EXPECT_NE(r.screen.find("wrote mol_rhosign.svg from mol_rhosign.2D (31 points, 1 outside"),
            std::string::npos)
      << r.screen;
  const std::string script = read_file("mol_rdg.vmd");
  EXPECT_NE(script.find("{mol_sign.cube}"), std::string::npos);
  EXPECT_NE(script.find("{mol_rdg.cube}"), std::string::npos);
  EXPECT_NE(script.find("Isosurface 0.500000"), std::string::npos);
  EXPECT_NE(r.screen.find("vmd -e mol_rdg.vmd"), std::string::npos);
  const std::string pymol = read_file("mol_rdg.pml");
  EXPECT_TRUE(pymol.starts_with(kPymolMark));
  EXPECT_NE(pymol.find("\"mol_rdg_atoms.xyz\""), std::string::npos);
  EXPECT_NE(pymol.find("isosurface nci, rdg, 0.5\n"), std::string::npos);
  EXPECT_EQ(read_file("mol_rdg_atoms.xyz"),
            "1\natoms of mol_rdg.cube in angstrom, written by quelvarin-plot\n"
            "O        0.000000       0.000000       0.000000\n");
  EXPECT_NE(r.screen.find("pymol mol_rdg.pml"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("mol_rdg_nci.png"));
  // The run's own files are read, never changed; a second run replaces our own outputs.
  EXPECT_EQ(read_file("mol_rdg.cube"), cube_text(5, 6, 7));
  EXPECT_EQ(draw(full_settings()).status, 0);
}

TEST(PlotCommand, FailuresAreReportedAndTheOtherOutputsStillMade) {
  struct Case {
    const char* what;
    void (*spoil)();
    int status;
    const char* message;
    const char* not_written;
  };
  const Case cases[] = {
      {"missing table", [] { std::filesystem::remove("mol_rho.2D"); }, 2,
       "file \"mol_rho.2D\": the 2D plot table cannot be opened", "mol_rho.svg"},
      {"malformed row",
       [] { write_file("mol_rhosign.2D", table_text("rho*sign(lambda2)", 4) + "  0.1E-01 x\n"); },
       2, "file \"mol_rhosign.2D\", line 7: a table row of two numbers", "mol_rhosign.svg"},
      {"folder for a table",
       [] {
         std::filesystem::remove("mol_rho.2D");
         std::filesystem::create_directory("mol_rho.2D");
       },
       2, "file \"mol_rho.2D\": the 2D plot table cannot be opened", "mol_rho.svg"},
      {"missing cube", [] { std::filesystem::remove("mol_sign.cube"); }, 2,
       "file \"mol_sign.cube\": the cube file cannot be opened", "mol_rdg.vmd"},
      {"malformed cube", [] { write_file("mol_rdg.cube", "t\nt\n  1 0 0\n"); }, 2,
       "file \"mol_rdg.cube\", line 3:", "mol_rdg.vmd"},
      {"mismatched cubes", [] { write_file("mol_sign.cube", cube_text(5, 6, 8)); }, 1,
       "(5 x 6 x 7 points) and the rho*sign(lambda2) cube mol_sign.cube (5 x 6 x 8 points)",
       "mol_rdg.vmd"},
      {"foreign picture", [] { write_file("mol_rho.svg", "<svg>my own</svg>\n"); }, 1,
       "mol_rho.svg exists and was not made by quelvarin-plot: it is left as it is", nullptr},
      {"foreign script", [] { write_file("mol_rdg.vmd", "# my script\n"); }, 1,
       "mol_rdg.vmd exists and was not made by quelvarin-plot", nullptr},
      {"foreign atoms", [] { write_file("mol_rdg_atoms.xyz", "1\nmy own\nC 0 0 0\n"); }, 1,
       "mol_rdg_atoms.xyz exists and was not made by quelvarin-plot: it is left as it is: no "
       "PyMOL script written",
       "mol_rdg.pml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    write_run_outputs();
    c.spoil();
    const std::string before_svg = read_file("mol_rho.svg"), before_vmd = read_file("mol_rdg.vmd");
    const Result r = draw(full_settings());
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.errors.find(c.message), std::string::npos) << r.errors;
    if (c.not_written) {
      EXPECT_FALSE(std::filesystem::exists(c.not_written));
    } else {  // the file in the way is left exactly as it was
      const bool svg = std::string(c.what) == "foreign picture";
      EXPECT_EQ(read_file(svg ? "mol_rho.svg" : "mol_rdg.vmd"), svg ? before_svg : before_vmd);
    }
    // One failure spoils only its own output.
    EXPECT_TRUE(std::filesystem::exists("mol_rhosign.svg") ||
                std::string(c.what) == "malformed row");
  }
}

// The isovalue and colour range chosen on the command line reach both scripts.
TEST(PlotCommand, ChosenIsovalueAndRangeReachBothScripts) {
  struct Case {
    double iso, range;
    const char* vmd_surface;
    const char* vmd_scale;
    const char* pymol_surface;
    const char* pymol_ramp;
  };
  const Case cases[] = {
      {0.5, 0.05, "Isosurface 0.500000 1", "scaleminmax top 1 -0.050000 0.050000",
       "isosurface nci, rdg, 0.5\n", "[-0.05, 0, 0.05], [blue, green, red]"},
      {0.3, 0.02, "Isosurface 0.300000 1", "scaleminmax top 1 -0.020000 0.020000",
       "isosurface nci, rdg, 0.3\n", "[-0.02, 0, 0.02], [blue, green, red]"},
      {1.25, 0.125, "Isosurface 1.250000 1", "scaleminmax top 1 -0.125000 0.125000",
       "isosurface nci, rdg, 1.25\n", "[-0.125, 0, 0.125], [blue, green, red]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pymol_surface);
    TempDir dir;
    write_run_outputs();
    PictureOptions options = without_png();
    options.isovalue = c.iso;
    options.colour_range = c.range;
    ASSERT_EQ(draw(full_settings(), options).status, 0);
    const std::string vmd = read_file("mol_rdg.vmd"), pymol = read_file("mol_rdg.pml");
    EXPECT_NE(vmd.find(c.vmd_surface), std::string::npos) << vmd;
    EXPECT_NE(vmd.find(c.vmd_scale), std::string::npos) << vmd;
    EXPECT_NE(pymol.find(c.pymol_surface), std::string::npos) << pymol;
    EXPECT_NE(pymol.find(c.pymol_ramp), std::string::npos) << pymol;
  }
}

TEST(PlotCommand, WhatTheInputAsksForDecidesWhatIsDrawn) {
  TempDir dir;
  write_run_outputs();
  RdgSettings only_sign = full_settings();
  only_sign.plot_tables = {false, true};
  only_sign.computations = {true, false, false, true};
  Result r = draw(only_sign);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(std::filesystem::exists("mol_rhosign.svg"));
  EXPECT_FALSE(std::filesystem::exists("mol_rho.svg"));
  EXPECT_FALSE(std::filesystem::exists("mol_rdg.vmd"));
  EXPECT_NE(r.screen.find("no VMD or PyMOL script"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("mol_rdg.pml"));

  RdgSettings nothing;
  r = draw(nothing);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.errors.find("nothing to draw"), std::string::npos);
}

// Rendered as a person would see it: rsvg-convert turns the picture into a PNG.
TEST(PlotCommand, PictureRendersWithItsCellsInPlace) {
  if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "rsvg-convert is not installed (Debian package librsvg2-bin)";
  TempDir dir;
  // One bin holding far more points than any other: it takes the brightest colour.
  std::string table = "  rho*sign(lambda2)           RDG       \n";
  for (int k = 0; k < 500; ++k) table += "      -0.205E-01           0.305E+00\n";
  table += "       0.255E-01           0.805E+00\n";
  write_file("mol_rhosign.2D", table);
  RdgSettings rdg = full_settings();
  rdg.computations = {false, false, false, true};
  rdg.plot_tables = {false, true};
  ASSERT_EQ(draw(rdg).status, 0);
  ASSERT_EQ(std::system("rsvg-convert -o mol.png mol_rhosign.svg"), 0);
  testing::Picture pic;
  ASSERT_TRUE(testing::decode_png(read_file("mol.png"), pic));
  EXPECT_EQ(pic.width, kSvgWidth);
  EXPECT_EQ(pic.height, kSvgHeight);
  std::size_t dark = 0;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      auto p = pic.at(x, y);
      dark += p[0] < 128 && p[1] < 128 && p[2] < 128;
    }
  EXPECT_GT(dark, 2000u);  // axes, ticks, labels
  // The plot area spans x 90..590 (100 bins of 5 px) and y 70..470 (100 bins of 4 px).
  // Bin (29, 30): centre at x = 90 + 29.5*5, y = 470 - 30.5*4: the brightest colour.
  auto full = pic.at(90 + 147, 470 - 122);
  EXPECT_EQ((std::array<int, 3>{full[0], full[1], full[2]}), (std::array<int, 3>{253, 231, 37}));
  // Bin (75, 80) holds one point: the darkest colour.
  auto one = pic.at(90 + 377, 470 - 322);
  EXPECT_EQ((std::array<int, 3>{one[0], one[1], one[2]}), (std::array<int, 3>{68, 1, 84}));
  // An empty bin stays white.
  auto empty = pic.at(90 + 250, 470 - 200);
  EXPECT_EQ((std::array<int, 3>{empty[0], empty[1], empty[2]}),
            (std::array<int, 3>{255, 255, 255}));
}

}  // namespace
}  // namespace qv
