#pragma once
// Moves whole i1 planes between a grid (first index fastest in memory) and a small buffer in
// the order of a cube file (third index fastest). A cube run visits the grid with a stride of
// n1 x n2 values, one cache line per value; going through a block of up to eight planes uses
// every line it loads in full.
#include <cstddef>
#include <vector>

#include "gridio/grid.hpp"

namespace qv {

class PlaneBlocks {
 public:
  // Plans blocks for `g`; no buffer is used (planes() == 1, buffer empty) when one plane alone
  // would exceed the buffer budget of a few MB.
  explicit PlaneBlocks(const Grid& g);
  // The planes per block that PlaneBlocks(g) would plan, without its buffer.
  static std::size_t planes_for(const Grid& g);

  // Planes per block (the last block may hold fewer).
  std::size_t planes() const { return planes_; }
  bool buffered() const { return !buffer_.empty(); }

  // Run (i1, i2) of the block starting at plane `first`: n3 values, third index fastest.
  double* run(std::size_t first, std::size_t i1, std::size_t i2) {
    return buffer_.data() + ((i1 - first) * n2_ + i2) * n3_;
  }

  // Grid planes [first, first + count) into the buffer, and back.
  void gather(const Grid& g, std::size_t first, std::size_t count);
  void scatter(Grid& g, std::size_t first, std::size_t count) const;

 private:
  std::size_t n1_ = 0, n2_ = 0, n3_ = 0;
  std::size_t planes_ = 1;
  GridValues buffer_;
};

// Runs of planes [first, first + count) and rows i2 in [row_begin, row_end), all n3 values of
// each, into the grid on the calling thread: run (first + b, i2) starts at
// runs + b * plane_stride + (i2 - row_begin) * n3.
void scatter_runs(Grid& g, const double* runs, std::size_t plane_stride, std::size_t first,
                  std::size_t count, std::size_t row_begin, std::size_t row_end);

}  // namespace qv
