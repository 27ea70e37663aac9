#include "analysis/abramov_calc.hpp"

#include <cmath>

#include "analysis/grid_axes.hpp"

namespace qv {

AbramovGrids abramov_calc(const Grid& rho, const Grid& grad, const Grid& lapl, const Grid& mask) {
  AbramovGrids out;
  out.habr = make_grid(rho.n1, rho.n2, rho.n3, "Abramov total energy density grid");
  out.gabr = make_grid(rho.n1, rho.n2, rho.n3, "Abramov kinetic energy density grid");
  out.vabr = make_grid(rho.n1, rho.n2, rho.n3, "Abramov potential energy density grid");
  const double* f = rho.values.data();
  const double* g = grad.values.data();
  const double* l = lapl.values.data();
  const double* m = mask.values.data();
  double* hv = out.habr.values.data();
  double* gv = out.gabr.values.data();
  double* vv = out.vabr.values.data();
  const std::size_t n = rho.values.size();
  for (std::size_t p = 0; p < n; ++p) {
    // The grids are zero-filled: skipped points keep 0.0.
    if (!(m[p] < kAbramovMaskThreshold) || !(f[p] > 0.0)) continue;
    const double t = kThomasFermiFactor * std::pow(f[p], kAbramovExponent) +
                     ((g[p] * g[p]) / f[p]) * kGradientFactor;
    const double G = kLaplacianFactorG * l[p] + t;
    const double V = 0.25 * l[p] - (G + G);
    const double H = G + V;
    if (!is_finite(G) || !is_finite(V) || !is_finite(H)) continue;
    gv[p] = G;
    vv[p] = V;
    hv[p] = H;
  }
  return out;
}

}  // namespace qv
