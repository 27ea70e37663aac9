#include "driver/run_command.hpp"

#include "driver/command_line.hpp"
#include "driver/run.hpp"
#include "driver/thread_option.hpp"

namespace qv {

namespace {

constexpr std::string_view kSummary =
    "Runs the jobs that the input file INPUT switches on (WFN: properties of a wavefunction on a\n"
    "grid; TOP: TOPOND grids to cube files; RDG: the non-covalent-interaction analysis) and\n"
    "writes the run log that INPUT names. quelvarin-plot INPUT then draws the results.\n";

CommandDescription run_description() {
  return {"quelvarin", "INPUT", kSummary, {thread_option_row()}};
}

}  // namespace

int run_command(std::span<const std::string> arguments, TextOutput& screen, TextOutput& errors) {
  const CommandDescription command = run_description();
  const ParsedCommand parsed = parse_command_line(command, arguments);
  if (const auto status = answer_instead_of_running(command, parsed, screen, errors)) return *status;
  return run(parsed.operands.empty() ? "" : parsed.operands.front(), screen, errors);
}

}  // namespace qv
