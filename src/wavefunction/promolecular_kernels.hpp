#pragma once
// The inner loop of the promolecular sweep: one atom's contributions to the points of a grid
// row, eight points at a time, from the element's radial table, in one build for any x86-64 and
// builds for AVX2 and AVX-512, chosen when the program starts. The wider builds fuse
// multiply-adds, so their last bits may differ from the baseline build's; one machine always
// uses the same build, whatever the threads.
#include "wavefunction/radial_table.hpp"

namespace qv::promolecular_kernels {

inline constexpr int kLanes = 8;

// Per point sums of a row; each array holds the row's points plus kLanes of padding.
struct RowSums {
  double* rho;
  double* gx;
  double* gy;
  double* gz;
  double* lap;
};

// One atom and the row it is added to: points j0..j1 at x = xs[j] (xs padded like the sums),
// y and z fixed.
struct RowSpan {
  const double* xs;
  int j0, j1;
  double y, z;
};

// An element's radial table as the kernels read it (the table must outlive it).
struct RadialView {
  const double* coefficients;  // RadialTable::kCoefficients per interval
  double cutoff;
  // When exponent > 0 the density is amplitude * exp(-exponent r), evaluated as such.
  double exponent;
  double amplitude;
};
inline RadialView view_of(const RadialTable& table) {
  return {table.coefficients(), table.cutoff_radius(), table.single_exponent(), table.single_amplitude()};
}

struct Table {
  const char* name;
  // Adds the atom at (ax, ay, az) to the points of the span closer than its cut-off radius: to
  // rho always, to the gradient and laplacian when `derivatives`. Returns the number of points.
  long long (*add_atom)(const RadialView& model, double ax, double ay, double az,
                        const RowSpan& span, bool derivatives, const RowSums& sums);
};

const Table& generic_table();
const Table& avx2_table();    // only valid when cpu_has_avx2_fma()
const Table& avx512_table();  // only valid when cpu_has_avx512f()
const Table& best_table();

}  // namespace qv::promolecular_kernels
