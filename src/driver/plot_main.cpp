// quelvarin-plot INPUT: pictures and a VMD script for the results of the run that INPUT describes.
#include <string>

#include "driver/plot_command.hpp"
#include "gridio/text_output.hpp"

int main(int argc, char** argv) {
  auto screen = qv::TextOutput::standard_output();
  auto errors = qv::TextOutput::standard_error();
  const std::string argument = argc > 1 ? argv[1] : "";
  return qv::plot_command(argument, *screen, *errors);
}
