#include "gridio/stop.hpp"

#include <cstdio>
#include <cstring>
#include <limits>

namespace qv {

std::size_t available_memory_bytes() {
  std::FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return std::numeric_limits<std::size_t>::max();
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
  return result;
}

}  // namespace qv
