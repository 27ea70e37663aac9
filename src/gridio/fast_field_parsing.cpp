// The per-value readers of the grid fields: the layouts that E and ES descriptors write are
// checked and converted with word-wide operations; everything else goes by the general rules.
#include <bit>
#include <cmath>
#include <limits>
#include <cstdint>
#include <cstring>

#include "gridio/decimal_digits.hpp"
#include "gridio/fast_fields.hpp"
#include "gridio/number_scan.hpp"
#include "gridio/real_convert.hpp"

namespace qv {

namespace {

// Eight characters as a little-endian word: the first character in the lowest byte.
inline std::uint64_t load8(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline bool all_digits8(std::uint64_t v) {
  return ((v & 0xF0F0F0F0F0F0F0F0ULL) | (((v + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) ==
         0x3333333333333333ULL;
}

// The value of eight digit characters (the first is the most significant).
inline std::uint64_t eight_digits(std::uint64_t v) {
  v -= 0x3030303030303030ULL;
  v = (v * 10) + (v >> 8);
  return (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

inline bool is_digit(char c) { return static_cast<unsigned>(c - '0') < 10; }

// The four-character exponent that E and ES descriptors write, "E+dd" (or D, either case) or
// "+ddd" for three digits; its signed value in `exponent`.
[[gnu::always_inline]] inline bool written_exponent(const char* e, int& exponent) {
  const char c0 = e[0], c1 = e[1];
  if (!is_digit(e[2]) || !is_digit(e[3])) return false;
  exponent = (e[2] - '0') * 10 + (e[3] - '0');
  bool negative;
  if (((c0 | 0x20) == 'e' || (c0 | 0x20) == 'd') && ((c1 - '+') & ~2) == 0) {
    negative = c1 == '-';
  } else if (((c0 - '+') & ~2) == 0 && is_digit(c1)) {
    exponent += (c1 - '0') * 100;
    negative = c0 == '-';
  } else {
    return false;
  }
  if (negative) exponent = -exponent;
  return true;
}

// The layout that E and ES descriptors write, with D fraction digits: blanks, an optional
// sign, at most one digit, ".", exactly D digits, and a four-character exponent ("E+dd" or
// "+ddd"), checked and converted at fixed positions with word-wide operations. Anything else
// returns false and is left to the general rules.
template <int D>
[[gnu::always_inline]] inline bool scan_written_layout(const char* f, std::size_t w, ScannedReal& r) {
  static_assert(D >= 4 && D <= 16, "the fraction digits are read as one word inside the text");
  if (w < static_cast<std::size_t>(D) + 5) return false;
  const char* e = f + w - 4;  // the exponent
  int exponent;
  if (!written_exponent(e, exponent)) return false;
  const char* point = e - D - 1;
  if (*point != '.') return false;
  // The last eight fraction digits in one word: with D < 8 the word starts at the first of
  // them and is shifted so that they lead, '0' filling in behind; earlier digits one by one.
  std::uint64_t word;
  if constexpr (D < 8) {
    constexpr int unused = 8 * (8 - D);
    word = (load8(point + 1) << unused) | (0x3030303030303030ULL >> (64 - unused));
  } else {
    word = load8(e - 8);
  }
  if (!all_digits8(word)) return false;
  std::uint64_t m = 0;
  if constexpr (D > 8) {
    for (const char* p = point + 1; p < e - 8; ++p) {
      if (!is_digit(*p)) return false;
      m = m * 10 + static_cast<unsigned>(*p - '0');
    }
  }
  m = m * 100000000ULL + eight_digits(word);
  const char* lead = point - 1;
  if (lead >= f && is_digit(*lead)) {
    m += static_cast<std::uint64_t>(*lead - '0') * kPow10u64[D];
    --lead;
  }
  bool negative = false;
  if (lead >= f && ((*lead - '+') & ~2) == 0) negative = (*lead-- == '-');
  for (; lead >= f; --lead)
    if (*lead != ' ') return false;
  r.kind = ScannedReal::Kind::Number;
  r.truncated = false;
  r.negative = negative;
  r.mantissa = m;
  r.exp10 = exponent - D;
  return true;
}

// The same for a fraction digit count known only at run time (the usual ones dispatched).
[[gnu::always_inline]] inline bool scan_written_layout(const char* f, std::size_t w, int d, ScannedReal& r) {
  switch (d) {
    case 5: return scan_written_layout<5>(f, w, r);
    case 8: return scan_written_layout<8>(f, w, r);
    case 10: return scan_written_layout<10>(f, w, r);
    case 7: return scan_written_layout<7>(f, w, r);
    case 4: return scan_written_layout<4>(f, w, r);
    case 6: return scan_written_layout<6>(f, w, r);
    case 9: return scan_written_layout<9>(f, w, r);
    case 12: return scan_written_layout<12>(f, w, r);
    default: return false;
  }
}

// The commonest layout of all, a cube value: one digit, ".", five digits and a four-character
// exponent, in eleven characters from `s` (a sign, if any, stands before `s`). Two words hold
// the characters; the digits are checked and converted together.
[[gnu::always_inline]] inline bool scan_six_digit_layout(const char* s, ScannedReal& r) {
  const std::uint64_t x = load8(s);  // digit, '.', five digits, exponent letter or sign
  if (((x >> 8) & 0xFF) != '.') return false;
  const std::uint64_t digits = ((x & 0x00FFFFFFFFFF0000ULL) << 8) | ((x & 0xFF) << 16) | 0x3030ULL;
  if (!all_digits8(digits)) return false;
  const char* e = s + 7;
  int exponent;
  if (!written_exponent(e, exponent)) return false;
  r.mantissa = eight_digits(digits);
  r.exp10 = exponent - 5;
  return true;
}

// Length of the token at p: the characters before the first blank, tab or line end (or `end`).
inline std::size_t token_length(const char* p, const char* end) {
  if (end - p >= 16) {
    // Bytes below 0x21 mark the candidates; the first one ends the token when it is a separator.
    for (int half = 0; half < 2; ++half) {
      const std::uint64_t v = load8(p + 8 * half);
      const std::uint64_t low = (v - 0x2121212121212121ULL) & ~v & 0x8080808080808080ULL;
      if (low) {
        const std::size_t n = 8 * static_cast<std::size_t>(half) + (std::countr_zero(low) >> 3);
        const char c = p[n];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return n;
        break;
      }
    }
  }
  const char* t = p;
  while (t < end && *t != ' ' && *t != '\t' && *t != '\r' && *t != '\n') ++t;
  return static_cast<std::size_t>(t - p);
}

// Accumulates a run of digits at p into m; `count` receives how many there were.
inline const char* digit_run(const char* p, const char* end, std::uint64_t& m, int& count) {
  const char* first = p;
  std::uint64_t v = m;
  for (; p < end && static_cast<unsigned>(*p - '0') < 10; ++p) v = v * 10 + static_cast<unsigned>(*p - '0');
  m = v;
  count = static_cast<int>(p - first);
  return p;
}

// A number without blanks inside: optional sign, digits with an optional point, an optional
// exponent (E, D, e or d and an optionally signed integer, or a sign and an integer). Stops at
// the first character that cannot continue it. Returns false when there is no such number or
// it has more than 19 digits (the general rules then decide).
inline bool scan_compact(const char*& pp, const char* end, int d, ScannedReal& r) {
  const char* p = pp;
  r = ScannedReal{};
  if (p < end && (*p == '-' || *p == '+')) r.negative = (*p++ == '-');
  std::uint64_t m = 0;
  int int_digits = 0, frac_digits = 0;
  p = digit_run(p, end, m, int_digits);
  bool point = false;
  if (p < end && *p == '.') {
    point = true;
    p = digit_run(p + 1, end, m, frac_digits);
  }
  const int digits = int_digits + frac_digits;
  if (digits == 0 || digits > 19) return false;
  int e = 0;
  if (p < end) {
    const char c = *p;
    const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
    if (letter || c == '+' || c == '-') {
      const char* q = p + (letter ? 1 : 0);
      bool eneg = false;
      if (q < end && (*q == '-' || *q == '+')) eneg = (*q++ == '-');
      const char* first = q;
      while (q < end && static_cast<unsigned>(*q - '0') < 10 && q - first < 5) e = e * 10 + (*q++ - '0');
      if (q == first) return false;
      if (eneg) e = -e;
      p = q;
    }
  }
  r.mantissa = m;
  r.exp10 = e - frac_digits - (point ? 0 : d);
  pp = p;
  return true;
}

// The double of a scanned number: one correctly rounded multiplication or division when the
// mantissa and the power of ten are both exact doubles, else Eisel and Lemire's 128-bit
// product, else the exact library path.
[[gnu::always_inline]] inline double compact_value(const ScannedReal& r, std::string_view text, int d) {
  if (r.mantissa == 0) return r.negative ? -0.0 : 0.0;
  double v;
  if (convert_detail::quick_to_double(r.mantissa, r.exp10, r.negative, v)) return v;
  return exact_to_double(r, text, d);  // a compact number: never truncated, never NaN or Inf
}

inline bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A field of `width` columns at p ends a token where scan_number would end it.
inline bool field_ends_token(const char* p, const char* end, std::size_t width) {
  return p + width == end || is_separator(p[width]);
}

// The finite double of a field in a written layout; false when it is not finite (the general
// path then reports it). `token` is the field without its leading blanks.
[[gnu::always_inline]] inline bool finite_value(const ScannedReal& r, std::string_view token,
                                                double& out) {
  out = compact_value(r, token, 0);
  return std::fabs(out) <= std::numeric_limits<double>::max();
}
}  // namespace

bool parse_real_field(std::string_view field, int d, double& out) {
  const char* p = field.data();
  const char* end = p + field.size();
  ScannedReal r;
  // A 13-column field with five fraction digits, as ES13.5 and E13.5 write it.
  if (d == 5 && field.size() == 13 && p[0] == ' ' && (p[1] == ' ' || ((p[1] - '+') & ~2) == 0) &&
      scan_six_digit_layout(p + 2, r)) {
    r.negative = p[1] == '-';
    out = compact_value(r, field, d);
    return true;
  }
  if (scan_written_layout(p, field.size(), d, r)) {
    out = compact_value(r, field, d);
    return true;
  }
  while (p < end && *p == ' ') ++p;
  const char* q = p;
  if (q < end && scan_compact(q, end, d, r) && q == end) {
    out = compact_value(r, field, d);
    return true;
  }
  // Blanks inside, all blank, special values, long digit strings, malformed text.
  if (!scan_real(field.data(), end, d, false, r)) return false;
  out = to_double(r, field, d);
  return true;
}

bool scan_number(const char*& p, const char* end, double& out) {
  const char* q = p;
  while (q < end && is_separator(*q)) ++q;
  p = q;
  if (q == end) return false;
  const std::size_t n = token_length(q, end);
  const std::string_view token(q, n);
  ScannedReal r;
  // A token as ES13.5 or E13.5 writes it: eleven characters after an optional sign.
  const std::size_t sign = (((*q - '+') & ~2) == 0) ? 1 : 0;
  if (n == 11 + sign && scan_six_digit_layout(q + sign, r)) {
    r.negative = *q == '-';
    out = compact_value(r, token, 0);
    p = q + n;
    return true;
  }
  // A token as written by E or ES descriptors: the point is second or third.
  const int point_at = (n > 2 && q[1] == '.') ? 1 : (n > 3 && q[2] == '.') ? 2 : -1;
  if (point_at > 0 && scan_written_layout(q, n, static_cast<int>(n) - 5 - point_at, r)) {
    out = compact_value(r, token, 0);
    p = q + n;
    return true;
  }
  const char* t = q;
  if (scan_compact(t, q + n, 0, r) && t == q + n) {
    out = compact_value(r, token, 0);
    p = t;
    return true;
  }
  if (!scan_real(q, q + n, 0, true, r)) return false;
  out = to_double(r, token, 0);
  p = q + n;
  return true;
}

bool scan_e_number(const char*& p, const char* end, double& out) {
  const char* q = p;
  while (q < end && (*q == ' ' || *q == '\t')) ++q;
  const char* start = q;
  bool negative = false;
  if (q < end && ((*q - '+') & ~2) == 0) negative = *q++ == '-';
  // One digit, the point, up to 17 fraction digits (eight at a time), then E/D, a sign and two
  // or three exponent digits, ending at a separator: one quick conversion.
  if (end - q >= 6 && is_digit(q[0]) && q[1] == '.') {
    std::uint64_t m = static_cast<unsigned>(q[0] - '0');
    const char* f = q + 2;
    int digits = 0;
    for (; end - f >= 8 && digits <= 8; f += 8, digits += 8) {
      const std::uint64_t w = load8(f);
      if (!all_digits8(w)) break;
      m = m * 100000000ULL + eight_digits(w);
    }
    for (; f < end && is_digit(*f) && digits < 17; ++f, ++digits) m = m * 10 + static_cast<unsigned>(*f - '0');
    if (end - f >= 4 && ((*f | 0x20) == 'e' || (*f | 0x20) == 'd') && ((f[1] - '+') & ~2) == 0 &&
        is_digit(f[2]) && is_digit(f[3])) {
      int e = (f[2] - '0') * 10 + (f[3] - '0');
      const char* t = f + 4;
      if (t < end && is_digit(*t)) e = e * 10 + (*t++ - '0');
      if (f[1] == '-') e = -e;
      if (t == end || is_separator(*t)) {
        if (m == 0) {
          out = negative ? -0.0 : 0.0;
          p = t;
          return true;
        }
        if (convert_detail::quick_to_double(m, e - digits, negative, out)) {
          p = t;
          return true;
        }
      }
    }
  }
  p = start;
  return scan_number(p, end, out);
}

std::size_t scan_cube_fields(const char*& p, const char* end, double* out, std::size_t stride,
                             std::size_t count) {
  constexpr std::size_t kWidth = 13;
  std::size_t done = 0;
  const char* f = p;
  ScannedReal r;
  for (; done < count && static_cast<std::size_t>(end - f) >= kWidth; ++done, f += kWidth) {
    const bool negative = f[1] == '-';
    if (f[0] != ' ' || (f[1] != ' ' && !negative) || !field_ends_token(f, end, kWidth) ||
        !scan_six_digit_layout(f + 2, r))
      break;
    r.negative = negative;
    const std::size_t lead = negative ? 1 : 2;
    if (!finite_value(r, std::string_view(f + lead, kWidth - lead), out[done * stride])) break;
  }
  p = f;
  return done;
}

std::size_t scan_grd_fields(const char*& p, const char* end, double* out, std::size_t count) {
  constexpr std::size_t kWidth = 18;
  std::size_t done = 0;
  const char* f = p;
  ScannedReal r;
  for (; done < count && static_cast<std::size_t>(end - f) >= kWidth; ++done, f += kWidth) {
    const bool negative = f[1] == '-';
    if (f[0] != ' ' || (f[1] != ' ' && !negative) || f[2] != '0' ||
        !field_ends_token(f, end, kWidth) || !scan_written_layout<10>(f, kWidth, r))
      break;
    const std::size_t lead = negative ? 1 : 2;
    if (!finite_value(r, std::string_view(f + lead, kWidth - lead), out[done])) break;
  }
  p = f;
  return done;
}

}  // namespace qv
