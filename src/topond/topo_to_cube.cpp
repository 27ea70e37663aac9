#include "topond/topo_to_cube.hpp"

#include <algorithm>

#include "gridio/cube_writing.hpp"
#include "gridio/file_identity.hpp"
#include "gridio/open_input.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/stop.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"
#include "topond/topo_array.hpp"

namespace qv {

namespace {

// A cube file must never be created over one of the job's own input files: the input would be
// emptied before (or after) it is read.
void refuse_overwriting_inputs(const std::string& cube, const TopSettings& top, int n_grids,
                               RunOutput& out) {
  std::vector<std::string> inputs{trimmed(top.crys_out)};
  for (int g = 0; g < n_grids; ++g) inputs.push_back(trimmed(top.grd_top_name[g]));
  for (const std::string& input : inputs) {
    if (!same_existing_file(cube, input)) continue;
    out.to_log("TOPOND TO CUBE CONVERSION: the cube file " + cube + " would overwrite the input file " +
               input + ", program stop");
    program_stop(1);
  }
}

ExpandedAtoms read_atoms(const TopSettings& top, RunOutput& out) {
  auto crystal_file = open_input_or_stop(top.crys_out, out);
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

bool topo_to_cube(const TopSettings& top, RunOutput& out) {
  ExpandedAtoms atoms = read_atoms(top, out);
  const int n_grids = std::clamp(top.n_grid, 0, 3);
  for (int g = 0; g < n_grids; ++g) {
    auto in = open_input_or_stop(top.grd_top_name[g], out);
    const std::string cube_name = trimmed(top.cubeout[g]) + ".cube";
    refuse_overwriting_inputs(cube_name, top, n_grids, out);
    auto cube = TextOutput::create(cube_name);

    GridHeader header;  // origin, counts and axes start at zero for every grid
    header.natoms = static_cast<std::int32_t>(atoms.atoms.size());
    header.atomic_numbers = atoms.atomic_numbers;
    header.atoms = atoms.atoms;
    Grid grid;
    topo_array(*in, header, grid);
    cube_writing(header, grid, *cube);
    cube->close();  // complete before the next grid is opened
  }
  return true;
}

}  // namespace qv
