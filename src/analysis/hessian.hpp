#pragma once
// The numerical Hessian of a density grid at one interior point.
#include <array>
#include <cstdint>

#include "analysis/grid_axes.hpp"
#include "gridio/grid.hpp"

namespace qv {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// Second derivatives with respect to distance along the axes (axes treated as orthogonal).
// (i1, i2, i3) are counted from 0 and must be interior: 2 <= index <= N-3 on every axis; this is
// not checked. Diagonal: five-point second differences; off-diagonal: the mean of the two orders
// of nested five-point first differences.
Matrix3 hessian(const Grid& rho, std::int32_t i1, std::int32_t i2, std::int32_t i3,
                const AxisVectors& axes);

// The same at the point `p` of a grid with the given memory strides per axis and the
// denominators of stencils.hpp per axis; shared by the point and the sweep versions.
Matrix3 hessian_at(const double* p, const std::array<std::ptrdiff_t, 3>& stride,
                   const std::array<double, 3>& first_den, const std::array<double, 3>& second_den);

}  // namespace qv
