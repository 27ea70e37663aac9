#pragma once
// The WFN job's box grid: its layout around the centre and the row-by-row sweep that fills the
// requested property grids.
#include <array>
#include <string>
#include <vector>

#include "gridio/grid.hpp"
#include "wavefunction/orbital_kernels.hpp"
#include "wavefunction/wfn_record.hpp"
#include "wavefunction/wfn_settings.hpp"

namespace qv {

struct WfnGridLayout {
  std::array<float, 3> origin{};  // single precision, as the cube header gets it
  std::vector<double> xs;         // x of every point of a row: single precision, widened
};

// The grid is centred on centre: origin = centre - (n - 1) * 0.5 * step, all in single
// precision; point j of a row lies at x = j * step + origin_x (single precision).
WfnGridLayout wfn_grid_layout(const WfnSettings& wfn);

// Property grids; a grid is empty unless its property was requested.
struct WfnGrids {
  Grid rho, grad, lapl, g, v, h;
};

// Sweeps the rows, z slowest, then y; the y and z of a row are accumulated in double precision
// by adding the widened single-precision step. The density alone is evaluated from orbital
// values; any other request evaluates derivatives and forms every requested grid from them.
// `what` names the grids in out-of-memory messages.
WfnGrids wfn_sweep(const WfnRecord& rec, const WfnSettings& wfn, const WfnGridLayout& layout,
                   const std::string& what,
                   const orbital_kernels::Table& kernels = orbital_kernels::best_table());

}  // namespace qv
