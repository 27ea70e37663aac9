#pragma once
// Density of points of a 2D plot table: RDG (second column) against the first column, counted
// on a fixed grid of bins over the conventional view. Points outside the view are only counted.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Which table a histogram shows; fixes the view and the axis texts.
enum class PlotQuantity { Density, RhoSign };

struct PlotView {
  double x_lo, x_hi;  // first column (a.u.)
  double y_lo, y_hi;  // RDG
  int nx, ny;         // bins along x and y
};

// The conventional view: x in [-0.05, 0.05] for rho*sign(lambda2), [0, 0.05] for the density;
// RDG in [0, 1]. Bins are 0.001 a.u. wide along x and 0.01 along RDG.
PlotView conventional_view(PlotQuantity q);

class PlotHistogram {
 public:
  explicit PlotHistogram(const PlotView& view);

  // Counts one point. The view is closed: a point on its upper edge falls in the last bin.
  // NaN compares false everywhere and so lands among the outside points.
  void add(double x, double y) {
    ++total_;
    if (!(x >= view_.x_lo && x <= view_.x_hi && y >= view_.y_lo && y <= view_.y_hi)) {
      ++outside_;
      return;
    }
    // Table values are short decimals; the nudge keeps one printed on a bin edge (0.120) in the
    // bin above it instead of letting rounding scatter such values over two bins.
    int ix = static_cast<int>((x - view_.x_lo) * x_scale_ + 1e-6);
    int iy = static_cast<int>((y - view_.y_lo) * y_scale_ + 1e-6);
    if (ix >= view_.nx) ix = view_.nx - 1;
    if (iy >= view_.ny) iy = view_.ny - 1;
    ++counts_[static_cast<std::size_t>(iy) * view_.nx + ix];
  }

  const PlotView& view() const { return view_; }
  // Points in bin (ix, iy); iy = 0 is the lowest RDG.
  std::uint64_t count(int ix, int iy) const {
    return counts_[static_cast<std::size_t>(iy) * view_.nx + ix];
  }
  std::uint64_t total() const { return total_; }
  std::uint64_t outside() const { return outside_; }
  std::uint64_t max_count() const;
  std::size_t nonempty_bins() const;

 private:
  PlotView view_;
  double x_scale_, y_scale_;  // bins per unit
  std::vector<std::uint64_t> counts_;
  std::uint64_t total_ = 0, outside_ = 0;
};

}  // namespace qv
