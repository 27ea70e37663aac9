// The quick look at a cube header: grid shape, and bad headers with their line.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "view/cube_glance.hpp"
#include "gridio/text_error.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

using testing::TempDir;
using testing::write_file;

const char* kCube =
    "title one\n"
    "title two\n"
    "    2   -5.000000   -5.000000   -5.000000\n"
    "    5    0.200000    0.000000    0.000000\n"
    "    6    0.000000    0.200000    0.000000\n"
    "    7    0.000000    0.000000    0.200000\n"
    "    8    8.000000    0.000000    0.000000    0.000000\n"
    "    1    1.000000    0.000000    1.430000    1.100000\n"
    "  5.00000E-01  2.50000E-01\n";

TEST(CubeGlance, ReadsTheGridShape) {
  TempDir dir;
  write_file("a.cube", kCube);
  const CubeGlance g = glance_at_cube("a.cube");
  EXPECT_EQ(g.atoms, 2);
  EXPECT_EQ(g.points, (std::array<long, 3>{5, 6, 7}));
  ASSERT_EQ(g.atom_list.size(), 2u);
  EXPECT_EQ(g.atom_list[0].atomic_number, 8);
  EXPECT_EQ(g.atom_list[1].atomic_number, 1);
  EXPECT_EQ(g.atom_list[1].y, 1.43);
  EXPECT_EQ(g.atom_list[1].z, 1.1);
}

TEST(CubeGlance, BadHeadersNameFileAndLine) {
  TempDir dir;
  struct Case {
    std::string text;
    long line;
  };
  const std::string c = kCube;
  auto replace_line = [&](int n, const std::string& with) {
    std::size_t at = 0;
    for (int k = 1; k < n; ++k) at = c.find('\n', at) + 1;
    return c.substr(0, at) + with + c.substr(c.find('\n', at));
  };
  const Case cases[] = {
      {replace_line(3, "    x   -5.0 -5.0 -5.0"), 3},
      {replace_line(3, "  2.5   -5.0 -5.0 -5.0"), 3},
      {replace_line(5, "    0    0.0 0.2 0.0"), 5},
      {replace_line(6, "    7    0.0 0.0"), 6},
      {replace_line(8, "    1    1.0 0.0 1.43"), 8},
      {c.substr(0, c.rfind("  5.0")), 9},  // no values
      {"title\n", 2},
  };
  for (const Case& k : cases) {
    write_file("b.cube", k.text);
    try {
      glance_at_cube("b.cube");
      ADD_FAILURE() << k.text;
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "b.cube");
      EXPECT_EQ(e.line(), k.line) << k.text;
    }
  }
  EXPECT_THROW(glance_at_cube("missing.cube"), TextError);
}

}  // namespace
}  // namespace qv
