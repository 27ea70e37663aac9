// The per-value writers of the grid fields: digits from decimal_digits.hpp, laid out with
// word-wide character stores.
#include "gridio/fast_fields.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "gridio/decimal_digits.hpp"

namespace qv {

namespace {

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The eight decimal digits of x < 10^8 as characters in one little-endian word (the first
// digit in the lowest byte), by splitting into halves, quarters and single digits in lanes.
inline std::uint64_t digit_chars8(std::uint64_t x) {
  std::uint64_t v = (x / 10000) | ((x % 10000) << 32);                 // two 4-digit lanes
  const std::uint64_t h2 = ((v * 10486) >> 20) & 0x0000007F0000007FULL;  // per lane / 100
  v = h2 | ((v - h2 * 100) << 16);                                      // four 2-digit lanes
  const std::uint64_t h1 = ((v * 103) >> 10) & 0x000F000F000F000FULL;   // per lane / 10
  v = h1 | ((v - h1 * 10) << 8);                                        // eight digits
  return v + 0x3030303030303030ULL;
}

// Two digit characters of x < 100 as a little-endian 16-bit word.
inline std::uint16_t digit_pair(unsigned x) {
  std::uint16_t w;
  std::memcpy(&w, kDigitPairs + 2 * x, 2);
  return w;
}

// Writes the N low decimal digits of d (d < 10^N) at dst.
template <int N>
inline void put_digits(char* dst, std::uint64_t d) {
  static_assert(N >= 1 && N <= 16);
  if constexpr (N > 8) {
    put_digits<N - 8>(dst, d / 100000000ULL);
    put_digits<8>(dst + N - 8, d % 100000000ULL);
  } else if constexpr (N == 2) {
    const std::uint16_t w = digit_pair(static_cast<unsigned>(d));
    std::memcpy(dst, &w, 2);
  } else {
    const std::uint64_t w = digit_chars8(d);
    std::memcpy(dst, reinterpret_cast<const char*>(&w) + (8 - N), N);
  }
}

// "E+dd" for exponents up to 99 in magnitude, "+ddd" (no letter) for 100 to 999; one store.
inline void put_exponent(char* p, int e) {
  const std::uint32_t sign = e < 0 ? '-' : '+';
  const unsigned m = static_cast<unsigned>(e < 0 ? -e : e);
  std::uint32_t w;
  if (m <= 99) [[likely]] {
    w = 'E' | sign << 8 | std::uint32_t{digit_pair(m)} << 16;
  } else {
    w = sign | ('0' + m / 100) << 8 | std::uint32_t{digit_pair(m % 100)} << 16;
  }
  std::memcpy(p, &w, 4);
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
[[gnu::always_inline]] inline char* put_exponent_field(char* out, double v) {
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
  if constexpr (Scientific && D + 1 <= 8 && D >= 2) {
    // All D + 1 digits in one word, the first moved before a point: "d.ddddd" in one store
    // (its last byte, if any, is the exponent's and is written over below).
    const std::uint64_t w = digit_chars8(digits) >> (8 * (7 - D));
    const std::uint64_t text =
        (w & 0xFF) | std::uint64_t{'.'} << 8 | (w & ~std::uint64_t{0xFF}) << 8;
    std::memcpy(p, &text, 8);
  } else {
    if constexpr (Scientific) {
      p[0] = static_cast<char>('0' + digits / kPow10u64[D]);
      digits %= kPow10u64[D];
    } else {
      p[0] = '0';
    }
    p[1] = '.';
    put_digits<D>(p + 2, digits);
  }
  put_exponent(p + 2 + D, exponent);
  return out + W;
}

}  // namespace

char* put_es13_5(char* out, double v) { return put_exponent_field<13, 5, true>(out, v); }
char* put_e18_10(char* out, double v) { return put_exponent_field<18, 10, false>(out, v); }
char* put_e11_3(char* out, double v) { return put_exponent_field<11, 3, false>(out, v); }
char* put_e16_8(char* out, double v) { return put_exponent_field<16, 8, false>(out, v); }

char* put_es13_5_line(char* out, const double* v, std::size_t count, std::size_t stride) {
  for (std::size_t j = 0; j < count; ++j) out = put_exponent_field<13, 5, true>(out, v[j * stride]);
  *out = '\n';
  return out + 1;
}

char* put_e18_10_line(char* out, const double* v, std::size_t count) {
  for (std::size_t j = 0; j < count; ++j) out = put_exponent_field<18, 10, false>(out, v[j]);
  *out = '\n';
  return out + 1;
}

}  // namespace qv
