// The files quelvarin-plot writes: the SVG picture and the VMD script, and the rule that only
// our own files are replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "view/own_output.hpp"
#include "view/svg_picture.hpp"
#include "view/vmd_script.hpp"
#include "support/temp_dir.hpp"
#include "support/xml_check.hpp"

namespace qv {
namespace {

using testing::check_xml;
using testing::read_file;
using testing::TempDir;
using testing::write_file;
using testing::XmlDocument;

std::string svg_of(const PlotHistogram& h, const SvgTexts& t) {
  auto out = TextOutput::memory();
  write_svg_picture(h, t, *out);
  out->flush();
  return out->contents();
}

std::vector<std::string> texts_of(const XmlDocument& doc) {
  std::vector<std::string> out;
  for (const auto& e : doc.elements)
    if (e.name == "text") out.push_back(e.text);
  return out;
}

bool has(const std::vector<std::string>& v, const std::string& s) {
  for (const auto& x : v)
    if (x == s) return true;
  return false;
}

TEST(XmlCheck, RejectsWhatIsNotWellFormed) {
  const char* bad[] = {"<a><b></a></b>", "<a x=1/>", "<a x=\"1\" x=\"2\"/>", "<a>&nbsp;</a>",
                       "<a/><b/>", "<a>", "text<a/>", "<a><!-- x -- y --></a>", "<a>x < y</a>"};
  for (const char* s : bad) EXPECT_FALSE(check_xml(s).ok) << s;
  EXPECT_TRUE(check_xml("<?xml version=\"1.0\"?>\n<a x='1'><b>&lt;&#38;</b><!-- c --></a>\n").ok);
}

TEST(SvgPicture, OneRectPerNonEmptyBinWithAxesAndTitle) {
  PlotHistogram h(conventional_view(PlotQuantity::RhoSign));
  // A crafted table: 5 distinct bins, one of them with 1000 points, plus 2 points outside.
  for (int k = 0; k < 1000; ++k) h.add(-0.0205, 0.305);
  h.add(-0.0215, 0.305);
  h.add(0.0, 0.0);
  h.add(0.05, 1.0);
  h.add(0.0305, 0.905);
  h.add(0.0305, 0.905);
  h.add(0.06, 0.5);
  h.add(0.01, 1.5);
  ASSERT_EQ(h.nonempty_bins(), 5u);
  const std::string svg =
      svg_of(h, plot_texts(PlotQuantity::RhoSign, "mol_rhosign.2D", "a&b<input>.inp"));
  const XmlDocument doc = check_xml(svg);
  ASSERT_TRUE(doc.ok) << doc.error;
  EXPECT_EQ(doc.elements[0].name, "svg");
  EXPECT_EQ(doc.elements[0].attributes.at("width"), std::to_string(kSvgWidth));
  EXPECT_EQ(doc.elements[0].attributes.at("height"), std::to_string(kSvgHeight));
  const int cells = doc.by_id("cells");
  ASSERT_GE(cells, 0);
  EXPECT_EQ(doc.children(cells, "rect").size(), 5u);
  // Every rect of the document besides the cells: background, frame, colour bar.
  std::size_t rects = 0;
  for (const auto& e : doc.elements) rects += e.name == "rect";
  EXPECT_EQ(rects, 5u + 3u);

  const auto texts = texts_of(doc);
  for (const char* tick : {"-0.05", "-0.04", "-0.01", "0.00", "0.01", "0.05", "0.0", "0.2", "1.0"})
    EXPECT_TRUE(has(texts, tick)) << tick;
  EXPECT_TRUE(has(texts, "rho*sign(lambda2) (a.u.)"));
  EXPECT_TRUE(has(texts, "RDG"));
  EXPECT_TRUE(has(texts, "RDG against rho*sign(lambda2)"));
  EXPECT_TRUE(has(texts, "table mol_rhosign.2D of input a&amp;b&lt;input&gt;.inp"));
  EXPECT_TRUE(has(texts, "1000"));  // top of the colour bar: the fullest bin
  const int note = doc.by_id("note");
  ASSERT_GE(note, 0);
  EXPECT_NE(doc.elements[note].text.find("1007 points in the table; 2 outside the view"),
            std::string::npos);
  EXPECT_LT(svg.find(kSvgMark), 200u);
}

TEST(SvgPicture, FullHistogramStaysWellUnderOneMegabyte) {
  for (PlotQuantity q : {PlotQuantity::RhoSign, PlotQuantity::Density}) {
    const PlotView v = conventional_view(q);
    PlotHistogram h(v);
    for (int iy = 0; iy < v.ny; ++iy)
      for (int ix = 0; ix < v.nx; ++ix)
        for (int k = 0; k <= (ix * iy) % 50; ++k)
          h.add(v.x_lo + (ix + 0.5) * (v.x_hi - v.x_lo) / v.nx,
                v.y_lo + (iy + 0.5) * (v.y_hi - v.y_lo) / v.ny);
    ASSERT_EQ(h.nonempty_bins(), static_cast<std::size_t>(v.nx) * v.ny);
    const std::string svg = svg_of(h, plot_texts(q, "t.2D", "in.inp"));
    EXPECT_LT(svg.size(), 700'000u);
    const XmlDocument doc = check_xml(svg);
    ASSERT_TRUE(doc.ok) << doc.error;
    EXPECT_EQ(doc.children(doc.by_id("cells"), "rect").size(), h.nonempty_bins());
  }
}

TEST(SvgPicture, DensityViewHasItsOwnAxisAndEmptyTableStillDraws) {
  PlotHistogram h(conventional_view(PlotQuantity::Density));
  const XmlDocument doc = check_xml(svg_of(h, plot_texts(PlotQuantity::Density, "m_rho.2D", "i")));
  ASSERT_TRUE(doc.ok) << doc.error;
  EXPECT_TRUE(doc.children(doc.by_id("cells"), "rect").empty());
  const auto texts = texts_of(doc);
  EXPECT_TRUE(has(texts, "rho (a.u.)"));
  EXPECT_TRUE(has(texts, "0.00"));
  EXPECT_TRUE(has(texts, "0.05"));
  EXPECT_FALSE(has(texts, "-0.05"));
}

TEST(VmdScript, LoadsBothCubesAndDrawsTheColouredIsosurface) {
  for (MoleculeStyle style : {MoleculeStyle::Cpk, MoleculeStyle::Lines}) {
    VmdScene scene;
    scene.rdg_cube = "mol rdg.cube";
    scene.rhosign_cube = "sub/mol_sign.cube";
    scene.style = style;
    auto out = TextOutput::memory();
    write_vmd_script(scene, *out);
    out->flush();
    const std::string s = out->contents();
    EXPECT_EQ(s.rfind(kVmdMark, 0), 0u);
    // rho*sign(lambda2) is loaded first (volume 0, with the atoms), RDG second (volume 1).
    const auto sign_at = s.find("mol new [file join $qv_here {sub/mol_sign.cube}] type cube");
    const auto rdg_at = s.find("mol addfile [file join $qv_here {mol rdg.cube}] type cube");
    ASSERT_NE(sign_at, std::string::npos);
    ASSERT_NE(rdg_at, std::string::npos);
    EXPECT_LT(sign_at, rdg_at);
    EXPECT_NE(s.find("mol representation Isosurface 0.500000 1 0 0 1 1\nmol color Volume 0\n"),
              std::string::npos);
    EXPECT_NE(s.find("mol scaleminmax top 1 -0.050000 0.050000"), std::string::npos);
    EXPECT_NE(s.find("color scale method BGR"), std::string::npos);
    EXPECT_NE(s.find(style == MoleculeStyle::Cpk ? "mol representation CPK"
                                                  : "mol representation Lines"),
              std::string::npos);
  }
}

TEST(VmdScript, CubePathsAreNamedFromTheScriptsFolder) {
  struct Case {
    const char *script, *cube, *named;
  };
  const Case cases[] = {{"mol.vmd", "mol.cube", "mol.cube"},
                        {"out/mol.vmd", "out/mol.cube", "mol.cube"},
                        {"out/mol.vmd", "other/s.cube", "../other/s.cube"},
                        {"mol.vmd", "out/./s.cube", "out/s.cube"}};
  for (const Case& c : cases) EXPECT_EQ(path_from_script(c.script, c.cube), c.named) << c.cube;
  EXPECT_TRUE(vmd_safe_name("a b/c.cube"));
  EXPECT_FALSE(vmd_safe_name("a}b.cube"));
  EXPECT_FALSE(vmd_safe_name("a\\b.cube"));
}

TEST(OwnOutput, ReplacesOnlyOurOwnFiles) {
  TempDir dir;
  const std::string mark = "<!-- ours -->";
  auto out = create_own_output("new.svg", mark);
  ASSERT_TRUE(out);
  out->line("<?xml?>");
  out->line(mark);
  out->close();
  EXPECT_TRUE(free_or_ours("new.svg", mark));  // a second run may replace it
  write_file("foreign.svg", "<svg>someone else's picture</svg>\n");
  EXPECT_FALSE(create_own_output("foreign.svg", mark));
  EXPECT_EQ(read_file("foreign.svg"), "<svg>someone else's picture</svg>\n");
  std::filesystem::create_directory("folder.svg");
  EXPECT_FALSE(free_or_ours("folder.svg", mark));
  std::filesystem::create_symlink("nowhere/x.svg", "dangling.svg");
  EXPECT_FALSE(free_or_ours("dangling.svg", mark));
  // The mark must stand near the start: further in, the file is someone else's.
  write_file("late.svg", std::string(600, ' ') + mark);
  EXPECT_FALSE(free_or_ours("late.svg", mark));
}

}  // namespace
}  // namespace qv
