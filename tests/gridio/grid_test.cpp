// Bringing a grid's pages in on the sweep threads leaves every value as it was.
#include <gtest/gtest.h>

#include <cstdint>

#include "gridio/grid.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {
namespace {

TEST(Grid, BringingPagesInKeepsEveryValue) {
  struct Case {
    std::int32_t n1, n2, n3;
  };
  const int old_threads = sweep_threads();
  // Small (plain allocation), exactly some huge pages, and a large odd size.
  for (const Case& c : {Case{7, 5, 3}, Case{64, 64, 128}, Case{129, 131, 67}}) {
    for (int threads : {1, 2, 3}) {
      set_sweep_threads(threads);
      Grid g = make_grid_for_overwrite(c.n1, c.n2, c.n3, "test grid");
      for (std::size_t p = 0; p < g.size(); ++p) g.values[p] = 0.5 + static_cast<double>(p % 977);
      bring_in_pages(g);
      std::size_t changed = 0;
      for (std::size_t p = 0; p < g.size(); ++p)
        changed += g.values[p] != 0.5 + static_cast<double>(p % 977);
      EXPECT_EQ(changed, 0u) << c.n1 << " x " << c.n2 << " x " << c.n3 << ", " << threads;
    }
  }
  set_sweep_threads(old_threads);
}

}  // namespace
}  // namespace qv
