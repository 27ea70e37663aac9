#pragma once
// Settings of the RDG job, filled by the RDG block of the input file, and the isosurface
// statistics that the job accumulates for the run summary.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gridio/cube_reading.hpp"
#include "gridio/fixed_text.hpp"

namespace qv {

// Per RDG threshold 0.1 ... 1.0: what the isosurface encloses.
struct RdgStatistics {
  std::array<std::int32_t, 10> points{};
  std::array<double, 10> volume{}, rho_integral{}, rhosign_integral{}, g_integral{}, v_integral{},
      h_integral{};
};

// The computations marked on the CALCULATING line.
struct RdgComputations {
  bool rdg = false;
  bool rhosign = false;  // rho*sign(lambda2)
  bool abramov = false;  // Abramov's kinetic, potential and total energy densities
  bool plots = false;    // the 2D plot tables

  bool operator==(const RdgComputations&) const = default;
};

// Which points get an RDG value, as marked on the RDG_CALCULATION line.
enum class PointSelection {
  not_chosen,
  all_points,
  density_window,  // the density strictly inside the window
  rhosign_window,  // rho*sign(lambda2) strictly inside the window
};

// The space cut-off marked on the SPACE_CUTOFF line.
enum class SpaceCutoff {
  not_chosen,  // no point at all is chosen
  none,        // every point
  near_atoms,  // within the cut-off distance of some atom
  atom_box,    // inside the atoms' extent box widened by the cut-off distance
};

// The 2D plot tables marked on the 2DPLOT line.
struct PlotTables {
  bool rdg_vs_density = false;
  bool rdg_vs_rhosign = false;

  bool operator==(const PlotTables&) const = default;
};

struct RdgSettings {
  // Marked on the INPUT line; none marked reads the cubes as general ones.
  std::optional<CubeLayout> input_format;
  RdgComputations computations;
  std::string density_cube = blank_text(35);
  std::string density_grd = blank_text(27);
  bool derive_gradient = false, read_gradient = false;
  std::string gradient_cube = blank_text(34);
  std::string gradient_grd = blank_text(26);
  bool derive_laplacian = false, read_laplacian = false;
  std::string laplacian_cube = blank_text(34);
  std::string laplacian_grd = blank_text(26);
  PointSelection point_selection = PointSelection::not_chosen;
  float window_lower = 0.0f, window_upper = 0.0f;  // bounds of the selection window
  std::string rdg_stem = blank_text(30);
  SpaceCutoff space_cutoff = SpaceCutoff::not_chosen;
  float cutoff_distance = 0.0f;  // bohr
  bool rhosign_on_rdg_points = false;  // else over all points
  std::string rhosign_stem = blank_text(30);
  bool abramov_on_rdg_points = false;  // else over all points
  std::string abramov_stem = blank_text(30);
  PlotTables plot_tables;
  std::string plot_stem = blank_text(30);

  // Filled by the grd reader (density grd header lines, 80 characters each).
  std::vector<std::string> grd_header_lines;
  RdgStatistics stats;
};

// Whether the grids come from grd files (with cube files for their headers).
inline bool grd_input(const RdgSettings& rdg) { return rdg.input_format == CubeLayout::xd2006; }

}  // namespace qv
