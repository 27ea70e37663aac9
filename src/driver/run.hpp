#pragma once
// One whole run of the tool for an input file name; returns the process exit status:
// 0 normal end, 1 a stop on a detected error, 2 a failure of the file layer, 3 out of memory.
#include <string>

#include "gridio/text_output.hpp"

namespace qv {

// `argument` is the first command-line argument (empty when there is none). Messages for the
// screen go to `screen`, failures of the file layer and out-of-memory reports to `errors`.
int run(const std::string& argument, TextOutput& screen, TextOutput& errors);

// The input file name as taken from the argument: its first 30 characters, leading blanks
// removed, trailing blanks dropped.
std::string input_file_name(const std::string& argument);

}  // namespace qv
