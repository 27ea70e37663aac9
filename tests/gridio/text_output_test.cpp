// An output file holds exactly what was written, whatever the file held before.
#include "gridio/text_output.hpp"

#include <gtest/gtest.h>

#include <string>

#include "gridio/text_error.hpp"
#include "support/temp_dir.hpp"

namespace qv {
namespace {

TEST(TextOutput, OverwrittenFilesHoldOnlyTheNewText) {
  testing::TempDir dir;
  const std::string big(3 << 20, 'o');  // more than the output buffer holds
  struct Case {
    const char* name;
    std::string before;  // empty: no file yet
    std::string text;
  };
  const Case cases[] = {
      {"new file", "", "line one\nline two\n"},
      {"longer old file", std::string(5000, 'x') + "\n", "short\n"},
      {"shorter old file", "a\n", big + "\n"},
      {"same length", "0123456789\n", "abcdefghij\n"},
      {"nothing written over a file", "old text\n", ""},
      {"large over large", big + big, big},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.before.empty()) testing::write_file("out.txt", c.before);
    {
      auto out = TextOutput::create("out.txt");
      out->write(c.text);
      out->close();
    }
    EXPECT_EQ(testing::read_file("out.txt"), c.text);
    // Without close(), the destructor ends the file the same way.
    { TextOutput::create("out.txt")->write("tail?"); }
    EXPECT_EQ(testing::read_file("out.txt"), "tail?");
    std::remove("out.txt");
  }
}

// A run killed while it writes (Ctrl-C) never closes its outputs: what is on disk at any moment
// must be a prefix of the new text, never new text followed by the rest of an older file.
TEST(TextOutput, InterruptedWritesLeaveNoOlderTail) {
  testing::TempDir dir;
  testing::write_file("out.txt", std::string(1 << 20, 'o') + "\n");
  auto out = TextOutput::create("out.txt");
  EXPECT_EQ(testing::read_file("out.txt"), "") << "the old text outlives the open";
  out->write(std::string(3 << 18, 'n'));  // more than the buffer: part of it reaches the file
  out->flush();
  EXPECT_EQ(testing::read_file("out.txt"), std::string(3 << 18, 'n'));
}

// Short texts are gathered in the buffer, long ones go to the file at once: the file holds them
// in the order written either way.
TEST(TextOutput, ShortAndLongTextsKeepTheirOrder) {
  testing::TempDir dir;
  const std::size_t lengths[] = {5, 70000, 3, 1 << 18, 1, 65535, 65536, 200000, 7, 0, 300000};
  auto out = TextOutput::create("out.txt");
  std::string expected;
  char fill = 'a';
  for (std::size_t n : lengths) {
    const std::string text(n, fill++);
    out->write(text);
    out->put('\n');
    expected += text + "\n";
  }
  out->close();
  EXPECT_EQ(testing::read_file("out.txt"), expected);
  EXPECT_THROW(out->write(std::string(300000, 'x')), TextError) << "a long write after close";
  EXPECT_THROW({ out->write("short"); out->flush(); }, TextError) << "a short write after close";
}

TEST(TextOutput, AFullDiskIsAnError) {
  for (std::size_t n : {std::size_t{10}, std::size_t{100000}}) {
    auto out = TextOutput::create("/dev/full");
    EXPECT_THROW({ out->write(std::string(n, 'x')); out->flush(); }, TextError) << n;
  }
}

TEST(TextOutput, FilesThatAreNotRegularAreWrittenAsTheyAre) {
  auto out = TextOutput::create("/dev/null");
  out->write("nothing to keep\n");
  EXPECT_NO_THROW(out->close());
  testing::TempDir dir;
  EXPECT_THROW(TextOutput::create("no_such_folder/out.txt"), TextError);
}

}  // namespace
}  // namespace qv
