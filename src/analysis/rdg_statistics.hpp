#pragma once
// What the ten RDG isosurfaces s = 0.1 ... 1.0 enclose: point counts, volumes and the integrals
// of the density, rho*sign(lambda2) and the Abramov energy densities.
#include <array>

#include "analysis/abramov_calc.hpp"
#include "analysis/grid_axes.hpp"
#include "analysis/rdg_settings.hpp"
#include "gridio/grid.hpp"

namespace qv {

// Threshold b (from 0): (b+1) * 0.1 formed in single precision, widened.
std::array<double, 10> rdg_thresholds();

// Sums over the interior points (rim never counted), bins cumulative: a point counts in bin b
// when threshold b is strictly greater than its RDG. Each sum is finally multiplied by h1, h2
// and h3 in turn (step lengths in single precision, widened), the volume element used for any
// axes. Pass `rdg` only when RDG was requested (all zeros otherwise), `rhosign` only when
// rho*sign(lambda2) was, `abramov` only when the energy densities were; the sums of a missing
// grid stay 0.
RdgStatistics rdg_statistics(const Grid* rdg, const Grid& rho, const Grid* rhosign,
                             const AbramovGrids* abramov, const AxisVectors& axes);

}  // namespace qv
