// Reading TOPOND grid files: header, value runs of eight per line, short lines and bad files.
#include <gtest/gtest.h>

#include <filesystem>

#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "topond/topond_grid.hpp"
#include "topond/topond_text.hpp"

namespace qv {
namespace {

using testing::point_value;
using testing::topond_text;

void read_text(const std::string& text, GridHeader& h, Grid& g) {
  auto in = LineReader::from_text(text, "grid.dat");
  read_topond_grid(*in, h, g);
}

// N1 = 16 fills two lines per run; 17 adds a one-value line; 3 is one short line; 8 exactly one.
class TopondGridRuns : public ::testing::TestWithParam<int> {};

TEST_P(TopondGridRuns, ValuesLandAtTheirPoints) {
  const int n1 = GetParam(), n2 = 3, n3 = 2;
  const double origin[3] = {-1.5, 0.25, 2.0}, step[3] = {0.1, 0.2, 0.4};
  GridHeader h;
  Grid g;
  read_text(topond_text(n1, n2, n3, 0.0, origin, step), h, g);
  EXPECT_EQ(h.n1, n1);
  EXPECT_EQ(h.n2, n2);
  EXPECT_EQ(h.n3, n3);
  EXPECT_EQ(h.origin, (std::array<float, 3>{-1.5f, 0.25f, 2.0f}));
  for (int k = 0; k < 3; ++k)
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(h.axes[k][c], k == c ? static_cast<float>(step[k]) : 0.0f);
  ASSERT_EQ(g.size(), static_cast<std::size_t>(n1 * n2 * n3));
  for (int i3 = 0; i3 < n3; ++i3)
    for (int i2 = 0; i2 < n2; ++i2)
      for (int i1 = 0; i1 < n1; ++i1)
        ASSERT_DOUBLE_EQ(g.at(i1, i2, i3), point_value(i1 + 1, i2 + 1, i3 + 1))
            << i1 << " " << i2 << " " << i3;
}

INSTANTIATE_TEST_SUITE_P(N1, TopondGridRuns, ::testing::Values(1, 3, 8, 16, 17, 23));

TEST(TopondGrid, FieldsAreFixedColumnsAndShortLinesReadAsZero) {
  // Values by columns: implied decimals without a point, D exponents, a short last line.
  const std::string text =
      "   3   1   1\n"
      "-0.50000000E+01                 0.20000000E+00\n"
      "   0.0                          1\n"
      "                                1.5\n"
      "  0.12345678E+01        -2.5D0\n";
  GridHeader h;
  Grid g;
  read_text(text, h, g);
  EXPECT_EQ(h.origin[0], -5.0f);
  EXPECT_EQ(h.axes[1][1], 1e-8f);  // no point: eight implied decimals
  EXPECT_EQ(h.axes[2][2], 1.5f);
  ASSERT_EQ(g.size(), 3u);
  EXPECT_DOUBLE_EQ(g.values[0], 1.2345678);
  EXPECT_DOUBLE_EQ(g.values[1], -2.5);
  EXPECT_EQ(g.values[2], 0.0);
}

TEST(TopondGrid, ZeroCountsReadNoValues) {
  GridHeader h;
  Grid g;
  read_text("   0   4   4\n 1.0\n 1.0\n 1.0\n", h, g);
  EXPECT_EQ(h.n1, 0);
  EXPECT_TRUE(g.empty());
}

TEST(TopondGrid, BadFilesNameFileAndLine) {
  const std::string good = topond_text(9, 2, 1);
  struct Case {
    std::string text;
    long line;
  };
  const Case cases[] = {
      {"", 1},
      {"   9   2\n", 2},                                             // header ends early
      {"   9  x2   1\n", 1},                                         // bad count
      {good.substr(0, good.rfind('\n', good.size() - 2) + 1), 8},    // last run line missing
      {"   1   1   1\n 0.0\n 0.0\n 0.0\n 1.0E+00x\n", 5},             // bad value
      {"   1   1   1\n 0.0\n 0.0 1.0ee\n", 3},                        // bad origin
  };
  for (const Case& c : cases) {
    GridHeader h;
    Grid g;
    try {
      read_text(c.text, h, g);
      ADD_FAILURE() << c.text;
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "grid.dat");
      EXPECT_EQ(e.line(), c.line) << c.text;
    }
  }
}

TEST(TopondGrid, HugeCountsAreOutOfMemoryBeforeAnyValueIsRead) {
  GridHeader h;
  Grid g;
  EXPECT_THROW(read_text("9999999999991\n 0.0\n 0.0\n 0.0\n", h, g), OutOfMemory);
}

// The CRYSTAL grid at hand was written in the cube layout, not the TOPOND one: it is refused
// with a message naming the file, never misread.
TEST(TopondGrid, RealCubeLayoutFileIsRefused) {
  const auto path = std::filesystem::path(QV_SAMPLES) / "topond" / "topo_hematite3D_ELF.cube";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no sample files";
  auto in = LineReader::open(path.string());
  ASSERT_TRUE(in);
  GridHeader h;
  Grid g;
  EXPECT_THROW(read_topond_grid(*in, h, g), TextError);
}

}  // namespace
}  // namespace qv
