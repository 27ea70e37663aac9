#include "view/own_output.hpp"

#include <sys/stat.h>

#include <cstdio>

namespace qv {

bool free_or_ours(const std::string& path, std::string_view mark) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return true;  // nothing there
  // A link is followed only to a regular file; anything else (directory, device) is not ours.
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char head[512];
  const std::size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return std::string_view(head, n).find(mark) != std::string_view::npos;
}

std::unique_ptr<TextOutput> create_own_output(const std::string& path, std::string_view mark) {
  if (!free_or_ours(path, mark)) return nullptr;
  return TextOutput::create(path);
}

}  // namespace qv
