#include "topond/top_job.hpp"

#include <algorithm>

#include "gridio/cube_writing.hpp"
#include "gridio/file_identity.hpp"
#include "gridio/open_input.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/stop.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"
#include "topond/topond_grid.hpp"

namespace qv {

namespace {

// A cube file must never be created over one of the job's own input files: the input would be
// emptied before (or after) it is read.
void refuse_overwriting_inputs(const std::string& cube, const TopSettings& top, int n_grids,
                               RunOutput& out) {
  std::vector<std::string> inputs{trimmed(top.crystal_output)};
  for (int g = 0; g < n_grids; ++g) inputs.push_back(trimmed(top.topond_grids[g]));
  for (const std::string& input : inputs) {
    if (!same_existing_file(cube, input)) continue;
    out.to_log("TOPOND TO CUBE CONVERSION: the cube file " + cube +
               " would overwrite the input file " + input + ", program stop");
    program_stop(1);
  }
}

ExpandedAtoms read_atoms(const TopSettings& top, RunOutput& out) {
  auto crystal_file = open_input_or_stop(top.crystal_output, out);
  CrystalStructure crystal;
  const CrystalRead outcome = read_crystal_output(*crystal_file, crystal);
  if (outcome != CrystalRead::Ok) {
    out.to_log(crystal_file->name() + refusal_reason(outcome, crystal.cell));
    program_stop(1);
  }
  ExpandedAtoms atoms = expand_atoms(crystal, top);
  if (!atoms.bad_label.empty()) {
    out.to_log(crystal_file->name() + ": the atom label \"" + atoms.bad_label +
               "\" holds no atomic number in its characters 7 and 8, program stop");
    program_stop(1);
  }
  return atoms;
}

}  // namespace

bool run_top_job(const TopSettings& top, RunOutput& out) {
  ExpandedAtoms atoms = read_atoms(top, out);
  const int n_grids = std::clamp(top.grid_count, 0, 3);
  for (int g = 0; g < n_grids; ++g) {
    auto in = open_input_or_stop(top.topond_grids[g], out);
    const std::string cube_name = trimmed(top.cube_stems[g]) + ".cube";
    refuse_overwriting_inputs(cube_name, top, n_grids, out);
    auto cube = TextOutput::create(cube_name);

    GridHeader header;  // origin, counts and axes start at zero for every grid
    header.natoms = static_cast<std::int32_t>(atoms.atoms.size());
    header.atomic_numbers = atoms.atomic_numbers;
    header.atoms = atoms.atoms;
    Grid grid;
    read_topond_grid(*in, header, grid);
    write_cube_file(header, grid, *cube);
    cube->close();  // complete before the next grid is opened
  }
  return true;
}

}  // namespace qv
