#include "analysis/rdg_statistics.hpp"

namespace qv {

std::array<double, 10> rdg_thresholds() {
  std::array<double, 10> t{};
  for (int b = 0; b < 10; ++b) t[b] = static_cast<double>(static_cast<float>(b + 1) * 0.1f);
  return t;
}

RdgStatistics rdg_statistics(const Grid* rdg, const Grid& rho, const Grid* rhosign,
                             const AbramovGrids* abramov, const AxisVectors& axes) {
  RdgStatistics st;
  if (!rdg || !has_interior(rho)) return st;
  const std::array<double, 10> t = rdg_thresholds();
  const double largest = t[9];
  for (std::int32_t k = 2; k <= rho.n3 - 3; ++k) {
    for (std::int32_t j = 2; j <= rho.n2 - 3; ++j) {
      const std::size_t base = grid_index(rho, 0, j, k);
      const double* r = rdg->values.data() + base;
      const double* f = rho.values.data() + base;
      for (std::int32_t i = 2; i <= rho.n1 - 3; ++i) {
        const double s = r[i];
        if (!(s < largest)) continue;  // in no bin (also every 1.0E10 point)
        const std::size_t p = base + i;
        for (int b = 0; b < 10; ++b) {
          if (!(t[b] > s)) continue;
          ++st.points[b];
          st.rho_integral[b] += f[i];
          if (abramov) {
            st.g_integral[b] += abramov->gabr.values[p];
            st.v_integral[b] += abramov->vabr.values[p];
            st.h_integral[b] += abramov->habr.values[p];
          }
          if (rhosign) st.rhosign_integral[b] += rhosign->values[p];
        }
      }
    }
  }
  const double h1 = step_length(axes[0]), h2 = step_length(axes[1]), h3 = step_length(axes[2]);
  auto scale = [&](double x) { return ((x * h1) * h2) * h3; };
  for (int b = 0; b < 10; ++b) {
    st.rho_integral[b] = scale(st.rho_integral[b]);
    st.volume[b] = scale(static_cast<double>(st.points[b]));
    if (abramov) {
      st.g_integral[b] = scale(st.g_integral[b]);
      st.v_integral[b] = scale(st.v_integral[b]);
      st.h_integral[b] = scale(st.h_integral[b]);
    }
    if (rhosign) st.rhosign_integral[b] = scale(st.rhosign_integral[b]);
  }
  return st;
}

}  // namespace qv
