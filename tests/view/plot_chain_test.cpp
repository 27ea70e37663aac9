// The whole chain as a user runs it: quelvarin on a model density, then quelvarin-plot on the
// same input file, then the picture rendered by a real SVG renderer.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "view/plot_histogram.hpp"
#include "view/plot_table_reader.hpp"
#include "view/svg_picture.hpp"
#include "gridio/cube_writing.hpp"
#include "gridio/grid.hpp"
#include "support/png_pixels.hpp"
#include "support/temp_dir.hpp"
#include "support/xml_check.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

int shell(const std::string& cmd) {
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Two exponential centres 3.4 bohr apart: a density with a low-gradient region between them.
void write_model_density(const std::string& path) {
  const int n = 24;
  const float h = 0.25f, o = -(n - 1) * h / 2;
  GridHeader hd;
  hd.natoms = 2;
  hd.origin = {o, o, o};
  hd.axes = {{{h, 0, 0}, {0, h, 0}, {0, 0, h}}};
  hd.atomic_numbers = {1, 1};
  hd.atoms = {{1, -1.7f, 0, 0}, {1, 1.7f, 0, 0}};
  Grid g = make_grid(n, n, n, path);
  for (int k = 0; k < n; ++k)
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        const double x = o + i * h, y = o + j * h, z = o + k * h;
        g.at(i, j, k) = 0.3 * std::exp(-1.6 * std::sqrt((x + 1.7) * (x + 1.7) + y * y + z * z)) +
                        0.3 * std::exp(-1.6 * std::sqrt((x - 1.7) * (x - 1.7) + y * y + z * z));
      }
  auto out = TextOutput::create(path);
  write_cube_file(hd, g, *out);
  out->close();
}

const char* kInput =
    "NCI run of a model density\n"
    "OUTPUT_FILE_NAME model.log\n"
    "SECTIONS *RDG\n"
    "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION\n"
    "INPUT  *CUB\n"
    "CALCULATING *RDG *rho *plo\n"
    "RHO_INPUT_CUBE   density.cube\n"
    "GRAD= *calc\n"
    "LAPL= *calc\n"
    "RDG_CALCULATION *all_p\n"
    "RDG_OUTPUT  model_rdg\n"
    "SPACE_CUTOFF *none\n"
    "RHO_SIGN_CALCULATION\n"
    "RHO_SIGN_OUTPUT model_sign\n"
    "2DPLOT *rho *rhosign\n"
    "PLOT_NAME   model\n";

TEST(PlotChain, RunThenPlotThenRender) {
  TempDir dir;
  write_model_density("density.cube");
  write_file("run.inp", kInput);
  ASSERT_EQ(shell(std::string(QV_BINARY) + " run.inp >run.out 2>run.err"), 0)
      << read_file("run.err");
  const std::string log = read_file("model.log");
  const std::string table = read_file("model_rhosign.2D");
  ASSERT_FALSE(table.empty());

  ASSERT_EQ(shell(std::string(QV_PLOT_BINARY) + " run.inp >plot.out 2>plot.err"), 0)
      << read_file("plot.err");
  // The run's own outputs and its log are as the run left them.
  EXPECT_EQ(read_file("model.log"), log);
  EXPECT_EQ(read_file("model_rhosign.2D"), table);

  // As many cells as non-empty bins of the table the run wrote.
  PlotHistogram h(conventional_view(PlotQuantity::RhoSign));
  auto in = LineReader::from_text(table, "model_rhosign.2D");
  read_plot_table(*in, h);
  ASSERT_GT(h.nonempty_bins(), 10u);
  const auto doc = testing::check_xml(read_file("model_rhosign.svg"));
  ASSERT_TRUE(doc.ok) << doc.error;
  EXPECT_EQ(doc.children(doc.by_id("cells"), "rect").size(), h.nonempty_bins());
  EXPECT_TRUE(testing::check_xml(read_file("model_rho.svg")).ok);
  const std::string script = read_file("model_rdg.vmd");
  EXPECT_NE(script.find("{model_sign.cube}"), std::string::npos);
  EXPECT_NE(script.find("{model_rdg.cube}"), std::string::npos);

  if (shell("command -v rsvg-convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "rsvg-convert is not installed (Debian package librsvg2-bin): not rendered";
  ASSERT_EQ(shell("rsvg-convert -o model.png model_rhosign.svg"), 0);
  testing::Picture pic;
  ASSERT_TRUE(testing::decode_png(read_file("model.png"), pic));
  EXPECT_EQ(pic.width, kSvgWidth);
  EXPECT_EQ(pic.height, kSvgHeight);
  // Inside the plot area (x 90..590, y 70..470) some pixels carry the colours of the cells.
  std::size_t coloured = 0;
  for (int y = 71; y < 470; ++y)
    for (int x = 91; x < 590; ++x) {
      const auto p = pic.at(x, y);
      coloured += !(p[0] == p[1] && p[1] == p[2]);
    }
  EXPECT_GE(coloured, h.nonempty_bins() * 10);  // each cell is 5 x 4 pixels
}

// The picture of the bundled example shown in the README, as a renderer draws it.
TEST(PlotChain, BundledExamplePictureRenders) {
  const std::string svg_path = std::string(QV_TEST_DATA) + "/../../docs/example_rhosign.svg";
  const std::string svg = read_file(svg_path);
  ASSERT_FALSE(svg.empty()) << svg_path;
  const auto doc = testing::check_xml(svg);
  ASSERT_TRUE(doc.ok) << doc.error;
  const std::size_t cells = doc.children(doc.by_id("cells"), "rect").size();
  EXPECT_GT(cells, 20u);
  if (shell("command -v rsvg-convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "rsvg-convert is not installed (Debian package librsvg2-bin): not rendered";
  TempDir dir;
  ASSERT_EQ(shell("rsvg-convert -o example.png '" + svg_path + "'"), 0);
  testing::Picture pic;
  ASSERT_TRUE(testing::decode_png(read_file("example.png"), pic));
  EXPECT_EQ(pic.width, kSvgWidth);
  EXPECT_EQ(pic.height, kSvgHeight);
  std::size_t coloured = 0, dark = 0;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      const auto p = pic.at(x, y);
      const bool grey = p[0] == p[1] && p[1] == p[2];
      if (!grey && x > 90 && x < 590 && y > 70 && y < 470) ++coloured;
      if (p[0] < 128 && p[1] < 128 && p[2] < 128) ++dark;
    }
  EXPECT_GE(coloured, cells * 10);  // the cells, each 5 x 4 pixels
  EXPECT_GT(dark, 2000u);           // axes, ticks and labels
}

}  // namespace
}  // namespace qv
