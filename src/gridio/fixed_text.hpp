#pragma once
// Fixed-width, blank-padded names. A name is set left-adjusted (leading blanks moved to the end)
// and keeps its full width; an output name is its stem without trailing blanks plus a suffix.
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

inline std::string blank_text(std::size_t width) { return std::string(width, ' '); }

// `src` cut or blank-padded to `width`, then left-adjusted.
inline std::string left_adjust(std::string_view src, std::size_t width) {
  std::string_view s = src.substr(0, width);
  std::size_t first = s.find_first_not_of(' ');
  std::string out = first == std::string_view::npos ? std::string() : std::string(s.substr(first));
  out.resize(width, ' ');
  return out;
}

// Without trailing blanks.
inline std::string trimmed(std::string_view s) {
  std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

inline bool is_blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace qv
