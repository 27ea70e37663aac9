#include "analysis/rdg_calc.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {

namespace {

double rdg_value(double rho, double grad) {
  return finite_or(kRdgFactor * std::fabs(grad) / std::pow(rho, kRdgExponent), kNotComputed);
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
  Grid out = make_grid(rho.n1, rho.n2, rho.n3, "RDG grid", kNotComputed);
  const int mode = choice.space[0] ? 0 : choice.space[1] ? 1 : choice.space[2] ? 2 : -1;
  if (mode < 0) return out;
  const double lower = choice.lower, upper = choice.upper;  // widened to double
  const float rc = choice.cutoff;
  const ExtentBox box = extent_box(header);

  for (std::int32_t k = 0; k < rho.n3; ++k) {
    for (std::int32_t j = 0; j < rho.n2; ++j) {
      const std::size_t base = grid_index(rho, 0, j, k);
      const double* f = rho.values.data() + base;
      const double* g = grad.values.data() + base;
      const double* s = selection.values.data() + base;
      double* o = out.values.data() + base;
      for (std::int32_t i = 0; i < rho.n1; ++i) {
        if (!(lower < s[i] && s[i] < upper && f[i] > 0.0)) continue;
        if (mode == 1 && !near_some_atom(position(header, i, j, k), header, rc)) continue;
        if (mode == 2 && !inside_box(position(header, i, j, k), box, rc)) continue;
        o[i] = rdg_value(f[i], g[i]);
      }
    }
  }
  return out;
}

}  // namespace qv
