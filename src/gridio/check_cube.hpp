#pragma once
// Consistency of a gradient or laplacian grid header with the density grid header: a different
// atom list only warns; a different origin, point counts or axis vectors stop the run.
#include <cstdint>
#include <string_view>

#include "gridio/grid.hpp"
#include "gridio/run_output.hpp"

namespace qv {

// The 9-character labels naming the grid being checked.
inline constexpr std::string_view kGradientLabel = "gradient ";
inline constexpr std::string_view kLaplacianLabel = "laplacian";

// The WFN section's point counts, echoed when the point counts differ.
struct WfnCounts {
  std::int32_t points_x = 0, points_y = 0, points_z = 0;
};

// Writes each message to standard output, then to the run log. Returns when the run may go
// on; raises ProgramStop{1} after writing when the origin, counts or axes differ.
void check_cube(const GridHeader& fresh, const GridHeader& reference, std::string_view label,
                const WfnCounts& wfn, RunOutput& out);

}  // namespace qv
