#pragma once
// The WFN job: evaluates the requested properties of a wavefunction on a box grid and writes
// them as cube files.
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// Reads the wavefunction, evaluates the requested grids and writes their cube files; returns
// true (the job is built). Stops the run (ProgramStop) on a wavefunction it cannot use.
bool run_wfn_job(WfnSettings& wfn, RunOutput& out);

}  // namespace qv
