// The scan of a CRYSTAL output file, then the symmetry expansion of what it found.
#include "fuzz_support.hpp"
#include "topond/atom_expansion.hpp"
#include "topond/crystal_output.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return qv::fuzzing::run_reader(data, size, "fuzz.out", [](qv::LineReader& in) {
    qv::CrystalStructure crystal;
    qv::read_crystal_output(in, crystal);
    qv::TopSettings top;
    top.symmetry_count = 2;
    top.rotations = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}};
    top.translations = {{0.0, 0.0, 0.0}, {0.5, 0.5, 0.5}};
    qv::expand_atoms(crystal, top);
  });
}
