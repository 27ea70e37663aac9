#include "view/pymol_render.hpp"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "view/child_process.hpp"
#include "view/png_mark.hpp"

namespace qv {

namespace {

namespace fs = std::filesystem;

std::string file_contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// A private folder for PyMOL's picture and messages, removed when done. Its path must be one
// that a PyMOL command line can name: only plain characters.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    std::string base = fs::temp_directory_path(ec).string();
    if (ec || base.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     "0123456789/._-") != std::string::npos)
      base = "/tmp";
    std::string pattern = base + "/quelvarin-plot.XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  bool made() const { return !path_.empty(); }
  fs::path operator/(const char* name) const { return path_ / name; }

 private:
  fs::path path_;
};

// The first line of PyMOL's messages that reports an error ("Error: ...",
// "Selector-Error: ...", a Python traceback and its "...Error: ..." line), or "". PyMOL also
// echoes the script's lines, which may name files with "Error" in them: those are not errors.
std::string first_error(const std::string& messages) {
  std::istringstream lines(messages);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) continue;
    const std::string text = line.substr(start);
    const std::string first_word = text.substr(0, text.find(' '));
    if (text.starts_with("Traceback") || first_word.ends_with("Error:")) return text;
  }
  return "";
}

}  // namespace

std::vector<std::string> python_candidates(std::string_view path_variable) {
  std::vector<std::string> found{"/usr/bin/python3"};
  auto seen = [&](const std::string& p) {
    for (const std::string& f : found)
      if (f == p) return true;
    return false;
  };
  while (true) {
    const std::size_t colon = path_variable.find(':');
    std::string folder(path_variable.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/python3";
    if (!seen(candidate)) found.push_back(candidate);
    if (colon == std::string_view::npos) break;
    path_variable.remove_prefix(colon + 1);
  }
  return found;
}

std::optional<std::string> find_pymol_python(const std::vector<std::string>& candidates) {
  for (const std::string& python : candidates) {
    if (::access(python.c_str(), X_OK) != 0) continue;
    const ProgramRun run = run_program({python, "-c", "import pymol"}, "/dev/null", 60.0);
    if (run.exit_status == 0) return python;
  }
  return std::nullopt;
}

PymolPicture render_pymol_script(const std::string& python, const std::string& script, int width,
                                 int height, double limit_seconds) {
  PymolPicture picture;
  ScratchFolder scratch;
  if (!scratch.made()) {
    picture.reason = "no temporary folder could be made";
    return picture;
  }
  const fs::path png = scratch / "nci.png", messages = scratch / "pymol.txt";
  const std::string render = "png " + png.string() + ", width=" + std::to_string(width) +
                             ", height=" + std::to_string(height) + ", ray=1";
  // -c: no window, -k: no personal start-up script, -q: no greeting.
  // A relative name that begins with "-" must not read as an option of PyMOL's.
  const std::string script_path = script.starts_with('/') ? script : "./" + script;
  const ProgramRun run = run_program({python, "-m", "pymol", "-ckq", script_path, "-d", render},
                                     messages.string(), limit_seconds);
  const std::string said = file_contents(messages);
  if (!run.started) {
    picture.reason = python + " could not be started";
  } else if (run.timed_out) {
    char limit[32];
    std::snprintf(limit, sizeof limit, "%g", limit_seconds);
    picture.reason = "PyMOL was still running after " + std::string(limit) + " s and was stopped";
  } else if (const std::string error = first_error(said); !error.empty()) {
    picture.reason = "PyMOL reported: " + error;
  } else if (run.exit_status != 0) {
    picture.reason = "PyMOL ended with exit status " + std::to_string(run.exit_status);
  } else {
    picture.png = file_contents(png);
    const PngSize size = png_size(picture.png);
    if (size.width != width || size.height != height) {
      picture.reason = "PyMOL wrote no picture of " + std::to_string(width) + " x " +
                       std::to_string(height) + " pixels";
      picture.png.clear();
    } else {
      picture.made = true;
    }
  }
  return picture;
}

}  // namespace qv
