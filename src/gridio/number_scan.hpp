#pragma once
// The number syntax shared by fixed fields and blank-separated tokens: an optional sign, digits
// with an optional point, an optional exponent (E, D, e or d and an optionally signed integer,
// or a sign and an integer); blanks inside are ignored. "Inf", "Infinity" and "NaN" (any case,
// optionally signed) are accepted as the Fortran run time accepts them.
#include <cstdint>
#include <string_view>

namespace qv {

struct ScannedReal {
  enum class Kind : unsigned char { Number, Infinity, NaN };
  Kind kind = Kind::Number;
  bool negative = false;
  bool truncated = false;       // more than 19 significant digits: the exact path is needed
  std::uint64_t mantissa = 0;   // the first 19 significant digits
  std::int64_t exp10 = 0;       // value = mantissa * 10^exp10 (when not truncated)
};

namespace scan_detail {
inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Matches the remaining non-blank letters against "inf", "infinity" or "nan".
inline bool scan_special(const char* p, const char* end, ScannedReal& r) {
  char word[9];
  int n = 0;
  for (; p < end; ++p) {
    if (is_blank(*p)) continue;
    if (n == 8) return false;
    word[n++] = lower(*p);
  }
  const std::string_view w(word, static_cast<std::size_t>(n));
  if (w == "inf" || w == "infinity") {
    r.kind = ScannedReal::Kind::Infinity;
    return true;
  }
  if (w == "nan") {
    r.kind = ScannedReal::Kind::NaN;
    return true;
  }
  return false;
}
}  // namespace scan_detail

// Scans [p, end) as one real. `d` digits are taken as the fraction when there is no point.
// With `need_digit` false a field of only a sign and/or a point is zero, as the Fortran run
// time reads it. Returns false when the text is not a number.
inline bool scan_real(const char* p, const char* end, int d, bool need_digit, ScannedReal& r) {
  using scan_detail::is_blank;
  r = ScannedReal{};
  while (p < end && is_blank(*p)) ++p;
  if (p < end && (*p == '+' || *p == '-')) r.negative = (*p++ == '-');
  while (p < end && is_blank(*p)) ++p;
  if (p < end && (*p == 'I' || *p == 'i' || *p == 'N' || *p == 'n'))
    return scan_detail::scan_special(p, end, r);

  std::uint64_t m = 0;
  int kept = 0;          // significant digits in m
  std::int64_t shift = 0;  // power of ten from dropped integer digits and kept fraction digits
  bool point = false, any_digit = false;
  for (; p < end; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') {
      any_digit = true;
      if (m == 0 && c == '0') {
        if (point) --shift;
      } else if (kept < 19) {
        m = m * 10 + static_cast<unsigned>(c - '0');
        ++kept;
        if (point) --shift;
      } else {
        if (c != '0') r.truncated = true;
        if (!point) ++shift;
      }
    } else if (c == '.') {
      if (point) return false;
      point = true;
    } else if (!is_blank(c)) {
      break;
    }
  }
  std::int64_t e = 0;
  if (p < end) {
    char c = *p;
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
      ++p;
      while (p < end && is_blank(*p)) ++p;
      if (p == end) return false;
      c = *p;
    } else if (c != '+' && c != '-') {
      return false;
    }
    bool eneg = false;
    if (c == '+' || c == '-') eneg = (*p++ == '-');
    bool exp_digit = false;
    for (; p < end; ++p) {
      const char x = *p;
      if (x >= '0' && x <= '9') {
        exp_digit = true;
        if (e < 100000) e = e * 10 + (x - '0');
      } else if (!is_blank(x)) {
        return false;
      }
    }
    if (!exp_digit || !any_digit) return false;
    if (eneg) e = -e;
  }
  if (!any_digit && need_digit) return false;
  r.mantissa = m;
  r.exp10 = e + shift - (point ? 0 : d);
  return true;
}

}  // namespace qv
