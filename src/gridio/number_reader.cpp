#include "gridio/number_reader.hpp"

#include <limits>

#include "gridio/text_error.hpp"

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
  for (int i = 0; i < nints; ++i) {
    if (!scan_integer(pos_, end_, ints[i])) malformed(expected);
  }
  for (int i = 0; i < nreals; ++i) {
    if (!scan(reals[i])) malformed(expected);
  }
  pos_ = end_ = nullptr;  // the rest of the line is passed over
}

void NumberReader::begin_run(const char* expected) { next_nonblank_line(expected); }

double NumberReader::next_value_slow(const char* expected) {
  pos_ = skip_blanks(pos_, end_);
  if (pos_ != end_) malformed(expected);
  next_nonblank_line(expected);
  double v;
  if (!scan(v)) malformed(expected);
  return v;
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
