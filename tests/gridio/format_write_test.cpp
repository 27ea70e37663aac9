// Writing with the format engine: renderings of single fields and the line structure of
// repeat counts, groups, reversion, exhaustion, "/" and nX.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "gridio/format.hpp"
#include "gridio/text_output.hpp"

namespace qv {
namespace {

std::string one(const char* fmt, OutItem item) {
  const OutItem items[] = {item};
  return Format(fmt).write(items);
}

struct FieldCase {
  const char* format;
  double value;
  const char* expected;
};

TEST(FormatWrite, RealFields) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const FieldCase cases[] = {
      // The worked renderings.
      {"(E13.5)", 1234.5, "  0.12345E+04"},
      {"(ES13.5)", 1234.5, "  1.23450E+03"},
      {"(F12.6)", 1234.5, " 1234.500000"},
      {"(E13.5)", -0.000123456, " -0.12346E-03"},
      {"(ES13.5)", -0.000123456, " -1.23456E-04"},
      {"(F12.6)", -0.000123456, "   -0.000123"},
      {"(E13.5)", 1.0e-150, "  0.10000-149"},
      {"(ES13.5)", 1.0e-150, "  1.00000-150"},
      {"(F12.6)", 1.0e-150, "    0.000000"},
      {"(E13.5)", 0.0, "  0.00000E+00"},
      {"(ES13.5)", 0.0, "  0.00000E+00"},
      {"(F12.6)", 0.0, "    0.000000"},
      {"(E13.5)", 123456.0, "  0.12346E+06"},
      {"(ES13.5)", 123456.0, "  1.23456E+05"},
      {"(F12.6)", 123456.0, "************"},
      {"(E18.10)", 1.0, "  0.1000000000E+01"},
      {"(E13.5)", 999999.6, "  0.10000E+07"},
      {"(F12.6)", 0.529177, "    0.529177"},
      // Exact ties go to the even digit; values that only look like ties follow their bits.
      {"(F4.2)", 0.125, "0.12"},
      {"(F4.2)", 0.375, "0.38"},
      {"(ES13.5)", 0.0009765625, "  9.76562E-04"},
      {"(F4.2)", 9.995, "9.99"},
      {"(F3.1)", 0.95, "0.9"},
      // Negative zero and values that round to zero keep their minus sign.
      {"(E13.5)", -0.0, " -0.00000E+00"},
      {"(ES13.5)", -0.0, " -0.00000E+00"},
      {"(F12.6)", -0.0, "   -0.000000"},
      {"(F4.2)", -0.0, "-.00"},
      {"(F3.1)", -0.04, "-.0"},
      // The zero before the point goes only when the field has no room for it.
      {"(F3.1)", 0.5, "0.5"},
      {"(F3.1)", -0.5, "-.5"},
      {"(F2.1)", 0.04, ".0"},
      {"(F2.1)", -0.04, "**"},
      {"(F3.0)", -0.4, "-0."},
      {"(E10.5)", 1000.0, ".10000E+04"},
      {"(E11.5)", -1000.0, "-.10000E+04"},
      {"(E10.5)", -1000.0, "**********"},
      {"(ES11.5)", -1000.0, "***********"},
      {"(F3.1)", 9.96, "***"},
      // Three-digit exponents and the smallest values.
      {"(E13.5)", 1.0e300, "  0.10000+301"},
      {"(E13.5)", -1.0e-150, " -0.10000-149"},
      {"(ES13.5)", 1.5e-310, "  1.50000-310"},
      {"(E13.5)", 1.5e-310, "  0.15000-309"},
      {"(E13.5)", 1.0e-99, "  0.10000E-98"},
      {"(ES13.5)", 0.99999999e-99, "  1.00000E-99"},
      {"(E11.3)", -0.5, " -0.500E+00"},
      // Non-finite values as the Fortran run time writes them.
      {"(E13.5)", nan, "          NaN"},
      {"(E13.5)", inf, "     Infinity"},
      {"(E13.5)", -inf, "    -Infinity"},
      {"(F8.0)", inf, "Infinity"},
      {"(F8.0)", -inf, "    -Inf"},
      {"(F3.1)", inf, "Inf"},
      {"(F3.1)", -inf, "***"},
      {"(F2.1)", nan, "**"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(one(c.format, c.value), c.expected) << c.format << " of " << c.value;
  }
}

TEST(FormatWrite, IntegerAndTextFields) {
  EXPECT_EQ(one("(I5)", std::int64_t{123456}), "*****");
  EXPECT_EQ(one("(I5)", std::int64_t{-42}), "  -42");
  EXPECT_EQ(one("(I5)", std::int64_t{0}), "    0");
  EXPECT_EQ(one("(I3)", std::int64_t{-100}), "***");
  EXPECT_EQ(one("(I15)", std::int64_t{-2147483648LL}), "    -2147483648");
  EXPECT_EQ(one("(A5)", std::string_view("ab")), "   ab");
  EXPECT_EQ(one("(A2)", std::string_view("abcd")), "ab");
  EXPECT_EQ(one("(A)", std::string_view("name  ")), "name  ");
}

TEST(FormatWrite, RepeatGroupsReversionAndExhaustion) {
  std::vector<OutItem> items;
  for (int i = 1; i <= 7; ++i) {
    items.emplace_back(static_cast<double>(i));
    items.emplace_back(std::string_view(i % 2 ? "a" : "b"));
  }
  const Format groups("(3(1X,ES14.7,A1))");
  // Six items fill the format once: one line.
  EXPECT_EQ(groups.write(std::span(items).first(6)),
            "  1.0000000E+00a  2.0000000E+00b  3.0000000E+00a");
  // A seventh starts a second line at the last group, with its 1X.
  EXPECT_EQ(groups.write(std::span(items).first(7)),
            "  1.0000000E+00a  2.0000000E+00b  3.0000000E+00a\n  4.0000000E+00");

  std::vector<OutItem> ints;
  for (int i = 1; i <= 45; ++i) ints.emplace_back(std::int64_t{i});
  const std::string text = Format("(20X,20I3)").write(ints);
  std::string expected;
  for (int line = 0; line < 3; ++line) {
    if (line > 0) expected += '\n';
    expected += std::string(20, ' ');
    for (int i = line * 20 + 1; i <= std::min(45, line * 20 + 20); ++i) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%3d", i);
      expected += buf;
    }
  }
  EXPECT_EQ(text, expected);

  // Five per line, the last line shorter.
  std::vector<OutItem> reals(12, OutItem{1.0});
  const std::string five = Format("(5E16.8)").write(reals);
  EXPECT_EQ(std::count(five.begin(), five.end(), '\n'), 2);
  EXPECT_EQ(five.size(), 12 * 16 + 2);

  // Output stops at the first data descriptor with no item left.
  const OutItem partial[] = {std::int64_t{7}, 1.0, 2.0, 3.0};
  EXPECT_EQ(Format("(I5,4F12.6)").write(partial).size(), 41u);
  // Skipped columns are written only when a field follows them.
  const OutItem five_only[] = {std::int64_t{5}};
  EXPECT_EQ(Format("(I3,17X)").write(five_only), "  5");
  EXPECT_EQ(Format("(I3,5X,A)").write(std::vector<OutItem>{std::int64_t{5}, std::string_view("]")}),
            "  5     ]");
  // Reversion without an inner group starts again at the beginning.
  EXPECT_EQ(Format("(I2,I3)").write(std::vector<OutItem>{std::int64_t{1}, std::int64_t{2},
                                                         std::int64_t{3}}),
            " 1  2\n 3");
  // Reversion to a group keeps its repeat count.
  EXPECT_EQ(Format("(A1,2(I2))").write(std::vector<OutItem>{std::string_view("x"), std::int64_t{1},
                                                            std::int64_t{2}, std::int64_t{3}}),
            "x 1 2\n 3");
}

TEST(FormatWrite, SlashesAndLineEnds) {
  EXPECT_EQ(Format("(3/)").write({}), "\n\n\n");
  const OutItem title[] = {std::string_view("title")};
  EXPECT_EQ(Format("(/,A80)").write(title), "\n" + std::string(75, ' ') + "title");
  EXPECT_EQ(Format("(I1/I1)").write(std::vector<OutItem>{std::int64_t{1}, std::int64_t{2}}), "1\n2");
  EXPECT_EQ(Format("(I1,2/,I1)").write(std::vector<OutItem>{std::int64_t{1}, std::int64_t{2}}),
            "1\n\n2");

  auto out = TextOutput::memory();
  Format("(3/)").write(*out, {});
  out->flush();
  EXPECT_EQ(out->contents(), "\n\n\n\n");  // four line ends: k + 1 empty lines
  Format("(I2)").write(*out, std::vector<OutItem>{std::int64_t{4}}, false);
  out->flush();
  EXPECT_EQ(out->contents(), "\n\n\n\n 4");
}

TEST(FormatWrite, ParsingAcceptsSpacingAndCaseRejectsMalformed) {
  EXPECT_EQ(Format("( 2i3 , es13.5 )").write(std::vector<OutItem>{std::int64_t{1}, std::int64_t{2},
                                                                  1.0}),
            "  1  2  1.00000E+00");
  for (const char* bad : {"", "I5", "(I5", "(I5))", "(Q5)", "(F5)", "(I0)", "(E13)", "(,I5)",
                          "(I5 I3)", "(0I5)", "(I5,,I3)", "(2())"}) {
    EXPECT_THROW(Format{bad}, std::invalid_argument) << bad;
  }
  // An item that does not match its descriptor, or a format that cannot take items.
  EXPECT_THROW(Format("(I5)").write(std::vector<OutItem>{1.0}), std::invalid_argument);
  EXPECT_THROW(Format("(3/)").write(std::vector<OutItem>{1.0}), std::invalid_argument);
}

}  // namespace
}  // namespace qv
