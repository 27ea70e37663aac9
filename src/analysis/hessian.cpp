#include "analysis/hessian.hpp"

#include "analysis/stencils.hpp"

namespace qv {

namespace {

// D_b applied to D_a f: the first derivative along a taken at the points displaced by
// +1, +2, -1, -2 along b, then differenced along b.
double nested_difference(const double* p, std::ptrdiff_t sa, std::ptrdiff_t sb, double den_a,
                         double den_b) {
  const double u_p1 = first_difference(p + sb, sa, den_a);
  const double u_p2 = first_difference(p + 2 * sb, sa, den_a);
  const double u_m1 = first_difference(p - sb, sa, den_a);
  const double u_m2 = first_difference(p - 2 * sb, sa, den_a);
  return (((8.0 * u_p1 - u_p2) - 8.0 * u_m1) + u_m2) / den_b;
}

}  // namespace

Matrix3 hessian_at(const double* p, const std::array<std::ptrdiff_t, 3>& stride,
                   const std::array<double, 3>& first_den,
                   const std::array<double, 3>& second_den) {
  Matrix3 h{};
  for (int a = 0; a < 3; ++a) h[a][a] = second_difference(p, stride[a], second_den[a]);
  for (int a = 0; a < 3; ++a) {
    for (int b = a + 1; b < 3; ++b) {
      const double ab = nested_difference(p, stride[a], stride[b], first_den[a], first_den[b]);
      const double ba = nested_difference(p, stride[b], stride[a], first_den[b], first_den[a]);
      h[a][b] = h[b][a] = 0.5 * (ab + ba);
    }
  }
  return h;
}

Matrix3 hessian(const Grid& rho, std::int32_t i1, std::int32_t i2, std::int32_t i3,
                const AxisVectors& axes) {
  const std::array<std::ptrdiff_t, 3> stride = {
      1, rho.n1, static_cast<std::ptrdiff_t>(rho.n1) * rho.n2};
  std::array<double, 3> first_den{}, second_den{};
  for (int a = 0; a < 3; ++a) {
    const float h = step_length(axes[a]);
    first_den[a] = first_denominator(h);
    second_den[a] = second_denominator(h);
  }
  return hessian_at(rho.values.data() + grid_index(rho, i1, i2, i3), stride, first_den,
                    second_den);
}

}  // namespace qv
