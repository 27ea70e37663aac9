#include "wavefunction/orbital_kernels.hpp"

#include "gridio/cpu_features.hpp"

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

bool avx2_supported() { return cpu_has_avx2_fma(); }
bool avx512_supported() { return cpu_has_avx512f(); }

const Table& best_table() {
  static const Table& t = avx512_supported() ? avx512_table()
                          : avx2_supported() ? avx2_table()
                                             : generic_table();
  return t;
}

}  // namespace qv::orbital_kernels
