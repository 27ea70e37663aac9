// Five-point stencils: the gradient, laplacian and Hessian are exact for polynomials of degree
// up to four; the rim is 0.0; grids too small have no interior.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/hessian.hpp"
#include "analysis/numerical_derivatives.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

using test::Position;

struct Polynomial {
  const char* name;
  AxisVectors axes;
  std::function<double(const Position&)> f;
  std::function<std::array<double, 3>(const Position&)> gradient;
  std::function<Matrix3(const Position&)> hessian;
};

std::vector<Polynomial> polynomials() {
  // Linear along axis 1 only.
  Polynomial linear{"linear", test::diagonal_axes(0.5f, 0.25f, 0.75f),
                    [](const Position& x) { return 3.0 * x[0] + 7.0; },
                    [](const Position&) { return std::array<double, 3>{3.0, 0.0, 0.0}; },
                    [](const Position&) { return Matrix3{}; }};
  // Quadratic form with mixed terms, on axes that are not along x, y, z: only their lengths count.
  const double c[3][3] = {{2.0, 0.5, -1.5}, {0.5, -3.0, 0.75}, {-1.5, 0.75, 1.0}};
  Polynomial quadratic{
      "quadratic_mixed",
      {{{0.375f, 0.5f, 0.0f}, {0.0f, 0.0f, 0.25f}, {0.0f, 0.75f, 1.0f}}},
      [c](const Position& x) {
        double s = 1.0 + 0.3 * x[0] - 0.2 * x[1] + 0.1 * x[2];
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b) s += 0.5 * c[a][b] * x[a] * x[b];
        return s;
      },
      [c](const Position& x) {
        std::array<double, 3> g = {0.3, -0.2, 0.1};
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b) g[a] += c[a][b] * x[b];
        return g;
      },
      [c](const Position&) {
        Matrix3 h{};
        for (int a = 0; a < 3; ++a)
          for (int b = 0; b < 3; ++b) h[a][b] = c[a][b];
        return h;
      }};
  // Quartic with mixed terms: x^4 + x^2 y^2 - 2 y z^3 + x y z.
  Polynomial quartic{
      "quartic",
      test::diagonal_axes(0.25f, 0.5f, 0.125f),
      [](const Position& p) {
        const double x = p[0], y = p[1], z = p[2];
        return x * x * x * x + x * x * y * y - 2.0 * y * z * z * z + x * y * z;
      },
      [](const Position& p) {
        const double x = p[0], y = p[1], z = p[2];
        return std::array<double, 3>{4 * x * x * x + 2 * x * y * y + y * z,
                                     2 * x * x * y - 2 * z * z * z + x * z,
                                     -6 * y * z * z + x * y};
      },
      [](const Position& p) {
        const double x = p[0], y = p[1], z = p[2];
        Matrix3 h{};
        h[0][0] = 12 * x * x + 2 * y * y;
        h[1][1] = 2 * x * x;
        h[2][2] = -12 * y * z;
        h[0][1] = h[1][0] = 4 * x * y + z;
        h[0][2] = h[2][0] = y;
        h[1][2] = h[2][1] = -6 * z * z + x;
        return h;
      }};
  return {linear, quadratic, quartic};
}

Position position(const AxisVectors& axes, const std::array<double, 3>& centre, int i, int j,
                  int k) {
  return {step_length(axes[0]) * (i - centre[0]), step_length(axes[1]) * (j - centre[1]),
          step_length(axes[2]) * (k - centre[2])};
}

TEST(NumericalDerivatives, ExactForPolynomialsUpToDegreeFour) {
  const std::array<double, 3> centre = {3.5, 3.0, 4.0};
  for (const Polynomial& p : polynomials()) {
    SCOPED_TRACE(p.name);
    const Grid rho = test::grid_of(8, 7, 9, p.axes, p.f, centre);
    const auto grad = numerical_gradient(rho, p.axes);
    const auto lapl = numerical_laplacian(rho, p.axes);
    ASSERT_TRUE(grad && lapl);
    for (int k = 0; k < rho.n3; ++k)
      for (int j = 0; j < rho.n2; ++j)
        for (int i = 0; i < rho.n1; ++i) {
          if (!test::is_interior(rho, i, j, k)) {
            EXPECT_EQ(grad->at(i, j, k), 0.0);
            EXPECT_EQ(lapl->at(i, j, k), 0.0);
            continue;
          }
          const Position x = position(p.axes, centre, i, j, k);
          const auto g = p.gradient(x);
          const Matrix3 h = p.hessian(x);
          EXPECT_NEAR(grad->at(i, j, k), std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]),
                      1e-9);
          EXPECT_NEAR(lapl->at(i, j, k), h[0][0] + h[1][1] + h[2][2], 1e-9);
          const Matrix3 num = hessian(rho, i, j, k, p.axes);
          for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b) EXPECT_NEAR(num[a][b], h[a][b], 1e-9) << a << b;
          EXPECT_EQ(num[0][1], num[1][0]);
          EXPECT_EQ(num[1][2], num[2][1]);
        }
  }
}

TEST(NumericalDerivatives, LinearSlopeIsExactPerStepLength) {
  // f = s * i along each axis in turn: D_a = s / h_a exactly.
  const AxisVectors axes = test::diagonal_axes(0.5f, 0.25f, 2.0f);
  for (int axis = 0; axis < 3; ++axis) {
    Grid rho = make_grid(6, 6, 6, "t");
    for (int k = 0; k < 6; ++k)
      for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) rho.at(i, j, k) = 3.0 * (axis == 0 ? i : axis == 1 ? j : k);
    const auto grad = numerical_gradient(rho, axes);
    const auto lapl = numerical_laplacian(rho, axes);
    ASSERT_TRUE(grad && lapl);
    EXPECT_EQ(grad->at(2, 3, 2), 3.0 / step_length(axes[axis])) << axis;
    EXPECT_EQ(lapl->at(3, 2, 3), 0.0) << axis;
  }
}

TEST(NumericalDerivatives, GridSizesAndInterior) {
  const AxisVectors axes = test::diagonal_axes(1, 1, 1);
  struct Case {
    int n1, n2, n3;
    bool derived;
  } cases[] = {{5, 5, 5, true}, {4, 6, 6, false}, {6, 4, 6, false}, {6, 6, 4, false},
               {5, 7, 6, true}};
  for (const Case& c : cases) {
    const Grid rho = test::grid_of(c.n1, c.n2, c.n3, axes,
                                   [](const Position& x) { return 1.0 + x[0] * x[0]; });
    const auto grad = numerical_gradient(rho, axes);
    const auto lapl = numerical_laplacian(rho, axes);
    EXPECT_EQ(grad.has_value(), c.derived);
    EXPECT_EQ(lapl.has_value(), c.derived);
    if (!c.derived) continue;
    int nonzero = 0;
    for (double v : lapl->values) nonzero += v != 0.0;
    EXPECT_EQ(nonzero, (c.n1 - 4) * (c.n2 - 4) * (c.n3 - 4));
  }
}

TEST(NumericalDerivatives, HugeValuesGiveNoInfinity) {
  const AxisVectors axes = test::diagonal_axes(1e-3f, 1, 1);
  const Grid rho = test::grid_of(5, 5, 5, axes, [](const Position& x) {
    return x[0] > 0 ? 1e306 : -1e306;
  });
  const auto grad = numerical_gradient(rho, axes);
  const auto lapl = numerical_laplacian(rho, axes);
  for (double v : grad->values) EXPECT_TRUE(std::isfinite(v));
  for (double v : lapl->values) EXPECT_TRUE(std::isfinite(v));
}

}  // namespace
}  // namespace qv
