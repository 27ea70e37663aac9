// The input file reader: header lines, the three job blocks (symmetry texts included), then the
// run summaries of whatever settings it produced.
#include "driver/input_file.hpp"
#include "driver/run_summary.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.inp", [](qv::LineReader& in) {
    auto screen = qv::TextOutput::memory("screen");
    qv::RunOutput out(*screen);
    qv::RunSettings settings;
    qv::read_input_file(in, "fuzz.inp", out, settings, qv::RunLogMode::Leave);
    if (settings.jobs.wfn) qv::write_run_summary(qv::Job::wfn, settings, out.log());
    if (settings.jobs.top) qv::write_run_summary(qv::Job::top, settings, out.log());
    if (settings.jobs.rdg) qv::write_run_summary(qv::Job::rdg, settings, out.log());
  });
}
