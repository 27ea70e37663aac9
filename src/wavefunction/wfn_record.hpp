#pragma once
// The wavefunction as read from a .wfn or .wfx file: centres, Gaussian primitives sorted by
// angular type, the molecular orbitals, and the core density of effective-core-potential
// calculations. Indices count from 0 here; centre numbers in `primitive_centre` too.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wavefunction/primitive_types.hpp"

namespace qv {

struct WfnRecord {
  std::int32_t orbital_count = 0, primitive_count = 0, centre_count = 0;
  std::vector<std::string> centre_labels;  // 8 characters each, in file order
  // Per centre, at the centre's own number:
  std::vector<double> centre_x, centre_y, centre_z, nuclear_charges;
  // Per primitive, sorted by type (stable):
  std::vector<std::int32_t> primitive_centre;  // centre index (0-based)
  std::vector<std::int32_t> type;              // type code 1..kMaxPrimitiveType
  std::vector<double> exponents;               // alpha
  std::vector<double> minus_two_exponents;     // -2 alpha
  std::vector<double> inverse_minus_two_exponents;  // 1 / (-2 alpha)
  // primitives_up_to_type[t-1]: primitives of type t or lower
  std::array<std::int32_t, kMaxPrimitiveType> primitives_up_to_type{};
  std::vector<double> occupations, orbital_energies;  // per orbital
  // coefficients[i + primitive_count * m]: primitive i in orbital m
  std::vector<double> coefficients;
  // Additional core density (the .wfx EDF): rho gains sum of edf_coefficient[i] * primitive i,
  // not squared, with its derivatives. Empty for most files.
  std::vector<std::int32_t> edf_centre, edf_type;  // centre index (0-based), type code
  std::vector<double> edf_exponent, edf_coefficient;

  std::int32_t edf_count() const { return static_cast<std::int32_t>(edf_exponent.size()); }

  double coefficient(std::int32_t i, std::int32_t m) const {
    return coefficients[static_cast<std::size_t>(i) +
                        static_cast<std::size_t>(primitive_count) * m];
  }
};

// Fills the sorted primitive lists and the coefficients of `rec` from file-order lists, sorting
// the primitives by type and keeping file order within a type. `coef_file` holds primitive_count
// coefficients per orbital (file order). Types must already lie in 1..kMaxPrimitiveType.
void sort_primitives(WfnRecord& rec, const std::vector<std::int32_t>& centre_file,
                     const std::vector<std::int32_t>& type_file,
                     const std::vector<double>& exponent_file,
                     const std::vector<double>& coef_file);

}  // namespace qv
