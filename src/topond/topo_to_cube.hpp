#pragma once
// The TOP job: converts TOPOND grid files into cube files with the symmetry-expanded atoms of
// the crystal.
#include "gridio/run_output.hpp"
#include "topond/top_settings.hpp"

namespace qv {

// Returns false when the job is not available in this build (after saying so in the run log).
bool topo_to_cube(const TopSettings& top, RunOutput& out);

}  // namespace qv
