#include "driver/thread_option.hpp"

#include <cstdlib>
#include <optional>

#include "parallel/parallel_for.hpp"
#include "parallel/thread_count.hpp"

namespace qv {

bool take_thread_option(std::vector<std::string>& arguments, const char* program,
                        TextOutput& errors) {
  static const std::string kOption = "--threads";
  std::optional<std::string> value;
  std::string error;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == kOption) {
      if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        error = "--threads: a thread count must follow";
      }
    } else if (a.rfind(kOption + "=", 0) == 0) {
      value = a.substr(kOption.size() + 1);
    } else {
      rest.push_back(a);
    }
  }
  ThreadChoice choice;
  if (error.empty()) {
    choice = choose_threads(value, std::getenv("QUELVARIN_THREADS"));
    error = choice.error;
  }
  if (!error.empty()) {
    errors.line(std::string(program) + ": " + error);
    errors.flush();
    return false;
  }
  arguments = std::move(rest);
  set_sweep_threads(choice.threads);
  return true;
}

CommandOption thread_option_row() {
  return {"--threads", "N", "threads (default: QUELVARIN_THREADS, else all cores we may use)",
          nullptr};
}

}  // namespace qv
