#include "gridio/grd_file.hpp"

#include <algorithm>

#include "gridio/chunk_text.hpp"
#include "gridio/fast_fields.hpp"
#include "gridio/fixed_text.hpp"
#include "gridio/number_reader.hpp"
#include "gridio/text_error.hpp"
#include "gridio/whole_runs.hpp"
#include "gridio/written_lines.hpp"

namespace qv {

namespace {

constexpr const char* kValue = "a grd value";
constexpr std::size_t kPerLine = 6;
constexpr std::size_t kField = 18;
constexpr std::size_t kGeneralRuns = 64;  // runs read alone after one that is not laid out so
constexpr std::size_t kValuesPerChunk = 1 << 14;  // values made into text by one thread at a time

// A text read into an 80-character variable: cut, or padded with blanks.
std::string header_text(std::string_view line) {
  std::string s(line.substr(0, kGrdHeaderWidth));
  s.resize(kGrdHeaderWidth, ' ');
  return s;
}

}  // namespace

void read_grd(LineReader& grd, std::int32_t natoms, GridRole role, Grid& grid,
              std::vector<std::string>& grd_intestaz) {
  NumberReader in(grd);
  const long header_lines = static_cast<long>(natoms) + 12;
  if (role == GridRole::density) {
    grd_intestaz.clear();
    for (long i = 0; i < header_lines; ++i)
      grd_intestaz.push_back(header_text(in.text_line("a grd header line")));
  } else {
    in.skip_lines(header_lines, "a grd header line");
  }
  if (grid.values.empty()) return;

  // Converted as read: density times b^3, gradient times b^4, laplacian -(v times b^5).
  const double factor = role == GridRole::density    ? kBohr3
                        : role == GridRole::gradient ? kBohr4
                                                     : kBohr5;
  const bool reverse = role == GridRole::laplacian;

  // The first index runs fastest in the file, as in memory: one run per (i2, i3). Runs laid
  // out as this program writes them are read in place on the sweep threads once the first run
  // has shown their length.
  const std::size_t n1 = static_cast<std::size_t>(grid.n1);
  const std::size_t runs = grid.values.size() / n1;
  double* const v = grid.values.data();
  RunShape shape;
  for (std::size_t r = 0; r < runs;) {
    const std::size_t done = read_whole_runs(in.lines(), runs - r, shape,
                                             [&](std::string_view text, std::size_t k) {
      const WrittenLines w = scan_grd_lines(text, v + (r + k) * n1, n1);
      return w.values == n1 && w.bytes == text.size() && w.lines == shape.lines;
    });
    if (done > 0) {
      in.forget_line();
      r += done;
      if (r == runs) break;
    }
    // A run of another layout: it and a few more by the general reader before the next try.
    for (const std::size_t stop = std::min(runs, r + kGeneralRuns); r < stop; ++r) {
      const std::uint64_t start = grd.position();
      const long start_line = in.line_number();
      in.grd_run(v + r * n1, n1, kValue);
      if (shape.bytes == 0) {
        shape.bytes = static_cast<std::size_t>(grd.position() - start);
        shape.lines = in.line_number() - start_line;
      }
    }
  }
  parallel_for(grid.values.size(), std::size_t{1} << 14, [&](std::size_t first, std::size_t last) {
    for (std::size_t p = first; p < last; ++p) {
      const double x = v[p] * factor;
      v[p] = reverse ? -x : x;
    }
  });
}

void grd_writing(const Grid& grid, std::int32_t natoms, std::vector<std::string>& grd_intestaz,
                 GrdOutput role, TextOutput& out) {
  const long header_lines = static_cast<long>(natoms) + 12;
  if (header_lines > static_cast<long>(grd_intestaz.size())) {
    throw TextError(out.name(), 0,
                    "the grd header lines were not read before this grd output was written");
  }
  for (long i = 0; i < header_lines; ++i) {
    std::string& line = grd_intestaz[static_cast<std::size_t>(i)];
    line = left_adjust(line, kGrdHeaderWidth);  // the stored line itself stays adjusted
    out.line(line);
  }
  if (grid.values.empty()) return;

  const bool to_angstrom = role == GrdOutput::rhosign;
  const std::size_t n1 = static_cast<std::size_t>(grid.n1);
  const std::size_t runs = grid.values.size() / n1;
  const std::size_t runs_per_chunk = 1 + kValuesPerChunk / n1;
  write_chunks_in_order(out, (runs + runs_per_chunk - 1) / runs_per_chunk,
                        [&](std::size_t chunk, auto& sink, int) {
    const double* v = grid.values.data() + chunk * runs_per_chunk * n1;
    const double* const last = grid.values.data() + std::min(runs, (chunk + 1) * runs_per_chunk) * n1;
    for (; v != last; v += n1) {
      for (std::size_t i1 = 0; i1 < n1; i1 += kPerLine) {
        const std::size_t count = n1 - i1 < kPerLine ? n1 - i1 : kPerLine;
        char* const start = sink.reserve(kPerLine * kField + 1);
        const double* line = v + i1;
        double converted[kPerLine];
        if (to_angstrom) {
          for (std::size_t j = 0; j < count; ++j) converted[j] = line[j] / kBohr3;
          line = converted;
        }
        sink.commit(static_cast<std::size_t>(put_e18_10_line(start, line, count) - start));
      }
    }
  });
}

}  // namespace qv
