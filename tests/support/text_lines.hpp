#pragma once
// A text split at its line ends (the ends themselves dropped; no empty last line for a final
// newline).
#include <string>
#include <vector>

namespace qv::testing {

inline std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

}  // namespace qv::testing
