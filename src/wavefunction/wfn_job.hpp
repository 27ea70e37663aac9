#pragma once
// The WFN job: evaluates the requested properties of a wavefunction on a box grid and writes
// them as cube files.
#include "gridio/grid.hpp"
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_settings.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

// Reads the wavefunction, evaluates the requested grids and writes their cube files; returns
// true (the job is built). Stops the run (ProgramStop) on a wavefunction it cannot use.
// A .xyz or .pdb input (by the name's ending, any case) gives the promolecular density instead.
bool run_wfn_job(WfnSettings& wfn, RunOutput& out);

// Writes one property grid as a cube file, closes the file and releases the grid.
void write_wfn_cube(const GridHeader& header, Grid& grid, TextOutput& out);

// The grid box of every WFN cube header; the caller adds the atoms.
GridHeader wfn_box_header(const WfnSettings& wfn, const WfnGridLayout& layout);

// The density, gradient and laplacian cubes that `wfn` asks for, each grid released once written.
void write_density_cubes(const GridHeader& header, WfnGrids& grids, const WfnSettings& wfn);

}  // namespace qv
