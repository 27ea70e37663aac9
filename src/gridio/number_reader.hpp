#pragma once
// Blank-separated numbers read from the lines of a text file, in the order a layout gives them.
// Header lines: the first numbers of one line are taken and the rest of the line is passed over.
// Value runs: a run starts at the next non-empty line and its numbers may continue over as many
// lines as the file uses. A number missing where one is needed is a TextError naming the file
// and the line, never a silent zero.
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "gridio/fast_fields.hpp"
#include "gridio/line_reader.hpp"

namespace qv {

class NumberReader {
 public:
  explicit NumberReader(LineReader& in) : in_(in) {}

  // The next line, whatever it holds (titles, stored header lines).
  std::string_view text_line(const char* expected);
  // Passes over `count` lines, empty or not.
  void skip_lines(long count, const char* expected);
  // Passes over `count` lines that hold something besides blanks; empty lines between them are
  // passed over without counting.
  void skip_nonblank_lines(long count, const char* expected);

  // Reads the next line and takes its first numbers: `ints` integers, then `reals` reals.
  // The rest of the line is passed over. A line of the tool's own layout whose fields touch
  // (5 columns per integer, then 12 per real) is read by those columns.
  void header_line(std::int32_t* ints, int nints, double* reals, int nreals, const char* expected);

  // Starts a run at the next non-empty line; the rest of the current line is passed over.
  void begin_run(const char* expected);
  // The next number of the current run, continuing on the following non-empty lines.
  // Grid values must be finite: NaN or Infinity is reported like a malformed number.
  double next_value(const char* expected) {
    double v;
    if (scan(v)) {
      if (std::fabs(v) <= std::numeric_limits<double>::max()) return v;
      not_finite(expected);
    }
    return next_value_slow(expected);
  }
  // A whole run of `count` numbers, stored `stride` apart: the same values and failures as
  // begin_run and that many next_value calls. Lines of fields in the layout this program
  // writes for cube (or grd) values are read in place from the line reader's buffer, other
  // fields of that layout at fixed offsets; any other text goes by next_value.
  void cube_run(double* out, std::size_t count, std::size_t stride, const char* expected);
  void grd_run(double* out, std::size_t count, const char* expected);
  // The next integer of the current run (for counts inside the value section).
  std::int32_t next_integer(const char* expected);

  // The line reader, for runs read in place from its buffer (whole_runs.hpp); after it has
  // been moved on by whole lines, forget_line() drops what this reader held of the line.
  LineReader& lines() { return in_; }
  void forget_line() { pos_ = end_ = nullptr; }

  const std::string& file() const { return in_.name(); }
  long line_number() const { return in_.line_number(); }

 private:
  static bool fixed_header_fields(std::string_view line, std::int32_t* ints, int nints,
                                  double* reals, int nreals);
  bool scan(double& v) { return scan_number(pos_, end_, v); }
  double next_value_slow(const char* expected);
  // Where the fast fields of a line stop: returns false when only blanks remain on the line,
  // else reads one value into `out` by the general rules (which report whatever stopped the
  // fast fields) and returns true.
  bool general_step(double* out, const char* expected);
  // The run reader behind cube_run and grd_run: `lines` reads whole written lines from the
  // buffer, `fields` written fields inside one line.
  template <class Lines, class Fields>
  void written_run(double* out, std::size_t count, std::size_t stride, const char* expected,
                   Lines lines, Fields fields);
  // Moves to the next line that holds something besides blanks.
  void next_nonblank_line(const char* expected);
  [[noreturn]] void malformed(const char* expected) const;
  [[noreturn]] void not_finite(const char* expected) const;

  LineReader& in_;
  const char* pos_ = nullptr;  // current position in the current line
  const char* end_ = nullptr;
};

// Parses an integer token ([+-]digits) at `p`, ending at a blank, tab or `end`; advances `p`.
bool scan_integer(const char*& p, const char* end, std::int32_t& out);

}  // namespace qv
