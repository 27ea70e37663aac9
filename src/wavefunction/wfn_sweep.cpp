#include "wavefunction/wfn_sweep.hpp"

#include <algorithm>

#include "wavefunction/row_evaluator.hpp"

namespace qv {

WfnGridLayout wfn_grid_layout(const WfnSettings& wfn) {
  WfnGridLayout layout;
  const std::int32_t n[3] = {wfn.points_x, wfn.points_y, wfn.points_z};
  for (int a = 0; a < 3; ++a)
    layout.origin[a] = wfn.centre[a] -
                       static_cast<float>(n[a] - 1) * 0.5f * wfn.axes[a][a];
  const float step = wfn.axes[0][0];
  for (std::int32_t j = 0; j < wfn.points_x; ++j)
    layout.xs.push_back(static_cast<double>(static_cast<float>(j) * step + layout.origin[0]));
  return layout;
}

WfnGrids wfn_sweep(const WfnRecord& rec, const WfnSettings& wfn, const WfnGridLayout& layout,
                   const std::string& what, const orbital_kernels::Table& kernels) {
  const WfnProperties& on = wfn.properties;
  const bool derivatives = on.needs_derivatives();
  const std::int32_t nx = wfn.points_x, ny = wfn.points_y, nz = wfn.points_z;
  WfnGrids grids;
  if (on.density) grids.rho = make_grid(nx, ny, nz, what);
  if (on.gradient) grids.grad = make_grid(nx, ny, nz, what);
  if (on.laplacian) grids.lapl = make_grid(nx, ny, nz, what);
  if (on.energy_densities) {
    grids.g = make_grid(nx, ny, nz, what);
    grids.v = make_grid(nx, ny, nz, what);
    grids.h = make_grid(nx, ny, nz, what);
  }
  if (!on.any() || nx <= 0 || ny <= 0 || nz <= 0) return grids;

  RowEvaluator ev(rec, layout.xs, derivatives, kernels);
  const int npad = ev.padded_points();
  const int ld = ev.stride();
  const std::size_t n = static_cast<std::size_t>(npad);
  AlignedBuffer lap(n), g(n), v(n), h(n), scratch(n);
  const double* po = rec.po.data();
  const int nmo = rec.nmo;
  const std::size_t row_len = static_cast<std::size_t>(nx);
  auto put = [&](Grid& grid, std::size_t offset, const double* row) {
    std::copy_n(row, row_len, grid.values.data() + offset);
  };

  double z = layout.origin[2];
  for (std::int32_t iz = 0; iz < nz; ++iz) {
    double y = layout.origin[1];
    for (std::int32_t iy = 0; iy < ny; ++iy) {
      const std::size_t offset =
          row_len * (static_cast<std::size_t>(iy) +
                     static_cast<std::size_t>(ny) * static_cast<std::size_t>(iz));
      if (!derivatives) {
        ev.evaluate_orbitals(y, z);
        kernels.density(ev.psi(0), ld, po, nmo, npad, scratch.data());
        put(grids.rho, offset, scratch.data());
      } else {
        ev.evaluate_orbitals_with_derivatives(y, z);
        if (on.density) {
          kernels.density(ev.psi(0), ld, po, nmo, npad, scratch.data());
          put(grids.rho, offset, scratch.data());
        }
        if (on.gradient) {
          kernels.gradient(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ld, po, nmo, npad,
                           scratch.data());
          put(grids.grad, offset, scratch.data());
        }
        if (on.laplacian || on.energy_densities) {
          kernels.laplacian_and_g(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ev.d2(0), ld, po, nmo,
                                  npad, lap.data(), on.energy_densities ? g.data() : nullptr);
          if (on.laplacian) put(grids.lapl, offset, lap.data());
        }
        if (on.energy_densities) {
          kernels.potential_and_total(lap.data(), g.data(), npad, v.data(), h.data());
          put(grids.g, offset, g.data());
          put(grids.v, offset, v.data());
          put(grids.h, offset, h.data());
        }
      }
      y += static_cast<double>(wfn.axes[1][1]);
    }
    z += static_cast<double>(wfn.axes[2][2]);
  }
  return grids;
}

}  // namespace qv
