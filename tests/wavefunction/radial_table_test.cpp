// The piecewise polynomials of the free-atom densities against the exact Slater sums.
#include "wavefunction/radial_table.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

// Every element, from by the nucleus to the cut-off: f, f' and the laplacian term f'' within
// what a printed digit cannot see, each against its own scale.
TEST(RadialTable, EveryElementMatchesTheExactDensity) {
  for (int z = 1; z <= 54; ++z) {
    const AtomicDensity atom(z);
    const RadialTable table(atom);
    double worst[3] = {0, 0, 0};
    for (double r = 1e-7; r < atom.cutoff_radius(); r *= 1.0013) {
      const auto exact = atom.at(r), fitted = table.at(r);
      const double scale[3] = {exact[0], std::abs(exact[1]), std::abs(exact[2]) + 2 * std::abs(exact[1]) / r};
      for (int k = 0; k < 3; ++k)
        worst[k] = std::max(worst[k], std::abs(fitted[static_cast<std::size_t>(k)] - exact[static_cast<std::size_t>(k)]) / scale[k]);
    }
    EXPECT_LT(worst[0], 5e-14) << "Z " << z;
    EXPECT_LT(worst[1], 5e-13) << "Z " << z;
    EXPECT_LT(worst[2], 2e-11) << "Z " << z;
  }
}

// The interval and position follow from the bits of r: x runs from -1 to 1 across each
// interval, and the polynomials of neighbouring intervals meet.
TEST(RadialTable, IntervalsTileTheRadii) {
  struct Case {
    double r;
    std::int64_t interval;
    double x;
  };
  const double first = std::ldexp(1.0, RadialTable::kFirstOctave);
  const int per_octave = 1 << RadialTable::kIntervalsPerOctaveLog2;
  const Case cases[] = {
      {0.0, 0, -1.0},
      {first / 2, 0, 0.0},
      {first, 1, -1.0},
      {first * (1 + 0.5 / per_octave), 1, 0.0},
      {first * (1 + 1.0 / per_octave), 2, -1.0},
      {2 * first, 1 + per_octave, -1.0},
      {1.0, 1 + per_octave * -RadialTable::kFirstOctave, -1.0},
      {1.5, 1 + per_octave * -RadialTable::kFirstOctave + per_octave / 2, -1.0},
  };
  for (const Case& c : cases) {
    const RadialTable::Place p = RadialTable::place(c.r);
    EXPECT_EQ(p.interval, c.interval) << c.r;
    EXPECT_DOUBLE_EQ(p.x, c.x) << c.r;
  }
  // Just below an interval's start, x is just below 1 in the interval before.
  const RadialTable::Place below = RadialTable::place(std::nextafter(1.5, 0.0));
  EXPECT_EQ(below.interval, 1 + per_octave * -RadialTable::kFirstOctave + per_octave / 2 - 1);
  EXPECT_NEAR(below.x, 1.0, 1e-12);
  // dx/dr: two over the interval's width.
  EXPECT_DOUBLE_EQ(RadialTable::place(1.2).dx_dr, 2.0 * per_octave);
  EXPECT_DOUBLE_EQ(RadialTable::place(first / 3).dx_dr, 2.0 / first);

  const RadialTable carbon{AtomicDensity(6)};
  for (double boundary : {first, 0.25, 1.0, 1.5, 3.0, 10.0}) {
    const auto left = carbon.at(std::nextafter(boundary, 0.0)), right = carbon.at(boundary);
    EXPECT_NEAR(left[0], right[0], 1e-13 * right[0]) << boundary;
    EXPECT_NEAR(left[1], right[1], 1e-12 * std::abs(right[1])) << boundary;
  }
  // The table reaches the cut-off itself, which a rounded distance may equal.
  EXPECT_GT(carbon.interval_count(), RadialTable::place(carbon.cutoff_radius()).interval);
}

TEST(RadialTable, HydrogenIsOneExponential) {
  const RadialTable hydrogen{AtomicDensity(1)};
  EXPECT_DOUBLE_EQ(hydrogen.single_exponent(), 2.0);
  EXPECT_NEAR(hydrogen.single_amplitude(), 1.0 / 3.14159265358979323846, 1e-16);
  for (int z : {2, 6, 54}) EXPECT_EQ(RadialTable(AtomicDensity(z)).single_exponent(), 0.0) << z;
}

}  // namespace
}  // namespace qv
