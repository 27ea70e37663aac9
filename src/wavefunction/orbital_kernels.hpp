#pragma once
// The per-row arithmetic of the wavefunction evaluators, in one build for any x86-64 and builds
// for processors with AVX2 and FMA or AVX-512, chosen when the program starts. Rows are padded: every row of
// points holds a multiple of 8 values (extra points are zero) and starts on a 64-byte boundary.
#include <cstdint>

namespace qv::orbital_kernels {

inline constexpr int kPointBlock = 16;  // points per padded block
inline constexpr int kColumnBlock = 8;  // orbital columns per block

struct Table {
  const char* name;
  // out[c * ldc + j] (+)= sum over a < nk of w[a * ldw + c] * frows[a][j], for c < ncols and
  // j < npad; ncols is a multiple of kColumnBlock, npad of kPointBlock. With accumulate false
  // out is overwritten. Terms are added in order of a.
  void (*gemm)(const double* const* frows, int nk, const double* w, int ldw, int ncols,
               double* out, int ldc, int npad, bool accumulate);
  // The largest |a * x[j] + b * y[j]| over j < npad.
  double (*max_abs_combination)(double a, const double* x, double b, const double* y, int npad);
  // With `core` 1, column nmo holds a core density that is added as it stands (value to rho,
  // its gradient to the gradient, its laplacian to the laplacian; nothing to G), after the
  // orbitals; with `core` 0 it is not read.
  // rho[j] = sum over k of po[k] * psi[k][j] * psi[k][j], k in order.
  void (*density)(const double* psi, int ldc, const double* po, int nmo, int core, int npad,
                  double* rho);
  // |grad rho| from the orbital values and gradients.
  void (*gradient)(const double* psi, const double* gx, const double* gy, const double* gz,
                   int ldc, const double* po, int nmo, int core, int npad, double* out);
  // Laplacian of rho and the kinetic energy density G (either pointer may be null).
  void (*laplacian_and_g)(const double* psi, const double* gx, const double* gy,
                          const double* gz, const double* d2, int ldc, const double* po, int nmo,
                          int core, int npad, double* lap, double* g);
  // v[j] = 0.25 * lap[j] - (g[j] + g[j]) and h[j] = v[j] + g[j].
  void (*potential_and_total)(const double* lap, const double* g, int npad, double* v,
                              double* h);
};

const Table& generic_table();
const Table& avx2_table();    // only valid when avx2_supported()
const Table& avx512_table();  // only valid when avx512_supported()
bool avx2_supported();
bool avx512_supported();
// The table used by the evaluators: the widest the processor has.
const Table& best_table();

}  // namespace qv::orbital_kernels
