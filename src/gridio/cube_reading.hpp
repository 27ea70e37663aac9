#pragma once
// Reader of an input grid: its header from a cube file, its values from the same cube file or,
// in XD2006 input mode, from a grd file.
#include <array>
#include <string>
#include <vector>

#include "gridio/grid.hpp"
#include "gridio/line_reader.hpp"

namespace qv {

// What an input grid holds. It decides which GAUSSIAN-layout lines are passed over, which grd
// header lines are stored and which unit conversion a grd file needs.
enum class GridRole { density, gradient, laplacian };

// Where the values come from and how the cube value section is laid out.
enum class CubeLayout {
  general,   // values of the cube file, nothing passed over
  gaussian,  // values of the cube file; gradient and laplacian cubes carry extra lines per run
  xd2006,    // header from the cube file, values from the grd file
};

struct GridFile {
  GridHeader header;
  Grid grid;
};

// Reads one input grid. `grd` is used only for CubeLayout::xd2006 (it may be null otherwise).
// For the density role in XD2006 mode the grd header lines (atom count + 12 of them, 80
// characters each) replace `grd_header_lines`; other roles pass them over.
// A negative atom count follows the convention of the programs that write it: that many atom
// lines, then a data-set line (a count m and m identifiers), and m values per point, of which
// the first is kept; the header then holds the positive count.
// Raises TextError on a malformed or missing number, OutOfMemory when the grid cannot be held.
GridFile read_grid_file(LineReader& cube, LineReader* grd, CubeLayout layout, GridRole role,
                       std::vector<std::string>& grd_header_lines);

}  // namespace qv
