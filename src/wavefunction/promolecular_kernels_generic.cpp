// Promolecular row kernels for any x86-64 processor; chosen at run time (see promolecular_kernels.cpp).
#include "wavefunction/promolecular_kernels.hpp"


#define QV_KERNEL_NS generic
#define QV_KERNEL_NAME "generic"
#define QV_KERNEL_WIDTH 128
#include "wavefunction/promolecular_kernels_body.inc"
