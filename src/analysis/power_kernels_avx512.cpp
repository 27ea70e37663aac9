// The power function for processors with AVX-512 (8 lanes); chosen at run time.
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
constexpr int kLanes = 8;

inline VD load(const double* p) { return _mm512_loadu_pd(p); }
inline void store(double* p, VD v) { _mm512_storeu_pd(p, v); }
inline VD splat(double v) { return _mm512_set1_pd(v); }
inline VD fmadd(VD a, VD b, VD c) { return _mm512_fmadd_pd(a, b, c); }
// The masked form with a zero source: the plain one reads an uninitialised register.
inline VD gather(const double* table, VI index) {
  return _mm512_mask_i64gather_pd(_mm512_setzero_pd(), 0xff, index, table, 8);
}
inline unsigned lane_bits(VI mask) { return _mm512_test_epi64_mask(mask, mask); }

}  // namespace

#include "analysis/power_kernels_body.inc"

const Table& table() {
  static const Table t{"avx512", pow_lanes};
  return t;
}

}  // namespace qv::power_kernels::avx512
