// The quick scanner of E-layout tokens gives what the general scanner gives, bit for bit, and
// stops where it stops, for the layouts it takes quickly and for everything it hands on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gridio/fast_fields.hpp"

namespace qv {
namespace {

void expect_same_as_scan_number(const std::string& text) {
  SCOPED_TRACE("\"" + text + "\"");
  const char* end = text.data() + text.size();
  const char *a = text.data(), *b = text.data();
  while (true) {
    double va = 0, vb = 0;
    const bool ra = scan_number(a, end, va);
    const bool rb = scan_e_number(b, end, vb);
    ASSERT_EQ(ra, rb);
    ASSERT_EQ(a - text.data(), b - text.data());
    if (!ra) return;
    if (va != va) {
      EXPECT_NE(vb, vb);
    } else {
      EXPECT_EQ(std::memcmp(&va, &vb, sizeof va), 0) << va << " " << vb;
    }
  }
}

TEST(ScanENumber, AgreesWithTheGeneralScanner) {
  for (const char* text : {
           "  1.738762300252e+01 -3.738700822658e-03", "0.800000000000E+001 -0.1D-05",
           "-0.000000000000e+00 0.000000000000e+00", "1.e+01 2.E-3", "9.999999999999999999e+22",
           "1.7976931348623157e+308 4.9406564584124654e-324 2.2250738585072014e-308",
           "1.5e+400 1.5e-400", "1.5 -2 +3.25 12.5e3 .5e1 1.5e+1x", "1.5e+", "1.5e+0",
           "1.2345678901234567890123e+05", "\t7.5E+00\r\n", "NaN -Inf 1.0e+00", "1.0e+00,2.0e+00",
           "1.0d+00 1.0D-02 1.0E+02 1.0e-02", "", "   ", "x1.0e+00", "-", "1.0e+05.5",
       })
    expect_same_as_scan_number(text);
}

TEST(ScanENumber, AgreesOnRandomValuesInEveryWidth) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-320, 308);
  char buf[64];
  std::string text;
  for (int k = 0; k < 20000; ++k) {
    const double v = (k % 2 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random) % 40);
    std::snprintf(buf, sizeof buf, " %.*e", 1 + k % 18, v);
    text += buf;
  }
  expect_same_as_scan_number(text);
}

}  // namespace
}  // namespace qv
