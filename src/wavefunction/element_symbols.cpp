#include "wavefunction/element_symbols.hpp"

#include <array>

namespace qv {

namespace {

constexpr std::array<std::string_view, 118> kSymbols = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int atomic_number_of(std::string_view symbol) {
  for (std::size_t z = 0; z < kSymbols.size(); ++z) {
    const std::string_view s = kSymbols[z];
    if (s.size() != symbol.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < s.size(); ++i) same = same && lower(s[i]) == lower(symbol[i]);
    if (same) return static_cast<int>(z) + 1;
  }
  return 0;
}

std::string_view element_symbol(int atomic_number) {
  if (atomic_number < 1 || atomic_number > static_cast<int>(kSymbols.size())) return "?";
  return kSymbols[static_cast<std::size_t>(atomic_number - 1)];
}

}  // namespace qv
