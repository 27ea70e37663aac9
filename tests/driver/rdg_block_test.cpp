// The RDG block of the input file: rows and their conditions, option scans, warnings, stops and
// the closing cross-checks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/block_readers.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

struct RdgBlockRun {
  std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
  RunOutput out{*screen};
  RdgSettings rdg;
  int stop_status = -1;  // -1: no stop

  explicit RdgBlockRun(const std::string& text) {
    out.set_log(TextOutput::memory("log"));
    auto in = LineReader::from_text(text, "in.inp");
    InputCursor cursor(*in);
    try {
      read_rdg_block(cursor, out, rdg);
    } catch (const ProgramStop& s) {
      stop_status = s.status;
    }
    out.flush();
  }
  std::string log() { return out.log().contents(); }
  std::string screen_text() { return screen->contents(); }
};

// The template with every row, each keyword line replaceable by name.
struct Template {
  std::vector<std::pair<std::string, std::string>> rows = {
      {"header", "RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION"},
      {"INPUT", "INPUT  *CUB"},
      {"CALCULATING", "CALCULATING *RDG *rho *Abr *plo"},
      {"RHO_INPUT_CUBE", "RHO_INPUT_CUBE   density.cube"},
      {"RHO_INPUT_GRD", "RHO_INPUT_GRD(XD only) density.grd"},
      {"GRAD=", "GRAD= *calc"},
      {"GRAD_INPUT_CUBE", "GRAD_INPUT_CUBE grad.cube"},
      {"GRAD_INPUT_GRD", "GRAD_INPUT_GRD(XD only) grad.grd"},
      {"LAPL=", "LAPL= *calc"},
      {"LAPL_INPUT_CUBE", "LAPL_INPUT_CUBE lapl.cube"},
      {"LAPL_INPUT_GRD", "LAPL_INPUT_GRD(XD only) lapl.grd"},
      {"RDG_CALCULATION", "RDG_CALCULATION *all_p"},
      {"LOWER_VALUE", "LOWER_VALUE -0.05"},
      {"UPPER_VALUE", "UPPER_VALUE  0.05, 7"},
      {"RDG_OUTPUT", "RDG_OUTPUT  rdg_out"},
      {"SPACE_CUTOFF", "SPACE_CUTOFF *none"},
      {"TOLERANCE", "TOLERANCE 2.5"},
      {"RHO_SIGN_CALCULATION", "RHO_SIGN_CALCULATION *RDG_p"},
      {"RHO_SIGN_OUTPUT", "RHO_SIGN_OUTPUT rhosign_out"},
      {"ENERGY_CALCULATION", "ENERGY_CALCULATION *RDG_p"},
      {"ENERGY_OUTPUT", "ENERGY_OUTPUT energy_out"},
      {"2DPLOT", "2DPLOT *rho *rhosign"},
      {"PLOT_NAME", "PLOT_NAME   plots  other"},
  };
  Template& set(const std::string& key, const std::string& line) {
    for (auto& row : rows)
      if (row.first == key) row.second = line;
    return *this;
  }
  Template& drop(const std::string& key) { return set(key, "# (row left out)"); }
  std::string text() const {
    std::string t = "title line\n";
    for (const auto& row : rows) t += row.second + "\n";
    return t;
  }
};

const std::string kEofLines =
    " RDG, RHO*SIGN(L2) AND ABRAMOV ENERGY CALCULATION SECTION: PROBLEM IN READING THE INPUT!!!!\n"
    " THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP\n";

TEST(RdgBlock, ReadsEveryRowOfTheTemplate) {
  RdgBlockRun r(Template().set("INPUT", "INPUT *XD2").set("GRAD=", "GRAD= *read")
                    .set("LAPL=", "LAPL= *read").set("RDG_CALCULATION", "RDG_CALCULATION *rho_c")
                    .set("SPACE_CUTOFF", "SPACE_CUTOFF *atom").text());
  ASSERT_EQ(r.stop_status, -1) << r.log();
  EXPECT_EQ(r.log(), "");
  const RdgSettings& s = r.rdg;
  EXPECT_TRUE(s.input_format == CubeLayout::xd2006);
  EXPECT_EQ(s.computations, (RdgComputations{true, true, true, true}));
  EXPECT_EQ(s.density_cube, left_adjust("density.cube", 35));
  EXPECT_EQ(s.density_grd, left_adjust("density.grd", 27));
  EXPECT_TRUE(s.read_gradient);
  EXPECT_FALSE(s.derive_gradient);
  EXPECT_EQ(s.gradient_cube, left_adjust("grad.cube", 34));
  EXPECT_EQ(s.gradient_grd, left_adjust("grad.grd", 26));
  EXPECT_EQ(s.laplacian_cube, left_adjust("lapl.cube", 34));
  EXPECT_EQ(s.laplacian_grd, left_adjust("lapl.grd", 26));
  EXPECT_EQ(s.point_selection, PointSelection::density_window);
  EXPECT_EQ(s.window_lower, -0.05f);
  EXPECT_EQ(s.window_upper, 0.05f);
  EXPECT_EQ(s.rdg_stem, left_adjust("rdg_out", 30));
  EXPECT_EQ(s.space_cutoff, SpaceCutoff::near_atoms);
  EXPECT_EQ(s.cutoff_distance, 2.5f);
  EXPECT_TRUE(s.rhosign_on_rdg_points);
  EXPECT_EQ(s.rhosign_stem, left_adjust("rhosign_out", 30));
  EXPECT_TRUE(s.abramov_on_rdg_points);
  EXPECT_EQ(s.abramov_stem, left_adjust("energy_out", 30));
  EXPECT_EQ(s.plot_tables, (PlotTables{true, true}));
  EXPECT_EQ(s.plot_stem, left_adjust("plots", 30));
}

// Rows whose condition is false are not searched: their lines may be missing.
TEST(RdgBlock, ConditionalRows) {
  struct Case {
    const char* name;
    Template t;
    std::function<void(const RdgSettings&)> check;
  };
  const std::vector<Case> cases = {
      {"cube input needs no grd names, calc needs no cube names",
       Template()
           .drop("RHO_INPUT_GRD")
           .drop("GRAD_INPUT_CUBE")
           .drop("GRAD_INPUT_GRD")
           .drop("LAPL_INPUT_CUBE")
           .drop("LAPL_INPUT_GRD")
           .drop("LOWER_VALUE")
           .drop("UPPER_VALUE")
           .drop("TOLERANCE"),
       [](const RdgSettings& s) {
         EXPECT_TRUE(s.derive_gradient);
         EXPECT_TRUE(s.derive_laplacian);
         EXPECT_EQ(s.point_selection, PointSelection::all_points);
         EXPECT_EQ(s.space_cutoff, SpaceCutoff::none);
         EXPECT_EQ(s.cutoff_distance, 0.0f);
       }},
      {"gradient read with cube input reads only the cube name",
       Template().set("GRAD=", "GRAD= *read").drop("GRAD_INPUT_GRD"),
       [](const RdgSettings& s) { EXPECT_EQ(s.gradient_cube, left_adjust("grad.cube", 34)); }},
      {"no job but rho*sign: rows 12 to 17 and 20 to 23 are not searched",
       Template()
           .set("CALCULATING", "CALCULATING *rho")
           .drop("RDG_CALCULATION")
           .drop("RDG_OUTPUT")
           .drop("SPACE_CUTOFF")
           .drop("ENERGY_CALCULATION")
           .drop("ENERGY_OUTPUT")
           .drop("2DPLOT")
           .drop("PLOT_NAME"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.computations, (RdgComputations{false, true, false, false}));
         EXPECT_TRUE(s.rhosign_on_rdg_points);
         EXPECT_EQ(s.plot_tables, (PlotTables{false, false}));
       }},
      {"markers written together", Template().set("CALCULATING", "CALCULATING *RDG*rho"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.computations, (RdgComputations{true, true, false, false}));
       }},
      {"option words are case-sensitive",
       Template()
           .set("CALCULATING", "CALCULATING *rdg *RHO *plo")
           .set("2DPLOT", "2DPLOT *RHO *Rhosign"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.computations, (RdgComputations{false, false, false, true}));
         EXPECT_EQ(s.plot_tables, (PlotTables{false, false}));
       }},
      {"bare rho followed by blanks", Template().set("2DPLOT", "2DPLOT *rhosign  *rho"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.plot_tables, (PlotTables{true, true}));
       }},
      {"rho followed by the next asterisk", Template().set("2DPLOT", "2DPLOT *rho*rhos"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.plot_tables, (PlotTables{true, true}));
       }},
      {"rho at the end of the record",
       Template().set("2DPLOT", std::string(44, ' ').replace(0, 6, "2DPLOT") + "*rho"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.plot_tables, (PlotTables{true, false}));
       }},
      {"asterisk past its columns is not seen",
       Template()
           .set("INPUT", "INPUT" + std::string(43, ' ') + "*CUB")
           .set("RHO_SIGN_CALCULATION", "RHO_SIGN_CALCULATION" + std::string(26, ' ') + "*RDG_p"),
       [](const RdgSettings& s) {
         EXPECT_FALSE(s.input_format.has_value());
         EXPECT_FALSE(s.rhosign_on_rdg_points);
       }},
      {"names are left-adjusted and cut at their range",
       Template()
           .set("RDG_OUTPUT", "RDG_OUTPUT     a_name_that_is_longer_than_its_columns")
           .set("RHO_INPUT_CUBE", "RHO_INPUT_CUBEXa_density_file_name_that_runs_past_col_50"),
       [](const RdgSettings& s) {
         EXPECT_EQ(s.rdg_stem, left_adjust("a_name_that_is_longer_than", 30));
         EXPECT_EQ(s.density_cube, left_adjust("a_density_file_name_that_runs_past_", 35));
       }},
      {"plot name: quoted item, then left-adjusted",
       Template().set("PLOT_NAME", "PLOT_NAME  'my plot, 1' rest"),
       [](const RdgSettings& s) { EXPECT_EQ(s.plot_stem, left_adjust("my plot, 1", 30)); }},
      {"plot name ends at a comma or slash",
       Template().set("PLOT_NAME", "PLOT_NAME  name,second/x"),
       [](const RdgSettings& s) { EXPECT_EQ(s.plot_stem, left_adjust("name", 30)); }},
      {"plot name beyond column 40 is cut",
       Template().set("PLOT_NAME", "PLOT_NAME " + std::string(25, ' ') + "abcdefghij"),
       [](const RdgSettings& s) { EXPECT_EQ(s.plot_stem, left_adjust("abcde", 30)); }},
      {"header keyword longer than 45 columns is still found",
       Template().set("header", "RDG,RHO*(signL2) AND ABRAMOV" + std::string(30, 'x')),
       [](const RdgSettings& s) { EXPECT_TRUE(s.computations.rdg); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RdgBlockRun r(c.t.text());
    ASSERT_EQ(r.stop_status, -1) << r.log();
    c.check(r.rdg);
  }
}

TEST(RdgBlock, WarningsStopsAndCrossChecks) {
  struct Case {
    const char* name;
    Template t;
    std::string log;
    int stop;
    std::function<void(const RdgSettings&)> check;
  };
  const std::vector<Case> cases = {
      {"unknown format word, once per asterisk",
       Template().set("INPUT", "INPUT *xd2 *CUB *"),
       " RDG CALCULATION SECTION: no input file format has been chosen!!!\n"
       " RDG CALCULATION SECTION: no input file format has been chosen!!!\n",
       -1, [](const RdgSettings& s) { EXPECT_TRUE(s.input_format == CubeLayout::general); }},
      {"two formats", Template().set("INPUT", "INPUT *CUB *GAU *foo"),
       " RDG CALCULATION SECTION: no input file format has been chosen!!!\n"
       " RDG CALCULATION SECTION: more than one input format has been chosen.PROGRAM STOP!!!!\n",
       1, nullptr},
      {"no format at all is silent", Template().set("INPUT", "INPUT"), "", -1,
       [](const RdgSettings& s) { EXPECT_FALSE(s.input_format.has_value()); }},
      {"unknown point word", Template().set("RDG_CALCULATION", "RDG_CALCULATION *all *all_p"),
       " RDG CALCULATION:no option for points to calculate RDG has been chosen!!!\n", -1,
       [](const RdgSettings& s) { EXPECT_EQ(s.point_selection, PointSelection::all_points); }},
      {"no point marker is silent", Template().set("RDG_CALCULATION", "RDG_CALCULATION"), "", -1,
       [](const RdgSettings& s) { EXPECT_EQ(s.point_selection, PointSelection::not_chosen); }},
      {"two point choices", Template().set("RDG_CALCULATION", "RDG_CALCULATION *all_p *rho_c"),
       " !!!ERROR IN CHOSING WHICH POINTS WILL BE CONSIDERED IN RDG CALCULATION. PROGRAM STOP\n",
       1, nullptr},
      {"two space cut-offs", Template().set("SPACE_CUTOFF", "SPACE_CUTOFF *atom *exte"),
       " !!!ERROR IN CHOSING THE SPACE CUTOFF FOR RDG CALCULATION(more than one choice). "
       "PROGRAM STOP\n",
       1, nullptr},
      {"no space cut-off is silent", Template().set("SPACE_CUTOFF", "SPACE_CUTOFF *whatever"), "",
       -1, [](const RdgSettings& s) { EXPECT_EQ(s.space_cutoff, SpaceCutoff::not_chosen); }},
      {"no gradient: RDG, plot and Abramov switched off, rho*sign kept",
       Template().set("GRAD=", "GRAD="),
       " RDG CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID FILES!!!!\n"
       " RDG WILL NOT BE CALCULATED\n"
       " rho VS RDG PLOT CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID "
       "FILES!!!!\n"
       " rho VS RDG PLOT WILL NOT BE CALCULATED\n"
       " ABRAMOV ENERGY CALCULATION REQUIRED WITHOUT READING/CALCULATING GRADIENT GRID "
       "FILES!!!!\n"
       " ABRAMOV ENERGY WILL NOT BE CALCULATED\n",
       -1,
       [](const RdgSettings& s) {
         EXPECT_EQ(s.computations, (RdgComputations{false, true, false, false}));
         // The rows of the switched-off jobs were still read.
         EXPECT_EQ(s.rdg_stem, left_adjust("rdg_out", 30));
         EXPECT_EQ(s.plot_tables, (PlotTables{true, true}));
       }},
      {"no laplacian: Abramov switched off", Template().set("LAPL=", "LAPL= *CALC"),
       " ABRAMOV ENERGY CALCULATION REQUIRED WITHOUT READING/CALCULATING LAPLACIAN GRID "
       "FILES!!!!\n"
       " ABRAMOV ENERGY WILL NOT BE CALCULATED\n",
       -1,
       [](const RdgSettings& s) {
         EXPECT_EQ(s.computations, (RdgComputations{true, true, false, true}));
         EXPECT_EQ(s.laplacian_cube, left_adjust("lapl.cube", 34));
       }},
      {"both gradient sources accepted", Template().set("GRAD=", "GRAD= *calc *read"), "", -1,
       [](const RdgSettings& s) {
         EXPECT_TRUE(s.derive_gradient);
         EXPECT_TRUE(s.read_gradient);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RdgBlockRun r(c.t.text());
    EXPECT_EQ(r.stop_status, c.stop);
    EXPECT_EQ(r.log(), c.log);
    EXPECT_EQ(r.screen_text(), "");
    if (c.check) c.check(r.rdg);
  }
}

TEST(RdgBlock, EndOfFileInAnySearchStops) {
  const char* rows[] = {"header",          "INPUT",        "CALCULATING",
                        "RHO_INPUT_CUBE",  "GRAD=",        "LAPL=",
                        "RDG_CALCULATION", "RDG_OUTPUT",   "SPACE_CUTOFF",
                        "RHO_SIGN_CALCULATION", "RHO_SIGN_OUTPUT", "ENERGY_CALCULATION",
                        "ENERGY_OUTPUT",   "2DPLOT",       "PLOT_NAME"};
  for (const char* row : rows) {
    SCOPED_TRACE(row);
    RdgBlockRun r(Template().drop(row).text());
    EXPECT_EQ(r.stop_status, 1);
    EXPECT_EQ(r.log(), kEofLines);
    EXPECT_EQ(r.screen_text(), kEofLines);
  }
  // Conditional rows, when their condition holds.
  struct Case {
    const char* name;
    Template t;
  } cases[] = {
      {"grd density", Template().set("INPUT", "INPUT *XD2").drop("RHO_INPUT_GRD")},
      {"gradient cube", Template().set("GRAD=", "GRAD= *read").drop("GRAD_INPUT_CUBE")},
      {"gradient grd", Template().set("INPUT", "INPUT *XD2").set("GRAD=", "GRAD= *read")
                           .drop("GRAD_INPUT_GRD")},
      {"laplacian without marker", Template().set("LAPL=", "LAPL=").drop("LAPL_INPUT_CUBE")},
      {"laplacian grd", Template().set("INPUT", "INPUT *XD2").set("LAPL=", "LAPL= *read")
                            .drop("LAPL_INPUT_GRD")},
      {"range", Template().set("RDG_CALCULATION", "RDG_CALCULATION *rhosi").drop("UPPER_VALUE")},
      {"tolerance", Template().set("SPACE_CUTOFF", "SPACE_CUTOFF *exte").drop("TOLERANCE")},
      {"out of order", Template().set("CALCULATING", "# moved").set("PLOT_NAME",
                                                                   "CALCULATING *RDG")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RdgBlockRun r(c.t.text());
    EXPECT_EQ(r.stop_status, 1);
    EXPECT_EQ(r.log(), kEofLines);
  }
}

TEST(RdgBlock, BadNumbersAndEmptyPlotNameAreFileErrors) {
  const Template cases[] = {
      Template().set("RDG_CALCULATION", "RDG_CALCULATION *rho_c")
          .set("LOWER_VALUE", "LOWER_VALUE abc"),
      Template().set("RDG_CALCULATION", "RDG_CALCULATION *rho_c").set("UPPER_VALUE",
                                                                      "UPPER_VALUE"),
      Template().set("SPACE_CUTOFF", "SPACE_CUTOFF *atom").set("TOLERANCE", "TOLERANCE 1.0.0"),
      Template().set("PLOT_NAME", "PLOT_NAME" + std::string(31, ' ') + "late"),
  };
  for (const Template& t : cases) {
    EXPECT_THROW(RdgBlockRun r(t.text()), TextError);
  }
}

// The whole program: a stop of the RDG block ends the run with status 1 after its messages, the
// end-of-file message goes to the run log and the screen.
TEST(RdgBlock, StopsEndTheProgramWithStatusOne) {
  testing::TempDir dir;
  const std::string head = "OUTPUT_FILE_NAME run.log\nSECTIONS *RDG\n";
  testing::write_file("two_formats.inp",
                      head + Template().set("INPUT", "INPUT *CUB *GAU").text());
  EXPECT_EQ(testing::run_binary("two_formats.inp"), 1);
  EXPECT_EQ(testing::read_file("run.log"),
            " RDG CALCULATION SECTION: more than one input format has been chosen.PROGRAM "
            "STOP!!!!\n");
  EXPECT_EQ(testing::read_file("stdout.txt"), "");

  testing::write_file("no_block.inp", head + "nothing here\n");
  EXPECT_EQ(testing::run_binary("no_block.inp"), 1);
  EXPECT_EQ(testing::read_file("run.log"), kEofLines);
  EXPECT_EQ(testing::read_file("stdout.txt"), kEofLines);
}

}  // namespace
}  // namespace qv
