// The quelvarin-plot binary: its argument and the input file it is given.
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

int run_plot(const std::string& args) {
  const std::string cmd = std::string(QV_PLOT_BINARY) + " " + args + " >out.txt 2>err.txt";
  const int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(PlotCommand, BinaryReportsBadInputFiles) {
  TempDir dir;
  EXPECT_EQ(run_plot("missing.inp"), 2);
  EXPECT_NE(read_file("err.txt").find("\"missing.inp\": the input file cannot be opened"),
            std::string::npos);
  EXPECT_EQ(run_plot(""), 1);
  EXPECT_NE(read_file("err.txt").find("usage: quelvarin-plot INPUT"), std::string::npos);
  // An input whose RDG job is off: nothing to draw, and the run log it names is left alone.
  write_file("run.inp", "title\nOUTPUT_FILE_NAME run.log\nSECTIONS *WFN\n");
  write_file("run.log", "the log of the run\n");
  EXPECT_NE(run_plot("run.inp"), 0);
  EXPECT_EQ(read_file("run.log"), "the log of the run\n");
}

}  // namespace
}  // namespace qv
