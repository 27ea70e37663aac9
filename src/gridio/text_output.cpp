#include "gridio/text_output.hpp"

#include <cstring>

#include "gridio/text_error.hpp"

namespace qv {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
constexpr std::size_t kDirectWrite = 1 << 16;  // text this long is handed to the file as it is
}

TextOutput::TextOutput(std::FILE* file, bool owned, std::string name)
    : file_(file), owned_(owned), name_(std::move(name)), buffer_(new char[kBufferSize]),
      data_(buffer_.get()), cap_(kBufferSize) {}

TextOutput::~TextOutput() {
  try {
    close();
  } catch (...) {
  }
}

std::unique_ptr<TextOutput> TextOutput::create(const std::string& path) {
  std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
  if (!f) throw TextError(path, 0, "cannot create this output file");
  return std::unique_ptr<TextOutput>(new TextOutput(f, true, path));
}

std::unique_ptr<TextOutput> TextOutput::standard_output() {
  return std::unique_ptr<TextOutput>(new TextOutput(stdout, false, "standard output"));
}

std::unique_ptr<TextOutput> TextOutput::standard_error() {
  return std::unique_ptr<TextOutput>(new TextOutput(stderr, false, "standard error"));
}

std::unique_ptr<TextOutput> TextOutput::memory(std::string name) {
  return std::unique_ptr<TextOutput>(new TextOutput(nullptr, false, std::move(name)));
}

void TextOutput::spill() {
  if (pos_ == 0) return;
  if (closed_) {
    pos_ = 0;
    throw TextError(name_, 0, "write after the file was closed");
  }
  const std::size_t n = pos_;
  pos_ = 0;  // also when the write fails: the text is not offered twice
  if (file_) {
    put_to_file(data_, n);
  } else {
    memory_.append(data_, n);
  }
}

void TextOutput::put_to_file(const char* text, std::size_t n) {
  if (std::fwrite(text, 1, n, file_) != n)
    throw TextError(name_, 0, "write failed (disk full or output closed)");
}

void TextOutput::make_room(std::size_t n) {
  spill();
  if (n > cap_) {
    buffer_.reset(new char[n]);
    data_ = buffer_.get();
    cap_ = n;
  }
}

void TextOutput::write(std::string_view text) {
  if (cap_ - pos_ < text.size()) {
    // Long text (a chunk made on the sweep threads) goes to the file as it is, without a copy
    // into the buffer first.
    if (file_ && text.size() >= kDirectWrite) {
      spill();
      if (closed_) throw TextError(name_, 0, "write after the file was closed");
      put_to_file(text.data(), text.size());
      return;
    }
    make_room(text.size());
  }
  std::memcpy(data_ + pos_, text.data(), text.size());
  pos_ += text.size();
}

void TextOutput::flush() {
  spill();
  if (file_ && std::fflush(file_) != 0)
    throw TextError(name_, 0, "write failed (disk full or output closed)");
}

void TextOutput::close() {
  if (closed_) return;
  flush();
  if (file_ && owned_) {
    std::FILE* f = file_;
    closed_ = true;
    if (std::fclose(f) != 0) throw TextError(name_, 0, "write failed when closing the file");
  }
}

}  // namespace qv
