#include "wavefunction/wfn_prop.hpp"

#include <memory>

#include "gridio/cube_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "wavefunction/promolecular_job.hpp"
#include "wavefunction/readwfn.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

namespace {

// The cube header of every WFN output: the grid box and the wavefunction's centres.
GridHeader wfn_cube_header(const WfnRecord& rec, const WfnSettings& wfn,
                           const WfnGridLayout& layout) {
  GridHeader h;
  h.natoms = rec.ncent;
  h.origin = layout.origin;
  h.n1 = wfn.n_puntix;
  h.n2 = wfn.n_puntiy;
  h.n3 = wfn.n_puntiz;
  h.axes = wfn.orient_matr;
  for (std::int32_t a = 0; a < rec.ncent; ++a) {
    h.atomic_numbers.push_back(static_cast<std::int32_t>(rec.charg[a]));  // toward zero
    h.atoms.push_back({static_cast<float>(rec.charg[a]), static_cast<float>(rec.xc[a]),
                       static_cast<float>(rec.yc[a]), static_cast<float>(rec.zc[a])});
  }
  return h;
}

}  // namespace

void write_wfn_cube(const GridHeader& header, Grid& grid, TextOutput& out) {
  cube_writing(header, grid, out);
  out.close();
  grid = Grid{};  // no longer read: give the memory back before the next file
}

bool wfn_prop(WfnSettings& wfn, RunOutput& out) {
  if (const GeometryFormat geometry = geometry_format_of(wfn.wfn_inpname);
      geometry != GeometryFormat::kNone)
    return run_promolecular_wfn_job(wfn, out, geometry);
  const WfnRecord rec = readwfn(wfn.wfn_inpname, out);
  wfn.bs_cutoff = 1.0e-10f;
  const WfnGridLayout layout = wfn_grid_layout(wfn);
  const std::string stem = trimmed(wfn.wfn_outname);
  const auto& on = wfn.wfn_risp;
  if (!(on[0] || on[1] || on[2] || on[3])) return true;

  WfnGrids grids = wfn_sweep(rec, wfn, layout, stem + " grids");
  const GridHeader header = wfn_cube_header(rec, wfn, layout);
  if (on[0]) write_wfn_cube(header, grids.rho, *TextOutput::create(stem + "_rho.cube"));
  if (on[1]) write_wfn_cube(header, grids.grad, *TextOutput::create(stem + "_gradrho.cube"));
  if (on[2]) write_wfn_cube(header, grids.lapl, *TextOutput::create(stem + "_laplrho.cube"));
  if (on[3]) {
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
