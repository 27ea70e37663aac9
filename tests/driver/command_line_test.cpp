// The command line of both commands: options before the input file, each with its value as the
// next word; --help and --version; every way a command line is refused.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/command_line.hpp"

namespace qv {
namespace {

struct Chosen {
  double iso = 0.5, threshold = 0.01;
  long count = 5;
  bool render = true;
};

CommandDescription description(Chosen& c) {
  return {"tool",
          "INPUT",
          "Does things.\n",
          {{"--iso", "VALUE", "isovalue", real_above(c.iso, 0.0)},
           {"--threshold", "T", "threshold", real_at_least(c.threshold, 0.0)},
           {"--count", "N", "count", whole_at_least(c.count, 1)},
           {"--no-render", "", "no picture", switch_off(c.render)}}};
}

TEST(CommandLine, AcceptedCommandLines) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> operands;
    double iso, threshold;
    long count;
    bool render;
  };
  const Case cases[] = {
      {{"in.inp"}, {"in.inp"}, 0.5, 0.01, 5, true},
      {{}, {}, 0.5, 0.01, 5, true},
      {{"--iso", "0.3", "in.inp"}, {"in.inp"}, 0.3, 0.01, 5, true},
      {{"--iso", "3e-1", "--iso", "+0.25", "in.inp"}, {"in.inp"}, 0.25, 0.01, 5, true},
      {{"--threshold", "0", "--count", "12", "--no-render", "x"}, {"x"}, 0.5, 0.0, 12, false},
      {{"--count", "1", "--", "--odd-name.inp"}, {"--odd-name.inp"}, 0.5, 0.01, 1, true},
      {{"-single-dash.inp"}, {"-single-dash.inp"}, 0.5, 0.01, 5, true},
  };
  for (const Case& k : cases) {
    Chosen c;
    const ParsedCommand p = parse_command_line(description(c), k.args);
    SCOPED_TRACE(k.args.empty() ? "(none)" : k.args.front());
    EXPECT_EQ(p.action, CommandAction::run) << p.message;
    EXPECT_EQ(p.operands, k.operands);
    EXPECT_EQ(c.iso, k.iso);
    EXPECT_EQ(c.threshold, k.threshold);
    EXPECT_EQ(c.count, k.count);
    EXPECT_EQ(c.render, k.render);
  }
}

TEST(CommandLine, RefusedCommandLinesSayWhy) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::string hint = " (see tool --help)";
  const Case cases[] = {
      {{"--iso", "-1", "in.inp"}, "tool: --iso needs a number greater than 0, not \"-1\""},
      {{"--iso", "0", "in.inp"}, "tool: --iso needs a number greater than 0, not \"0\""},
      {{"--iso", "abc", "in.inp"}, "tool: --iso needs a number greater than 0, not \"abc\""},
      {{"--iso", "0.3x", "in.inp"}, "tool: --iso needs a number greater than 0, not \"0.3x\""},
      {{"--iso", "inf", "in.inp"}, "tool: --iso needs a number greater than 0, not \"inf\""},
      {{"--iso", "nan", "in.inp"}, "tool: --iso needs a number greater than 0, not \"nan\""},
      {{"--iso", "", "in.inp"}, "tool: --iso needs a number greater than 0, not \"\""},
      {{"--iso"}, "tool: --iso needs a value: --iso VALUE"},
      {{"--threshold", "-0.001", "x"}, "tool: --threshold needs a number of 0 or more, not \"-0.001\""},
      {{"--count", "4.5", "x"}, "tool: --count needs a whole number of 1 or more, not \"4.5\""},
      {{"--count", "0", "x"}, "tool: --count needs a whole number of 1 or more, not \"0\""},
      {{"--count", "99999999999999999999", "x"},
       "tool: --count needs a whole number of 1 or more, not \"99999999999999999999\""},
      {{"--colour", "red", "x"}, "tool: unknown option --colour"},
      {{"--iso=0.3", "x"}, "tool: unknown option --iso=0.3"},
      {{"in.inp", "--iso", "0.3"},
       "tool: unexpected argument \"--iso\" after INPUT (options come before INPUT)"},
  };
  for (const Case& k : cases) {
    Chosen c;
    const ParsedCommand p = parse_command_line(description(c), k.args);
    EXPECT_EQ(p.action, CommandAction::refuse);
    EXPECT_EQ(p.message, k.message + hint);
    EXPECT_EQ(c.iso, 0.5) << "a refused value is not taken";
    EXPECT_EQ(c.count, 5);
  }
}

TEST(CommandLine, HelpAndVersionWinOverEverythingBefore) {
  Chosen c;
  const CommandDescription d = description(c);
  const std::vector<std::string> help = {"--iso", "0.3", "--help", "--bogus"};
  EXPECT_EQ(parse_command_line(d, help).action, CommandAction::show_help);
  const std::vector<std::string> version = {"--version", "in.inp"};
  EXPECT_EQ(parse_command_line(d, version).action, CommandAction::show_version);
  EXPECT_TRUE(version_text(d).starts_with("tool "));
  EXPECT_EQ(usage_text(d),
            "usage: tool [OPTIONS] INPUT\n\n"
            "Does things.\n\n"
            "Options (before INPUT):\n"
            "  --iso VALUE    isovalue\n"
            "  --threshold T  threshold\n"
            "  --count N      count\n"
            "  --no-render    no picture\n"
            "  --help         show this text and end\n"
            "  --version      show the version and end\n");
}

TEST(CommandLine, AnswersGoToTheirStreamsWithTheirStatus) {
  Chosen c;
  const CommandDescription d = description(c);
  struct Case {
    std::vector<std::string> args;
    std::optional<int> status;
    bool on_screen, on_errors;
  };
  const Case cases[] = {{{"--help"}, 0, true, false},
                        {{"--version"}, 0, true, false},
                        {{"--iso", "-2"}, 2, false, true},
                        {{"in.inp"}, std::nullopt, false, false}};
  for (const Case& k : cases) {
    auto screen = TextOutput::memory("screen"), errors = TextOutput::memory("errors");
    EXPECT_EQ(answer_instead_of_running(d, parse_command_line(d, k.args), *screen, *errors),
              k.status);
    EXPECT_EQ(!screen->contents().empty(), k.on_screen);
    EXPECT_EQ(!errors->contents().empty(), k.on_errors);
  }
}

}  // namespace
}  // namespace qv
