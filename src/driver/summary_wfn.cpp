#include "driver/output_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/list_directed.hpp"

namespace qv {

void write_wfn_summary(const WfnSettings& wfn, TextOutput& log) {
  const std::string bangs(49, '!');
  const std::string stem = trimmed(wfn.wfn_outname);
  auto line = [&log](std::string_view text) { ListLine().text(text).write_to(log); };
  auto joined = [&log](std::string_view a, std::string_view b, std::string_view c) {
    ListLine().text(a).text(b).text(c).write_to(log);
  };

  line(bangs);
  line("!!!!!!!!!!PROPERTIES FROM WAVEFUNCTION!!!!!!!!!!!");
  line(bangs);
  line("");
  line("");
  joined("input wavefunction:   ", wfn.wfn_inpname, "");
  if (wfn.input_format == WavefunctionFormat::wfx) {
    std::string format = "read as a .wfx file (extended AIM wavefunction)";
    if (wfn.core_density_primitives > 0)
      format += ", with " + std::to_string(wfn.core_density_primitives) +
                " EDF primitives (core density)";
    line(format);
  }
  if (is_geometry(wfn.input_format))
    line("promolecular density: free-atom densities summed at the atoms");
  line("properties to be evaluated:");
  if (wfn.wfn_risp[0]) {
    line("- electron density");
    joined("   output file:  ", stem, "_rho.cube");
  }
  if (wfn.wfn_risp[1]) {
    line("- electron density gradient");
    joined("   output file:  ", stem, "_gradrho.cube");
  }
  if (wfn.wfn_risp[2]) {
    line("- electron density laplacian");
    joined("   output file:  ", stem, "_laplrho.cube");
  }
  if (wfn.wfn_risp[3]) {
    line("- energy density");
    line("   output files:  ");
    joined("kinetic energy density:", stem, "_G.cube");
    joined("potential energy density:", stem, "_V.cube");
    joined("total energy density:", stem, "_H.cube");
  }
  line("");
  line("number of points in the 3 directions(x,y,z respectively):");
  ListLine().i4(wfn.n_puntix).i4(wfn.n_puntiy).i4(wfn.n_puntiz).write_to(log);
  line("");
  line("stepsize (au) in x,y,z direction, respectively:");
  ListLine()
      .r4(wfn.orient_matr[0][0])
      .r4(wfn.orient_matr[1][1])
      .r4(wfn.orient_matr[2][2])
      .write_to(log);
}

}  // namespace qv
