#pragma once
// Sequential text output to a file, standard output or memory, with its own buffer.
// Lines are written by appending text; an advancing write ends with a line feed. A write
// failure (full disk, closed stream) raises TextError naming the file.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class TextOutput {
 public:
  // Creates or overwrites `path`; raises TextError when the file cannot be created. An existing
  // file is emptied when it is opened, not written over in place: a run interrupted (Ctrl-C, a
  // kill) must leave a short file that readers refuse, never new values followed by the tail of
  // an older, longer file that would still read as a whole grid.
  static std::unique_ptr<TextOutput> create(const std::string& path);
  // Standard output (the system's stream 6).
  static std::unique_ptr<TextOutput> standard_output();
  static std::unique_ptr<TextOutput> standard_error();
  // Collects everything in memory; contents() returns it.
  static std::unique_ptr<TextOutput> memory(std::string name = "(memory)");

  ~TextOutput();  // flushes; errors at this point are swallowed, call close() to see them
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  void write(std::string_view text);
  void put(char c) {
    if (pos_ == cap_) spill();
    data_[pos_++] = c;
  }
  // Room for at least n characters; write them at the returned pointer, then commit(n).
  char* reserve(std::size_t n) {
    if (cap_ - pos_ < n) make_room(n);
    return data_ + pos_;
  }
  void commit(std::size_t n) { pos_ += n; }

  // A whole line: the text and a line feed.
  void line(std::string_view text) {
    write(text);
    put('\n');
  }

  void flush();  // raises TextError on a write failure
  void close();  // flushes and closes the file; raises TextError on failure
  const std::string& name() const { return name_; }
  const std::string& contents() const { return memory_; }  // memory outputs only

 private:
  TextOutput(std::FILE* file, bool owned, std::string name);
  void spill();
  void put_to_file(const char* text, std::size_t n);  // raises TextError on a failure
  void make_room(std::size_t n);

  std::FILE* file_ = nullptr;
  bool owned_ = false;
  bool closed_ = false;
  std::string name_;
  std::unique_ptr<char[]> buffer_;
  char* data_ = nullptr;
  std::size_t pos_ = 0;
  std::size_t cap_ = 0;
  std::string memory_;
};

}  // namespace qv
