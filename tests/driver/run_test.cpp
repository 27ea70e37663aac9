// The driver end to end: input header lines, the run log, the banner and the exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/banner.hpp"
#include "driver/input_cursor.hpp"
#include "driver/run.hpp"
#include "support/temp_dir.hpp"
#include "support/text_lines.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

struct Outcome {
  int status;
  std::string screen;
  std::string errors;
};

Outcome run_in_process(const std::string& argument) {
  auto screen = TextOutput::memory("screen");
  auto errors = TextOutput::memory("errors");
  int status = run(argument, *screen, *errors);
  screen->flush();
  errors->flush();
  return {status, screen->contents(), errors->contents()};
}


TEST(Driver, NoJobWritesWarningThenBanner) {
  TempDir dir;
  write_file("in.inp", "title\nOUTPUT_FILE_NAME run.log\nSECTIONS *wfn *Top RDG\n");
  Outcome o = run_in_process("in.inp");
  EXPECT_EQ(o.status, 0);
  auto lines = testing::split_lines(read_file("run.log"));
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0], " NO JOB HAS BEEN ASSIGNED TO THE PROGRAM!!");
  EXPECT_EQ(lines[1], " ");
  for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 96u) << "line " << i;
  EXPECT_EQ(lines[2], " " + std::string(95, '+'));
  EXPECT_EQ(lines[21], std::string(96, ' '));
}

TEST(Driver, BannerFramesHoldTheirWidths) {
  auto lines = banner_lines();
  EXPECT_TRUE(lines[0].empty());
  for (std::size_t i = 1; i < lines.size(); ++i) ASSERT_EQ(lines[i].size(), 95u) << i;
  const std::string frame = std::string(9, '+') + std::string(77, ' ') + std::string(9, '+');
  EXPECT_EQ(lines[4], frame);
  EXPECT_EQ(lines[12], frame);
  for (int r = 5; r <= 11; ++r) {
    EXPECT_EQ(lines[r].substr(0, 11), std::string(9, '+') + "  ");
    EXPECT_EQ(lines[r].substr(86), std::string(9, '+'));
  }
  for (int r : {14, 15}) {
    EXPECT_EQ(lines[r].front(), '+');
    EXPECT_EQ(lines[r].back(), '+');
  }
  EXPECT_NE(lines[15].find("the Quelvarin developers"), std::string::npos);
}

// Where the run log name is taken from on the OUTPUT_FILE_NAME line.
struct NameCase {
  const char* line;
  const char* expected_log;
};

class RunLogName : public ::testing::TestWithParam<NameCase> {};

TEST_P(RunLogName, TakenFromColumns18To47) {
  TempDir dir;
  write_file("in.inp", std::string(GetParam().line) + "\nSECTIONS\n");
  Outcome o = run_in_process("in.inp");
  EXPECT_EQ(o.status, 0);
  EXPECT_TRUE(std::filesystem::exists(GetParam().expected_log)) << GetParam().expected_log;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, RunLogName,
    ::testing::Values(
        NameCase{"OUTPUT_FILE_NAME run.log", "run.log"},
        NameCase{"OUTPUT_FILE_NAME        run.log", "run.log"},
        NameCase{"OUTPUT_FILE_NAMErun.log", "un.log"},
        NameCase{"OUTPUT_FILE_NAMES run.log", "run.log"},
        // 36 characters from column 18: cut to the 30 of columns 18-47
        NameCase{"OUTPUT_FILE_NAME abcdefghijklmnopqrstuvwxyz0123456789",
                 "abcdefghijklmnopqrstuvwxyz0123"},
        // starting in column 25, the name is cut at column 47
        NameCase{"OUTPUT_FILE_NAME        abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvw"}));

TEST(Driver, SectionMarkers) {
  struct Case {
    std::string sections;
    bool no_job_warning;
  } cases[] = {
      {"SECTIONS *WFN", false},
      {"SECTIONS *WFN*RDG", false},
      {"SECTIONS *wfn *rdg *top", true},
      {"SECTIONS WFN TOP RDG", true},
      // an asterisk in column 47 is seen, one in column 48 is not
      {"SECTIONS" + std::string(38, ' ') + "*TOP", false},
      {"SECTIONS" + std::string(39, ' ') + "*TOP", true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_file("in.inp", "OUTPUT_FILE_NAME run.log\n" + c.sections + "\n");
    run_in_process("in.inp");
    std::string log = read_file("run.log");
    EXPECT_EQ(log.rfind(" NO JOB HAS BEEN ASSIGNED TO THE PROGRAM!!\n", 0) == 0, c.no_job_warning)
        << c.sections;
  }
}

TEST(Driver, NameBeyondColumn47IsNotSeen) {
  TempDir dir;
  write_file("in.inp", "OUTPUT_FILE_NAME" + std::string(31, ' ') + "abcdef\nSECTIONS\n");
  Outcome o = run_in_process("in.inp");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.screen, " NAME FOR OUTPUT FILE WAS NOT GIVEN, PROGRAM STOP\n");
}

TEST(Driver, StopsAndStatuses) {
  struct Case {
    std::string name;
    std::string input;
    int status;
    std::string screen;
    bool log_exists;
  } cases[] = {
      {"no OUTPUT_FILE_NAME", "SECTIONS *RDG\n", 1,
       " NO STRING FOR OUTPUT FILE NAME!!!PROGRAM STOP\n", false},
      {"blank run log name", "OUTPUT_FILE_NAME\nSECTIONS\n", 1,
       " NAME FOR OUTPUT FILE WAS NOT GIVEN, PROGRAM STOP\n", false},
      {"run log is the input", "OUTPUT_FILE_NAME in.inp\nSECTIONS\n", 1,
       " OUTPUT FILE NAME IS THE INPUT FILE ITSELF, PROGRAM STOP\n", false},
      {"run log is the input by another path", "OUTPUT_FILE_NAME ./in.inp\nSECTIONS\n", 1,
       " OUTPUT FILE NAME IS THE INPUT FILE ITSELF, PROGRAM STOP\n", false},
      {"no SECTIONS line", "OUTPUT_FILE_NAME run.log\n", 2, "", true},
      {"run log in a missing directory", "OUTPUT_FILE_NAME nodir/run.log\nSECTIONS\n", 2, "",
       false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_file("in.inp", c.input);
    const std::string before = read_file("in.inp");
    Outcome o = run_in_process("in.inp");
    EXPECT_EQ(o.status, c.status) << c.name;
    EXPECT_EQ(o.screen, c.screen) << c.name;
    EXPECT_EQ(std::filesystem::exists("run.log"), c.log_exists) << c.name;
    EXPECT_EQ(read_file("in.inp"), before) << c.name;
    if (c.status == 2) {
      EXPECT_EQ(o.errors.rfind("quelvarin: file \"", 0), 0u) << c.name;
    }
  }
}

TEST(Driver, NoSectionsLineLeavesAnEmptyRunLogAndNamesTheLine) {
  TempDir dir;
  write_file("in.inp", "OUTPUT_FILE_NAME run.log\nsecond line\n");
  Outcome o = run_in_process("in.inp");
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(read_file("run.log"), "");
  EXPECT_EQ(o.errors,
            "quelvarin: file \"in.inp\", line 3: end of file; expected a line beginning with "
            "\"SECTIONS\"\n");
}

TEST(Driver, MissingInputFileIsNotCreated) {
  TempDir dir;
  Outcome o = run_in_process("absent.inp");
  EXPECT_EQ(o.status, 2);
  EXPECT_FALSE(std::filesystem::exists("absent.inp"));
  EXPECT_EQ(o.errors, "quelvarin: file \"absent.inp\": the input file cannot be opened\n");
  EXPECT_EQ(run_in_process("").status, 2);
  EXPECT_EQ(run_in_process("     ").status, 2);
}

TEST(Driver, ArgumentIsLeftAdjustedAndCutAt30) {
  TempDir dir;
  write_file("in.inp", "OUTPUT_FILE_NAME run.log\nSECTIONS\n");
  EXPECT_EQ(run_in_process("   in.inp").status, 0);
  const std::string long_name = std::string(30, 'a');
  write_file(long_name, "OUTPUT_FILE_NAME run2.log\nSECTIONS\n");
  EXPECT_EQ(run_in_process(long_name + "bcd").status, 0);
  EXPECT_TRUE(std::filesystem::exists("run2.log"));
}

TEST(Driver, BinaryExitStatusesAndMessages) {
  TempDir dir;
  write_file("in.inp", "OUTPUT_FILE_NAME\nSECTIONS\n");
  EXPECT_EQ(testing::run_binary("in.inp"), 1);
  EXPECT_EQ(read_file("stdout.txt"), " NAME FOR OUTPUT FILE WAS NOT GIVEN, PROGRAM STOP\n");
  EXPECT_EQ(testing::run_binary("missing.inp"), 2);
  EXPECT_NE(read_file("stderr.txt").find("missing.inp"), std::string::npos);
  EXPECT_EQ(testing::run_binary(""), 2);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(InputRecord, TabsAdvanceToMultiplesOfEightAndColumnsStopAt50) {
  struct Case {
    std::string line;
    std::size_t keep;
    std::string expected;  // before padding to 50
  } cases[] = {
      {"SECTIONS\t*RDG", 50, "SECTIONS        *RDG"},
      {"ab\tc", 50, "ab      c"},
      {"\t\tx", 50, std::string(16, ' ') + "x"},
      {std::string(60, 'y'), 50, std::string(50, 'y')},
      {std::string(60, 'y'), 45, std::string(45, 'y')},
      {std::string(44, 'z') + "\tw", 45, std::string(45, 'z').replace(44, 1, " ")},
  };
  for (const Case& c : cases) {
    std::string expected = c.expected;
    expected.resize(50, ' ');
    EXPECT_EQ(input_record(c.line, c.keep), expected) << c.line;
  }
}

TEST(Driver, TabsAndCarriageReturnsInTheInputFile) {
  testing::TempDir dir;
  testing::write_file("in.inp", "OUTPUT_FILE_NAME\trun.log\r\nSECTIONS\r\n");
  auto screen = TextOutput::memory();
  auto errors = TextOutput::memory();
  EXPECT_EQ(run("in.inp", *screen, *errors), 0);
  EXPECT_TRUE(std::filesystem::exists("run.log"));  // no carriage return in the name
}

}  // namespace
}  // namespace qv
