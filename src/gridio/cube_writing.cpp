#include "gridio/cube_writing.hpp"

#include <memory>
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

// For i1 (slowest), for i2: the run of n3 values with the third index fastest. Blocks of i1
// planes are made into text on the sweep threads, each thread gathering its block into its own
// buffer, and written in order.
void write_values(const Grid& g, TextOutput& out) {
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3);
  const std::size_t planes = PlaneBlocks::planes_for(g);
  std::vector<std::unique_ptr<PlaneBlocks>> per_thread(static_cast<std::size_t>(sweep_threads()));
  const std::size_t blocks = (n1 + planes - 1) / planes;
  write_chunks_in_order(out, blocks, [&](std::size_t block, auto& sink, int slot) {
    auto& mine = per_thread[static_cast<std::size_t>(slot)];
    if (!mine) mine = std::make_unique<PlaneBlocks>(g);
    PlaneBlocks& buffer = *mine;
    const std::size_t first = block * planes;
    const std::size_t last = first + planes < n1 ? first + planes : n1;
    if (buffer.buffered()) buffer.gather(g, first, last - first);
    for (std::size_t i1 = first; i1 < last; ++i1) {
      for (std::size_t i2 = 0; i2 < n2; ++i2) {
        if (buffer.buffered())
          write_run(buffer.run(first, i1, i2), 1, n3, sink);
        else
          write_run(g.values.data() + i1 + n1 * i2, n1 * n2, n3, sink);
      }
    }
  });
}

}  // namespace

void cube_writing(const GridHeader& header, const Grid& grid, TextOutput& out) {
  const std::size_t natoms = header.natoms > 0 ? static_cast<std::size_t>(header.natoms) : 0;
  if (header.atomic_numbers.size() < natoms || header.atoms.size() < natoms)
    throw std::invalid_argument("cube_writing: the header holds fewer atoms than its atom count");
  const bool has_values = grid.n1 > 0 && grid.n2 > 0 && grid.n3 > 0;
  if (has_values && grid.values.size() != static_cast<std::size_t>(grid.n1) *
                                              static_cast<std::size_t>(grid.n2) *
                                              static_cast<std::size_t>(grid.n3))
    throw std::invalid_argument("cube_writing: the grid holds a different number of values");
  write_header(header, grid, out);
  if (has_values) write_values(grid, out);
}

}  // namespace qv
