#pragma once
// Fast renderers and parsers for the per-value grid fields. They produce exactly the characters
// of the format engine (same rounding, asterisks, three-digit exponents) without interpreting a
// format, without iostream and without allocation.
#include <string_view>

namespace qv {

// Each writes exactly its field width and returns the pointer past it.
char* put_es13_5(char* out, double v);   // cube values
char* put_e18_10(char* out, double v);   // grd values
char* put_e11_3(char* out, double v);    // plot tables
char* put_e16_8(char* out, double v);    // TOPOND-layout values

// Parses a fixed real field by the real-field rules: blanks ignored, all blank is zero, E/D/e/d
// or sign-only exponents, `d` implied fraction digits when there is no point; "NaN", "Inf" and
// "Infinity" as the Fortran run time reads them; the result is the exactly rounded double.
// Fields in the layout that E and ES descriptors write take a fast path. Returns false when
// the field is malformed.
bool parse_real_field(std::string_view field, int d, double& out);

// Blank-separated number scanner: skips blanks, tabs and line ends from `p`, parses one number
// with the same number rules as the fields (no implied fraction digits, at least one digit)
// and advances `p` past it. Returns false when no number starts there (end of text, or a
// malformed token; `p` then points at the token).
bool scan_number(const char*& p, const char* end, double& out);

}  // namespace qv
