// Promolecular row kernels for processors with AVX512; chosen at run time (see promolecular_kernels.cpp).
#include "wavefunction/promolecular_kernels.hpp"

#if !defined(__clang__)  // clang takes the instruction sets from the command line
#pragma GCC target("avx512f")
#endif
#define QV_KERNEL_NS avx512
#define QV_KERNEL_NAME "avx512"
#define QV_KERNEL_WIDTH 512
#include "wavefunction/promolecular_kernels_body.inc"
