#include "topond/crystal_output.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "gridio/fast_fields.hpp"
#include "gridio/list_directed.hpp"
#include "gridio/text_error.hpp"

namespace qv {

namespace {

constexpr std::string_view kAtomCount = " NUMBER OF IRREDUCIBLE ATOMS IN THE CONVENTIONAL CELL:";
constexpr std::string_view kCoordinates = " INPUT COORDINATES";
constexpr std::string_view kLattice = " DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)";

// Lines are taken as 80-column records.
std::string_view record(std::string_view line) { return line.substr(0, 80); }

bool starts_with(std::string_view line, std::string_view marker) {
  return record(line).substr(0, marker.size()) == marker;
}

// Columns first..first+width-1 (1-based) of a line; what lies beyond its end reads as blank.
std::string_view field(std::string_view line, std::size_t first, std::size_t width) {
  if (first - 1 >= line.size()) return {};
  return line.substr(first - 1, width);
}

double real_field(const LineReader& in, std::string_view line, std::size_t first,
                  std::size_t width, int digits) {
  double v = 0.0;
  if (!parse_real_field(field(line, first, width), digits, v))
    throw TextError(in.name(), in.line_number(),
                    "a real number (E" + std::to_string(width) + "." + std::to_string(digits) +
                        ") in columns " + std::to_string(first) + " to " +
                        std::to_string(first + width - 1));
  return v;
}

float real4_field(const LineReader& in, std::string_view line, std::size_t first,
                  std::size_t width, int digits) {
  return static_cast<float>(real_field(in, line, first, width, digits));
}

}  // namespace

CrystalRead read_crystal_output(LineReader& in, CrystalStructure& out) {
  out.cell = CellNotes{};
  const std::string coordinates_wanted = "a line beginning with \"" + std::string(kCoordinates) + "\"";
  std::optional<std::int32_t> atom_count;
  for (;;) {
    const std::string_view line = in.require(coordinates_wanted);
    if (starts_with(line, kAtomCount)) {
      std::int32_t n = 0;
      if (list_read(field(record(line), 55, 5), std::span<std::int32_t>(&n, 1)) != ListStatus::Ok)
        throw TextError(in.name(), in.line_number(), "the number of atoms in columns 55 to 59");
      atom_count = n;  // a later count line overrides an earlier one
    }
    if (starts_with(line, kCoordinates)) break;
    out.cell.note(record(line), in);
  }
  if (!atom_count) return CrystalRead::NoAtomCount;

  in.require("a blank line after \"" + std::string(kCoordinates) + "\"");
  const bool heading_is_lattice = starts_with(in.require("the atom table heading"), kLattice);

  const std::int32_t n = std::max<std::int32_t>(*atom_count, 0);
  out.labels.clear();
  out.fractional.clear();
  out.labels.reserve(n);
  out.fractional.reserve(n);
  for (std::int32_t i = 0; i < n; ++i) {
    const std::string_view line = record(in.require("an atom line of the input coordinates"));
    std::string label(line.substr(0, 11));
    label.resize(11, ' ');
    out.labels.push_back(std::move(label));
    out.fractional.push_back({real4_field(in, line, 12, 20, 12),
                              real4_field(in, line, 32, 20, 12),
                              real4_field(in, line, 52, 20, 12)});
  }

  if (!heading_is_lattice) {
    const std::string wanted = "a line beginning with \"" + std::string(kLattice) + "\"";
    for (std::string_view line = in.require(wanted); !starts_with(line, kLattice);
         line = in.require(wanted))
      out.cell.note(record(line), in);
  }
  in.require("the column heading of the lattice vectors");
  Matrix3 printed{};
  for (auto& vector : printed) {
    const std::string_view line = record(in.require("a direct lattice vector"));
    for (std::size_t c = 0; c < 3; ++c) vector[c] = real_field(in, line, 1 + 21 * c, 21, 12);
  }

  // Without a matrix the printed vectors are those of the input cell (a primitive lattice, or
  // a cell CRYSTAL has already made conventional, as after SUPERCELL).
  const CellNotes& cell = out.cell;
  if (cell.matrix_line != 0 && !cell.matrix_usable) return CrystalRead::UnreadableMatrix;
  if (cell.matrix_line == 0 && cell.centred()) return CrystalRead::CentringWithoutMatrix;
  const Matrix3 vectors =
      cell.matrix_line != 0 ? conventional_vectors(cell.matrix, printed) : printed;
  for (std::size_t k = 0; k < 3; ++k)
    for (std::size_t c = 0; c < 3; ++c) out.lattice[k][c] = static_cast<float>(vectors[k][c]);
  return CrystalRead::Ok;
}

std::string refusal_reason(CrystalRead outcome, const CellNotes& cell) {
  const std::string unknown_cell =
      ", so the cell of the input coordinates is unknown, program stop";
  const std::string matrix = "\"" + std::string(kTransformationMatrixHeading) + "\"";
  switch (outcome) {
    case CrystalRead::Ok:
      break;
    case CrystalRead::NoAtomCount:
      return ": no line \"" + std::string(kAtomCount) + "\" before \"" + std::string(kCoordinates) +
             "\", so the number of atoms is unknown, program stop";
    case CrystalRead::CentringWithoutMatrix:
      return ", line " + std::to_string(cell.code_line) + ": " +
             (cell.centring_code == 0 ? std::string("an unreadable centring code")
                                      : "centring code " + std::to_string(cell.centring_code) +
                                            " (a centred lattice)") +
             " but no line " + matrix + " before the first \"" + std::string(kLattice) + "\"" +
             unknown_cell;
    case CrystalRead::UnreadableMatrix:
      return ", line " + std::to_string(cell.matrix_line) + ": the line after " + matrix +
             " does not hold the nine numbers of an invertible matrix" + unknown_cell;
  }
  return {};
}

}  // namespace qv
