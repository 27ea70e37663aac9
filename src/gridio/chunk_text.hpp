#pragma once
// Text written in chunks on the sweep threads and put out in chunk order: the bytes are those
// of one thread writing the chunks one after the other.
#include <algorithm>
#include <cstddef>
#include <memory>
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

// Text made in windows of chunks, written while the next window is made: render(chunk, set,
// slot) makes chunk `chunk` into buffers of buffer set `set` (0 or 1) that the caller keeps,
// and emit(first, count, set) writes chunks [first, first + count) from set `set`, on one
// thread at a time and in chunk order. A window is `window` chunks; the two sets alternate.
// A failure of a render or of an emit is raised as one thread would raise it.
template <class Render, class Emit>
void render_and_emit(std::size_t chunks, std::size_t window, Render&& render, Emit&& emit) {
  std::size_t previous = 0;  // chunks of the window before, waiting to be written
  for (std::size_t w = 0, first = 0;; ++w, first += window) {
    const std::size_t count = first < chunks ? std::min(window, chunks - first) : 0;
    const std::size_t lead = previous > 0 ? 1 : 0;  // item 0 writes the window before
    if (count + lead == 0) break;
    parallel_chunks(count + lead, 1, [&](std::size_t item, std::size_t, int slot) {
      if (item < lead)
        emit(first - window, previous, (w + 1) % 2);
      else
        render(first + item - lead, w % 2, slot);
    });
    previous = count;
  }
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
  const std::size_t window = threads;
  std::vector<ChunkText> texts(2 * window);
  render_and_emit(
      chunks, window,
      [&](std::size_t chunk, std::size_t set, int slot) {
        ChunkText& text = texts[set * window + chunk % window];
        text.clear();
        render(chunk, text, slot);
      },
      [&](std::size_t first, std::size_t count, std::size_t set) {
        for (std::size_t c = first; c < first + count; ++c)
          out.write(texts[set * window + c % window].text());
      });
}

}  // namespace qv
