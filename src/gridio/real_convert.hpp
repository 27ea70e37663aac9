#pragma once
// Exactly rounded conversion (to nearest, ties to even) of a scanned real to a double or float.
#include <cstdint>
#include <string_view>

#include "gridio/number_scan.hpp"

namespace qv {

// `text` and `d` are those given to scan_real (the exact path rescans the digits).
double to_double(const ScannedReal& r, std::string_view text, int d);
float to_float(const ScannedReal& r, std::string_view text, int d);

// Integer field: blanks ignored, optional sign and digits, all blank is zero. False when
// malformed or outside the 4-byte range.
bool parse_integer_field(std::string_view field, std::int32_t& out);

}  // namespace qv
