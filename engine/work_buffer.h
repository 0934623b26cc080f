#ifndef ENGINE_WORK_BUFFER_H
#define ENGINE_WORK_BUFFER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine_dib.h"

namespace seam {

/// A locked working array of `count` plain values in one engine block
/// (AllocateBlock), freed at the end of its scope. Ok() is false when the
/// block could not be had; the array is then empty.
template <typename T>
class WorkBuffer {
 public:
  WorkBuffer() = default;
  explicit WorkBuffer(size_t count) { Reset(count); }
  ~WorkBuffer() { Free(); }
  WorkBuffer(const WorkBuffer&) = delete;
  WorkBuffer& operator=(const WorkBuffer&) = delete;
  WorkBuffer(WorkBuffer&& other) noexcept { Swap(other); }
  WorkBuffer& operator=(WorkBuffer&& other) noexcept {
    if (this != &other) {
      Free();
      Swap(other);
    }
    return *this;
  }

  /// Replaces the content by `count` uninitialised values; false on failure.
  bool Reset(size_t count) {
    Free();
    if (count == 0) count = 1;
    if (count > SIZE_MAX / sizeof(T)) return false;  // a 32-bit size_t would wrap
    block_ = AllocateBlock(count * sizeof(T));
    if (!block_) return false;
    data_ = static_cast<T*>(GlobalLock(block_));
    if (!data_) {
      GlobalFree(block_);
      block_ = nullptr;
      return false;
    }
    size_ = count;
    return true;
  }
  /// Sets every value to `value`.
  void Fill(const T& value) {
    for (size_t i = 0; i < size_; ++i) data_[i] = value;
  }
  bool Ok() const { return data_ != nullptr; }
  size_t Size() const { return size_; }
  T* Data() const { return data_; }
  T& operator[](size_t i) const { return data_[i]; }

 private:
  void Free() {
    if (block_) {
      GlobalUnlock(block_);
      GlobalFree(block_);
    }
    block_ = nullptr;
    data_ = nullptr;
    size_ = 0;
  }
  void Swap(WorkBuffer& other) {
    HGLOBAL b = block_;
    T* d = data_;
    size_t s = size_;
    block_ = other.block_;
    data_ = other.data_;
    size_ = other.size_;
    other.block_ = b;
    other.data_ = d;
    other.size_ = s;
  }

  HGLOBAL block_ = nullptr;
  T* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace seam

#endif  // ENGINE_WORK_BUFFER_H
