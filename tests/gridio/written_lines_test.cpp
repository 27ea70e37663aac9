// The whole-line readers of written cube and grd values against the general number scanner:
// every field they take must give scan_number's bits, every field not exactly in the written
// layout must be left alone, and only whole lines are taken.
#include "gridio/written_lines.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "gridio/fast_fields.hpp"

namespace qv {
namespace {

struct Layout {
  const char* name;
  std::size_t width;
  char* (*put)(char*, double);
  WrittenLines (*scan)(std::string_view, double*, std::size_t);
};

WrittenLines scan_cube(std::string_view text, double* out, std::size_t count) {
  return scan_cube_lines(text, out, 1, count);
}
WrittenLines scan_cube_by_words(std::string_view text, double* out, std::size_t count) {
  return scan_cube_lines_by_words(text, out, 1, count);
}

// Each layout by the readers in use and by the 64-bit-word readers alone.
const Layout kLayouts[] = {{"cube", 13, put_es13_5, scan_cube},
                           {"cube by words", 13, put_es13_5, scan_cube_by_words},
                           {"grd", 18, put_e18_10, scan_grd_lines},
                           {"grd by words", 18, put_e18_10, scan_grd_lines_by_words}};

std::string field(const Layout& l, double v) {
  char buf[32];
  return std::string(buf, l.put(buf, v));
}

// Behind the line feed: nothing (the last field is read near the end of the text, by words)
// or another line (read with wide loads).
const char* const kAfter[] = {"", "  next line of text\n"};

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

// What scan_number makes of the field.
double scanned(const std::string& f) {
  const char* p = f.data();
  double v = 0;
  EXPECT_TRUE(scan_number(p, f.data() + f.size(), v)) << f;
  return v;
}

// Values across the whole range: powers of ten and their neighbours (exponents that need more
// than the exact scales, three-digit exponents, subnormals), ties at the written precisions,
// and random doubles.
std::vector<double> sample_values() {
  std::vector<double> v = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           0.5,
                           9.999995,
                           9.9999950000001,
                           0.99999999995,
                           1.0e-30,
                           1.0e-22,
                           1.0e22,
                           1.0e23,
                           2.5e-22,
                           -6.02214e23,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::max()};
  for (int e = -310; e <= 308; ++e) {
    const double p = std::pow(10.0, e);
    v.push_back(p);
    v.push_back(-std::nextafter(p, 0.0));
    v.push_back(std::nextafter(p, 1e300));
    v.push_back(-1.234565 * p);
    v.push_back(0.99999999995 * p);
  }
  std::mt19937_64 rng(2024);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::bit_cast<double>(rng());
    if (std::isfinite(x)) v.push_back(x);
    // Grid-like magnitudes, where almost every field is read by the exact scales.
    v.push_back(std::ldexp(static_cast<double>(rng() >> 11), -53 - static_cast<int>(rng() % 80)) *
                ((rng() & 1) ? -1.0 : 1.0));
  }
  return v;
}

TEST(WrittenLines, FieldsGiveWhatScanNumberGives) {
  const std::vector<double> values = sample_values();
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    std::size_t taken = 0;
    for (double x : values) {
      const std::string f = field(l, x);
      const bool written_layout = f[f.size() - 4] == 'E';  // not "+ddd" without the letter
      for (const char* after : kAfter) {
        const std::string text = f + "\n" + after;
        double got = 7.0;
        const WrittenLines w = l.scan(text, &got, 1);
        ASSERT_EQ(w.values, written_layout ? 1u : 0u) << "\"" << f << "\"";
        if (!written_layout) continue;
        ++taken;
        EXPECT_EQ(w.lines, 1);
        EXPECT_EQ(w.bytes, f.size() + 1);
        ASSERT_EQ(bits(got), bits(scanned(f))) << "\"" << f << "\"";
      }
    }
    EXPECT_GT(taken, values.size());  // most fields are taken, by both ways of loading
  }
}

TEST(WrittenLines, WholeLinesOfSixFields) {
  std::mt19937_64 rng(7);
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    for (const char* after : kAfter) {
      // Three lines of six, then one of two: the runs of a grid with 20 values per run.
      std::string text;
      std::vector<double> expected;
      for (int i = 0; i < 20; ++i) {
        const double x =
            std::ldexp(static_cast<double>(rng() >> 11), -40 - static_cast<int>(rng() % 40));
        const std::string f = field(l, (i % 3 == 1) ? -x : x);
        text += f;
        if (i % 6 == 5 || i == 19) text += "\n";
        expected.push_back(scanned(f));
      }
      text += after;
      std::vector<double> got(20, 7.0);
      const WrittenLines w = l.scan(text, got.data(), 20);
      EXPECT_EQ(w.values, 20u);
      EXPECT_EQ(w.lines, 4);
      EXPECT_EQ(w.bytes, 20 * l.width + 4);
      for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(bits(got[i]), bits(expected[i])) << i;
    }
  }
  // The strided form stores the values `stride` apart.
  const std::string text = field(kLayouts[0], 1.5) + field(kLayouts[0], -2.5) + "\n";
  for (auto scan : {scan_cube_lines, scan_cube_lines_by_words}) {
    double out[5] = {7, 7, 7, 7, 7};
    EXPECT_EQ(scan(text, out, 3, 2).values, 2u);
    EXPECT_EQ(out[0], 1.5);
    EXPECT_EQ(out[3], -2.5);
    EXPECT_EQ(out[1], 7.0);
  }
}

// Fields that look written but are not exactly so; each is left to the general rules.
TEST(WrittenLines, NearMissesAreLeftAlone) {
  const std::vector<std::string> cube = {
      "  1.2345xE-01",  "  1.23456D-01",  "  1.23456e-01", "  1.23456d-01", " +1.23456E-01",
      "  1.23456+101",  "  1.23456-101",  "  1,23456E-01", "  1.23456E 01", "  1.23456E*01",
      "  1.23456E-0a",  "  1.23456E-/1",  "  :.23456E-01", "  /.23456E-01", "--1.23456E-01",
      "\t 1.23456E-01", " \t1.23456E-01", "x 1.23456E-01", "  1.23456E--1", "  12.3456E-01",
      "  1.234567E-1",  "   1.2345E-01",  "  1.23456E-1 ", "  1.23456E+1.", "  1.2345 E-01",
      " -1.23456E+0:",  " - 1.2345E-01",  "  1 23456E-01", "  1.23456F-01", "  1.23456E+0\x80"};
  const std::vector<std::string> grd = {
      "  1.1234567890E-01", "  0.123456789xE-01", "  0.1234567890D-01",  "  0.1234567890e-01",
      " +0.1234567890E-01", "  0.1234567890+101", "  0.1234567890E+1x",  "  0.1234567890E 01",
      "  0.12345678901E-1", "  00.123456789E-01", "  0,1234567890E-01",  "   .1234567890E-01",
      " -0.1234567890E-0/", "  0.1234567890E-:1", "\t 0.1234567890E-01", "  0.1234567890EE01",
      " --.1234567890E-01", "  0.12345 7890E-01", "  0.1234567890F-01"};
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    for (const std::string& f : l.width == 13 ? cube : grd) {
      ASSERT_EQ(f.size(), l.width) << "\"" << f << "\"";
      for (const char* after : kAfter) {
        const std::string text = f + "\n" + after;
        double got = 7.0;
        const WrittenLines w = l.scan(text, &got, 1);
        EXPECT_EQ(w.values, 0u) << "\"" << f << "\"";
        EXPECT_EQ(w.bytes, 0u) << "\"" << f << "\"";
      }
      // After a good field on the same line the line is not taken either.
      const std::string line = field(l, 0.25) + f + "\n";
      double two[2] = {7.0, 7.0};
      EXPECT_EQ(l.scan(line, two, 2).lines, 0) << "\"" << f << "\"";
    }
  }
}

TEST(WrittenLines, OnlyWholeLinesWithNothingElseAreTaken) {
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.name);
    const std::string a = field(l, 1.0), b = field(l, -0.5);
    struct Case {
      std::string text;
      std::size_t count, values;
      long lines;
    };
    const Case cases[] = {
        {a + b + "\n" + b + "\n", 3, 3, 2},
        {a + b + "\n" + b + "\n", 2, 2, 1},    // the count reached at a line end
        {a + b + "\n", 1, 0, 0},               // the line holds more than is left
        {a + b + " \n", 2, 0, 0},              // a blank after the fields
        {a + "\r\n" + b + "\r\n", 2, 2, 2},    // CR LF line ends
        {a + "\r" + b + "\n", 2, 0, 0},        // a carriage return inside the line
        {a + "\n\n" + b + "\n", 2, 1, 1},      // an empty line stops it
        {a + "\n" + b, 2, 1, 1},               // the last line has no line feed (yet)
        {a + "\n" + b.substr(0, 5), 2, 1, 1},  // the text ends inside a field
        {"\n" + a + "\n", 1, 0, 0},
        {"", 1, 0, 0},
    };
    for (const Case& c : cases) {
      std::vector<double> out(c.count, 7.0);
      const WrittenLines w = l.scan(c.text, out.data(), c.count);
      EXPECT_EQ(w.values, c.values) << c.text;
      EXPECT_EQ(w.lines, c.lines) << c.text;
      // The lines taken end at the line feed after the last value taken.
      const std::size_t end = c.lines == 0 ? 0 : c.text.find('\n', c.values * l.width - 1) + 1;
      EXPECT_EQ(w.bytes, end) << c.text;
    }
  }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// TOPOND lines (E16.8 fields) against the field rules the TOPOND reader applies.
TEST(WrittenLines, TopondLinesGiveWhatTheFieldRulesGive) {
  const std::vector<double> values = sample_values();
  std::size_t taken = 0;
  for (std::size_t start = 0; start + 8 <= values.size(); start += 8) {
    std::string line;
    char buf[32];
    for (std::size_t c = 0; c < 8; ++c) line += std::string(buf, put_e16_8(buf, values[start + c]));
    double got[8];
    const bool whole = scan_topond_line(line, 8, got);
    bool written_layout = true;
    for (std::size_t c = 0; c < 8; ++c) written_layout &= line[16 * c + 12] == 'E';
    ASSERT_EQ(whole, written_layout) << line;
    if (!whole) continue;
    ++taken;
    for (std::size_t c = 0; c < 8; ++c) {
      double expected = 0.0;
      ASSERT_TRUE(parse_real_field(std::string_view(line).substr(16 * c, 16), 8, expected));
      ASSERT_EQ(bits(got[c]), bits(expected)) << line.substr(16 * c, 16);
    }
  }
  EXPECT_GT(taken, 100u);  // lines of eight fields all in the written layout
  // Near misses are left to the field rules.
  const char* const misses[] = {
      "  0.12345678E+01 -0.12345678E-01",  // fine: the control case
      "  0.12345678D+01 -0.12345678E-01",  "  .123456789E+01 -0.12345678E-01",
      " +0.12345678E+01 -0.12345678E-01",  "  0.1234567xE+01 -0.12345678E-01",
      "  0.12345678E+01 -0.12345678E-01 ", "  0.12345678E+01 -0.12345678E*01",
      "                 -0.12345678E-01",  "  0.12345678+100 -0.12345678E-01",
  };
  for (std::size_t i = 0; i < std::size(misses); ++i) {
    double got[2];
    EXPECT_EQ(scan_topond_line(misses[i], 2, got), i == 0) << misses[i];
  }
  double one[1];
  EXPECT_FALSE(scan_topond_line("  0.12345678E+01", 2, one));  // fewer fields than asked for
}

}  // namespace
}  // namespace qv
