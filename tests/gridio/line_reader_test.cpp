// A large file is read where the system keeps it; pages given back come in again unchanged.
#include <gtest/gtest.h>

#include <string>

#include "gridio/line_reader.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

std::string numbered_lines(std::size_t bytes) {
  std::string text;
  for (std::size_t i = 0; text.size() < bytes; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

TEST(LineReader, PagesGivenBackReadTheSameAgain) {
  testing::TempDir dir;
  struct Case {
    const char* label;
    std::size_t bytes;
    bool mapped;
  };
  for (const Case& c : {Case{"small, read into a buffer", 300000, false},
                        Case{"large, mapped", 6000000, true}}) {
    SCOPED_TRACE(c.label);
    const std::string text = numbered_lines(c.bytes);
    testing::write_file("file.txt", text);
    auto in = LineReader::open("file.txt");
    ASSERT_TRUE(in);
    EXPECT_EQ(in->mapped(), c.mapped);
    ASSERT_TRUE(in->fill(text.size()));
    const std::string_view held = in->buffered();
    ASSERT_EQ(held, text);
    // Stretches that start and end inside pages, and one of less than a page.
    in->release_pages_within(held.substr(5000, text.size() / 2));
    in->release_pages_within(held.substr(text.size() * 3 / 4, 100));
    in->release_pages_within(held.substr(text.size() - 9000));
    EXPECT_EQ(in->buffered(), text);
    std::string_view line;
    ASSERT_TRUE(in->next(line));
    EXPECT_EQ(line, "line 0");
  }
}

}  // namespace
}  // namespace qv
