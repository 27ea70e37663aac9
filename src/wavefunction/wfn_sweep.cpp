#include "wavefunction/wfn_sweep.hpp"

#include <algorithm>

#include "wavefunction/row_evaluator.hpp"

namespace qv {

WfnGridLayout wfn_grid_layout(const WfnSettings& wfn) {
  WfnGridLayout layout;
  const std::int32_t n[3] = {wfn.n_puntix, wfn.n_puntiy, wfn.n_puntiz};
  for (int a = 0; a < 3; ++a)
    layout.origin[a] = wfn.centre_wfn[a] -
                       static_cast<float>(n[a] - 1) * 0.5f * wfn.orient_matr[a][a];
  const float step = wfn.orient_matr[0][0];
  for (std::int32_t j = 0; j < wfn.n_puntix; ++j)
    layout.xs.push_back(static_cast<double>(static_cast<float>(j) * step + layout.origin[0]));
  return layout;
}

WfnGrids wfn_sweep(const WfnRecord& rec, const WfnSettings& wfn, const WfnGridLayout& layout,
                   const std::string& what, const orbital_kernels::Table& kernels) {
  const auto& on = wfn.wfn_risp;
  const bool derivatives = on[1] || on[2] || on[3];
  const std::int32_t nx = wfn.n_puntix, ny = wfn.n_puntiy, nz = wfn.n_puntiz;
  WfnGrids grids;
  if (on[0]) grids.rho = make_grid(nx, ny, nz, what);
  if (on[1]) grids.grad = make_grid(nx, ny, nz, what);
  if (on[2]) grids.lapl = make_grid(nx, ny, nz, what);
  if (on[3]) {
    grids.g = make_grid(nx, ny, nz, what);
    grids.v = make_grid(nx, ny, nz, what);
    grids.h = make_grid(nx, ny, nz, what);
  }
  if (!(on[0] || derivatives) || nx <= 0 || ny <= 0 || nz <= 0) return grids;

  RowEvaluator ev(rec, layout.xs, derivatives, kernels);
  const int npad = ev.padded_points();
  const int ld = ev.stride();
  const std::size_t n = static_cast<std::size_t>(npad);
  AlignedBuffer lap(n), g(n), v(n), h(n), scratch(n);
  const double* po = rec.po.data();
  const int nmo = rec.nmo;
  const int core = ev.core_columns();
  const std::size_t row_len = static_cast<std::size_t>(nx);
  auto put = [&](Grid& grid, std::size_t offset, const double* row) {
    std::copy_n(row, row_len, grid.values.data() + offset);
  };

  double z = layout.origin[2];
  for (std::int32_t iz = 0; iz < nz; ++iz) {
    double y = layout.origin[1];
    for (std::int32_t iy = 0; iy < ny; ++iy) {
      const std::size_t offset = row_len * (static_cast<std::size_t>(iy) +
                                            static_cast<std::size_t>(ny) * static_cast<std::size_t>(iz));
      if (!derivatives) {
        ev.rho_calc(y, z);
        kernels.density(ev.psi(0), ld, po, nmo, core, npad, scratch.data());
        put(grids.rho, offset, scratch.data());
      } else {
        ev.moderiv_calc(y, z);
        if (on[0]) {
          kernels.density(ev.psi(0), ld, po, nmo, core, npad, scratch.data());
          put(grids.rho, offset, scratch.data());
        }
        if (on[1]) {
          kernels.gradient(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ld, po, nmo, core, npad,
                           scratch.data());
          put(grids.grad, offset, scratch.data());
        }
        if (on[2] || on[3]) {
          kernels.laplacian_and_g(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ev.d2(0), ld, po, nmo,
                                  core, npad, lap.data(), on[3] ? g.data() : nullptr);
          if (on[2]) put(grids.lapl, offset, lap.data());
        }
        if (on[3]) {
          kernels.potential_and_total(lap.data(), g.data(), npad, v.data(), h.data());
          put(grids.g, offset, g.data());
          put(grids.v, offset, v.data());
          put(grids.h, offset, h.data());
        }
      }
      y += static_cast<double>(wfn.orient_matr[1][1]);
    }
    z += static_cast<double>(wfn.orient_matr[2][2]);
  }
  return grids;
}

}  // namespace qv
