// rho*sign(lambda2): sign of the middle Hessian eigenvalue, the mask threshold 1.0E10 and the rim.
#include <gtest/gtest.h>

#include <random>

#include "analysis/symmetric_eigen.hpp"
#include "analysis/hessian.hpp"
#include "analysis/rhosign_calc.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

using test::Position;

TEST(RhosignCalc, SignOfLambda2AtEveryInteriorPoint) {
  const AxisVectors axes = test::diagonal_axes(0.5f, 0.25f, 1.0f);
  struct Case {
    const char* name;
    double (*f)(const Position&);
    double sign;
  } cases[] = {
      // maximum along two axes, minimum along the third: lambda2 < 0
      {"saddle", [](const Position& x) { return 10 - x[0] * x[0] - x[1] * x[1] + x[2] * x[2]; },
       -1.0},
      // the opposite saddle: lambda2 > 0
      {"opposite", [](const Position& x) { return 10 + x[0] * x[0] + x[1] * x[1] - x[2] * x[2]; },
       1.0},
      // eigenvalues 2, 0, -2: lambda2 = 0 gives +rho
      {"zero", [](const Position& x) { return 10 + x[0] * x[0] - x[2] * x[2]; }, 1.0},
      // a rotated saddle through mixed terms: eigenvalues -3, -1, 2
      {"mixed", [](const Position& x) {
         return 20 - (x[0] * x[0] + x[1] * x[1]) - 2 * x[0] * x[1] + x[2] * x[2] - x[1] * x[1] / 2;
       }, -1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Grid rho = test::grid_of(7, 6, 8, axes, c.f, {3, 2.5, 4});
    const Grid zero = make_grid(7, 6, 8, "mask");
    const Grid out = rhosign_calc(rho, zero, axes);
    for (int k = 0; k < 8; ++k)
      for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 7; ++i)
          EXPECT_EQ(out.at(i, j, k), test::is_interior(rho, i, j, k) ? c.sign * rho.at(i, j, k)
                                                                     : 0.0);
  }
}

TEST(RhosignCalc, MaskThreshold) {
  const AxisVectors axes = test::diagonal_axes(1, 1, 1);
  const Grid rho = test::grid_of(5, 5, 5, axes, [](const Position& x) {
    return 10 - x[0] * x[0] - x[1] * x[1] + x[2] * x[2];
  }, {2, 2, 2});
  struct Case {
    double mask;
    double expected;
  } cases[] = {{1.0E10, 0.0}, {2.0E10, 0.0}, {9.999999e9, -10.0}, {0.0, -10.0}, {-5.0, -10.0}};
  for (const Case& c : cases) {
    const Grid out = rhosign_calc(rho, test::filled(5, 5, 5, c.mask), axes);
    EXPECT_EQ(out.at(2, 2, 2), c.expected) << c.mask;
    for (std::size_t p = 0; p < out.size(); ++p) {
      if (p != grid_index(out, 2, 2, 2)) {
        EXPECT_EQ(out.values[p], 0.0);  // rim
      }
    }
  }
}

// The sweep shares derivatives between neighbouring points; it must agree exactly with the
// Hessian and eigenvalues taken point by point.
TEST(RhosignCalc, SweepAgreesWithPointHessians) {
  const AxisVectors axes = {{{0.2f, 0.05f, 0}, {0, 0.3f, 0}, {0.01f, 0, 0.15f}}};
  Grid rho = make_grid(9, 8, 7, "random");
  std::mt19937 gen(4);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (double& v : rho.values) v = u(gen);
  Grid mask = make_grid(9, 8, 7, "mask");
  mask.at(4, 4, 3) = 1.0E10;
  const Grid out = rhosign_calc(rho, mask, axes);
  int negative = 0, positive = 0;
  for (int k = 2; k <= 4; ++k)
    for (int j = 2; j <= 5; ++j)
      for (int i = 2; i <= 6; ++i) {
        if (i == 4 && j == 4 && k == 3) {
          EXPECT_EQ(out.at(i, j, k), 0.0);
          continue;
        }
        const double lambda2 = eigenvalues3(hessian(rho, i, j, k, axes))[1];
        EXPECT_EQ(out.at(i, j, k), lambda2 < 0.0 ? -rho.at(i, j, k) : rho.at(i, j, k));
        (lambda2 < 0.0 ? negative : positive) += 1;
      }
  EXPECT_GT(negative, 0);
  EXPECT_GT(positive, 0);
}

TEST(RhosignCalc, SmallGridIsAllZero) {
  const AxisVectors axes = test::diagonal_axes(1, 1, 1);
  const Grid rho = test::filled(4, 9, 9, 1.0);
  const Grid out = rhosign_calc(rho, test::filled(4, 9, 9, 0.0), axes);
  ASSERT_EQ(out.size(), rho.size());
  for (double v : out.values) EXPECT_EQ(v, 0.0);
}

}  // namespace
}  // namespace qv
