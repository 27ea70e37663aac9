// The TOP block of the input file: names, counts, symmetry operations, warnings and stops.
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
  TopSettings top;
  int stop_status = -1;  // -1: no stop

  explicit BlockRun(const std::string& text) {
    out.set_log(TextOutput::memory("log"));
    auto in = LineReader::from_text(text, "in.inp");
    InputCursor cursor(*in);
    try {
      read_top_block(cursor, out, top);
    } catch (const ProgramStop& s) {
      stop_status = s.status;
    }
    out.flush();
  }
  std::string log() { return out.log().contents(); }
  std::string screen_text() { return screen->contents(); }
};

const std::string kHead =
    "TOPOND TO CUBE CONVERSION\n"
    "N_OF_GRIDS 3\n";
const std::string kGrids =
    "GRID_FILE_NAME    rho.dat\n"
    "CUBE_NAME(OUTPUT)  first_name_of_22_chars_cut\n"
    "GRID_FILE_NAME grad.dat\n"
    "CUBE_NAME(OUTPUT) second\n"
    "GRID_FILE_NAME lapl.dat\n"
    "CUBE_NAME(OUTPUT) third_name_of_thirty_chars_xyzw\n";
const std::string kTail =
    "CRYSTAL_OUTPUT_NAME  crystal.out\n"
    "N_OF_SYMM_OPERATIONS 2\n"
    "SYMM x,y,z\n"
    "a comment line\n"
    "SYMM -x+1/2,y+1/2,-z\n";

TEST(TopBlock, ReadsNamesCountsAndOperations) {
  BlockRun r(kHead + kGrids + kTail);
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.log(), "");
  EXPECT_EQ(r.top.grid_count, 3);
  EXPECT_EQ(r.top.topond_grids[0], left_adjust("rho.dat", 30));
  EXPECT_EQ(r.top.topond_grids[2], left_adjust("lapl.dat", 30));
  // The first two output names keep 22 columns (19 to 40), the third 30 (19 to 48).
  EXPECT_EQ(r.top.cube_stems[0], left_adjust("first_name_of_22_char", 30));
  EXPECT_EQ(r.top.cube_stems[1], left_adjust("second", 30));
  EXPECT_EQ(r.top.cube_stems[2], left_adjust("third_name_of_thirty_chars_xyz", 30));
  EXPECT_EQ(r.top.crystal_output, left_adjust("crystal.out", 30));
  ASSERT_EQ(r.top.symmetry_count, 2);
  ASSERT_EQ(r.top.rotations.size(), 2u);
  ASSERT_EQ(r.top.translations.size(), 2u);
  EXPECT_EQ(r.top.rotations[1][0][0], -1);
  EXPECT_EQ(r.top.rotations[1][2][2], -1);
  EXPECT_EQ(r.top.translations[1][1], 0.5);
  EXPECT_EQ(r.top.rotations[0][1][1], 1);
}

TEST(TopBlock, FiveGridsWarnAndReadThreePairs) {
  BlockRun r("TOPOND TO CUBE CONVERSION\nN_OF_GRIDS 5\n" + kGrids +
             "GRID_FILE_NAME fourth.dat\nCUBE_NAME(OUTPUT) fourth\n" + kTail);
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.log(),
            " TOPOND FILE CONVERSION SECTION: number of grid files greater than 3. Only first "
            "three files will be converted\n");
  EXPECT_EQ(r.top.grid_count, 5);
  EXPECT_EQ(r.top.topond_grids[2], left_adjust("lapl.dat", 30));
  EXPECT_EQ(r.top.crystal_output, left_adjust("crystal.out", 30));
  EXPECT_EQ(r.top.symmetry_count, 2);
}

TEST(TopBlock, NoOperationsReadsNoSymmLine) {
  BlockRun r("TOPOND TO CUBE CONVERSION\nN_OF_GRIDS 0\nCRYSTAL_OUTPUT_NAME c.out\n"
             "N_OF_SYMM_OPERATIONS 0\n");
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.top.grid_count, 0);
  EXPECT_TRUE(is_blank(r.top.topond_grids[0]));
  EXPECT_TRUE(r.top.rotations.empty());
  EXPECT_TRUE(r.top.translations.empty());
}

TEST(TopBlock, NegativeCountsReadNothing) {
  BlockRun r("TOPOND TO CUBE CONVERSION\nN_OF_GRIDS -2\nCRYSTAL_OUTPUT_NAME c.out\n"
             "N_OF_SYMM_OPERATIONS -1\nSYMM x,y,z\n");
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.top.grid_count, -2);
  EXPECT_TRUE(r.top.rotations.empty());
}

TEST(TopBlock, BadGridCountWarnsAndKeepsZero) {
  BlockRun r("TOPOND TO CUBE CONVERSION\nN_OF_GRIDS two\nCRYSTAL_OUTPUT_NAME c.out\n"
             "N_OF_SYMM_OPERATIONS 1\nSYMM x,y,z\n");
  ASSERT_EQ(r.stop_status, -1);
  EXPECT_EQ(r.log(),
            " TOPOND FILE CONVERSION SECTION: problem in reading the number of input grid files\n");
  EXPECT_EQ(r.top.grid_count, 0);
  EXPECT_EQ(r.top.symmetry_count, 1);
}

// A file that ends before a keyword line stops the run with that line's code.
struct MissingCase {
  std::string text;
  const char* code;
};

void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.code; }

class TopBlockMissing : public ::testing::TestWithParam<MissingCase> {};

TEST_P(TopBlockMissing, StopsWithItsCode) {
  BlockRun r(GetParam().text);
  EXPECT_EQ(r.stop_status, 1);
  const std::string two =
      " TOPOND FILE CONVERSION SECTION: PROBLEM IN READING THE INPUT!!!!\n"
      " THE TEMPLATE MIGHT HAVE BEEN MODIFIED, PROGRAM STOP\n";
  EXPECT_EQ(r.screen_text(), " " + std::string(GetParam().code) + "\n" + two);
  EXPECT_EQ(r.log(), two);
}

const std::string kG1 = "GRID_FILE_NAME a\n";
const std::string kC1 = "CUBE_NAME(OUTPUT) a\n";

INSTANTIATE_TEST_SUITE_P(
    Codes, TopBlockMissing,
    ::testing::Values(MissingCase{"TOPOND TO CUBE\n", "err topo0"},
                      MissingCase{"TOPOND TO CUBE CONVERSION\n", "err topo1"},
                      MissingCase{kHead, "err topo2_1a"},
                      MissingCase{kHead + kG1, "err topo2_1b"},
                      MissingCase{kHead + kG1 + kC1, "err topo2_2a"},
                      MissingCase{kHead + kG1 + kC1 + kG1, "err topo2_2b"},
                      MissingCase{kHead + kG1 + kC1 + kG1 + kC1, "err topo2_3a"},
                      MissingCase{kHead + kG1 + kC1 + kG1 + kC1 + kG1, "err topo2_3b"},
                      MissingCase{kHead + kGrids, "err topo3"},
                      MissingCase{kHead + kGrids + "CRYSTAL_OUTPUT_NAME c\n", "err topo4"}));

TEST(TopBlock, MissingSymmLineIsAFileLayerFailure) {
  EXPECT_THROW(BlockRun(kHead + kGrids + "CRYSTAL_OUTPUT_NAME c\nN_OF_SYMM_OPERATIONS 3\n"
                        "SYMM x,y,z\nSYMM -x,-y,-z\n"),
               TextError);
}

TEST(TopBlock, BadOperationCountIsAFileLayerFailure) {
  for (const char* count : {"N_OF_SYMM_OPERATIONS many\n", "N_OF_SYMM_OPERATIONS\n"})
    EXPECT_THROW(BlockRun(kHead + kGrids + "CRYSTAL_OUTPUT_NAME c\n" + count + "SYMM x,y,z\n"),
                 TextError)
        << count;
}

TEST(TopBlock, ZeroDenominatorStopsQuotingTheOperation) {
  BlockRun r(kHead + kGrids + "CRYSTAL_OUTPUT_NAME c\nN_OF_SYMM_OPERATIONS 1\nSYMM  -x+1/0,y,z\n");
  EXPECT_EQ(r.stop_status, 1);
  const std::string message =
      " TOPOND FILE CONVERSION SECTION: symmetry operation \"-x+1/0,y,z\" (in.inp, line 11) "
      "holds a fraction with a zero denominator, PROGRAM STOP\n";
  EXPECT_EQ(r.log(), message);
  EXPECT_EQ(r.screen_text(), message);
}

}  // namespace
}  // namespace qv
