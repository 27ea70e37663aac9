#include "gridio/number_reader.hpp"

#include <limits>

#include "gridio/fast_fields.hpp"

#include "gridio/text_error.hpp"
#include "gridio/written_lines.hpp"

namespace qv {

namespace {

bool is_blank_char(char c) { return c == ' ' || c == '\t'; }

const char* skip_blanks(const char* p, const char* end) {
  while (p < end && is_blank_char(*p)) ++p;
  return p;
}

bool blank_line(std::string_view line) {
  return skip_blanks(line.data(), line.data() + line.size()) == line.data() + line.size();
}

}  // namespace

bool scan_integer(const char*& p, const char* end, std::int32_t& out) {
  const char* q = skip_blanks(p, end);
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
  const char* digits = q;
  std::int64_t value = 0;
  while (q < end && *q >= '0' && *q <= '9') {
    value = value * 10 + (*q++ - '0');
    if (value > std::numeric_limits<std::int32_t>::max() + std::int64_t{1}) return false;
  }
  if (q == digits || (q < end && !is_blank_char(*q))) return false;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return false;
  out = static_cast<std::int32_t>(value);
  p = q;
  return true;
}

std::string_view NumberReader::text_line(const char* expected) {
  std::string_view line = in_.require(expected);
  pos_ = end_ = nullptr;
  return line;
}

void NumberReader::skip_lines(long count, const char* expected) {
  for (long i = 0; i < count; ++i) in_.require(expected);
  pos_ = end_ = nullptr;
}

void NumberReader::skip_nonblank_lines(long count, const char* expected) {
  for (long i = 0; i < count; ++i) next_nonblank_line(expected);
  pos_ = end_ = nullptr;
}

void NumberReader::header_line(std::int32_t* ints, int nints, double* reals, int nreals,
                               const char* expected) {
  std::string_view line = in_.require(expected);
  pos_ = line.data();
  end_ = line.data() + line.size();
  bool ok = true;
  for (int i = 0; ok && i < nints; ++i) ok = scan_integer(pos_, end_, ints[i]);
  for (int i = 0; ok && i < nreals; ++i) ok = scan(reals[i]);
  if (!ok && !fixed_header_fields(line, ints, nints, reals, nreals)) malformed(expected);
  pos_ = end_ = nullptr;  // the rest of the line is passed over
}

// Fields of the tool's own header layout, 5 columns per integer and 12 per real, which touch
// when a coordinate fills its field ("    3-1000.123456"). Every field must be present and
// hold a number: a blank field is not read as zero here.
bool NumberReader::fixed_header_fields(std::string_view line, std::int32_t* ints, int nints,
                                       double* reals, int nreals) {
  constexpr std::size_t kIntWidth = 5, kRealWidth = 12;
  const std::size_t need = kIntWidth * static_cast<std::size_t>(nints) +
                           kRealWidth * static_cast<std::size_t>(nreals);
  if (line.size() < need) return false;
  std::size_t at = 0;
  for (int i = 0; i < nints; ++i, at += kIntWidth) {
    const std::string_view field = line.substr(at, kIntWidth);
    const char* p = field.data();
    if (!scan_integer(p, field.data() + field.size(), ints[i])) return false;
    if (skip_blanks(p, field.data() + field.size()) != field.data() + field.size()) return false;
  }
  for (int i = 0; i < nreals; ++i, at += kRealWidth) {
    const std::string_view field = line.substr(at, kRealWidth);
    if (blank_line(field) || !parse_real_field(field, 6, reals[i])) return false;
  }
  return true;
}

void NumberReader::begin_run(const char* expected) { next_nonblank_line(expected); }

double NumberReader::next_value_slow(const char* expected) {
  pos_ = skip_blanks(pos_, end_);
  if (pos_ != end_) malformed(expected);
  next_nonblank_line(expected);
  double v;
  if (!scan(v)) malformed(expected);
  if (!(std::fabs(v) <= std::numeric_limits<double>::max())) not_finite(expected);
  return v;
}

bool NumberReader::general_step(double* out, const char* expected) {
  if (skip_blanks(pos_, end_) == end_) return false;
  *out = next_value(expected);
  return true;
}

template <class Lines, class Fields>
void NumberReader::written_run(double* out, std::size_t count, std::size_t stride,
                               const char* expected, Lines lines, Fields fields) {
  if (count == 0) {
    begin_run(expected);
    return;
  }
  // The run starts on the line after the current one; every pass starts at a line start.
  while (count > 0) {
    const WrittenLines w = lines(in_.buffered(), out, stride, count);
    if (w.lines > 0) {
      in_.consume(w.bytes, w.lines);
      pos_ = end_ = nullptr;  // the last line read is the current one, with nothing left on it
      out += w.values * stride;
      count -= w.values;
      if (count == 0) return;
    }
    // A line the whole-line reader left (another layout, or not complete in the buffer).
    next_nonblank_line(expected);
    while (count > 0) {
      const std::size_t done = fields(pos_, end_, out, stride, count);
      out += done * stride;
      count -= done;
      if (count == 0 || !general_step(out, expected)) break;  // on to the next line
      out += stride;
      --count;
    }
  }
}

void NumberReader::cube_run(double* out, std::size_t count, std::size_t stride,
                            const char* expected) {
  written_run(out, count, stride, expected, scan_cube_lines, scan_cube_fields);
}

void NumberReader::grd_run(double* out, std::size_t count, const char* expected) {
  written_run(
      out, count, 1, expected,
      [](std::string_view text, double* o, std::size_t, std::size_t n) {
        return scan_grd_lines(text, o, n);
      },
      [](const char*& p, const char* end, double* o, std::size_t, std::size_t n) {
        return scan_grd_fields(p, end, o, n);
      });
}

void NumberReader::not_finite(const char* expected) const {
  throw TextError(in_.name(), in_.line_number(),
                  std::string("NaN or Infinity where a finite number is needed; expected ") +
                      expected);
}

std::int32_t NumberReader::next_integer(const char* expected) {
  pos_ = skip_blanks(pos_, end_);
  if (pos_ == end_) next_nonblank_line(expected);
  std::int32_t v;
  if (!scan_integer(pos_, end_, v)) malformed(expected);
  return v;
}

void NumberReader::next_nonblank_line(const char* expected) {
  std::string_view line;
  do {
    if (!in_.next(line)) {
      pos_ = end_ = nullptr;
      throw TextError(in_.name(), in_.line_number() + 1,
                      std::string("end of file; expected ") + expected);
    }
  } while (blank_line(line));
  pos_ = line.data();
  end_ = line.data() + line.size();
}

void NumberReader::malformed(const char* expected) const {
  const char* p = pos_ ? skip_blanks(pos_, end_) : nullptr;
  if (!p || p == end_) {
    throw TextError(in_.name(), in_.line_number(),
                    std::string("a number is missing; expected ") + expected);
  }
  const char* q = p;
  while (q < end_ && !is_blank_char(*q)) ++q;
  throw TextError(in_.name(), in_.line_number(),
                  "malformed number \"" + std::string(p, q) + "\"; expected " + expected);
}

}  // namespace qv
