#include "parallel/parallel_for.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "parallel/thread_count.hpp"

namespace qv {

namespace {

// One sweep in progress: chunks are claimed through `next_chunk`; the first failing chunk in
// item order keeps its exception.
struct Sweep {
  std::size_t count = 0, grain = 1, chunks = 0;
  parallel_detail::ChunkCall call = nullptr;
  void* body = nullptr;
  std::atomic<std::size_t> next_chunk{0};
  std::atomic<std::size_t> failed_chunk{std::numeric_limits<std::size_t>::max()};
  std::mutex error_mutex;
  std::exception_ptr error;

  void work(int slot) {
    for (;;) {
      const std::size_t chunk = next_chunk.fetch_add(1, std::memory_order_relaxed);
      // Chunks past a failure are not started: one thread would never have reached them.
      if (chunk >= chunks || chunk > failed_chunk.load(std::memory_order_relaxed)) return;
      const std::size_t begin = chunk * grain;
      const std::size_t end = std::min(count, begin + grain);
      try {
        call(body, begin, end, slot);
      } catch (...) {
        std::lock_guard lock(error_mutex);
        if (chunk < failed_chunk.load(std::memory_order_relaxed)) {
          failed_chunk.store(chunk, std::memory_order_relaxed);
          error = std::current_exception();
        }
      }
    }
  }
};

thread_local bool inside_sweep = false;

// Sweeps often follow one another within microseconds (a block of a file parsed, then moved
// into the grid, then the next block); a thread put to sleep and woken again costs tens of
// microseconds in a virtual machine. So a waiting thread first watches for a while, and sleeps
// only when nothing comes.
constexpr std::chrono::microseconds kWatchBeforeSleep{200};

// Returns true as soon as ready() does, or false after kWatchBeforeSleep.
template <class Ready>
bool watch(Ready&& ready) {
  const auto until = std::chrono::steady_clock::now() + kWatchBeforeSleep;
  for (;;) {
    for (int i = 0; i < 64; ++i) {
      if (ready()) return true;
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    }
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::yield();  // where threads outnumber cores, let a working one run
  }
}

class ThreadPool {
 public:
  ~ThreadPool() { resize(1); }

  int threads() {
    std::lock_guard lock(sweep_mutex_);
    if (threads_ == 0) threads_ = available_cores();
    return threads_;
  }

  void resize(int threads) {
    std::lock_guard sweep_lock(sweep_mutex_);
    stop_workers();
    threads_ = threads;
  }

  void run(Sweep& sweep) {
    std::unique_lock sweep_lock(sweep_mutex_, std::try_to_lock);
    // A sweep inside a sweep, or one started while another thread runs one, stays on its thread.
    if (inside_sweep || !sweep_lock.owns_lock()) {
      sweep.work(0);
      return;
    }
    if (threads_ == 0) threads_ = available_cores();
    const int helpers = static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(threads_ - 1), sweep.chunks - 1));
    if (helpers <= 0) {
      inside_sweep = true;
      sweep.work(0);
      inside_sweep = false;
      return;
    }
    start_workers(threads_ - 1);
    {
      std::lock_guard lock(mutex_);
      current_ = &sweep;
      helpers_wanted_ = helpers;
      busy_.store(helpers, std::memory_order_relaxed);
      generation_.fetch_add(1, std::memory_order_release);
    }
    wake_.notify_all();
    inside_sweep = true;
    sweep.work(0);
    inside_sweep = false;
    watch([this] { return busy_.load(std::memory_order_acquire) == 0; });
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return busy_.load(std::memory_order_relaxed) == 0; });
    current_ = nullptr;
  }

 private:
  void start_workers(int count) {
    std::lock_guard lock(mutex_);
    while (static_cast<int>(workers_.size()) < count) {
      // A new worker waits for the next sweep, not for one that is already over.
      const int slot = static_cast<int>(workers_.size()) + 1;
      const std::uint64_t seen = generation_.load(std::memory_order_relaxed);
      workers_.emplace_back([this, slot, seen] { worker_loop(slot, seen); });
    }
  }

  void stop_workers() {
    {
      std::lock_guard lock(mutex_);
      stopping_.store(true, std::memory_order_relaxed);
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
    workers_.clear();
    std::lock_guard lock(mutex_);
    stopping_.store(false, std::memory_order_relaxed);
  }

  void worker_loop(int slot, std::uint64_t seen) {
    inside_sweep = true;
    auto news = [&] {
      return stopping_.load(std::memory_order_acquire) || generation_.load(std::memory_order_acquire) != seen;
    };
    for (;;) {
      watch(news);
      std::unique_lock lock(mutex_);
      wake_.wait(lock, news);
      if (stopping_.load(std::memory_order_relaxed)) return;
      seen = generation_.load(std::memory_order_relaxed);
      if (slot > helpers_wanted_) continue;  // this sweep has fewer chunks than threads
      Sweep* sweep = current_;
      lock.unlock();
      sweep->work(slot);
      lock.lock();
      if (busy_.fetch_sub(1, std::memory_order_acq_rel) == 1) done_.notify_one();
    }
  }

  std::mutex sweep_mutex_;  // one sweep at a time uses the workers
  int threads_ = 0;         // 0: not chosen yet

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::vector<std::thread> workers_;
  Sweep* current_ = nullptr;
  int helpers_wanted_ = 0;
  // Changed under mutex_; read without it only while watching for a change.
  std::atomic<int> busy_{0};
  std::atomic<std::uint64_t> generation_{0};
  std::atomic<bool> stopping_{false};
};

ThreadPool& pool() {
  static ThreadPool instance;
  return instance;
}

}  // namespace

int sweep_threads() { return pool().threads(); }

void set_sweep_threads(int threads) { pool().resize(std::clamp(threads, 1, kMaxThreads)); }

namespace parallel_detail {

void run_chunks(std::size_t count, std::size_t grain, ChunkCall call, void* body) {
  if (count == 0) return;
  Sweep sweep;
  sweep.count = count;
  sweep.grain = std::max<std::size_t>(grain, 1);
  sweep.chunks = (count + sweep.grain - 1) / sweep.grain;
  sweep.call = call;
  sweep.body = body;
  pool().run(sweep);
  if (sweep.error) std::rethrow_exception(sweep.error);
}

}  // namespace parallel_detail

}  // namespace qv
