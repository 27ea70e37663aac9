#pragma once
// Gradient magnitude and laplacian of a density grid by five-point finite differences, for
// runs that name no gradient or laplacian grid files.
#include <optional>

#include "analysis/grid_axes.hpp"
#include "gridio/grid.hpp"

namespace qv {

// Each derivative is taken with respect to distance along its axis (step length h_a) and the
// three axes are combined as if they were orthogonal. Interior points get the value, the rim
// (index 1, 2, N-1 or N along some axis) 0.0. With fewer than 5 points along some axis nothing
// is derived: the result is empty. Raises OutOfMemory when the grid cannot be allocated.
std::optional<Grid> numerical_gradient(const Grid& rho, const AxisVectors& axes);
std::optional<Grid> numerical_laplacian(const Grid& rho, const AxisVectors& axes);

}  // namespace qv
