#pragma once
// The promolecular density on the WFN job's box grid: the sum of the free atoms' spherical
// densities, with its gradient norm and laplacian, analytic. Each atom counts only within its
// element's cut-off radius; a cell list finds the atoms near each grid row.
#include <string>
#include <vector>

#include "wavefunction/geometry_reading.hpp"
#include "wavefunction/wfn_settings.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

// Fills the grids that wfn.wfn_risp asks for among density, gradient norm and laplacian (the
// energy-density switch is not looked at). Points lie where the wavefunction sweep puts them
// (y and z accumulated step by step). Every row is computed on its own, the atoms added in one
// fixed order, so the values do not depend on how rows are shared out among the threads.
// `pairs_within_cutoff`, when given, receives the number of point-atom pairs evaluated.
WfnGrids promolecular_sweep(const std::vector<GeometryAtom>& atoms, const WfnSettings& wfn,
                            const WfnGridLayout& layout, const std::string& what,
                            long long* pairs_within_cutoff = nullptr);

}  // namespace qv
