// Abramov energy densities: the formulas, the mask threshold 1.0E9, the guarded points.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/abramov_calc.hpp"
#include "analysis/numerical_derivatives.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

struct Point {
  double rho, grad, lapl, mask;
};

AbramovGrids one_point(const Point& p) {
  return abramov_calc(test::filled(1, 1, 1, p.rho), test::filled(1, 1, 1, p.grad),
                      test::filled(1, 1, 1, p.lapl), test::filled(1, 1, 1, p.mask));
}

TEST(AbramovCalc, ValuesMaskAndGuards) {
  const double t6 = 2.8712344140902517 + 36 * 0.013888888992369175;
  const double g6 = 0.1666666716337204 * 6 + t6;
  const double half_t = 2.8712344140902517 * std::pow(0.5, 1.6666666269302368) +
                        (4.0 / 0.5) * 0.013888888992369175;
  const double g_half = 0.1666666716337204 * -1.0 + half_t;
  struct Case {
    Point in;
    double g, v, h;
  } cases[] = {
      {{1, 0, 0, 0}, 2.8712344140902517, -5.742468828180503, -2.8712344140902517},
      {{1, 6, 6, 0}, g6, 1.5 - (g6 + g6), g6 + (1.5 - (g6 + g6))},
      {{0.5, -2, -1, 0}, g_half, -0.25 - (g_half + g_half), g_half + (-0.25 - (g_half + g_half))},
      {{1, 0, 0, 999999999.0}, 2.8712344140902517, -5.742468828180503, -2.8712344140902517},
      {{1, 6, 6, 1.0E9}, 0, 0, 0},   // not below the threshold
      {{1, 6, 6, 1.0E10}, 0, 0, 0},  // RDG not computed
      {{0, 6, 6, 0}, 0, 0, 0},       // zero density
      {{-0.3, 6, 6, 0}, 0, 0, 0},    // negative density
      {{1, 1e200, 0, 0}, 0, 0, 0},   // g^2 overflows: no infinity is stored
      {{1e-320, 1, 0, 0}, 0, 0, 0},  // g^2 / rho overflows
  };
  for (const Case& c : cases) {
    const AbramovGrids out = one_point(c.in);
    EXPECT_EQ(out.gabr.values[0], c.g) << c.in.rho << " " << c.in.mask;
    EXPECT_EQ(out.vabr.values[0], c.v) << c.in.rho << " " << c.in.mask;
    EXPECT_EQ(out.habr.values[0], c.h) << c.in.rho << " " << c.in.mask;
  }
}

TEST(AbramovCalc, RimWithNumericalDerivativesHasOnlyTheFirstTerm) {
  const AxisVectors axes = test::diagonal_axes(0.5f, 0.5f, 0.5f);
  const Grid rho = test::grid_of(6, 5, 5, axes, [](const test::Position& x) {
    return 2.0 + x[0] + 0.5 * x[1] * x[1];
  });
  const auto grad = numerical_gradient(rho, axes);
  const auto lapl = numerical_laplacian(rho, axes);
  const AbramovGrids out = abramov_calc(rho, *grad, *lapl, make_grid(6, 5, 5, "zero"));
  for (int k = 0; k < 5; ++k)
    for (int j = 0; j < 5; ++j)
      for (int i = 0; i < 6; ++i) {
        const double g = out.gabr.at(i, j, k);
        if (test::is_interior(rho, i, j, k)) {
          EXPECT_GT(g, kThomasFermiFactor * std::pow(rho.at(i, j, k), kAbramovExponent));
          continue;
        }
        EXPECT_EQ(g, kThomasFermiFactor * std::pow(rho.at(i, j, k), kAbramovExponent));
        EXPECT_EQ(out.vabr.at(i, j, k), -(g + g));
        EXPECT_EQ(out.habr.at(i, j, k), -g);
      }
}

}  // namespace
}  // namespace qv
