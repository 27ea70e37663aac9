#include "analysis/plot_tables.hpp"

#include <cstring>

#include "analysis/grid_axes.hpp"
#include "gridio/fast_fields.hpp"
#include "gridio/format.hpp"

namespace qv {

void write_plot_table(const Grid& rdg, const Grid& first_column, PlotTable table,
                      TextOutput& out) {
  if (table != PlotTable::headless) {
    const Format heading("(2X,A17,4X,A17)");
    const OutItem items[] = {
        std::string_view(table == PlotTable::rdg_vs_rhosign ? "rho*sign(lambda2)"
                                                            : "     rho         "),
        std::string_view("       RDG       ")};
    heading.write(out, items);
  }
  if (!has_interior(rdg)) return;

  // One row: 5 blanks, E11.3, 10 blanks, E11.3, line feed.
  constexpr std::size_t kRow = 5 + 11 + 10 + 11 + 1;
  for (std::int32_t k = 2; k <= rdg.n3 - 3; ++k) {
    for (std::int32_t j = 2; j <= rdg.n2 - 3; ++j) {
      const std::size_t base = grid_index(rdg, 0, j, k);
      const double* r = rdg.values.data() + base;
      const double* x = first_column.values.data() + base;
      for (std::int32_t i = 2; i <= rdg.n1 - 3; ++i) {
        if (r[i] == kNotComputed) continue;
        char* p = out.reserve(kRow);
        std::memset(p, ' ', 5);
        p = put_e11_3(p + 5, x[i]);
        std::memset(p, ' ', 10);
        p = put_e11_3(p + 10, r[i]);
        *p = '\n';
        out.commit(kRow);
      }
    }
  }
}

}  // namespace qv
