#pragma once
// Runs of grid values read in place on the sweep threads. In a file where every run of values
// takes the same whole lines (as the programs that write these files lay them out), run k
// starts k times the run's length after the first: the runs can be cut apart before any value
// is read, and read at once. Each is read by the same code, and gives the same values, as when
// read alone; a run that is not laid out so is left to the general reader.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gridio/line_reader.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

// The length of one run in the file, learnt from the text of a first run.
struct RunShape {
  std::size_t bytes = 0;  // 0: not known
  long lines = 0;
};

namespace whole_runs_detail {
inline constexpr std::size_t kBatchBytes = std::size_t{8} << 20;  // text held at once
inline constexpr std::size_t kRunsPerChunk = 16;
}  // namespace whole_runs_detail

// Lowers `least` to `k` unless it holds less already, whatever other threads store meanwhile:
// the first failing item of a sweep, found by several threads at once.
inline void keep_least(std::atomic<std::size_t>& least, std::size_t k) {
  std::size_t now = least.load(std::memory_order_relaxed);
  while (k < now && !least.compare_exchange_weak(now, k, std::memory_order_relaxed)) {
  }
}

// Reads up to `runs` runs of `shape` from the start of in.buffered() (reading the file on as
// needed): parse(text, k) reads run k from its text and returns false unless the text is
// exactly such a run. Stops before the first run that is not, or that the file does not hold
// whole; the reader is moved past the runs read, which are returned. Runs after the first
// failing one may have been parsed too: the caller reads them again.
template <class ParseRun>
std::size_t read_whole_runs(LineReader& in, std::size_t runs, const RunShape& shape,
                            ParseRun&& parse) {
  using namespace whole_runs_detail;
  if (shape.bytes == 0) return 0;
  const std::size_t batch = std::max<std::size_t>(1, kBatchBytes / shape.bytes);
  std::size_t done = 0;
  while (done < runs) {
    const std::size_t wanted = std::min(batch, runs - done);
    in.fill(wanted * shape.bytes);
    const std::string_view text = in.buffered();
    const std::size_t held = std::min(wanted, text.size() / shape.bytes);
    if (held == 0) break;
    std::atomic<std::size_t> first_bad{held};
    parallel_for(held, kRunsPerChunk, [&](std::size_t begin, std::size_t end) {
      for (std::size_t k = begin; k < end && k < first_bad.load(std::memory_order_relaxed); ++k) {
        if (parse(text.substr(k * shape.bytes, shape.bytes), done + k)) continue;
        keep_least(first_bad, k);
        return;
      }
    });
    const std::size_t good = first_bad.load();
    in.consume(good * shape.bytes, static_cast<long>(good) * shape.lines);
    done += good;
    if (good < held) break;
  }
  return done;
}

}  // namespace qv
