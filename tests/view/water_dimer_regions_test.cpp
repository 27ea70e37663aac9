// The bundled example as a user runs it: its hydrogen bond is the one attractive NCI region,
// between the donor's hydrogen and the acceptor's oxygen, and no region lies at the box faces.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.hpp"

namespace qv {
namespace {

using testing::read_file;
using testing::TempDir;

int run(const std::string& command) {
  const int rc = std::system((command + " >stdout.txt 2>stderr.txt").c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::vector<std::vector<std::string>> tsv_rows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::vector<std::string> fields;
    const std::string line = text.substr(start, end - start);
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
      fields.push_back(line.substr(from, tab - from));
    fields.push_back(line.substr(from));
    rows.push_back(fields);
  }
  return rows;
}

TEST(WaterDimerRegions, OneAttractiveRegionBetweenTheDonorHydrogenAndTheAcceptorOxygen) {
  const std::filesystem::path examples =
      std::filesystem::path(QV_TEST_DATA).parent_path().parent_path() / "examples";
  TempDir dir;
  ASSERT_EQ(run("python3 " + (examples / "make_water_dimer_wfn.py").string() + " water_dimer.wfn"), 0)
      << read_file("stderr.txt");
  std::filesystem::copy_file(examples / "example.inp", "example.inp");
  ASSERT_EQ(run(std::string(QV_BINARY) + " example.inp"), 0) << read_file("stderr.txt");
  ASSERT_EQ(run(std::string(QV_PLOT_BINARY) + " --no-render example.inp"), 0)
      << read_file("stderr.txt");

  const auto rows = tsv_rows(read_file("dimer_rdg_regions.tsv"));
  ASSERT_GE(rows.size(), 2u);
  ASSERT_EQ(rows[0].size(), 16u);
  ASSERT_EQ(rows[0][15], "kind");
  int attractive = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 16u);
    const std::string& kind = rows[i][15];
    EXPECT_NE(kind.back(), '*') << "region " << rows[i][0] << " lies at the box faces";
    if (kind != "attractive") continue;
    ++attractive;
    // Atoms of the example: O1 H2 H3 (the donor, H2 pointing at the other molecule), O4 H5 H6.
    EXPECT_EQ(rows[i][11], "H2");
    EXPECT_EQ(rows[i][12], "O4");
    const double x = std::stod(rows[i][8]);
    EXPECT_GT(x, 1.809);  // between the hydrogen (x = 1.809) and the oxygen (x = 5.5)
    EXPECT_LT(x, 5.5);
  }
  EXPECT_EQ(attractive, 1);
  // The screen shows the same table.
  const std::string screen = read_file("stdout.txt");
  EXPECT_NE(screen.find("region  points"), std::string::npos) << screen;
  EXPECT_NE(screen.find("attractive"), std::string::npos);
}

}  // namespace
}  // namespace qv
