#include "wavefunction/sweep_memory.hpp"

#include <algorithm>

#include "gridio/stop.hpp"
#include "wavefunction/orbital_kernels.hpp"

namespace qv {

void check_sweep_memory(const WfnRecord& rec, const WfnSettings& wfn, const std::string& what,
                        int evaluators) {
  using Wide = unsigned __int128;
  const WfnProperties& on = wfn.properties;
  const bool derivatives = on.needs_derivatives();
  const int grids = (on.density ? 1 : 0) + (on.gradient ? 1 : 0) + (on.laplacian ? 1 : 0) +
                    (on.energy_densities ? 3 : 0);
  if (grids == 0) return;
  const Wide nx = static_cast<Wide>(std::max(wfn.points_x, 0));
  const Wide ny = static_cast<Wide>(std::max(wfn.points_y, 0));
  const Wide nz = static_cast<Wide>(std::max(wfn.points_z, 0));
  const Wide npad = (nx + orbital_kernels::kPointBlock - 1) / orbital_kernels::kPointBlock *
                    orbital_kernels::kPointBlock;
  const Wide prims = static_cast<Wide>(rec.primitive_count) + static_cast<Wide>(rec.edf_count());
  const Wide columns = static_cast<Wide>(rec.orbital_count) + 1 + orbital_kernels::kColumnBlock;
  // Per evaluator: x-factor tables (at most one per primitive), orbital values and derivatives,
  // weights, coefficients, and the row buffers of the properties.
  const Wide per_evaluator = npad * prims * (derivatives ? 3 : 1) +
                             npad * columns * (derivatives ? 5 : 1) +
                             prims * columns * (derivatives ? 5 : 2) + 5 * npad;
  const Wide doubles = static_cast<Wide>(grids) * nx * ny * nz + nx +
                       per_evaluator * static_cast<Wide>(std::max(evaluators, 1));
  const Wide bytes = doubles * sizeof(double);
  if (bytes <= available_memory_bytes()) return;
  const Wide mb = 1 << 20;
  const Wide grid_mb = (static_cast<Wide>(grids) * nx * ny * nz * sizeof(double) + mb - 1) / mb;
  std::string grid_text;  // no std::to_string for 128-bit integers
  for (Wide v = grid_mb; grid_text.empty() || v; v /= 10)
    grid_text.insert(grid_text.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
  throw OutOfMemory("out of memory: " + what + ": " + std::to_string(grids) + " grid(s) of " +
                    std::to_string(wfn.points_x) + " x " + std::to_string(wfn.points_y) + " x " +
                    std::to_string(wfn.points_z) +
                    " points and their row work need more memory than is available (the grids "
                    "alone " + grid_text + " MB)");
}

}  // namespace qv
