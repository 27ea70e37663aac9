#pragma once
// A fresh temporary directory that the test runs in; removed afterwards.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qv::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvtestXXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_, old_;
};

inline void write_file(const std::filesystem::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs the built binary with `args` in the current directory; returns its exit status and
// collects standard output and standard error in the given files.
inline int run_binary(const std::string& args, const std::string& out = "stdout.txt",
                      const std::string& err = "stderr.txt") {
  const std::string cmd = std::string(QV_BINARY) + " " + args + " >" + out + " 2>" + err;
  int rc = std::system(cmd.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Runs `command` through the shell in the current directory, its standard output and error
// into out.txt and err.txt; returns its exit status.
inline int run_shell(const std::string& command) {
  const int rc = std::system((command + " >out.txt 2>err.txt").c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

}  // namespace qv::testing
