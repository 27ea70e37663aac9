#include "view/xyz_atoms.hpp"

#include <array>
#include <cstdio>

namespace qv {

namespace {

constexpr double kBohrInAngstrom = 0.5291771292686462;

constexpr std::array<std::string_view, 118> kSymbols = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

}  // namespace

std::string_view element_symbol(int atomic_number) {
  if (atomic_number < 1 || atomic_number > static_cast<int>(kSymbols.size())) return "X";
  return kSymbols[static_cast<std::size_t>(atomic_number - 1)];
}

void write_xyz_atoms(std::span<const CubeAtom> atoms, const std::string& source, TextOutput& out) {
  out.line(std::to_string(atoms.size()));
  out.line("atoms of " + source + " in angstrom, " + std::string(kXyzMark));
  char line[96];
  for (const CubeAtom& atom : atoms) {
    std::snprintf(line, sizeof line, "%-2s %14.6f %14.6f %14.6f",
                  std::string(element_symbol(atom.atomic_number)).c_str(),
                  atom.x * kBohrInAngstrom, atom.y * kBohrInAngstrom, atom.z * kBohrInAngstrom);
    out.line(line);
  }
}

}  // namespace qv
