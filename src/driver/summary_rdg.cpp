#include <string>

#include "driver/run_summary.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/format.hpp"
#include "gridio/list_directed.hpp"

namespace qv {

namespace {

const char* const kBang61 = "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!";
const char* const kFewPoints =
    "(WARNING:if the input grid file has less than 5 points in any of the three cartesian ";

void line(TextOutput& log, const ListLine& l) { l.write_to(log); }
void text(TextOutput& log, std::string_view a) { ListLine().text(a).write_to(log); }
void text(TextOutput& log, std::string_view a, std::string_view b) {
  ListLine().text(a).text(b).write_to(log);
}
void text(TextOutput& log, std::string_view a, std::string_view b, std::string_view c) {
  ListLine().text(a).text(b).text(c).write_to(log);
}
void empty(TextOutput& log, int n = 1) {
  for (int i = 0; i < n; ++i) ListLine().write_to(log);
}

void inputs(const RdgSettings& s, TextOutput& log) {
  const bool xd = grd_input(s);
  if (s.input_format == CubeLayout::xd2006) text(log, "input grid files from XD2006");
  if (s.input_format == CubeLayout::gaussian) text(log, "input cube files from GAUSSIAN");
  if (s.input_format == CubeLayout::general) text(log, "general cube file read as input");
  empty(log, 2);
  text(log, trimmed(s.density_cube), "   ED cube file read as input");
  if (xd) text(log, trimmed(s.density_grd), "   XD2006 grd file read as input");
  if (s.derive_gradient) {
    text(log, "ED-gradient calcualted numerically and written in: ", "\"grad_numerical.cube\"");
    text(log, kFewPoints, "directions, gradient cannot be calculated)");
    empty(log);
  }
  if (s.read_gradient) {
    text(log, trimmed(s.gradient_cube), "  ED-gradient cube file read as input");
    if (xd) text(log, trimmed(s.gradient_grd), "   ED-gradient XD2006 grd file read as input");
    empty(log);
  }
  if (s.derive_laplacian) {
    text(log, "ED-laplacian calcualted numerically and written in: ", "\"lapl_numerical.cube\"");
    text(log, kFewPoints, "directions, gradient cannot be calculated)");
    empty(log);
  }
  if (s.read_laplacian) {
    text(log, trimmed(s.laplacian_cube), "  ED-laplacian cube file read as input");
    if (xd) text(log, trimmed(s.laplacian_grd), "   ED-laplacian XD2006 grd file read as input");
    empty(log);
  }
  empty(log, 3);
}

void requested_computations(const RdgSettings& s, TextOutput& log) {
  const bool xd = grd_input(s);
  if (s.computations.rdg) {
    if (s.point_selection == PointSelection::all_points)
      text(log, "RDG calculated for all the points of the grid file");
    if (s.point_selection == PointSelection::density_window)
      line(log,
           ListLine()
               .text("RDG calculated for the points of the grid files having ED in the range: ")
               .r4(s.window_lower)
               .text("-")
               .r4(s.window_upper));
    if (s.point_selection == PointSelection::rhosign_window)
      line(log, ListLine()
                    .text("RDG calculated for the points of the grid files having ED*sign(lambda2) "
                          "in the range")
                    .r4(s.window_lower).text("-").r4(s.window_upper));
    if (s.space_cutoff == SpaceCutoff::near_atoms)
      line(log, ListLine()
                    .text("space cutoff: points having a distance greater than ")
                    .r4(s.cutoff_distance).text("a.u. from every atoms are not considered"));
    if (s.space_cutoff == SpaceCutoff::atom_box)
      line(log, ListLine()
                    .text("space cutoff: points lying outside the most external")
                    .text(" atomic coordinates more than")
                    .r4(s.cutoff_distance).text("a.u. are not considered"));
    empty(log);
    text(log, "RDG cube file to be written: ", trimmed(s.rdg_stem), ".cube");
    if (xd) text(log, "RDG grd grid file to be written: ", trimmed(s.rdg_stem), ".grd");
  }
  empty(log);
  if (s.computations.rhosign) {
    text(log, s.rhosign_on_rdg_points
                  ? "rho*sign(lambda2) calculated in the points where RDG has been calculated"
                  : "rho*sign(lambda2) calculated in all the points of the cube");
    empty(log);
    text(log, "rho*sign(lambda2) cube file to be written: ", trimmed(s.rhosign_stem), ".cube");
    empty(log);
    if (xd)
      text(log, "rho*sign(lambda2) cube file to be written: ", trimmed(s.rhosign_stem), ".grd");
    text(log, kFewPoints, "directions, rho*sign(L2) cannot be calculated)");
  }
  empty(log);
  if (s.computations.abramov) {
    empty(log);
    text(log, s.abramov_on_rdg_points
                  ? "Abramov energy functional grid files calculated in the points where "
                    "RDG has been calculated"
                  : "Abramov energy functional grid files calculated in all the points of "
                    "the cube");
    const std::string stem = trimmed(s.abramov_stem);
    text(log, "Abramov's energy functional cube files to be written: ");
    text(log, "kinetic energy density:", stem, "_Gabr.cube");
    text(log, "potential energy density:", stem, "_Vabr.cube");
    text(log, "total energy density:", stem, "_Habr.cube");
    if (xd) {
      text(log, "Abramov's energy functional grd grid files to be written: ");
      text(log, "kinetic energy density:", stem, "_Gabr.grd");
      text(log, "potential energy density:", stem, "_Vabr.grd");
      text(log, "total energy density:", stem, "_Habr.grd");
    }
  }
  if (s.computations.plots) {
    text(log, "RDG VS ED plot will be calculated and written on : ", trimmed(s.plot_stem),
         "_rho.2D");
    text(log, "RDG VS ED*sign(lambda2) plot will be calculated and written on: ",
         trimmed(s.plot_stem), "_rhosign.2D");
  }
}

// The table of the ten RDG isosurfaces; every column is 16 characters wide with its '|'.
void statistics_table(const RdgSettings& s, TextOutput& log) {
  static const Format four_empty("(3/)");
  static const Format a64("(A64)"), a16("(A16)"), a36("(A36)"), a12("(A12)");
  static const Format base_row("(7X,F3.1,5X,A1,I15,A1,2(1X,ES14.8,A1))");
  static const Format rhosign_cell("(1X,ES14.7,A1)");
  static const Format abramov_cells("(3(1X,ES14.7,A1))");
  const bool rhosign = s.computations.rhosign, abramov = s.computations.abramov;

  four_empty.write(log, {});
  text(log, "REDUCED DENSITY GRADIENT ISOSURFACES STATISTICS");
  const OutItem head[] = {"    RDG max    |   N. POINTS   |     VOLUME    |      RHO      |"};
  a64.write(log, head, false);
  if (rhosign) {
    const OutItem cell[] = {"    RHOSIGN    |"};
    a16.write(log, cell, false);
  }
  if (abramov) {
    const OutItem first[] = {" ABR. KIN. EN. | ABR. POT. EN. | ABR"};
    const OutItem last[] = {". TOT. EN. |"};
    a36.write(log, first, false);
    a12.write(log, last, false);
  }
  empty(log);
  const RdgStatistics& st = s.stats;
  for (int b = 0; b < 10; ++b) {
    const float threshold = static_cast<float>(b + 1) * 0.1f;  // formed in single precision
    const OutItem row[] = {static_cast<double>(threshold), "|", std::int64_t{st.points[b]}, "|",
                           st.volume[b], "|", st.rho_integral[b], "|"};
    base_row.write(log, row, false);
    if (rhosign) {
      const OutItem cell[] = {st.rhosign_integral[b], "|"};
      rhosign_cell.write(log, cell, false);
    }
    if (abramov) {
      const OutItem cells[] = {st.g_integral[b], "|", st.v_integral[b], "|", st.h_integral[b], "|"};
      abramov_cells.write(log, cells, false);
    }
    empty(log);
  }
}

}  // namespace

void write_rdg_summary(const RdgSettings& s, TextOutput& log) {
  empty(log, 4);
  text(log, kBang61);
  text(log, "!!!!!!!!!!RDG,RHO*(signL2) AND ABRAMOV S ENERGY!!!!!!!!!!!!!!");
  text(log, kBang61);
  empty(log, 2);
  inputs(s, log);
  requested_computations(s, log);
  if (s.computations.rdg) statistics_table(s, log);
}

}  // namespace qv
