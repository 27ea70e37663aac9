// Row kernels for processors with AVX2 and FMA; chosen at run time (see orbital_kernels.cpp).
#include "wavefunction/orbital_kernels.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx2,fma")
#endif
#define QV_KERNEL_NS avx2
#define QV_KERNEL_NAME "avx2+fma"
#define QV_MADD(a, b, c) __builtin_ia32_vfmaddpd256((a), (b), (c))
#include "wavefunction/orbital_kernels_body.inc"
