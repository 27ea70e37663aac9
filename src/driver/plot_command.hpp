#pragma once
// quelvarin-plot INPUT: pictures of the 2D plot tables and a VMD script for the cubes of the
// RDG job that INPUT describes. The run's own outputs and its run log are only read.
#include <string>

#include "analysis/rdg_settings.hpp"
#include "gridio/text_output.hpp"
#include "view/nci_regions.hpp"

namespace qv {

// Draws what `rdg` names: one SVG picture per requested table, and the VMD script and the
// table of NCI regions (by `criteria`) when both the RDG and the rho*sign(lambda2) cubes are
// requested. What is written goes to `screen`,
// failures to `errors`; one failure does not keep the other outputs from being made.
// Returns the exit status: 0, 1 (a detected problem: nothing to draw, a file in the way,
// mismatched cubes), 2 (a missing or malformed table or cube), 3 (out of memory).
int draw_results(const RdgSettings& rdg, const std::string& input_name, TextOutput& screen,
                 TextOutput& errors, const NciCriteria& criteria = {});

// The whole command: reads the input file named by `argument` without touching its run log,
// then draws. Returns the exit status.
int plot_command(const std::string& argument, TextOutput& screen, TextOutput& errors);

}  // namespace qv
