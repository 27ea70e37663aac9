// Reading with the format engine: the real- and integer-field rules, text targets, padding of
// short lines, reversion, "/" and the errors that name file, line and expectation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/text_error.hpp"

namespace qv {
namespace {

double read_real(const char* fmt, std::string_view line) {
  double v = -999.0;
  const InItem items[] = {&v};
  Format(fmt).read_line(line, items, "mem", 1);
  return v;
}

struct RealCase {
  const char* format;
  const char* field;
  double expected;
};

TEST(FormatRead, RealFieldRules) {
  const double inf = std::numeric_limits<double>::infinity();
  const RealCase cases[] = {
      {"(E13.5)", "  0.12345E+04", 1234.5},
      {"(E13.5)", "  0.10000-149", 1.0e-150},  // sign-only exponent
      {"(E13.5)", " -0.12346E-03", -0.00012346},
      {"(E13.5)", "  0.12345d+04", 1234.5},
      {"(E13.5)", "  0.12345D4", 1234.5},
      {"(E13.5)", "  0.12345e4", 1234.5},
      {"(E13.5)", "", 0.0},  // short line: the field is blank
      {"(E13.5)", "             ", 0.0},
      {"(E13.5)", "1 .5 e - 3", 1.5e-3},  // blanks anywhere are ignored
      {"(E13.5)", "12345", 0.12345},       // no point: the last d digits are the fraction
      {"(E13.5)", "12345E+02", 12.345},
      {"(E13.5)", "1+5", 1.0},
      {"(F12.6)", "1234567", 1.234567},
      {"(F12.6)", "1234.5", 1234.5},  // an explicit point overrides d
      {"(F12.6)", "   -0.000123", -0.000123},
      {"(ES13.5)", "  1.23450E+03", 1234.5},
      {"(E13.5)", "1.0E+400", inf},
      {"(E13.5)", "-1.0E+400", -inf},
      {"(E13.5)", "1.0E-400", 0.0},
      {"(E13.5)", "Infinity", inf},
      {"(E13.5)", "  -inf", -inf},
      {"(E13.5)", "-", 0.0},  // a lone sign or point is zero, as the Fortran run time reads it
      {"(E13.5)", ".", 0.0},
      {"(E30.5)", "0.1000000000000000055511151231257827", 0.1},
      {"(E40.5)", "1.000000000000000111022302462515654043", 1.0000000000000002},
      {"(E40.5)", "1.000000000000000111022302462515654042", 1.0},  // just below the tie
      {"(E30.5)", "4.9406564584124654E-324", 4.9406564584124654e-324},
      {"(E30.5)", "2.2250738585072011E-308", 2.2250738585072011e-308},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(read_real(c.format, c.field), c.expected) << c.format << " [" << c.field << "]";
    // The fast field parser agrees on the field as the engine cuts it (padded to its width).
    const Format f(c.format);
    const int w = f.nodes().front().w, d = f.nodes().front().d;
    std::string field(c.field);
    field.resize(static_cast<std::size_t>(w), ' ');
    double fast = -999.0;
    EXPECT_TRUE(parse_real_field(field, d, fast)) << field;
    EXPECT_EQ(fast, c.expected) << c.format << " [" << field << "]";
  }
  EXPECT_TRUE(std::signbit(read_real("(E13.5)", "  -0.00000E+00")));
  EXPECT_TRUE(std::isnan(read_real("(E13.5)", "      NaN")));
}

TEST(FormatRead, MalformedFieldsNameFileLineAndExpectation) {
  for (const char* bad : {"1.0E", "1.0E+", "1.2.3", "1e5 x", "E5", "abc", "1.0Q2", "--1"}) {
    double fast = 0;
    EXPECT_FALSE(parse_real_field(bad, 5, fast)) << bad;
    try {
      read_real("(E13.5)", bad);
      ADD_FAILURE() << "accepted [" << bad << "]";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "mem");
      EXPECT_EQ(e.line(), 1);
      EXPECT_NE(e.expected().find("E13.5"), std::string::npos) << e.expected();
      EXPECT_NE(e.expected().find("columns 1-13"), std::string::npos) << e.expected();
    }
  }
  std::int32_t k = 0;
  const InItem item[] = {&k};
  for (const char* bad : {"  -  ", "  1.0", "99999999999", "1e3"}) {
    EXPECT_THROW(Format("(I11)").read_line(bad, item, "mem", 1), TextError) << bad;
  }
}

TEST(FormatRead, IntegersAndFloats) {
  std::int32_t a = 9, b = 9, c = 9;
  float f = 0;
  const InItem items[] = {&a, &b, &c, &f};
  Format("(3I5,F10.3)").read_line(" 1 2   -17", items, "mem", 1);
  EXPECT_EQ(a, 12);  // blanks inside ignored
  EXPECT_EQ(b, -17);
  EXPECT_EQ(c, 0);  // missing field reads as zero
  EXPECT_EQ(f, 0.0f);
  Format("(3I5,F10.3)").read_line("    1    2    3 0.1000001", items, "mem", 1);
  EXPECT_EQ(f, 0.1000001f);  // rounded once, straight to single precision
  Format("(3I5,F10.3)").read_line("    1    2    3 1", items, "mem", 1);
  EXPECT_EQ(f, 0.001f);
}

TEST(FormatRead, TextTargets) {
  std::string title, shorter, longer;
  const InItem items[] = {TextTarget{&title, 60}};
  Format("(A60)").read_line("a title", items, "mem", 1);
  EXPECT_EQ(title, "a title" + std::string(53, ' '));
  Format("(A60)").read_line(std::string(70, 'x'), items, "mem", 1);
  EXPECT_EQ(title, std::string(60, 'x'));

  // A shorter target keeps the rightmost characters, a longer one is padded on the right.
  const InItem two[] = {TextTarget{&shorter, 3}, TextTarget{&longer, 8}};
  Format("(A5,A4)").read_line("abcdefghi", two, "mem", 1);
  EXPECT_EQ(shorter, "cde");
  EXPECT_EQ(longer, "fghi    ");
  // "A" alone takes the target's own width.
  const InItem own[] = {TextTarget{&shorter, 3}, TextTarget{&longer, 2}};
  Format("(A,1X,A)").read_line("abc de", own, "mem", 1);
  EXPECT_EQ(shorter, "abc");
  EXPECT_EQ(longer, "de");
}

TEST(FormatRead, LinesSlashesAndReversion) {
  auto in = LineReader::from_text("skip me\n" + std::string(80, 'T') + "Z\nnext\n", "lines.txt");
  std::string title;
  const InItem t[] = {TextTarget{&title, 80}};
  Format("(/,A80)").read(*in, t);
  EXPECT_EQ(title, std::string(80, 'T'));
  EXPECT_EQ(in->line_number(), 2);
  Format("(A80)").read(*in, t);  // the rest of line 2 was passed over
  EXPECT_EQ(title, "next" + std::string(76, ' '));

  auto four = LineReader::from_text("1\n2\n3\n4\n5\n", "f");
  Format("(3/)").read(*four, {});
  EXPECT_EQ(four->line_number(), 4);

  std::string text;
  for (int line = 0; line < 3; ++line) {
    text += "0123456789";
    for (int i = 0; i < (line < 2 ? 5 : 2); ++i) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "%14.7E", line * 5 + i + 1.0);
      text += buf;
    }
    text += '\n';
  }
  auto values = LineReader::from_text(text + "after\n", "v");
  double v[12];
  InItem items[12];
  for (int i = 0; i < 12; ++i) items[i] = &v[i];
  Format("(10X,5E14.7)").read(*values, items);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(v[i], i + 1.0);
  EXPECT_EQ(values->line_number(), 3);
}

TEST(FormatRead, EndOfFileAndOneRecordLimits) {
  auto in = LineReader::from_text("1\n", "short.dat");
  double a = 0, b = 0;
  const InItem items[] = {&a, &b};
  try {
    Format("(F5.1)").read(*in, items);
    ADD_FAILURE() << "read past the end";
  } catch (const TextError& e) {
    EXPECT_EQ(e.file(), "short.dat");
    EXPECT_EQ(e.line(), 2);
  }
  EXPECT_EQ(a, 0.1);
  EXPECT_THROW(Format("(F5.1)").read_line("1", items, "piece", 7), TextError);
  EXPECT_THROW(Format("(F5.1,/,F5.1)").read_line("1", items, "piece", 7), TextError);
}

}  // namespace
}  // namespace qv
