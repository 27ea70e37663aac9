#include "gridio/fast_fields.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "gridio/decimal_digits.hpp"
#include "gridio/number_scan.hpp"
#include "gridio/real_convert.hpp"

namespace qv {

namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the n low decimal digits of d so that they end just before `end`.
inline void put_digits(char* end, std::uint64_t d, int n) {
  for (; n >= 2; n -= 2) {
    end -= 2;
    std::memcpy(end, kDigitPairs + (d % 100) * 2, 2);
    d /= 100;
  }
  if (n) end[-1] = static_cast<char>('0' + d % 10);
}

// "E+dd" for exponents up to 99 in magnitude, "+ddd" (no letter) for 100 to 999.
inline void put_exponent(char* p, int e) {
  const char sign = e < 0 ? '-' : '+';
  const unsigned m = static_cast<unsigned>(e < 0 ? -e : e);
  if (m <= 99) {
    p[0] = 'E';
    p[1] = sign;
  } else {
    p[0] = sign;
    p[1] = static_cast<char>('0' + m / 100);
  }
  std::memcpy(p + 2, kDigitPairs + (m % 100) * 2, 2);
}

// NaN and infinities as the Fortran run time writes them in fields of nine columns or more.
inline char* put_nonfinite(char* out, int w, std::uint64_t bits) {
  const bool nan = (bits & ((std::uint64_t{1} << 52) - 1)) != 0;
  const char* text = nan ? "NaN" : (bits >> 63) ? "-Infinity" : "Infinity";
  const std::size_t n = std::strlen(text);
  std::memset(out, ' ', static_cast<std::size_t>(w) - n);
  std::memcpy(out + w - n, text, n);
  return out + w;
}

// Ew.d (a "0." significand) or ESw.d (one digit 1-9 before the point) in a field wide enough
// for every finite value with its sign, so neither asterisks nor a dropped "0" can occur.
template <int W, int D, bool Scientific>
inline char* put_exponent_field(char* out, double v) {
  constexpr int body = D + 6;  // "0." or "d.", D digits, four exponent characters
  static_assert(W >= body + 1, "the field must hold the sign");
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
  if ((bits & 0x7FF0000000000000ULL) == 0x7FF0000000000000ULL) return put_nonfinite(out, W, bits);
  const double a = std::bit_cast<double>(bits & ~(std::uint64_t{1} << 63));
  std::uint64_t digits = 0;
  int exponent = 0;
  if (a != 0.0) {
    const DecimalDigits dd = exact_digits<Scientific ? D + 1 : D>(a);
    digits = dd.digits;
    exponent = Scientific ? dd.k : dd.k + 1;
  }
  std::memset(out, ' ', W - body - 1);
  out[W - body - 1] = (bits >> 63) ? '-' : ' ';
  char* p = out + W - body;
  if constexpr (Scientific) {
    p[0] = static_cast<char>('0' + digits / kPow10u64[D]);
  } else {
    p[0] = '0';
  }
  p[1] = '.';
  put_digits(p + 2 + D, digits, D);
  put_exponent(p + 2 + D, exponent);
  return out + W;
}

}  // namespace

char* put_es13_5(char* out, double v) { return put_exponent_field<13, 5, true>(out, v); }
char* put_e18_10(char* out, double v) { return put_exponent_field<18, 10, false>(out, v); }
char* put_e11_3(char* out, double v) { return put_exponent_field<11, 3, false>(out, v); }
char* put_e16_8(char* out, double v) { return put_exponent_field<16, 8, false>(out, v); }

namespace {

// The layout every writer of these fields produces: leading blanks, an optional sign, digits
// with an optional point, and an optional exponent (letter and/or sign, then digits) that runs
// to the end of the field. Returns false for anything else, which the general rules then decide.
inline bool scan_plain_field(const char* p, const char* end, int d, ScannedReal& r) {
  while (p < end && *p == ' ') ++p;
  if (p == end) return false;
  r = ScannedReal{};
  if (*p == '-' || *p == '+') r.negative = (*p++ == '-');
  std::uint64_t m = 0;
  int digits = 0, frac = 0;
  while (p < end && static_cast<unsigned>(*p - '0') < 10) {
    m = m * 10 + static_cast<unsigned>(*p++ - '0');
    ++digits;
  }
  bool point = false;
  if (p < end && *p == '.') {
    point = true;
    ++p;
    const char* first = p;
    while (p < end && static_cast<unsigned>(*p - '0') < 10) m = m * 10 + static_cast<unsigned>(*p++ - '0');
    frac = static_cast<int>(p - first);
    digits += frac;
  }
  if (digits == 0 || digits > 19) return false;
  int e = 0;
  if (p < end) {
    if (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd') ++p;
    bool eneg = false;
    if (p < end && (*p == '-' || *p == '+')) eneg = (*p++ == '-');
    const char* first = p;
    while (p < end && static_cast<unsigned>(*p - '0') < 10 && p - first < 4)
      e = e * 10 + (*p++ - '0');
    if (p != end || p == first) return false;
    if (eneg) e = -e;
  }
  r.mantissa = m;
  r.exp10 = e - frac - (point ? 0 : d);
  return true;
}

}  // namespace

bool parse_real_field(std::string_view field, int d, double& out) {
  ScannedReal r;
  if (scan_plain_field(field.data(), field.data() + field.size(), d, r)) {
    if (r.mantissa <= (std::uint64_t{1} << 53) && r.exp10 >= -22 && r.exp10 <= 22) {
      // Both operands are exact doubles: one correctly rounded operation gives the answer.
      const double m = static_cast<double>(r.mantissa);
      const double v = r.exp10 < 0 ? m / convert_detail::kExactPowers[-r.exp10]
                                   : m * convert_detail::kExactPowers[r.exp10];
      out = r.negative ? -v : v;
    } else {
      out = to_double(r, field, d);
    }
    return true;
  }
  if (!scan_real(field.data(), field.data() + field.size(), d, false, r)) return false;
  out = to_double(r, field, d);
  return true;
}

bool scan_number(const char*& p, const char* end, double& out) {
  const char* q = p;
  while (q < end && (*q == ' ' || *q == '\t' || *q == '\r' || *q == '\n')) ++q;
  p = q;
  if (q == end) return false;
  const char* t = q;
  while (t < end && *t != ' ' && *t != '\t' && *t != '\r' && *t != '\n') ++t;
  ScannedReal r;
  if (!scan_real(q, t, 0, true, r)) return false;
  out = to_double(r, std::string_view(q, static_cast<std::size_t>(t - q)), 0);
  p = t;
  return true;
}

}  // namespace qv
