// The input file reader: header lines, the three job blocks (symmetry texts included), then the
// run summaries of whatever settings it produced.
#include "driver/input_reading.hpp"
#include "driver/output_writing.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.inp", [](qv::LineReader& in) {
    auto screen = qv::TextOutput::memory("screen");
    qv::RunOutput out(*screen);
    qv::input_variables iv;
    qv::input_reading(in, "fuzz.inp", out, iv, qv::RunLogMode::Leave);
    for (int section = 1; section <= 3; ++section) {
      if (iv.inp1_risp[section - 1]) qv::output_writing(section, iv, out.log());
    }
  });
}
