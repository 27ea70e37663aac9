#pragma once
// The wavefunction as read from a .wfn or .wfx file: centres, Gaussian primitives sorted by
// angular type, the molecular orbitals, and the core density of effective-core-potential
// calculations. Indices count from 0 here; centre numbers in `ict` too.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wavefunction/primitive_types.hpp"

namespace qv {

struct WfnRecord {
  std::int32_t nmo = 0, nprims = 0, ncent = 0;
  std::vector<std::string> atnam;           // centre labels (8 characters), in file order
  std::vector<double> xc, yc, zc, charg;    // per centre, at the centre's own number
  // Per primitive, sorted by type (stable):
  std::vector<std::int32_t> ict;            // centre index (0-based)
  std::vector<std::int32_t> type;           // type code 1..kMaxPrimitiveType
  std::vector<double> exx;                  // exponent alpha
  std::vector<double> sum;                  // -2 alpha
  std::vector<double> div;                  // 1 / (-2 alpha)
  std::array<std::int32_t, kMaxPrimitiveType> itp{};  // itp[t-1]: primitives of type t or lower
  std::vector<double> po, eorb;             // per orbital: occupation, energy
  std::vector<double> coo;                  // coo[i + nprims * m]: primitive i in orbital m
  // Additional core density (the .wfx EDF): rho gains sum of edf_coefficient[i] * primitive i,
  // not squared, with its derivatives. Empty for most files.
  std::vector<std::int32_t> edf_centre, edf_type;  // centre index (0-based), type code
  std::vector<double> edf_exponent, edf_coefficient;

  std::int32_t edf_count() const { return static_cast<std::int32_t>(edf_exponent.size()); }

  double coefficient(std::int32_t i, std::int32_t m) const {
    return coo[static_cast<std::size_t>(i) + static_cast<std::size_t>(nprims) * m];
  }
};

// Fills ict/type/exx/sum/div/itp/coo of `rec` from file-order lists, sorting the primitives by
// type and keeping file order within a type. `coef_file` holds nprims coefficients per orbital
// (file order). Types must already lie in 1..kMaxPrimitiveType.
void sort_primitives(WfnRecord& rec, const std::vector<std::int32_t>& centre_file,
                     const std::vector<std::int32_t>& type_file,
                     const std::vector<double>& exponent_file,
                     const std::vector<double>& coef_file);

}  // namespace qv
