#include "topond/topond_grid.hpp"

#include <cmath>
#include <cstdint>
#include <string>

#include "gridio/fast_fields.hpp"
#include "topond/integer_field.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

constexpr std::size_t kValuesPerLine = 8;
constexpr std::size_t kValueWidth = 16;
constexpr int kValueDigits = 8;

[[noreturn]] void bad_value(const LineReader& in, std::size_t column) {
  throw TextError(in.name(), in.line_number(),
                  "a real number (E16.8) in columns " + std::to_string(column * kValueWidth + 1) +
                      " to " + std::to_string((column + 1) * kValueWidth));
}

// Reads `count` values (at most eight) from the next line into `out`; fields beyond the end of
// the line read as zero.
void read_value_line(LineReader& in, std::size_t count, double* out) {
  const std::string_view line = in.require("a line of grid values");
  for (std::size_t c = 0; c < count; ++c) {
    const std::size_t start = c * kValueWidth;
    const std::string_view field =
        start < line.size() ? line.substr(start, kValueWidth) : std::string_view();
    // NaN or Infinity would be copied into the cube as they stand: refused like a bad field.
    if (!parse_real_field(field, kValueDigits, out[c]) || !std::isfinite(out[c])) bad_value(in, c);
  }
}

// Columns first..first+width-1 (1-based); what lies beyond the end of the line reads as blank.
std::string_view field(std::string_view line, std::size_t first, std::size_t width) {
  return first - 1 < line.size() ? line.substr(first - 1, width) : std::string_view();
}

// "(3I4)": the counts; then three lines "(E15.8,17X,E15.8)": origin component and step length.
void read_header(LineReader& in, GridHeader& header) {
  const std::string_view counts = in.require("the three point counts");
  std::int32_t* n[3] = {&header.n1, &header.n2, &header.n3};
  for (std::size_t k = 0; k < 3; ++k)
    if (!parse_integer_field(field(counts, 1 + 4 * k, 4), *n[k]))
      throw TextError(in.name(), in.line_number(),
                      "a whole number (I4) in columns " + std::to_string(1 + 4 * k) + " to " +
                          std::to_string(4 + 4 * k));
  for (std::size_t k = 0; k < 3; ++k) {
    const std::string_view line = in.require("an origin component and a step length");
    double origin = 0.0, step = 0.0;
    if (!parse_real_field(field(line, 1, 15), 8, origin))
      throw TextError(in.name(), in.line_number(), "a real number (E15.8) in columns 1 to 15");
    if (!parse_real_field(field(line, 33, 15), 8, step))
      throw TextError(in.name(), in.line_number(), "a real number (E15.8) in columns 33 to 47");
    header.origin[k] = static_cast<float>(origin);
    header.axes[k][k] = static_cast<float>(step);
  }
}

}  // namespace

void read_topond_grid(LineReader& in, GridHeader& header, Grid& grid) {
  read_header(in, header);
  grid = make_grid(header.n1, header.n2, header.n3, in.name());
  if (grid.values.empty()) return;

  const std::size_t n1 = static_cast<std::size_t>(header.n1);
  const std::size_t runs =
      static_cast<std::size_t>(header.n2) * static_cast<std::size_t>(header.n3);
  const std::size_t full_lines = n1 / kValuesPerLine;
  const std::size_t rest = n1 % kValuesPerLine;
  double* v = grid.values.data();
  for (std::size_t r = 0; r < runs; ++r) {
    for (std::size_t l = 0; l < full_lines; ++l, v += kValuesPerLine)
      read_value_line(in, kValuesPerLine, v);
    if (rest > 0) {
      read_value_line(in, rest, v);
      v += rest;
    }
  }
}

}  // namespace qv
