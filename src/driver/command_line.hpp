#pragma once
// The command line of both commands: options first, each a word of its own followed by its
// value as the next word, then the operands (the input file). A table of options describes a
// command; --help and --version belong to every command.
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gridio/text_output.hpp"

namespace qv {

// What to do with an option's value: "" when it is taken, else what a good value looks like
// ("a number greater than 0"), for the message that refuses it.
using OptionTaker = std::function<std::string(std::string_view value)>;

struct CommandOption {
  std::string_view name;         // "--iso"
  std::string_view value_name;   // "VALUE" in the usage text; empty for an option without a value
  std::string_view description;  // one line
  OptionTaker take;              // for an option without a value it is called with ""
                                 // empty: taken out of the command line before it is parsed
                                 // (the thread count), listed here for the usage text only
};

struct CommandDescription {
  std::string_view program;   // "quelvarin-plot"
  std::string_view operands;  // "INPUT"
  std::string_view summary;   // what the command does, a few lines ending in a line feed
  std::vector<CommandOption> options;
};

enum class CommandAction { run, show_help, show_version, refuse };

struct ParsedCommand {
  CommandAction action = CommandAction::run;
  std::vector<std::string> operands;
  std::string message;  // why the command line is refused
};

// Reads the arguments that follow the program name. Options stop at the first word that does
// not begin with "--" (or after a lone "--"); at most `max_operands` operands may follow.
ParsedCommand parse_command_line(const CommandDescription& command,
                                 std::span<const std::string> arguments,
                                 std::size_t max_operands = 1);

// Answers --help or --version on `screen` (status 0) and a refused command line on `errors`
// (status 2); nothing when the command is to run.
std::optional<int> answer_instead_of_running(const CommandDescription& command,
                                             const ParsedCommand& parsed, TextOutput& screen,
                                             TextOutput& errors);

// The --help text: usage line, summary, one line per option.
std::string usage_text(const CommandDescription& command);
// The --version line.
std::string version_text(const CommandDescription& command);

// Takers for option tables. Reals are finite decimal numbers written in full ("0.3", "5e-2").
OptionTaker real_above(double& target, double bound);     // value > bound
OptionTaker real_at_least(double& target, double bound);  // value >= bound
OptionTaker whole_at_least(long& target, long bound);     // a whole number >= bound
OptionTaker switch_off(bool& target);                      // an option without a value

}  // namespace qv
