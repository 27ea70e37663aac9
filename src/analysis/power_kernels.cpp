#include "analysis/power_kernels.hpp"

#include <cmath>

#include "gridio/cpu_features.hpp"

namespace qv::power_kernels {

namespace avx2 {
const Table& table();
}
namespace avx512 {
const Table& table();
}

namespace {

std::size_t pow_each(const double* x, double y, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = std::pow(x[i], y);
  return n;
}

}  // namespace

const Table& generic_table() {
  static const Table t{"generic", pow_each};
  return t;
}
const Table& avx2_table() { return avx2::table(); }
const Table& avx512_table() { return avx512::table(); }

const Table& best_table() {
  static const Table& t = cpu_has_avx512f()    ? avx512_table()
                          : cpu_has_avx2_fma() ? avx2_table()
                                               : generic_table();
  return t;
}

}  // namespace qv::power_kernels
