#include "analysis/numerical_derivatives.hpp"

#include <cmath>
#include <cstddef>

#include "analysis/stencils.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

namespace {

// Calls row(centre, out, s2, s3) for every interior row (axis 2 and 3 indices interior); the
// row function fills out[i] for interior i from the values around centre[i].
template <typename RowFunction>
Grid sweep_interior(const Grid& rho, const std::string& what, RowFunction row) {
  Grid out = make_grid(rho.n1, rho.n2, rho.n3, what);  // zero-filled: the rim stays 0.0
  const std::ptrdiff_t s2 = rho.n1;
  const std::ptrdiff_t s3 = static_cast<std::ptrdiff_t>(rho.n1) * rho.n2;
  const std::size_t rows_per_plane = static_cast<std::size_t>(rho.n2 - 4);
  const std::size_t rows = rows_per_plane * static_cast<std::size_t>(rho.n3 - 4);
  parallel_for(rows, rows_per_chunk(rho.n1), [&](std::size_t first, std::size_t last) {
    for (std::size_t r = first; r < last; ++r) {
      const std::size_t j = 2 + r % rows_per_plane, k = 2 + r / rows_per_plane;
      const std::size_t base = grid_index(rho, 0, j, k);
      row(rho.values.data() + base, out.values.data() + base, s2, s3);
    }
  });
  return out;
}

}  // namespace

std::optional<Grid> numerical_gradient(const Grid& rho, const AxisVectors& axes) {
  if (!has_interior(rho)) return std::nullopt;
  const double den1 = first_denominator(step_length(axes[0]));
  const double den2 = first_denominator(step_length(axes[1]));
  const double den3 = first_denominator(step_length(axes[2]));
  const std::int32_t last = rho.n1 - 3;
  return sweep_interior(rho, "numerical gradient grid",
                        [=](const double* f, double* out, std::ptrdiff_t s2, std::ptrdiff_t s3) {
                          for (std::int32_t i = 2; i <= last; ++i) {
                            const double d1 = first_difference(f + i, 1, den1);
                            const double d2 = first_difference(f + i, s2, den2);
                            const double d3 = first_difference(f + i, s3, den3);
                            out[i] = finite_or(std::sqrt((d1 * d1 + d2 * d2) + d3 * d3), 0.0);
                          }
                        });
}

std::optional<Grid> numerical_laplacian(const Grid& rho, const AxisVectors& axes) {
  if (!has_interior(rho)) return std::nullopt;
  const double den1 = second_denominator(step_length(axes[0]));
  const double den2 = second_denominator(step_length(axes[1]));
  const double den3 = second_denominator(step_length(axes[2]));
  const std::int32_t last = rho.n1 - 3;
  return sweep_interior(rho, "numerical laplacian grid",
                        [=](const double* f, double* out, std::ptrdiff_t s2, std::ptrdiff_t s3) {
                          for (std::int32_t i = 2; i <= last; ++i) {
                            // The trace of the numerical Hessian.
                            const double h11 = second_difference(f + i, 1, den1);
                            const double h22 = second_difference(f + i, s2, den2);
                            const double h33 = second_difference(f + i, s3, den3);
                            out[i] = finite_or((h11 + h22) + h33, 0.0);
                          }
                        });
}

}  // namespace qv
