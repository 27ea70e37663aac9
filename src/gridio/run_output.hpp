#pragma once
// The two message destinations of a run: standard output (the screen) and the run log.
#include <memory>
#include <string_view>

#include "gridio/list_directed.hpp"
#include "gridio/text_output.hpp"

namespace qv {

class RunOutput {
 public:
  explicit RunOutput(TextOutput& screen) : screen_(screen) {}

  TextOutput& screen() { return screen_; }
  TextOutput& log() { return *log_; }  // the run log must be open
  bool has_log() const { return static_cast<bool>(log_); }
  void set_log(std::unique_ptr<TextOutput> log) { log_ = std::move(log); }
  std::unique_ptr<TextOutput> take_log() { return std::move(log_); }

  void to_log(const ListLine& line) { line.write_to(*log_); }
  void to_screen(const ListLine& line) { line.write_to(screen_); }
  // One text item as a list-directed line.
  void to_log(std::string_view text) { to_log(ListLine().text(text)); }
  void to_screen(std::string_view text) { to_screen(ListLine().text(text)); }

  // Flushes both; raises TextError when a write failed.
  void flush() {
    screen_.flush();
    if (log_) log_->flush();
  }

 private:
  TextOutput& screen_;
  std::unique_ptr<TextOutput> log_;
};

}  // namespace qv
