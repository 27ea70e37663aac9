#include "gridio/grid.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "gridio/stop.hpp"
#include "parallel/parallel_for.hpp"

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

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* allocate_grid_bytes(std::size_t bytes) {
  if (bytes < 2 * kHugePage) {
    if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) return p;
    throw std::bad_alloc();
  }
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, rounded);
  if (!p) throw std::bad_alloc();
  madvise(p, rounded, MADV_HUGEPAGE);  // advice only: a refusal changes nothing
  return p;
}

void release_grid_bytes(void* p, std::size_t) noexcept { std::free(p); }

void bring_in_pages(Grid& g) {
#ifdef MADV_POPULATE_WRITE
  const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(g.values.data()) / page * page;
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(g.values.data() + g.values.size());
  const std::size_t count = (end - begin + kHugePage - 1) / kHugePage;
  parallel_for(count, 1, [&](std::size_t first, std::size_t last) {
    const std::uintptr_t from = begin + first * kHugePage;
    const std::uintptr_t to = std::min<std::uintptr_t>(end, begin + last * kHugePage);
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
  });
#else
  (void)g;
#endif
}

namespace {

Grid allocate_grid(std::int32_t n1, std::int32_t n2, std::int32_t n3, const std::string& what,
                   const double* fill) {
  const std::size_t count = checked_point_count(n1, n2, n3, what);
  Grid g;
  g.n1 = n1;
  g.n2 = n2;
  g.n3 = n3;
  try {
    g.values.resize(count);  // no value set yet
    if (fill) {
      // Filled on the sweep threads: the pages are also first touched (and cleared by the
      // system) there, not all by one thread.
      const double value = *fill;
      double* v = g.values.data();
      parallel_for(count, std::size_t{1} << 16, [v, value](std::size_t first, std::size_t last) {
        std::fill(v + first, v + last, value);
      });
    }
  } catch (const std::bad_alloc&) {
    throw OutOfMemory("out of memory: " + what + ": cannot allocate a grid of " +
                      std::to_string(n1) + " x " + std::to_string(n2) + " x " +
                      std::to_string(n3) + " points");
  }
  return g;
}

}  // namespace

Grid make_grid(std::int32_t n1, std::int32_t n2, std::int32_t n3, const std::string& what,
               double fill) {
  return allocate_grid(n1, n2, n3, what, &fill);
}

Grid make_grid_for_overwrite(std::int32_t n1, std::int32_t n2, std::int32_t n3,
                             const std::string& what) {
  return allocate_grid(n1, n2, n3, what, nullptr);
}

}  // namespace qv
