#include "analysis/abramov_calc.hpp"

#include <algorithm>
#include <cmath>

#include "analysis/grid_axes.hpp"
#include "analysis/power_kernels.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

namespace {

constexpr std::size_t kChunk = 1024;  // points whose powers are taken together

}  // namespace

AbramovGrids abramov_calc(const Grid& rho, const Grid& grad, const Grid& lapl, const Grid& mask) {
  AbramovGrids out;
  out.habr = make_grid_for_overwrite(rho.n1, rho.n2, rho.n3, "Abramov total energy density grid");
  out.gabr = make_grid_for_overwrite(rho.n1, rho.n2, rho.n3, "Abramov kinetic energy density grid");
  out.vabr = make_grid_for_overwrite(rho.n1, rho.n2, rho.n3, "Abramov potential energy density grid");
  const std::size_t n = rho.values.size();
  const std::size_t blocks = (n + kChunk - 1) / kChunk;
  parallel_for(blocks, 16, [&](std::size_t first_block, std::size_t last_block) {
    double rho_power[kChunk];
    for (std::size_t block = first_block; block < last_block; ++block) {
      const std::size_t start = block * kChunk;
      const std::size_t len = std::min(kChunk, n - start);
      const double* f = rho.values.data() + start;
      const double* g = grad.values.data() + start;
      const double* l = lapl.values.data() + start;
      const double* m = mask.values.data() + start;
      double* hv = out.habr.values.data() + start;
      double* gv = out.gabr.values.data() + start;
      double* vv = out.vabr.values.data() + start;
      pow_array(f, kAbramovExponent, rho_power, len);
      // Without branches, so that the loop vectorises; a point the mask, a density of zero or
      // less, or a non-finite result excludes gets 0.0 in all three grids.
      for (std::size_t p = 0; p < len; ++p) {
        const double t =
            kThomasFermiFactor * rho_power[p] + ((g[p] * g[p]) / f[p]) * kGradientFactor;
        const double G = kLaplacianFactorG * l[p] + t;
        const double V = 0.25 * l[p] - (G + G);
        const double H = G + V;
        const bool keep = m[p] < kAbramovMaskThreshold && f[p] > 0.0 && is_finite(G) &&
                          is_finite(V) && is_finite(H);
        gv[p] = keep ? G : 0.0;
        vv[p] = keep ? V : 0.0;
        hv[p] = keep ? H : 0.0;
      }
    }
  });
  return out;
}

}  // namespace qv
