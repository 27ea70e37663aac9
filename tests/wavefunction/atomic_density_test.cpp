#include "wavefunction/atomic_density.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "wavefunction/radial_table.hpp"

namespace qv {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(AtomicDensity, EveryElementIntegratesToItsAtomicNumber) {
  // Trapezoid rule in t = ln r, from 1e-9 to the cut-off radius, over the radial table the
  // sweep evaluates.
  for (int z = 1; z <= 54; ++z) {
    const AtomicDensity atom(z);
    const RadialTable table(atom);
    const int n = 6001;
    const double t0 = std::log(1e-9), t1 = std::log(atom.cutoff_radius());
    const double h = (t1 - t0) / (n - 1);
    std::vector<double> radii;
    for (int i = 0; i < n; ++i) radii.push_back(std::exp(t0 + i * h));
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
      const double w = (i == 0 || i == n - 1) ? 0.5 : 1.0;
      const double r = radii[static_cast<std::size_t>(i)];
      sum += w * table.at(r)[0] * r * r * r;
    }
    const double electrons = 4.0 * kPi * h * sum;
    EXPECT_NEAR(electrons, z, 1e-5) << "Z = " << z;
  }
}

TEST(AtomicDensity, HydrogenIsTheExactOneS) {
  const AtomicDensity h(1);
  for (double r : {0.0, 1e-8, 0.3, 1.0, 2.5, 7.0, 15.0}) {
    const auto [f, df, d2f] = h.at(r);
    const double exact = std::exp(-2.0 * r) / kPi;
    EXPECT_NEAR(f, exact, 1e-15 * exact) << r;
    EXPECT_NEAR(df, -2.0 * exact, 2e-15 * exact) << r;
    EXPECT_NEAR(d2f, 4.0 * exact, 4e-15 * exact) << r;
  }
}

TEST(AtomicDensity, DerivativesMatchFiniteDifferences) {
  for (int z = 1; z <= 54; ++z) {
    const AtomicDensity atom(z);
    for (double r : {0.05, 0.3, 0.9, 2.0, 4.5}) {
      const double h = 1e-4 * r;
      const auto mid = atom.at(r), lo = atom.at(r - h), hi = atom.at(r + h);
      const double fd1 = (hi[0] - lo[0]) / (2 * h);
      const double fd2 = (hi[0] - 2 * mid[0] + lo[0]) / (h * h);
      const double fd2_from_f1 = (hi[1] - lo[1]) / (2 * h);
      EXPECT_NEAR(mid[1], fd1, 1e-6 * (std::abs(mid[1]) + mid[0] / r)) << "Z " << z << " r " << r;
      EXPECT_NEAR(mid[2], fd2_from_f1, 1e-6 * (std::abs(mid[2]) + mid[0] / (r * r))) << "Z " << z << " r " << r;
      EXPECT_NEAR(mid[2], fd2, 1e-4 * (std::abs(mid[2]) + mid[0] / (r * r))) << "Z " << z << " r " << r;
    }
  }
}

TEST(AtomicDensity, BeyondTheCutoffNothingShows) {
  for (int z = 1; z <= 54; ++z) {
    const AtomicDensity atom(z);
    const double cut = atom.cutoff_radius();
    for (double r : {cut, cut + 0.005, cut + 1.0, 1.5 * cut}) {
      const auto [f, df, d2f] = atom.at(r);
      EXPECT_LT(f, kAtomicCutoffValue) << z;
      EXPECT_LT(std::abs(df), kAtomicCutoffValue) << z;
      EXPECT_LT(std::abs(d2f) + 2 * std::abs(df) / r, kAtomicCutoffValue) << z;
    }
    const auto inside = atom.at(cut - 0.1);
    EXPECT_GT(inside[0] + std::abs(inside[1]) + std::abs(inside[2]), kAtomicCutoffValue) << z;
  }
}

TEST(AtomicDensity, ElementsOutsideTheTableAreRefused) {
  EXPECT_THROW(AtomicDensity(0), std::out_of_range);
  EXPECT_THROW(AtomicDensity(55), std::out_of_range);
}

}  // namespace
}  // namespace qv
