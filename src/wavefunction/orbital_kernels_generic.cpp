// Row kernels for any x86-64 processor.
#include "wavefunction/orbital_kernels.hpp"

// The 4-wide vectors of the kernels are internal: their argument passing needs no stable ABI.
#pragma GCC diagnostic ignored "-Wpsabi"
#define QV_KERNEL_NS generic
#define QV_KERNEL_NAME "generic"
#define QV_MADD(a, b, c) ((a) * (b) + (c))
#include "wavefunction/orbital_kernels_body.inc"
