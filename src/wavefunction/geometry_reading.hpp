#pragma once
// Readers of molecular geometries for promolecular densities: .xyz files (atom count, a comment
// line, then one line per atom: element symbol and x y z in angstrom) and .pdb files (ATOM and
// HETATM records). Positions are converted to bohr.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gridio/line_reader.hpp"

namespace qv {

// One bohr in angstrom (CODATA 2018).
inline constexpr double kBohrInAngstrom = 0.529177210903;

struct GeometryAtom {
  int atomic_number;
  double x, y, z;  // bohr
};

// A geometry that cannot be used: the file, the line (0: the file as a whole) and what is wrong.
class GeometryError : public std::runtime_error {
 public:
  GeometryError(std::string file, long line, std::string problem)
      : std::runtime_error(problem), file_(std::move(file)), line_(line) {}
  const std::string& file() const { return file_; }
  long line() const { return line_; }

 private:
  std::string file_;
  long line_;
};

// Every element must have free-atom data (H to Xe); anything else is a GeometryError.
std::vector<GeometryAtom> read_xyz(LineReader& in);
// The first model only (up to ENDMDL); of atoms with alternate locations, those marked A.
std::vector<GeometryAtom> read_pdb(LineReader& in);

}  // namespace qv
