#pragma once
// The RDG job's choices as an input file, and the results and run-log summary they must give,
// worked out step by step from the job's rules over the model's grids.
#include <optional>
#include <string>
#include <vector>

#include "analysis/rdg_job_model.hpp"

namespace qv::e2e {

enum class Points { all, density, rhosign, none };
enum class Space { none, atom, extent, unset };

struct Choices {
  std::string format = "CUB";  // CUB, GAU or XD2
  bool rdg = true, rhosign = true, abramov = true, plots = true;
  std::string grad = "*calc", lapl = "*calc";  // markers on the GRAD= and LAPL= lines
  Points points = Points::all;
  float lower = 0.0f, upper = 0.0f;
  Space space = Space::none;
  float tolerance = 0.0f;
  bool rhosign_points = false, e_points = false;
  bool table_rho = true, table_rhosign = true;

  bool grad_calc() const { return grad.find("calc") != std::string::npos; }
  bool grad_read() const { return grad.find("read") != std::string::npos; }
  bool lapl_calc() const { return lapl.find("calc") != std::string::npos; }
  bool lapl_read() const { return lapl.find("read") != std::string::npos; }
  bool xd() const { return format == "XD2"; }
};

inline std::string input_text(const Choices& c) {
  std::string calc = "CALCULATING";
  if (c.rdg) calc += " *RDG";
  if (c.rhosign) calc += " *rho";
  if (c.abramov) calc += " *Abr";
  if (c.plots) calc += " *plo";
  const char* points[] = {" *all_p", " *rho_c", " *rhosi", ""};
  const char* space[] = {" *none", " *atom", " *exte", ""};
  char number[64];
  std::string t = "RDG job test\nOUTPUT_FILE_NAME run.log\nSECTIONS *RDG\n";
  t += "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\n";
  t += "INPUT  *" + c.format + "\n" + calc + "\n";
  t += "RHO_INPUT_CUBE   density.cube\nRHO_INPUT_GRD(XD only) density.grd\n";
  t += "GRAD= " + c.grad + "\nGRAD_INPUT_CUBE gradient.cube\nGRAD_INPUT_GRD(XD only) gradient.grd\n";
  t += "LAPL= " + c.lapl + "\nLAPL_INPUT_CUBE laplacian.cube\nLAPL_INPUT_GRD(XD only) laplacian.grd\n";
  t += std::string("RDG_CALCULATION") + points[static_cast<int>(c.points)] + "\n";
  std::snprintf(number, sizeof number, "LOWER_VALUE %.9g\nUPPER_VALUE %.9g\n", c.lower, c.upper);
  t += number;
  t += "RDG_OUTPUT  job_rdg\n";
  t += std::string("SPACE_CUTOFF") + space[static_cast<int>(c.space)] + "\n";
  std::snprintf(number, sizeof number, "TOLERANCE %.9g\n", c.tolerance);
  t += number;
  t += std::string("RHO_SIGN_CALCULATION") + (c.rhosign_points ? " *RDG_p" : "") + "\n";
  t += "RHO_SIGN_OUTPUT job_rhosign\n";
  t += std::string("ENERGY_CALCULATION") + (c.e_points ? " *RDG_p" : "") + "\n";
  t += "ENERGY_OUTPUT job_energy\n";
  t += std::string("2DPLOT") + (c.table_rho ? " *rho" : "") + (c.table_rhosign ? " *rhos" : "") +
       "\n";
  t += "PLOT_NAME   job_plot\n";
  return t;
}

struct Statistics {
  long n[10] = {};
  double vol[10] = {}, rho[10] = {}, rhosi[10] = {}, g[10] = {}, v[10] = {}, h[10] = {};
};

// What the job leaves: each grid as written to its file, and the grids the statistics use.
struct Results {
  std::optional<std::vector<double>> rdg_file, rhosign_file;
  std::vector<double> gabr, vabr, habr;
  std::optional<std::string> table_rho, table_rhosign;
  Statistics stats;
};

// rho*sign(lambda2) at the interior points whose mask is below 1.0E10; 0.0 elsewhere.
inline std::vector<double> rhosign_grid(const Model& m, const Derived& d,
                                        const std::vector<double>& mask) {
  std::vector<double> out(m.size(), 0.0);
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i) {
        const std::size_t p = m.at(i, j, k);
        if (!m.interior(i, j, k) || mask[p] >= kNotComputed) continue;
        out[p] = d.lambda2[p] < 0.0 ? -d.rho[p] : d.rho[p];
      }
  return out;
}

inline bool space_test(const Model& m, int i, int j, int k, Space space, float rc) {
  const auto p = position(m, i, j, k);
  if (space == Space::none) return true;
  if (space == Space::atom) {
    for (const Atom& a : m.atoms) {
      const float dx = p[0] - a.x, dy = p[1] - a.y, dz = p[2] - a.z;
      if (std::sqrt((dx * dx + dy * dy) + dz * dz) < rc) return true;
    }
    return false;
  }
  float lo[3] = {m.atoms[0].x, m.atoms[0].y, m.atoms[0].z}, hi[3] = {lo[0], lo[1], lo[2]};
  for (const Atom& a : m.atoms) {
    const float c[3] = {a.x, a.y, a.z};
    for (int q = 0; q < 3; ++q) lo[q] = std::min(lo[q], c[q]), hi[q] = std::max(hi[q], c[q]);
  }
  for (int q = 0; q < 3; ++q)
    if (!(lo[q] < p[q] + rc && p[q] - rc < hi[q])) return false;
  return true;
}

inline std::vector<double> rdg_grid(const Model& m, const Derived& d,
                                    const std::vector<double>& selection, float lower,
                                    float upper, Space space, float rc) {
  std::vector<double> out(m.size(), kNotComputed);
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i) {
        const std::size_t p = m.at(i, j, k);
        if (!(double{lower} < selection[p] && selection[p] < double{upper})) continue;
        if (!(d.rho[p] > 0.0) || !space_test(m, i, j, k, space, rc)) continue;
        out[p] = rdg_of(d.rho[p], d.grad[p]);
      }
  return out;
}

// RDG of a derived gradient is not reported on the rim (no gradient there): the marker instead.
inline std::vector<double> without_rim(const Model& m, std::vector<double> rdg) {
  for (int k = 0; k < m.n3; ++k)
    for (int j = 0; j < m.n2; ++j)
      for (int i = 0; i < m.n1; ++i)
        if (!m.interior(i, j, k)) rdg[m.at(i, j, k)] = kNotComputed;
  return rdg;
}

// The job's steps over grids of at least 5 points along every axis, gradient and laplacian
// available (read or derived) in `d`.
inline Results expected_results(const Model& m, const Derived& d, const Choices& c) {
  Results r;
  const std::vector<double> zero(m.size(), 0.0);
  auto rdg_grid = [&](const Model& m, const Derived& d, const std::vector<double>& selection,
                      float lower, float upper, Space space, float rc) {
    std::vector<double> rdg = e2e::rdg_grid(m, d, selection, lower, upper, space, rc);
    return c.grad_calc() ? without_rim(m, std::move(rdg)) : rdg;
  };
  std::optional<std::vector<double>> rdg, rhosign;
  if (c.rdg) {
    const float rc = c.space == Space::none ? 1000.0f : c.tolerance;
    if (c.points == Points::all) rdg = rdg_grid(m, d, zero, -1000.0f, 1000.0f, c.space, rc);
    if (c.points == Points::density) rdg = rdg_grid(m, d, d.rho, c.lower, c.upper, c.space, rc);
    if (c.points == Points::rhosign) {
      rhosign = rhosign_grid(m, d, zero);
      rdg = rdg_grid(m, d, *rhosign, c.lower, c.upper, c.space, rc);
    }
    r.rdg_file = rdg;
  }
  if (c.rhosign) {
    if (c.rhosign_points)
      rhosign = rhosign_grid(m, d, *rdg);
    else if (!(c.rdg && c.points == Points::rhosign))
      rhosign = rhosign_grid(m, d, zero);
    r.rhosign_file = rhosign;
  }
  if (c.abramov) {
    const std::vector<double>& mask = c.e_points ? *rdg : zero;
    r.gabr.assign(m.size(), 0.0);
    r.vabr.assign(m.size(), 0.0);
    r.habr.assign(m.size(), 0.0);
    for (std::size_t p = 0; p < m.size(); ++p) {
      if (mask[p] >= 1.0E9) continue;
      const Abramov a = abramov_of(d.rho[p], d.grad[p], d.lapl[p]);
      r.gabr[p] = a.g, r.vabr[p] = a.v, r.habr[p] = a.h;
    }
  }
  if (c.plots) {
    const bool keep_rdg = c.rdg && c.points == Points::all && c.space == Space::none;
    if (c.table_rho) {
      if (!keep_rdg) rdg = rdg_grid(m, d, zero, -1000.0f, 1000.0f, Space::none, 1000.0f);
      r.table_rho = table_text(m, "     rho         ", d.rho, *rdg);
    }
    if (c.table_rhosign) {
      const bool keep_rhosign = (c.rhosign && !c.rhosign_points) ||
                                (c.rdg && c.points == Points::rhosign);
      if (!keep_rhosign) rhosign = rhosign_grid(m, d, zero);
      if (!keep_rdg) rdg = rdg_grid(m, d, zero, -1000.0f, 1000.0f, Space::none, 1000.0f);
      r.table_rhosign = table_text(m, "rho*sign(lambda2)", *rhosign, *rdg);
    }
  }
  if (c.rdg) {
    Statistics& s = r.stats;
    for (int k = 2; k <= m.n3 - 3; ++k)
      for (int j = 2; j <= m.n2 - 3; ++j)
        for (int i = 2; i <= m.n1 - 3; ++i) {
          const std::size_t p = m.at(i, j, k);
          for (int b = 0; b < 10; ++b) {
            const double t = static_cast<double>(static_cast<float>(b + 1) * 0.1f);
            if (!(t > (*rdg)[p])) continue;
            ++s.n[b];
            s.rho[b] += d.rho[p];
            if (c.abramov) s.g[b] += r.gabr[p], s.v[b] += r.vabr[p], s.h[b] += r.habr[p];
            if (c.rhosign) s.rhosi[b] += (*rhosign)[p];
          }
        }
    const double h1 = m.step[0], h2 = m.step[1], h3 = m.step[2];
    auto scale = [&](double x) { return ((x * h1) * h2) * h3; };
    for (int b = 0; b < 10; ++b) {
      s.rho[b] = scale(s.rho[b]);
      s.vol[b] = scale(static_cast<double>(s.n[b]));
      s.g[b] = scale(s.g[b]), s.v[b] = scale(s.v[b]), s.h[b] = scale(s.h[b]);
      s.rhosi[b] = scale(s.rhosi[b]);
    }
  }
  return r;
}

// The run log's RDG summary, from its four empty opening lines to the end.
inline std::string summary_text(const Choices& c, const Statistics& s,
                                const std::string& range_line = "",
                                const std::string& space_line = "") {
  const std::string bang(61, '!');
  const std::string few =
      " (WARNING:if the input grid file has less than 5 points in any of the three cartesian ";
  std::string t = " \n \n \n \n " + bang + "\n !!!!!!!!!!RDG,RHO*(signL2) AND ABRAMOV S ENERGY" +
                  "!!!!!!!!!!!!!!\n " + bang + "\n \n \n";
  if (c.format == "XD2") t += " input grid files from XD2006\n";
  if (c.format == "GAU") t += " input cube files from GAUSSIAN\n";
  if (c.format == "CUB") t += " general cube file read as input\n";
  t += " \n \n density.cube   ED cube file read as input\n";
  if (c.xd()) t += " density.grd   XD2006 grd file read as input\n";
  if (c.grad_calc())
    t += " ED-gradient calcualted numerically and written in: \"grad_numerical.cube\"\n" + few +
         "directions, gradient cannot be calculated)\n \n";
  if (c.grad_read()) {
    t += " gradient.cube  ED-gradient cube file read as input\n";
    if (c.xd()) t += " gradient.grd   ED-gradient XD2006 grd file read as input\n";
    t += " \n";
  }
  if (c.lapl_calc())
    t += " ED-laplacian calcualted numerically and written in: \"lapl_numerical.cube\"\n" + few +
         "directions, gradient cannot be calculated)\n \n";
  if (c.lapl_read()) {
    // With "calc" marked too, the input never reads the laplacian file names.
    const std::string cube = c.lapl_calc() ? "" : "laplacian.cube";
    const std::string grd = c.lapl_calc() ? "" : "laplacian.grd";
    t += " " + cube + "  ED-laplacian cube file read as input\n";
    if (c.xd()) t += " " + grd + "   ED-laplacian XD2006 grd file read as input\n";
    t += " \n";
  }
  t += " \n \n \n";
  if (c.rdg) {
    if (c.points == Points::all) t += " RDG calculated for all the points of the grid file\n";
    if (c.points != Points::all) t += range_line;
    t += space_line;
    t += " \n RDG cube file to be written: job_rdg.cube\n";
    if (c.xd()) t += " RDG grd grid file to be written: job_rdg.grd\n";
  }
  t += " \n";
  if (c.rhosign) {
    t += c.rhosign_points
             ? " rho*sign(lambda2) calculated in the points where RDG has been calculated\n"
             : " rho*sign(lambda2) calculated in all the points of the cube\n";
    t += " \n rho*sign(lambda2) cube file to be written: job_rhosign.cube\n \n";
    if (c.xd()) t += " rho*sign(lambda2) cube file to be written: job_rhosign.grd\n";
    t += few + "directions, rho*sign(L2) cannot be calculated)\n";
  }
  t += " \n";
  if (c.abramov) {
    t += " \n";
    t += c.e_points ? " Abramov energy functional grid files calculated in the points where RDG "
                      "has been calculated\n"
                    : " Abramov energy functional grid files calculated in all the points of the "
                      "cube\n";
    t += " Abramov's energy functional cube files to be written: \n"
         " kinetic energy density:job_energy_Gabr.cube\n"
         " potential energy density:job_energy_Vabr.cube\n"
         " total energy density:job_energy_Habr.cube\n";
    if (c.xd())
      t += " Abramov's energy functional grd grid files to be written: \n"
           " kinetic energy density:job_energy_Gabr.grd\n"
           " potential energy density:job_energy_Vabr.grd\n"
           " total energy density:job_energy_Habr.grd\n";
  }
  if (c.plots)
    t += " RDG VS ED plot will be calculated and written on : job_plot_rho.2D\n"
         " RDG VS ED*sign(lambda2) plot will be calculated and written on: job_plot_rhosign.2D\n";
  if (!c.rdg) return t;
  t += "\n\n\n\n REDUCED DENSITY GRADIENT ISOSURFACES STATISTICS\n";
  t += "    RDG max    |   N. POINTS   |     VOLUME    |      RHO      |";
  if (c.rhosign) t += "    RHOSIGN    |";
  if (c.abramov) t += " ABR. KIN. EN. | ABR. POT. EN. | ABR. TOT. EN. |";
  t += " \n";
  const char* thresholds[] = {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"};
  for (int b = 0; b < 10; ++b) {
    t += std::string(7, ' ') + thresholds[b] + std::string(5, ' ') + "|" + int_field(s.n[b], 15) +
         "| " + es(s.vol[b], 14, 8) + "| " + es(s.rho[b], 14, 8) + "|";
    if (c.rhosign) t += " " + es(s.rhosi[b], 14, 7) + "|";
    if (c.abramov)
      t += " " + es(s.g[b], 14, 7) + "| " + es(s.v[b], 14, 7) + "| " + es(s.h[b], 14, 7) + "|";
    t += " \n";
  }
  return t;
}

}  // namespace qv::e2e
