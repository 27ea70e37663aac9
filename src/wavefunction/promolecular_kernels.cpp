#include "wavefunction/promolecular_kernels.hpp"

#include "gridio/cpu_features.hpp"

namespace qv::promolecular_kernels {

namespace generic {
const Table& table();
}
namespace avx2 {
const Table& table();
}
namespace avx512 {
const Table& table();
}

const Table& generic_table() { return generic::table(); }
const Table& avx2_table() { return avx2::table(); }
const Table& avx512_table() { return avx512::table(); }

const Table& best_table() {
  static const Table& t = widest_build(avx512_table, avx2_table, generic_table);
  return t;
}

}  // namespace qv::promolecular_kernels
