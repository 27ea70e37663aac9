#pragma once
// Whether two names designate the same existing file (through any path or link), so that an
// output is never opened over one of the run's own inputs.
#include <sys/stat.h>

#include <string>

namespace qv {

inline bool same_existing_file(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace qv
