#include "gridio/stop.hpp"

#include <cstdio>
#include <cstring>
#include <limits>

namespace qv {

namespace {
std::size_t memory_cap = std::numeric_limits<std::size_t>::max();
}

void cap_available_memory(std::size_t bytes) { memory_cap = bytes; }

std::size_t available_memory_bytes() {
  std::FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return memory_cap;
  char line[256];
  std::size_t result = std::numeric_limits<std::size_t>::max();
  while (std::fgets(line, sizeof line, f)) {
    unsigned long long kb = 0;
    if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
      result = static_cast<std::size_t>(kb) * 1024u;
      break;
    }
  }
  std::fclose(f);
  return result < memory_cap ? result : memory_cap;
}

}  // namespace qv
