#include "gridio/line_reader.hpp"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "gridio/text_error.hpp"

namespace qv {

namespace {
constexpr std::size_t kBlock = 1 << 20;
constexpr std::uint64_t kMappedFileSize = std::uint64_t{1} << 22;  // files read in place
}

LineReader::LineReader(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), buf_(file ? kBlock : 0), data_(buf_.data()) {}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
  if (mapping_) ::munmap(mapping_, end_);
}

std::unique_ptr<LineReader> LineReader::open(const std::string& path) {
  if (path.empty()) return nullptr;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  // A directory opens, but holds no lines: it is a file that cannot be opened for reading.
  struct stat st {};
  if (::fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  auto reader = std::unique_ptr<LineReader>(new LineReader(f, path));
  // A large regular file is read where the system keeps it, without a copy: its pages come
  // in as the lines are read, on whichever thread reads them.
  if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) >= kMappedFileSize) {
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fileno(f), 0);
    if (map != MAP_FAILED) {
      ::madvise(map, size, MADV_SEQUENTIAL);
      reader->mapping_ = map;
      reader->data_ = static_cast<const char*>(map);
      reader->end_ = size;
      reader->eof_ = true;
      reader->buf_.clear();
      reader->buf_.shrink_to_fit();
      std::fclose(reader->file_);
      reader->file_ = nullptr;
    }
  }
  return reader;
}

std::unique_ptr<LineReader> LineReader::from_text(std::string text, std::string name) {
  auto r = std::unique_ptr<LineReader>(new LineReader(nullptr, std::move(name)));
  r->buf_.assign(text.begin(), text.end());
  r->data_ = r->buf_.data();
  r->end_ = r->buf_.size();
  r->eof_ = true;
  return r;
}

// Moves the unread tail to the front and reads more; grows the buffer when a line fills it.
bool LineReader::refill() {
  if (eof_ || !file_) return false;
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    base_ += begin_;
    begin_ = 0;
  }
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);
  data_ = buf_.data();
  std::size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_);
  end_ += got;
  if (got == 0) eof_ = true;
  return got > 0;
}

void LineReader::release_read_pages() {
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t keep = std::size_t{1} << 20;  // the current line and a little before it
  if (begin_ < keep) return;
  const std::size_t end = (begin_ - keep) / page * page;
  if (end <= released_) return;
  release_pages_within(std::string_view(data_ + released_, end - released_));
  released_ = end;
}

void LineReader::release_pages_within(std::string_view text) const {
  if (!mapping_ || text.empty()) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t from = static_cast<std::size_t>(text.data() - data_);
  const std::size_t begin = (from + page - 1) / page * page;
  const std::size_t end = (from + text.size()) / page * page;
  if (begin < end) ::madvise(static_cast<char*>(mapping_) + begin, end - begin, MADV_DONTNEED);
}

bool LineReader::fill(std::size_t bytes) {
  if (eof_ || !file_) return end_ - begin_ >= bytes;  // all held already (or mapped)
  while (end_ - begin_ < bytes) {
    if (buf_.size() - begin_ < bytes) {
      // Room for the whole request after the unread bytes are moved to the front.
      const std::size_t size = std::max(buf_.size(), bytes + kBlock);
      if (buf_.size() < size) buf_.resize(size);
      data_ = buf_.data();
    }
    if (!refill()) return false;
  }
  return true;
}

bool LineReader::next(std::string_view& line) {
  std::size_t scanned = begin_;
  for (;;) {
    const char* start = data_ + scanned;
    const void* nl = scanned < end_ ? std::memchr(start, '\n', end_ - scanned) : nullptr;
    if (nl) {
      std::size_t pos = static_cast<const char*>(nl) - data_;
      std::size_t len = pos - begin_;
      if (len > 0 && data_[pos - 1] == '\r') --len;
      line = std::string_view(data_ + begin_, len);
      begin_ = pos + 1;
      ++line_no_;
      if (mapping_ && begin_ - released_ > kReleaseStep) release_read_pages();
      return true;
    }
    std::size_t offset = end_ - begin_;  // bytes already searched
    if (!refill()) {
      if (begin_ == end_) return false;
      // The last line has no line feed.
      std::size_t len = end_ - begin_;
      if (data_[end_ - 1] == '\r') --len;
      line = std::string_view(data_ + begin_, len);
      begin_ = end_;
      ++line_no_;
      return true;
    }
    scanned = begin_ + offset;
  }
}

std::string_view LineReader::require(const std::string& expected) {
  std::string_view line;
  if (!next(line)) throw TextError(name_, line_no_ + 1, "end of file; expected " + expected);
  return line;
}

}  // namespace qv
