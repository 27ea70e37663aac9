#pragma once
// Writer of the cube layout: two blank title lines, the header, the atom lines, then the values
// with the third index fastest, six per line, every (i1, i2) run starting on a new line.
#include "gridio/grid.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// Writes the whole file body from the current position of `out`; does not open or close it.
// The atom lines are header.natoms lines (none when it is 0 or less) taken from
// header.atomic_numbers and header.atoms; the counts and values are those of `grid`.
void write_cube_file(const GridHeader& header, const Grid& grid, TextOutput& out);

}  // namespace qv
