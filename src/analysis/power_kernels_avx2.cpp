// The power function for processors with AVX2 and FMA (4 lanes, tables of 128 looked up by
// gathers); chosen at run time.
#include <immintrin.h>

#include <cmath>
#include <cstdint>

#include "analysis/power_kernels.hpp"
#include "analysis/power_tables.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx2,fma")
#endif

namespace qv::power_kernels::avx2 {
namespace {

using VD = __m256d;
using VI = __m256i;
constexpr bool kAppendEveryLane = false;
constexpr int kLanes = 4;

inline VD load(const double* p) { return _mm256_loadu_pd(p); }
inline void store(double* p, VD v) { _mm256_storeu_pd(p, v); }
inline VD splat(double v) { return _mm256_set1_pd(v); }
inline VD fmadd(VD a, VD b, VD c) { return _mm256_fmadd_pd(a, b, c); }
inline VD gather(const double* table, VI index) { return _mm256_i64gather_pd(table, index, 8); }

namespace pt = qv::power_tables::t128;
inline void lookup_log(VI i, VD& invc, VD& logc_hi, VD& logc_lo) {
  invc = gather(pt::kInvC, i);
  logc_hi = gather(pt::kLogCHi, i);
  logc_lo = gather(pt::kLogCLo, i);
}
inline void lookup_exp(VI j, VD& t_hi, VD& t_lo) {
  t_hi = gather(pt::kExp2Hi, j);
  t_lo = gather(pt::kExp2Lo, j);
}
inline unsigned lane_bits(VI mask) {
  return static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(mask)));
}

}  // namespace

#include "analysis/power_kernels_body.inc"

const Table& table() {
  static const Table t{"avx2+fma", pow_lanes};
  return t;
}

}  // namespace qv::power_kernels::avx2
