#include "gridio/grid_planes.hpp"

#include <algorithm>
#include <bit>

#include "parallel/parallel_for.hpp"

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {
constexpr std::size_t kBufferBytes = std::size_t{4} << 20;
constexpr std::size_t kMaxPlanes = 8;  // one cache line of consecutive i1 values

#if defined(__SSE2__) && defined(__x86_64__)
inline void store_past_cache(double* p, double x) {
  _mm_stream_si64(reinterpret_cast<long long*>(p), std::bit_cast<long long>(x));
}
inline void store_fence() { _mm_sfence(); }
#else
inline void store_past_cache(double* p, double x) { *p = x; }
inline void store_fence() {}
#endif
}  // namespace

std::size_t PlaneBlocks::planes_for(const Grid& g) {
  if (g.values.empty()) return 1;
  const std::size_t n1 = static_cast<std::size_t>(g.n1);
  const std::size_t plane_bytes =
      static_cast<std::size_t>(g.n2) * static_cast<std::size_t>(g.n3) * sizeof(double);
  if (n1 == 1 || plane_bytes * 2 > kBufferBytes) return 1;  // runs read or written in place
  return std::min({kBufferBytes / plane_bytes, kMaxPlanes, n1});
}

PlaneBlocks::PlaneBlocks(const Grid& g) {
  if (g.values.empty()) return;
  n1_ = static_cast<std::size_t>(g.n1);
  n2_ = static_cast<std::size_t>(g.n2);
  n3_ = static_cast<std::size_t>(g.n3);
  const std::size_t plane_bytes = n2_ * n3_ * sizeof(double);
  if (n1_ == 1 || plane_bytes * 2 > kBufferBytes) return;  // runs read or written in place
  planes_ = planes_for(g);
  buffer_.resize(planes_ * n2_ * n3_);  // no value set: every one is written before it is read
}

void PlaneBlocks::gather(const Grid& g, std::size_t first, std::size_t count) {
  const double* v = g.values.data();
  for (std::size_t i3 = 0; i3 < n3_; ++i3) {
    for (std::size_t i2 = 0; i2 < n2_; ++i2) {
      const double* src = v + first + n1_ * (i2 + n2_ * i3);
      double* dst = buffer_.data() + i2 * n3_ + i3;
      for (std::size_t b = 0; b < count; ++b) dst[b * n2_ * n3_] = src[b];
    }
  }
}

namespace {

// Rows i2 in [row_begin, row_end), values i3 in [slice_begin, slice_end), of planes
// [first, first + count) into the grid, one full cache line of consecutive i1 per (i2, i3).
// `runs` points at value i3 = 0 of run (first, row_begin); rows are n3 apart, planes
// plane_stride. The grid lines written are far apart and not read again here: stores that
// bypass the cache spare reading each line in before it is written (and keep the runs cached).
void scatter_part(Grid& g, const double* runs, std::size_t plane_stride, std::size_t first,
                  std::size_t count, std::size_t row_begin, std::size_t row_end,
                  std::size_t slice_begin, std::size_t slice_end) {
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3), step = n1 * n2;
  double* v = g.values.data();
  for (std::size_t i2 = row_begin; i2 < row_end; ++i2) {
    double* dst = v + first + n1 * i2 + step * slice_begin;
    const double* src = runs + (i2 - row_begin) * n3 + slice_begin;
    for (std::size_t i3 = slice_begin; i3 < slice_end; ++i3, dst += step, ++src)
      for (std::size_t b = 0; b < count; ++b) store_past_cache(dst + b, src[b * plane_stride]);
  }
  store_fence();
}

}  // namespace

void PlaneBlocks::scatter(Grid& g, std::size_t first, std::size_t count) const {
  // Ranges of i3 go to the sweep threads: each writes its own stretch of the grid's memory, so
  // the threads never wait on each other's first touch of a page (the first block touches them
  // all).
  const std::size_t slices_per_chunk = 1 + (std::size_t{1} << 14) / (n2_ * count);
  parallel_for(n3_, slices_per_chunk, [&](std::size_t first_slice, std::size_t last_slice) {
    scatter_part(g, buffer_.data(), n2_ * n3_, first, count, 0, n2_, first_slice, last_slice);
  });
}

void scatter_runs(Grid& g, const double* runs, std::size_t plane_stride, std::size_t first,
                  std::size_t count, std::size_t row_begin, std::size_t row_end) {
  scatter_part(g, runs, plane_stride, first, count, row_begin, row_end, 0,
               static_cast<std::size_t>(g.n3));
}

}  // namespace qv
