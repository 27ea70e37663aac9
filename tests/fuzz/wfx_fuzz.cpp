// The .wfx wavefunction reader.
#include "fuzz_support.hpp"
#include "gridio/run_output.hpp"
#include "wavefunction/wfx_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.wfx", [](qv::LineReader& in) {
    auto screen = qv::TextOutput::memory("screen");
    qv::RunOutput out(*screen);
    out.set_log(qv::TextOutput::memory("log"));
    qv::read_wfx(in, out);
  });
}
