#pragma once
// The first `sig` significant decimal digits of a positive finite double, rounded to nearest
// with ties to even, and its decimal exponent: a ~= digits * 10^(k - sig + 1), with
// 10^(sig-1) <= digits < 10^sig. Uses one 64 x 128-bit product with a table of powers of ten;
// a value too close to a rounding tie for that product to decide goes to the exact C library
// conversion.
#include <bit>
#include <cstdint>

#include "gridio/powers_of_ten_table.hpp"

namespace qv {

struct DecimalDigits {
  std::uint64_t digits;
  int k;  // power of ten of the first digit
};

// Exact slow path (snprintf), for near-ties; sig <= 17.
DecimalDigits exact_digits_slow(double a, int sig);

inline constexpr std::uint64_t kPow10u64[] = {1ULL,
                                             10ULL,
                                             100ULL,
                                             1000ULL,
                                             10000ULL,
                                             100000ULL,
                                             1000000ULL,
                                             10000000ULL,
                                             100000000ULL,
                                             1000000000ULL,
                                             10000000000ULL,
                                             100000000000ULL,
                                             1000000000000ULL,
                                             10000000000000ULL,
                                             100000000000000ULL,
                                             1000000000000000ULL,
                                             10000000000000000ULL,
                                             100000000000000000ULL};

// sig in 1..17; a > 0 and finite. Decides every rounding from the full 192-bit product.
inline DecimalDigits exact_digits_full(double a, int sig) {
  using u128 = unsigned __int128;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
  const int biased = static_cast<int>(bits >> 52);
  std::uint64_t f = bits & ((std::uint64_t{1} << 52) - 1);
  int e2;
  if (biased == 0) {
    e2 = -1074;
  } else {
    f |= std::uint64_t{1} << 52;
    e2 = biased - 1075;
  }
  const int lz = std::countl_zero(f);
  f <<= lz;
  e2 -= lz;  // a = f * 2^e2 with f in [2^63, 2^64)
  // floor(log10(a)): an estimate from the binary exponent, corrected by one comparison (the
  // loop below mends the rare value next to a power of ten that the comparison misjudges).
  int k = ((e2 + 63) * 1262611) >> 22;
  if (a >= pow10::kAsDouble[k + 1 - pow10::kMinExponent]) ++k;
  const std::uint64_t low = kPow10u64[sig - 1], high = kPow10u64[sig];
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int q = sig - 1 - k;
    const pow10::Entry& p = pow10::kTable[q - pow10::kMinExponent];
    const u128 lo_prod = static_cast<u128>(f) * p.lo;
    const u128 hi_prod = static_cast<u128>(f) * p.hi;
    // The 192-bit product f * P, as hi : mid : lo.
    const std::uint64_t lo = static_cast<std::uint64_t>(lo_prod);
    const u128 upper = hi_prod + (lo_prod >> 64);
    // a * 10^q = product * 2^(e2 + b): the integer part is the product shifted right by s bits.
    const int s = -(e2 + pow10::binary_exponent(q));
    const int s_hi = s - 128;  // bits of the remainder that lie in the top word
    const std::uint64_t hi = static_cast<std::uint64_t>(upper >> 64);
    const std::uint64_t ip = hi >> s_hi;
    if (ip >= high) {
      ++k;
      continue;
    }
    if (ip < low) {
      --k;
      continue;
    }
    // The remainder above the lowest word (the product's low s bits, in units of 2^64).
    const u128 rem = upper << (64 - s_hi) >> (64 - s_hi);
    const u128 half = static_cast<u128>(1) << (s_hi + 63);  // 2^(s-1) in units of 2^64
    const bool exact = q >= 0 && q <= pow10::kLastExact;
    bool up;
    if (exact) {
      up = rem > half || (rem == half && (lo != 0 || (ip & 1)));
    } else {
      // The true product exceeds the computed one by less than 2^64 (one unit of `rem`'s lowest
      // word plus a carry), and is never equal to it.
      if (rem >= half) {
        up = true;
      } else if (rem + 2 <= half) {
        up = false;
      } else {
        return exact_digits_slow(a, sig);
      }
    }
    std::uint64_t d = ip + (up ? 1 : 0);
    if (d == high) {
      d = low;
      ++k;
    }
    return {d, k};
  }
  return exact_digits_slow(a, sig);
}

// The same digits, first tried from the top 128 bits of the product alone: that decides all
// but values within about 2^-60 of a rounding tie, which take the full product.
template <int Sig>
[[gnu::always_inline]] inline DecimalDigits exact_digits(double a) {
  static_assert(Sig >= 1 && Sig <= 17);
  using u128 = unsigned __int128;
  constexpr std::uint64_t low = kPow10u64[Sig - 1], high = kPow10u64[Sig];
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return exact_digits_full(a, Sig);  // subnormal
  const std::uint64_t f = (bits << 11) | (std::uint64_t{1} << 63);
  const int e2 = biased - 1075 - 11;  // a = f * 2^e2 with f in [2^63, 2^64)
  int k = ((e2 + 63) * 1262611) >> 22;
  if (a >= pow10::kAsDouble[k + 1 - pow10::kMinExponent]) ++k;
  const int q = Sig - 1 - k;
  const pow10::Entry& p = pow10::kTable[q - pow10::kMinExponent];
  const u128 x = static_cast<u128>(f) * p.hi;
  const std::uint64_t hi = static_cast<std::uint64_t>(x >> 64), mid = static_cast<std::uint64_t>(x);
  const int s_hi = -(e2 + pow10::binary_exponent(q)) - 128;
  const std::uint64_t ip = hi >> s_hi;
  // The remainder's top word `rh` against one half: the neglected low product and the
  // rounding-down of the power add less than one unit of `rh` to the true remainder.
  const std::uint64_t rh = hi & ((std::uint64_t{1} << s_hi) - 1);
  const std::uint64_t half = std::uint64_t{1} << (s_hi - 1);
  if (ip < low || ip >= high) return exact_digits_full(a, Sig);
  bool up;
  if (rh > half || (rh == half && mid != 0)) {
    up = true;
  } else if (rh + 1 < half) {
    up = false;
  } else {
    return exact_digits_full(a, Sig);
  }
  if (!up) return {ip, k};
  if (ip + 1 == high) return {low, k + 1};
  return {ip + 1, k};
}

}  // namespace qv
