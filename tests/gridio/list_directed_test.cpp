// List-directed lines: the 11- and 15-column numbers, joining of text items, and reads with
// blanks, commas, null values and "/".
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gridio/list_directed.hpp"

namespace qv {
namespace {

TEST(ListDirected, RealColumns) {
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {1.0f, "  1.0000000    "},
      {0.5f, " 0.50000000    "},
      {123.456f, "  123.45600    "},
      {0.0f, "  0.0000000    "},
      {0.00001f, " 9.99999975E-06"},
      {-1.0f, " -1.0000000    "},
      {0.1f, " 0.10000000    "},
      {0.099999994f, " 9.99999940E-02"},  // below 0.1 after rounding: exponent form
      {12345678.0f, "  12345678.    "},
      {1.0e8f, " 1.00000000E+08"},
      {-3.0e-20f, "-2.99999990E-20"},
      {99999.99f, "  99999.992    "},
  };
  for (const auto& c : cases) EXPECT_EQ(list_real4(c.value), c.expected) << c.value;
  EXPECT_EQ(list_int4(-42), "        -42");
  EXPECT_EQ(list_int4(2147483647), " 2147483647");
}

TEST(ListDirected, LineJoinsTextItemsAndSeparatesNumbers) {
  EXPECT_EQ(ListLine().text("name      ").text(" file cannot be opened, program stop").str(),
            " name       file cannot be opened, program stop");
  EXPECT_EQ(ListLine().text("n =").i4(5).r4(1.0f).text("end").str(),
            " n =           5   1.0000000     end");
  EXPECT_EQ(ListLine().i4(1).str(), "           1");
  EXPECT_EQ(ListLine().str(), " ");
}

TEST(ListDirected, Reads) {
  double d[3] = {7, 7, 7};
  EXPECT_EQ(list_read("1.5, 2d0 -3e-1", d), ListStatus::Ok);
  EXPECT_EQ(d[0], 1.5);
  EXPECT_EQ(d[1], 2.0);
  EXPECT_EQ(d[2], -0.3);
  double n[3] = {7, 7, 7};
  EXPECT_EQ(list_read(" 1,,3", n), ListStatus::Ok);  // a null value leaves its target
  EXPECT_EQ(n[1], 7.0);
  EXPECT_EQ(n[2], 3.0);
  double s[3] = {7, 7, 7};
  EXPECT_EQ(list_read("4 / 5", s), ListStatus::Ok);  // "/" ends the read
  EXPECT_EQ(s[0], 4.0);
  EXPECT_EQ(s[1], 7.0);
  double e[2] = {7, 7};
  EXPECT_EQ(list_read(" 9 ", e), ListStatus::End);
  EXPECT_EQ(e[0], 9.0);
  EXPECT_EQ(list_read("9 x", e), ListStatus::Error);
  std::int32_t k[2] = {0, 0};
  EXPECT_EQ(list_read("12 -4", k), ListStatus::Ok);
  EXPECT_EQ(k[1], -4);
  EXPECT_EQ(list_read("1.0 2", k), ListStatus::Error);
  EXPECT_EQ(list_read("3000000000 2", k), ListStatus::Error);
  float f[1] = {0};
  EXPECT_EQ(list_read("0.1000001", f), ListStatus::Ok);
  EXPECT_EQ(f[0], 0.1000001f);
}

}  // namespace
}  // namespace qv
