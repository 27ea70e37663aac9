#include "parallel/thread_count.hpp"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

TEST(ParseThreadCount, WholeNumbersInRangeOnly) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"1", 1},       {"8", 8},           {"1024", 1024},    {"0008", 8},
      {"0", {}},      {"1025", {}},       {"-2", {}},        {"+2", {}},
      {"", {}},       {" 4", {}},         {"4 ", {}},        {"4x", {}},
      {"abc", {}},    {"2.0", {}},        {"99999999999999999999", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_thread_count(c.text), c.expected) << c.text;
}

TEST(CgroupLimits, QuotaRoundedUpToWholeCpus) {
  struct Case {
    const char* cpu_max;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"max 100000", {}},        {"max 100000\n", {}},    {"200000 100000", 2},
      {"150000 100000\n", 2},    {"50000 100000", 1},     {"100000 100000", 1},
      {"12800000 100000", 128},  {"garbage", {}},         {"", {}},
      {"0 100000", {}},          {"100000 0", {}},        {"x 100000", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(cgroup_v2_cpu_limit(c.cpu_max), c.expected) << c.cpu_max;
  EXPECT_EQ(cgroup_v1_cpu_limit(-1, 100000), std::nullopt);
  EXPECT_EQ(cgroup_v1_cpu_limit(250000, 100000), 3);
  EXPECT_EQ(cgroup_v1_cpu_limit(100000, 100000), 1);
}

TEST(AvailableCores, WithinTheAllowedRange) {
  const int cores = available_cores();
  EXPECT_GE(cores, 1);
  EXPECT_LE(cores, kMaxThreads);
}

TEST(ChooseThreads, OptionBeforeEnvironmentBeforeDefault) {
  EXPECT_EQ(choose_threads(std::string("3"), "5").threads, 3);
  EXPECT_EQ(choose_threads(std::nullopt, "5").threads, 5);
  EXPECT_EQ(choose_threads(std::nullopt, nullptr).threads, available_cores());
  const ThreadChoice bad_option = choose_threads(std::string("0"), "5");
  EXPECT_EQ(bad_option.error,
            "--threads: \"0\" is not a thread count; a whole number from 1 to 1024 is needed");
  const ThreadChoice bad_environment = choose_threads(std::nullopt, "all");
  EXPECT_EQ(bad_environment.error,
            "QUELVARIN_THREADS=\"all\" is not a thread count; a whole number from 1 to 1024 is "
            "needed");
  // A good option wins over a bad environment value.
  EXPECT_TRUE(choose_threads(std::string("2"), "bad").error.empty());
}

}  // namespace
}  // namespace qv
