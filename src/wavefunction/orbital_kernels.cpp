#include "wavefunction/orbital_kernels.hpp"

namespace qv::orbital_kernels {

namespace generic {
const Table& table();
}
namespace avx2 {
const Table& table();
}
namespace avx512 {
Table table(const Table& base);
}

const Table& generic_table() { return generic::table(); }
const Table& avx2_table() { return avx2::table(); }
const Table& avx512_table() {
  static const Table t = avx512::table(avx2::table());
  return t;
}

bool avx2_supported() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

bool avx512_supported() {
  __builtin_cpu_init();
  return avx2_supported() && __builtin_cpu_supports("avx512f");
}

const Table& best_table() {
  static const Table& t = avx512_supported() ? avx512_table()
                          : avx2_supported() ? avx2_table()
                                             : generic_table();
  return t;
}

}  // namespace qv::orbital_kernels
