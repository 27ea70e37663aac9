#pragma once
// quelvarin [OPTIONS] INPUT: the command line of the tool, then the run.
#include <span>
#include <string>

#include "gridio/text_output.hpp"

namespace qv {

// `arguments` are the words after the program name. --help and --version answer on `screen`
// (status 0); a bad command line is refused on `errors` with status 2; otherwise the run's
// status.
int run_command(std::span<const std::string> arguments, TextOutput& screen, TextOutput& errors);

}  // namespace qv
