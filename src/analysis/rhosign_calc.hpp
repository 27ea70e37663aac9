#pragma once
// rho*sign(lambda2): the density signed by the middle eigenvalue of its Hessian.
#include "analysis/grid_axes.hpp"
#include "gridio/grid.hpp"

namespace qv {

// A mask value at or above this excludes a point (RDG holds 1.0E10 where it was not computed).
inline constexpr double kRhosignMaskThreshold = 1.0E10;

// rhosign over the density's shape: at every interior point whose mask value is below
// 1.0E10, -rho when lambda2 < 0 and +rho otherwise; 0.0 at masked points and on the rim (with
// fewer than 5 points along an axis the whole grid is 0.0). The mask has the density's shape.
Grid rhosign_calc(const Grid& rho, const Grid& mask, const AxisVectors& axes);

}  // namespace qv
