#pragma once
// The atoms of a cube header as an XYZ file (element symbols, angstrom): viewers such as PyMOL
// take no atoms from a cube file.
#include <span>
#include <string>
#include <string_view>

#include "view/cube_glance.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// Part of the comment line of every XYZ file we write; it tells our files from others.
inline constexpr std::string_view kXyzMark = "written by quelvarin-plot";

// "H", "He", ... "Og" for atomic numbers 1 to 118; "X" (a dummy atom) for any other number.
std::string_view xyz_symbol(int atomic_number);

// The atom count, a comment line naming `source` and carrying the mark, then one line per atom:
// symbol and x, y, z in angstrom with six decimals.
void write_xyz_atoms(std::span<const CubeAtom> atoms, const std::string& source, TextOutput& out);

}  // namespace qv
