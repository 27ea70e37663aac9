#pragma once
// Settings of the WFN job, filled by the WFN block of the input file.
#include <array>
#include <cstdint>
#include <string>

#include "gridio/fixed_text.hpp"
#include "wavefunction/wavefunction_format.hpp"

namespace qv {

struct WfnSettings {
  std::string wfn_inpname = blank_text(33);  // wavefunction file
  std::string wfn_outname = blank_text(33);  // stem of the output cube names
  std::array<int, 4> wfn_risp{};             // density, gradient, laplacian, energy densities
  std::array<float, 3> centre_wfn{};         // grid centre, bohr
  std::int32_t n_puntix = 0, n_puntiy = 0, n_puntiz = 0;
  // Grid axes: zeroed when input reading starts; only the diagonal (steps along x, y, z) is set.
  std::array<std::array<float, 3>, 3> orient_matr{};
  float bs_cutoff = 0.0f;  // set by the WFN job, not read from the input
  // Set by the WFN job for the run summary: the input file's format and its core-density
  // (EDF) primitives.
  WavefunctionFormat input_format = WavefunctionFormat::wfn;
  std::int32_t core_density_primitives = 0;
};

}  // namespace qv
