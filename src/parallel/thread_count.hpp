#pragma once
// How many threads the grid sweeps use: all the cores this process may run on (its CPU
// affinity and its cgroup CPU quota, not only the machine's count) unless the user chooses.
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The largest thread count a user may ask for; more is surely a typing error.
inline constexpr int kMaxThreads = 1024;

// A thread count as the user writes it: a whole number from 1 to kMaxThreads, nothing else
// (no sign, no blanks, no unit). Returns nothing for anything else.
std::optional<int> parse_thread_count(std::string_view text);

// Whole CPUs granted by a cgroup quota: v2 "cpu.max" text ("max 100000" or "150000 100000"),
// or v1 quota and period in microseconds. A fractional share is rounded up (1.5 CPUs of quota
// keep two threads busy part of the time); no limit gives nothing.
std::optional<int> cgroup_v2_cpu_limit(std::string_view cpu_max_text);
std::optional<int> cgroup_v1_cpu_limit(long long quota_us, long long period_us);

// The cores this process may use now: affinity mask, then every cgroup quota on the way from
// the process's own cgroup to the root; at least 1.
int available_cores();

// The user's choice from the command line (`--threads N`, empty when not given) or else from
// the environment variable QUELVARIN_THREADS (unset: the available cores). A bad value gives
// an error message naming where it came from, and no count.
struct ThreadChoice {
  int threads = 1;
  std::string error;  // empty when the choice is good
};
ThreadChoice choose_threads(const std::optional<std::string>& option_value,
                            const char* environment_value);

}  // namespace qv
