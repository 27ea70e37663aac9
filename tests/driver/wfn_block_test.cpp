// The WFN block of the input file: names, switches, grid, warnings and stops.
#include <gtest/gtest.h>

#include <string>

#include "driver/block_readers.hpp"
#include "gridio/stop.hpp"
#include "gridio/text_error.hpp"

namespace qv {
namespace {

struct BlockRun {
  std::unique_ptr<TextOutput> screen = TextOutput::memory("screen");
  RunOutput out{*screen};
  WfnSettings wfn;
  int stop_status = -1;  // -1: no stop

  explicit BlockRun(const std::string& text, WfnSettings start = {}) : wfn(start) {
    out.set_log(TextOutput::memory("log"));
    auto in = LineReader::from_text(text, "in.inp");
    InputCursor cursor(*in);
    try {
      read_wfn_block(cursor, out, wfn);
    } catch (const ProgramStop& s) {
      stop_status = s.status;
    }
    out.flush();
  }
  std::string log() { return out.log().contents(); }
  std::string screen_text() { return screen->contents(); }
};

const std::string kBlock =
    "a title line\n"
    "PROPERTIES FROM WAVEFUNCTION\n"
    "INPUT water_dimer.wfn\n"
    "OUTPUT dimer\n"
    "CALCULATING *rho *gra  *lap*ene *RHO\n"
    "CENTER 0.5 -1.25 3.0\n"
    "N_POINTS_X 40\n"
    "STEPSIZE_X 0.1\n"
    "N_POINTS_Y 41\n"
    "STEPSIZE_Y 0.2\n"
    "N_POINTS_Z 42\n"
    "STEPSIZE_Z 0.3\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(WfnBlock, ReadsNamesSwitchesAndGrid) {
  BlockRun r(kBlock);
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.log(), "");
  EXPECT_EQ(r.wfn.wavefunction_file, left_adjust("water_dimer.wfn", 33));
  EXPECT_EQ(r.wfn.output_stem, left_adjust("dimer", 33));
  EXPECT_EQ(r.wfn.properties, (WfnProperties{true, true, true, true}));
  EXPECT_EQ(r.wfn.centre, (std::array<float, 3>{0.5f, -1.25f, 3.0f}));
  EXPECT_EQ(r.wfn.points_x, 40);
  EXPECT_EQ(r.wfn.points_y, 41);
  EXPECT_EQ(r.wfn.points_z, 42);
  EXPECT_EQ(r.wfn.axes[0], (std::array<float, 3>{0.1f, 0.0f, 0.0f}));
  EXPECT_EQ(r.wfn.axes[1], (std::array<float, 3>{0.0f, 0.2f, 0.0f}));
  EXPECT_EQ(r.wfn.axes[2], (std::array<float, 3>{0.0f, 0.0f, 0.3f}));
}

TEST(WfnBlock, NameColumnsAndMarkers) {
  struct Case {
    std::string from, to;
    std::string inp, out;
    WfnProperties properties;
  };
  for (const Case& c : {
           Case{"INPUT water_dimer.wfn", "INPUTwater.wfn", "ater.wfn", "dimer", {1, 1, 1, 1}},
           Case{"OUTPUT dimer", "OUTPUTdimer", "water_dimer.wfn", "imer", {1, 1, 1, 1}},
           Case{"OUTPUT dimer",
                "OUTPUT " + std::string(33, 'n') + "cut",
                "water_dimer.wfn",
                std::string(33, 'n'),
                {1, 1, 1, 1}},
           Case{"*rho *gra  *lap*ene *RHO", "*lap", "water_dimer.wfn", "dimer", {0, 0, 1, 0}},
           Case{"*rho *gra  *lap*ene *RHO",
                "*RHO *Gra rho",
                "water_dimer.wfn",
                "dimer",
                {0, 0, 0, 0}},
           Case{"*rho *gra  *lap*ene *RHO",
                std::string(36, ' ') + "*ene",
                "water_dimer.wfn",
                "dimer",
                {0, 0, 0, 0}},  // the asterisk in column 48
       }) {
    SCOPED_TRACE(c.to);
    BlockRun r(replaced(kBlock, c.from, c.to));
    ASSERT_EQ(r.stop_status, -1);
    EXPECT_EQ(r.wfn.wavefunction_file, left_adjust(c.inp, 33));
    EXPECT_EQ(r.wfn.output_stem, left_adjust(c.out, 33));
    EXPECT_EQ(r.wfn.properties, c.properties);
  }
}

TEST(WfnBlock, WarningsLetTheRunGoOn) {
  BlockRun blank(replaced(kBlock, "OUTPUT dimer", "OUTPUT"));
  EXPECT_EQ(blank.stop_status, -1);
  EXPECT_EQ(blank.log(), " WFN SECTION: output name for grid files not given!!!\n");
  EXPECT_EQ(blank.wfn.points_z, 42);

  WfnSettings start;
  start.centre = {7.0f, 8.0f, 9.0f};
  for (const std::string centre : {"CENTER 0.5 -1.25", "CENTER 0.5 -1.25 abc"}) {
    BlockRun two(replaced(kBlock, "CENTER 0.5 -1.25 3.0", centre), start);
    EXPECT_EQ(two.stop_status, -1);
    EXPECT_EQ(two.log(), " WFN SECTION: bad value for cube center!!\n");
    EXPECT_EQ(two.wfn.centre, (std::array<float, 3>{0.5f, -1.25f, 9.0f}));
    EXPECT_EQ(two.wfn.points_x, 40);
  }
}

TEST(WfnBlock, MissingLinesStopTheRun) {
  const std::string stop_lines =
      " WFN SECTION: PROBLEM IN READING THE INPUT!!!!\n"
      " THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP\n";
  // Lines whose search checks the end of file: the block's message, status 1.
  for (const std::string line : {"PROPERTIES FROM WAVEFUNCTION\n", "INPUT water_dimer.wfn\n",
                                 "CALCULATING *rho *gra  *lap*ene *RHO\n", "CENTER 0.5 -1.25 3.0\n",
                                 "STEPSIZE_X 0.1\n", "N_POINTS_Y 41\n", "STEPSIZE_Y 0.2\n",
                                 "N_POINTS_Z 42\n", "STEPSIZE_Z 0.3\n"}) {
    SCOPED_TRACE(line);
    BlockRun r(replaced(kBlock, line, ""));
    EXPECT_EQ(r.stop_status, 1);
    EXPECT_EQ(r.log(), stop_lines);
    EXPECT_EQ(r.screen_text(), stop_lines);
  }
  // The OUTPUT and N_POINTS_X searches leave the end of file to the file layer.
  for (const std::string line : {"OUTPUT dimer\n", "N_POINTS_X 40\n"}) {
    SCOPED_TRACE(line);
    EXPECT_THROW(BlockRun(replaced(kBlock, line, "")), TextError);
  }
}

TEST(WfnBlock, BadNumbersAreFileLayerErrors) {
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"N_POINTS_X 40", "N_POINTS_X forty"},
           {"STEPSIZE_Y 0.2", "STEPSIZE_Y"},
           {"N_POINTS_Z 42", "N_POINTS_Z" + std::string(31, ' ') + "42"},  // past column 40
           {"STEPSIZE_Z 0.3", "STEPSIZE_Z 0.3.1"}}) {
    SCOPED_TRACE(to);
    try {
      BlockRun r(replaced(kBlock, from, to));
      ADD_FAILURE() << "no error";
    } catch (const TextError& e) {
      EXPECT_EQ(e.file(), "in.inp");
    }
  }
}

}  // namespace
}  // namespace qv
