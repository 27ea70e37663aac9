// Written lines of cube and grd values. Every field is checked whole against a template of its
// characters, its digits summed in a few wide steps, and its value made by the same single
// division or multiplication that scan_number uses, so the bits cannot differ from it.
#include "gridio/written_lines.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "gridio/number_scan.hpp"
#include "gridio/real_convert.hpp"

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

// m * 10^exp10 beyond the exact scales, by the general conversion; `token` is the field
// without its blanks and sign, for the exact path.
[[gnu::noinline]] double far_value(std::uint64_t m, int exp10, const char* token,
                                   std::size_t length) {
  ScannedReal r;
  r.mantissa = m;
  r.exp10 = exp10;
  return to_double(r, std::string_view(token, length), 0);
}

// The double of m * 10^exp10 (m < 2^53) with the sign of `negative`.
[[gnu::always_inline]] inline double field_value(std::uint64_t m, int exp10, bool negative,
                                                 const char* token, std::size_t length) {
  double v;
  if (static_cast<unsigned>(exp10 + 22) <= 44) [[likely]] {
    v = convert_detail::exact_scaled(m, exp10);
  } else {
    v = far_value(m, exp10, token, length);
  }
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) |
                               (static_cast<std::uint64_t>(negative) << 63));
}

inline std::uint64_t load8(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Nonzero unless the word `x`, a text XORed with a template of its characters, shows the
// template: zero in the `fixed` bytes and 0 to 9 in the `digit` bytes (0xF0 there); other
// bytes are not looked at. A carry out of a byte happens only when that byte is already wrong.
constexpr std::uint64_t misfit(std::uint64_t x, std::uint64_t fixed, std::uint64_t digit) {
  return (x & fixed) | ((x | (x + ((digit >> 4) & 0x0606060606060606ULL))) & digit);
}

inline bool blank_or_minus(unsigned c) { return (c == ' ') | (c == '-'); }
inline bool plus_or_minus(unsigned c) { return ((c - '+') & ~2U) == 0; }

// The value of eight digits given as byte values 0 to 9, the first in the lowest byte.
inline std::uint64_t digit_values8(std::uint64_t v) {
  v = (v * 10) + (v >> 8);
  return (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

// A cube field in exactly its written form, 13 characters from f, by 64-bit words.
inline bool cube_field_words(const char* f, double& out) {
  const std::uint64_t a = load8(f) ^ 0x303030302E300020ULL;      // " ?0.0000"
  const std::uint64_t b = load8(f + 5) ^ 0x3030004530303030ULL;  // "0000E?00"
  const unsigned sign = static_cast<unsigned>(a >> 8) & 0xFF;
  const unsigned exponent_sign = static_cast<unsigned>(b >> 40) & 0xFF;
  const bool shape = (misfit(a, 0x00000000FF0000FFULL, 0xF0F0F0F000F00000ULL) |
                      misfit(b, 0x000000FF00000000ULL, 0xF0F00000F0F0F0F0ULL)) == 0;
  if (!shape || !blank_or_minus(sign) || !plus_or_minus(exponent_sign)) return false;
  // "00" and the six mantissa digits f[2], f[4..8], as digit values.
  const std::uint64_t digits =
      (a & 0xFF0000ULL) | ((a & 0xFFFFFFFF00000000ULL) >> 8) | ((b & 0xFF000000ULL) << 32);
  const int e = static_cast<int>((b >> 48) & 0xFF) * 10 + static_cast<int>(b >> 56);
  out = field_value(digit_values8(digits), (exponent_sign == '-' ? -e : e) - 5, sign == '-', f + 2,
                    11);
  return true;
}

// A grd field in exactly its written form, 18 characters from f, by 64-bit words.
inline bool grd_field_words(const char* f, double& out) {
  const std::uint64_t a = load8(f) ^ 0x303030302E300020ULL;       // " ?0.0000"
  const std::uint64_t b = load8(f + 8) ^ 0x0045303030303030ULL;   // "000000E?"
  const std::uint64_t c = load8(f + 10) ^ 0x3030000000000000ULL;  // the exponent digits
  const unsigned sign = static_cast<unsigned>(a >> 8) & 0xFF;
  const unsigned exponent_sign = static_cast<unsigned>(b >> 56);
  const bool shape = (misfit(a, 0x00000000FFFF00FFULL, 0xF0F0F0F000000000ULL) |
                      misfit(b, 0x00FF000000000000ULL, 0x0000F0F0F0F0F0F0ULL) |
                      misfit(c, 0, 0xF0F0000000000000ULL)) == 0;
  if (!shape || !blank_or_minus(sign) || !plus_or_minus(exponent_sign)) return false;
  const std::uint64_t m =
      digit_values8(a >> 32 | b << 32) * 100 + ((b >> 32) & 0xFF) * 10 + ((b >> 40) & 0xFF);
  const int e = static_cast<int>((c >> 48) & 0xFF) * 10 + static_cast<int>(c >> 56);
  out = field_value(m, (exponent_sign == '-' ? -e : e) - 10, sign == '-', f + 2, 16);
  return true;
}

#if defined(__SSE2__) && defined(__x86_64__)

// Sixteen characters from p checked against a template: `fixed` holds the characters the
// layout prescribes ('0' where a digit goes, ' ' or '+' where a sign may be '-'), `limit` how
// far each may be from it after XOR (0 for a fixed character, 9 for a digit, 0xFF for a sign
// or a character beyond the field), `sign_columns` 0xFF where a sign goes. Returns the
// characters XORed with the template (digit values in the digit columns) and sets `minus` to
// the mask of '-' characters, or returns false in `ok` when the text does not fit.
[[gnu::always_inline]] inline __m128i fit16(const char* p, __m128i fixed, __m128i limit,
                                            __m128i sign_columns, int& minus, bool& ok) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i x = _mm_xor_si128(v, fixed);
  const __m128i is_minus = _mm_cmpeq_epi8(v, _mm_set1_epi8('-'));
  const __m128i within = _mm_cmpeq_epi8(_mm_subs_epu8(x, limit), zero);
  // A sign column holds its template character or '-'.
  const __m128i sign_ok = _mm_or_si128(_mm_andnot_si128(sign_columns, _mm_set1_epi8(-1)),
                                       _mm_or_si128(_mm_cmpeq_epi8(x, zero), is_minus));
  ok = _mm_movemask_epi8(_mm_and_si128(within, sign_ok)) == 0xFFFF;
  minus = _mm_movemask_epi8(is_minus);
  return x;
}

// A cube field, read with one 16-character load from f (three characters past the field).
[[gnu::always_inline]] inline bool cube_field_wide(const char* f, double& out) {
  int minus;
  bool ok;
  const __m128i x = fit16(
      f, _mm_setr_epi8(' ', ' ', '0', '.', '0', '0', '0', '0', '0', 'E', '+', '0', '0', 0, 0, 0),
      _mm_setr_epi8(0, -1, 9, 0, 9, 9, 9, 9, 9, 0, -1, 9, 9, -1, -1, -1),
      _mm_setr_epi8(0, -1, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0), minus, ok);
  if (!ok) return false;
  // From the mantissa digit on: d . d d d d d E s e e; pairs, then three-digit parts.
  const __m128i zero = _mm_setzero_si128();
  const __m128i y = _mm_srli_si128(x, 2);
  const __m128i lo =
      _mm_madd_epi16(_mm_unpacklo_epi8(y, zero), _mm_setr_epi16(1, 0, 10, 1, 10, 1, 1, 0));
  const __m128i hi =
      _mm_madd_epi16(_mm_unpackhi_epi8(y, zero), _mm_setr_epi16(0, 10, 1, 0, 0, 0, 0, 0));
  const __m128i parts =
      _mm_madd_epi16(_mm_packs_epi32(lo, hi), _mm_setr_epi16(100, 1, 10, 1, 1, 1, 0, 0));
  const std::uint64_t mantissa = static_cast<std::uint64_t>(_mm_cvtsi128_si64(parts));
  const int e = _mm_cvtsi128_si32(_mm_unpackhi_epi64(parts, parts));
  const std::uint64_t m = (mantissa & 0xFFFFFFFFU) * 1000 + (mantissa >> 32);
  out = field_value(m, ((minus & 0x400) ? -e : e) - 5, (minus & 2) != 0, f + 2, 11);
  return true;
}

// A grd field: its first two characters alone, the other sixteen with one load.
[[gnu::always_inline]] inline bool grd_field_wide(const char* f, double& out) {
  const bool lead = f[0] == ' ' && blank_or_minus(static_cast<unsigned char>(f[1]));
  int minus;
  bool ok;
  const __m128i x = fit16(
      f + 2,
      _mm_setr_epi8('0', '.', '0', '0', '0', '0', '0', '0', '0', '0', '0', '0', 'E', '+', '0', '0'),
      _mm_setr_epi8(0, 0, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0, -1, 9, 9),
      _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0), minus, ok);
  if (!ok || !lead) return false;
  // 0 . d d d d d d d d d d E s e e; pairs, then four-digit parts.
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo =
      _mm_madd_epi16(_mm_unpacklo_epi8(x, zero), _mm_setr_epi16(0, 0, 10, 1, 10, 1, 10, 1));
  const __m128i hi =
      _mm_madd_epi16(_mm_unpackhi_epi8(x, zero), _mm_setr_epi16(10, 1, 10, 1, 0, 0, 10, 1));
  const __m128i parts =
      _mm_madd_epi16(_mm_packs_epi32(lo, hi), _mm_setr_epi16(0, 1, 100, 1, 100, 1, 0, 1));
  const std::uint64_t first = static_cast<std::uint64_t>(_mm_cvtsi128_si64(parts));
  const std::uint64_t second =
      static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(parts, parts)));
  const std::uint64_t m =
      (first & 0xFFFFFFFFU) * 100000000ULL + (first >> 32) * 10000 + (second & 0xFFFFFFFFU);
  const int e = static_cast<int>(second >> 32);
  out = field_value(m, ((minus & 0x2000) ? -e : e) - 10, f[1] == '-', f + 2, 16);
  return true;
}

// A TOPOND field " [ -]0.ddddddddE[+-]dd", its 16 characters with one load.
[[gnu::always_inline]] inline bool topond_field_wide(const char* f, double& out) {
  int minus;
  bool ok;
  const __m128i x = fit16(
      f, _mm_setr_epi8(' ', ' ', '0', '.', '0', '0', '0', '0', '0', '0', '0', '0', 'E', '+', '0', '0'),
      _mm_setr_epi8(0, -1, 0, 0, 9, 9, 9, 9, 9, 9, 9, 9, 0, -1, 9, 9),
      _mm_setr_epi8(0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0), minus, ok);
  if (!ok) return false;
  const std::uint64_t m =
      digit_values8(static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(x, 4))));
  const unsigned exponent_digits = static_cast<unsigned>(_mm_extract_epi16(x, 7));
  const int e = static_cast<int>(exponent_digits & 0xFF) * 10 + static_cast<int>(exponent_digits >> 8);
  out = field_value(m, ((minus & 0x2000) ? -e : e) - 8, (minus & 2) != 0, f + 2, 14);
  return true;
}

inline bool topond_field(const char* f, double& out) { return topond_field_wide(f, out); }

// The wide cube reader needs 16 characters from where it loads; the last field of a text may
// have fewer behind it. The wide grd reader loads inside its field.
inline bool cube_field(const char* f, const char* end, double& out) {
  return end - f >= 16 ? cube_field_wide(f, out) : cube_field_words(f, out);
}
inline bool grd_field(const char* f, const char*, double& out) { return grd_field_wide(f, out); }

#else

inline bool topond_field(const char*, double&) { return false; }  // the general rules read it
inline bool cube_field(const char* f, const char*, double& out) { return cube_field_words(f, out); }
inline bool grd_field(const char* f, const char*, double& out) { return grd_field_words(f, out); }

#endif

// The readers by words alone, everywhere.
inline bool cube_field_by_words(const char* f, const char*, double& out) {
  return cube_field_words(f, out);
}
inline bool grd_field_by_words(const char* f, const char*, double& out) {
  return grd_field_words(f, out);
}

// Lines of fields of `Width` columns read by `Field`, each ended by "\n" or "\r\n".
template <std::size_t Width, bool (*Field)(const char*, const char*, double&)>
WrittenLines scan_written_lines(std::string_view text, double* out, std::size_t stride,
                                std::size_t count) {
  WrittenLines r;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (r.values < count) {
    const char* f = p;
    std::size_t k = r.values;
    double* o = out + k * stride;
    // A field needs one more character after it: the line feed at least.
    while (k < count && static_cast<std::size_t>(end - f) > Width && Field(f, end, *o)) {
      f += Width;
      ++k;
      o += stride;
    }
    if (k == r.values) break;
    if (*f == '\n') {
      ++f;
    } else if (f[0] == '\r' && end - f >= 2 && f[1] == '\n') {
      f += 2;
    } else {
      break;  // more on the line: left to the general rules
    }
    r.values = k;
    ++r.lines;
    p = f;
  }
  r.bytes = static_cast<std::size_t>(p - text.data());
  return r;
}

}  // namespace

WrittenLines scan_cube_lines(std::string_view text, double* out, std::size_t stride,
                             std::size_t count) {
  return scan_written_lines<13, cube_field>(text, out, stride, count);
}

WrittenLines scan_grd_lines(std::string_view text, double* out, std::size_t count) {
  return scan_written_lines<18, grd_field>(text, out, 1, count);
}

bool scan_topond_line(std::string_view line, std::size_t count, double* out) {
  if (line.size() != 16 * count) return false;
  for (std::size_t c = 0; c < count; ++c)
    if (!topond_field(line.data() + 16 * c, out[c])) return false;
  return true;
}

WrittenLines scan_cube_lines_by_words(std::string_view text, double* out, std::size_t stride,
                                      std::size_t count) {
  return scan_written_lines<13, cube_field_by_words>(text, out, stride, count);
}

WrittenLines scan_grd_lines_by_words(std::string_view text, double* out, std::size_t count) {
  return scan_written_lines<18, grd_field_by_words>(text, out, 1, count);
}

}  // namespace qv
