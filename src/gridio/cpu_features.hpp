#pragma once
// What the processor offers beyond the x86-64 baseline, asked once per question; the kernels
// built for wider instruction sets are chosen from these answers when the program starts.

namespace qv {

inline bool cpu_has_avx2_fma() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

inline bool cpu_has_avx512f() {
  __builtin_cpu_init();
  return cpu_has_avx2_fma() && __builtin_cpu_supports("avx512f");
}

// The widest of a kernel's three builds that the processor can run.
template <class Table>
const Table& widest_build(const Table& (*avx512)(), const Table& (*avx2)(), const Table& (*generic)()) {
  return cpu_has_avx512f() ? avx512() : cpu_has_avx2_fma() ? avx2() : generic();
}

}  // namespace qv
