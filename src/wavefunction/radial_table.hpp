#pragma once
// One free atom's density f(r) as piecewise polynomials, for the promolecular sweep: the radii
// below the cut-off are cut into intervals, [0, 2^-10) first and then 128 equal intervals per
// binary octave [2^e, 2^(e+1)), so that they are narrow by the nucleus, where the density
// changes fastest, and wider far out. On each interval f is its Taylor polynomial of degree 9
// about the interval's middle, computed in extended precision from the exact derivatives of the
// Slater functions; f' and f'' are the derivatives of that polynomial. Against the exact sums,
// over H to Xe: f within 2e-14 of f, f' within 2e-13 of |f'|, f'' within 1e-11 of
// |f''| + 2|f'|/r (the scale of the laplacian term), far below the five printed digits.
//
// An interval and the position in it follow from the bits of r alone (its exponent and leading
// mantissa bits), exactly, so the vector kernels find them without division or search.
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "wavefunction/atomic_density.hpp"

namespace qv {

class RadialTable {
 public:
  static constexpr int kDegree = 9;
  static constexpr int kCoefficients = kDegree + 1;
  static constexpr int kFirstOctave = -10;     // interval 0 is [0, 2^kFirstOctave)
  static constexpr int kIntervalsPerOctaveLog2 = 7;  // 128 intervals per octave

  // The table of an element up to its cut-off radius.
  explicit RadialTable(const AtomicDensity& atom);

  double cutoff_radius() const { return cutoff_; }
  int interval_count() const { return static_cast<int>(coefficients_.size() / kCoefficients); }
  // Coefficient q of interval i, in powers of the position x in [-1, 1]: coefficients()[12 i + q].
  const double* coefficients() const { return coefficients_.data(); }

  // Where r (>= 0) lies: the interval, the position x in [-1, 1] and dx/dr.
  struct Place {
    std::int64_t interval;
    double x;
    double dx_dr;
  };
  static Place place(double r) {
    std::uint64_t bits;
    std::memcpy(&bits, &r, sizeof bits);
    const std::int64_t biased_exponent = static_cast<std::int64_t>(bits >> 52);
    if (biased_exponent < 1023 + kFirstOctave) {
      constexpr double scale = 2.0 / (1.0 / (1 << -kFirstOctave));  // 2^(1 - kFirstOctave)
      return {0, r * scale - 1.0, scale};
    }
    constexpr int m = kIntervalsPerOctaveLog2;
    const std::int64_t interval =
        1 + static_cast<std::int64_t>(bits >> (52 - m)) - (std::int64_t{1023 + kFirstOctave} << m);
    // The mantissa bits below the interval's: the position within it, as 1 + fraction.
    const std::uint64_t within = (bits & ((std::uint64_t{1} << (52 - m)) - 1)) | 0x3FF0000000000000ULL;
    double y;
    std::memcpy(&y, &within, sizeof y);
    const std::uint64_t scale_bits = static_cast<std::uint64_t>(2047 + m - biased_exponent) << 52;
    double dx_dr;
    std::memcpy(&dx_dr, &scale_bits, sizeof dx_dr);
    return {interval, (y - 1.0) * static_cast<double>(std::uint64_t{2} << m) - 1.0, dx_dr};
  }

  // f, f', f'' at r from the polynomials (r below the cut-off).
  std::array<double, 3> at(double r) const;

  // For an atom of one s function in one orbital (hydrogen), f = A exp(-a r): a and A, which
  // the sweep uses instead of the polynomials; 0 and 0 for the other elements.
  double single_exponent() const { return single_exponent_; }
  double single_amplitude() const { return single_amplitude_; }

 private:
  double cutoff_;
  double single_exponent_ = 0.0;
  double single_amplitude_ = 0.0;
  std::vector<double> coefficients_;
};

}  // namespace qv
