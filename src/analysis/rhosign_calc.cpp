#include "analysis/rhosign_calc.hpp"

#include "analysis/diagat.hpp"
#include "analysis/hessian.hpp"
#include "analysis/stencils.hpp"

namespace qv {

Grid rhosign_calc(const Grid& rho, const Grid& mask, const AxisVectors& axes) {
  Grid out = make_grid(rho.n1, rho.n2, rho.n3, "rho*sign(lambda2) grid");  // rim stays 0.0
  if (!has_interior(rho)) return out;
  const std::array<std::ptrdiff_t, 3> stride = {
      1, rho.n1, static_cast<std::ptrdiff_t>(rho.n1) * rho.n2};
  std::array<double, 3> first_den{}, second_den{};
  for (int a = 0; a < 3; ++a) {
    const float h = step_length(axes[a]);
    first_den[a] = first_denominator(h);
    second_den[a] = second_denominator(h);
  }
  for (std::int32_t k = 2; k <= rho.n3 - 3; ++k) {
    for (std::int32_t j = 2; j <= rho.n2 - 3; ++j) {
      const std::size_t base = grid_index(rho, 0, j, k);
      const double* f = rho.values.data() + base;
      const double* m = mask.values.data() + base;
      double* o = out.values.data() + base;
      for (std::int32_t i = 2; i <= rho.n1 - 3; ++i) {
        if (m[i] >= kRhosignMaskThreshold) continue;  // already 0.0
        const std::array<double, 3> d =
            eigenvalues3(hessian_at(f + i, stride, first_den, second_den));
        o[i] = finite_or(d[1] < 0.0 ? -f[i] : f[i], 0.0);
      }
    }
  }
  return out;
}

}  // namespace qv
