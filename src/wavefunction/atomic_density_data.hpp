#pragma once
// The free atoms' Hartree-Fock orbitals, H to Xe, as expansions in normalised Slater-type
// functions N r^(n-1) exp(-zeta r), N = (2 zeta)^(n + 1/2) / sqrt((2n)!). Generated from the
// published tables by tools/make_atomic_density_table.py; numbers as printed.
#include <cstdint>

namespace qv::atomic_data {

inline constexpr int kElementsWithData = 54;  // hydrogen to xenon

struct SlaterBasisFunction {
  int n;        // principal quantum number, 1 to 4
  double zeta;  // exponent, 1/bohr
};

struct AtomicOrbital {
  int l;                 // 0, 1, 2 for s, p, d
  int occupation;        // electrons in the orbital (all its 2l+1 components)
  int first_basis;       // its block's first function, counted from the element's first
  int basis_count;       // functions in its block
  int first_coefficient; // index into kCoefficients; one coefficient per function of the block
};

struct ElementRecord {
  const char* symbol;
  int atomic_number;
  int first_basis, basis_count;      // into kBasisFunctions
  int first_orbital, orbital_count;  // into kOrbitals
};

extern const SlaterBasisFunction kBasisFunctions[];
extern const AtomicOrbital kOrbitals[];
extern const double kCoefficients[];
extern const ElementRecord kElements[kElementsWithData];  // kElements[Z - 1]

}  // namespace qv::atomic_data
