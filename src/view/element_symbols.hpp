#pragma once
// Element symbols by atomic number, for the atoms that cube headers carry as numbers only.
#include <string_view>

namespace qv {

// "H" for 1 ... "Og" for 118; "X" for any other number (ghost atoms, point charges, and the
// 0 that some writers use for atoms without an element).
std::string_view element_symbol(int atomic_number);

}  // namespace qv
