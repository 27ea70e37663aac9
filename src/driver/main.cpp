// quelvarin [OPTIONS] INPUT: runs the jobs that the input file switches on.
#include <string>
#include <vector>

#include "driver/run_command.hpp"
#include "gridio/text_output.hpp"

int main(int argc, char** argv) {
  auto screen = qv::TextOutput::standard_output();
  auto errors = qv::TextOutput::standard_error();
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return qv::run_command(arguments, *screen, *errors);
}
