#pragma once
// Reader of the parts of a CRYSTAL output file that the TOP job needs: the irreducible atoms
// (label and fractional coordinates), the vectors of the cell those fractions refer to, in
// angstrom, and any translation CRYSTAL gave all atoms.
#include <array>
#include <string>
#include <vector>

#include "gridio/line_reader.hpp"
#include "topond/cell_notes.hpp"

namespace qv {

struct CrystalStructure {
  std::vector<std::string> labels;                // 11 characters each, blank-padded
  std::vector<std::array<float, 3>> fractional;   // one row per irreducible atom
  // lattice[k] = vector k of the cell of the fractional coordinates: the first printed direct
  // lattice vectors, or for a centred lattice the conventional vectors made from them with the
  // transformation matrix printed before them.
  std::array<std::array<float, 3>, 3> lattice{};
  CellNotes cell;  // centring, matrix and atom translation printed before the lattice block
};

enum class CrystalRead {
  Ok,
  NoAtomCount,            // no irreducible-atom count line before " INPUT COORDINATES"
  CentringWithoutMatrix,  // a centred lattice with no transformation matrix before the vectors
  UnreadableMatrix,       // the matrix line does not hold nine numbers of an invertible matrix
};

// Reads from the start of the file. An end of file before a marker line, or a malformed number,
// raises TextError naming the file and line.
CrystalRead read_crystal_output(LineReader& in, CrystalStructure& out);

// Why a file read with the given outcome cannot be used, to follow the file's name in the run
// log (", line 7: ..." or ": ..."), ending in ", program stop".
std::string refusal_reason(CrystalRead outcome, const CellNotes& cell);

}  // namespace qv
