// Isosurface statistics: strict thresholds, cumulative bins, rim exclusion, volume element.
#include <gtest/gtest.h>

#include "analysis/rdg_statistics.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

TEST(RdgStatistics, Thresholds) {
  const double expected[10] = {0.10000000149011612, 0.20000000298023224, 0.30000001192092896,
                               0.4000000059604645,  0.5,
                               0.6000000238418579,  0.699999988079071,
                               0.800000011920929,   0.9000000357627869,
                               1.0};
  const auto t = rdg_thresholds();
  for (int b = 0; b < 10; ++b) EXPECT_EQ(t[b], expected[b]) << b;
}

// A 6 x 5 x 5 grid (interior i = 2..3, j = k = 2) with chosen RDG values.
struct Crafted {
  Grid rdg = test::filled(6, 5, 5, kNotComputed);
  Grid rho = test::filled(6, 5, 5, 0.0);
  Grid rhosign = test::filled(6, 5, 5, 0.0);
  AbramovGrids abr{test::filled(6, 5, 5, 0.0), test::filled(6, 5, 5, 0.0),
                   test::filled(6, 5, 5, 0.0)};
  Crafted() {
    set(2, 2, 2, 0.5, 2.0);    // exactly 0.5: not in bin 5, in bins 6..10
    set(3, 2, 2, 0.05, 3.0);   // in every bin
    set(0, 2, 2, 0.01, 100.0); // rim: never counted
    set(2, 1, 2, 0.01, 100.0); // rim
  }
  void set(int i, int j, int k, double r, double rho_value) {
    rdg.at(i, j, k) = r;
    rho.at(i, j, k) = rho_value;
    rhosign.at(i, j, k) = -rho_value;
    abr.gabr.at(i, j, k) = 10 * rho_value;
    abr.vabr.at(i, j, k) = -20 * rho_value;
    abr.habr.at(i, j, k) = -10 * rho_value;
  }
};

TEST(RdgStatistics, CumulativeBinsOnACraftedGrid) {
  const Crafted c;
  // Skewed axes of lengths 0.5, 2 and 0.25 (single precision): the volume element is their
  // product, not the cell volume.
  const AxisVectors axes = {{{0.3f, 0.4f, 0.0f}, {0.0f, 2.0f, 0.0f}, {0.0f, 0.15f, 0.2f}}};
  const double dv = ((1.0 * step_length(axes[0])) * step_length(axes[1])) * step_length(axes[2]);
  const RdgStatistics st = rdg_statistics(&c.rdg, c.rho, &c.rhosign, &c.abr, axes);
  for (int b = 0; b < 10; ++b) {
    const bool half_in = b >= 5;
    const int n = 1 + half_in;
    const double rho_sum = 3.0 + (half_in ? 2.0 : 0.0);
    auto scaled = [&](double x) {
      return ((x * step_length(axes[0])) * step_length(axes[1])) * step_length(axes[2]);
    };
    EXPECT_EQ(st.points[b], n) << b;
    EXPECT_EQ(st.volume[b], scaled(n)) << b;
    EXPECT_NEAR(st.volume[b], n * dv, 1e-15);
    EXPECT_EQ(st.rho_integral[b], scaled(rho_sum)) << b;
    EXPECT_EQ(st.rhosign_integral[b], scaled(-rho_sum)) << b;
    EXPECT_EQ(st.g_integral[b], scaled(10 * rho_sum)) << b;
    EXPECT_EQ(st.v_integral[b], scaled(-20 * rho_sum)) << b;
    EXPECT_EQ(st.h_integral[b], scaled(-10 * rho_sum)) << b;
  }
}

TEST(RdgStatistics, MissingGridsAndSmallGrids) {
  const Crafted c;
  const AxisVectors axes = test::diagonal_axes(1, 1, 1);
  const RdgStatistics base = rdg_statistics(&c.rdg, c.rho, nullptr, nullptr, axes);
  EXPECT_EQ(base.points[9], 2);
  EXPECT_EQ(base.rho_integral[9], 5.0);
  for (int b = 0; b < 10; ++b)
    EXPECT_EQ(
        base.rhosign_integral[b] + base.g_integral[b] + base.v_integral[b] + base.h_integral[b],
        0.0);

  const RdgStatistics none = rdg_statistics(nullptr, c.rho, &c.rhosign, &c.abr, axes);
  for (int b = 0; b < 10; ++b)
    EXPECT_EQ(none.points[b] + none.volume[b] + none.rho_integral[b], 0.0);

  // Fewer than 5 points along one axis: no interior, everything zero.
  const Grid small_rdg = test::filled(4, 6, 6, 0.01);
  const Grid small_rho = test::filled(4, 6, 6, 1.0);
  const RdgStatistics small = rdg_statistics(&small_rdg, small_rho, nullptr, nullptr, axes);
  for (int b = 0; b < 10; ++b)
    EXPECT_EQ(small.points[b] + small.volume[b] + small.rho_integral[b], 0.0);
}

}  // namespace
}  // namespace qv
