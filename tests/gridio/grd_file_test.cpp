#include "gridio/grd_file.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "gridio/text_error.hpp"
#include "grid_files_support.hpp"

namespace qv {
namespace {

using testing_support::index_grid;
using testing_support::split_lines;

// A companion cube header of `natoms` atoms and the given counts (values come from the grd).
std::string cube_header(int natoms, int n1, int n2, int n3) {
  std::string s = " t\n t\n    " + std::to_string(natoms) + "    0.0    0.0    0.0\n";
  s += "    " + std::to_string(n1) + "    0.1    0.0    0.0\n";
  s += "    " + std::to_string(n2) + "    0.0    0.1    0.0\n";
  s += "    " + std::to_string(n3) + "    0.0    0.0    0.1\n";
  for (int i = 0; i < natoms; ++i) s += "    1    1.0    0.0    0.0    0.0\n";
  return s;
}

GridFile read_pair(const std::string& cube, const std::string& grd, GridRole role,
                   std::vector<std::string>& stored) {
  auto c = LineReader::from_text(cube, "in.cube");
  auto g = LineReader::from_text(grd, "in.grd");
  return read_grid_file(*c, g.get(), CubeLayout::xd2006, role, stored);
}

std::string header_lines(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "   header line " + std::to_string(i + 1) + "\n";
  return s;
}

TEST(GrdFile, UnitConversionsByRole) {
  struct Case {
    GridRole role;
    double held;  // value held for a file value of 1.0
  };
  for (const Case c : {Case{GridRole::density, 0.14818464289233146},
                       Case{GridRole::gradient, 0.07841592392746348},
                       Case{GridRole::laplacian, -0.04149591351288367}}) {
    SCOPED_TRACE(static_cast<int>(c.role));
    std::vector<std::string> stored = {"kept"};
    const GridFile f = read_pair(cube_header(1, 1, 1, 1),
                                 header_lines(13) + "  0.1000000000E+01\n", c.role, stored);
    ASSERT_EQ(f.grid.values.size(), 1u);
    EXPECT_EQ(f.grid.values[0], c.held);
    if (c.role == GridRole::density) {
      ASSERT_EQ(stored.size(), 13u);
      EXPECT_EQ(stored[0], "   header line 1" + std::string(64, ' '));
    } else {
      EXPECT_EQ(stored, std::vector<std::string>{"kept"});  // only the density stores its header
    }
  }
}

TEST(GrdFile, AtomCountZeroGivesTwelveHeaderLines) {
  std::vector<std::string> stored;
  const GridFile f = read_pair(cube_header(0, 2, 1, 1), header_lines(12) + "  0.1E+01  0.2E+01\n",
                               GridRole::density, stored);
  EXPECT_EQ(stored.size(), 12u);
  EXPECT_EQ(f.grid.values, (GridValues{1.0 * kBohr3, 2.0 * kBohr3}));
}

TEST(GrdFile, RunsRunFirstIndexFastest) {
  for (int n1 : {6, 8, 13}) {
    SCOPED_TRACE(n1);
    // Written by the writer (RDG outputs are not converted), then read back as a gradient.
    const Grid g = index_grid(n1, 2, 3);
    std::vector<std::string> stored(14, std::string(80, ' '));
    auto out = TextOutput::memory("out.grd");
    write_grd_file(g, 2, stored, GrdOutput::rdg, *out);
    out->flush();
    const auto lines = split_lines(out->contents());
    const std::size_t per_run = static_cast<std::size_t>((n1 + 5) / 6);
    ASSERT_EQ(lines.size(), 14 + 2 * 3 * per_run);
    EXPECT_EQ(lines[14].size(), 108u);
    EXPECT_EQ(lines[14 + per_run - 1].size(), 18u * static_cast<std::size_t>(n1 % 6 ? n1 % 6 : 6));
    EXPECT_EQ(lines[14].substr(0, 36),
              "  0.1000000000E+01  0.1010000000E+03");  // v(1,1,1), v(2,1,1)

    std::vector<std::string> unused;
    const GridFile f =
        read_pair(cube_header(2, n1, 2, 3), out->contents(), GridRole::gradient, unused);
    ASSERT_EQ(f.grid.values.size(), g.values.size());
    for (std::size_t i = 0; i < g.values.size(); ++i)
      EXPECT_DOUBLE_EQ(f.grid.values[i], g.values[i] * kBohr4) << i;
  }
}

TEST(GrdFile, HeaderLinesLeftAdjustedAndPaddedInPlace) {
  std::vector<std::string> stored;
  for (int i = 0; i < 12; ++i) stored.push_back(std::string(80, ' '));
  stored[0] = "   XDGRAPH map" + std::string(66, ' ');
  stored[11] = std::string(79, ' ') + "x";
  auto out = TextOutput::memory("out.grd");
  write_grd_file(index_grid(1, 1, 1), 0, stored, GrdOutput::abramov_g, *out);
  out->flush();
  const auto lines = split_lines(out->contents());
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], "XDGRAPH map" + std::string(69, ' '));
  EXPECT_EQ(lines[11], "x" + std::string(79, ' '));
  for (int i = 0; i < 12; ++i) EXPECT_EQ(lines[i].size(), 80u);
  EXPECT_EQ(stored[0], lines[0]);  // the stored line itself changed
  EXPECT_EQ(lines[12], "  0.1000000000E+01");
}

TEST(GrdFile, DensityComesBackAsReadThroughRhoSign) {
  std::vector<std::string> stored;
  const GridFile f = read_pair(cube_header(0, 1, 1, 2),
                               header_lines(12) + "  0.1000000000E+01\n -0.2500000000E+00\n",
                               GridRole::density, stored);
  EXPECT_EQ(f.grid.values[0], 0.14818464289233146);
  struct Case {
    GrdOutput role;
    const char* first;
  };
  for (const Case c : {Case{GrdOutput::rhosign, "  0.1000000000E+01"},
                       Case{GrdOutput::rdg, "  0.1481846429E+00"},
                       Case{GrdOutput::abramov_h, "  0.1481846429E+00"}}) {
    auto out = TextOutput::memory("out.grd");
    write_grd_file(f.grid, 0, stored, c.role, *out);
    out->flush();
    const auto lines = split_lines(out->contents());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[12], c.first);
  }
}

TEST(GrdFile, EmptyLinesAndWrappedRuns) {
  std::vector<std::string> stored;
  const GridFile f = read_pair(cube_header(0, 3, 2, 1),
                               header_lines(12) + "  1.0  2.0\n\n  3.0\n\n  4.0 5.0 6.0\n",
                               GridRole::gradient, stored);
  ASSERT_EQ(f.grid.values.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(f.grid.values[i], (i + 1) * kBohr4);
}

TEST(GrdFile, FaultsNameTheGrdFileAndLine) {
  struct Case {
    const char* name;
    std::string grd;
    long line;
  };
  const Case cases[] = {
      {"header cut short", header_lines(5), 6},
      {"no values", header_lines(12), 13},
      {"truncated run", header_lines(12) + "  0.1E+01\n", 14},
      {"malformed value", header_lines(12) + "  0.1E+01  0.1Q+01\n", 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> stored;
    try {
      read_pair(cube_header(0, 2, 1, 1), c.grd, GridRole::density, stored);
      ADD_FAILURE() << "no error";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "in.grd");
      EXPECT_EQ(e.line(), c.line) << e.what();
    }
  }
}

TEST(GrdFile, WritingWithoutStoredHeaderFails) {
  std::vector<std::string> stored(3, std::string(80, ' '));
  auto out = TextOutput::memory("out.grd");
  EXPECT_THROW(write_grd_file(index_grid(1, 1, 1), 0, stored, GrdOutput::rdg, *out), TextError);
}

// An XD grid file (100 x 100 x 1 points, 75 atoms) with a companion cube header made here.
TEST(GrdFile, SampleFromXd) {
  const std::string path = std::string(QV_SAMPLES) + "/xd_grd/xd_fou.grd";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no sample folder";
  auto cube = LineReader::from_text(cube_header(75, 100, 100, 1), "companion.cube");
  auto grd = LineReader::open(path);
  ASSERT_TRUE(grd);
  std::vector<std::string> stored;
  const GridFile f =
      read_grid_file(*cube, grd.get(), CubeLayout::xd2006, GridRole::density, stored);
  ASSERT_EQ(stored.size(), 87u);
  EXPECT_EQ(stored[0], "2DGRDFIL  0" + std::string(69, ' '));
  EXPECT_EQ(stored[86], "! Values" + std::string(72, ' '));
  ASSERT_EQ(f.grid.values.size(), 10000u);
  EXPECT_DOUBLE_EQ(f.grid.at(0, 0, 0), 0.5106334023E-01 * kBohr3);
  EXPECT_DOUBLE_EQ(f.grid.at(99, 99, 0), 0.7063236755E-01 * kBohr3);
  double sum = 0.0;
  for (double v : f.grid.values) sum += v;
  EXPECT_NEAR(sum, 371.5278394372428 * kBohr3, 1e-10);
}

}  // namespace
}  // namespace qv
