#pragma once
// Reader of .wfn wavefunction files (AIMPAC layout, as written by GAUSSIAN and others).
#include <string>

#include "gridio/line_reader.hpp"
#include "gridio/run_output.hpp"
#include "wavefunction/wfn_record.hpp"

namespace qv {

// Opens and reads the file named by `wavefunction_file` (33 columns, trailing blanks ignored).
// A file that cannot be opened, lines that do not fit the layout (the file is not a .wfn),
// and content the evaluators cannot use (centre numbers outside 1..centre_count, primitive types
// outside 1..56, exponents of zero or less, numbers that are not finite) are reported in the run
// log, then the run stops (ProgramStop). A malformed field or a premature end of file is a
// TextError naming the file and line. A GAMESS punch file is read from its .wfn part.
WfnRecord read_wfn_file(const std::string& wavefunction_file, RunOutput& out);

// The same, from a reader already open.
WfnRecord read_wfn(LineReader& in, RunOutput& out);

}  // namespace qv
