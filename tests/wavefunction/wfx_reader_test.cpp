// The .wfx reader: the same record as the .wfn reader for the same wavefunction, the layouts of
// real writers (comments, banners, blanks, sections in any order, unknown sections), the core
// density section, the refusals, and the choice of reader by name and content.
#include <gtest/gtest.h>

#include <cmath>

#include "gridio/stop.hpp"
#include "wavefunction/wfn_reader.hpp"
#include "wavefunction/wavefunction_format.hpp"
#include "wavefunction/wfx_reader.hpp"
#include "wfn_test_support.hpp"

namespace qv {
namespace {

using testing::TestAtom;
using testing::TestPrimitive;

struct Read {
  std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
  RunOutput out{*screen};
  WfnRecord rec;
  int stop_status = -1;  // -1: no stop

  Read(const std::string& text, bool wfx, const std::string& name = "mol.wfx") {
    out.set_log(TextOutput::memory("log"));
    auto in = LineReader::from_text(text, name);
    try {
      rec = wfx ? read_wfx(*in, out) : read_wfn(*in, out);
    } catch (const ProgramStop& s) {
      stop_status = s.status;
    }
    out.flush();
  }
  std::string log() { return out.log().contents(); }
};

// Water-like: s, p, d, f, g and h primitives on three centres, in a mixed type order; the
// numbers have at most 7 significant digits, so both layouts hold them exactly.
const std::vector<TestAtom> kAtoms{{0, 0, 0.25, 8}, {1.5, 0.5, -0.75, 1}, {-1.5, 0.5, -0.75, 1}};
std::vector<TestPrimitive> mixed_primitives() {
  std::vector<TestPrimitive> prims;
  const int types[] = {1, 23, 2, 36, 5, 56, 11, 21, 35, 20, 3, 40, 1};
  int k = 0;
  for (int t : types) {
    prims.push_back({k % 3, t, 0.25 * (1 + k % 5), {0.125 * (k - 6), 0.5 - 0.0625 * k}});
    ++k;
  }
  return prims;
}
const std::vector<double> kOccupations{2.0, 0.75};

void expect_same_record(const WfnRecord& a, const WfnRecord& b) {
  EXPECT_EQ(a.orbital_count, b.orbital_count);
  EXPECT_EQ(a.primitive_count, b.primitive_count);
  EXPECT_EQ(a.centre_count, b.centre_count);
  EXPECT_EQ(a.centre_x, b.centre_x);
  EXPECT_EQ(a.centre_y, b.centre_y);
  EXPECT_EQ(a.centre_z, b.centre_z);
  EXPECT_EQ(a.nuclear_charges, b.nuclear_charges);
  EXPECT_EQ(a.primitive_centre, b.primitive_centre);
  EXPECT_EQ(a.type, b.type);
  EXPECT_EQ(a.exponents, b.exponents);
  EXPECT_EQ(a.minus_two_exponents, b.minus_two_exponents);
  EXPECT_EQ(a.primitives_up_to_type, b.primitives_up_to_type);
  EXPECT_EQ(a.occupations, b.occupations);
  EXPECT_EQ(a.coefficients, b.coefficients);
}

TEST(ReadWfx, GivesTheRecordOfTheSameWfn) {
  const auto prims = mixed_primitives();
  Read wfn(testing::wfn_text(kAtoms, prims, kOccupations), false, "mol.wfn");
  Read wfx(testing::wfx_text(kAtoms, prims, kOccupations), true);
  ASSERT_EQ(wfn.stop_status, -1) << wfn.log();
  ASSERT_EQ(wfx.stop_status, -1) << wfx.log();
  expect_same_record(wfn.rec, wfx.rec);
  EXPECT_EQ(wfx.rec.orbital_energies, (std::vector<double>{-1.0, -1.0}));
  EXPECT_EQ(wfx.rec.centre_labels[1], "X2      ");
  EXPECT_EQ(wfx.rec.edf_count(), 0);
  EXPECT_EQ(wfx.log(), "");
}

// Replaces the first `from` in `text`.
std::string edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ReadWfx, ReadsTheLayoutsOfRealWriters) {
  const auto prims = mixed_primitives();
  const std::string base = testing::wfx_text(kAtoms, prims, kOccupations);
  const Read reference(base, true);
  ASSERT_EQ(reference.stop_status, -1);
  struct Case {
    const char* what;
    std::string text;
  };
  std::string one_per_line = base;  // ORCA: one coefficient per line, blanks after the tags
  for (std::size_t at = 0; (at = one_per_line.find("e", at)) != std::string::npos; ++at)
    if (one_per_line.compare(at + 1, 1, "+") == 0 || one_per_line.compare(at + 1, 1, "-") == 0)
      one_per_line.insert(at + 4, "\n"), at += 4;
  for (std::size_t at = 0; (at = one_per_line.find(">\n", at)) != std::string::npos; at += 3)
    one_per_line.replace(at, 2, "> \n\n");
  // The counts after the lists they count, and the orbitals before the occupations.
  const std::size_t counts = base.find("<Number of Primitives>");
  const std::size_t counts_end = base.find("<Primitive Centers>");
  std::string reordered = base;
  const std::string count_section = base.substr(counts, counts_end - counts);
  reordered.erase(counts, count_section.size());
  reordered += count_section;
  for (const Case& c : {
           Case{"comment lines anywhere",
                "# written by a test\n" + edited(edited(base, "<Primitive Types>\n", "<Primitive Types>\n# a comment\n"),
                                                 "<MO Number>", "  # another\n<MO Number>")},
           Case{"ORCA's banner and warning before the title",
                "   ####\n   #  WFX format file produced by ORCA  #\n   ####\n\n\n"
                "Warning: this subroutine still in the testing stage. \n" + base},
           Case{"blanks after tags, blank lines, one value per line", one_per_line},
           Case{"Gaussian's closing tag with other blanks",
                edited(base, "</Energy = T + Vne + Vee + Vnn>", "</Energy  = T + Vne + Vee + Vnn>")},
           Case{"sections in another order", reordered},
           Case{"unknown sections with sub-tags",
                edited(base, "<Title>", "<Nuclear Cartesian Energy Gradients>\nO1 1.0 2.0 3.0\n"
                                        "<Sub>\n x\n</Sub>\n</Nuclear Cartesian Energy Gradients>\n<Title>")},
           Case{"tags indented, numbers with D and three-digit exponents",
                edited(edited(base, "<Nuclear Charges>", "  <Nuclear Charges>  "), "  8.000000000000e+00",
                       "0.800000000000D+001")},
       }) {
    SCOPED_TRACE(c.what);
    Read r(c.text, true);
    ASSERT_EQ(r.stop_status, -1) << r.log();
    expect_same_record(reference.rec, r.rec);
  }
}

TEST(ReadWfx, RefusesWhatItCannotUse) {
  const auto prims = mixed_primitives();
  const std::string base =
      testing::wfx_text(kAtoms, prims, kOccupations, {{0, 1, 50.0, 3.5}, {0, 1, 5.0, -0.5}});
  struct Case {
    std::string from, to, message;
  };
  for (const Case& c : {
           // Tags
           Case{"</Primitive Types>\n", "", "mol.wfx line 47, <Primitive Types>: the tag is not closed: <Primitive Exponents> comes before </Primitive Types>, program stop"},
           Case{"</Virial Ratio (-V/T)>\n", "", "mol.wfx line 100, <Virial Ratio (-V/T)>: the tag is not closed: the file ends before </Virial Ratio (-V/T)>"},
           Case{"<Nuclear Charge", "<Nuclear Charge>\n</Nuclear Charge>\n<Other", "mol.wfx line 29, <Others>: the tag is not closed: the file ends before </Others>"},
           Case{"</Molecular Orbital Primitive Coefficients>", "</Molecular Orbital Coefficients>", "mol.wfx line 96, <Molecular Orbital Primitive Coefficients>: </Molecular Orbital Coefficients> without its opening tag"},
           Case{"</Keywords>\n", "</Keywords>\n</Net Charge>\n", "mol.wfx line 7, <Net Charge>: a closing tag without its opening tag"},
           Case{"</Title>\n", "</Title>\nstray text\n", "mol.wfx line 4: \"stray text\" stands outside every section"},
           Case{"<Title>", "stray text\n<Title>", ""},  // a preamble: accepted
           Case{"<Net Charge>", "<Nuclear Charges>\n 1 2 3\n</Nuclear Charges>\n<Net Charge>",
                "mol.wfx line 30, <Nuclear Charges>: the section is given twice (first at line 16)"},
           // Missing sections
           Case{"<Nuclear Charges>\n   8.000000000000e+00   1.000000000000e+00   1.000000000000e+00\n</Nuclear Charges>\n", "",
                "mol.wfx <Nuclear Charges>: this required section is missing, program stop"},
           Case{"<Number of Primitives>\n 13\n</Number of Primitives>\n", "", "mol.wfx <Number of Primitives>: this required section is missing"},
           Case{"<Nuclear Names>\n X1\n X2\n X3\n</Nuclear Names>\n", "", "mol.wfx <Nuclear Names>: this required section is missing"},
           Case{"<EDF Primitive Types>\n 1 1\n</EDF Primitive Types>\n", "", "mol.wfx <EDF Primitive Types>: this required section is missing"},
           // Counts that disagree with their sections
           Case{"<Number of Primitives>\n 13", "<Number of Primitives>\n 12",
                "mol.wfx line 38, <Primitive Centers>: holds 13 numbers where the primitives make 12"},
           Case{"<Number of Nuclei>\n 3", "<Number of Nuclei>\n 2", "mol.wfx line 19, <Nuclear Names>: holds 3 names where <Number of Nuclei> is 2"},
           Case{"  -7.500000000000e-01\n</Nuclear", "\n</Nuclear", "mol.wfx line 30, <Nuclear Cartesian Coordinates>: holds 8 numbers where three per nucleus make 9"},
           Case{"<Number of Occupied Molecular Orbitals>\n 2", "<Number of Occupied Molecular Orbitals>\n 3",
                "mol.wfx line 71, <Molecular Orbital Occupation Numbers>: holds 2 numbers where the orbitals make 3"},
           Case{"<Number of EDF Primitives>\n 2", "<Number of EDF Primitives>\n 3",
                "mol.wfx line 58, <EDF Primitive Centers>: holds 2 numbers where the EDF primitives make 3"},
           Case{"   7.500000000000e-01\n<MO Number>", "\n<MO Number>", "mol.wfx line 82, <MO Number>: the orbital has 12 coefficients where <Number of Primitives> is 13"},
           Case{"<MO Number>\n 1\n", "<MO Number>\n 1 2\n", "mol.wfx line 82, <MO Number>: expected one number, found 2"},
           // Bad numbers
           Case{"   1.875000000000e-01", "   1.8750x0000000e-01", "mol.wfx line 93, <Molecular Orbital Primitive Coefficients>: \"1.8750x0000000e-01\" is not a number, program stop"},
           Case{" 3 40 1", " 3 40 one", "mol.wfx line 46, <Primitive Types>: \"one\" is not a number"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n NaN   2.5", "mol.wfx line 49, <Primitive Exponents>: NAN is not a finite number"},
           Case{"   1.875000000000e-01", "   Inf", "mol.wfx line 93, <Molecular Orbital Primitive Coefficients>: INF is not a finite number"},
           Case{"   7.500000000000e-01\n</Molecular Orbital Occupation", "   -Infinity\n</Molecular Orbital Occupation", "-INF is not a finite number"},
           // Content that cannot be evaluated
           Case{" 1 23 2 36 5\n", " 1 23 2 36 57\n", "mol.wfx line 44, <Primitive Types>: primitive 5 has type 57; only types 1 to 56 (s, p, d, f, g and h functions) are supported, program stop"},
           Case{" 1 23 2 36 5\n", " 1 23 2.5 36 5\n", "<Primitive Types>: primitive 3 has type 2.5;"},
           Case{"<Primitive Centers>\n 1", "<Primitive Centers>\n 4", "mol.wfx line 39, <Primitive Centers>: 4 is not a whole number from 1 to 3"},
           Case{"<Primitive Centers>\n 1", "<Primitive Centers>\n 0", "mol.wfx line 39, <Primitive Centers>: 0 is not a whole number from 1 to 3"},
           Case{"<EDF Primitive Centers>\n 1", "<EDF Primitive Centers>\n 5", "mol.wfx line 59, <EDF Primitive Centers>: 5 is not a whole number from 1 to 3"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n   0.0", "mol.wfx line 49, <Primitive Exponents>: primitive 1 has exponent 0; exponents must be greater than zero"},
           Case{"<Primitive Exponents>\n   2.5", "<Primitive Exponents>\n  -2.5", "primitive 1 has exponent -0.25;"},
           Case{"<EDF Primitive Exponents>\n   5.0", "<EDF Primitive Exponents>\n  -5.0", "mol.wfx line 65, <EDF Primitive Exponents>: EDF primitive 1 has exponent -50;"},
           Case{"<EDF Primitive Types>\n 1 1", "<EDF Primitive Types>\n 1 99", "<EDF Primitive Types>: primitive 2 has type 99;"},
       }) {
    SCOPED_TRACE(c.to);
    Read r(edited(base, c.from, c.to), true);
    if (c.message.empty()) {
      EXPECT_EQ(r.stop_status, -1) << r.log();
      continue;
    }
    EXPECT_EQ(r.stop_status, 1);
    EXPECT_NE(r.log().find(c.message), std::string::npos) << r.log();
  }
}

TEST(ReadWfx, CoreDensitySectionIsKept) {
  const std::vector<testing::TestEdf> edf{{0, 1, 50.0, 3.5}, {2, 1, 5.0, -0.5}, {1, 9, 0.5, 0.25}};
  Read r(testing::wfx_text(kAtoms, mixed_primitives(), kOccupations, edf), true);
  ASSERT_EQ(r.stop_status, -1) << r.log();
  EXPECT_EQ(r.rec.edf_centre, (std::vector<std::int32_t>{0, 2, 1}));
  EXPECT_EQ(r.rec.edf_type, (std::vector<std::int32_t>{1, 1, 9}));
  EXPECT_EQ(r.rec.edf_exponent, (std::vector<double>{50.0, 5.0, 0.5}));
  EXPECT_EQ(r.rec.edf_coefficient, (std::vector<double>{3.5, -0.5, 0.25}));
}

TEST(WavefunctionFormat, ByNameOrContent) {
  struct Case {
    const char* name;
    const char* head;
    WavefunctionFormat format;
  };
  const char* wfn_head = " title\nGAUSSIAN   1 MOL ORBITALS   2 PRIMITIVES   1 NUCLEI\n";
  for (const Case& c : {
           Case{"mol.wfx", "", WavefunctionFormat::wfx},
           Case{"dir/MOL.WFX", wfn_head, WavefunctionFormat::wfx},
           Case{"mol.Wfx", "", WavefunctionFormat::wfx},
           Case{"mol.wfn", wfn_head, WavefunctionFormat::wfn},
           Case{"mol.wfn", "<Title>\n water\n</Title>\n", WavefunctionFormat::wfx},
           Case{"mol.dat", "   ####\n   # ORCA #\n\nWarning: testing\n<Title> \n", WavefunctionFormat::wfx},
           Case{"mol.wfn", "# comment\n  <Title>\n", WavefunctionFormat::wfx},
           Case{"mol.wfn", " title\nGAUSSIAN 1 MOL ORBITALS 2 PRIMITIVES 1 NUCLEI\n<Title>\n", WavefunctionFormat::wfn},
           Case{"mol.wfx.bak", "", WavefunctionFormat::wfn},
           Case{"wfx", "", WavefunctionFormat::wfn},
       }) {
    SCOPED_TRACE(std::string(c.name) + " / " + c.head);
    EXPECT_EQ(wavefunction_format(c.name, c.head), c.format);
  }
}

}  // namespace
}  // namespace qv
