#pragma once
// The WFN job's input file, read by the reader its format calls for.
#include <string>

#include "gridio/run_output.hpp"
#include "wavefunction/wavefunction_format.hpp"
#include "wavefunction/wfn_record.hpp"

namespace qv {

struct WavefunctionFile {
  WfnRecord record;
  WavefunctionFormat format = WavefunctionFormat::wfn;
};

// Opens the file named by `name` (a 33-column field, trailing blanks ignored), tells its format
// and reads it. A file that cannot be opened is reported in the run log as the .wfn reader
// reports it, and the run stops.
WavefunctionFile read_wavefunction_file(const std::string& name, RunOutput& out);

}  // namespace qv
