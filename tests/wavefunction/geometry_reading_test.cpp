#include "wavefunction/geometry_reading.hpp"

#include <gtest/gtest.h>

#include "wavefunction/element_symbols.hpp"
#include "wavefunction/wavefunction_format.hpp"

namespace qv {
namespace {

std::vector<GeometryAtom> read(WavefunctionFormat format, const std::string& text) {
  auto in = LineReader::from_text(text, format == WavefunctionFormat::xyz ? "mol.xyz" : "mol.pdb");
  return format == WavefunctionFormat::xyz ? read_xyz(*in) : read_pdb(*in);
}

// A PDB atom record with the name in columns 13-16 and the element in columns 77-78.
std::string pdb_line(const char* record, const std::string& name, double x, double y, double z,
                     const std::string& element, char alternate = ' ') {
  char buf[100];
  std::snprintf(buf, sizeof buf, "%-6s%5d %-4s%c%3s %c%4d    %8.3f%8.3f%8.3f%6.2f%6.2f          %2s",
                record, 1, name.c_str(), alternate, "LIG", 'A', 1, x, y, z, 1.0, 0.0,
                element.c_str());
  return std::string(buf) + "\n";
}

TEST(GeometryReading, FormatComesFromTheNameEnding) {
  using F = WavefunctionFormat;
  EXPECT_EQ(wavefunction_format("a.xyz", ""), F::xyz);
  EXPECT_EQ(wavefunction_format("dir/A.XYZ", ""), F::xyz);
  EXPECT_EQ(wavefunction_format("pocket.Pdb", "<Title>\n"), F::pdb);
  EXPECT_EQ(wavefunction_format("water.wfn", ""), F::wfn);
  EXPECT_EQ(wavefunction_format("xyz", ""), F::wfn);
  EXPECT_EQ(wavefunction_format("a.xyz.wfn", ""), F::wfn);
  EXPECT_TRUE(is_geometry(F::pdb));
  EXPECT_FALSE(is_geometry(F::wfx));
}

TEST(GeometryReading, ElementSymbolsInAnyCase) {
  EXPECT_EQ(atomic_number_of("Cl"), 17);
  EXPECT_EQ(atomic_number_of("CL"), 17);
  EXPECT_EQ(atomic_number_of("cl"), 17);
  EXPECT_EQ(atomic_number_of("Og"), 118);
  EXPECT_EQ(atomic_number_of("Xx"), 0);
  EXPECT_EQ(atomic_number_of(""), 0);
  EXPECT_EQ(element_symbol(54), "Xe");
}

TEST(GeometryReading, XyzPositionsBecomeBohr) {
  const auto atoms = read(WavefunctionFormat::xyz,
                          "3\ncomment with words 1 2 3\n"
                          "O 0.0 0.0 0.529177210903\n"
                          "h\t1.0 -2.5e0 +3\n"
                          "CL 0 0 0 extra columns are allowed\n\n  \n");
  ASSERT_EQ(atoms.size(), 3u);
  EXPECT_EQ(atoms[0].atomic_number, 8);
  EXPECT_DOUBLE_EQ(atoms[0].z, 1.0);
  EXPECT_EQ(atoms[1].atomic_number, 1);
  EXPECT_DOUBLE_EQ(atoms[1].x, 1.0 / kBohrInAngstrom);
  EXPECT_DOUBLE_EQ(atoms[1].y, -2.5 / kBohrInAngstrom);
  EXPECT_DOUBLE_EQ(atoms[1].z, 3.0 / kBohrInAngstrom);
  EXPECT_EQ(atoms[2].atomic_number, 17);
}

TEST(GeometryReading, PdbElementFromItsColumnsOrFromTheAtomName) {
  const std::string text = "HEADER    TEST\n" + pdb_line("ATOM", " CA ", 1.0, 2.0, 3.0, "C") +
                           pdb_line("ATOM", " CA ", 1.0, 2.0, 3.0, "CA") +  // calcium by its column
                           pdb_line("HETATM", "CL1 ", 0.0, 0.0, 0.0, "") +  // two letters in 13-14
                           pdb_line("ATOM", " N  ", 0.0, 0.0, 0.0, "") +    // one letter in 14
                           pdb_line("ATOM", "1HG2", 0.0, 0.0, 0.0, "") +    // digit in 13
                           pdb_line("ATOM", " OG ", 0.0, 0.0, 0.0, "", 'B') +  // second location
                           "TER\n" + pdb_line("ATOM", " SG ", 0.0, 0.0, 0.0, "S", 'A') +
                           "ENDMDL\n" + pdb_line("ATOM", " O  ", 0.0, 0.0, 0.0, "O");
  const auto atoms = read(WavefunctionFormat::pdb, text);
  std::vector<int> z;
  for (const auto& a : atoms) z.push_back(a.atomic_number);
  EXPECT_EQ(z, (std::vector<int>{6, 20, 17, 7, 1, 16}));
  EXPECT_DOUBLE_EQ(atoms[0].y, 2.0 / kBohrInAngstrom);
}

TEST(GeometryReading, UnusableFilesAreRefusedWithTheirLine) {
  struct Case {
    WavefunctionFormat format;
    std::string text;
    long line;
    std::string words;
  };
  const auto X = WavefunctionFormat::xyz, P = WavefunctionFormat::pdb;
  for (const Case& c : {
           Case{X, "", 1, "empty"},
           Case{X, "two\nc\nH 0 0 0\n", 1, "number of atoms"},
           Case{X, "2 atoms\nc\nH 0 0 0\nH 0 0 1\n", 1, "number of atoms"},
           Case{X, "0\nc\n", 1, "no atoms"},
           Case{X, "1\n", 2, "comment line"},
           Case{X, "3\nc\nH 0 0 0\nH 0 0 1\n", 5, "after 2 atom lines; line 1 gives 3"},
           Case{X, "1\nc\nH 0 0 0\nH 0 0 1\n", 4, "more atom lines than the 1"},
           Case{X, "2\nc\nH 0 0 0\n\nH 0 0 1\n", 4, "blank"},
           Case{X, "1\nc\nH 0 0\n", 3, "needs an element symbol"},
           Case{X, "1\nc\nH 0 zero 0\n", 3, "\"zero\" is not a coordinate"},
           Case{X, "1\nc\nH 0 nan 0\n", 3, "\"nan\" is not a coordinate"},
           Case{X, "1\nc\nH 0 1e999 0\n", 3, "not a coordinate"},
           Case{X, "1\nc\nH 0 -2e5 0\n", 3, "coordinate -2e5 is beyond 100000 angstrom"},
           Case{X, "1\nc\nQq 0 0 0\n", 3, "\"Qq\" is not an element symbol"},
           Case{X, "2\nc\nH 0 0 0\nAu 0 0 0\n", 4, "element Au (atomic number 79) has no free-atom density"},
           Case{X, "1\nc\nCs 0 0 0\n", 3, "the data cover H to Xe"},
           Case{P, "HEADER\nEND\n", 0, "no ATOM or HETATM records"},
           Case{P, "ATOM      1  CA  GLY A   1       1.000   2.000\n", 1, "ends before its z coordinate"},
           Case{P, pdb_line("ATOM", " C  ", 1, 2, 3, "C") + pdb_line("ATOM", " HG ", 1, 2, 3, "HG"), 2, "element Hg"},
           Case{P, pdb_line("ATOM", "    ", 1, 2, 3, ""), 1, "no element in columns 77-78"},
           Case{P, pdb_line("ATOM", " C  ", 1, 2, 3, "C").replace(30, 8, "   1.x00"), 1, "\"1.x00\" is not a coordinate (columns 31-38"},
       }) {
    SCOPED_TRACE(c.text);
    try {
      read(c.format, c.text);
      ADD_FAILURE() << "accepted";
    } catch (const GeometryError& e) {
      EXPECT_EQ(e.line(), c.line);
      EXPECT_EQ(e.file(), c.format == X ? "mol.xyz" : "mol.pdb");
      EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace qv
