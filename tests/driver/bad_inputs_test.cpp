// Every folder of tests/bad_inputs run through the binary: exit status and message as expected,
// and never a NaN or Infinity in a grid file written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.hpp"

namespace qv {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(QV_TEST_DATA).parent_path() / "bad_inputs";

std::vector<std::string> case_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCorpus))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

bool holds_line(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

bool holds_non_finite(const std::string& text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

class BadInput : public ::testing::TestWithParam<std::string> {};

TEST_P(BadInput, EndsAsExpected) {
  testing::TempDir dir;
  fs::copy(kCorpus / GetParam(), dir.path(), fs::copy_options::recursive);
  std::ifstream expect("expect");
  std::string word, stream, text;
  int status = -1;
  expect >> word >> status >> stream;
  std::getline(expect, text);
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);

  std::string args = "input.inp";
  if (fs::exists("args")) args = first_line(testing::read_file("args"));
  EXPECT_EQ(testing::run_binary(args), status);
  if (stream == "stdout" || stream == "stderr") {
    EXPECT_EQ(first_line(testing::read_file(stream + ".txt")), text);
  } else if (stream == "log") {
    EXPECT_TRUE(holds_line(testing::read_file("run.log"), text)) << "run log lacks: " << text;
  } else {
    ASSERT_EQ(stream, "file");
    EXPECT_TRUE(fs::exists(fs::u8path(text))) << text;
  }
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cube" && ext != ".grd" && ext != ".2D") continue;
    if (fs::exists(kCorpus / GetParam() / entry.path().filename())) continue;  // an input
    EXPECT_FALSE(holds_non_finite(testing::read_file(entry.path())))
        << entry.path().filename() << " holds NaN or Infinity";
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, BadInput, ::testing::ValuesIn(case_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qv
