#pragma once
// Reader of a TOPOND grid file: a line of three point counts, three lines of origin component
// and step length (bohr), then the values with the first index fastest, eight per line, every
// (i2, i3) run starting on a new line.
#include "gridio/grid.hpp"
#include "gridio/line_reader.hpp"

namespace qv {

// Sets the origin, the counts and the diagonal of the axis vectors of `header` (the rest of the
// axes is left as the caller set it) and fills a newly made `grid`. A malformed field or an early
// end of file raises TextError naming the file and line; a grid too large for the memory
// raises OutOfMemory.
void read_topond_grid(LineReader& in, GridHeader& header, Grid& grid);

}  // namespace qv
