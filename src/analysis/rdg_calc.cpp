#include "analysis/rdg_calc.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/power_kernels.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

namespace {

constexpr std::int32_t kChunk = 1024;  // points of a row whose powers are taken together

// rho_power is rho^1.3333333730697632, taken beforehand for a whole chunk.
double rdg_value(double rho_power, double grad) {
  return finite_or(kRdgFactor * std::fabs(grad) / rho_power, kNotComputed);
}

// Position of point (i1, i2, i3), counted from 0, in single precision, summed in axis order.
std::array<float, 3> position(const GridHeader& h, std::int32_t i1, std::int32_t i2,
                              std::int32_t i3) {
  std::array<float, 3> p{};
  for (int c = 0; c < 3; ++c)
    p[c] = ((h.origin[c] + static_cast<float>(i1) * h.axes[0][c]) +
            static_cast<float>(i2) * h.axes[1][c]) +
           static_cast<float>(i3) * h.axes[2][c];
  return p;
}

// Some atom closer than r_c (strict); atoms in table order, the first hit decides.
bool near_some_atom(const std::array<float, 3>& p, const GridHeader& h, float rc) {
  for (const auto& atom : h.atoms) {
    const float dx = p[0] - atom[1], dy = p[1] - atom[2], dz = p[2] - atom[3];
    if (std::sqrt((dx * dx + dy * dy) + dz * dz) < rc) return true;
  }
  return false;
}

struct ExtentBox {
  std::array<float, 3> low{}, high{};
  bool exists = false;
};

ExtentBox extent_box(const GridHeader& h) {
  ExtentBox box;
  if (h.atoms.empty()) return box;
  box.exists = true;
  box.low = box.high = {h.atoms[0][1], h.atoms[0][2], h.atoms[0][3]};
  for (const auto& atom : h.atoms) {
    for (int c = 0; c < 3; ++c) {
      box.low[c] = std::min(box.low[c], atom[c + 1]);
      box.high[c] = std::max(box.high[c], atom[c + 1]);
    }
  }
  return box;
}

bool inside_box(const std::array<float, 3>& p, const ExtentBox& box, float rc) {
  if (!box.exists) return false;
  for (int c = 0; c < 3; ++c)
    if (!(box.low[c] < p[c] + rc && p[c] - rc < box.high[c])) return false;
  return true;
}

}  // namespace

Grid rdg_calc(const Grid& rho, const Grid& grad, const Grid& selection, const RdgChoice& choice,
              const GridHeader& header) {
  const int mode = choice.space[0] ? 0 : choice.space[1] ? 1 : choice.space[2] ? 2 : -1;
  if (mode < 0) return make_grid(rho.n1, rho.n2, rho.n3, "RDG grid", kNotComputed);
  Grid out = make_grid_for_overwrite(rho.n1, rho.n2, rho.n3, "RDG grid");
  const double lower = choice.lower, upper = choice.upper;  // widened to double
  const float rc = choice.cutoff;
  const ExtentBox box = extent_box(header);
  const std::size_t rows = static_cast<std::size_t>(rho.n2) * static_cast<std::size_t>(rho.n3);
  parallel_for(rows, rows_per_chunk(rho.n1), [&](std::size_t first_row, std::size_t last_row) {
    double rho_power[kChunk], packed[kChunk];
    std::int32_t chosen_at[kChunk];
    for (std::size_t row = first_row; row < last_row; ++row) {
      const std::int32_t j = static_cast<std::int32_t>(row % static_cast<std::size_t>(rho.n2));
      const std::int32_t k = static_cast<std::int32_t>(row / static_cast<std::size_t>(rho.n2));
      for (std::int32_t i0 = 0; i0 < rho.n1; i0 += kChunk) {
        const std::int32_t len = std::min(kChunk, rho.n1 - i0);
        const std::size_t base = grid_index(rho, i0, j, k);
        const double* f = rho.values.data() + base;
        const double* g = grad.values.data() + base;
        const double* s = selection.values.data() + base;
        double* o = out.values.data() + base;
        if (mode == 0) {
          // Powers for the whole chunk, then a loop without branches, so that it vectorises.
          pow_array(f, kRdgExponent, rho_power, static_cast<std::size_t>(len));
          for (std::int32_t i = 0; i < len; ++i) {
            const bool chosen = lower < s[i] && s[i] < upper && f[i] > 0.0;
            o[i] = chosen ? rdg_value(rho_power[i], g[i]) : kNotComputed;
          }
          continue;
        }
        // A space cut-off usually leaves few points: powers only for those, packed together.
        std::int32_t count = 0;
        for (std::int32_t i = 0; i < len; ++i) {
          o[i] = kNotComputed;
          bool chosen = lower < s[i] && s[i] < upper && f[i] > 0.0;
          if (chosen && mode == 1)
            chosen = near_some_atom(position(header, i0 + i, j, k), header, rc);
          if (chosen && mode == 2) chosen = inside_box(position(header, i0 + i, j, k), box, rc);
          if (chosen) {
            chosen_at[count] = i;
            packed[count++] = f[i];
          }
        }
        pow_array(packed, kRdgExponent, rho_power, static_cast<std::size_t>(count));
        for (std::int32_t c = 0; c < count; ++c)
          o[chosen_at[c]] = rdg_value(rho_power[c], g[chosen_at[c]]);
      }
    }
  });
  return out;
}

}  // namespace qv
