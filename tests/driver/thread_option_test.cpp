// The thread-count option of both commands: --threads N on the command line, or
// QUELVARIN_THREADS; a bad value ends the command with exit status 2 before anything is read.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/temp_dir.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

int shell(const std::string& command) { return testing::run_shell(command); }

const char* kWanted = "a whole number from 1 to 1024 is needed";

TEST(ThreadOption, BadValuesEndBothCommandsWithStatus2) {
  TempDir dir;
  // An input that would write its run log: a refused thread count must stop before it.
  write_file("run.inp", "title\nOUTPUT_FILE_NAME run.log\nSECTIONS\n");
  struct Case {
    std::string environment, arguments, message;
  };
  const Case cases[] = {
      {"", "--threads 0 run.inp", "--threads: \"0\" is not a thread count; "},
      {"", "run.inp --threads=-3", "--threads: \"-3\" is not a thread count; "},
      {"", "run.inp --threads two", "--threads: \"two\" is not a thread count; "},
      {"", "--threads=1025 run.inp", "--threads: \"1025\" is not a thread count; "},
      {"", "run.inp --threads", "--threads: a thread count must follow"},
      {"QUELVARIN_THREADS=0", "run.inp", "QUELVARIN_THREADS=\"0\" is not a thread count; "},
      {"QUELVARIN_THREADS=", "run.inp", "QUELVARIN_THREADS=\"\" is not a thread count; "},
      {"QUELVARIN_THREADS=lots", "run.inp", "QUELVARIN_THREADS=\"lots\" is not a thread count; "},
  };
  for (const Case& c : cases) {
    for (const std::string program : {"quelvarin", "quelvarin-plot"}) {
      const std::string binary = program == "quelvarin" ? QV_BINARY : QV_PLOT_BINARY;
      const std::string command = "env -u QUELVARIN_THREADS " + c.environment + " " + binary +
                                  " " + c.arguments;
      EXPECT_EQ(shell(command), 2) << command;
      const std::string err = read_file("err.txt");
      EXPECT_EQ(err.rfind(program + ": " + c.message, 0), 0u) << command << "\n" << err;
      if (c.message.back() == ' ') {
        EXPECT_NE(err.find(kWanted), std::string::npos) << err;
      }
      EXPECT_FALSE(std::filesystem::exists("run.log")) << command;
    }
  }
}

TEST(ThreadOption, GoodValuesRunAndTheOptionWinsOverTheEnvironment) {
  TempDir dir;
  write_file("run.inp", "title\nOUTPUT_FILE_NAME run.log\nSECTIONS\n");
  const std::string binary = QV_BINARY;
  const std::string commands[] = {
      binary + " --threads 3 run.inp",
      binary + " run.inp --threads=1",
      "QUELVARIN_THREADS=bad " + binary + " --threads 2 run.inp",
      "QUELVARIN_THREADS=8 " + binary + " run.inp",
  };
  for (const std::string& command : commands) {
    std::filesystem::remove("run.log");
    EXPECT_EQ(shell(command), 0) << command << "\n" << read_file("err.txt");
    EXPECT_NE(read_file("run.log").find("NO JOB HAS BEEN ASSIGNED TO THE PROGRAM!!"),
              std::string::npos)
        << command;
  }
}

}  // namespace
}  // namespace qv
