#include "wavefunction/orbital_kernels.hpp"

namespace qv::orbital_kernels {

namespace generic {
const Table& table();
}
namespace avx2 {
const Table& table();
}

const Table& generic_table() { return generic::table(); }
const Table& avx2_table() { return avx2::table(); }

bool avx2_supported() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

const Table& best_table() {
  static const Table& t = avx2_supported() ? avx2_table() : generic_table();
  return t;
}

}  // namespace qv::orbital_kernels
