#pragma once
// Reads the input file in one forward pass: the OUTPUT_FILE_NAME and SECTIONS lines, then the
// blocks of the jobs switched on. Opens the run log (into `out`).
#include "driver/run_settings.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/run_output.hpp"

namespace qv {

// Whether the run log is created, or only named (companion tools that read the input file of an
// earlier run must not overwrite its run log: their run-log lines go to memory).
enum class RunLogMode { Create, Leave };

// Raises ProgramStop on the stops of the input file (after their messages), and TextError on
// failures of the file layer. `input_path` is the file being read, so that a run log that
// would overwrite it is refused.
void read_input_file(LineReader& in, const std::string& input_path, RunOutput& out,
                   RunSettings& settings, RunLogMode mode = RunLogMode::Create);

}  // namespace qv
