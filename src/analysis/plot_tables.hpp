#pragma once
// Two-column text tables for plotting RDG against the density or against rho*sign(lambda2).
#include "gridio/grid.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// Which table is written: it chooses the heading.
enum class PlotTable {
  rdg_vs_density,
  rdg_vs_rhosign,  // RDG against rho*sign(lambda2)
  headless,        // rows only
};

// Writes to the open table `out`: the heading that `table` selects, then
// one row "(5X,E11.3,10X,E11.3)" of first-column value and RDG for every interior point whose
// RDG is not 1.0E10, axis 3 slowest and axis 1 fastest. No rows with fewer than 5 points along
// some axis. `first_column` has the shape of `rdg`.
void write_plot_table(const Grid& rdg, const Grid& first_column, PlotTable table,
                      TextOutput& out);

}  // namespace qv
