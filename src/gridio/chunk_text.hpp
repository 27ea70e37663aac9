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

// Calls render(chunk, sink, slot) for chunks 0 .. chunks-1, where `sink` is `out` itself on one
// thread, or else a ChunkText that is written to `out` in chunk order, as many chunks at a time
// as there are threads (so the text held at once is one chunk's per thread). `slot` is the
// thread's slot, as for parallel_chunks. A failure of a renderer or of a write is raised as one
// thread would raise it; the chunks before it are written.
template <class Render>
void write_chunks_in_order(TextOutput& out, std::size_t chunks, Render&& render) {
  const std::size_t threads = static_cast<std::size_t>(sweep_threads());
  if (threads == 1 || chunks <= 1) {
    for (std::size_t c = 0; c < chunks; ++c) render(c, out, 0);
    return;
  }
  std::vector<ChunkText> texts(threads);
  std::vector<char> rendered(threads);
  for (std::size_t first = 0; first < chunks; first += threads) {
    const std::size_t count = std::min(threads, chunks - first);
    std::fill(rendered.begin(), rendered.end(), 0);
    try {
      parallel_chunks(count, 1, [&](std::size_t c, std::size_t, int slot) {
        texts[c].clear();
        render(first + c, texts[c], slot);
        rendered[c] = 1;
      });
    } catch (...) {
      // What one thread would have written before the failing chunk still reaches the file.
      for (std::size_t c = 0; c < count && rendered[c]; ++c) out.write(texts[c].text());
      throw;
    }
    for (std::size_t c = 0; c < count; ++c) out.write(texts[c].text());
  }
}

}  // namespace qv
