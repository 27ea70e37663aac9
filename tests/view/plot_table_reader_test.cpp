// The streaming reader of 2D plot tables: rows as the run writes them, and malformed rows.
#include <gtest/gtest.h>

#include <string>

#include "view/plot_histogram.hpp"
#include "view/plot_table_reader.hpp"
#include "gridio/text_error.hpp"

namespace qv {
namespace {

PlotHistogram read_text(const std::string& text) {
  PlotHistogram h(conventional_view(PlotQuantity::RhoSign));
  auto in = LineReader::from_text(text, "t_rhosign.2D");
  read_plot_table(*in, h);
  return h;
}

TEST(PlotTableReader, ReadsHeadingAndRowsAsTheRunWritesThem) {
  const std::string table =
      "  rho*sign(lambda2)           RDG       \n"
      "      -0.123E-01           0.377E+00\n"
      "       0.450E-02           0.120E+00\r\n"
      "\n"
      "       0.100E+01           0.500E+00\n"
      "      -0.123E-01           0.377E+00";  // last line without a line feed
  PlotHistogram h = read_text(table);
  EXPECT_EQ(h.total(), 4u);
  EXPECT_EQ(h.outside(), 1u);
  EXPECT_EQ(h.count(37, 37), 2u);
  EXPECT_EQ(h.count(54, 12), 1u);
}

TEST(PlotTableReader, EmptyTableHasNoPoints) {
  EXPECT_EQ(read_text("").total(), 0u);
  EXPECT_EQ(read_text("  rho*sign(lambda2)           RDG       \n").total(), 0u);
}

struct BadRow {
  const char* text;
  long line;
};

TEST(PlotTableReader, MalformedRowNamesFileAndLine) {
  const BadRow cases[] = {
      {"  rho   RDG\n  0.1E-01  0.5\n  0.2E-01\n", 3},       // one column only
      {"  0.1E-01  0.5\n  0.1E-01  0.5  0.7\n", 2},           // a third column
      {"  0.1E-01  0.5\n  0.1E-01  0.5x\n", 2},               // junk after a number
      {"  0.1E-01  0.5\n  rho   RDG\n", 2},                    // a heading on line 1 only
      {"  x  y\n  0.1E-01  0.5\n", 1},                         // a heading names RDG
      {"  0.1E-01  ****\n", 1},                               // a field that overflowed
      {"  rho   RDG\n\n  0.1E-01 abc\n", 3},
  };
  for (const BadRow& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      read_text(c.text);
      ADD_FAILURE() << "no error";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "t_rhosign.2D");
      EXPECT_EQ(e.line(), c.line);
    }
  }
}

}  // namespace
}  // namespace qv
