#include "gridio/fast_fields.hpp"

#include <cstring>
#include <string>

#include "gridio/field_render.hpp"
#include "gridio/number_scan.hpp"
#include "gridio/real_convert.hpp"

namespace qv {

namespace {
char* put_via_engine(char* out, double v, int w, int d, bool scientific) {
  std::string s;
  render_exponent(s, w, d, v, scientific);
  std::memcpy(out, s.data(), s.size());
  return out + s.size();
}
}  // namespace

char* put_es13_5(char* out, double v) { return put_via_engine(out, v, 13, 5, true); }
char* put_e18_10(char* out, double v) { return put_via_engine(out, v, 18, 10, false); }
char* put_e11_3(char* out, double v) { return put_via_engine(out, v, 11, 3, false); }
char* put_e16_8(char* out, double v) { return put_via_engine(out, v, 16, 8, false); }

bool parse_real_field(std::string_view field, int d, double& out) {
  ScannedReal r;
  if (!scan_real(field.data(), field.data() + field.size(), d, false, r)) return false;
  out = to_double(r, field, d);
  return true;
}

bool scan_number(const char*& p, const char* end, double& out) {
  const char* q = p;
  while (q < end && (*q == ' ' || *q == '\t' || *q == '\r' || *q == '\n')) ++q;
  p = q;
  if (q == end) return false;
  const char* t = q;
  while (t < end && *t != ' ' && *t != '\t' && *t != '\r' && *t != '\n') ++t;
  ScannedReal r;
  if (!scan_real(q, t, 0, true, r)) return false;
  out = to_double(r, std::string_view(q, static_cast<std::size_t>(t - q)), 0);
  p = t;
  return true;
}

}  // namespace qv
