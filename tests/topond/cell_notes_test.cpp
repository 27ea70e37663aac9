// What a CRYSTAL output says of its cell before the lattice vectors: centring code,
// transformation matrix, atom translations; and the conventional vectors made from them.
#include <gtest/gtest.h>

#include <string>

#include "gridio/text_error.hpp"
#include "topond/cell_notes.hpp"

namespace qv {
namespace {

TEST(TransformationMatrix, NineNumbersOfAnInvertibleMatrixOrNothing) {
  struct Case {
    const char* line;
    bool ok;
  };
  const Case cases[] = {
      {" -1.0000  1.0000  1.0000  1.0000 -1.0000  1.0000  1.0000  1.0000 -1.0000", true},
      {"  0.0000  1.0000  1.0000  1.0000  0.0000  1.0000  1.0000  1.0000  0.0000", true},
      {"  1.0000  1.0000  0.0000 -1.0000  1.0000  0.0000  0.0000  0.0000  1.0000\r", true},
      {"1 0 0 0 1 0 0 0 1", true},
      {"  1.0000  1.0000  0.0000 -1.0000  1.0000  0.0000  0.0000  0.0000", false},  // eight
      {"  1.0000  0.0000  0.0000  0.0000  1.0000  0.0000  0.0000  0.0000  1.0000  1.0", false},
      {"  1.0000  0.0000  0.0000  0.0000  1.0000  0.0000  0.0000  0.0000  1.0000 x", false},
      {"  1.0000  0.0000  0.0000  0.0000  ******  0.0000  0.0000  0.0000  1.0000", false},
      // singular: two equal rows
      {"  1.0000  1.0000  0.0000  1.0000  1.0000  0.0000  0.0000  0.0000  1.0000", false},
      {"", false},
      {" DIRECT LATTICE VECTORS CARTESIAN COMPONENTS (ANGSTROM)", false},
  };
  for (const Case& c : cases) {
    Matrix3 m{};
    EXPECT_EQ(parse_transformation_matrix(c.line, m), c.ok) << c.line;
  }
  Matrix3 m{};
  ASSERT_TRUE(parse_transformation_matrix(cases[0].line, m));
  EXPECT_EQ(m[0], (std::array<double, 3>{-1, 1, 1}));
  EXPECT_EQ(m[2], (std::array<double, 3>{1, 1, -1}));
}

// Rows give conventional vectors in primitive ones; CRYSTAL's matrices for F, I and C cells
// with its own primitive vectors give back the conventional axes.
TEST(TransformationMatrix, ConventionalVectorsOfCentredCells) {
  struct Case {
    const char* name;
    Matrix3 rows;
    Matrix3 primitive;
    Matrix3 conventional;
  };
  const double a = 4.21, b = 5.0, c = 6.0;
  const Case cases[] = {
      {"F", {{{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}}},
       {{{0, a / 2, a / 2}, {a / 2, 0, a / 2}, {a / 2, a / 2, 0}}},
       {{{a, 0, 0}, {0, a, 0}, {0, 0, a}}}},
      {"I", {{{0, 1, 1}, {1, 0, 1}, {1, 1, 0}}},
       {{{-a / 2, a / 2, c / 2}, {a / 2, -a / 2, c / 2}, {a / 2, a / 2, -c / 2}}},
       {{{a, 0, 0}, {0, a, 0}, {0, 0, c}}}},
      {"C", {{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}},
       {{{a / 2, -b / 2, 0}, {a / 2, b / 2, 0}, {0, 0, c}}},
       {{{a, 0, 0}, {0, b, 0}, {0, 0, c}}}},
  };
  for (const Case& k : cases) {
    const Matrix3 got = conventional_vectors(k.rows, k.primitive);
    for (std::size_t i = 0; i < 3; ++i)
      for (std::size_t j = 0; j < 3; ++j)
        EXPECT_NEAR(got[i][j], k.conventional[i][j], 1e-12) << k.name << " " << i << " " << j;
  }
}

CellNotes notes_of(const std::string& text) {
  auto in = LineReader::from_text(text, "crystal.out");
  CellNotes notes;
  std::string_view line;
  while (in->next(line)) notes.note(line, *in);
  return notes;
}

TEST(CellNotes, CentringCodeMatrixAndShift) {
  struct Case {
    const char* name;
    std::string text;
    std::int32_t code;
    long code_line;
    long matrix_line;
    bool usable;
    bool centred;
  };
  const std::string f_matrix =
      " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n"
      " -1.0000  1.0000  1.0000  1.0000 -1.0000  1.0000  1.0000  1.0000 -1.0000\n";
  const Case cases[] = {
      {"nothing", " CRYSTAL\n\n", 1, 0, 0, false, false},
      {"primitive", "\n PRIMITIVE CELL - CENTRING CODE 1/0 VOLUME=    16.304071\n", 1, 2, 0,
       false, false},
      {"supercell", " PRIMITIVE CELL - CENTRING CODE 1/1 VOLUME=    45.368656\n", 1, 1, 0, false,
       false},
      {"face centred", " PRIMITIVE CELL - CENTRING CODE 5/0 VOLUME=\n\n" + f_matrix, 5, 1, 4,
       true, true},
      {"unreadable code", " PRIMITIVE CELL - CENTRING CODE */0 VOLUME=\n", 0, 1, 0, false, true},
      {"matrix cut short", " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n 1.0 0.0\n",
       1, 0, 2, false, false},
      {"matrix at the end", " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n", 1, 0, 1,
       false, false},
      {"later matrix decides",
       " TRANSFORMATION MATRIX PRIMITIVE-CRYSTALLOGRAPHIC CELL\n bad\n" + f_matrix, 1, 0, 4,
       true, false},
  };
  for (const Case& c : cases) {
    const CellNotes n = notes_of(c.text);
    EXPECT_EQ(n.centring_code, c.code) << c.name;
    EXPECT_EQ(n.code_line, c.code_line) << c.name;
    EXPECT_EQ(n.matrix_line, c.matrix_line) << c.name;
    EXPECT_EQ(n.matrix_usable, c.usable) << c.name;
    EXPECT_EQ(n.centred(), c.centred) << c.name;
  }
}

TEST(CellNotes, TranslationsOfAllAtomsAddUp) {
  const CellNotes n = notes_of(
      " ATOMS TRANSLATED BY (FRACTIONAL)      0.12500      0.12500      0.12500\n"
      " ATOMS TRANSLATED BY (ANGSTROM)         0.44582      0.44582      0.44582\n"
      " ATOMS TRANSLATED BY (ANGSTROM)        -0.04582      0.00000      1.00000\n");
  EXPECT_NEAR(n.atom_shift[0], 0.4, 1e-12);
  EXPECT_NEAR(n.atom_shift[1], 0.44582, 1e-12);
  EXPECT_NEAR(n.atom_shift[2], 1.44582, 1e-12);

  try {
    notes_of("\n ATOMS TRANSLATED BY (ANGSTROM)         0.44582      0.44582\n");
    ADD_FAILURE() << "a translation of two numbers was taken";
  } catch (const TextError& e) {
    EXPECT_EQ(e.file(), "crystal.out");
    EXPECT_EQ(e.line(), 2);
  }
}

}  // namespace
}  // namespace qv
