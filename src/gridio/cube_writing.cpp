#include "gridio/cube_writing.hpp"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "gridio/chunk_text.hpp"
#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"
#include "gridio/grid_planes.hpp"

namespace qv {

namespace {

constexpr std::size_t kPerLine = 6;
constexpr std::size_t kField = 13;
constexpr std::size_t kValuesPerChunk = std::size_t{1} << 15;  // values a thread makes into text at once

const Format& origin_format() {
  static const Format f("(I5,3F12.6)");
  return f;
}
const Format& row_format() {
  static const Format f("(I5,4F12.6)");
  return f;
}

void write_header(const GridHeader& h, const Grid& g, TextOutput& out) {
  static const std::string title(60, ' ');
  out.line(title);
  out.line(title);
  const OutItem line3[] = {std::int64_t{h.natoms}, double{h.origin[0]}, double{h.origin[1]},
                           double{h.origin[2]}};
  origin_format().write(out, line3);
  const std::int32_t counts[3] = {g.n1, g.n2, g.n3};
  for (int k = 0; k < 3; ++k) {
    const OutItem row[] = {std::int64_t{counts[k]}, double{h.axes[k][0]}, double{h.axes[k][1]},
                           double{h.axes[k][2]}};
    row_format().write(out, row);
  }
  for (std::int32_t i = 0; i < h.natoms; ++i) {
    const auto& a = h.atoms[static_cast<std::size_t>(i)];
    const OutItem atom[] = {std::int64_t{h.atomic_numbers[static_cast<std::size_t>(i)]},
                            double{a[0]}, double{a[1]}, double{a[2]}, double{a[3]}};
    row_format().write(out, atom);
  }
}

// One (i1, i2) run: n3 values `stride` apart, six to a line.
template <class Sink>
void write_run(const double* v, std::size_t stride, std::size_t n3, Sink& out) {
  for (std::size_t i3 = 0; i3 < n3; i3 += kPerLine) {
    const std::size_t count = n3 - i3 < kPerLine ? n3 - i3 : kPerLine;
    char* const start = out.reserve(kPerLine * kField + 1);
    char* const end = put_es13_5_line(start, v + i3 * stride, count, stride);
    out.commit(static_cast<std::size_t>(end - start));
  }
}

// For i1 (slowest), for i2: the run of n3 values with the third index fastest.
void write_values_on_one_thread(const Grid& g, TextOutput& out) {
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3);
  PlaneBlocks blocks(g);
  for (std::size_t first = 0; first < n1; first += blocks.planes()) {
    const std::size_t last = first + blocks.planes() < n1 ? first + blocks.planes() : n1;
    if (blocks.buffered()) blocks.gather(g, first, last - first);
    for (std::size_t i1 = first; i1 < last; ++i1) {
      for (std::size_t i2 = 0; i2 < n2; ++i2) {
        if (blocks.buffered())
          write_run(blocks.run(first, i1, i2), 1, n3, out);
        else
          write_run(g.values.data() + i1 + n1 * i2, n1 * n2, n3, out);
      }
    }
  }
}

// The same on the sweep threads. A chunk is a block of i1 planes (as many as share a cache
// line of the grid) and a range of i2: its values are gathered, third index fastest, into the
// thread's own small buffer and made into one text per plane. A block is written, plane by
// plane and range by range, as soon as all its chunks are made, while later ones are made.
void write_values_on_threads(const Grid& g, TextOutput& out, std::size_t threads) {
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3);
  const std::size_t planes = PlaneBlocks::planes_for(g);
  const std::size_t rows = std::max<std::size_t>(1, kValuesPerChunk / (planes * n3));
  const std::size_t ranges = (n2 + rows - 1) / rows;
  const std::size_t blocks = (n1 + planes - 1) / planes;
  // Two blocks in the window at least, so that one is made while the other is written.
  const std::size_t window_blocks = std::max<std::size_t>(2, (2 * threads + ranges - 1) / ranges);
  // Text of (chunk's buffer, plane of the block).
  std::vector<ChunkText> texts(window_blocks * ranges * planes);
  auto text_of = [&](std::size_t buffer, std::size_t plane) -> ChunkText& {
    return texts[buffer * planes + plane];
  };
  std::vector<std::vector<double>> gathered(threads);
  render_and_emit(
      blocks * ranges, ranges, window_blocks,
      [&](std::size_t chunk, std::size_t text_buffer, int slot) {
        const std::size_t first = chunk / ranges * planes, count = std::min(planes, n1 - first);
        const std::size_t i2_first = chunk % ranges * rows, i2_count = std::min(rows, n2 - i2_first);
        std::vector<double>& buffer = gathered[static_cast<std::size_t>(slot)];
        buffer.resize(planes * rows * n3);
        // buffer[(plane * rows + i2 - i2_first) * n3 + i3]
        const double* v = g.values.data();
        for (std::size_t i3 = 0; i3 < n3; ++i3)
          for (std::size_t r = 0; r < i2_count; ++r) {
            const double* src = v + first + n1 * (i2_first + r + n2 * i3);
            double* dst = buffer.data() + r * n3 + i3;
            for (std::size_t b = 0; b < count; ++b) dst[b * rows * n3] = src[b];
          }
        for (std::size_t b = 0; b < count; ++b) {
          ChunkText& text = text_of(text_buffer, b);
          text.clear();
          for (std::size_t r = 0; r < i2_count; ++r)
            write_run(buffer.data() + (b * rows + r) * n3, 1, n3, text);
        }
      },
      [&](std::size_t block, std::size_t first_buffer) {
        for (std::size_t b = 0; b < std::min(planes, n1 - block * planes); ++b)
          for (std::size_t r = 0; r < ranges; ++r) out.write(text_of(first_buffer + r, b).text());
      });
}

void write_values(const Grid& g, TextOutput& out) {
  const std::size_t threads = static_cast<std::size_t>(sweep_threads());
  if (threads == 1)
    write_values_on_one_thread(g, out);
  else
    write_values_on_threads(g, out, threads);
}

}  // namespace

void write_cube_file(const GridHeader& header, const Grid& grid, TextOutput& out) {
  const std::size_t natoms = header.natoms > 0 ? static_cast<std::size_t>(header.natoms) : 0;
  if (header.atomic_numbers.size() < natoms || header.atoms.size() < natoms)
    throw std::invalid_argument(
        "write_cube_file: the header holds fewer atoms than its atom count");
  const bool has_values = grid.n1 > 0 && grid.n2 > 0 && grid.n3 > 0;
  if (has_values && grid.values.size() != static_cast<std::size_t>(grid.n1) *
                                              static_cast<std::size_t>(grid.n2) *
                                              static_cast<std::size_t>(grid.n3))
    throw std::invalid_argument("write_cube_file: the grid holds a different number of values");
  write_header(header, grid, out);
  if (has_values) write_values(grid, out);
}

}  // namespace qv
