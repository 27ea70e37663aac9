#include "gridio/text_error.hpp"

namespace qv {

namespace {
std::string compose(const std::string& file, long line, const std::string& expected) {
  std::string msg = "file \"" + file + "\"";
  if (line > 0) msg += ", line " + std::to_string(line);
  msg += ": " + expected;
  return msg;
}
}  // namespace

TextError::TextError(std::string file, long line, std::string expected)
    : std::runtime_error(compose(file, line, expected)),
      file_(std::move(file)),
      line_(line),
      expected_(std::move(expected)) {}

}  // namespace qv
