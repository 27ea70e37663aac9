// The orbital accumulation for processors with AVX-512 (16 points x 8 orbitals per block);
// chosen at run time (see orbital_kernels.cpp). The other row kernels are those of the AVX2 build.
#include <immintrin.h>

#include "wavefunction/orbital_kernels.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx512f,fma")
#endif

namespace qv::orbital_kernels::avx512 {
namespace {

void gemm(const double* const* frows, int nk, const double* w, int ldw, int ncols, double* out,
          int ldc, int npad, bool accumulate) {
  for (int jb = 0; jb < npad; jb += 16) {
    for (int cb = 0; cb < ncols; cb += 8) {
      double* o = out + static_cast<long>(cb) * ldc + jb;
      __m512d lo[8], hi[8];
      #pragma GCC unroll 8
      for (int q = 0; q < 8; ++q) {
        lo[q] = accumulate ? _mm512_loadu_pd(o + q * ldc) : _mm512_setzero_pd();
        hi[q] = accumulate ? _mm512_loadu_pd(o + q * ldc + 8) : _mm512_setzero_pd();
      }
      const double* wp = w + cb;
      for (int a = 0; a < nk; ++a, wp += ldw) {
        const double* f = frows[a] + jb;
        const __m512d f0 = _mm512_loadu_pd(f), f1 = _mm512_loadu_pd(f + 8);
        #pragma GCC unroll 8
        for (int q = 0; q < 8; ++q) {
          const __m512d b = _mm512_set1_pd(wp[q]);
          lo[q] = _mm512_fmadd_pd(f0, b, lo[q]);
          hi[q] = _mm512_fmadd_pd(f1, b, hi[q]);
        }
      }
      #pragma GCC unroll 8
      for (int q = 0; q < 8; ++q) {
        _mm512_storeu_pd(o + q * ldc, lo[q]);
        _mm512_storeu_pd(o + q * ldc + 8, hi[q]);
      }
    }
  }
}

}  // namespace

Table table(const Table& base) {
  Table t = base;
  t.name = "avx512";
  t.gemm = gemm;
  return t;
}

}  // namespace qv::orbital_kernels::avx512
