#pragma once
// Five-point difference stencils along one grid axis. `p` points at the centre value, `s` is the
// distance in memory between neighbours along the axis. Numerators are summed left to right in
// double precision; the denominators are formed in single precision and then widened.
#include <cstddef>

namespace qv {

// 12*h in single precision, widened.
inline double first_denominator(float h) { return static_cast<double>(12.0f * h); }
// (h*h)*12 in single precision, widened.
inline double second_denominator(float h) { return static_cast<double>((h * h) * 12.0f); }

// (8 f(+1) - f(+2) - 8 f(-1) + f(-2)) / (12 h)
inline double first_difference(const double* p, std::ptrdiff_t s, double den) {
  return (((8.0 * p[s] - p[2 * s]) - 8.0 * p[-s]) + p[-2 * s]) / den;
}

// (16 f(+1) - f(+2) - 30 f(0) + 16 f(-1) - f(-2)) / (12 h^2)
inline double second_difference(const double* p, std::ptrdiff_t s, double den) {
  return ((((16.0 * p[s] - p[2 * s]) - 30.0 * p[0]) + 16.0 * p[-s]) - p[-2 * s]) / den;
}

}  // namespace qv
