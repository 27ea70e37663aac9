#include "view/child_process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace qv {

namespace {

// The spawn's file actions, released whatever happens.
struct FileActions {
  posix_spawn_file_actions_t actions;
  FileActions() { posix_spawn_file_actions_init(&actions); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
};

ProgramRun ended(int wait_status, bool timed_out) {
  ProgramRun run;
  run.started = true;
  run.timed_out = timed_out;
  if (WIFEXITED(wait_status)) run.exit_status = WEXITSTATUS(wait_status);
  return run;
}

}  // namespace

ProgramRun run_program(const std::vector<std::string>& argv, const std::string& output_path,
                       double limit_seconds) {
  if (argv.empty()) return {};
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  FileActions files;
  posix_spawn_file_actions_addopen(&files.actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files.actions, 1, output_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&files.actions, 1, 2);
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], &files.actions, nullptr, args.data(), environ) != 0) return {};

  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::duration<double>(limit_seconds);
  int wait_status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &wait_status, WNOHANG);
    if (done == pid) return ended(wait_status, false);
    if (done < 0) return ProgramRun{true, false, -1};
    if (Clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid, SIGKILL);  // the one process we started, by its id
  ::waitpid(pid, &wait_status, 0);
  return ended(wait_status, true);
}

}  // namespace qv
