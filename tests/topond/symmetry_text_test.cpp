// Symmetry operation texts as users write them, and the coefficients and translations they give.
#include <gtest/gtest.h>

#include <string>

#include "gridio/text_error.hpp"
#include "topond/symmetry_text.hpp"

namespace qv {
namespace {

using Rows = std::array<std::array<int, 3>, 3>;  // [a][j] as stored

struct TextCase {
  const char* text;
  Rows op;
  std::array<double, 3> translations;
};

constexpr Rows kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr double kThird = 0.3333333432674408;  // 1/3 divided in single precision

void PrintTo(const TextCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SymmetryTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SymmetryTextTest, GivesCoefficientsAndTranslations) {
  const TextCase& c = GetParam();
  SymmetryOperation op;
  ASSERT_EQ(parse_symmetry_text(c.text, "in.inp", 7, op), SymmetryParse::Ok);
  for (int a = 0; a < 3; ++a)
    for (int j = 0; j < 3; ++j)
      EXPECT_EQ(op.rotation[a][j], c.op[a][j]) << "axis " << a << " comp " << j;
  for (int j = 0; j < 3; ++j) EXPECT_EQ(op.translation[j], c.translations[j]) << "component " << j;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SymmetryTextTest,
    ::testing::Values(
        TextCase{"x,y,z", kIdentity, {0, 0, 0}},
        TextCase{"-x+1/2,y+1/2,-z", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, {0.5, 0.5, 0}},
        TextCase{"y,-x,z+0.25", {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, {0, 0, 0.25}},
        TextCase{"1/2-x,y,z", {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0.5, 0, 0}},
        TextCase{"x, y, z", kIdentity, {0, 0, 0}}, TextCase{"  x , y , z", kIdentity, {0, 0, 0}},
        TextCase{"x,y,z+1", kIdentity, {0, 0, 1.0}}, TextCase{"x+1,y,z", kIdentity, {1.0, 0, 0}},
        TextCase{"-1/3+x,y,z", kIdentity, {-kThird, 0, 0}},
        TextCase{"x,y,z,", kIdentity, {0, 0, 0}},  // trailing comma
        TextCase{"X,Y,Z", kIdentity, {0, 0, 0}},   // capitals
        TextCase{"-x,-y,-z", {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, {0, 0, 0}},
        TextCase{"x-y,x,z", {{{1, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}, {0, 0, 0}},
        TextCase{"x,y,z-0.5", kIdentity, {0, 0, -0.5}},
        TextCase{"x,y,1/3+z", kIdentity, {0, 0, kThird}},
        TextCase{"x,y,z+2/3", kIdentity, {0, 0, static_cast<double>(2.0f / 3.0f)}},
        TextCase{"x+0.5x,y,z", kIdentity, {0.5, 0, 0}},  // a letter after a digit changes nothing
        TextCase{"x,y", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 0}}}, {0, 0, 0}},  // third component empty
        TextCase{"x,,z",
                 {{{1, 0, 0}, {0, 0, 0}, {0, 0, 1}}},
                 {0, 0, 0}},  // the comma alone is the second
        TextCase{"", Rows{}, {0, 0, 0}}, TextCase{"x+1.,y,z", kIdentity, {1.0, 0, 0}},
        TextCase{"x,y,z+1.", kIdentity, {0, 0, 0}},    // a point ending the text stores nothing
        TextCase{"x,y,z+1/", kIdentity, {0, 0, 0}}));  // a slash ending the text stores nothing

TEST(SymmetryText, DecimalWithoutDigitsAfterPointAtComponentEnd) {
  // "x+.5": the first digit is the 5, read alone as a whole number.
  SymmetryOperation op;
  parse_symmetry_text("x+.5,y,z", "in.inp", 1, op);
  EXPECT_EQ(op.translation[0], 5.0);
}

TEST(SymmetryText, ZeroDenominatorIsReported) {
  SymmetryOperation op;
  EXPECT_EQ(parse_symmetry_text("x+1/0,y,z", "in.inp", 3, op), SymmetryParse::ZeroDenominator);
  EXPECT_EQ(parse_symmetry_text("x,y,z-0/00", "in.inp", 3, op), SymmetryParse::ZeroDenominator);
}

TEST(SymmetryText, UnreadableNumberIsAFileLayerFailure) {
  SymmetryOperation op;
  for (const char* text : {"x+1/ 2,y,z", "x+1/,y,z", "x+1a,y,z", "x,y,z+1/a"}) {
    try {
      parse_symmetry_text(text, "in.inp", 9, op);
      ADD_FAILURE() << text << " was accepted";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "in.inp");
      EXPECT_EQ(e.line(), 9);
    }
  }
}

TEST(SymmetryText, OnlyFortyColumnsAreRead) {
  SymmetryOperation op;
  const std::string text = "x,y," + std::string(35, ' ') + "z+1";  // z at column 40, +1 beyond
  parse_symmetry_text(text, "in.inp", 1, op);
  EXPECT_EQ(op.rotation[2][2], 1);
  EXPECT_EQ(op.translation[2], 0.0);
}

}  // namespace
}  // namespace qv
