#pragma once
// The TOP job: converts TOPOND grid files into cube files with the symmetry-expanded atoms of
// the crystal.
#include "gridio/run_output.hpp"
#include "topond/top_settings.hpp"

namespace qv {

// Returns false when the job is not available in this build (after saying so in the run log).
bool run_top_job(const TopSettings& top, RunOutput& out);

}  // namespace qv
