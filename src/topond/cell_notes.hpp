#pragma once
// What a CRYSTAL output says about its cell before the first lattice block. For a centred
// lattice (F, I, A, B, C, R) CRYSTAL prints the primitive vectors in that block, while the input
// coordinates are fractions of the conventional cell; the transformation matrix it prints gives
// every conventional vector as a combination of the primitive ones. CRYSTAL may also move all
// atoms by one translation while it edits the geometry (a new origin), and its grids are laid
// out around the moved atoms.
#include <array>
#include <cstdint>
#include <string_view>

#include "gridio/line_reader.hpp"

namespace qv {

using Matrix3 = std::array<std::array<double, 3>, 3>;

inline constexpr std::string_view kTransformationMatrixHeading =
    " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL";

struct CellNotes {
  // n of the last " PRIMITIVE CELL - CENTRING CODE n/m" line (1: primitive lattice; 0: the code
  // could not be read); code_line is that line's number, 0 when no such line was seen.
  std::int32_t centring_code = 1;
  long code_line = 0;
  // The last " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL": matrix_line is the line of
  // its nine numbers (0: no matrix seen); matrix_usable tells whether they were read and form an
  // invertible matrix. Row i of the matrix: conventional vector i in primitive vectors.
  long matrix_line = 0;
  bool matrix_usable = false;
  Matrix3 matrix{};
  // Sum of the " ATOMS TRANSLATED BY (ANGSTROM)" shifts, Cartesian angstrom.
  std::array<double, 3> atom_shift{};

  // Takes note of one line read from `in`; when it heads the transformation matrix, reads the
  // next line too. A malformed translation line raises TextError naming the file and line.
  void note(std::string_view line, LineReader& in);

  // The lattice is centred, or its centring code unreadable: its vectors need the matrix.
  bool centred() const { return code_line != 0 && centring_code != 1; }
};

// Nine blank-separated numbers, row by row, forming an invertible matrix; false otherwise.
bool parse_transformation_matrix(std::string_view line, Matrix3& rows);

// conventional[i] = sum over k of rows[i][k] * primitive[k], formed in double precision.
Matrix3 conventional_vectors(const Matrix3& rows, const Matrix3& primitive);

}  // namespace qv
