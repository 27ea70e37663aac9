#include "view/xyz_atoms.hpp"

#include <cstdio>

#include "wavefunction/element_symbols.hpp"

namespace qv {

namespace {

constexpr double kBohrInAngstrom = 0.5291771292686462;

}  // namespace

std::string_view xyz_symbol(int atomic_number) {
  const std::string_view symbol = element_symbol(atomic_number);
  return symbol == "?" ? "X" : symbol;
}

void write_xyz_atoms(std::span<const CubeAtom> atoms, const std::string& source, TextOutput& out) {
  out.line(std::to_string(atoms.size()));
  out.line("atoms of " + source + " in angstrom, " + std::string(kXyzMark));
  char line[96];
  for (const CubeAtom& atom : atoms) {
    std::snprintf(line, sizeof line, "%-2s %14.6f %14.6f %14.6f",
                  std::string(xyz_symbol(atom.atomic_number)).c_str(),
                  atom.x * kBohrInAngstrom, atom.y * kBohrInAngstrom, atom.z * kBohrInAngstrom);
    out.line(line);
  }
}

}  // namespace qv
