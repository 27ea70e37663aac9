#pragma once
// The RDG job: the non-covalent-interaction analysis of a density grid.
#include "analysis/rdg_settings.hpp"
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// `wfn` gives the WFN grid counts that a header mismatch reports. Returns false when the job is
// not available in this build (after saying so in the run log).
bool calc_stuff(RdgSettings& rdg, const WfnSettings& wfn, RunOutput& out);

}  // namespace qv
