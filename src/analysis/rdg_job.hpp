#pragma once
// The RDG job: the non-covalent-interaction analysis of a density grid.
#include "analysis/rdg_settings.hpp"
#include "gridio/check_cube.hpp"
#include "gridio/run_output.hpp"

namespace qv {

// `wfn_counts` are the WFN section's point counts, which a header mismatch reports. Returns
// false when the job is not available in this build (after saying so in the run log).
bool run_rdg_job(RdgSettings& rdg, const WfnCounts& wfn_counts, RunOutput& out);

}  // namespace qv
