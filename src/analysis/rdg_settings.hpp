#pragma once
// Settings of the RDG job, filled by the RDG block of the input file, and the isosurface
// statistics that the job accumulates for the run summary.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gridio/fixed_text.hpp"

namespace qv {

struct RdgStatistics {
  std::array<std::int32_t, 10> n01{};  // points per RDG threshold
  std::array<double, 10> vol01{}, rho01{}, rhosi01{}, g01{}, v01{}, h01{};
};

struct RdgSettings {
  std::array<int, 3> inprdg_risp{};  // input format: XD2006 grd, GAUSSIAN cube, cube
  std::array<int, 4> calc_risp{};    // RDG, rho*sign(lambda2), Abramov energies, 2D plots
  std::string rhocube_inp = blank_text(35);
  std::string rhogrd_inp = blank_text(27);
  int grad_calc = 0, grad_read = 0;
  std::string gradcube_inp = blank_text(34);
  std::string gradgrd_inp = blank_text(26);
  int lapl_calc = 0, lapl_read = 0;
  std::string laplcube_inp = blank_text(34);
  std::string laplgrd_inp = blank_text(26);
  std::array<int, 3> rdg_risp{};  // all points, density window, rho*sign(lambda2) window
  std::array<float, 2> rhocutoff{};
  std::string rdg_outname = blank_text(30);
  std::array<int, 3> rdg_rispace{};  // none, around atoms, external
  float spacecutoff = 0.0f;
  int rhosign_points = 0;
  std::string rhosign_outname = blank_text(30);
  int e_points = 0;
  std::string e_outname = blank_text(30);
  std::array<int, 3> duedplot{};  // RDG vs density, RDG vs rho*sign(lambda2), unused
  std::string plot_name = blank_text(30);

  // Filled by the grd reader (density grd header lines, 80 characters each).
  std::vector<std::string> grd_intestaz;
  RdgStatistics stats;
};

}  // namespace qv
