#include "analysis/rdg_statistics.hpp"

namespace qv {

std::array<double, 10> rdg_thresholds() {
  std::array<double, 10> t{};
  for (int b = 0; b < 10; ++b) t[b] = static_cast<double>(static_cast<float>(b + 1) * 0.1f);
  return t;
}

RdgStatistics rdg_statistics(const Grid* rdg_array, const Grid& rho, const Grid* rhosegn,
                             const AbramovGrids* abramov, const AxisVectors& axes) {
  RdgStatistics st;
  if (!rdg_array || !has_interior(rho)) return st;
  const std::array<double, 10> t = rdg_thresholds();
  const double largest = t[9];
  for (std::int32_t k = 2; k <= rho.n3 - 3; ++k) {
    for (std::int32_t j = 2; j <= rho.n2 - 3; ++j) {
      const std::size_t base = grid_index(rho, 0, j, k);
      const double* r = rdg_array->values.data() + base;
      const double* f = rho.values.data() + base;
      for (std::int32_t i = 2; i <= rho.n1 - 3; ++i) {
        const double s = r[i];
        if (!(s < largest)) continue;  // in no bin (also every 1.0E10 point)
        const std::size_t p = base + i;
        for (int b = 0; b < 10; ++b) {
          if (!(t[b] > s)) continue;
          ++st.n01[b];
          st.rho01[b] += f[i];
          if (abramov) {
            st.g01[b] += abramov->gabr.values[p];
            st.v01[b] += abramov->vabr.values[p];
            st.h01[b] += abramov->habr.values[p];
          }
          if (rhosegn) st.rhosi01[b] += rhosegn->values[p];
        }
      }
    }
  }
  const double h1 = step_length(axes[0]), h2 = step_length(axes[1]), h3 = step_length(axes[2]);
  auto scale = [&](double x) { return ((x * h1) * h2) * h3; };
  for (int b = 0; b < 10; ++b) {
    st.rho01[b] = scale(st.rho01[b]);
    st.vol01[b] = scale(static_cast<double>(st.n01[b]));
    if (abramov) {
      st.g01[b] = scale(st.g01[b]);
      st.v01[b] = scale(st.v01[b]);
      st.h01[b] = scale(st.h01[b]);
    }
    if (rhosegn) st.rhosi01[b] = scale(st.rhosi01[b]);
  }
  return st;
}

}  // namespace qv
