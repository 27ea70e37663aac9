#pragma once
// The WFN job on a molecular geometry (.xyz or .pdb) instead of a wavefunction: the
// promolecular density, its gradient norm and its laplacian, written as the same cube files.
#include "gridio/run_output.hpp"
#include "wavefunction/wavefunction_format.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

// Reads the geometry named by wfn.wfn_inpname (`format` xyz or pdb), evaluates the requested grids and writes their
// cube files; returns true. Energy densities need orbitals: asking for them, an unreadable
// file or an unusable geometry is reported in the run log and on the screen, and the run stops
// (ProgramStop, status 1) before any cube file is written.
bool run_promolecular_wfn_job(WfnSettings& wfn, RunOutput& out, WavefunctionFormat format);

}  // namespace qv
