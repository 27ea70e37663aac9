// The per-value fast paths against the format engine, and the blank-separated scanner.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"

namespace qv {
namespace {

struct Fast {
  const char* format;
  int width;
  char* (*put)(char*, double);
};
const Fast kFast[] = {{"(ES13.5)", 13, put_es13_5},
                      {"(E18.10)", 18, put_e18_10},
                      {"(E11.3)", 11, put_e11_3},
                      {"(E16.8)", 16, put_e16_8}};

std::string fast_text(const Fast& f, double v) {
  char buf[32];
  char* end = f.put(buf, v);
  return std::string(buf, end);
}

// Values where digit generation goes wrong first: extremes, powers of ten and their
// neighbours, exact ties at each precision, non-finite values.
std::vector<double> hard_values() {
  std::vector<double> v = {0.0, -0.0, 1.0, -1.0, 0.1, 0.5, 999999.6, 9.999995, 9.9999950000001,
                           0.0009765625, 1234565.0, 1234575.0, 12345678950.0, 0.1255,
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (int e = -323; e <= 308; ++e) {
    const double p = std::pow(10.0, e);
    v.push_back(p);
    v.push_back(std::nextafter(p, 0.0));
    v.push_back(std::nextafter(p, std::numeric_limits<double>::infinity()));
    v.push_back(-9.999995 * p);
  }
  for (int e = -1074; e <= 1023; ++e) v.push_back(std::ldexp(1.0, e));
  std::mt19937_64 rng(12345);
  // Decimal ties at 3, 6, 8 and 10 significant digits anywhere in the range, with neighbours,
  // and exact binary ties (integers of sig + 1 digits ending in 5).
  for (int sig : {3, 6, 8, 10}) {
    for (int i = 0; i < 2000; ++i) {
      char text[48];
      const unsigned long long lead = 1 + rng() % 9;
      const unsigned long long rest = rng() % 10000000000ULL;
      std::snprintf(text, sizeof text, "%llu.%0*llu5e%d", lead, sig - 1,
                    rest % static_cast<unsigned long long>(std::pow(10, sig - 1)),
                    static_cast<int>(rng() % 600) - 300);
      const double t = std::strtod(text, nullptr);
      v.push_back(t);
      v.push_back(std::nextafter(t, 0.0));
      v.push_back(-std::nextafter(t, std::numeric_limits<double>::infinity()));
      v.push_back(static_cast<double>((static_cast<long long>(std::pow(10, sig)) + rng() % 1000) * 10 + 5));
    }
  }
  for (int i = 0; i < 20000; ++i) {
    double x = std::bit_cast<double>(rng());
    if (std::isfinite(x)) v.push_back(x);
  }
  return v;
}

TEST(FastFields, WritersMatchTheEngineCharacterForCharacter) {
  const std::vector<double> values = hard_values();
  for (const Fast& f : kFast) {
    const Format engine(f.format);
    for (double x : values) {
      const OutItem item[] = {x};
      const std::string expected = engine.write(item);
      ASSERT_EQ(static_cast<int>(expected.size()), f.width);
      ASSERT_EQ(fast_text(f, x), expected) << f.format << " of " << x;
    }
  }
}

TEST(FastFields, ParseRealFieldRoundTripsAndRejects) {
  for (double x : hard_values()) {
    if (std::isnan(x)) continue;
    for (const Fast& f : kFast) {
      const std::string text = fast_text(f, x);
      double back = 0;
      ASSERT_TRUE(parse_real_field(text, 5, back)) << text;
      double engine = 0;
      const InItem item[] = {&engine};
      Format("(E30.5)").read_line(text, item, "mem", 1);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(engine)) << text;
    }
    // Seventeen significant digits always bring back the same double.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.16E", x);
    double back = 0;
    ASSERT_TRUE(parse_real_field(buf, 0, back)) << buf;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(x)) << buf;
  }
  double v = 1;
  EXPECT_TRUE(parse_real_field("             ", 5, v));
  EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(parse_real_field("12345", 5, v));
  EXPECT_EQ(v, 0.12345);
  for (const char* bad : {"1.0E", "x", "1.2.3", "1e5 x", "E5"}) {
    EXPECT_FALSE(parse_real_field(bad, 5, v)) << bad;
  }
}

TEST(FastFields, ScanNumberSplitsOnBlanksAndTabs) {
  const std::string text = "  1.5\t-2.0E-03   0.10000-149 4d2\t\t";
  const char* p = text.data();
  const char* end = text.data() + text.size();
  const double expected[] = {1.5, -2.0e-3, 1.0e-150, 400.0};
  for (double e : expected) {
    double v = 0;
    ASSERT_TRUE(scan_number(p, end, v));
    EXPECT_EQ(v, e);
  }
  double v = 0;
  EXPECT_FALSE(scan_number(p, end, v));  // only blanks left
  EXPECT_EQ(p, end);

  const std::string bad = " 1.0 abc 2";
  p = bad.data();
  end = bad.data() + bad.size();
  ASSERT_TRUE(scan_number(p, end, v));
  EXPECT_FALSE(scan_number(p, end, v));
  EXPECT_EQ(*p, 'a');  // left at the malformed token
  const std::string sign = " - 3";
  p = sign.data();
  EXPECT_FALSE(scan_number(p, sign.data() + sign.size(), v));  // a lone sign is no number
}

}  // namespace
}  // namespace qv
