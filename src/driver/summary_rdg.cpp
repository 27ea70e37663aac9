#include <string>

#include "driver/output_writing.hpp"
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
  const bool xd = s.inprdg_risp[0];
  if (s.inprdg_risp[0]) text(log, "input grid files from XD2006");
  if (s.inprdg_risp[1]) text(log, "input cube files from GAUSSIAN");
  if (s.inprdg_risp[2]) text(log, "general cube file read as input");
  empty(log, 2);
  text(log, trimmed(s.rhocube_inp), "   ED cube file read as input");
  if (xd) text(log, trimmed(s.rhogrd_inp), "   XD2006 grd file read as input");
  if (s.grad_calc) {
    text(log, "ED-gradient calcualted numerically and written in: ", "\"grad_numerical.cube\"");
    text(log, kFewPoints, "directions, gradient cannot be calculated)");
    empty(log);
  }
  if (s.grad_read) {
    text(log, trimmed(s.gradcube_inp), "  ED-gradient cube file read as input");
    if (xd) text(log, trimmed(s.gradgrd_inp), "   ED-gradient XD2006 grd file read as input");
    empty(log);
  }
  if (s.lapl_calc) {
    text(log, "ED-laplacian calcualted numerically and written in: ", "\"lapl_numerical.cube\"");
    text(log, kFewPoints, "directions, gradient cannot be calculated)");
    empty(log);
  }
  if (s.lapl_read) {
    text(log, trimmed(s.laplcube_inp), "  ED-laplacian cube file read as input");
    if (xd) text(log, trimmed(s.laplgrd_inp), "   ED-laplacian XD2006 grd file read as input");
    empty(log);
  }
  empty(log, 3);
}

void computations(const RdgSettings& s, TextOutput& log) {
  const bool xd = s.inprdg_risp[0];
  if (s.calc_risp[0]) {
    if (s.rdg_risp[0]) text(log, "RDG calculated for all the points of the grid file");
    if (s.rdg_risp[1])
      line(log, ListLine()
                    .text("RDG calculated for the points of the grid files having ED in the range: ")
                    .r4(s.rhocutoff[0]).text("-").r4(s.rhocutoff[1]));
    if (s.rdg_risp[2])
      line(log, ListLine()
                    .text("RDG calculated for the points of the grid files having ED*sign(lambda2) "
                          "in the range")
                    .r4(s.rhocutoff[0]).text("-").r4(s.rhocutoff[1]));
    if (s.rdg_rispace[1])
      line(log, ListLine()
                    .text("space cutoff: points having a distance greater than ")
                    .r4(s.spacecutoff).text("a.u. from every atoms are not considered"));
    if (s.rdg_rispace[2])
      line(log, ListLine()
                    .text("space cutoff: points lying outside the most external")
                    .text(" atomic coordinates more than")
                    .r4(s.spacecutoff).text("a.u. are not considered"));
    empty(log);
    text(log, "RDG cube file to be written: ", trimmed(s.rdg_outname), ".cube");
    if (xd) text(log, "RDG grd grid file to be written: ", trimmed(s.rdg_outname), ".grd");
  }
  empty(log);
  if (s.calc_risp[1]) {
    text(log, s.rhosign_points
                  ? "rho*sign(lambda2) calculated in the points where RDG has been calculated"
                  : "rho*sign(lambda2) calculated in all the points of the cube");
    empty(log);
    text(log, "rho*sign(lambda2) cube file to be written: ", trimmed(s.rhosign_outname), ".cube");
    empty(log);
    if (xd)
      text(log, "rho*sign(lambda2) cube file to be written: ", trimmed(s.rhosign_outname), ".grd");
    text(log, kFewPoints, "directions, rho*sign(L2) cannot be calculated)");
  }
  empty(log);
  if (s.calc_risp[2]) {
    empty(log);
    text(log, s.e_points ? "Abramov energy functional grid files calculated in the points where "
                           "RDG has been calculated"
                         : "Abramov energy functional grid files calculated in all the points of "
                           "the cube");
    const std::string stem = trimmed(s.e_outname);
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
  if (s.calc_risp[3]) {
    text(log, "RDG VS ED plot will be calculated and written on : ", trimmed(s.plot_name),
         "_rho.2D");
    text(log, "RDG VS ED*sign(lambda2) plot will be calculated and written on: ",
         trimmed(s.plot_name), "_rhosign.2D");
  }
}

// The table of the ten RDG isosurfaces; every column is 16 characters wide with its '|'.
void statistics_table(const RdgSettings& s, TextOutput& log) {
  static const Format four_empty("(3/)");
  static const Format a64("(A64)"), a16("(A16)"), a36("(A36)"), a12("(A12)");
  static const Format base_row("(7X,F3.1,5X,A1,I15,A1,2(1X,ES14.8,A1))");
  static const Format rhosign_cell("(1X,ES14.7,A1)");
  static const Format abramov_cells("(3(1X,ES14.7,A1))");
  const bool rhosign = s.calc_risp[1], abramov = s.calc_risp[2];

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
    const OutItem row[] = {static_cast<double>(threshold), "|", std::int64_t{st.n01[b]}, "|",
                           st.vol01[b], "|", st.rho01[b], "|"};
    base_row.write(log, row, false);
    if (rhosign) {
      const OutItem cell[] = {st.rhosi01[b], "|"};
      rhosign_cell.write(log, cell, false);
    }
    if (abramov) {
      const OutItem cells[] = {st.g01[b], "|", st.v01[b], "|", st.h01[b], "|"};
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
  computations(s, log);
  if (s.calc_risp[0]) statistics_table(s, log);
}

}  // namespace qv
