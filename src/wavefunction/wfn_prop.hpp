#pragma once
// The WFN job: evaluates the requested properties of a wavefunction on a box grid and writes
// them as cube files.
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// Returns false when the job is not available in this build (after saying so in the run log).
bool wfn_prop(WfnSettings& wfn, RunOutput& out);

}  // namespace qv
