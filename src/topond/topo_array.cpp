#include "topond/topo_array.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>

#include "gridio/fast_fields.hpp"
#include "topond/integer_field.hpp"
#include "gridio/text_error.hpp"
#include "gridio/whole_runs.hpp"
#include "gridio/written_lines.hpp"

namespace qv {

namespace {

constexpr std::size_t kValuesPerLine = 8;
constexpr std::size_t kValueWidth = 16;
constexpr int kValueDigits = 8;
constexpr std::size_t kGeneralRuns = 64;  // runs read by lines after one that is not laid out so

[[noreturn]] void bad_value(const LineReader& in, std::size_t column) {
  throw TextError(in.name(), in.line_number(),
                  "a real number (E16.8) in columns " + std::to_string(column * kValueWidth + 1) +
                      " to " + std::to_string((column + 1) * kValueWidth));
}

// Reads `count` values (at most eight) of a line into `out`; fields beyond the end of the line
// read as zero. NaN or Infinity would be copied into the cube as they stand: refused like a bad
// field. Returns the number of fields read, less than `count` at a bad one.
std::size_t parse_value_line(std::string_view line, std::size_t count, double* out) {
  if (scan_topond_line(line, count, out)) return count;  // the layout TOPOND writes
  for (std::size_t c = 0; c < count; ++c) {
    const std::size_t start = c * kValueWidth;
    const std::string_view field =
        start < line.size() ? line.substr(start, kValueWidth) : std::string_view();
    if (!parse_real_field(field, kValueDigits, out[c]) || !std::isfinite(out[c])) return c;
  }
  return count;
}

void read_value_line(LineReader& in, std::size_t count, double* out) {
  const std::size_t good = parse_value_line(in.require("a line of grid values"), count, out);
  if (good < count) bad_value(in, good);
}

// One run of n1 values from exactly its lines of text, each ended by a line feed (a carriage
// return before it is not part of the line); false when the text is not such a run.
bool parse_run_text(std::string_view text, std::size_t n1, double* out) {
  const char* p = text.data();
  const char* const end = p + text.size();
  for (std::size_t i1 = 0; i1 < n1; i1 += kValuesPerLine) {
    const std::size_t count = n1 - i1 < kValuesPerLine ? n1 - i1 : kValuesPerLine;
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (!nl) return false;
    std::string_view line(p, static_cast<std::size_t>(nl - p));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (parse_value_line(line, count, out + i1) < count) return false;
    p = nl + 1;
  }
  return p == end;
}

void read_run(LineReader& in, std::size_t n1, double* v) {
  for (std::size_t i1 = 0; i1 < n1; i1 += kValuesPerLine)
    read_value_line(in, n1 - i1 < kValuesPerLine ? n1 - i1 : kValuesPerLine, v + i1);
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

void topo_array(LineReader& in, GridHeader& header, Grid& grid) {
  read_header(in, header);
  // Every value is read, or the grid is dropped with the error: no zero fill first.
  grid = make_grid_for_overwrite(header.n1, header.n2, header.n3, in.name());
  if (grid.values.empty()) return;

  // Runs that take the same whole lines as the first are cut apart and read on the sweep
  // threads; any other run, with a few after it, by lines.
  const std::size_t n1 = static_cast<std::size_t>(header.n1);
  const std::size_t runs = grid.values.size() / n1;
  double* const v = grid.values.data();
  RunShape shape;
  for (std::size_t r = 0; r < runs;) {
    r += read_whole_runs(in, runs - r, shape, [&](std::string_view text, std::size_t k) {
      return parse_run_text(text, n1, v + (r + k) * n1);
    });
    for (const std::size_t stop = std::min(runs, r + kGeneralRuns); r < stop; ++r) {
      const std::uint64_t start = in.position();
      const long start_line = in.line_number();
      read_run(in, n1, v + r * n1);
      if (shape.bytes == 0) {
        shape.bytes = static_cast<std::size_t>(in.position() - start);
        shape.lines = in.line_number() - start_line;
      }
    }
  }
}

}  // namespace qv
