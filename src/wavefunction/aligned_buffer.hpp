#pragma once
// A zero-filled array of doubles on a 64-byte boundary, so vector loads of padded rows never
// straddle cache lines.
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace qv {

class AlignedBuffer {
 public:
  AlignedBuffer() = default;
  explicit AlignedBuffer(std::size_t n) { resize(n); }

  void resize(std::size_t n) {
    data_.reset(n ? static_cast<double*>(::operator new[](n * sizeof(double), std::align_val_t(64)))
                  : nullptr);
    size_ = n;
    zero();
  }
  void zero() {
    if (size_) std::memset(data_.get(), 0, size_ * sizeof(double));
  }
  double* data() { return data_.get(); }
  const double* data() const { return data_.get(); }
  std::size_t size() const { return size_; }
  double& operator[](std::size_t i) { return data_[i]; }
  double operator[](std::size_t i) const { return data_[i]; }

 private:
  struct Free {
    void operator()(double* p) const { ::operator delete[](p, std::align_val_t(64)); }
  };
  std::unique_ptr<double[], Free> data_;
  std::size_t size_ = 0;
};

}  // namespace qv
