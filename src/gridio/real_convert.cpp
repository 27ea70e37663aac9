#include "gridio/real_convert.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace qv {

namespace {

// Decimal digits kept before the rest is folded into one sticky digit: a rounding boundary
// between two doubles has fewer significant digits than this, so the result is exact.
constexpr int kMaxDigits = 800;

// Rebuilds "digits e exponent" from a text that scan_real accepted and converts it with the
// exact library conversion. Out-of-range results become infinity or zero.
template <typename T>
T exact_convert(const ScannedReal& r, std::string_view text, int d) {
  char buf[kMaxDigits + 40];
  int n = 0;
  std::int64_t frac = 0, adj = 0;
  bool point = false, sticky = false;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '+' || text[i] == '-'))
    ++i;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (n == 0 && c == '0') {
        if (point) ++frac;
      } else if (n < kMaxDigits) {
        buf[n++] = c;
        if (point) ++frac;
      } else {
        if (c != '0') sticky = true;
        if (!point) ++adj;
      }
    } else if (c == '.') {
      point = true;
    } else if (c != ' ' && c != '\t') {
      break;
    }
  }
  if (n == 0) return r.negative ? -T(0) : T(0);
  if (sticky) {
    buf[n++] = '1';
    --adj;
  }
  // The exponent part, already checked by scan_real.
  std::int64_t e = 0;
  {
    std::size_t j = i;
    if (j < text.size()) {
      char c = text[j];
      if (c == 'E' || c == 'e' || c == 'D' || c == 'd') ++j;
      while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
      bool eneg = false;
      if (j < text.size() && (text[j] == '+' || text[j] == '-')) eneg = text[j++] == '-';
      for (; j < text.size(); ++j)
        if (text[j] >= '0' && text[j] <= '9' && e < 100000) e = e * 10 + (text[j] - '0');
      if (eneg) e = -e;
    }
  }
  const std::int64_t exponent = e - frac + adj - (point ? 0 : d);
  buf[n++] = 'e';
  auto [end, ec] = std::to_chars(buf + n, buf + sizeof buf, exponent);
  (void)ec;
  T v{};
  const auto res = std::from_chars(buf, end, v);
  if (res.ec == std::errc::result_out_of_range) {
    const std::int64_t magnitude = exponent + n;
    v = magnitude > 0 ? std::numeric_limits<T>::infinity() : T(0);
  }
  return r.negative ? -v : v;
}

}  // namespace

double exact_to_double(const ScannedReal& r, std::string_view text, int d) {
  return exact_convert<double>(r, text, d);
}

float to_float(const ScannedReal& r, std::string_view text, int d) {
  switch (r.kind) {
    case ScannedReal::Kind::Infinity:
      return r.negative ? -std::numeric_limits<float>::infinity()
                        : std::numeric_limits<float>::infinity();
    case ScannedReal::Kind::NaN:
      return std::numeric_limits<float>::quiet_NaN();
    case ScannedReal::Kind::Number:
      break;
  }
  if (r.mantissa == 0) return r.negative ? -0.0f : 0.0f;
  return exact_convert<float>(r, text, d);
}

bool parse_integer_field(std::string_view field, std::int32_t& out) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool neg = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) neg = field[i++] == '-';
  std::int64_t v = 0;
  bool digit = false;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c >= '0' && c <= '9') {
      digit = true;
      v = v * 10 + (c - '0');
      if (v > std::int64_t{1} << 31) return false;
    } else if (c != ' ' && c != '\t') {
      return false;
    }
  }
  if (!digit) {
    // An all-blank field is zero; a lone sign is not a number.
    if (neg || field.find_first_of('+') != std::string_view::npos) return false;
    out = 0;
    return true;
  }
  if (neg) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace qv
