#include "gridio/cube_reading.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gridio/cube_writing.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "grid_files_support.hpp"

namespace qv {
namespace {

using testing_support::index_grid;
using testing_support::simple_header;

GridFile read_cube_text(const std::string& text, CubeLayout layout = CubeLayout::general,
                        GridRole role = GridRole::density) {
  auto in = LineReader::from_text(text, "in.cube");
  std::vector<std::string> stored;
  return read_grid_file(*in, nullptr, layout, role, stored);
}

// The header of the worked example (two atoms, 3 x 3 x 7 points) in the layout this tool writes.
const std::string kTitles = "\n title\n";
const std::string kHeader =
    kTitles +
    "    2   -5.000000   -5.000000   -5.000000\n"
    "    3    0.200000    0.000000    0.000000\n"
    "    3    0.000000    0.200000    0.000000\n"
    "    7    0.000000    0.000000    0.200000\n"
    "    8    8.000000    0.000000    0.000000    0.000000\n"
    "    1    1.000000    0.000000    1.430000    1.100000\n";

void expect_example_header(const GridHeader& h) {
  EXPECT_EQ(h.natoms, 2);
  EXPECT_EQ(h.origin, (std::array<float, 3>{-5.0f, -5.0f, -5.0f}));
  EXPECT_EQ(h.n1, 3);
  EXPECT_EQ(h.n2, 3);
  EXPECT_EQ(h.n3, 7);
  EXPECT_EQ(h.axes[0], (std::array<float, 3>{0.2f, 0.0f, 0.0f}));
  EXPECT_EQ(h.axes[1], (std::array<float, 3>{0.0f, 0.2f, 0.0f}));
  EXPECT_EQ(h.axes[2], (std::array<float, 3>{0.0f, 0.0f, 0.2f}));
  EXPECT_EQ(h.atomic_numbers, (std::vector<std::int32_t>{8, 1}));
  ASSERT_EQ(h.atoms.size(), 2u);
  EXPECT_EQ(h.atoms[1], (std::array<float, 4>{1.0f, 0.0f, 1.43f, 1.1f}));
}

// Value text of the 3 x 3 x 7 example: value(i1, i2, i3) = 100 i1 + 10 i2 + i3 + 1, written by
// `line_of_run` for each run.
template <class RunText>
std::string example_values(RunText line_of_run) {
  std::string s;
  for (int i1 = 0; i1 < 3; ++i1)
    for (int i2 = 0; i2 < 3; ++i2) {
      std::vector<double> run;
      for (int i3 = 0; i3 < 7; ++i3) run.push_back(100.0 * i1 + 10.0 * i2 + i3 + 1);
      s += line_of_run(run);
    }
  return s;
}

std::string fields(const std::vector<double>& v, std::size_t from, std::size_t to,
                   const char* fmt) {
  std::string s;
  char buf[64];
  for (std::size_t i = from; i < to && i < v.size(); ++i) {
    std::snprintf(buf, sizeof buf, fmt, v[i]);
    s += buf;
  }
  return s + "\n";
}

std::string six_and_rest(const std::vector<double>& r) {
  return fields(r, 0, 6, "%13.5E") + fields(r, 6, 7, "%13.5E");
}

void expect_index_values(const Grid& g) {
  ASSERT_EQ(g.values.size(), static_cast<std::size_t>(g.n1) * g.n2 * g.n3);
  for (int i3 = 0; i3 < g.n3; ++i3)
    for (int i2 = 0; i2 < g.n2; ++i2)
      for (int i1 = 0; i1 < g.n1; ++i1)
        ASSERT_DOUBLE_EQ(g.at(i1, i2, i3), 100.0 * i1 + 10.0 * i2 + i3 + 1)
            << i1 << " " << i2 << " " << i3;
}

TEST(CubeReading, LayoutsOfOtherPrograms) {
  struct Case {
    const char* name;
    std::string text;
  };
  const std::string wide_header =
      kTitles +
      "    2  -0.50000000000000E+001  -0.50000000000000E+001  -0.50000000000000E+001 \n"
      "    3   0.20000000000000E+000   0.00000000000000E+000   0.00000000000000E+000 \n"
      "    3   0.00000000000000E+000   0.20000000000000E+000   0.00000000000000E+000 \n"
      "    7   0.00000000000000E+000   0.00000000000000E+000   0.20000000000000E+000 \n"
      "    8   0.0  0.00000000000000E+000  0.00000000000000E+000  0.00000000000000E+000 \n"
      "    1   0.1D+01  0.0  0.143E+001  0.11E1\n";
  const Case cases[] = {
      {"this tool's layout", kHeader + example_values(six_and_rest)},
      {"fifth number on line 3, axis lines past column 41",
       kTitles +
           "    2   -5.000000   -5.000000   -5.000000    1\n"
           "    3    0.200000    0.000000    0.000000    9.999999 extra words\n"
           "    3    0.000000    0.200000    0.000000    0.000000\n"
           "    7    0.000000    0.000000    0.200000 1 2 3\n"
           "    8    8.000000    0.000000    0.000000    0.000000   more\n"
           "    1    1.000000    0.000000    1.430000    1.100000\n" +
           example_values(six_and_rest)},
      {"22-column fields, three-digit exponents, D exponents",
       wide_header + example_values([](const std::vector<double>& r) {
         return fields(r, 0, 4, "%22.14E") + fields(r, 4, 7, "%22.14E");
       })},
      {"empty line after each run", kHeader + example_values([](const std::vector<double>& r) {
                                      return six_and_rest(r) + "\n";
                                    })},
      {"run over lines of two, tabs and CRLF",
       kHeader + example_values([](const std::vector<double>& r) {
         std::string s;
         for (std::size_t i = 0; i < r.size(); i += 2) {
           std::string piece = fields(r, i, i + 2, "\t%.6e");
           piece.insert(piece.size() - 1, "\r");
           s += piece;
         }
         return s;
       })},
      {"one value a line, compact fields",
       kHeader + example_values([](const std::vector<double>& r) {
         std::string s;
         for (double v : r) s += fields({v}, 0, 1, "%g");
         return s;
       })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const GridFile f = read_cube_text(c.text);
    expect_example_header(f.header);
    expect_index_values(f.grid);
  }
}

TEST(CubeReading, ExponentWithoutTheE) {
  const std::string text = kTitles +
                           "    0    0.000000    0.000000    0.000000\n"
                           "    1    1.000000    0.000000    0.000000\n"
                           "    1    0.000000    1.000000    0.000000\n"
                           "    3    0.000000    0.000000    1.000000\n"
                           "  0.12345-120  1.00000-150 -0.50000+101\n";
  const GridFile f = read_cube_text(text);
  EXPECT_EQ(f.header.natoms, 0);
  EXPECT_TRUE(f.header.atoms.empty());
  ASSERT_EQ(f.grid.values.size(), 3u);
  EXPECT_DOUBLE_EQ(f.grid.values[0], 0.12345E-120);
  EXPECT_DOUBLE_EQ(f.grid.values[1], 1.0E-150);
  EXPECT_DOUBLE_EQ(f.grid.values[2], -0.5E101);
}

// Gaussian and ORCA orbital cubes: a negative count, its atom lines, a data-set line, and
// several values per point; the first data set is kept.
TEST(CubeReading, NegativeAtomCountWithDataSets) {
  std::string text = kTitles +
                     "   -1   -5.000000   -5.000000   -5.000000\n"
                     "    2    0.200000    0.000000    0.000000\n"
                     "    1    0.000000    0.200000    0.000000\n"
                     "    4    0.000000    0.000000    0.200000\n"
                     "    6    6.000000    1.000000    2.000000    3.000000\n"
                     "    2   21\n"
                     "   22\n";  // identifiers may continue on the next line
  // Per point: the wanted value, then the second data set's (negative, to catch a misread).
  text += "  1.0 -1.0  2.0 -2.0  3.0 -3.0\n  4.0 -4.0\n";
  text += "  5.0 -5.0  6.0 -6.0  7.0 -7.0\n  8.0 -8.0\n";
  const GridFile f = read_cube_text(text);
  EXPECT_EQ(f.header.natoms, 1);
  EXPECT_EQ(f.header.atomic_numbers, (std::vector<std::int32_t>{6}));
  EXPECT_EQ(f.header.atoms[0], (std::array<float, 4>{6.0f, 1.0f, 2.0f, 3.0f}));
  ASSERT_EQ(f.grid.values.size(), 8u);
  for (int i3 = 0; i3 < 4; ++i3) {
    EXPECT_EQ(f.grid.at(0, 0, i3), 1.0 + i3);
    EXPECT_EQ(f.grid.at(1, 0, i3), 5.0 + i3);
  }
}

TEST(CubeReading, WriteThenReadKeepsThePrintedPrecision) {
  for (int n3 : {1, 5, 6, 7, 12, 13}) {
    SCOPED_TRACE(n3);
    GridHeader h = simple_header(3, 4, n3);
    h.natoms = 2;
    h.atomic_numbers = {8, 1};
    h.atoms = {{8.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 1.43f, -1.1f}};
    Grid g = make_grid(3, 4, n3, "test");
    std::mt19937_64 rng(n3);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-130, 130);
    for (double& v : g.values) v = mantissa(rng) * std::pow(10.0, exponent(rng));
    g.values[0] = 0.0;
    auto out = TextOutput::memory();
    write_cube_file(h, g, *out);
    out->flush();
    const GridFile f = read_cube_text(out->contents());
    EXPECT_EQ(f.header.natoms, h.natoms);
    EXPECT_EQ(f.header.origin, h.origin);
    EXPECT_EQ(f.header.axes, h.axes);
    EXPECT_EQ(f.header.atoms, h.atoms);
    EXPECT_EQ(f.header.atomic_numbers, h.atomic_numbers);
    ASSERT_EQ(f.grid.values.size(), g.values.size());
    for (std::size_t i = 0; i < g.values.size(); ++i)
      ASSERT_LE(std::fabs(f.grid.values[i] - g.values[i]), 5.0000001e-6 * std::fabs(g.values[i]))
          << i;
  }
}

// Coordinates of 1000 bohr and more fill their 12 columns, so the written fields touch.
TEST(CubeReading, TouchingHeaderFieldsOfOwnLayout) {
  GridHeader h = simple_header(1, 1, 2);
  h.origin = {-1000.25f, 2.5f, -1234.5f};
  h.natoms = 1;
  h.atomic_numbers = {6};
  h.atoms = {{6.0f, -1500.5f, -2000.75f, 3.0f}};
  auto out = TextOutput::memory();
  write_cube_file(h, index_grid(1, 1, 2), *out);
  out->flush();
  ASSERT_NE(out->contents().find("    1-1000.250000"), std::string::npos);
  const GridFile f = read_cube_text(out->contents());
  EXPECT_EQ(f.header.origin, h.origin);
  EXPECT_EQ(f.header.atoms, h.atoms);
  EXPECT_EQ(f.grid.values, (GridValues{1.0, 2.0}));
}

// Grids of several shapes go through blocks of planes, or run by run when a plane is large;
// every run must land at its place in the file and back in the grid.
TEST(CubeReading, RunsKeepTheirPlacesInEveryShape) {
  struct Shape {
    int n1, n2, n3;
  };
  for (const Shape s : {Shape{19, 3, 5}, Shape{9, 1, 13}, Shape{1, 4, 4}, Shape{2, 520, 520}}) {
    SCOPED_TRACE(std::to_string(s.n1) + "x" + std::to_string(s.n2) + "x" + std::to_string(s.n3));
    const Grid g = index_grid(s.n1, s.n2, s.n3);
    auto out = TextOutput::memory();
    write_cube_file(simple_header(s.n1, s.n2, s.n3), g, *out);
    out->flush();
    const auto lines = testing_support::split_lines(out->contents());
    const int per_run = (s.n3 + 5) / 6;
    ASSERT_EQ(lines.size(), 6u + static_cast<std::size_t>(s.n1 * s.n2 * per_run));
    for (int i1 = 0; i1 < s.n1; ++i1)
      for (int i2 = 0; i2 < s.n2; ++i2) {
        char field[32];
        std::snprintf(field, sizeof field, "%13.5E", g.at(i1, i2, s.n3 - 1));
        const std::string& last_line =
            lines[6 + static_cast<std::size_t>((i1 * s.n2 + i2 + 1) * per_run - 1)];
        ASSERT_EQ(last_line.substr(last_line.size() - 13), field) << i1 << " " << i2;
      }
    const GridFile f = read_cube_text(out->contents());
    ASSERT_EQ(f.grid.values, g.values);
  }
}

TEST(CubeReading, CountsOfZeroOrLessGiveAnEmptyGrid) {
  for (const char* counts : {"    0    3    3", "   -2    3    3", "    3    3    0"}) {
    SCOPED_TRACE(counts);
    int n[3];
    std::sscanf(counts, "%d %d %d", &n[0], &n[1], &n[2]);
    std::string text = kTitles + "    0    0.000000    0.000000    0.000000\n";
    for (int k = 0; k < 3; ++k) text += "   " + std::to_string(n[k]) + "    0.1    0.0    0.0\n";
    const GridFile f = read_cube_text(text);  // the file ends with the header: nothing else read
    EXPECT_TRUE(f.grid.values.empty());
    EXPECT_EQ(f.header.n1, n[0]);
    EXPECT_EQ(f.header.n3, n[2]);
  }
}

TEST(CubeReading, GaussianLayoutPassesOverTheExtraLines) {
  struct Case {
    GridRole role;
    int n3;
  };
  for (const Case c : {Case{GridRole::gradient, 5}, Case{GridRole::laplacian, 5},
                       Case{GridRole::gradient, 13}, Case{GridRole::laplacian, 13},
                       Case{GridRole::density, 5}}) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.role)) + " n3=" + std::to_string(c.n3));
    std::string text = kTitles + "    0    0.000000    0.000000    0.000000\n"
                                 "    2    0.1    0.0    0.0\n"
                                 "    2    0.0    0.1    0.0\n"
                                 "   " + std::to_string(c.n3) + "    0.0    0.0    0.1\n";
    const int s3 = (c.n3 + 1) / 2, s1 = (c.n3 + 5) / 6;
    for (int i1 = 0; i1 < 2; ++i1)
      for (int i2 = 0; i2 < 2; ++i2) {
        std::vector<double> run;
        for (int i3 = 0; i3 < c.n3; ++i3) run.push_back(100.0 * i1 + 10.0 * i2 + i3 + 1);
        for (std::size_t i = 0; i < run.size(); i += 6) text += fields(run, i, i + 6, "%13.5E");
        // Lines passed over hold no numbers, so a miscount fails the read.
        if (c.role == GridRole::gradient) {
          for (int k = 0; k < s3; ++k) text += k == 1 ? "\n  gx gy gz\n" : "  gx gy gz\n";
        } else if (c.role == GridRole::laplacian) {
          for (int k = 0; k < s3 + s1; ++k) text += k == 1 ? "\n" : "  lap\n";
        }
      }
    const GridFile f = read_cube_text(text, CubeLayout::gaussian, c.role);
    expect_index_values(f.grid);
    if (c.role != GridRole::density) {  // the general layout does not pass them over
      EXPECT_THROW(read_cube_text(text, CubeLayout::general, c.role), TextError);
    }
  }
}

TEST(CubeReading, FaultsNameTheFileAndLine) {
  const std::string values = example_values(six_and_rest);
  struct Case {
    const char* name;
    std::string text;
    long line;
  };
  const Case cases[] = {
      {"empty file", "", 1},
      {"short line 3", kTitles + "    2   -5.000000   -5.000000\n", 3},
      {"short axis line", kTitles + "    2   -5.0 -5.0 -5.0\n    3    0.2    0.0\n", 4},
      {"count with a point", kTitles + "  2.0   -5.0 -5.0 -5.0\n", 3},
      {"atom line missing", kHeader.substr(0, kHeader.rfind("    1    1.0")), 8},
      {"truncated values", kHeader + values.substr(0, values.size() / 2),
       8 + 9 + 1},  // nine lines and a half: the half line is short
      {"no values at all", kHeader, 9},
      {"malformed field", kHeader + "  5.00000E-01  2.5000xE-01\n", 9},
      {"asterisks", kHeader + "  5.00000E-01 *************\n", 9},
      {"data-set count of zero",
       kTitles + "   -1 0 0 0\n    1 1 0 0\n    1 0 1 0\n    1 0 0 1\n    1 1 0 0 0\n    0\n 1.0\n",
       8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      read_cube_text(c.text);
      ADD_FAILURE() << "no error";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "in.cube");
      EXPECT_EQ(e.line(), c.line) << e.what();
    }
  }
}

TEST(CubeReading, HugeCountsFailBeforeAllocating) {
  struct Case {
    int n1, n2, n3;
    std::size_t available;
  };
  // The last grid is small (8 MB) but more than the memory said to be available.
  const Case cases[] = {{2000000000, 2000000000, 2000000000, SIZE_MAX},
                        {100000, 100000, 100000, SIZE_MAX},
                        {100, 100, 100, std::size_t{1} << 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n1);
    cap_available_memory(c.available);
    std::string text = kTitles + "    0    0.000000    0.000000    0.000000\n";
    for (int n : {c.n1, c.n2, c.n3}) text += std::to_string(n) + "    0.1    0.0    0.0\n";
    text += "  1.0\n";
    try {
      read_cube_text(text);
      ADD_FAILURE() << "no error";
    } catch (const OutOfMemory& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("in.cube"), std::string::npos) << what;
      const std::string counts = std::to_string(c.n1) + " x " + std::to_string(c.n2) + " x " +
                                 std::to_string(c.n3);
      EXPECT_NE(what.find(counts), std::string::npos) << what;
    }
  }
  cap_available_memory(SIZE_MAX);
}

}  // namespace
}  // namespace qv
