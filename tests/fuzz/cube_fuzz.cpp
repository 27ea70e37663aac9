// The cube reader in its three layouts and three roles. The first byte chooses the layout and
// role; the rest is the cube file (for the grd layout, a well-formed grd of matching size is
// not needed: the reader must fail cleanly on whatever it meets).
#include <vector>

#include "fuzz_support.hpp"
#include "gridio/cube_reading.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const auto layout = static_cast<qv::CubeLayout>(choice % 3);
  const auto role = static_cast<qv::GridRole>((choice / 3) % 3);
  return qv::fuzzing::run_reader(data + 1, size - 1, "fuzz.cube", [&](qv::LineReader& cube) {
    std::string grd_text(12, '\n');
    for (int i = 0; i < 64; ++i) grd_text += "  0.1000000000E+01  0.2000000000E+01\n";
    auto grd = qv::LineReader::from_text(grd_text, "fuzz.grd");
    std::vector<std::string> header_lines;
    qv::read_grid_file(cube, grd.get(), layout, role, header_lines);
  });
}
