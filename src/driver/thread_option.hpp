#pragma once
// The thread-count option shared by both commands: `--threads N` or `--threads=N` anywhere on
// the command line, else QUELVARIN_THREADS, else every core this process may use.
#include <string>
#include <vector>

#include "driver/command_line.hpp"
#include "gridio/text_output.hpp"

namespace qv {

// Takes the thread option out of `arguments` (the command line without the program name) and
// sets the sweeps' thread count. A bad or missing value is reported on `errors` as
// "PROGRAM: ..." and gives false: the command then ends with exit status 2.
bool take_thread_option(std::vector<std::string>& arguments, const char* program,
                        TextOutput& errors);

// The option's line in the commands' usage texts (taken before the other options are read).
CommandOption thread_option_row();

}  // namespace qv
