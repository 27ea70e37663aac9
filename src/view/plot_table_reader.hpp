#pragma once
// Streams a 2D plot table (an optional heading line, then one row per point: the first column
// and RDG) into a histogram, in one pass and without allocating per row.
#include "view/plot_histogram.hpp"
#include "gridio/line_reader.hpp"

namespace qv {

// Adds every row of `in` to `h`. Wholly blank lines are skipped; the first line may be a
// heading (text naming the RDG column). Raises TextError naming the file and line of the
// first malformed row.
void read_plot_table(LineReader& in, PlotHistogram& h);

}  // namespace qv
