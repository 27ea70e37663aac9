#pragma once
// Chemical element symbols and atomic numbers.
#include <string_view>

namespace qv {

// The atomic number of an element symbol (1 to 118), in any case ("CL", "cl", "Cl"); 0 when the
// text is no element symbol.
int atomic_number_of(std::string_view symbol);

// The symbol of an atomic number 1 to 118 ("Cl"); "?" otherwise.
std::string_view element_symbol(int atomic_number);

}  // namespace qv
