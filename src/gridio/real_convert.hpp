#pragma once
// Exactly rounded conversion (to nearest, ties to even) of a scanned real to a double or float.
#include <bit>
#include <cstdint>
#include <limits>
#include <string_view>

#include "gridio/number_scan.hpp"
#include "gridio/powers_of_ten_table.hpp"

namespace qv {

// The exact path: rebuilds the digits from `text` (as given to scan_real with `d`) and uses
// the library's exact conversion; out-of-range values become infinity or zero.
double exact_to_double(const ScannedReal& r, std::string_view text, int d);
float to_float(const ScannedReal& r, std::string_view text, int d);

namespace convert_detail {

inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Eisel and Lemire's conversion of man * 10^exp10 (man != 0) with a 128-bit power of ten.
// Returns false in the rare cases it cannot decide and for subnormal or overflowing results.
inline bool eisel_lemire(std::uint64_t man, std::int64_t exp10, bool negative, double& out) {
  using u128 = unsigned __int128;
  if (exp10 < pow10::kMinExponent || exp10 > pow10::kMaxExponent) return false;
  const pow10::Entry& p = pow10::kTable[exp10 - pow10::kMinExponent];
  const int clz = std::countl_zero(man);
  man <<= clz;
  std::int64_t exp2 = ((217706 * exp10) >> 16) + 64 + 1023 - clz;
  const u128 x = static_cast<u128>(man) * p.hi;
  std::uint64_t x_hi = static_cast<std::uint64_t>(x >> 64);
  std::uint64_t x_lo = static_cast<std::uint64_t>(x);
  if ((x_hi & 0x1FF) == 0x1FF && x_lo + man < man) {
    // The low word of the power may carry into the bits that decide the rounding.
    const u128 y = static_cast<u128>(man) * p.lo;
    const std::uint64_t y_hi = static_cast<std::uint64_t>(y >> 64);
    const std::uint64_t y_lo = static_cast<std::uint64_t>(y);
    std::uint64_t merged_hi = x_hi, merged_lo = x_lo + y_hi;
    if (merged_lo < x_lo) ++merged_hi;
    if ((merged_hi & 0x1FF) == 0x1FF && merged_lo + 1 == 0 && y_lo + man < man) return false;
    x_hi = merged_hi;
    x_lo = merged_lo;
  }
  const std::uint64_t msb = x_hi >> 63;
  std::uint64_t mantissa = x_hi >> (msb + 9);
  exp2 -= static_cast<std::int64_t>(1 ^ msb);
  if (x_lo == 0 && (x_hi & 0x1FF) == 0 && (mantissa & 3) == 1) return false;  // near a tie
  mantissa += mantissa & 1;
  mantissa >>= 1;
  if (mantissa >> 53 > 0) {
    mantissa >>= 1;
    ++exp2;
  }
  if (exp2 <= 0 || exp2 >= 0x7FF) return false;
  std::uint64_t bits = static_cast<std::uint64_t>(exp2) << 52 | (mantissa & ((std::uint64_t{1} << 52) - 1));
  if (negative) bits |= std::uint64_t{1} << 63;
  out = std::bit_cast<double>(bits);
  return true;
}

// Scale factors for m * 10^e with |e| <= 22: m / down[e] * up[e] is one division by 10^-e when
// e < 0 and one multiplication by 10^e otherwise (the other operation is by 1, exact), so the
// result is correctly rounded whenever m is an exact double; no branch on the sign of e.
struct ExactScales {
  double down[45];
  double up[45];
};
constexpr ExactScales make_exact_scales() {
  ExactScales s{};
  for (int e = -22; e <= 22; ++e) {
    s.down[e + 22] = e < 0 ? kExactPowers[-e] : 1.0;
    s.up[e + 22] = e > 0 ? kExactPowers[e] : 1.0;
  }
  return s;
}
inline constexpr ExactScales kExactScales = make_exact_scales();

// m * 10^exp10 for m <= 2^53 and |exp10| <= 22, correctly rounded, without the sign.
[[gnu::always_inline]] inline double exact_scaled(std::uint64_t m, int exp10) {
  return static_cast<double>(static_cast<std::int64_t>(m)) / kExactScales.down[exp10 + 22] *
         kExactScales.up[exp10 + 22];
}

// The quick conversions of +-man * 10^exp10 (man != 0): one correctly rounded operation when
// both factors are exact doubles, else the 128-bit product. False when neither decides; the
// exact path then does.
[[gnu::always_inline]] inline bool quick_to_double(std::uint64_t man, int exp10, bool negative,
                                                   double& out) {
  if (man <= (std::uint64_t{1} << 53) && exp10 >= -22 && exp10 <= 22) {
    const double v = exact_scaled(man, exp10);
    out = negative ? -v : v;
    return true;
  }
  return eisel_lemire(man, exp10, negative, out);
}

}  // namespace convert_detail

// `text` and `d` are those given to scan_real.
inline double to_double(const ScannedReal& r, std::string_view text, int d) {
  if (r.kind != ScannedReal::Kind::Number) {
    if (r.kind == ScannedReal::Kind::NaN) return std::numeric_limits<double>::quiet_NaN();
    return r.negative ? -std::numeric_limits<double>::infinity()
                      : std::numeric_limits<double>::infinity();
  }
  if (r.mantissa == 0) return r.negative ? -0.0 : 0.0;
  double v;
  if (!r.truncated && convert_detail::quick_to_double(r.mantissa, r.exp10, r.negative, v)) return v;
  return exact_to_double(r, text, d);
}

// Integer field: blanks ignored, optional sign and digits, all blank is zero. False when
// malformed or outside the 4-byte range.
bool parse_integer_field(std::string_view field, std::int32_t& out);

}  // namespace qv
