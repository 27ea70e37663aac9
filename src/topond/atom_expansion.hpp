#pragma once
// The atoms written into the TOP job's cube files: every irreducible atom transformed by every
// symmetry operation (operations outer, atoms inner; nothing folded back into the cell, no
// duplicates removed), then converted from fractional coordinates to Cartesian bohr.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gridio/grid.hpp"
#include "topond/crystal_output.hpp"
#include "topond/top_settings.hpp"

namespace qv {

// One angstrom is 1 / kBohrInAngstrom bohr.
inline constexpr double kBohrInAngstrom = 0.5291771292686462;

// Fractional coordinates of atom f under operation s, as the cube atom lines need them: the
// rotation summed in single precision, the translation added in double, stored as single.
std::array<float, 3> apply_operation(const TopSettings& top, std::size_t s,
                                     const std::array<float, 3>& f);

// Cartesian bohr of fractional coordinates in the given lattice (angstrom), moved by a
// Cartesian shift in angstrom (CRYSTAL's own translation of all atoms; zero changes nothing).
std::array<float, 3> to_cartesian_bohr(const std::array<std::array<float, 3>, 3>& lattice,
                                       const std::array<float, 3>& f,
                                       const std::array<double, 3>& shift_angstrom = {});

// Atomic number from characters 7 and 8 of an atom label (a two-column integer field); false
// when they do not hold a number.
bool label_atomic_number(const std::string& label, std::int32_t& z);

struct ExpandedAtoms {
  std::vector<std::int32_t> atomic_numbers;
  std::vector<std::array<float, 4>> atoms;  // charge, x, y, z (bohr)
  std::string bad_label;                    // set when a label has no atomic number
};

// Expands and converts; on a label without an atomic number stops early with bad_label set.
// Raises OutOfMemory when the expanded list cannot be held.
ExpandedAtoms expand_atoms(const CrystalStructure& crystal, const TopSettings& top);

}  // namespace qv
