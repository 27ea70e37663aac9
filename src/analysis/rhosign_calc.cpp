#include "analysis/rhosign_calc.hpp"

#include <optional>
#include <vector>

#include "analysis/diagat.hpp"
#include "analysis/hessian.hpp"
#include "analysis/stencils.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

namespace {

// The Hessians of one grid row (fixed j, k) at once. The nested first derivatives that the
// point Hessian takes at displaced points are shared between neighbouring points of the row,
// so each is computed once, row by row, with the same operands and operations as the point
// version: the results are identical to hessian() at every point.
class RowHessians {
 public:
  RowHessians(const Grid& rho, const AxisVectors& axes)
      : rho_(rho), n1_(rho.n1), s2_(rho.n1), s3_(static_cast<std::ptrdiff_t>(rho.n1) * rho.n2) {
    for (int a = 0; a < 3; ++a) {
      const float h = step_length(axes[a]);
      first_den_[a] = first_denominator(h);
      second_den_[a] = second_denominator(h);
    }
    for (auto& row : rows_) row.assign(n1_, 0.0);
  }

  // Fills the rows for grid row (j, k); then element (a, b) at point i is hessian(a, b, i).
  void compute(std::int32_t j, std::int32_t k) {
    const double* f = rho_.values.data() + grid_index(rho_, 0, j, k);
    const std::ptrdiff_t disp[4] = {1, 2, -1, -2};
    // D1 at the points displaced along axes 2 and 3, D2 along axes 1 (whole row) and 3,
    // D3 along axes 1 (whole row) and 2.
    for (int m = 0; m < 4; ++m) {
      first_rows(f + disp[m] * s2_, 1, first_den_[0], d1_along2(m), 2, n1_ - 2);
      first_rows(f + disp[m] * s3_, 1, first_den_[0], d1_along3(m), 2, n1_ - 2);
      first_rows(f + disp[m] * s3_, s2_, first_den_[1], d2_along3(m), 2, n1_ - 2);
      first_rows(f + disp[m] * s2_, s3_, first_den_[2], d3_along2(m), 2, n1_ - 2);
    }
    first_rows(f, s2_, first_den_[1], d2_row(), 0, n1_);
    first_rows(f, s3_, first_den_[2], d3_row(), 0, n1_);

    double* h11 = rows_[kH11].data();
    double* h22 = rows_[kH22].data();
    double* h33 = rows_[kH33].data();
    double* h12 = rows_[kH12].data();
    double* h13 = rows_[kH13].data();
    double* h23 = rows_[kH23].data();
    const double* d2r = d2_row();
    const double* d3r = d3_row();
    for (std::int32_t i = 2; i < n1_ - 2; ++i) {
      h11[i] = second_difference(f + i, 1, second_den_[0]);
      h22[i] = second_difference(f + i, s2_, second_den_[1]);
      h33[i] = second_difference(f + i, s3_, second_den_[2]);
      // D_b[D_a f] and D_a[D_b f] for each pair a < b, then their mean.
      const double d2_of_d1 = nested(d1_along2(0)[i], d1_along2(1)[i], d1_along2(2)[i],
                                     d1_along2(3)[i], first_den_[1]);
      const double d1_of_d2 = first_difference(d2r + i, 1, first_den_[0]);
      h12[i] = 0.5 * (d2_of_d1 + d1_of_d2);
      const double d3_of_d1 = nested(d1_along3(0)[i], d1_along3(1)[i], d1_along3(2)[i],
                                     d1_along3(3)[i], first_den_[2]);
      const double d1_of_d3 = first_difference(d3r + i, 1, first_den_[0]);
      h13[i] = 0.5 * (d3_of_d1 + d1_of_d3);
      const double d3_of_d2 = nested(d2_along3(0)[i], d2_along3(1)[i], d2_along3(2)[i],
                                     d2_along3(3)[i], first_den_[2]);
      const double d2_of_d3 = nested(d3_along2(0)[i], d3_along2(1)[i], d3_along2(2)[i],
                                     d3_along2(3)[i], first_den_[1]);
      h23[i] = 0.5 * (d3_of_d2 + d2_of_d3);
    }
  }

  Matrix3 at(std::int32_t i) const {
    const double h12 = rows_[kH12][i], h13 = rows_[kH13][i], h23 = rows_[kH23][i];
    return {{{rows_[kH11][i], h12, h13}, {h12, rows_[kH22][i], h23}, {h13, h23, rows_[kH33][i]}}};
  }

 private:
  // Row slots: four displacements (+1, +2, -1, -2) for each displaced derivative.
  enum { kD1Along2 = 0, kD1Along3 = 4, kD2Along3 = 8, kD3Along2 = 12, kD2Row = 16, kD3Row,
         kH11, kH22, kH33, kH12, kH13, kH23, kRows };

  double* d1_along2(int m) { return rows_[kD1Along2 + m].data(); }
  double* d1_along3(int m) { return rows_[kD1Along3 + m].data(); }
  double* d2_along3(int m) { return rows_[kD2Along3 + m].data(); }
  double* d3_along2(int m) { return rows_[kD3Along2 + m].data(); }
  double* d2_row() { return rows_[kD2Row].data(); }
  double* d3_row() { return rows_[kD3Row].data(); }

  // out[i] = first difference along stride s at p + i, for first <= i < last.
  static void first_rows(const double* p, std::ptrdiff_t s, double den, double* out,
                         std::int32_t first, std::int32_t last) {
    for (std::int32_t i = first; i < last; ++i) out[i] = first_difference(p + i, s, den);
  }
  // The first-difference stencil over values already taken at +1, +2, -1, -2.
  static double nested(double p1, double p2, double m1, double m2, double den) {
    return (((8.0 * p1 - p2) - 8.0 * m1) + m2) / den;
  }

  const Grid& rho_;
  std::int32_t n1_;
  std::ptrdiff_t s2_, s3_;
  std::array<double, 3> first_den_{}, second_den_{};
  std::array<std::vector<double>, kRows> rows_;
};

}  // namespace

Grid rhosign_calc(const Grid& rho, const Grid& mask, const AxisVectors& axes) {
  Grid out = make_grid(rho.n1, rho.n2, rho.n3, "rho*sign(lambda2) grid");  // rim stays 0.0
  if (!has_interior(rho)) return out;
  // Each thread keeps its own rows of Hessian terms; a row's values depend on that row alone.
  std::vector<std::optional<RowHessians>> per_thread(static_cast<std::size_t>(sweep_threads()));
  const std::int32_t rows_per_plane = rho.n2 - 4;
  const std::size_t rows = static_cast<std::size_t>(rows_per_plane) * static_cast<std::size_t>(rho.n3 - 4);
  parallel_chunks(rows, rows_per_chunk(rho.n1), [&](std::size_t first, std::size_t last, int slot) {
    std::optional<RowHessians>& mine = per_thread[static_cast<std::size_t>(slot)];
    if (!mine) mine.emplace(rho, axes);
    RowHessians& hessians = *mine;
    for (std::size_t r = first; r < last; ++r) {
      const std::int32_t j = 2 + static_cast<std::int32_t>(r % rows_per_plane);
      const std::int32_t k = 2 + static_cast<std::int32_t>(r / rows_per_plane);
      const std::size_t base = grid_index(rho, 0, j, k);
      const double* f = rho.values.data() + base;
      const double* m = mask.values.data() + base;
      double* o = out.values.data() + base;
      bool any = false;
      for (std::int32_t i = 2; i <= rho.n1 - 3; ++i) any |= !(m[i] >= kRhosignMaskThreshold);
      if (!any) continue;  // every point of the row masked: 0.0 stays
      hessians.compute(j, k);
      for (std::int32_t i = 2; i <= rho.n1 - 3; ++i) {
        if (m[i] >= kRhosignMaskThreshold) continue;
        const std::array<double, 3> d = eigenvalues3(hessians.at(i));
        o[i] = finite_or(d[1] < 0.0 ? -f[i] : f[i], 0.0);
      }
    }
  });
  return out;
}

}  // namespace qv
