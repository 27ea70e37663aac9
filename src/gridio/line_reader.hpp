#pragma once
// Sequential reader of a text file, line by line, that knows its file name and line number.
// Lines are returned without their line feed and without a carriage return before it; a last
// line without a line feed is still a line. Reads in large blocks: no allocation per line.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class LineReader {
 public:
  // Opens an existing file; returns nullptr when it cannot be opened.
  static std::unique_ptr<LineReader> open(const std::string& path);
  // A reader over text held in memory (tests, fuzzing, internal files); `name` is used in messages.
  static std::unique_ptr<LineReader> from_text(std::string text, std::string name);

  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, valid until the next call. Returns false at end of file (or a read error).
  bool next(std::string_view& line);
  // The next line; at end of file raises TextError naming the file, the line that would have
  // been read and `expected`.
  std::string_view require(const std::string& expected);

  // The unread bytes already held: whole lines, perhaps followed by the start of one more (or,
  // at the end of the file, a last line without a line feed). Valid until the next read.
  std::string_view buffered() const {
    return std::string_view(data_ + begin_, end_ - begin_);
  }
  // Passes over the first `bytes` of buffered(), which end with a line feed and hold `lines`
  // lines: as many next() calls would.
  void consume(std::size_t bytes, long lines) {
    begin_ += bytes;
    line_no_ += lines;
    if (mapping_ && begin_ - released_ > kReleaseStep) release_read_pages();
  }

  // Reads on until buffered() holds at least `bytes` bytes; false when the file ends first.
  bool fill(std::size_t bytes);
  // True when the whole file is mapped: fill() then costs nothing, however much is asked for.
  bool mapped() const { return mapping_ != nullptr; }
  // Gives back the mapped file's pages that lie wholly within `text`, a part of buffered() that
  // is read and not needed soon (they come back if touched). Safe on any thread; does nothing
  // unless the file is mapped.
  void release_pages_within(std::string_view text) const;
  // Offset in the file of the first unread byte.
  std::uint64_t position() const { return base_ + begin_; }

  const std::string& name() const { return name_; }
  // Number of the line last returned (1 for the first line); 0 before any read.
  long line_number() const { return line_no_; }

 private:
  LineReader(std::FILE* file, std::string name);
  bool refill();
  // A mapped file's pages well behind the reading position leave this process's memory (the
  // system still holds them; they come back if touched).
  void release_read_pages();
  // Few releases: each one stops every thread of the process for the system's page tables.
  static constexpr std::size_t kReleaseStep = std::size_t{32} << 20;

  std::FILE* file_ = nullptr;
  std::string name_;
  std::vector<char> buf_;
  const char* data_ = nullptr;  // the text: buf_'s, or the file's pages where it is mapped
  void* mapping_ = nullptr;     // the whole file, mapped read-only, or null
  std::size_t released_ = 0;    // mapped bytes before this offset were given back
  std::size_t begin_ = 0;  // first unread byte in data_
  std::size_t end_ = 0;    // one past the last valid byte in data_
  std::uint64_t base_ = 0;  // offset in the file of data_[0]
  bool eof_ = false;
  long line_no_ = 0;
};

}  // namespace qv
