#include "gridio/field_render.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {

namespace {

void put_stars(std::string& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

void put_right(std::string& out, int w, std::string_view body) {
  if (static_cast<int>(body.size()) > w) return put_stars(out, w);
  out.append(static_cast<std::size_t>(w) - body.size(), ' ');
  out.append(body);
}

// NaN and infinities as the Fortran run time writes them: "NaN"; "Infinity" when the field
// holds it with its sign, "Inf" otherwise; asterisks below three columns (four when negative).
void render_nonfinite(std::string& out, int w, double v) {
  if (std::isnan(v)) return put_right(out, w, "NaN");
  const bool neg = std::signbit(v);
  if (neg) {
    if (w >= 9) return put_right(out, w, "-Infinity");
    return put_right(out, w, "-Inf");
  }
  if (w >= 8) return put_right(out, w, "Infinity");
  return put_right(out, w, "Inf");
}

}  // namespace

void render_integer(std::string& out, int w, std::int64_t v) {
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
  put_right(out, w, std::string_view(buf, static_cast<std::size_t>(n)));
}

void render_fixed(std::string& out, int w, int d, double v) {
  if (!std::isfinite(v)) return render_nonfinite(out, w, v);
  // 309 integer digits at most, the point, d decimals and a sign.
  char buf[400];
  if (d > 64) d = 64;
  buf[0] = '-';
  const int n = std::snprintf(buf + 1, sizeof buf - 2, "%.*f", d, std::fabs(v));
  std::size_t len = static_cast<std::size_t>(n) + 1;
  if (d == 0) buf[len++] = '.';
  std::string_view body(buf, len);
  if (!std::signbit(v)) body.remove_prefix(1);
  if (static_cast<int>(body.size()) > w) {
    // Without its leading zero the value may still fit: "-.5" in F3.1.
    const std::size_t zero = std::signbit(v) ? 1 : 0;
    if (body[zero] == '0' && body[zero + 1] == '.' && static_cast<int>(body.size()) - 1 <= w) {
      out.append(static_cast<std::size_t>(w) - (body.size() - 1), ' ');
      out.append(body.substr(0, zero));
      out.append(body.substr(zero + 1));
      return;
    }
  }
  put_right(out, w, body);
}

void render_exponent(std::string& out, int w, int d, double v, bool scientific) {
  if (!std::isfinite(v)) return render_nonfinite(out, w, v);
  if (d > 64) d = 64;
  // Significant digits of the exact value rounded to nearest, ties to even.
  const int sig = scientific ? d + 1 : d;
  char digits[96];
  int exponent = 0;
  if (v == 0.0) {
    std::memset(digits, '0', static_cast<std::size_t>(sig));
  } else if (sig > 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*e", sig - 1, std::fabs(v));
    // buf is "D.DDDDe+XX" (or "De+XX" for one digit).
    digits[0] = buf[0];
    const char* p = buf + 1;
    if (*p == '.') ++p;
    int k = 1;
    while (*p >= '0' && *p <= '9') digits[k++] = *p++;
    exponent = std::atoi(p + 1) + (scientific ? 0 : 1);
  }
  char body[128];
  std::size_t n = 0;
  if (std::signbit(v)) body[n++] = '-';
  const std::size_t zero_at = n;
  if (scientific) {
    body[n++] = digits[0];
    body[n++] = '.';
    std::memcpy(body + n, digits + 1, static_cast<std::size_t>(d));
  } else {
    body[n++] = '0';
    body[n++] = '.';
    std::memcpy(body + n, digits, static_cast<std::size_t>(d));
  }
  n += static_cast<std::size_t>(d);
  const int mag = std::abs(exponent);
  if (mag <= 99) {
    n += static_cast<std::size_t>(
        std::snprintf(body + n, 8, "E%c%02d", exponent < 0 ? '-' : '+', mag));
  } else if (mag <= 999) {
    n += static_cast<std::size_t>(
        std::snprintf(body + n, 8, "%c%03d", exponent < 0 ? '-' : '+', mag));
  } else {
    return put_stars(out, w);
  }
  if (!scientific && static_cast<int>(n) > w && static_cast<int>(n) - 1 <= w) {
    // The "0" before the point goes when the field has no room for it.
    out.append(static_cast<std::size_t>(w) - (n - 1), ' ');
    out.append(body, zero_at);
    out.append(body + zero_at + 1, n - zero_at - 1);
    return;
  }
  put_right(out, w, std::string_view(body, n));
}

void render_text(std::string& out, int w, std::string_view s) {
  if (w < 0) {
    out.append(s);
  } else if (static_cast<int>(s.size()) >= w) {
    out.append(s.substr(0, static_cast<std::size_t>(w)));
  } else {
    out.append(static_cast<std::size_t>(w) - s.size(), ' ');
    out.append(s);
  }
}

}  // namespace qv
