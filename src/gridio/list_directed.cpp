#include "gridio/list_directed.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gridio/text_output.hpp"

namespace qv {

std::string list_int4(std::int32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%11d", static_cast<int>(v));
  return buf;
}

std::string list_real4(float v) {
  char buf[48];
  const double x = v;  // exact widening
  if (std::isnan(x)) return "            NaN";
  if (std::isinf(x)) return x > 0 ? "       Infinity" : "      -Infinity";
  if (x == 0.0) return "  0.0000000    ";
  // The magnitude rounded to 8 significant digits decides between fixed point and exponent form.
  std::snprintf(buf, sizeof buf, "%.7E", std::fabs(x));
  const int exponent = std::atoi(std::strchr(buf, 'E') + 1);
  if (exponent >= -1 && exponent <= 7) {
    const int decimals = 7 - exponent;
    char fixed[32];
    std::snprintf(fixed, sizeof fixed, "%#.*f", decimals, x);  // keeps the point at 0 decimals
    std::snprintf(buf, sizeof buf, "%11s    ", fixed);
  } else {
    std::snprintf(buf, sizeof buf, "%15.8E", x);
  }
  return buf;
}

ListLine& ListLine::text(std::string_view s) {
  if (last_ == Last::Number) line_ += ' ';
  line_ += s;
  last_ = Last::Text;
  return *this;
}

ListLine& ListLine::i4(std::int32_t v) {
  if (last_ != Last::None) line_ += ' ';
  line_ += list_int4(v);
  last_ = Last::Number;
  return *this;
}

ListLine& ListLine::r4(float v) {
  if (last_ != Last::None) line_ += ' ';
  line_ += list_real4(v);
  last_ = Last::Number;
  return *this;
}

void ListLine::write_to(TextOutput& out) const { out.line(line_); }

namespace {

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }

// Checks the Fortran number syntax of a token and rewrites it for strtod: D exponents become E,
// sign-only exponents get their E. Returns false when the token is not a number.
bool normalize(std::string_view tok, bool integer, char* out, std::size_t cap) {
  if (tok.empty() || tok.size() + 2 >= cap) return false;
  std::size_t i = 0, o = 0;
  if (tok[i] == '+' || tok[i] == '-') out[o++] = tok[i++];
  std::size_t digits = 0;
  while (i < tok.size() && tok[i] >= '0' && tok[i] <= '9') out[o++] = tok[i++], ++digits;
  if (integer) {
    out[o] = '\0';
    return digits > 0 && i == tok.size();
  }
  if (i < tok.size() && tok[i] == '.') {
    out[o++] = tok[i++];
    while (i < tok.size() && tok[i] >= '0' && tok[i] <= '9') out[o++] = tok[i++], ++digits;
  }
  if (digits == 0) return false;
  if (i < tok.size()) {
    char c = tok[i];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
      ++i;
    } else if (c != '+' && c != '-') {
      return false;
    }
    out[o++] = 'E';
    if (i < tok.size() && (tok[i] == '+' || tok[i] == '-')) out[o++] = tok[i++];
    std::size_t exp_digits = 0;
    while (i < tok.size() && tok[i] >= '0' && tok[i] <= '9') out[o++] = tok[i++], ++exp_digits;
    if (exp_digits == 0) return false;
  }
  out[o] = '\0';
  return i == tok.size();
}

bool convert(std::string_view tok, float& v) {
  char buf[128];
  if (!normalize(tok, false, buf, sizeof buf)) return false;
  v = std::strtof(buf, nullptr);
  return true;
}
bool convert(std::string_view tok, double& v) {
  char buf[128];
  if (!normalize(tok, false, buf, sizeof buf)) return false;
  v = std::strtod(buf, nullptr);
  return true;
}
bool convert(std::string_view tok, std::int32_t& v) {
  char buf[128];
  if (!normalize(tok, true, buf, sizeof buf)) return false;
  errno = 0;
  long long x = std::strtoll(buf, nullptr, 10);
  if (errno != 0 || x < INT32_MIN || x > INT32_MAX) return false;
  v = static_cast<std::int32_t>(x);
  return true;
}

template <typename T>
ListStatus read_list(std::string_view s, std::span<T> out) {
  std::size_t i = 0, item = 0;
  bool after_value = false;  // a value was just read, so one comma is its separator
  while (item < out.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= s.size()) return ListStatus::End;
    if (s[i] == '/') return ListStatus::Ok;
    if (s[i] == ',') {
      ++i;
      if (!after_value) ++item;  // a null value leaves its target unchanged
      after_value = false;
      continue;
    }
    std::size_t start = i;
    while (i < s.size() && !is_separator(s[i]) && s[i] != '/') ++i;
    if (!convert(s.substr(start, i - start), out[item])) return ListStatus::Error;
    ++item;
    after_value = true;
  }
  return ListStatus::Ok;
}

}  // namespace

ListStatus list_read(std::string_view piece, std::span<float> out) { return read_list(piece, out); }
ListStatus list_read(std::string_view piece, std::span<double> out) { return read_list(piece, out); }
ListStatus list_read(std::string_view piece, std::span<std::int32_t> out) {
  return read_list(piece, out);
}

}  // namespace qv
