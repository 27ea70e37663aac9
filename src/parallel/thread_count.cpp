#include "parallel/thread_count.hpp"

#include <sched.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <thread>

namespace qv {

std::optional<int> parse_thread_count(std::string_view text) {
  int value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (text.empty() || !(*first >= '0' && *first <= '9')) return std::nullopt;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || value < 1 || value > kMaxThreads) return std::nullopt;
  return value;
}

namespace {

std::optional<long long> parse_whole(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> cpus_of_quota(long long quota, long long period) {
  if (quota <= 0 || period <= 0) return std::nullopt;
  const long long cpus = (quota + period - 1) / period;
  return static_cast<int>(std::clamp<long long>(cpus, 1, kMaxThreads));
}

std::string read_text(const std::string& path) {
  std::ifstream f(path);
  if (!f) return {};
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

void take_limit(int& cores, std::optional<int> limit) {
  if (limit) cores = std::min(cores, *limit);
}

// Every quota from the cgroup `relative` (as /proc/self/cgroup names it) up to the root.
void apply_cgroup_quotas(int& cores, const std::string& mount, std::string relative, bool v2) {
  for (;;) {
    const std::string dir = mount + relative;
    if (v2) {
      const std::string text = first_line(read_text(dir + "/cpu.max"));
      if (!text.empty()) take_limit(cores, cgroup_v2_cpu_limit(text));
    } else {
      const auto quota = parse_whole(first_line(read_text(dir + "/cpu.cfs_quota_us")));
      const auto period = parse_whole(first_line(read_text(dir + "/cpu.cfs_period_us")));
      if (quota && period) take_limit(cores, cgroup_v1_cpu_limit(*quota, *period));
    }
    if (relative.empty() || relative == "/") break;
    const std::size_t slash = relative.rfind('/');
    relative = slash == std::string::npos || slash == 0 ? std::string() : relative.substr(0, slash);
  }
}

int affinity_cores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof(set), &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return count;
  }
  const unsigned hardware = std::thread::hardware_concurrency();
  return hardware > 0 ? static_cast<int>(hardware) : 1;
}

}  // namespace

std::optional<int> cgroup_v2_cpu_limit(std::string_view cpu_max_text) {
  while (!cpu_max_text.empty() && (cpu_max_text.back() == '\n' || cpu_max_text.back() == ' '))
    cpu_max_text.remove_suffix(1);
  const std::size_t blank = cpu_max_text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view quota = cpu_max_text.substr(0, blank);
  if (quota == "max") return std::nullopt;
  const auto q = parse_whole(quota);
  const auto p = parse_whole(cpu_max_text.substr(blank + 1));
  if (!q || !p) return std::nullopt;
  return cpus_of_quota(*q, *p);
}

std::optional<int> cgroup_v1_cpu_limit(long long quota_us, long long period_us) {
  return cpus_of_quota(quota_us, period_us);
}

int available_cores() {
  int cores = std::min(affinity_cores(), kMaxThreads);
  // /proc/self/cgroup: "0::/path" for the unified (v2) hierarchy, "N:cpu,cpuacct:/path" for v1.
  std::istringstream lines(read_text("/proc/self/cgroup"));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (controllers.empty()) {
      apply_cgroup_quotas(cores, "/sys/fs/cgroup", path, true);
      apply_cgroup_quotas(cores, "/sys/fs/cgroup/unified", path, true);
    } else {
      std::istringstream names(controllers);
      for (std::string name; std::getline(names, name, ',');)
        if (name == "cpu") apply_cgroup_quotas(cores, "/sys/fs/cgroup/" + controllers, path, false);
    }
  }
  return std::max(cores, 1);
}

ThreadChoice choose_threads(const std::optional<std::string>& option_value,
                            const char* environment_value) {
  ThreadChoice choice;
  const std::string wanted = "a whole number from 1 to " + std::to_string(kMaxThreads) + " is needed";
  if (option_value) {
    if (auto n = parse_thread_count(*option_value)) {
      choice.threads = *n;
    } else {
      choice.error = "--threads: \"" + *option_value + "\" is not a thread count; " + wanted;
    }
    return choice;
  }
  if (environment_value) {
    if (auto n = parse_thread_count(environment_value)) {
      choice.threads = *n;
    } else {
      choice.error = "QUELVARIN_THREADS=\"" + std::string(environment_value) +
                     "\" is not a thread count; " + wanted;
    }
    return choice;
  }
  choice.threads = available_cores();
  return choice;
}

}  // namespace qv
