#pragma once
// Reader of the parts of a CRYSTAL output file that the TOP job needs: the irreducible atoms
// (label and fractional coordinates) and the direct lattice vectors in angstrom.
#include <array>
#include <string>
#include <vector>

#include "gridio/line_reader.hpp"

namespace qv {

struct CrystalStructure {
  std::vector<std::string> labels;                // 11 characters each, blank-padded
  std::vector<std::array<float, 3>> fractional;   // one row per irreducible atom
  std::array<std::array<float, 3>, 3> lattice{};  // lattice[k] = direct lattice vector k
};

enum class CrystalRead {
  Ok,
  NoAtomCount,  // no irreducible-atom count line before " INPUT COORDINATES"
};

// Reads from the start of the file. An end of file before a marker line, or a malformed number,
// raises TextError naming the file and line.
CrystalRead read_crystal_output(LineReader& in, CrystalStructure& out);

}  // namespace qv
