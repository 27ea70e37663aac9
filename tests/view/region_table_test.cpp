// The two renderings of the region list: the tab-separated file and the aligned table.
#include "view/region_table.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace qv {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    out.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "the text ends with a line feed";
  return out;
}

std::vector<std::string> split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = line.find(sep, start)) != std::string::npos; start = end + 1)
    out.push_back(line.substr(start, end - start));
  out.push_back(line.substr(start));
  return out;
}

const std::vector<CubeAtom> kAtoms = {{8, 0, 0, 0}, {1, 1.8, 0, 0}, {1, -0.5, 1.7, 0},
                                      {8, 5.5, 0, 0}, {0, 9, 9, 9}};

NciRegion hydrogen_bond() {
  NciRegion r;
  r.points = 412;
  r.volume = 412 * 0.003375;
  r.rho_integral = 0.0123456789;
  r.rdg_min = 0.0321;
  r.rhosign_at_rdg_min = -0.0254321;
  r.rhosign_min = -0.0312;
  r.rhosign_max = 0.00812;
  r.position = {3.6, -4.440892098500626e-16, 1e-3};
  r.nearest = {{1, 1.8}, {3, 1.9000001}};
  r.kind = NciKind::attractive;
  return r;
}

TEST(RegionTable, FieldsOfOneRegion) {
  const auto f = region_fields(hydrogen_bond(), 1, kAtoms);
  const std::array<std::string, 16> expected = {
      "1",           "412",         "1.39050E+00", "1.23457E-02", "3.21000E-02", "-2.54321E-02",
      "-3.12000E-02", "8.12000E-03", "3.6",        "0",           "0.001",       "H2",
      "O4",          "1.8",         "1.9",         "attractive"};
  EXPECT_EQ(f, expected);
}

TEST(RegionTable, KindsAtomsAndTheBoxMark) {
  struct Case {
    NciKind kind;
    bool touches;
    std::vector<NearAtom> nearest;
    const char *atom1, *atom2, *d2, *kind_text;
  };
  const Case cases[] = {
      {NciKind::van_der_waals, false, {{4, 2.5}, {0, 3.25}}, "X5", "O1", "3.25", "van der Waals"},
      {NciKind::repulsive, true, {{2, 1.0}, {1, 2.0}}, "H3", "H2", "2", "repulsive*"},
      {NciKind::attractive, true, {{0, 1.0}}, "O1", "-", "-", "attractive*"},
      {NciKind::van_der_waals, true, {}, "-", "-", "-", "van der Waals*"},
  };
  for (const Case& c : cases) {
    NciRegion r = hydrogen_bond();
    r.kind = c.kind;
    r.touches_box = c.touches;
    r.nearest = c.nearest;
    const auto f = region_fields(r, 7, kAtoms);
    EXPECT_EQ(f[11], c.atom1);
    EXPECT_EQ(f[12], c.atom2);
    EXPECT_EQ(f[14], c.d2);
    EXPECT_EQ(f[15], c.kind_text);
  }
}

TEST(RegionTable, TsvHasTheColumnLineAndOneLinePerRegion) {
  NciRegion second = hydrogen_bond();
  second.kind = NciKind::van_der_waals;
  second.touches_box = true;
  auto out = TextOutput::memory();
  write_region_tsv({hydrogen_bond(), second}, kAtoms, *out);
  out->flush();
  const auto lines = lines_of(out->contents());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "region\tpoints\tvolume\trho_integral\trdg_min\trhosign_at_rdg_min\trhosign_min\t"
            "rhosign_max\tx\ty\tz\tatom1\tatom2\td1\td2\tkind");
  for (const auto& line : lines) EXPECT_EQ(split(line, '\t').size(), 16u) << line;
  EXPECT_EQ(split(lines[1], '\t')[0], "1");
  EXPECT_EQ(split(lines[2], '\t')[0], "2");
  EXPECT_EQ(split(lines[2], '\t')[15], "van der Waals*");

  auto empty = TextOutput::memory();
  write_region_tsv({}, kAtoms, *empty);
  empty->flush();
  EXPECT_EQ(empty->contents(), std::string(kRegionColumns) + "\n");
}

TEST(RegionTable, PrintedTableIsAlignedUnderItsTitle) {
  RegionTableTitle title;
  title.rdg_cube = "dimer_rdg.cube";
  title.rhosign_cube = "dimer_rhosign.cube";
  title.criteria.isovalue = 0.3;
  title.criteria.min_points = 8;
  title.points = {72, 60, 60};
  title.cell_volume = 0.003375;
  NciRegion vdw = hydrogen_bond();
  vdw.points = 9;
  vdw.kind = NciKind::van_der_waals;
  vdw.touches_box = true;
  vdw.nearest = {{4, 12.25}, {0, 13.5}};
  auto out = TextOutput::memory();
  print_region_table({hydrogen_bond(), vdw}, kAtoms, title, *out);
  out->flush();
  const auto lines = lines_of(out->contents());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0],
            "NCI regions of dimer_rdg.cube and dimer_rhosign.cube: RDG < 0.3, "
            "|rho*sign(lambda2)| <= 0.05, at least 8 points each");
  EXPECT_EQ(lines[1],
            "kind threshold 0.01 a.u.; grid 72 x 60 x 60 points, cell volume 3.37500E-03 bohr^3; "
            "* marks a region that touches the box");
  // Every column starts at the same place in every line: the words of a row, split at runs of
  // two blanks, start where the column names start.
  const std::string& names = lines[2];
  const std::size_t kind_column = names.size() - 4;
  EXPECT_EQ(names.substr(kind_column), "kind");
  EXPECT_EQ(lines[3].substr(kind_column), "attractive");
  EXPECT_EQ(lines[4].substr(kind_column), "van der Waals*");
  EXPECT_EQ(names.find("points") + 6, lines[3].find("412") + 3) << "numbers flush right";
  EXPECT_EQ(names.find("points") + 6, lines[4].find("9  ") + 1);
  EXPECT_EQ(names.find("atom1"), lines[3].find("H2")) << "atoms flush left";
  EXPECT_EQ(names.find("atom1"), lines[4].find("X5"));

  auto empty = TextOutput::memory();
  print_region_table({}, kAtoms, title, *empty);
  empty->flush();
  const auto empty_lines = lines_of(empty->contents());
  ASSERT_EQ(empty_lines.size(), 3u);
  EXPECT_EQ(split(empty_lines[2], ' ').front(), "region");
  EXPECT_EQ(empty_lines[2].substr(empty_lines[2].size() - 4), "kind");
}

}  // namespace
}  // namespace qv
