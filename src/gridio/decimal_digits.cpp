#include "gridio/decimal_digits.hpp"

#include <cstdio>
#include <cstdlib>

namespace qv {

DecimalDigits exact_digits_slow(double a, int sig) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*e", sig - 1, a);  // exact, ties to even
  std::uint64_t d = 0;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') d = d * 10 + static_cast<unsigned>(*p - '0');
  return {d, std::atoi(p + 1)};
}

}  // namespace qv
