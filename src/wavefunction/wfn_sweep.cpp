#include "wavefunction/wfn_sweep.hpp"

#include <algorithm>
#include <memory>

#include "parallel/parallel_for.hpp"
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
  if (on.density) grids.rho = make_grid_for_overwrite(nx, ny, nz, what);
  if (on.gradient) grids.grad = make_grid_for_overwrite(nx, ny, nz, what);
  if (on.laplacian) grids.lapl = make_grid_for_overwrite(nx, ny, nz, what);
  if (on.energy_densities) {
    grids.g = make_grid_for_overwrite(nx, ny, nz, what);
    grids.v = make_grid_for_overwrite(nx, ny, nz, what);
    grids.h = make_grid_for_overwrite(nx, ny, nz, what);
  }
  if (!on.any() || nx <= 0 || ny <= 0 || nz <= 0) return grids;

  // The y of every row and the z of every plane, accumulated as one thread would.
  std::vector<double> ys(static_cast<std::size_t>(ny)), zs(static_cast<std::size_t>(nz));
  double y = layout.origin[1];
  for (double& value : ys) {
    value = y;
    y += static_cast<double>(wfn.axes[1][1]);
  }
  double z = layout.origin[2];
  for (double& value : zs) {
    value = z;
    z += static_cast<double>(wfn.axes[2][2]);
  }

  // Rows are independent: each thread evaluates its rows with its own evaluator and buffers.
  struct RowScratch {
    RowScratch(const WfnRecord& rec, const std::vector<double>& xs, bool derivatives,
               const orbital_kernels::Table& kernels)
        : ev(rec, xs, derivatives, kernels),
          lap(static_cast<std::size_t>(ev.padded_points())),
          g(static_cast<std::size_t>(ev.padded_points())),
          v(static_cast<std::size_t>(ev.padded_points())),
          h(static_cast<std::size_t>(ev.padded_points())),
          scratch(static_cast<std::size_t>(ev.padded_points())) {}
    RowEvaluator ev;
    AlignedBuffer lap, g, v, h, scratch;
  };
  std::vector<std::unique_ptr<RowScratch>> per_thread(static_cast<std::size_t>(sweep_threads()));
  const double* po = rec.occupations.data();
  const int nmo = rec.orbital_count;
  const std::size_t row_len = static_cast<std::size_t>(nx);
  auto put = [&](Grid& grid, std::size_t offset, const double* row) {
    std::copy_n(row, row_len, grid.values.data() + offset);
  };

  const std::size_t rows = static_cast<std::size_t>(ny) * static_cast<std::size_t>(nz);
  parallel_chunks(rows, 1, [&](std::size_t first, std::size_t last, int slot) {
    auto& mine = per_thread[static_cast<std::size_t>(slot)];
    if (!mine) mine = std::make_unique<RowScratch>(rec, layout.xs, derivatives, kernels);
    RowEvaluator& ev = mine->ev;
    const int npad = ev.padded_points();
    const int ld = ev.stride();
    const int core = ev.core_columns();
    double* scratch = mine->scratch.data();
    double *lap = mine->lap.data(), *g = mine->g.data(), *v = mine->v.data(), *h = mine->h.data();
    for (std::size_t row = first; row < last; ++row) {
      const std::size_t iy = row % static_cast<std::size_t>(ny);
      const std::size_t iz = row / static_cast<std::size_t>(ny);
      const std::size_t offset = row_len * row;
      if (!derivatives) {
        ev.evaluate_orbitals(ys[iy], zs[iz]);
        kernels.density(ev.psi(0), ld, po, nmo, core, npad, scratch);
        put(grids.rho, offset, scratch);
        continue;
      }
      ev.evaluate_orbitals_with_derivatives(ys[iy], zs[iz]);
      if (on.density) {
        kernels.density(ev.psi(0), ld, po, nmo, core, npad, scratch);
        put(grids.rho, offset, scratch);
      }
      if (on.gradient) {
        kernels.gradient(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ld, po, nmo, core, npad,
                         scratch);
        put(grids.grad, offset, scratch);
      }
      if (on.laplacian || on.energy_densities) {
        kernels.laplacian_and_g(ev.psi(0), ev.gx(0), ev.gy(0), ev.gz(0), ev.d2(0), ld, po, nmo,
                                core, npad, lap, on.energy_densities ? g : nullptr);
        if (on.laplacian) put(grids.lapl, offset, lap);
      }
      if (on.energy_densities) {
        kernels.potential_and_total(lap, g, npad, v, h);
        put(grids.g, offset, g);
        put(grids.v, offset, v);
        put(grids.h, offset, h);
      }
    }
  });
  return grids;
}

}  // namespace qv
