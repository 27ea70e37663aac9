// Binning of the points of a 2D plot table over the conventional view.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "view/plot_histogram.hpp"

namespace qv {
namespace {

struct BinCase {
  PlotQuantity q;
  double x, y;
  int ix, iy;  // -1: outside the view
};

TEST(PlotHistogram, PointsLandInTheirBinOrOutside) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const BinCase cases[] = {
      {PlotQuantity::RhoSign, -0.05, 0.0, 0, 0},        // lower corner
      {PlotQuantity::RhoSign, 0.05, 1.0, 99, 99},       // upper edges belong to the view
      {PlotQuantity::RhoSign, -0.012, 0.12, 38, 12},    // printed values on bin edges
      {PlotQuantity::RhoSign, 0.0, 0.5, 50, 50},
      {PlotQuantity::RhoSign, -0.0123, 0.377, 37, 37},
      {PlotQuantity::RhoSign, 0.0501, 0.5, -1, -1},
      {PlotQuantity::RhoSign, -0.0501, 0.5, -1, -1},
      {PlotQuantity::RhoSign, 0.01, 1.001, -1, -1},     // RDG above the view
      {PlotQuantity::RhoSign, 0.01, -0.001, -1, -1},
      {PlotQuantity::RhoSign, nan, 0.5, -1, -1},
      {PlotQuantity::RhoSign, 0.01, nan, -1, -1},
      {PlotQuantity::Density, 0.0, 0.0, 0, 0},
      {PlotQuantity::Density, 0.049, 0.2, 49, 20},
      {PlotQuantity::Density, 0.05, 0.2, 49, 20},
      {PlotQuantity::Density, -0.001, 0.2, -1, -1},     // the density view starts at zero
  };
  for (const BinCase& c : cases) {
    PlotHistogram h(conventional_view(c.q));
    h.add(c.x, c.y);
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    EXPECT_EQ(h.total(), 1u);
    EXPECT_EQ(h.outside(), c.ix < 0 ? 1u : 0u);
    EXPECT_EQ(h.nonempty_bins(), c.ix < 0 ? 0u : 1u);
    if (c.ix >= 0) {
      EXPECT_EQ(h.count(c.ix, c.iy), 1u);
    }
  }
}

TEST(PlotHistogram, CountsAccumulateAndTheFullestBinIsKnown) {
  PlotHistogram h(conventional_view(PlotQuantity::RhoSign));
  for (int k = 0; k < 7; ++k) h.add(-0.0205, 0.305);
  for (int k = 0; k < 3; ++k) h.add(0.0305, 0.905);
  h.add(0.2, 0.1);
  EXPECT_EQ(h.total(), 11u);
  EXPECT_EQ(h.outside(), 1u);
  EXPECT_EQ(h.nonempty_bins(), 2u);
  EXPECT_EQ(h.max_count(), 7u);
  EXPECT_EQ(h.count(29, 30), 7u);
  EXPECT_EQ(h.count(80, 90), 3u);
}

}  // namespace
}  // namespace qv
