// quelvarin-plot [OPTIONS] INPUT: pictures and viewer scripts for the results of the run that
// INPUT describes.
#include <string>
#include <vector>

#include "view/plot_command.hpp"
#include "driver/thread_option.hpp"
#include "gridio/text_output.hpp"

int main(int argc, char** argv) {
  auto screen = qv::TextOutput::standard_output();
  auto errors = qv::TextOutput::standard_error();
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (!qv::take_thread_option(arguments, "quelvarin-plot", *errors)) return 2;
  return qv::plot_command(arguments, *screen, *errors);
}
