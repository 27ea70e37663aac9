// The TOPOND grid reader.
#include "fuzz_support.hpp"
#include "topond/topond_grid.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.dat", [](qv::LineReader& in) {
    qv::GridHeader header;
    qv::Grid grid;
    qv::read_topond_grid(in, header, grid);
  });
}
