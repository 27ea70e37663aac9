// The power function for processors with AVX-512 (8 lanes, tables of 32 held in registers);
// chosen at run time.
#include <immintrin.h>

#include <cmath>
#include <cstdint>

#include "analysis/power_kernels.hpp"
#include "analysis/power_tables.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx512f,fma")
#endif

namespace qv::power_kernels::avx512 {
namespace {

using VD = __m512d;
using VI = __m512i;
constexpr bool kAppendEveryLane = true;
constexpr int kLanes = 8;

inline VD load(const double* p) { return _mm512_loadu_pd(p); }
inline void store(double* p, VD v) { _mm512_storeu_pd(p, v); }
inline VD splat(double v) { return _mm512_set1_pd(v); }
inline VD fmadd(VD a, VD b, VD c) { return _mm512_fmadd_pd(a, b, c); }
// Tables of 32 values, four vectors each: two two-source permutes and a blend replace a gather,
// which this width would make eight memory accesses per lookup.
namespace pt = qv::power_tables::t32;
inline VD lookup32(const double* table, VI index) {
  const VD low = _mm512_permutex2var_pd(_mm512_load_pd(table), index, _mm512_load_pd(table + 8));
  const VD high =
      _mm512_permutex2var_pd(_mm512_load_pd(table + 16), index, _mm512_load_pd(table + 24));
  return _mm512_mask_blend_pd(_mm512_test_epi64_mask(index, _mm512_set1_epi64(16)), low, high);
}
inline void lookup_log(VI i, VD& invc, VD& logc_hi, VD& logc_lo) {
  invc = lookup32(pt::kInvC, i);
  logc_hi = lookup32(pt::kLogCHi, i);
  logc_lo = lookup32(pt::kLogCLo, i);
}
inline void lookup_exp(VI j, VD& t_hi, VD& t_lo) {
  t_hi = lookup32(pt::kExp2Hi, j);
  t_lo = lookup32(pt::kExp2Lo, j);
}
inline unsigned lane_bits(VI mask) { return _mm512_test_epi64_mask(mask, mask); }

}  // namespace

#include "analysis/power_kernels_body.inc"

const Table& table() {
  static const Table t{"avx512", pow_lanes};
  return t;
}

}  // namespace qv::power_kernels::avx512
