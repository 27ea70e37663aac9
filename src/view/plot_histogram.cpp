#include "view/plot_histogram.hpp"

#include <algorithm>

namespace qv {

PlotView conventional_view(PlotQuantity q) {
  if (q == PlotQuantity::RhoSign) return {-0.05, 0.05, 0.0, 1.0, 100, 100};
  return {0.0, 0.05, 0.0, 1.0, 50, 100};
}

PlotHistogram::PlotHistogram(const PlotView& view)
    : view_(view),
      x_scale_(view.nx / (view.x_hi - view.x_lo)),
      y_scale_(view.ny / (view.y_hi - view.y_lo)),
      counts_(static_cast<std::size_t>(view.nx) * view.ny, 0) {}

std::uint64_t PlotHistogram::max_count() const {
  return counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
}

std::size_t PlotHistogram::nonempty_bins() const {
  return static_cast<std::size_t>(
      std::count_if(counts_.begin(), counts_.end(), [](std::uint64_t c) { return c != 0; }));
}

}  // namespace qv
