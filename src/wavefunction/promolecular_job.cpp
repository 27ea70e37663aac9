#include "wavefunction/promolecular_job.hpp"

#include "gridio/cube_writing.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/stop.hpp"
#include "parallel/parallel_for.hpp"
#include "wavefunction/geometry_reading.hpp"
#include "wavefunction/promolecular_sweep.hpp"
#include "wavefunction/sweep_memory.hpp"
#include "wavefunction/wfn_job.hpp"
#include "wavefunction/wfn_sweep.hpp"

namespace qv {

namespace {

[[noreturn]] void stop_with(RunOutput& out, const ListLine& line) {
  out.to_log(line);
  out.to_screen(line);
  program_stop(1);
}
[[noreturn]] void stop_with(RunOutput& out, const std::string& message) {
  stop_with(out, ListLine().text(message));
}

std::vector<GeometryAtom> read_geometry(const WfnSettings& wfn, RunOutput& out,
                                        WavefunctionFormat format) {
  auto in = LineReader::open(trimmed(wfn.wavefunction_file));
  if (!in)
    stop_with(out, ListLine().text(left_adjust(wfn.wavefunction_file, 33)).text(" file cannot be opened, program stop"));
  try {
    return format == WavefunctionFormat::xyz ? read_xyz(*in) : read_pdb(*in);
  } catch (const GeometryError& e) {
    const std::string where = e.line() > 0 ? " line " + std::to_string(e.line()) : "";
    stop_with(out, e.file() + where + ": " + e.what() + ", program stop");
  }
}

// The cube header of a geometry: atomic number, the atomic number again as the charge, and the
// position in bohr.
GridHeader geometry_cube_header(const std::vector<GeometryAtom>& atoms, const WfnSettings& wfn,
                                const WfnGridLayout& layout) {
  GridHeader h = wfn_box_header(wfn, layout);
  h.natoms = static_cast<std::int32_t>(atoms.size());
  for (const GeometryAtom& a : atoms) {
    h.atomic_numbers.push_back(a.atomic_number);
    h.atoms.push_back({static_cast<float>(a.atomic_number), static_cast<float>(a.x),
                       static_cast<float>(a.y), static_cast<float>(a.z)});
  }
  return h;
}

}  // namespace

bool run_promolecular_wfn_job(WfnSettings& wfn, RunOutput& out, WavefunctionFormat format) {
  if (wfn.properties.energy_densities)
    stop_with(out, "WFN SECTION: the energy densities (ene) need orbitals; a geometry (.xyz, .pdb) "
                   "gives the promolecular density, gradient and laplacian only, program stop");
  const std::vector<GeometryAtom> atoms = read_geometry(wfn, out, format);
  wfn.basis_cutoff = 1.0e-10f;
  wfn.input_format = format;
  const std::string stem = trimmed(wfn.output_stem);
  const WfnProperties& on = wfn.properties;
  if (!(on.density || on.gradient || on.laplacian)) return true;

  // An absurd grid is refused before anything is allocated (no orbitals: an empty record).
  check_sweep_memory(WfnRecord{}, wfn, stem + " grids", sweep_threads());
  const WfnGridLayout layout = wfn_grid_layout(wfn);

  WfnGrids grids = promolecular_sweep(atoms, wfn, layout, stem + " grids");
  write_density_cubes(geometry_cube_header(atoms, wfn, layout), grids, wfn);
  return true;
}

}  // namespace qv
