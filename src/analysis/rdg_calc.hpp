#pragma once
// The reduced density gradient over a grid, at the points chosen by a value range on a
// selection grid and by an optional space cut-off around the atoms.
#include "analysis/grid_axes.hpp"
#include "analysis/rdg_settings.hpp"
#include "gridio/grid.hpp"

namespace qv {

inline constexpr double kRdgFactor = 0.1616204512359269;  // 1/(2 (3 pi^2)^(1/3))
inline constexpr double kRdgExponent = 1.3333333730697632;  // 4/3 in single precision, widened

// Range and space cut-off of one RDG computation; `cutoff` is the distance of the space
// cut-off (near atoms, or the atoms' extent box widened by it).
struct RdgChoice {
  float lower = -1000.0f, upper = 1000.0f;  // strict bounds on the selection value
  float cutoff = 1000.0f;                   // bohr
  SpaceCutoff space = SpaceCutoff::none;
};

// RDG over the density's shape: 0.1616204512359269*|g| / rho^1.3333333730697632 where
// lower < selection < upper, rho > 0 and the space test passes; 1.0E10 everywhere else (also
// where the value would not be finite). Point positions and the space tests are evaluated in
// single precision from the header's origin, axes and atom table. The extent box of an empty
// atom table chooses no point.
Grid rdg_calc(const Grid& rho, const Grid& grad, const Grid& selection, const RdgChoice& choice,
              const GridHeader& header);

}  // namespace qv
