#include "album_item.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

namespace vmd {

namespace {

constexpr int kThumbLimit = 70;  // a photo with both sides under this keeps its size
constexpr int kThumbSide = 69;

size_t Stride(uint32_t width, uint32_t bits) { return ((size_t{width} * bits + 31) / 32) * 4; }

/// The photo's pixels as 24-bit colours, one pixel at a time.
class PixelSource {
 public:
  bool Open(const uint8_t* block, size_t size) {
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    std::memcpy(&header_, block, sizeof header_);
    const uint32_t headerSize = header_.biSize;
    if (headerSize < 40 || headerSize > size) return false;
    if (header_.biWidth <= 0 || header_.biHeight <= 0 || header_.biWidth > 0xFFFF ||
        header_.biHeight > 0xFFFF)
      return false;
    bits_ = header_.biBitCount;
    size_t at = headerSize;
    if (bits_ <= 8) {
      if (bits_ != 1 && bits_ != 4 && bits_ != 8) return false;
      if (header_.biCompression != BI_RGB) return false;
      uint32_t colours = header_.biClrUsed != 0 ? header_.biClrUsed : 1u << bits_;
      if (colours > 256u) colours = 256u;
      if (at + size_t{colours} * 4 > size) return false;
      palette_.assign(block + at, block + at + size_t{colours} * 4);
      at += size_t{colours} * 4;
    } else if (bits_ == 16 || bits_ == 32) {
      if (header_.biCompression == BI_BITFIELDS) {
        // Masks follow a 40-byte header; larger headers carry them inside.
        const size_t maskAt = headerSize == 40 ? at : 40;
        if (maskAt + 12 > size) return false;
        for (int k = 0; k < 3; ++k) masks_[k] = ReadU32(block, maskAt + 4 * k);
        if (headerSize == 40) at += 12;
      } else if (header_.biCompression == BI_RGB) {
        if (bits_ == 16) {
          masks_[0] = 0x7C00; masks_[1] = 0x03E0; masks_[2] = 0x001F;
        } else {
          masks_[0] = 0xFF0000; masks_[1] = 0x00FF00; masks_[2] = 0x0000FF;
        }
      } else {
        return false;
      }
      for (int k = 0; k < 3; ++k) {
        shifts_[k] = 0;
        if (masks_[k] == 0) continue;
        while (((masks_[k] >> shifts_[k]) & 1u) == 0) ++shifts_[k];
      }
    } else if (bits_ != 24 || header_.biCompression != BI_RGB) {
      return false;
    }
    stride_ = Stride(static_cast<uint32_t>(header_.biWidth), bits_);
    if (at > size || stride_ * static_cast<size_t>(header_.biHeight) > size - at) return false;
    pixels_ = block + at;
    return true;
  }

  int Width() const { return header_.biWidth; }
  int Height() const { return header_.biHeight; }
  int Bits() const { return bits_; }
  const BITMAPINFOHEADER& Header() const { return header_; }

  /// Blue, green, red of stored pixel (x, y).
  void Colour(int x, int y, uint8_t bgr[3]) const {
    const uint8_t* row = pixels_ + stride_ * static_cast<size_t>(y);
    if (bits_ <= 8) {
      const int perByte = 8 / bits_;
      const int shift = 8 - bits_ * (x % perByte + 1);
      const size_t index = (row[x / perByte] >> shift) & ((1 << bits_) - 1);
      if (4 * index + 2 < palette_.size()) {
        std::memcpy(bgr, &palette_[4 * index], 3);
      } else {
        bgr[0] = bgr[1] = bgr[2] = 0;  // an index past a short colour table
      }
      return;
    }
    if (bits_ == 24) {
      std::memcpy(bgr, row + 3 * size_t(x), 3);
      return;
    }
    const uint32_t pixel = bits_ == 16 ? ReadU16(row, 2 * size_t(x)) : ReadU32(row, 4 * size_t(x));
    for (int k = 0; k < 3; ++k) {
      const uint32_t full = masks_[k] >> shifts_[k];
      const uint32_t value = (pixel & masks_[k]) >> shifts_[k];
      bgr[2 - k] = full == 0 ? 0 : static_cast<uint8_t>((value * 255 + full / 2) / full);
    }
  }

 private:
  BITMAPINFOHEADER header_{};
  int bits_ = 0;
  std::vector<uint8_t> palette_;
  uint32_t masks_[3] = {0, 0, 0};
  int shifts_[3] = {0, 0, 0};
  size_t stride_ = 0;
  const uint8_t* pixels_ = nullptr;
};

/// Locks a block for the life of the object.
class Locked {
 public:
  explicit Locked(HGLOBAL block)
      : block_(block), bytes_(block ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr),
        size_(bytes_ ? GlobalSize(block) : 0) {}
  ~Locked() {
    if (bytes_) GlobalUnlock(block_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  uint8_t* bytes() const { return bytes_; }
  size_t size() const { return size_; }

 private:
  HGLOBAL block_;
  uint8_t* bytes_;
  size_t size_;
};

}  // namespace

void AlbumThumbnailSize(int width, int height, int* thumbWidth, int* thumbHeight) {
  const int larger = width > height ? width : height;
  if (larger < kThumbLimit) {
    *thumbWidth = width;
    *thumbHeight = height;
    return;
  }
  const int other = width > height ? height : width;
  int scaled = static_cast<int>((int64_t{other} * kThumbSide + larger / 2) / larger);
  if (scaled < 1) scaled = 1;
  *thumbWidth = width >= height ? kThumbSide : scaled;
  *thumbHeight = width >= height ? scaled : kThumbSide;
}

bool ReadPhotoFileFacts(const std::string& path, PhotoFileFacts* facts) {
  *facts = PhotoFileFacts{};
#if defined(_WIN32)
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  facts->size = data.nFileSizeLow;
  const FILETIME& when = data.ftCreationTime.dwHighDateTime != 0 ? data.ftCreationTime
                                                                  : data.ftLastWriteTime;
  const uint64_t ticks = (uint64_t{when.dwHighDateTime} << 32) | when.dwLowDateTime;
  const uint64_t kTicksTo1970 = 116444736000000000ull;  // 100 ns steps from 1601 to 1970
  facts->time = ticks > kTicksTo1970 ? static_cast<uint32_t>((ticks - kTicksTo1970) / 10000000) : 0;
  return true;
#else
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return false;
  facts->size = static_cast<uint32_t>(status.st_size);
  facts->time = static_cast<uint32_t>(status.st_mtime);  // no creation time here
  return true;
#endif
}

HGLOBAL MakeAlbumItemFromFacts(HGLOBAL photo, const std::string& path, const std::string& typeText,
                               uint16_t value0, uint16_t value1, uint16_t value2,
                               const PhotoFileFacts& facts) {
  AlbumRecord record{};
  if (!record.SetPath(path)) return nullptr;
  Locked source(photo);
  PixelSource pixels;
  if (source.bytes() == nullptr || !pixels.Open(source.bytes(), source.size())) return nullptr;

  int thumbWidth = 0, thumbHeight = 0;
  AlbumThumbnailSize(pixels.Width(), pixels.Height(), &thumbWidth, &thumbHeight);
  const size_t stride = Stride(static_cast<uint32_t>(thumbWidth), 24);
  const size_t dataLength = 40 + stride * static_cast<size_t>(thumbHeight);

  WriteU32(record.bytes, 0, facts.size);
  WriteU32(record.bytes, 4, facts.time);
  record.SetTypeText(typeText);
  WriteU16(record.bytes, 152, value0);
  WriteU16(record.bytes, 154, value1);
  WriteU16(record.bytes, 156, value2);
  WriteU16(record.bytes, 266, static_cast<uint16_t>(pixels.Bits()));
  WriteU16(record.bytes, 268, static_cast<uint16_t>(pixels.Width()));
  WriteU16(record.bytes, 270, static_cast<uint16_t>(pixels.Height()));
  WriteU16(record.bytes, 276, static_cast<uint16_t>(thumbWidth));
  WriteU16(record.bytes, 278, static_cast<uint16_t>(thumbHeight));
  WriteU32(record.bytes, kPalmDataLengthField, static_cast<uint32_t>(dataLength));

  HGLOBAL item = GlobalAlloc(GHND, kAlbumRecordSize + dataLength);
  if (item == nullptr) return nullptr;
  Locked target(item);
  uint8_t* out = target.bytes();
  std::memcpy(out, record.bytes, kAlbumRecordSize);
  BITMAPINFOHEADER header{};
  header.biSize = 40;
  header.biWidth = thumbWidth;
  header.biHeight = thumbHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(dataLength - 40);
  header.biXPelsPerMeter = pixels.Header().biXPelsPerMeter;
  header.biYPelsPerMeter = pixels.Header().biYPelsPerMeter;
  std::memcpy(out + kAlbumRecordSize, &header, 40);
  uint8_t* rows = out + kAlbumRecordSize + 40;
  for (int y = 0; y < thumbHeight; ++y) {
    const int sy = static_cast<int>(int64_t{y} * pixels.Height() / thumbHeight);
    uint8_t* row = rows + stride * static_cast<size_t>(y);
    for (int x = 0; x < thumbWidth; ++x)
      pixels.Colour(static_cast<int>(int64_t{x} * pixels.Width() / thumbWidth), sy, row + 3 * x);
  }
  return item;
}

HGLOBAL MakeAlbumItem(HGLOBAL photo, const std::string& path, const std::string& typeText,
                      uint16_t value0, uint16_t value1, uint16_t value2) {
  PhotoFileFacts facts;
  ReadPhotoFileFacts(path, &facts);
  return MakeAlbumItemFromFacts(photo, path, typeText, value0, value1, value2, facts);
}

HGLOBAL MakeAlbumItemFromRecord(const AlbumRecord& record, const uint8_t* data, size_t length) {
  HGLOBAL item = GlobalAlloc(GMEM_MOVEABLE, kAlbumRecordSize + length);
  if (item == nullptr) return nullptr;
  Locked target(item);
  std::memcpy(target.bytes(), record.bytes, kAlbumRecordSize);
  WriteU32(target.bytes(), kPalmDataLengthField, static_cast<uint32_t>(length));
  if (length > 0) std::memcpy(target.bytes() + kAlbumRecordSize, data, length);
  return item;
}

HGLOBAL CopyAlbumItem(HGLOBAL item) {
  if (item == nullptr) return nullptr;
  Locked block(item);
  if (block.bytes() == nullptr || block.size() < kAlbumRecordSize) return nullptr;
  // The block may be larger than asked for; the record says how much is data.
  const size_t length = ReadU32(block.bytes(), kPalmDataLengthField);
  if (length > block.size() - kAlbumRecordSize) return nullptr;
  AlbumRecord record;
  std::memcpy(record.bytes, block.bytes(), kAlbumRecordSize);
  return MakeAlbumItemFromRecord(record, block.bytes() + kAlbumRecordSize, length);
}

bool ReadItemRecord(HGLOBAL item, AlbumRecord* record) {
  Locked block(item);
  if (block.bytes() == nullptr || block.size() < kAlbumRecordSize) return false;
  std::memcpy(record->bytes, block.bytes(), kAlbumRecordSize);
  return true;
}

bool WriteItemRecord(HGLOBAL item, const AlbumRecord& record) {
  Locked block(item);
  if (block.bytes() == nullptr || block.size() < kAlbumRecordSize) return false;
  const uint32_t length = ReadU32(block.bytes(), kPalmDataLengthField);
  std::memcpy(block.bytes(), record.bytes, kAlbumRecordSize);
  WriteU32(block.bytes(), kPalmDataLengthField, length);
  return true;
}

HGLOBAL ItemThumbnailDib(HGLOBAL item) {
  Locked block(item);
  if (block.bytes() == nullptr || block.size() < kAlbumRecordSize) return nullptr;
  const uint8_t* fields = block.bytes();
  const size_t length = ReadU32(fields, kPalmDataLengthField);
  if (length > block.size() - kAlbumRecordSize || length < 40) return nullptr;
  const uint8_t* data = fields + kAlbumRecordSize;
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, 40);
  if (header.biSize != 40 || header.biBitCount != 24 || header.biCompression != BI_RGB ||
      header.biPlanes != 1)
    return nullptr;
  if (header.biWidth < 1 || header.biWidth > kThumbSide || header.biHeight < 1 ||
      header.biHeight > kThumbSide)
    return nullptr;
  if (header.biWidth != ReadU16(fields, 276) || header.biHeight != ReadU16(fields, 278))
    return nullptr;
  const size_t bytes = 40 + Stride(static_cast<uint32_t>(header.biWidth), 24) * header.biHeight;
  if (bytes > length) return nullptr;
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (dib == nullptr) return nullptr;
  Locked copy(dib);
  std::memcpy(copy.bytes(), data, bytes);
  header.biSizeImage = static_cast<DWORD>(bytes - 40);
  std::memcpy(copy.bytes(), &header, 40);
  return dib;
}

}  // namespace vmd
