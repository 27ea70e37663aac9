// The .wfn reader: layout, line wrapping, sorting by type, the wide count fields, the varied
// trailers of real files, the contents it refuses and the files that are not .wfn files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "wavefunction/wfn_reader.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::TestAtom;
using testing::TestPrimitive;

struct ReadRun {
  std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
  RunOutput out{*screen};
  WfnRecord rec;
  int stop_status = -1;  // -1: no stop

  explicit ReadRun(const std::string& text) {
    out.set_log(TextOutput::memory("log"));
    auto in = LineReader::from_text(text, "mol.wfn");
    try {
      rec = read_wfn(*in, out);
    } catch (const ProgramStop& s) {
      stop_status = s.status;
    }
    out.flush();
  }
  std::string log() { return out.log().contents(); }
};

TEST(ReadWfn, FortyFivePrimitivesWrapOverLines) {
  std::vector<TestPrimitive> prims;
  for (int k = 0; k < 45; ++k) prims.push_back({k % 2, 1 + k % 4, 0.1 * (k + 1), {0.01 * k, -0.5}});
  const std::string text = testing::wfn_text({{0, 0, 0, 8}, {0, 0, 1.8, 1}}, prims, {2.0, 1.0});
  ReadRun r(text);
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.rec.primitive_count, 45);
  EXPECT_EQ(r.rec.orbital_count, 2);
  EXPECT_EQ(r.rec.primitives_up_to_type[0], 12);  // types 1 at file positions 1, 5, ..., 45
  EXPECT_EQ(r.rec.primitives_up_to_type[3], 45);
  // Sorted order: all type-1 primitives first, in file order.
  EXPECT_DOUBLE_EQ(r.rec.exponents[0], 0.1);
  EXPECT_DOUBLE_EQ(r.rec.exponents[1], 0.5);
  EXPECT_DOUBLE_EQ(r.rec.exponents[11], 4.5);
  EXPECT_EQ(r.rec.primitive_centre[11], 0);  // primitive 45 (k = 44) sits on centre 1
  EXPECT_DOUBLE_EQ(r.rec.coefficient(11, 0), 0.44);
  EXPECT_DOUBLE_EQ(r.rec.coefficient(11, 1), -0.5);
  EXPECT_DOUBLE_EQ(r.rec.exponents[12], 0.2);  // first type 2
  EXPECT_DOUBLE_EQ(r.rec.minus_two_exponents[12], -0.4);
  EXPECT_DOUBLE_EQ(r.rec.inverse_minus_two_exponents[12], -2.5);
  EXPECT_EQ(r.rec.occupations, (std::vector<double>{2.0, 1.0}));
}

TEST(ReadWfn, TypesOutOfOrderSortStably) {
  const std::vector<TestPrimitive> prims{
      {0, 2, 1.0, {1}}, {0, 1, 2.0, {2}}, {0, 1, 3.0, {3}}, {0, 3, 4.0, {4}}};
  ReadRun r(testing::wfn_text({{0, 0, 0, 1}}, prims, {1.0}, false));
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.rec.type, (std::vector<std::int32_t>{1, 1, 2, 3}));
  EXPECT_EQ(r.rec.exponents, (std::vector<double>{2.0, 3.0, 1.0, 4.0}));
  EXPECT_EQ(r.rec.coefficients, (std::vector<double>{2, 3, 1, 4}));
  EXPECT_EQ(r.rec.primitives_up_to_type[0], 2);
  EXPECT_EQ(r.rec.primitives_up_to_type[1], 3);
  for (int t = 3; t <= 20; ++t) EXPECT_EQ(r.rec.primitives_up_to_type[t - 1], 4);
}

TEST(ReadWfn, AtomsOutOfOrderGoToTheirOwnNumbers) {
  const std::vector<TestPrimitive> prims{{0, 1, 1.0, {1}}, {1, 1, 1.0, {1}}};
  ReadRun r(testing::wfn_text({{1.5, 2.5, 3.5, 8}, {-1, -2, -3, 1}}, prims, {1.0}, true, {2, 1}));
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.rec.centre_x, (std::vector<double>{-1, 1.5}));
  EXPECT_EQ(r.rec.centre_z, (std::vector<double>{-3, 3.5}));
  EXPECT_EQ(r.rec.nuclear_charges, (std::vector<double>{1, 8}));
  EXPECT_EQ(r.rec.centre_labels[0], "  X    1");  // labels stay in line order
}

std::string small_file(const std::string& count_line, const std::string& exponent_line,
                       const std::string& trailer) {
  return " title\n" + count_line +
         "  H    1    (CENTRE  1)   0.00000000  0.00000000  0.00000000  CHARGE =  1.0\n"
         "CENTRE ASSIGNMENTS    1  1\n"
         "TYPE ASSIGNMENTS      1  2\n" +
         exponent_line +
         "MO    1     MO 0.0        OCC NO =    2.0000000  ORB. ENERGY =  -10.187479\n"
         "  0.50000000D+00 -0.25000000E+00\n"
         "END DATA" + trailer;
}
const std::string kCounts = "GAUSSIAN              1 MOL ORBITALS      2 PRIMITIVES        1 NUCLEI\n";

TEST(ReadWfn, ExponentLettersTrailersAndLineEnds) {
  struct Case {
    std::string exponents, trailer;
  };
  for (const Case& c : {
           Case{"EXPONENTS  0.1500000D+01 0.2500000D-01\n",
                "\n TOTAL ENERGY =     -149.664140769678 THE VIRIAL(-V/T)=   1.99977770\n"},
           Case{"EXPONENTS  1.5000000E+00 2.5000000E-02\n",
                "\n THE  CI ENERGY =     -7.711893773310 THE VIRIAL(-V/T)=   1.98438554"},
           Case{"EXPONENTS  1.5000000e+00 2.5000000d-02\n",
                "\nALDET    ENERGY =     -107.0575700853   VIRIAL(-V/T)  =   2.00116785\n"},
           Case{"EXPONENTS  0.1500000+001 0.2500000-001\n", "\n"},
           Case{"EXPONENTS  0.1500000D+01 0.2500000D-01\n", "\r\n THE  HF ENERGY = text here\r\n\n$MOSPIN\n"},
           Case{"EXPONENTS  0.1500000D+01 0.2500000D-01\n", ""},  // ends with no line end
       }) {
    SCOPED_TRACE(c.exponents + c.trailer);
    ReadRun r(small_file(kCounts, c.exponents, c.trailer));
    ASSERT_EQ(r.stop_status, -1);
    EXPECT_EQ(r.rec.exponents, (std::vector<double>{1.5, 0.025}));
    EXPECT_EQ(r.rec.coefficients, (std::vector<double>{0.5, -0.25}));
    EXPECT_EQ(r.rec.occupations, (std::vector<double>{2.0}));
    EXPECT_EQ(r.rec.orbital_energies, (std::vector<double>{-10.187479}));
  }
}

TEST(ReadWfn, CountsReadFromTheirWideFields) {
  std::vector<TestPrimitive> prims;
  for (int k = 0; k < 1234; ++k) prims.push_back({0, 1, 1.0 + k, {0.001}});
  const std::string text = testing::wfn_text({{0, 0, 0, 1}}, prims, {2.0});
  ASSERT_NE(text.find("   1234 PRIMITIVES"), std::string::npos);
  ReadRun r(text);
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.rec.primitive_count, 1234);
  EXPECT_DOUBLE_EQ(r.rec.exponents[1233], 1234.0);
}

TEST(ReadWfn, RefusesWhatCannotBeEvaluated) {
  struct Case {
    std::string from, to, message;
  };
  const std::string good = small_file(kCounts, "EXPONENTS  0.1500000D+01 0.2500000D-01\n", "\n");
  for (const Case& c : {
           Case{"TYPE ASSIGNMENTS      1  2", "TYPE ASSIGNMENTS      1 57",
                "mol.wfn line 5: primitive 2 has type 57; only types 1 to 56 (s, p, d, f, g and "
                "h functions) are supported, program stop"},
           Case{"TYPE ASSIGNMENTS      1  2", "TYPE ASSIGNMENTS      0  2",
                "mol.wfn line 5: primitive 1 has type 0; only types 1 to 56"},
           // Lines that do not fit the layout.
           Case{"TYPE ASSIGNMENTS      1  2", "TYPE  ASSIGNMENTS     1  2",
                "mol.wfn line 5: expected type assignments (I3 fields), a line starting with "
                "\"TYPE ASSIGNMENTS\"; this is not the .wfn layout, program stop"},
           Case{"CENTRE ASSIGNMENTS", "CENTER ASSIGNMENTS", "mol.wfn line 4: expected centre"},
           Case{"EXPONENTS ", "EXPONENT  ", "mol.wfn line 6: expected exponents"},
           Case{"(CENTRE  1)", " CENTRE  1 ", "mol.wfn line 3: expected an atom line"},
           Case{"CHARGE =  1.0", "Q      =  1.0", "mol.wfn line 3: expected an atom line"},
           Case{"OCC NO", "OCC.NO", "mol.wfn line 7: expected an orbital header line, holding"},
           Case{"MO    1     MO 0.0", "      1     MO 0.0", "mol.wfn line 7: expected an orbital"},
           Case{"END DATA", "END", "mol.wfn line 9: expected the line after the last orbital"},
           Case{"MOL ORBITALS", "MOLECULAR ORBITALS",
                "mol.wfn line 2: not the .wfn line of orbital, primitive and centre counts"},
           Case{"CENTRE ASSIGNMENTS    1  1", "CENTRE ASSIGNMENTS    1  2",
                "mol.wfn line 4: primitive 2 has centre number 2, outside 1 to 1, program stop"},
           Case{"(CENTRE  1)", "(CENTRE  3)",
                "mol.wfn line 3: centre number 3 is outside 1 to 1, program stop"},
           Case{"0.2500000D-01", "0.0000000D+00",
                "mol.wfn line 6: primitive 2 has exponent 0; exponents must be greater than zero"},
           Case{"0.2500000D-01", "-.2500000D-01", "primitive 2 has exponent -0.025;"},
           Case{"      1 MOL", "     -1 MOL", "negative count"},
       }) {
    SCOPED_TRACE(c.to);
    std::string text = good;
    text.replace(text.find(c.from), c.from.size(), c.to);
    ReadRun r(text);
    EXPECT_EQ(r.stop_status, 1);
    EXPECT_NE(r.log().find(c.message), std::string::npos) << r.log();
    EXPECT_EQ(r.log()[0], ' ');
  }
  // The same centre number twice leaves another centre without a position.
  const std::string two = testing::wfn_text({{0, 0, 0, 1}, {0, 0, 1, 1}},
                                            {{0, 1, 1.0, {1}}, {1, 1, 1.0, {1}}}, {1.0}, true, {1, 1});
  ReadRun r(two);
  EXPECT_EQ(r.stop_status, 1);
  EXPECT_NE(r.log().find("line 4: centre number 1 is given twice"), std::string::npos) << r.log();
}

TEST(ReadWfn, MalformedFieldsAndShortFilesAreTextErrors) {
  const std::string good = small_file(kCounts, "EXPONENTS  0.1500000D+01 0.2500000D-01\n", "\n");
  struct Case {
    std::string from, to;
    long line;
  };
  for (const Case& c : {Case{"0.2500000D-01", "0.25000x0D-01", 6},
                        Case{"TYPE ASSIGNMENTS      1  2", "TYPE ASSIGNMENTS      1 2a", 5},
                        Case{"      2 PRIMITIVES", "      x PRIMITIVES", 2},
                        Case{"END DATA\n", "", 8}}) {
    std::string text = good;
    text.replace(text.find(c.from), c.from.size(), c.to);
    if (c.to.empty()) text.erase(text.find("  0.50000000D+00"));  // cut inside the coefficients
    SCOPED_TRACE(text);
    try {
      ReadRun r(text);
      ADD_FAILURE() << "no error";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "mol.wfn");
      EXPECT_EQ(e.line(), c.line);
    }
  }
}

TEST(ReadWfn, MissingFileIsReportedInTheRunLog) {
  std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
  RunOutput out(*screen);
  out.set_log(TextOutput::memory("log"));
  EXPECT_THROW(read_wfn_file("no_such_dir/missing.wfn", out), ProgramStop);
  out.flush();
  EXPECT_EQ(out.log().contents(),
            " no_such_dir/missing.wfn" + std::string(10, ' ') +
                " file cannot be opened, program stop\n");  // the name at its 33 columns
}

// Real files written by several programs, when the shared samples are at hand.
TEST(ReadWfn, ReadsTheSampleFiles) {
  const std::filesystem::path dir = std::filesystem::path(QV_SAMPLES) / "wfn";
  if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no sample folder";
  struct Sample {
    const char* name;
    int orbital_count, primitive_count, centre_count;
  };
  for (const Sample& s : {Sample{"BE.wfn", 29, 270, 18}, Sample{"PhenolDimer.wfn", 50, 440, 26},
                          Sample{"benzene.wfn", 21, 192, 12}, Sample{"ethene.wfn", 8, 78, 6},
                          Sample{"cah110_hf_sto3g_g09.wfn", 246, 369, 111},
                          Sample{"h2_ccpvqz.wfn", 70, 74, 2}, Sample{"h2o_dimer_pbe_sto3g.wfn", 10, 42, 6},
                          Sample{"h2o_sto3g.wfn", 5, 21, 3}, Sample{"he_s_orbital.wfn", 1, 4, 1},
                          Sample{"he_spdf_orbital.wfn", 1, 20, 1}, Sample{"lif_fci.wfn", 18, 44, 2},
                          Sample{"lih_cation_cisd.wfn", 22, 26, 2}, Sample{"o2_uhf.wfn", 16, 72, 2},
                          Sample{"water--water_1.wfn", 5, 39, 3}, Sample{"water--water_2.wfn", 5, 39, 3},
                          Sample{"he_spdfgh_orbital.wfn", 1, 56, 1}, Sample{"he_spdfgh_virtual.wfn", 56, 56, 1},
                          Sample{"ThioformicAcid.wfn", 16, 531, 5}, Sample{"Pt_NH3_2Cl2.wfn", 26, 147, 11},
                          Sample{"c2h4_rcct_cfour.wfn", 116, 206, 6}, Sample{"lih_cation_rohf.wfn", 2, 26, 2}}) {
    SCOPED_TRACE(s.name);
    std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
    RunOutput out(*screen);
    out.set_log(TextOutput::memory("log"));
    const WfnRecord rec = read_wfn_file((dir / s.name).string(), out);
    EXPECT_EQ(rec.orbital_count, s.orbital_count);
    EXPECT_EQ(rec.primitive_count, s.primitive_count);
    EXPECT_EQ(rec.centre_count, s.centre_count);
    EXPECT_EQ(rec.primitives_up_to_type[kMaxPrimitiveType - 1], s.primitive_count);
    out.flush();
    EXPECT_EQ(out.log().contents(), "");
  }
}

// Files that are not a .wfn, or hold one inside other text.
TEST(ReadWfn, OtherFilesAreRefusedOrTheirWfnPartRead) {
  const std::filesystem::path samples(QV_SAMPLES);
  if (!std::filesystem::exists(samples / "wfn")) GTEST_SKIP() << "no sample folder";
  struct Case {
    std::filesystem::path file;
    std::string log;  // expected in the run log
    int primitive_count;     // -1: refused
  };
  for (const Case& c : {
           Case{samples / "wfn" / "water_gamess-us.wfn",
                "water_gamess-us.wfn: a GAMESS output; its .wfn part from line 256 is read", 53},
           Case{samples / "wfx" / "maprotiline.wfx",
                "maprotiline.wfx line 2: not the .wfn line of orbital, primitive and centre "
                "counts (\"MOL ORBITALS\", \"PRIMITIVES\", \"NUCLEI\"): this is not a .wfn file, "
                "program stop",
                -1},
           Case{samples / "cube" / "grid20.cube", "grid20.cube line 2: not the .wfn line", -1},
       }) {
    SCOPED_TRACE(c.file.string());
    if (!std::filesystem::exists(c.file)) continue;
    auto screen = TextOutput::memory("screen");
    RunOutput out(*screen);
    out.set_log(TextOutput::memory("log"));
    int nprims = -1;
    try {
      nprims = read_wfn_file(c.file.string(), out).primitive_count;
    } catch (const ProgramStop& stop) {
      EXPECT_EQ(stop.status, 1);
    }
    out.flush();
    EXPECT_EQ(nprims, c.primitive_count);
    EXPECT_NE(out.log().contents().find(c.log), std::string::npos) << out.log().contents();
  }
  // A counts line further down, without GAMESS's marker: refused, saying where.
  std::string text = " a log of some program\n some more lines\n";
  text += small_file(kCounts, "EXPONENTS  0.1500000D+01 0.2500000D-01\n", "\n");
  ReadRun r(text);
  EXPECT_EQ(r.stop_status, 1);
  EXPECT_NE(r.log().find("mol.wfn line 2: not the .wfn line of orbital, primitive and centre "
                         "counts; a .wfn part seems to start at line 3: cut the file there"),
            std::string::npos)
      << r.log();
}

}  // namespace
}  // namespace qv
