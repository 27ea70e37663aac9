// Promolecular row kernels for processors with AVX2; chosen at run time (see promolecular_kernels.cpp).
#include "wavefunction/promolecular_kernels.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx2,fma")
#endif
#define QV_KERNEL_NS avx2
#define QV_KERNEL_NAME "avx2"
#define QV_KERNEL_WIDTH 256
#include "wavefunction/promolecular_kernels_body.inc"
