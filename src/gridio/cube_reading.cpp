#include "gridio/cube_reading.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "gridio/grd_file.hpp"
#include "gridio/grid_planes.hpp"
#include "gridio/number_reader.hpp"
#include "gridio/text_error.hpp"
#include "gridio/whole_runs.hpp"
#include "gridio/written_lines.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

namespace {

constexpr const char* kValue = "a grid value";

// Reads the header lines; returns the number of values stored per grid point (1 unless a
// negative atom count announced several data sets).
std::int64_t read_cube_header(NumberReader& in, GridHeader& h) {
  in.text_line("the first title line");
  in.text_line("the second title line");

  double reals[4];
  in.header_line(&h.natoms, 1, reals, 3, "the atom count and the origin");
  for (int k = 0; k < 3; ++k) h.origin[k] = static_cast<float>(reals[k]);
  std::int32_t* counts[3] = {&h.n1, &h.n2, &h.n3};
  for (int row = 0; row < 3; ++row) {
    in.header_line(counts[row], 1, reals, 3, "a point count and an axis vector");
    for (int k = 0; k < 3; ++k) h.axes[row][k] = static_cast<float>(reals[k]);
  }

  // A negative count announces that many atom lines and a data-set line after them.
  const bool data_sets = h.natoms < 0;
  const std::int64_t natoms = std::llabs(static_cast<long long>(h.natoms));
  h.atomic_numbers.clear();
  h.atoms.clear();
  h.atomic_numbers.reserve(static_cast<std::size_t>(std::min<std::int64_t>(natoms, 4096)));
  h.atoms.reserve(static_cast<std::size_t>(std::min<std::int64_t>(natoms, 4096)));
  for (std::int64_t i = 0; i < natoms; ++i) {
    std::int32_t z;
    in.header_line(&z, 1, reals, 4, "an atom line: atomic number, charge, x, y, z");
    h.atomic_numbers.push_back(z);
    h.atoms.push_back({static_cast<float>(reals[0]), static_cast<float>(reals[1]),
                       static_cast<float>(reals[2]), static_cast<float>(reals[3])});
  }
  if (!data_sets) return 1;

  h.natoms = static_cast<std::int32_t>(natoms);
  in.begin_run("the data-set line after the atoms");
  const std::int32_t m = in.next_integer("the number of data sets");
  if (m <= 0) {
    throw TextError(in.file(), in.line_number(), "the number of data sets must be positive");
  }
  for (std::int32_t i = 0; i < m; ++i) in.next_integer("a data-set identifier");
  return m;
}

// One (i1, i2) run starting at the next non-empty line: n3 points `stride` apart, of which
// only the first of `per_point` values is kept.
void read_run(NumberReader& in, double* v, std::size_t stride, std::size_t n3,
              std::int64_t per_point) {
  if (per_point == 1) {
    in.cube_run(v, n3, stride, kValue);
    return;
  }
  in.begin_run(kValue);
  for (std::size_t i3 = 0; i3 < n3; ++i3) {
    v[i3 * stride] = in.next_value(kValue);
    for (std::int64_t extra = 1; extra < per_point; ++extra) in.next_value(kValue);
  }
}

// Reads one run from `text`, which must hold exactly one run of `shape`: n3 values `stride`
// apart from `out`. False when the text is not such a run.
bool read_whole_run(std::string_view text, const RunShape& shape, double* out, std::size_t stride,
                    std::size_t n3) {
  const WrittenLines w = scan_cube_lines(text, out, stride, n3);
  return w.values == n3 && w.bytes == text.size() && w.lines == shape.lines;
}

// The length of the run that starts on the next line when the text there holds it whole in
// lines of written cube fields (the layout of read_whole_run); bytes 0 otherwise. Nothing is
// read; the reader lets go of its current line, whose text may move as the file is read on.
RunShape peek_run_shape(NumberReader& in, std::size_t n3) {
  constexpr std::size_t kMostPerValue = 16;  // a field and its share of the line ends
  in.forget_line();
  LineReader& lines = in.lines();
  lines.fill(n3 * kMostPerValue);
  GridValues values(n3);
  const std::string_view text = lines.buffered();
  const WrittenLines w = scan_cube_lines(text.substr(0, n3 * kMostPerValue), values.data(), 1, n3);
  RunShape shape;
  if (w.values == n3) shape = {w.bytes, w.lines};
  return shape;
}

// Reads the block of `planes` planes from plane `first` whose runs `text` holds whole in the
// layout of `shape` (and nothing else), a few rows i2 at a time: their runs are parsed into
// `buffer` and moved into the grid at once, while still in the cache. False when some run is
// not so laid out.
bool read_block_rows(std::string_view text, const RunShape& shape, Grid& g, std::size_t first,
                     std::size_t planes, std::size_t rows, double* buffer) {
  const std::size_t n2 = static_cast<std::size_t>(g.n2), n3 = static_cast<std::size_t>(g.n3);
  for (std::size_t row_begin = 0; row_begin < n2; row_begin += rows) {
    const std::size_t row_end = std::min(n2, row_begin + rows);
    const std::size_t plane_stride = (row_end - row_begin) * n3;
    for (std::size_t b = 0; b < planes; ++b) {
      for (std::size_t i2 = row_begin; i2 < row_end; ++i2) {
        const std::size_t k = b * n2 + i2;  // run k of the block
        if (!read_whole_run(text.substr(k * shape.bytes, shape.bytes), shape,
                            buffer + b * plane_stride + (i2 - row_begin) * n3, 1, n3))
          return false;
      }
    }
    scatter_runs(g, buffer, plane_stride, first, planes, row_begin, row_end);
  }
  return true;
}

// Whole blocks of `block_planes` planes from plane `first` on, read in place on the sweep
// threads, a block to a thread at a time: each reads the text of its own block, so that no two
// threads take page faults in the same stretch of a mapped file, and gives the block's pages
// of the file back when done. A mapped file is read to its end in one sweep (a thread held up
// never keeps the others waiting at the end of a batch); other text a batch of a few MB at a
// time. Returns the planes read, the reader moved past them. It stops before the first block
// with a run that the file does not hold whole in the layout of `shape`, whose grid values may
// then be any; the caller reads that block by the general means, which overwrite them all.
std::size_t read_blocks_in_place(NumberReader& in, Grid& g, std::size_t first,
                                 std::size_t block_planes, const RunShape& shape) {
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3);
  const std::size_t plane_bytes = n2 * shape.bytes, block_bytes = block_planes * plane_bytes;
  LineReader& lines = in.lines();
  std::size_t planes = n1 - first;
  if (!lines.mapped()) {
    if (block_bytes > whole_runs_detail::kBatchBytes) return 0;  // held text stays bounded
    planes = std::min(planes, whole_runs_detail::kBatchBytes / block_bytes * block_planes);
  }
  lines.fill(planes * plane_bytes);
  const std::string_view text = lines.buffered();
  if (text.size() / plane_bytes < planes)  // the file ends first: its whole blocks only
    planes = text.size() / plane_bytes / block_planes * block_planes;
  if (planes == 0) return 0;

  // Rows at a time: the runs of a few rows of the block's planes stay in the thread's cache.
  const std::size_t rows =
      std::clamp<std::size_t>((std::size_t{1} << 16) / (block_planes * n3), 1, n2);
  std::vector<GridValues> buffers(static_cast<std::size_t>(sweep_threads()));
  for (auto& b : buffers) b.resize(block_planes * rows * n3);
  const std::size_t block_count = (planes + block_planes - 1) / block_planes;
  std::atomic<std::size_t> first_bad_block{block_count};
  parallel_chunks(block_count, 1, [&](std::size_t begin, std::size_t end, int slot) {
    double* const buffer = buffers[static_cast<std::size_t>(slot)].data();
    for (std::size_t block = begin; block < end; ++block) {
      if (block >= first_bad_block.load(std::memory_order_relaxed)) return;
      const std::size_t plane0 = block * block_planes;  // from `first`
      const std::size_t count = std::min(block_planes, planes - plane0);
      const std::string_view block_text = text.substr(plane0 * plane_bytes, count * plane_bytes);
      if (read_block_rows(block_text, shape, g, first + plane0, count, rows, buffer)) {
        lines.release_pages_within(block_text);
        continue;
      }
      keep_least(first_bad_block, block);
      return;
    }
  });
  // Every block before the first bad one was read: blocks are claimed in order, and only that
  // block and later ones are passed over.
  const std::size_t good = std::min(planes, first_bad_block.load() * block_planes);
  if (good == 0) return 0;
  lines.consume(good * plane_bytes, static_cast<long>(good * n2) * shape.lines);
  in.forget_line();
  return good;
}

void read_cube_values(NumberReader& in, CubeLayout layout, GridRole role, std::int64_t per_point,
                      Grid& g) {
  if (g.values.empty()) return;
  const std::size_t n1 = static_cast<std::size_t>(g.n1), n2 = static_cast<std::size_t>(g.n2);
  const std::size_t n3 = static_cast<std::size_t>(g.n3);
  const long s3 = static_cast<long>((n3 + 1) / 2), s1 = static_cast<long>((n3 + 5) / 6);
  const bool skip_gradient = layout == CubeLayout::gaussian && role == GridRole::gradient;
  const bool skip_laplacian = layout == CubeLayout::gaussian && role == GridRole::laplacian;
  // Runs of this program's layout, one value per point and nothing between them, are read in
  // place on the sweep threads; their length is learnt from the text of the first.
  const bool whole_runs = per_point == 1 && !skip_gradient && !skip_laplacian;
  PlaneBlocks blocks(g);
  const RunShape shape = whole_runs ? peek_run_shape(in, n3) : RunShape{};
  const bool sweep_blocks = shape.bytes != 0 && blocks.buffered() && sweep_threads() > 1;
  // Every block of planes writes all over the grid: its pages are brought in on all threads
  // first, not faulted by every thread at once.
  if (sweep_blocks) bring_in_pages(g);
  for (std::size_t first = 0; first < n1;) {
    if (sweep_blocks) {
      const std::size_t done = read_blocks_in_place(in, g, first, blocks.planes(), shape);
      first += done;
      if (done > 0) continue;
    }
    const std::size_t last = first + blocks.planes() < n1 ? first + blocks.planes() : n1;
    // Run k of the block: (i1, i2) = (first + k / n2, k % n2).
    auto run_start = [&](std::size_t k, std::size_t& stride) {
      const std::size_t i1 = first + k / n2, i2 = k % n2;
      stride = blocks.buffered() ? 1 : n1 * n2;
      return blocks.buffered() ? blocks.run(first, i1, i2) : g.values.data() + i1 + n1 * i2;
    };
    const std::size_t runs = (last - first) * n2;
    // The block's runs read in place as far as they are whole, the rest by the general reader.
    std::size_t k =
        read_whole_runs(in.lines(), runs, shape, [&](std::string_view text, std::size_t run) {
          std::size_t stride = 0;
          double* out = run_start(run, stride);
          return read_whole_run(text, shape, out, stride, n3);
        });
    if (k > 0) in.forget_line();
    for (; k < runs; ++k) {
      std::size_t stride = 0;
      double* const out = run_start(k, stride);
      read_run(in, out, stride, n3, per_point);
      if (skip_gradient) in.skip_nonblank_lines(s3, "a gradient line of the GAUSSIAN layout");
      if (skip_laplacian) in.skip_lines(s3 + s1, "a line of the GAUSSIAN layout");
    }
    if (blocks.buffered()) blocks.scatter(g, first, last - first);
    first = last;
  }
}

}  // namespace

GridFile read_grid_file(LineReader& cube, LineReader* grd, CubeLayout layout, GridRole role,
                       std::vector<std::string>& grd_header_lines) {
  GridFile out;
  NumberReader in(cube);
  const std::int64_t per_point = read_cube_header(in, out.header);
  const GridHeader& h = out.header;
  if (layout == CubeLayout::xd2006) {
    if (!grd) throw TextError(cube.name(), 0, "no grd file was given for this cube file");
    // Every value is read (or the grid is dropped with the error): no zero fill first.
    out.grid = make_grid_for_overwrite(h.n1, h.n2, h.n3, grd->name());
    read_grd(*grd, h.natoms, role, out.grid, grd_header_lines);
  } else {
    out.grid = make_grid_for_overwrite(h.n1, h.n2, h.n3, cube.name());
    read_cube_values(in, layout, role, per_point, out.grid);
  }
  return out;
}

}  // namespace qv
