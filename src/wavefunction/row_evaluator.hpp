#pragma once
// Orbitals (and their gradients and laplacians) of a wavefunction at the points of grid rows.
// Every row holds the same x coordinates and its own y and z. A Gaussian primitive factorises,
// X^l Y^m Z^n exp(-a R) = [X^l exp(-a X^2)] [Y^m Z^n exp(-a (Y^2 + Z^2))], so the x factors are
// tabulated once for all rows, and a row costs one matrix product of the x-factor table with
// per-row weights (coefficient x y-z factor): the orbital accumulation.
//
// Screening: on each row, primitive i contributes to orbital k only when
// |chimax(i) * coefficient(i, k)| > 1.0e-10, where chimax(i) is the largest magnitude of the
// primitive on the row (value only for rho_calc; value, first derivatives and laplacian for
// moderiv_calc).
//
// A core density (EDF) rides along as one more column after the orbitals: its primitives carry
// their EDF coefficients in that column and zero in every orbital's, so the orbitals come out
// exactly as without it, and the column holds the core density with its derivatives.
#include <cstdint>
#include <span>
#include <vector>

#include "wavefunction/aligned_buffer.hpp"
#include "wavefunction/orbital_kernels.hpp"
#include "wavefunction/wfn_record.hpp"

namespace qv {

inline constexpr double kScreeningThreshold = 1.0e-10;

class RowEvaluator {
 public:
  // `xs`: the x coordinates of the row's points. With `derivatives` false only rho_calc may be
  // used. `kernels` chooses the instruction set (the best one by default).
  RowEvaluator(const WfnRecord& rec, std::span<const double> xs, bool derivatives,
               const orbital_kernels::Table& kernels = orbital_kernels::best_table());

  // Orbital values of the row at (y, z).
  void rho_calc(double y, double z);
  // Orbital values, gradients and laplacians of the row at (y, z).
  void moderiv_calc(double y, double z);

  int points() const { return npx_; }
  int padded_points() const { return npad_; }
  int stride() const { return npad_; }  // between the rows of two orbitals
  // 1 when column nmo holds the core density (added to rho, not squared), else 0.
  int core_columns() const { return ncore_; }
  // Per orbital k, `padded_points()` values (the points beyond `points()` are 0).
  const double* psi(int k) const { return psi_ + static_cast<std::size_t>(k) * npad_; }
  const double* gx(int k) const { return gx_.data() + static_cast<std::size_t>(k) * npad_; }
  const double* gy(int k) const { return gy_ + static_cast<std::size_t>(k) * npad_; }
  const double* gz(int k) const { return gz_ + static_cast<std::size_t>(k) * npad_; }
  const double* d2(int k) const { return d2_ + static_cast<std::size_t>(k) * npad_; }
  // Screening measure of sorted primitive i on the last row evaluated.
  double chimax(int i) const { return chimax_[static_cast<std::size_t>(i)]; }
  const orbital_kernels::Table& kernels() const { return kernels_; }

 private:
  void row_factors(double y, double z, bool derivatives);
  void build_weights(bool derivatives);

  const WfnRecord& rec_;
  const orbital_kernels::Table& kernels_;
  int npx_ = 0, npad_ = 0, nmo_ = 0, ncol_ = 0;  // ncol_: columns padded to the column block
  int ncore_ = 0;                                // core-density columns (0 or 1)
  int nvalues_ = 0;                              // nmo_ + ncore_: columns holding values
  bool derivatives_ = false;

  // Every primitive evaluated: the orbitals' (sorted), then the core density's.
  std::int32_t nprims_ = 0;
  std::vector<std::int32_t> centre_, type_;
  std::vector<double> alpha_, sum_;

  // x factors, one padded row per group of primitives sharing centre, exponent and x power:
  // f0 = X^l e, f1 = d f0 / dX, f2 = d2 f0 / dX2, with e = exp(-a X^2).
  std::vector<std::int32_t> group_of_;  // per primitive
  std::vector<std::int32_t> shell_of_;  // per primitive: index of (centre, exponent)
  std::int32_t ngroups_ = 0, nshells_ = 0;
  AlignedBuffer f0_, f1_, f2_;
  std::vector<double> max_f0_, max_f1_, max_f2_;
  std::vector<double> max_coef_;           // per primitive, over orbitals
  std::vector<double> coef_by_primitive_;  // coefficients, orbital index fastest

  // Per row: y-z factors of each primitive (value, d/dY, d/dZ, laplacian in Y and Z).
  std::vector<double> shell_exp_, c0_, cy_, cz_, cl_, chimax_;
  std::vector<char> active_;              // per primitive: contributes to some orbital
  std::vector<std::int32_t> row_of_group_;  // per group: weight row, or -1
  std::vector<const double*> frows_;       // x-factor rows of the active groups (f0, f1, f2)
  std::vector<double> weights_;           // active groups x 4 blocks of ncol_ columns
  std::int32_t nactive_ = 0;

  AlignedBuffer out_;  // psi, gy, gz, d2 blocks of ncol_ rows each
  AlignedBuffer gx_;
  double *psi_ = nullptr, *gy_ = nullptr, *gz_ = nullptr, *d2_ = nullptr;
};

}  // namespace qv
