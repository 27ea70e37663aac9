#include "gridio/cube_writing.hpp"

#include <gtest/gtest.h>

#include <cstdio>

#include "grid_files_support.hpp"

namespace qv {
namespace {

using testing_support::index_grid;
using testing_support::simple_header;
using testing_support::split_lines;

std::string write_cube(const GridHeader& h, const Grid& g) {
  auto out = TextOutput::memory("test.cube");
  write_cube_file(h, g, *out);
  out->flush();
  return out->contents();
}

TEST(CubeWriting, WorkedExampleByteForByte) {
  GridHeader h = simple_header(3, 3, 7);
  h.natoms = 2;
  h.atomic_numbers = {8, 1};
  h.atoms = {{8.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 1.43f, 1.1f}};
  Grid g = make_grid(3, 3, 7, "test");
  const double run[7] = {0.5, 0.25, 0.125, 0.001, -2.5E-7, 3.0, 1.0E-120};
  for (int i3 = 0; i3 < 7; ++i3) g.at(0, 0, i3) = run[i3];
  for (int i3 = 0; i3 < 7; ++i3) g.at(0, 1, i3) = 1.0;  // second run: all ones

  const std::string blank60(60, ' ');
  const std::string expected_start =
      blank60 + "\n" + blank60 + "\n" +
      "    2   -5.000000   -5.000000   -5.000000\n"
      "    3    0.200000    0.000000    0.000000\n"
      "    3    0.000000    0.200000    0.000000\n"
      "    7    0.000000    0.000000    0.200000\n"
      "    8    8.000000    0.000000    0.000000    0.000000\n"
      "    1    1.000000    0.000000    1.430000    1.100000\n"
      "  5.00000E-01  2.50000E-01  1.25000E-01  1.00000E-03 -2.50000E-07  3.00000E+00\n"
      "  1.00000-120\n"
      "  1.00000E+00  1.00000E+00  1.00000E+00  1.00000E+00  1.00000E+00  1.00000E+00\n"
      "  1.00000E+00\n"
      "  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
      "  0.00000E+00\n";
  const std::string text = write_cube(h, g);
  ASSERT_GE(text.size(), expected_start.size());
  EXPECT_EQ(text.substr(0, expected_start.size()), expected_start);
  EXPECT_EQ(split_lines(text).size(), 8u + 9u * 2u);
  EXPECT_EQ(text.back(), '\n');
}

// Lines per run and their lengths for runs of several lengths.
TEST(CubeWriting, RunsOfEveryLength) {
  struct Case {
    int n1, n2, n3;
    std::vector<std::size_t> run_lengths;  // characters of each line of one run
  };
  const Case cases[] = {
      {2, 3, 5, {65}},
      {2, 3, 6, {78}},
      {2, 3, 7, {78, 13}},
      {2, 3, 12, {78, 78}},
      {2, 3, 13, {78, 78, 13}},
      {1, 1, 1, {13}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("n3 = " + std::to_string(c.n3));
    const Grid g = index_grid(c.n1, c.n2, c.n3);
    const auto lines = split_lines(write_cube(simple_header(c.n1, c.n2, c.n3), g));
    const std::size_t per_run = c.run_lengths.size();
    ASSERT_EQ(lines.size(), 6 + static_cast<std::size_t>(c.n1 * c.n2) * per_run);
    std::size_t at = 6;
    for (int i1 = 0; i1 < c.n1; ++i1) {
      for (int i2 = 0; i2 < c.n2; ++i2) {
        std::string run;
        for (std::size_t k = 0; k < per_run; ++k, ++at) {
          EXPECT_EQ(lines[at].size(), c.run_lengths[k]) << "line " << at + 1;
          run += lines[at];
        }
        // The third index runs fastest within the run.
        for (int i3 = 0; i3 < c.n3; ++i3) {
          char field[32];
          std::snprintf(field, sizeof field, "%13.5E", 100.0 * i1 + 10.0 * i2 + i3 + 1);
          EXPECT_EQ(run.substr(static_cast<std::size_t>(i3) * 13, 13), field);
        }
      }
    }
  }
}

TEST(CubeWriting, HeaderLineLengthsAndBlankTitles) {
  GridHeader h = simple_header(1, 1, 1);
  h.natoms = 1;
  h.atomic_numbers = {6};
  h.atoms = {{6.0f, -1.5f, 0.25f, 12.0f}};
  const auto lines = split_lines(write_cube(h, index_grid(1, 1, 1)));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], std::string(60, ' '));
  EXPECT_EQ(lines[1], std::string(60, ' '));
  EXPECT_EQ(lines[2].size(), 41u);
  for (int k = 3; k < 6; ++k) EXPECT_EQ(lines[k].size(), 41u);
  EXPECT_EQ(lines[6], "    6    6.000000   -1.500000    0.250000   12.000000");
  EXPECT_EQ(lines[7], "  1.00000E+00");
}

TEST(CubeWriting, CountsOfZeroOrLessWriteNoValueLines) {
  struct Case {
    int natoms, n1, n2, n3;
    const char* line3;
  };
  const Case cases[] = {
      {0, 2, 2, 2, "    0   -5.000000   -5.000000   -5.000000"},
      {0, 0, 3, 3, "    0   -5.000000   -5.000000   -5.000000"},
      {-3, 3, 3, 0, "   -3   -5.000000   -5.000000   -5.000000"},
      {0, 3, -4, 3, "    0   -5.000000   -5.000000   -5.000000"},
  };
  for (const Case& c : cases) {
    GridHeader h = simple_header(c.n1, c.n2, c.n3);
    h.natoms = c.natoms;
    const Grid g = make_grid(c.n1, c.n2, c.n3, "test");
    const auto lines = split_lines(write_cube(h, g));
    const bool values = c.n1 > 0 && c.n2 > 0 && c.n3 > 0;
    EXPECT_EQ(lines.size(), values ? 6u + static_cast<std::size_t>(c.n1 * c.n2) : 6u);
    EXPECT_EQ(lines[2], c.line3);
    if (values) {
      EXPECT_EQ(lines[6].substr(0, 13), "  0.00000E+00");  // straight after line 6
    }
  }
}

TEST(CubeWriting, InconsistentHeaderIsRefused) {
  GridHeader h = simple_header(1, 1, 1);
  h.natoms = 2;  // but no atoms in the tables
  auto out = TextOutput::memory();
  EXPECT_THROW(write_cube_file(h, index_grid(1, 1, 1), *out), std::invalid_argument);
  Grid g = index_grid(2, 2, 2);
  g.values.pop_back();
  EXPECT_THROW(write_cube_file(simple_header(2, 2, 2), g, *out), std::invalid_argument);
}

}  // namespace
}  // namespace qv
