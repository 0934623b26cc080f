#ifndef PLATFORM_PIXIO_READER_H
#define PLATFORM_PIXIO_READER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pixio {

/// A bounded cursor over bytes in memory. Every read checks the remaining
/// length; a read past the end fails, leaves the output zeroed and sets the
/// reader's failed state, so a decoder can test once after a run of reads.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Size() const { return size_; }
  size_t Position() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  bool Eof() const { return pos_ >= size_; }
  bool Failed() const { return failed_; }
  const uint8_t* Data() const { return data_; }
  const uint8_t* Here() const { return data_ + pos_; }

  /// Moves to an absolute offset; false (and failed) past the end.
  bool Seek(size_t offset) {
    if (offset > size_) return Fail();
    pos_ = offset;
    return true;
  }
  bool Skip(size_t count) {
    if (count > Remaining()) return Fail();
    pos_ += count;
    return true;
  }
  bool Read(void* out, size_t count) {
    if (count > Remaining()) {
      if (count) std::memset(out, 0, count);
      return Fail();
    }
    if (count) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
  }
  uint8_t U8() {
    uint8_t v = 0;
    Read(&v, 1);
    return v;
  }
  uint16_t U16LE() {
    uint8_t b[2];
    Read(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  uint16_t U16BE() {
    uint8_t b[2];
    Read(b, 2);
    return static_cast<uint16_t>((b[0] << 8) | b[1]);
  }
  uint32_t U32LE() {
    uint8_t b[4];
    Read(b, 4);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  }
  uint32_t U32BE() {
    uint8_t b[4];
    Read(b, 4);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
  }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

/// A growing byte buffer for encoders, with little- and big-endian writers.
/// It appends to a vector of its own, or straight to an encoder's output so a
/// large file is not held twice.
class Writer {
 public:
  Writer() : bytes_(&own_) {}
  explicit Writer(std::vector<uint8_t>* target) : bytes_(target) {}
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  std::vector<uint8_t>& Bytes() { return *bytes_; }
  size_t Size() const { return bytes_->size(); }
  void Put(const void* data, size_t count) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_->insert(bytes_->end(), p, p + count);
  }
  void U8(unsigned v) { bytes_->push_back(static_cast<uint8_t>(v)); }
  void U16LE(unsigned v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32LE(uint32_t v) {
    U16LE(v & 0xFFFF);
    U16LE(v >> 16);
  }
  void Fill(uint8_t value, size_t count) { bytes_->insert(bytes_->end(), count, value); }
  /// Overwrites 4 bytes at `offset` (which must already exist).
  void PatchU32LE(size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*bytes_)[offset + i] = static_cast<uint8_t>(v >> (8 * i));
  }

 private:
  std::vector<uint8_t> own_;
  std::vector<uint8_t>* bytes_;
};

/// Largest file the library reads into memory: 1 GB in a 32-bit process (the
/// file, the picture and its DIB must fit 4 GB together), 16 GB in a 64-bit one.
#if SIZE_MAX > 0xFFFFFFFFu
constexpr size_t kMaxFileBytes = size_t(1) << 34;
#else
constexpr size_t kMaxFileBytes = size_t(1) << 30;
#endif

/// Reads a whole file; false when it cannot be opened, read or is too large.
bool LoadFile(const char* path, std::vector<uint8_t>* out);

/// Writes `bytes` to a temporary file in the folder of `path`, then moves it
/// over `path`. On any failure the temporary file is removed and an existing
/// file at `path` keeps its contents.
bool SaveFileSafely(const char* path, const std::vector<uint8_t>& bytes);

/// The lower-cased extension of a path without its dot ("" when none).
std::string LowerExtension(const char* path);

}  // namespace pixio

#endif  // PLATFORM_PIXIO_READER_H
