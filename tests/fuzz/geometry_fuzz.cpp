// The .xyz and .pdb geometry readers: the first byte chooses the reader.
#include "fuzz_support.hpp"
#include "wavefunction/geometry_reading.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool pdb = data[0] & 1;
  return qv::fuzzing::run_reader(data + 1, size - 1, pdb ? "fuzz.pdb" : "fuzz.xyz",
                                 [pdb](qv::LineReader& in) {
                                   try {
                                     if (pdb)
                                       qv::read_pdb(in);
                                     else
                                       qv::read_xyz(in);
                                   } catch (const qv::GeometryError&) {
                                   }
                                 });
}
