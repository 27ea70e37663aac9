#pragma once
// Opening a job's input file, which must exist: a missing one is reported by one run-log line,
// the name at its full field width followed by " file cannot be opened, program stop", and the
// run stops.
#include <memory>
#include <string>

#include "gridio/fixed_text.hpp"
#include "gridio/line_reader.hpp"
#include "gridio/run_output.hpp"
#include "gridio/stop.hpp"

namespace qv {

// `field` is the name as the settings hold it (blank-padded to its width).
inline std::unique_ptr<LineReader> open_input_or_stop(const std::string& field, RunOutput& out) {
  auto in = LineReader::open(trimmed(field));
  if (!in) {
    out.to_log(ListLine().text(field).text(" file cannot be opened, program stop"));
    program_stop(1);
  }
  return in;
}

}  // namespace qv
