#pragma once
// Ray-traced pictures of a PyMOL script, made by running PyMOL headless. PyMOL is a Python
// module: it is found by asking Python interpreters whether they can import it, Debian's own
// /usr/bin/python3 first (its pymol package installs the module there), then every python3 on
// PATH in order (a pyenv or conda interpreter may come first on PATH and lack the module).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The interpreters to ask, in order, without repeats: /usr/bin/python3, then `python3` in each
// folder of `path_variable` (the value of PATH).
std::vector<std::string> python_candidates(std::string_view path_variable);

// The first of `candidates` that exists and imports the module pymol; nothing when none does.
std::optional<std::string> find_pymol_python(const std::vector<std::string>& candidates);

struct PymolPicture {
  bool made = false;
  std::string png;     // the picture's bytes, when made
  std::string reason;  // why it was not made
};

// Runs `script` with PyMOL (through `python`) without a window and ray-traces the scene it sets
// up to a `width` x `height` PNG. An error that PyMOL reports while it runs the script, a
// picture of another size or a run longer than `limit_seconds` gives no picture.
PymolPicture render_pymol_script(const std::string& python, const std::string& script, int width,
                                 int height, double limit_seconds = 600.0);

}  // namespace qv
