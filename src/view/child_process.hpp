#pragma once
// Runs another program (a viewer that renders a picture) and waits for it, with a time limit.
#include <string>
#include <vector>

namespace qv {

struct ProgramRun {
  bool started = false;    // the program could be started at all
  bool timed_out = false;  // it was still running at the limit and was killed
  int exit_status = -1;    // its exit status when it ended by itself; -1 after a signal
};

// Runs `argv[0]` (a path, not looked up in PATH) with its arguments, input from /dev/null and
// standard output and error into the file `output_path`; kills it after `limit_seconds`.
ProgramRun run_program(const std::vector<std::string>& argv, const std::string& output_path,
                       double limit_seconds);

}  // namespace qv
