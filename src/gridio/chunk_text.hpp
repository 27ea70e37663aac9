#pragma once
// Text written in chunks on the sweep threads and put out in chunk order: the bytes are those
// of one thread writing the chunks one after the other.
#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "gridio/text_output.hpp"
#include "parallel/parallel_for.hpp"

namespace qv {

// A growing text buffer with TextOutput's reserve/commit interface, so that one renderer
// writes into either.
class ChunkText {
 public:
  char* reserve(std::size_t n) {
    if (capacity_ - size_ < n) grow(size_ + n);
    return data_.get() + size_;
  }
  void commit(std::size_t n) { size_ += n; }
  void write(std::string_view text) {
    std::copy(text.begin(), text.end(), reserve(text.size()));
    commit(text.size());
  }
  std::string_view text() const { return std::string_view(data_.get(), size_); }
  void clear() { size_ = 0; }

 private:
  void grow(std::size_t needed) {
    const std::size_t capacity = std::max(needed, capacity_ + capacity_ / 2);
    std::unique_ptr<char[]> bigger(new char[capacity]);
    std::copy_n(data_.get(), size_, bigger.get());
    data_ = std::move(bigger);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0, capacity_ = 0;
};

// Text made in chunks on the sweep threads and written in order as soon as it is complete,
// with no pause of all threads between windows. Consecutive chunks form groups of `group`
// chunks (the last may be shorter), each written at once: render(chunk, buffer, slot) makes
// chunk `chunk` into the caller's buffer number `buffer` (chunk modulo window_groups x group),
// and emit(g, first_buffer) writes group g from buffers first_buffer .. first_buffer + group - 1,
// on one thread at a time, group after group. A thread that would run more than
// `window_groups` groups ahead of the writing waits for it. A failure of a render or an emit
// stops the rest, and is raised as one thread would raise it.
template <class Render, class Emit>
void render_and_emit(std::size_t chunks, std::size_t group, std::size_t window_groups,
                     Render&& render, Emit&& emit) {
  const std::size_t buffers = group * window_groups;
  const std::size_t groups = (chunks + group - 1) / group;
  auto chunks_in = [&](std::size_t g) { return std::min(group, chunks - g * group); };
  std::mutex mutex;
  std::condition_variable progress;
  std::size_t next_group = 0;                          // the first group not yet written
  std::vector<std::size_t> made(window_groups, 0);     // chunks made, per group in the window
  bool writing = false, failed = false;
  parallel_chunks(chunks, 1, [&](std::size_t chunk, std::size_t, int slot) {
    const std::size_t g = chunk / group;
    {
      std::unique_lock lock(mutex);
      progress.wait(lock, [&] { return failed || g < next_group + window_groups; });
      if (failed) return;
    }
    try {
      render(chunk, chunk % buffers, slot);
    } catch (...) {
      std::lock_guard lock(mutex);
      failed = true;
      progress.notify_all();
      throw;
    }
    std::unique_lock lock(mutex);
    ++made[g % window_groups];
    if (writing) return;  // the thread writing takes this chunk's group when it comes to it
    writing = true;
    while (next_group < groups && made[next_group % window_groups] == chunks_in(next_group)) {
      const std::size_t ready = next_group;
      lock.unlock();
      try {
        emit(ready, ready % window_groups * group);
      } catch (...) {
        lock.lock();
        failed = true;
        writing = false;
        progress.notify_all();
        throw;
      }
      lock.lock();
      made[ready % window_groups] = 0;
      ++next_group;
      progress.notify_all();
    }
    writing = false;
  });
}

// Calls render(chunk, sink, slot) for chunks 0 .. chunks-1, where `sink` is `out` itself on one
// thread, or else a ChunkText that is written to `out` in chunk order while later chunks are
// made (two chunks per thread held at once). `slot` is the thread's slot, as for
// parallel_chunks.
template <class Render>
void write_chunks_in_order(TextOutput& out, std::size_t chunks, Render&& render) {
  const std::size_t threads = static_cast<std::size_t>(sweep_threads());
  if (threads == 1 || chunks <= 1) {
    for (std::size_t c = 0; c < chunks; ++c) render(c, out, 0);
    return;
  }
  const std::size_t window = 2 * threads;  // chunks held at once
  std::vector<ChunkText> texts(window);
  render_and_emit(
      chunks, 1, window,
      [&](std::size_t chunk, std::size_t buffer, int slot) {
        texts[buffer].clear();
        render(chunk, texts[buffer], slot);
      },
      [&](std::size_t, std::size_t buffer) { out.write(texts[buffer].text()); });
}

}  // namespace qv
