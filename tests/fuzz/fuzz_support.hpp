#pragma once
// Shared frame of the fuzz targets: the fuzzed bytes become a file in memory, the reader runs on
// it with the real error path, and the failures the program reports (text-layer errors, its own
// stops, out of memory) end the input normally. Anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gridio/line_reader.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"

namespace qv::fuzzing {

// Grids larger than this are refused as out of memory, like a machine with this much free.
inline constexpr std::size_t kMemoryBudget = std::size_t{256} << 20;

template <typename Body>
int run_reader(const std::uint8_t* data, std::size_t size, const char* name, Body body) {
  static const bool capped = [] {
    cap_available_memory(kMemoryBudget);
    return true;
  }();
  (void)capped;
  auto in = LineReader::from_text(std::string(reinterpret_cast<const char*>(data), size), name);
  try {
    body(*in);
  } catch (const TextError&) {
  } catch (const ProgramStop&) {
  } catch (const OutOfMemory&) {
  }
  return 0;
}

}  // namespace qv::fuzzing
