#include "analysis/rdg_job.hpp"

#include <memory>
#include <optional>
#include <string>

#include "analysis/abramov_calc.hpp"
#include "analysis/grid_axes.hpp"
#include "analysis/grid_rim.hpp"
#include "analysis/numerical_derivatives.hpp"
#include "analysis/plot_tables.hpp"
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
  RdgJob(RdgSettings& rdg_settings, RunOutput& output, const WfnCounts& counts)
      : settings(rdg_settings), out(output), wfn_counts(counts) {}

  RdgSettings& settings;
  RunOutput& out;
  WfnCounts wfn_counts;
  bool grd_input = false;
  CubeLayout layout = CubeLayout::general;
  // A numerically derived gradient has no value on the grid's rim: RDG is not reported there.
  bool gradient_derived = false;

  GridHeader reference;
  Grid rho;
  Grid zeros;
  std::optional<Grid> gradient, laplacian, rdg, rhosign;
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
  auto& header_lines = role == GridRole::density ? job.settings.grd_header_lines : discarded;
  return read_grid_file(*cube, grd.get(), job.layout, role, header_lines);
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
  write_cube_file(job.reference, grid, *file);
  file->close();
}

void write_grd(RdgJob& job, const std::string& name, const Grid& grid, GrdOutput role) {
  auto file = create_output(job, name);
  write_grd_file(grid, job.reference.natoms, job.settings.grd_header_lines, role, *file);
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
  Grid rdg = rdg_calc(job.rho, *job.gradient, selection, choice, job.reference);
  if (job.gradient_derived) fill_rim(rdg, kNotComputed);
  return rdg;
}

// Step 5: RDG at the chosen points.
void rdg_step(RdgJob& job) {
  const RdgSettings& s = job.settings;
  if (!job.gradient) {
    skip(job, "RDG not computed: no gradient grid (fewer than 5 points along an axis)");
    return;
  }
  RdgChoice choice;
  choice.space = s.space_cutoff;
  choice.cutoff = s.space_cutoff == SpaceCutoff::none ? 1000.0f : s.cutoff_distance;
  const Grid* selection = &job.zeros;
  if (s.point_selection == PointSelection::density_window ||
      s.point_selection == PointSelection::rhosign_window) {
    choice.lower = s.window_lower;
    choice.upper = s.window_upper;
  }
  if (s.point_selection == PointSelection::density_window) selection = &job.rho;
  if (s.point_selection == PointSelection::rhosign_window) {
    job.rhosign = rhosign_calc(job.rho, job.zeros, job.reference.axes);
    selection = &*job.rhosign;
  }
  job.rdg.reset();
  job.rdg = rdg_grid(job, *selection, choice);
  write_result(job, s.rdg_stem, "", *job.rdg, GrdOutput::rdg);
}

// Step 6: rho*sign(lambda2).
void rhosign_step(RdgJob& job) {
  const RdgSettings& s = job.settings;
  if (s.rhosign_on_rdg_points) {
    if (!job.rdg) {
      skip(job, "rho*sign(lambda2) not computed: it is asked for where RDG was computed, "
                "and RDG was not computed");
      return;
    }
    job.rhosign = rhosign_calc(job.rho, *job.rdg, job.reference.axes);
  } else if (!(s.point_selection == PointSelection::rhosign_window && job.rhosign)) {
    job.rhosign = rhosign_calc(job.rho, job.zeros, job.reference.axes);
  }
  write_result(job, s.rhosign_stem, "", *job.rhosign, GrdOutput::rhosign);
}

// Step 7: Abramov's energy densities.
void abramov_step(RdgJob& job) {
  const RdgSettings& s = job.settings;
  if (!job.gradient || !job.laplacian) {
    skip(job, "Abramov energy densities not computed: no gradient or laplacian grid (fewer "
              "than 5 points along an axis)");
    return;
  }
  const Grid* mask = &job.zeros;
  if (s.abramov_on_rdg_points) {
    if (!job.rdg) {
      skip(job, "Abramov energy densities not computed: they are asked for where RDG was "
                "computed, and RDG was not computed");
      return;
    }
    mask = &*job.rdg;
  }
  job.abramov = abramov_calc(job.rho, *job.gradient, *job.laplacian, *mask);
  const std::string stem = trimmed(s.abramov_stem);
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
  const RdgSettings& s = job.settings;
  if (s.computations.rdg && s.point_selection == PointSelection::all_points &&
      s.space_cutoff == SpaceCutoff::none && job.rdg)
    return true;
  if (!job.gradient) return false;
  job.rdg.reset();
  job.rdg = rdg_grid(job, job.zeros, all_points());
  return true;
}

void write_table(RdgJob& job, const std::string& name, const Grid& rdg, const Grid& first,
                 PlotTable table) {
  auto file = create_output(job, name);
  write_plot_table(rdg, first, table, *file);
  file->close();
}

// Step 8: the 2D plot tables.
void plot_step(RdgJob& job) {
  const RdgSettings& s = job.settings;
  const std::string stem = trimmed(s.plot_stem);
  const char* no_gradient = "no gradient grid (fewer than 5 points along an axis)";
  if (s.plot_tables.rdg_vs_density) {
    if (rdg_over_all_points(job))
      write_table(job, stem + "_rho.2D", *job.rdg, job.rho, PlotTable::rdg_vs_density);
    else
      skip(job, std::string("table of RDG against the density not written: ") + no_gradient);
  }
  if (s.plot_tables.rdg_vs_rhosign) {
    const bool keep_rhosign =
        (s.computations.rhosign && !s.rhosign_on_rdg_points) ||
        (s.computations.rdg && s.point_selection == PointSelection::rhosign_window);
    if (!keep_rhosign || !job.rhosign)
      job.rhosign = rhosign_calc(job.rho, job.zeros, job.reference.axes);
    if (rdg_over_all_points(job))
      write_table(job, stem + "_rhosign.2D", *job.rdg, *job.rhosign,
                  PlotTable::rdg_vs_rhosign);
    else
      skip(job, std::string("table of RDG against rho*sign(lambda2) not written: ") +
                    no_gradient);
  }
}

// RDG needs a point selection and a space cut-off; without them nothing can be computed.
void require_rdg_choices(const RdgSettings& s, RunOutput& out) {
  if (!s.computations.rdg) return;
  const char* missing = nullptr;
  if (s.point_selection == PointSelection::not_chosen)
    missing = "RDG SECTION: no point selection chosen on the RDG_CALCULATION line, PROGRAM STOP";
  else if (s.space_cutoff == SpaceCutoff::not_chosen)
    missing = "RDG SECTION: no space cutoff chosen on the SPACE_CUTOFF line, PROGRAM STOP";
  if (missing) {
    out.to_log(missing);
    program_stop(1);
  }
}

}  // namespace

bool run_rdg_job(RdgSettings& settings, const WfnCounts& wfn_counts, RunOutput& out) {
  require_rdg_choices(settings, out);
  RdgJob job(settings, out, wfn_counts);
  job.grd_input = grd_input(settings);
  job.layout = settings.input_format.value_or(CubeLayout::general);

  GridFile density = read_input(job, settings.density_cube, settings.density_grd, GridRole::density);
  job.reference = std::move(density.header);
  job.rho = std::move(density.grid);
  job.zeros = make_grid(job.rho.n1, job.rho.n2, job.rho.n3, trimmed(settings.density_cube));

  derivative_grid(job, settings.read_gradient, settings.derive_gradient, settings.gradient_cube,
                  settings.gradient_grd, GridRole::gradient, kGradientLabel, "grad_numerical.cube", job.gradient);
  // With "calc" marked the input names no laplacian file (its rows are not read), and the
  // derived grid would replace a read one anyway: nothing is read then.
  derivative_grid(job, settings.read_laplacian && !settings.derive_laplacian,
                  settings.derive_laplacian, settings.laplacian_cube, settings.laplacian_grd,
                  GridRole::laplacian, kLaplacianLabel, "lapl_numerical.cube", job.laplacian);

  if (settings.computations.rdg) rdg_step(job);
  if (settings.computations.rhosign && has_interior(job.rho)) rhosign_step(job);
  if (settings.computations.abramov) abramov_step(job);
  if (settings.computations.plots) plot_step(job);

  settings.stats = RdgStatistics{};
  if (settings.computations.rdg && job.rdg) {
    const bool rhosign = settings.computations.rhosign && job.rhosign;
    const bool abramov = settings.computations.abramov && job.abramov;
    settings.stats = rdg_statistics(&*job.rdg, job.rho, rhosign ? &*job.rhosign : nullptr,
                                    abramov ? &*job.abramov : nullptr, job.reference.axes);
  }
  return true;
}

}  // namespace qv
