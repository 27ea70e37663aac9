#pragma once
// Whole lines of grid values as this program writes them, read straight from a block of text.
// A line holds one or more cube fields (13 columns " [ -]d.dddddE[+-]dd") or grd fields
// (18 columns " [ -]0.ddddddddddE[+-]dd") and nothing else, and ends with a line feed (or
// "\r\n"). Such lines are checked and converted a field at a time with a few wide operations;
// anything else is left to the general number rules.
#include <cstddef>
#include <string_view>

namespace qv {

struct WrittenLines {
  std::size_t values = 0;  // values stored
  std::size_t bytes = 0;   // length of the lines read, their line feeds included
  long lines = 0;          // lines read
};

// Reads written lines from the start of `text`, storing their values `stride` apart from
// `out`, until `count` values are stored; stops before a line that is not so, that holds more
// values than are left, or that does not end inside `text`. Each value is, bit for bit, the
// one scan_number gives for the field.
WrittenLines scan_cube_lines(std::string_view text, double* out, std::size_t stride,
                             std::size_t count);
WrittenLines scan_grd_lines(std::string_view text, double* out, std::size_t count);

// A line of exactly `count` TOPOND fields (16 columns " [ -]0.ddddddddE[+-]dd"), without its
// line feed: their values into `out`, each bit for bit the one the field rules give; false
// (some values perhaps stored) when the line is not so.
bool scan_topond_line(std::string_view line, std::size_t count, double* out);

// The same by 64-bit words alone, as on machines without SSE2 (the readers above use them for
// a field near the end of the text); for tests of both.
WrittenLines scan_cube_lines_by_words(std::string_view text, double* out, std::size_t stride,
                                      std::size_t count);
WrittenLines scan_grd_lines_by_words(std::string_view text, double* out, std::size_t count);

}  // namespace qv
