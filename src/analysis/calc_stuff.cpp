#include "analysis/calc_stuff.hpp"

#include <memory>
#include <optional>
#include <string>

#include "analysis/abramov_calc.hpp"
#include "analysis/grid_axes.hpp"
#include "analysis/grid_rim.hpp"
#include "analysis/numerical_derivatives.hpp"
#include "analysis/plot.hpp"
#include "analysis/rdg_calc.hpp"
#include "analysis/rdg_statistics.hpp"
#include "analysis/rhosign_calc.hpp"
#include "gridio/check_cube.hpp"
#include "gridio/cube_reading.hpp"
#include "gridio/cube_writing.hpp"
#include "gridio/file_identity.hpp"
#include "gridio/open_input.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/grd_file.hpp"
#include "gridio/stop.hpp"

namespace qv {

namespace {

// Everything the job holds while it runs; every grid shares the density's shape.
struct RdgJob {
  RdgJob(RdgSettings& settings, RunOutput& output, const WfnCounts& counts)
      : rdg(settings), out(output), wfn_counts(counts) {}

  RdgSettings& rdg;
  RunOutput& out;
  WfnCounts wfn_counts;
  bool grd_input = false;
  CubeLayout layout = CubeLayout::general;
  // A numerically derived gradient has no value on the grid's rim: RDG is not reported there.
  bool gradient_derived = false;

  GridHeader reference;
  Grid rho;
  Grid zero_array;
  std::optional<Grid> grad_array, lapl_array, rdg_array, rhosegn_array;
  std::optional<AbramovGrids> abramov;
  std::vector<std::string> inputs;  // the files read, which no output may replace
};

// An input file of the job, opened as an existing file; a missing one ends the run with the
// name at its full field width.
std::unique_ptr<LineReader> open_input(RdgJob& job, const std::string& field) {
  job.inputs.push_back(trimmed(field));
  return open_input_or_stop(field, job.out);
}

GridFile read_input(RdgJob& job, const std::string& cube_name, const std::string& grd_name,
                    GridRole role) {
  auto cube = open_input(job, cube_name);
  std::unique_ptr<LineReader> grd;
  if (job.grd_input) grd = open_input(job, grd_name);
  std::vector<std::string> discarded;
  auto& intestaz = role == GridRole::density ? job.rdg.grd_intestaz : discarded;
  return cube_in_array(*cube, grd.get(), job.layout, role, intestaz);
}

// An output is never created over one of the job's input files: that would destroy the input.
std::unique_ptr<TextOutput> create_output(RdgJob& job, const std::string& name) {
  for (const std::string& input : job.inputs) {
    if (!same_existing_file(name, input)) continue;
    job.out.to_log("RDG SECTION: the output file " + name + " would overwrite the input file " +
                   input + ", PROGRAM STOP");
    program_stop(1);
  }
  return TextOutput::create(name);
}

void write_cube(RdgJob& job, const std::string& name, const Grid& grid) {
  auto file = create_output(job, name);
  cube_writing(job.reference, grid, *file);
  file->close();
}

void write_grd(RdgJob& job, const std::string& name, const Grid& grid, GrdOutput role) {
  auto file = create_output(job, name);
  grd_writing(grid, job.reference.natoms, job.rdg.grd_intestaz, role, *file);
  file->close();
}

// A result grid as a cube file and, for grd input, as a grd file too.
void write_result(RdgJob& job, const std::string& stem, const std::string& suffix,
                  const Grid& grid, GrdOutput role) {
  write_cube(job, trimmed(stem) + suffix + ".cube", grid);
  if (job.grd_input) write_grd(job, trimmed(stem) + suffix + ".grd", grid, role);
}

void skip(RdgJob& job, const std::string& what) {
  job.out.to_log("RDG SECTION: " + what);
}

// Steps 3 and 4: a derivative grid read from files and checked, then derived when asked.
void derivative_grid(RdgJob& job, bool read, bool calc, const std::string& cube_name,
                     const std::string& grd_name, GridRole role, std::string_view label,
                     const char* numerical_name, std::optional<Grid>& target) {
  if (read) {
    target.reset();
    GridFile fresh = read_input(job, cube_name, grd_name, role);
    check_cube(fresh.header, job.reference, label, job.wfn_counts, job.out);
    target = std::move(fresh.grid);
  }
  if (calc && has_interior(job.rho)) {
    target.reset();
    target = role == GridRole::gradient ? numerical_gradient(job.rho, job.reference.axes)
                                        : numerical_laplacian(job.rho, job.reference.axes);
    if (role == GridRole::gradient) job.gradient_derived = true;
    write_cube(job, numerical_name, *target);
  }
}

RdgChoice all_points() { return RdgChoice{}; }

// RDG at the chosen points; on the rim of a derived gradient the marker of points not computed.
Grid rdg_grid(const RdgJob& job, const Grid& selection, const RdgChoice& choice) {
  Grid rdg = rdg_calc(job.rho, *job.grad_array, selection, choice, job.reference);
  if (job.gradient_derived) fill_rim(rdg, kNotComputed);
  return rdg;
}

// Step 5: RDG at the chosen points.
void rdg_step(RdgJob& job) {
  const RdgSettings& s = job.rdg;
  if (!job.grad_array) {
    skip(job, "RDG not computed: no gradient grid (fewer than 5 points along an axis)");
    return;
  }
  RdgChoice choice;
  choice.space = s.rdg_rispace;
  choice.cutoff = s.rdg_rispace[0] ? 1000.0f : s.spacecutoff;
  const Grid* selection = &job.zero_array;
  if (s.rdg_risp[1] || s.rdg_risp[2]) {
    choice.lower = s.rhocutoff[0];
    choice.upper = s.rhocutoff[1];
  }
  if (s.rdg_risp[1]) selection = &job.rho;
  if (s.rdg_risp[2]) {
    job.rhosegn_array = rhosign_calc(job.rho, job.zero_array, job.reference.axes);
    selection = &*job.rhosegn_array;
  }
  job.rdg_array.reset();
  job.rdg_array = rdg_grid(job, *selection, choice);
  write_result(job, s.rdg_outname, "", *job.rdg_array, GrdOutput::rdg);
}

// Step 6: rho*sign(lambda2).
void rhosign_step(RdgJob& job) {
  const RdgSettings& s = job.rdg;
  if (s.rhosign_points) {
    if (!job.rdg_array) {
      skip(job, "rho*sign(lambda2) not computed: it is asked for where RDG was computed, "
                "and RDG was not computed");
      return;
    }
    job.rhosegn_array = rhosign_calc(job.rho, *job.rdg_array, job.reference.axes);
  } else if (!(s.rdg_risp[2] && job.rhosegn_array)) {
    job.rhosegn_array = rhosign_calc(job.rho, job.zero_array, job.reference.axes);
  }
  write_result(job, s.rhosign_outname, "", *job.rhosegn_array, GrdOutput::rhosign);
}

// Step 7: Abramov's energy densities.
void abramov_step(RdgJob& job) {
  const RdgSettings& s = job.rdg;
  if (!job.grad_array || !job.lapl_array) {
    skip(job, "Abramov energy densities not computed: no gradient or laplacian grid (fewer "
              "than 5 points along an axis)");
    return;
  }
  const Grid* mask = &job.zero_array;
  if (s.e_points) {
    if (!job.rdg_array) {
      skip(job, "Abramov energy densities not computed: they are asked for where RDG was "
                "computed, and RDG was not computed");
      return;
    }
    mask = &*job.rdg_array;
  }
  job.abramov = abramov_calc(job.rho, *job.grad_array, *job.lapl_array, *mask);
  const std::string stem = trimmed(s.e_outname);
  write_cube(job, stem + "_Gabr.cube", job.abramov->gabr);
  write_cube(job, stem + "_Vabr.cube", job.abramov->vabr);
  write_cube(job, stem + "_Habr.cube", job.abramov->habr);
  if (job.grd_input) {
    write_grd(job, stem + "_Gabr.grd", job.abramov->gabr, GrdOutput::abramov_g);
    write_grd(job, stem + "_Vabr.grd", job.abramov->vabr, GrdOutput::abramov_v);
    write_grd(job, stem + "_Habr.grd", job.abramov->habr, GrdOutput::abramov_h);
  }
}

// RDG over all points for the plot tables, unless step 5 already computed exactly that.
bool rdg_over_all_points(RdgJob& job) {
  const RdgSettings& s = job.rdg;
  if (s.calc_risp[0] && s.rdg_risp[0] && s.rdg_rispace[0] && job.rdg_array) return true;
  if (!job.grad_array) return false;
  job.rdg_array.reset();
  job.rdg_array = rdg_grid(job, job.zero_array, all_points());
  return true;
}

void write_table(RdgJob& job, const std::string& name, const Grid& rdg_array, const Grid& first,
                 int unit) {
  auto file = create_output(job, name);
  plot(rdg_array, first, unit, *file);
  file->close();
}

// Step 8: the 2D plot tables.
void plot_step(RdgJob& job) {
  const RdgSettings& s = job.rdg;
  const std::string stem = trimmed(s.plot_name);
  const char* no_gradient = "no gradient grid (fewer than 5 points along an axis)";
  if (s.duedplot[0]) {
    if (rdg_over_all_points(job))
      write_table(job, stem + "_rho.2D", *job.rdg_array, job.rho, kPlotRhoUnit);
    else
      skip(job, std::string("table of RDG against the density not written: ") + no_gradient);
  }
  if (s.duedplot[1]) {
    const bool keep_rhosign = (s.calc_risp[1] && !s.rhosign_points) ||
                              (s.calc_risp[0] && s.rdg_risp[2]);
    if (!keep_rhosign || !job.rhosegn_array)
      job.rhosegn_array = rhosign_calc(job.rho, job.zero_array, job.reference.axes);
    if (rdg_over_all_points(job))
      write_table(job, stem + "_rhosign.2D", *job.rdg_array, *job.rhosegn_array, kPlotRhosignUnit);
    else
      skip(job, std::string("table of RDG against rho*sign(lambda2) not written: ") +
                    no_gradient);
  }
}

// RDG needs a point selection and a space cut-off; without them nothing can be computed.
void require_rdg_choices(const RdgSettings& s, RunOutput& out) {
  if (!s.calc_risp[0]) return;
  const char* missing = nullptr;
  if (!s.rdg_risp[0] && !s.rdg_risp[1] && !s.rdg_risp[2])
    missing = "RDG SECTION: no point selection chosen on the RDG_CALCULATION line, PROGRAM STOP";
  else if (!s.rdg_rispace[0] && !s.rdg_rispace[1] && !s.rdg_rispace[2])
    missing = "RDG SECTION: no space cutoff chosen on the SPACE_CUTOFF line, PROGRAM STOP";
  if (missing) {
    out.to_log(missing);
    program_stop(1);
  }
}

}  // namespace

bool calc_stuff(RdgSettings& rdg, const WfnSettings& wfn, RunOutput& out) {
  require_rdg_choices(rdg, out);
  RdgJob job(rdg, out, WfnCounts{wfn.n_puntix, wfn.n_puntiy, wfn.n_puntiz});
  job.grd_input = rdg.inprdg_risp[0] != 0;
  job.layout = cube_layout(rdg.inprdg_risp);

  GridFile density = read_input(job, rdg.rhocube_inp, rdg.rhogrd_inp, GridRole::density);
  job.reference = std::move(density.header);
  job.rho = std::move(density.grid);
  job.zero_array = make_grid(job.rho.n1, job.rho.n2, job.rho.n3, trimmed(rdg.rhocube_inp));

  derivative_grid(job, rdg.grad_read, rdg.grad_calc, rdg.gradcube_inp, rdg.gradgrd_inp,
                  GridRole::gradient, kGradientLabel, "grad_numerical.cube", job.grad_array);
  // With "calc" marked the input names no laplacian file (its rows are not read), and the
  // derived grid would replace a read one anyway: nothing is read then.
  derivative_grid(job, rdg.lapl_read && !rdg.lapl_calc, rdg.lapl_calc, rdg.laplcube_inp,
                  rdg.laplgrd_inp,
                  GridRole::laplacian, kLaplacianLabel, "lapl_numerical.cube", job.lapl_array);

  if (rdg.calc_risp[0]) rdg_step(job);
  if (rdg.calc_risp[1] && has_interior(job.rho)) rhosign_step(job);
  if (rdg.calc_risp[2]) abramov_step(job);
  if (rdg.calc_risp[3]) plot_step(job);

  rdg.stats = RdgStatistics{};
  if (rdg.calc_risp[0] && job.rdg_array) {
    rdg.stats = rdg_statistics(&*job.rdg_array, job.rho,
                               rdg.calc_risp[1] && job.rhosegn_array ? &*job.rhosegn_array : nullptr,
                               rdg.calc_risp[2] && job.abramov ? &*job.abramov : nullptr,
                               job.reference.axes);
  }
  return true;
}

}  // namespace qv
