#pragma once
// The one failure type of the text layer: a file that cannot be opened or created, an end of
// file where a read needs a line, a malformed number. main() prints it and exits with status 2.
#include <stdexcept>
#include <string>

namespace qv {

class TextError : public std::runtime_error {
 public:
  // line 0 means "no particular line" (for example a file that cannot be created).
  TextError(std::string file, long line, std::string expected);

  const std::string& file() const { return file_; }
  long line() const { return line_; }
  const std::string& expected() const { return expected_; }

 private:
  std::string file_;
  long line_;
  std::string expected_;
};

// Exit status of a text-layer failure.
inline constexpr int kTextErrorStatus = 2;

}  // namespace qv
