// The TOPOND grid reader.
#include "fuzz_support.hpp"
#include "topond/topo_array.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.dat", [](qv::LineReader& in) {
    qv::GridHeader header;
    qv::Grid grid;
    qv::topo_array(in, header, grid);
  });
}
