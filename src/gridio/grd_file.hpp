#pragma once
// grd files (XD2006 grid layout): atom count + 12 header lines of 80 characters, then the values
// with the first index fastest, runs of N1 values six to a line in 18-column fields. grd files
// hold angstrom-based units; grids inside the program are in atomic units.
#include <string>
#include <vector>

#include "gridio/cube_reading.hpp"
#include "gridio/grid.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/text_output.hpp"

namespace qv {

inline constexpr double kBohr3 = 0.14818464289233146;   // bohr^3 in cubic angstrom
inline constexpr double kBohr4 = 0.07841592392746348;   // bohr^4 in angstrom^4
inline constexpr double kBohr5 = 0.04149591351288367;   // bohr^5 in angstrom^5

inline constexpr std::size_t kGrdHeaderWidth = 80;

// Reads the grd header lines and the values of `grid` (already sized from the companion cube
// header) and converts them to atomic units by `role`: density times b^3, gradient times b^4,
// laplacian -(v times b^5). The density role stores its header lines in `grd_header_lines`.
void read_grd(LineReader& grd, std::int32_t natoms, GridRole role, Grid& grid,
              std::vector<std::string>& grd_header_lines);

// What a grd output holds; only rho*sign(lambda2) is converted back to electrons per cubic
// angstrom, the others are written as held.
enum class GrdOutput { rdg, rhosign, abramov_g, abramov_v, abramov_h };

// Writes one grd file body: the stored header lines (left-adjusted in place, 80 columns each),
// then the values. Raises TextError when fewer header lines are stored than natoms + 12.
void write_grd_file(const Grid& grid, std::int32_t natoms,
                    std::vector<std::string>& grd_header_lines, GrdOutput role, TextOutput& out);

}  // namespace qv
