#pragma once
// The program's own stops. A stop is raised after its message lines have been written; it
// unwinds to main(), which flushes every open output and exits with the carried status.
// Readers and jobs raise it instead of ending the process, so they can be tested in-process.
#include <cstddef>
#include <stdexcept>
#include <string>

namespace qv {

struct ProgramStop {
  int status = 1;  // 1 for every stop on a detected error
};

[[noreturn]] inline void program_stop(int status = 1) { throw ProgramStop{status}; }

// An allocation that cannot be satisfied, detected before it is attempted.
class OutOfMemory : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kOutOfMemoryStatus = 3;

// Bytes of memory the system can still give us (MemAvailable), or a very large number when
// that cannot be told; never more than the cap below.
std::size_t available_memory_bytes();

// Caps what available_memory_bytes() reports (fuzzing and tests run under a memory budget).
void cap_available_memory(std::size_t bytes);

}  // namespace qv
