#include "wavefunction/wfn_job.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "gridio/cube_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "parallel/parallel_for.hpp"
#include "wavefunction/promolecular_job.hpp"
#include "wavefunction/sweep_memory.hpp"
#include "wavefunction/wavefunction_input.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

namespace {

// The cube header of a wavefunction's outputs: the grid box and the wavefunction's centres.
GridHeader wfn_cube_header(const WfnRecord& rec, const WfnSettings& wfn,
                           const WfnGridLayout& layout) {
  GridHeader h = wfn_box_header(wfn, layout);
  h.natoms = rec.centre_count;
  for (std::int32_t a = 0; a < rec.centre_count; ++a) {
    h.atomic_numbers.push_back(static_cast<std::int32_t>(rec.nuclear_charges[a]));  // toward zero
    h.atoms.push_back({static_cast<float>(rec.nuclear_charges[a]),
                       static_cast<float>(rec.centre_x[a]), static_cast<float>(rec.centre_y[a]),
                       static_cast<float>(rec.centre_z[a])});
  }
  return h;
}

// A density that is zero at every point of the grid, from a file that holds electrons, is
// almost always a grid placed away from the molecule (or a file that is not what it seems):
// the run log says so rather than leave cubes of zeros unexplained.
void warn_if_all_zero(const WfnGrids& grids, const WfnRecord& rec, const WfnSettings& wfn,
                      RunOutput& out) {
  double electrons = 0.0;
  for (double n : rec.occupations) electrons += n;
  if (!(electrons > 0.0) && rec.edf_count() == 0) return;
  bool any = false;
  for (const Grid* g : {&grids.rho, &grids.grad, &grids.lapl, &grids.g, &grids.v, &grids.h}) {
    if (g->empty()) continue;
    any = true;
    if (std::any_of(g->values.begin(), g->values.end(), [](double v) { return v != 0.0; })) return;
  }
  if (!any) return;
  char count[40];
  std::snprintf(count, sizeof count, "%.6f", electrons);
  out.to_log("WFN SECTION: WARNING: the density is zero at every grid point, although " +
             trimmed(wfn.wavefunction_file) + " holds " + count +
             " electrons in its orbitals: check CENTER, N_POINTS and STEPSIZE");
}

}  // namespace

void write_wfn_cube(const GridHeader& header, Grid& grid, TextOutput& out) {
  write_cube_file(header, grid, out);
  out.close();
  grid = Grid{};  // no longer read: give the memory back before the next file
}

GridHeader wfn_box_header(const WfnSettings& wfn, const WfnGridLayout& layout) {
  GridHeader h;
  h.origin = layout.origin;
  h.n1 = wfn.points_x;
  h.n2 = wfn.points_y;
  h.n3 = wfn.points_z;
  h.axes = wfn.axes;
  return h;
}

void write_density_cubes(const GridHeader& header, WfnGrids& grids, const WfnSettings& wfn) {
  const std::string stem = trimmed(wfn.output_stem);
  const WfnProperties& on = wfn.properties;
  if (on.density) write_wfn_cube(header, grids.rho, *TextOutput::create(stem + "_rho.cube"));
  if (on.gradient) write_wfn_cube(header, grids.grad, *TextOutput::create(stem + "_gradrho.cube"));
  if (on.laplacian) write_wfn_cube(header, grids.lapl, *TextOutput::create(stem + "_laplrho.cube"));
}

bool run_wfn_job(WfnSettings& wfn, RunOutput& out) {
  if (const WavefunctionFormat format = wavefunction_format(trimmed(wfn.wavefunction_file), {});
      is_geometry(format))
    return run_promolecular_wfn_job(wfn, out, format);
  WavefunctionFile file = read_wavefunction_file(wfn.wavefunction_file, out);
  const WfnRecord& rec = file.record;
  wfn.input_format = file.format;
  wfn.core_density_primitives = rec.edf_count();
  wfn.basis_cutoff = 1.0e-10f;
  const std::string stem = trimmed(wfn.output_stem);
  const WfnProperties& on = wfn.properties;
  if (!on.any()) return true;

  check_sweep_memory(rec, wfn, stem + " grids", sweep_threads());
  const WfnGridLayout layout = wfn_grid_layout(wfn);
  WfnGrids grids = wfn_sweep(rec, wfn, layout, stem + " grids");
  warn_if_all_zero(grids, rec, wfn, out);
  const GridHeader header = wfn_cube_header(rec, wfn, layout);
  write_density_cubes(header, grids, wfn);
  if (on.energy_densities) {
    // All three files exist before any is written.
    auto g = TextOutput::create(stem + "_G.cube");
    auto v = TextOutput::create(stem + "_V.cube");
    auto h = TextOutput::create(stem + "_H.cube");
    write_wfn_cube(header, grids.g, *g);
    write_wfn_cube(header, grids.v, *v);
    write_wfn_cube(header, grids.h, *h);
  }
  return true;
}

}  // namespace qv
