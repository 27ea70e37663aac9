#pragma once
// quelvarin-plot [OPTIONS] INPUT: pictures of the 2D plot tables, VMD and PyMOL scripts for the
// cubes of the RDG job that INPUT describes and the isosurface rendered by PyMOL. The run's own
// outputs and its run log are only read.
#include <span>
#include <string>

#include "analysis/rdg_settings.hpp"
#include "gridio/text_output.hpp"
#include "view/picture_options.hpp"

namespace qv {

// Draws what `rdg` names: one SVG picture per requested table, and when both the RDG and the
// rho*sign(lambda2) cubes are requested the table of NCI regions (a file and on `screen`), the
// VMD script, the atoms as XYZ, the PyMOL script and (unless `options` say no, or PyMOL is
// missing) the PNG picture. What is written goes to `screen`, failures to `errors`; one failure does not keep the other outputs from being made.
// Returns the exit status: 0, 1 (a detected problem: nothing to draw, a file in the way,
// mismatched cubes), 2 (a missing or malformed table or cube), 3 (out of memory).
int draw_results(const RdgSettings& rdg, const std::string& input_name, TextOutput& screen,
                 TextOutput& errors, const PictureOptions& options = {});

// The whole command, `arguments` being the words after the program name: the options, then
// the input file, read without touching its run log; then the drawing. Returns the exit status
// (2 for a bad option, before anything is written).
int plot_command(std::span<const std::string> arguments, TextOutput& screen, TextOutput& errors);

}  // namespace qv
