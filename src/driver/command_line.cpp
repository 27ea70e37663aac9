#include "driver/command_line.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "gridio/text_error.hpp"

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace qv {

namespace {

const CommandOption* find_option(const CommandDescription& command, std::string_view name) {
  for (const CommandOption& option : command.options)
    if (option.name == name) return &option;
  return nullptr;
}

ParsedCommand refused(const CommandDescription& command, std::string text) {
  ParsedCommand parsed;
  parsed.action = CommandAction::refuse;
  parsed.message = std::string(command.program) + ": " + text + " (see " +
                   std::string(command.program) + " --help)";
  return parsed;
}

// The whole word as a finite number, or nothing.
bool whole_word_number(std::string_view word, double& value) {
  if (word.size() > 1 && word[0] == '+' && word[1] != '-') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  return error == std::errc() && stop == end && std::isfinite(value);
}

std::string shown(double bound) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", bound);
  return text;
}

}  // namespace

ParsedCommand parse_command_line(const CommandDescription& command,
                                 std::span<const std::string> arguments,
                                 std::size_t max_operands) {
  ParsedCommand parsed;
  std::size_t k = 0;
  for (; k < arguments.size(); ++k) {
    const std::string& word = arguments[k];
    if (word == "--") {
      ++k;
      break;
    }
    if (!word.starts_with("--")) break;
    if (word == "--help") return ParsedCommand{CommandAction::show_help, {}, {}};
    if (word == "--version") return ParsedCommand{CommandAction::show_version, {}, {}};
    const CommandOption* option = find_option(command, word);
    if (!option) return refused(command, "unknown option " + word);
    std::string_view value;
    if (!option->value_name.empty()) {
      if (k + 1 == arguments.size())
        return refused(command, word + " needs a value: " + word + " " +
                                    std::string(option->value_name));
      value = arguments[++k];
    }
    const std::string wanted = option->take ? option->take(value) : "";
    if (!wanted.empty())
      return refused(command, word + " needs " + wanted + ", not \"" + std::string(value) + "\"");
  }
  for (; k < arguments.size(); ++k) {
    if (parsed.operands.size() == max_operands)
      return refused(command, "unexpected argument \"" + arguments[k] + "\" after " +
                                  std::string(command.operands) + " (options come before " +
                                  std::string(command.operands) + ")");
    parsed.operands.push_back(arguments[k]);
  }
  return parsed;
}

std::optional<int> answer_instead_of_running(const CommandDescription& command,
                                             const ParsedCommand& parsed, TextOutput& screen,
                                             TextOutput& errors) {
  const bool to_screen = parsed.action != CommandAction::refuse;
  try {
    switch (parsed.action) {
      case CommandAction::run: return std::nullopt;
      case CommandAction::show_help: screen.write(usage_text(command)); break;
      case CommandAction::show_version: screen.write(version_text(command)); break;
      case CommandAction::refuse: errors.line(parsed.message); break;
    }
    (to_screen ? screen : errors).flush();
  } catch (const TextError&) {
    return kTextErrorStatus;
  }
  return to_screen ? 0 : kTextErrorStatus;
}

std::string usage_text(const CommandDescription& command) {
  std::string text = "usage: " + std::string(command.program) + " [OPTIONS] " +
                     std::string(command.operands) + "\n\n" + std::string(command.summary) +
                     "\nOptions (before " + std::string(command.operands) + "):\n";
  std::vector<std::pair<std::string, std::string_view>> rows;
  for (const CommandOption& option : command.options) {
    std::string left = std::string(option.name);
    if (!option.value_name.empty()) left += " " + std::string(option.value_name);
    rows.emplace_back(left, option.description);
  }
  rows.emplace_back("--help", "show this text and end");
  rows.emplace_back("--version", "show the version and end");
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  for (const auto& [left, description] : rows)
    text += "  " + left + std::string(width - left.size() + 2, ' ') + std::string(description) +
            "\n";
  return text;
}

std::string version_text(const CommandDescription& command) {
  return std::string(command.program) + " " + QV_VERSION + "\n";
}

OptionTaker real_above(double& target, double bound) {
  return [&target, bound](std::string_view word) -> std::string {
    double value = 0.0;
    if (!whole_word_number(word, value) || !(value > bound))
      return "a number greater than " + shown(bound);
    target = value;
    return "";
  };
}

OptionTaker real_at_least(double& target, double bound) {
  return [&target, bound](std::string_view word) -> std::string {
    double value = 0.0;
    if (!whole_word_number(word, value) || !(value >= bound))
      return "a number of " + shown(bound) + " or more";
    target = value;
    return "";
  };
}

OptionTaker whole_at_least(long& target, long bound) {
  return [&target, bound](std::string_view word) -> std::string {
    long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || stop != end || word.empty() || value < bound)
      return "a whole number of " + std::to_string(bound) + " or more";
    target = value;
    return "";
  };
}

OptionTaker switch_off(bool& target) {
  return [&target](std::string_view) -> std::string {
    target = false;
    return "";
  };
}

}  // namespace qv
