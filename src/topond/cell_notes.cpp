#include "topond/cell_notes.hpp"

#include <cmath>
#include <string>

#include "gridio/fast_fields.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

constexpr std::string_view kCentring = " PRIMITIVE CELL - CENTRING CODE";
constexpr std::string_view kShift = " ATOMS TRANSLATED BY (ANGSTROM)";

// Reads up to `count` blank-separated numbers; true when exactly `count` stand there and
// nothing else follows.
bool scan_exactly(std::string_view text, double* out, int count) {
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < count; ++i)
    if (!scan_number(p, end, out[i]) || !std::isfinite(out[i])) return false;
  double extra = 0.0;
  return !scan_number(p, end, extra) && p == end;
}

// n of "n/m" after the marker; 0 when there is no such number.
std::int32_t centring_code_of(std::string_view rest) {
  std::size_t i = rest.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  std::int32_t code = 0;
  std::size_t digits = 0;
  for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9' && digits < 6; ++i, ++digits)
    code = code * 10 + (rest[i] - '0');
  return (digits > 0 && i < rest.size() && rest[i] == '/') ? code : 0;
}

double determinant(const Matrix3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

}  // namespace

void CellNotes::note(std::string_view line, LineReader& in) {
  if (line.starts_with(kCentring)) {
    centring_code = centring_code_of(line.substr(kCentring.size()));
    code_line = in.line_number();
  } else if (line.starts_with(kTransformationMatrixHeading)) {
    std::string_view numbers;
    matrix_usable = in.next(numbers) && parse_transformation_matrix(numbers, matrix);
    matrix_line = in.line_number();
    if (!matrix_usable) matrix = {};
  } else if (line.starts_with(kShift)) {
    double shift[3];
    if (!scan_exactly(line.substr(kShift.size()), shift, 3))
      throw TextError(in.name(), in.line_number(),
                      "three numbers (x, y, z in angstrom) after \"" + std::string(kShift) + "\"");
    for (std::size_t c = 0; c < 3; ++c) atom_shift[c] += shift[c];
  }
}

bool parse_transformation_matrix(std::string_view line, Matrix3& rows) {
  double v[9];
  if (!scan_exactly(line, v, 9)) return false;
  for (std::size_t i = 0; i < 9; ++i) rows[i / 3][i % 3] = v[i];
  // A conventional cell holds at least one lattice point: its volume is the primitive one
  // times a whole number of at least 1, so a (near-)zero determinant is no such matrix.
  return std::fabs(determinant(rows)) >= 0.5;
}

Matrix3 conventional_vectors(const Matrix3& rows, const Matrix3& primitive) {
  Matrix3 out{};
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t c = 0; c < 3; ++c)
      out[i][c] = rows[i][0] * primitive[0][c] + rows[i][1] * primitive[1][c] +
                  rows[i][2] * primitive[2][c];
  return out;
}

}  // namespace qv
