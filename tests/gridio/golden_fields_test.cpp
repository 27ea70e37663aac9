// The renderings and read-backs that gfortran produced for 100000 values (tests/data/gridio):
// the format engine and the fast paths must give the same characters and the same bits.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"
#include "gridio/line_reader.hpp"

namespace qv {
namespace {

std::unique_ptr<LineReader> open_data(const char* name) {
  auto in = LineReader::open(std::string(QV_TEST_DATA) + "/gridio/" + name);
  if (!in) ADD_FAILURE() << "missing test data " << name;
  return in;
}

std::uint64_t hex_bits(std::string_view s) {
  std::uint64_t bits = 0;
  std::from_chars(s.data(), s.data() + s.size(), bits, 16);
  return bits;
}

// Column cursor over one fixed-layout line.
struct Columns {
  std::string_view line;
  std::size_t at = 0;
  std::string_view next(std::size_t w) {
    std::string_view f = line.substr(at, w);
    at += w;
    return f;
  }
};

std::string engine_text(const Format& f, double v) {
  const OutItem item[] = {v};
  return f.write(item);
}

std::uint64_t engine_read_bits(const Format& f, std::string_view field) {
  double v = 0;
  const InItem item[] = {&v};
  f.read_line(field, item, "golden", 1);
  return std::bit_cast<std::uint64_t>(v);
}

std::uint64_t fast_read_bits(std::string_view field, int d) {
  double v = 0;
  EXPECT_TRUE(parse_real_field(field, d, v)) << field;
  return std::bit_cast<std::uint64_t>(v);
}

std::string fast_text(char* (*put)(char*, double), double v) {
  char buf[32];
  return std::string(buf, put(buf, v));
}

TEST(GoldenFields, CubeFieldsEs13_5AndE13_5) {
  auto in = open_data("golden_cube_fields.txt");
  ASSERT_TRUE(in);
  const Format es("(ES13.5)"), e("(E13.5)");
  long count = 0, readbacks = 0;
  std::string_view line;
  while (in->next(line)) {
    Columns c{line};
    const std::uint64_t bits = hex_bits(c.next(16));
    const double v = std::bit_cast<double>(bits);
    const std::string_view es_field = c.next(13), e_field = c.next(13);
    ASSERT_EQ(engine_text(es, v), es_field) << "line " << in->line_number();
    ASSERT_EQ(fast_text(put_es13_5, v), es_field) << "line " << in->line_number();
    ASSERT_EQ(engine_text(e, v), e_field) << "line " << in->line_number();
    if (line.size() > c.at) {
      const std::uint64_t back = hex_bits(c.next(16));
      ASSERT_EQ(engine_read_bits(e, e_field), back) << e_field;
      ASSERT_EQ(fast_read_bits(e_field, 5), back) << e_field;
      // The blank-separated scanner reads the same field the same way.
      const char* p = e_field.data();
      double scanned = 0;
      ASSERT_TRUE(scan_number(p, e_field.data() + e_field.size(), scanned)) << e_field;
      ASSERT_EQ(std::bit_cast<std::uint64_t>(scanned), back) << e_field;
      ++readbacks;
    }
    ++count;
  }
  EXPECT_EQ(count, 100000);
  EXPECT_EQ(readbacks, 50000);
}

TEST(GoldenFields, OtherRealFields) {
  auto in = open_data("golden_other_fields.txt");
  ASSERT_TRUE(in);
  const Format e18("(E18.10)"), e16("(E16.8)"), e11("(E11.3)"), f12("(F12.6)"), f4("(F4.2)"),
      f3("(F3.1)"), es14_7("(ES14.7)"), es14_8("(ES14.8)"), e13("(E13.5)");
  long count = 0;
  std::string_view line;
  while (in->next(line)) {
    Columns c{line};
    const double v = std::bit_cast<double>(hex_bits(c.next(16)));
    const long at = in->line_number();

    const std::string_view f18 = c.next(18);
    ASSERT_EQ(engine_text(e18, v), f18) << "line " << at;
    ASSERT_EQ(fast_text(put_e18_10, v), f18) << "line " << at;
    const std::uint64_t back18 = hex_bits(c.next(16));
    ASSERT_EQ(engine_read_bits(e18, f18), back18) << f18;
    ASSERT_EQ(fast_read_bits(f18, 10), back18) << f18;

    const std::string_view f16 = c.next(16);
    ASSERT_EQ(engine_text(e16, v), f16) << "line " << at;
    ASSERT_EQ(fast_text(put_e16_8, v), f16) << "line " << at;
    const std::uint64_t back16 = hex_bits(c.next(16));
    ASSERT_EQ(engine_read_bits(e16, f16), back16) << f16;
    ASSERT_EQ(fast_read_bits(f16, 8), back16) << f16;

    const std::string_view f11 = c.next(11);
    ASSERT_EQ(engine_text(e11, v), f11) << "line " << at;
    ASSERT_EQ(fast_text(put_e11_3, v), f11) << "line " << at;
    ASSERT_EQ(engine_text(f12, v), c.next(12)) << "line " << at;
    ASSERT_EQ(engine_text(f4, v), c.next(4)) << "line " << at;
    ASSERT_EQ(engine_text(f3, v), c.next(3)) << "line " << at;
    ASSERT_EQ(engine_text(es14_7, v), c.next(14)) << "line " << at;
    ASSERT_EQ(engine_text(es14_8, v), c.next(14)) << "line " << at;

    // A cube value written with ES13.5 and read back with E13.5.
    const std::string es13 = fast_text(put_es13_5, v);
    const std::uint64_t back13 = hex_bits(c.next(16));
    ASSERT_EQ(engine_read_bits(e13, es13), back13) << es13;
    ASSERT_EQ(fast_read_bits(es13, 5), back13) << es13;
    const char* p = es13.data();
    double scanned = 0;
    ASSERT_TRUE(scan_number(p, es13.data() + es13.size(), scanned)) << es13;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(scanned), back13) << es13;
    ++count;
  }
  EXPECT_EQ(count, 16000);
}

TEST(GoldenFields, IntegerFields) {
  auto in = open_data("golden_integers.txt");
  ASSERT_TRUE(in);
  const Format i5("(I5)"), i15("(I15)");
  long count = 0;
  std::string_view line;
  while (in->next(line)) {
    Columns c{line};
    const std::string_view digits = c.next(21);
    std::int64_t v = 0;
    const std::size_t first = digits.find_first_not_of(' ');
    std::from_chars(digits.data() + first, digits.data() + digits.size(), v);
    const OutItem item[] = {v};
    ASSERT_EQ(i5.write(item), c.next(5)) << v;
    ASSERT_EQ(i15.write(item), c.next(15)) << v;
    ++count;
  }
  EXPECT_EQ(count, 5000);
}

}  // namespace
}  // namespace qv
