// The grd reader behind a fixed, small companion cube header; the first byte chooses the role
// and the counts.
#include <vector>

#include "fuzz_support.hpp"
#include "gridio/cube_reading.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const auto role = static_cast<qv::GridRole>(choice % 3);
  const int n1 = 1 + (choice / 3) % 9;
  char header[512];
  std::snprintf(header, sizeof header,
                "%60s\n%60s\n    1    0.000000    0.000000    0.000000\n"
                "%5d    0.200000    0.000000    0.000000\n"
                "    2    0.000000    0.200000    0.000000\n"
                "    3    0.000000    0.000000    0.200000\n"
                "    8    8.000000    0.000000    0.000000    0.000000\n",
                "", "", n1);
  return qv::fuzzing::run_reader(data + 1, size - 1, "fuzz.grd", [&](qv::LineReader& grd) {
    auto cube = qv::LineReader::from_text(header, "fuzz.cube");
    std::vector<std::string> header_lines;
    qv::read_grid_file(*cube, &grd, qv::CubeLayout::xd2006, role, header_lines);
  });
}
