#pragma once
// Two-column text tables for plotting RDG against the density or against rho*sign(lambda2).
#include "gridio/grid.hpp"
#include "gridio/text_output.hpp"

namespace qv {

inline constexpr int kPlotRhoUnit = 103;      // table of RDG against the density
inline constexpr int kPlotRhosignUnit = 104;  // table of RDG against rho*sign(lambda2)

// Writes to the open table `out`: the heading that `unit` selects (none for other units), then
// one row "(5X,E11.3,10X,E11.3)" of first-column value and RDG for every interior point whose
// RDG is not 1.0E10, axis 3 slowest and axis 1 fastest. No rows with fewer than 5 points along
// some axis. `first_column` has the shape of `rdg_array`.
void plot(const Grid& rdg_array, const Grid& first_column, int unit, TextOutput& out);

}  // namespace qv
