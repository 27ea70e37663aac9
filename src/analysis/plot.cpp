#include "analysis/plot.hpp"

#include <algorithm>
#include <cstring>

#include "analysis/grid_axes.hpp"
#include "gridio/chunk_text.hpp"
#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"

namespace qv {

void plot(const Grid& rdg_array, const Grid& first_column, int unit, TextOutput& out) {
  if (unit == kPlotRhoUnit || unit == kPlotRhosignUnit) {
    const Format heading("(2X,A17,4X,A17)");
    const OutItem items[] = {
        std::string_view(unit == kPlotRhosignUnit ? "rho*sign(lambda2)" : "     rho         "),
        std::string_view("       RDG       ")};
    heading.write(out, items);
  }
  if (!has_interior(rdg_array)) return;

  // One row: 5 blanks, E11.3, 10 blanks, E11.3, line feed. Chunks of grid rows are made into
  // text on the sweep threads and written in order.
  constexpr std::size_t kRow = 5 + 11 + 10 + 11 + 1;
  const std::size_t rows_per_plane = static_cast<std::size_t>(rdg_array.n2 - 4);
  const std::size_t rows = rows_per_plane * static_cast<std::size_t>(rdg_array.n3 - 4);
  const std::size_t per_chunk = rows_per_chunk(rdg_array.n1);
  write_chunks_in_order(out, (rows + per_chunk - 1) / per_chunk,
                        [&](std::size_t chunk, auto& sink, int) {
    const std::size_t last_row = std::min(rows, (chunk + 1) * per_chunk);
    for (std::size_t row = chunk * per_chunk; row < last_row; ++row) {
      const std::size_t base = grid_index(rdg_array, 0, 2 + row % rows_per_plane,
                                          2 + row / rows_per_plane);
      const double* r = rdg_array.values.data() + base;
      const double* x = first_column.values.data() + base;
      for (std::int32_t i = 2; i <= rdg_array.n1 - 3; ++i) {
        if (r[i] == kNotComputed) continue;
        char* p = sink.reserve(kRow);
        std::memset(p, ' ', 5);
        p = put_e11_3(p + 5, x[i]);
        std::memset(p, ' ', 10);
        p = put_e11_3(p + 10, r[i]);
        *p = '\n';
        sink.commit(kRow);
      }
    }
  });
}

}  // namespace qv
