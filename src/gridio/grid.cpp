#include "gridio/grid.hpp"

#include <limits>
#include <new>

#include "gridio/stop.hpp"

namespace qv {

std::size_t checked_point_count(std::int32_t n1, std::int32_t n2, std::int32_t n3,
                                const std::string& what) {
  if (n1 <= 0 || n2 <= 0 || n3 <= 0) return 0;
  const unsigned __int128 count = static_cast<unsigned __int128>(n1) * n2 * n3;
  const unsigned __int128 bytes = count * sizeof(double);
  const std::size_t available = available_memory_bytes();
  if (bytes > std::numeric_limits<std::size_t>::max() / 2 || bytes > available) {
    throw OutOfMemory("out of memory: " + what + ": a grid of " + std::to_string(n1) + " x " +
                      std::to_string(n2) + " x " + std::to_string(n3) +
                      " points needs more memory than is available");
  }
  return static_cast<std::size_t>(count);
}

Grid make_grid(std::int32_t n1, std::int32_t n2, std::int32_t n3, const std::string& what,
               double fill) {
  const std::size_t count = checked_point_count(n1, n2, n3, what);
  Grid g;
  g.n1 = n1;
  g.n2 = n2;
  g.n3 = n3;
  try {
    g.values.assign(count, fill);
  } catch (const std::bad_alloc&) {
    throw OutOfMemory("out of memory: " + what + ": cannot allocate a grid of " +
                      std::to_string(n1) + " x " + std::to_string(n2) + " x " +
                      std::to_string(n3) + " points");
  }
  return g;
}

}  // namespace qv
