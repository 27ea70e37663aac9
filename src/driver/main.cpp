// quelvarin INPUT: runs the jobs that the input file switches on.
#include <string>

#include "driver/run.hpp"
#include "gridio/text_output.hpp"

int main(int argc, char** argv) {
  auto screen = qv::TextOutput::standard_output();
  auto errors = qv::TextOutput::standard_error();
  const std::string argument = argc > 1 ? argv[1] : "";
  int status = qv::run(argument, *screen, *errors);
  return status;
}
