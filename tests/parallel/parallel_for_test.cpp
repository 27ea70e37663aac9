#include "parallel/parallel_for.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {
namespace {

// Restores the thread count a test changed.
class ThreadCountGuard {
 public:
  explicit ThreadCountGuard(int threads) : old_(sweep_threads()) { set_sweep_threads(threads); }
  ~ThreadCountGuard() { set_sweep_threads(old_); }

 private:
  int old_;
};

struct Partition {
  std::size_t count, grain;
  int threads;
};

class ParallelChunks : public ::testing::TestWithParam<Partition> {};

TEST_P(ParallelChunks, EveryItemOnceInChunksOfTheGrain) {
  const Partition p = GetParam();
  ThreadCountGuard guard(p.threads);
  std::vector<int> visits(p.count, 0);
  std::vector<std::atomic<int>> slot_busy(static_cast<std::size_t>(p.threads));
  std::atomic<bool> slot_shared{false}, bad_slot{false}, bad_chunk{false};
  parallel_chunks(p.count, p.grain, [&](std::size_t begin, std::size_t end, int slot) {
    if (slot < 0 || slot >= p.threads) {
      bad_slot = true;
      return;
    }
    if (slot_busy[static_cast<std::size_t>(slot)].fetch_add(1) != 0) slot_shared = true;
    // Chunks start at multiples of the grain and hold the grain, except the last.
    const std::size_t grain = p.grain == 0 ? 1 : p.grain;
    if (begin % grain != 0 || end <= begin || (end - begin != grain && end != p.count))
      bad_chunk = true;
    for (std::size_t i = begin; i < end; ++i) ++visits[i];
    slot_busy[static_cast<std::size_t>(slot)].fetch_sub(1);
  });
  EXPECT_FALSE(bad_slot);
  EXPECT_FALSE(slot_shared);
  EXPECT_FALSE(bad_chunk);
  EXPECT_EQ(std::count(visits.begin(), visits.end(), 1), static_cast<long>(p.count));
}

INSTANTIATE_TEST_SUITE_P(Partitions, ParallelChunks,
                         ::testing::Values(Partition{0, 4, 3}, Partition{1, 4, 8},
                                           Partition{7, 1, 1}, Partition{7, 0, 2},
                                           Partition{1000, 7, 2}, Partition{1000, 7, 3},
                                           Partition{1000, 1000, 8}, Partition{1001, 10, 8},
                                           Partition{5, 1, 64}));

TEST(ParallelChunks, FirstFailureInItemOrderIsRethrown) {
  for (int threads : {1, 2, 3, 8}) {
    ThreadCountGuard guard(threads);
    try {
      parallel_for(100, 1, [](std::size_t begin, std::size_t) {
        if (begin == 40 || begin == 41 || begin == 90)
          throw std::runtime_error("chunk " + std::to_string(begin));
      });
      ADD_FAILURE() << "no exception at " << threads << " threads";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "chunk 40") << threads << " threads";
    }
  }
}

TEST(ParallelChunks, PoolIsUsableAfterAFailure) {
  ThreadCountGuard guard(4);
  EXPECT_THROW(parallel_for(10, 1, [](std::size_t, std::size_t) { throw std::bad_alloc(); }),
               std::bad_alloc);
  std::vector<double> v(1000);
  parallel_for(v.size(), 16, [&](std::size_t b, std::size_t e) {
    for (std::size_t i = b; i < e; ++i) v[i] = static_cast<double>(i);
  });
  EXPECT_EQ(std::accumulate(v.begin(), v.end(), 0.0), 999.0 * 1000.0 / 2.0);
}

TEST(ParallelChunks, SweepInsideASweepRunsOnItsThread) {
  ThreadCountGuard guard(3);
  std::vector<int> cells(20 * 20, 0);
  parallel_for(20, 1, [&](std::size_t row, std::size_t) {
    parallel_chunks(20, 3, [&](std::size_t b, std::size_t e, int slot) {
      EXPECT_EQ(slot, 0);
      for (std::size_t i = b; i < e; ++i) ++cells[row * 20 + i];
    });
  });
  EXPECT_EQ(std::count(cells.begin(), cells.end(), 1), 400);
}

TEST(ParallelChunks, ThreadCountIsClampedToTheAllowedRange) {
  const int old = sweep_threads();
  set_sweep_threads(0);
  EXPECT_EQ(sweep_threads(), 1);
  set_sweep_threads(5);
  EXPECT_EQ(sweep_threads(), 5);
  set_sweep_threads(old);
}

}  // namespace
}  // namespace qv
