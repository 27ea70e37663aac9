#include "wavefunction/wfn_job.hpp"

#include <memory>

#include "gridio/cube_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "wavefunction/wfn_reader.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

namespace {

// The cube header of every WFN output: the grid box and the wavefunction's centres.
GridHeader wfn_cube_header(const WfnRecord& rec, const WfnSettings& wfn,
                           const WfnGridLayout& layout) {
  GridHeader h;
  h.natoms = rec.ncent;
  h.origin = layout.origin;
  h.n1 = wfn.points_x;
  h.n2 = wfn.points_y;
  h.n3 = wfn.points_z;
  h.axes = wfn.axes;
  for (std::int32_t a = 0; a < rec.ncent; ++a) {
    h.atomic_numbers.push_back(static_cast<std::int32_t>(rec.charg[a]));  // toward zero
    h.atoms.push_back({static_cast<float>(rec.charg[a]), static_cast<float>(rec.xc[a]),
                       static_cast<float>(rec.yc[a]), static_cast<float>(rec.zc[a])});
  }
  return h;
}

void write_cube(const GridHeader& header, Grid& grid, TextOutput& out) {
  write_cube_file(header, grid, out);
  out.close();
  grid = Grid{};  // no longer read: give the memory back before the next file
}

}  // namespace

bool run_wfn_job(WfnSettings& wfn, RunOutput& out) {
  const WfnRecord rec = read_wfn_file(wfn.wavefunction_file, out);
  wfn.basis_cutoff = 1.0e-10f;
  const WfnGridLayout layout = wfn_grid_layout(wfn);
  const std::string stem = trimmed(wfn.output_stem);
  const WfnProperties& on = wfn.properties;
  if (!on.any()) return true;

  WfnGrids grids = wfn_sweep(rec, wfn, layout, stem + " grids");
  const GridHeader header = wfn_cube_header(rec, wfn, layout);
  if (on.density) write_cube(header, grids.rho, *TextOutput::create(stem + "_rho.cube"));
  if (on.gradient) write_cube(header, grids.grad, *TextOutput::create(stem + "_gradrho.cube"));
  if (on.laplacian) write_cube(header, grids.lapl, *TextOutput::create(stem + "_laplrho.cube"));
  if (on.energy_densities) {
    // All three files exist before any is written.
    auto g = TextOutput::create(stem + "_G.cube");
    auto v = TextOutput::create(stem + "_V.cube");
    auto h = TextOutput::create(stem + "_H.cube");
    write_cube(header, grids.g, *g);
    write_cube(header, grids.v, *v);
    write_cube(header, grids.h, *h);
  }
  return true;
}

}  // namespace qv
