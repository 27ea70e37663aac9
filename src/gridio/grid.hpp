#pragma once
// The grid header and the grid array shared by every job. Values are held in one contiguous
// allocation with the first index fastest: element (i1, i2, i3), counted from 0, is
// values[i1 + n1 * (i2 + n2 * i3)] and belongs to the point origin + i1*a1 + i2*a2 + i3*a3.
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace qv {

struct GridHeader {
  std::int32_t natoms = 0;                        // atom count as read or given (may be <= 0)
  std::array<float, 3> origin{};                  // bohr
  std::int32_t n1 = 0, n2 = 0, n3 = 0;            // points along each axis
  std::array<std::array<float, 3>, 3> axes{};     // axes[k] = step vector along axis k, bohr
  std::vector<std::int32_t> atomic_numbers;       // one per atom
  std::vector<std::array<float, 4>> atoms;        // per atom: charge, x, y, z (bohr)
};

// Raw storage of grid values: large blocks are aligned to 2 MB and offered huge pages, which
// cuts the page faults of a fresh grid by a factor of 512. Throws std::bad_alloc.
void* allocate_grid_bytes(std::size_t bytes);
void release_grid_bytes(void* p, std::size_t bytes) noexcept;

// Leaves elements made without a value uninitialised, so that a grid every value of which is
// about to be written is not first filled with zeros (a full extra pass over the memory).
template <class T>
struct ForOverwriteAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = ForOverwriteAllocator<U>;
  };
  ForOverwriteAllocator() = default;
  template <class U>
  ForOverwriteAllocator(const ForOverwriteAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(allocate_grid_bytes(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { release_grid_bytes(p, n * sizeof(T)); }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using GridValues = std::vector<double, ForOverwriteAllocator<double>>;

struct Grid {
  std::int32_t n1 = 0, n2 = 0, n3 = 0;
  GridValues values;

  std::size_t size() const { return values.size(); }
  bool empty() const { return values.empty(); }
  double& at(std::size_t i1, std::size_t i2, std::size_t i3) {
    return values[i1 + static_cast<std::size_t>(n1) * (i2 + static_cast<std::size_t>(n2) * i3)];
  }
  double at(std::size_t i1, std::size_t i2, std::size_t i3) const {
    return values[i1 + static_cast<std::size_t>(n1) * (i2 + static_cast<std::size_t>(n2) * i3)];
  }
};

// Number of points of an n1 x n2 x n3 grid; counts of zero or less give 0.
// Raises OutOfMemory (naming `what`, e.g. the file) when the count overflows or the values
// would need more memory than is available.
std::size_t checked_point_count(std::int32_t n1, std::int32_t n2, std::int32_t n3,
                                const std::string& what);

// A grid of the given counts with every value `fill` (zero unless given), checked as above
// before anything is allocated.
Grid make_grid(std::int32_t n1, std::int32_t n2, std::int32_t n3, const std::string& what,
               double fill = 0.0);

// The same, with the values left unset: for a sweep that writes every point.
Grid make_grid_for_overwrite(std::int32_t n1, std::int32_t n2, std::int32_t n3,
                             const std::string& what);

// Has the system bring in every page of `g`'s values on the sweep threads, each thread whole
// huge pages of its own, leaving the values as they are. The system clears a fresh page as it
// comes in; a sweep whose every thread writes all over the grid at once would otherwise have
// them take faults on the same pages. Advice only: where the system cannot, nothing is done.
void bring_in_pages(Grid& g);

}  // namespace qv
