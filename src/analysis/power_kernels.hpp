#pragma once
// x^y over arrays, bit for bit equal to std::pow, several times faster on processors with AVX2
// and FMA or AVX-512. The vector builds evaluate log x and exp(y log x) in double-double
// arithmetic (relative error below 2^-66), so their rounded result is the correctly rounded
// power except when the exact value lies very near a rounding boundary. Outside that guard zone
// the system pow rounds the same way (its own error stays within a few hundredths of an ulp);
// inside it, and for zero, negative, subnormal, infinite or NaN x and for results that would
// overflow or be subnormal, the lane is handed to std::pow itself.
#include <cstddef>

namespace qv::power_kernels {

struct Table {
  const char* name;
  // out[i] = std::pow(x[i], y) for i < n; returns how many values were handed to std::pow.
  std::size_t (*pow_array)(const double* x, double y, double* out, std::size_t n);
};

const Table& generic_table();  // std::pow value by value
const Table& avx2_table();     // only valid when cpu_has_avx2_fma()
const Table& avx512_table();   // only valid when cpu_has_avx512f()
// The widest build the processor can run.
const Table& best_table();

}  // namespace qv::power_kernels

namespace qv {

// out[i] = std::pow(x[i], y) for i < n, bit for bit, with the fastest build available.
inline void pow_array(const double* x, double y, double* out, std::size_t n) {
  power_kernels::best_table().pow_array(x, y, out, n);
}

}  // namespace qv
