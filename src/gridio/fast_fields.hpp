#pragma once
// Fast renderers and parsers for the per-value grid fields. They produce exactly the characters
// of the format engine (same rounding, asterisks, three-digit exponents) without interpreting a
// format, without iostream and without allocation.
#include <cstddef>
#include <string_view>

namespace qv {

// Each writes exactly its field width and returns the pointer past it.
char* put_es13_5(char* out, double v);   // cube values
char* put_e18_10(char* out, double v);   // grd values
char* put_e11_3(char* out, double v);    // plot tables
char* put_e16_8(char* out, double v);    // TOPOND-layout values
// A line of `count` cube values (`stride` apart) or grd values and its line feed; returns the
// pointer past it. The same characters as the single-field writers, without a call per value.
char* put_es13_5_line(char* out, const double* v, std::size_t count, std::size_t stride);
char* put_e18_10_line(char* out, const double* v, std::size_t count);

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

// The same, with a quick path for the layout of free-format files written with C's %e or
// Fortran's E and ES descriptors: "[-]d.ddd...e[+-]dd[d]" (E or D, either case), each token
// ending at a blank or the end. Gives the values scan_number gives, for every text.
bool scan_e_number(const char*& p, const char* end, double& out);

// Consecutive values in the fields this program and Gaussian-style writers use, read at fixed
// offsets from `p`: 13 columns " [ -]d.dddddE+dd" (cube) or 18 columns " [ -]0.ddddddddddE+dd"
// (grd), each followed by a blank or the end. Converts at most `count` fields, storing them
// `stride` apart from `out`, and stops at the first field not laid out so, or whose value is
// not finite, leaving `p` at its start: the caller reads on by scan_number, which gives each
// converted field the same value. Returns the number of fields converted.
std::size_t scan_cube_fields(const char*& p, const char* end, double* out, std::size_t stride,
                             std::size_t count);
std::size_t scan_grd_fields(const char*& p, const char* end, double* out, std::size_t count);

}  // namespace qv
