#pragma once
// Settings of the WFN job, filled by the WFN block of the input file.
#include <array>
#include <cstdint>
#include <string>

#include "gridio/fixed_text.hpp"
#include "wavefunction/wavefunction_format.hpp"

namespace qv {

// The grids the WFN job evaluates, as marked on the CALCULATING line.
struct WfnProperties {
  bool density = false;
  bool gradient = false;  // norm of the density gradient
  bool laplacian = false;
  bool energy_densities = false;  // kinetic, potential and total

  bool any() const { return density || gradient || laplacian || energy_densities; }
  // Everything but the density needs the orbitals' derivatives.
  bool needs_derivatives() const { return gradient || laplacian || energy_densities; }
  bool operator==(const WfnProperties&) const = default;
};

struct WfnSettings {
  std::string wavefunction_file = blank_text(33);
  std::string output_stem = blank_text(33);  // stem of the output cube names
  WfnProperties properties;
  std::array<float, 3> centre{};  // grid centre, bohr
  std::int32_t points_x = 0, points_y = 0, points_z = 0;
  // Grid axes: zeroed when input reading starts; only the diagonal (steps along x, y, z) is set.
  std::array<std::array<float, 3>, 3> axes{};
  float basis_cutoff = 0.0f;  // set by the WFN job, not read from the input
  // Set by the WFN job for the run summary: the input file's format and its core-density
  // (EDF) primitives.
  WavefunctionFormat input_format = WavefunctionFormat::wfn;
  std::int32_t core_density_primitives = 0;
};

}  // namespace qv
