// Plot tables byte for byte: headings per table, one row per computed interior point.
#include <gtest/gtest.h>

#include "analysis/grid_axes.hpp"
#include "analysis/plot_tables.hpp"
#include "grid_builders.hpp"

namespace qv {
namespace {

// "(2X,A17,4X,A17)" and "(5X,E11.3,10X,E11.3)", spelled out field by field.
const std::string kRhoHeading = std::string("  ") + "     rho         " + "    " +
                                "       RDG       " + "\n";
const std::string kRhosignHeading = std::string("  ") + "rho*sign(lambda2)" + "    " +
                                    "       RDG       " + "\n";
std::string row(const std::string& e1, const std::string& e2) {
  return std::string(5, ' ') + e1 + std::string(10, ' ') + e2 + "\n";
}

std::string table(const Grid& rdg, const Grid& first, PlotTable kind) {
  auto out = TextOutput::memory("table");
  write_plot_table(rdg, first, kind, *out);
  out->flush();
  return out->contents();
}

TEST(Plot, TablesByteForByte) {
  // 6 x 5 x 5: interior points (2, 2, 2) and (3, 2, 2), counted from 0.
  Grid rdg = test::filled(6, 5, 5, 0.25);  // rim values are never written
  Grid rho = test::filled(6, 5, 5, 7.0);
  rdg.at(2, 2, 2) = 0.5;
  rho.at(2, 2, 2) = 0.5;
  rdg.at(3, 2, 2) = 12345.678;
  rho.at(3, 2, 2) = -0.0012345;
  Grid skipped = rdg;
  skipped.at(2, 2, 2) = kNotComputed;

  const std::string row1 = row("  0.500E+00", "  0.500E+00");
  const std::string row2 = row(" -0.123E-02", "  0.123E+05");
  struct Case {
    const char* name;
    const Grid& rdg;
    PlotTable kind;
    std::string expected;
  } cases[] = {
      {"density table", rdg, PlotTable::rdg_vs_density, kRhoHeading + row1 + row2},
      {"rho*sign table", rdg, PlotTable::rdg_vs_rhosign, kRhosignHeading + row1 + row2},
      {"headless table", rdg, PlotTable::headless, row1 + row2},
      {"1.0E10 gives no row", skipped, PlotTable::rdg_vs_density, kRhoHeading + row2},
  };
  for (const Case& c : cases) EXPECT_EQ(table(c.rdg, rho, c.kind), c.expected) << c.name;
}

TEST(Plot, GridSizes) {
  // 5 points along every axis: exactly the row of point (3, 3, 3).
  Grid rdg = test::filled(5, 5, 5, 0.1);
  const Grid rho = test::filled(5, 5, 5, 1.0);
  EXPECT_EQ(table(rdg, rho, PlotTable::rdg_vs_density),
            kRhoHeading + row("  0.100E+01", "  0.100E+00"));
  // Fewer than 5 along one axis: the heading only.
  const Grid small = test::filled(5, 4, 5, 0.1);
  EXPECT_EQ(table(small, small, PlotTable::rdg_vs_rhosign), kRhosignHeading);
}

}  // namespace
}  // namespace qv
