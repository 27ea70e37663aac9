// quelvarin-plot reads what the RDG job writes: a table from the plot-table writer and a cube
// from the cube writer come back as the same points and the same grid.
#include <gtest/gtest.h>

#include <string>

#include "view/cube_glance.hpp"
#include "analysis/plot_tables.hpp"
#include "view/plot_histogram.hpp"
#include "view/plot_table_reader.hpp"
#include "gridio/cube_writing.hpp"
#include "analysis/grid_builders.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

TEST(PlotRoundTrip, TableOfThePlotWriterGivesTheGridsPoints) {
  // Values with three significant digits, as the table prints them, so binning them directly
  // and through the table must agree bin for bin.
  const double xs[] = {-0.0455, -0.0205, -0.00305, 0.0, 0.00155, 0.0255, 0.0495, 0.0705};
  const double rdgs[] = {0.0155, 0.305, 0.995, 1.25};
  Grid rdg = test::filled(9, 8, 7, 0.0);
  Grid sign = test::filled(9, 8, 7, 0.0);
  int n = 0;
  for (double& v : rdg.values) v = rdgs[n++ % 4];
  n = 0;
  for (double& v : sign.values) v = xs[(n++ / 3) % 8];
  rdg.at(4, 4, 3) = kNotComputed;

  PlotHistogram direct(conventional_view(PlotQuantity::RhoSign));
  for (std::int32_t k = 2; k <= 4; ++k)
    for (std::int32_t j = 2; j <= 5; ++j)
      for (std::int32_t i = 2; i <= 6; ++i)
        if (rdg.at(i, j, k) != kNotComputed) direct.add(sign.at(i, j, k), rdg.at(i, j, k));

  auto out = TextOutput::memory("mol_rhosign.2D");
  write_plot_table(rdg, sign, PlotTable::rdg_vs_rhosign, *out);
  out->flush();
  PlotHistogram read(conventional_view(PlotQuantity::RhoSign));
  auto in = LineReader::from_text(out->contents(), "mol_rhosign.2D");
  read_plot_table(*in, read);

  EXPECT_EQ(read.total(), 5u * 4u * 3u - 1u);
  EXPECT_EQ(read.total(), direct.total());
  EXPECT_EQ(read.outside(), direct.outside());
  EXPECT_GT(read.outside(), 0u);
  EXPECT_GT(read.nonempty_bins(), 5u);
  for (int iy = 0; iy < 100; ++iy)
    for (int ix = 0; ix < 100; ++ix)
      ASSERT_EQ(read.count(ix, iy), direct.count(ix, iy)) << ix << "," << iy;
}

TEST(PlotRoundTrip, CubeOfTheCubeWriterIsRecognised) {
  testing::TempDir dir;
  GridHeader h;
  h.natoms = 2;
  h.origin = {-5, -5, -5};
  h.axes = {{{0.2f, 0, 0}, {0, 0.2f, 0}, {0, 0, 0.2f}}};
  h.atomic_numbers = {8, 1};
  h.atoms = {{8, 0, 0, 0}, {1, 0, 1.43f, 1.1f}};
  const Grid g = test::filled(5, 6, 7, -2.5e-7);
  {
    auto out = TextOutput::create("w.cube");
    write_cube_file(h, g, *out);
    out->close();
  }
  const CubeGlance c = glance_at_cube("w.cube");
  EXPECT_EQ(c.atoms, 2);
  EXPECT_EQ(c.points, (std::array<long, 3>{5, 6, 7}));
}

}  // namespace
}  // namespace qv
