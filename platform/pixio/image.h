#ifndef PLATFORM_PIXIO_IMAGE_H
#define PLATFORM_PIXIO_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "win32_api.h"

namespace pixio {

/// Largest width or height a decoder accepts: the program reads both as 16-bit
/// values.
constexpr int kMaxDimension = 65535;
/// Largest pixel count a decoder accepts unless told otherwise: what the
/// process can hold twice over (the decoded picture and the DIB made from it).
/// A 32-bit process has at most 4 GB of addresses: 2^28 pixels are 768 MB at
/// 24 bits. A 64-bit process is held back only by the side limit and the bytes
/// the file holds.
#if SIZE_MAX > 0xFFFFFFFFu
constexpr int64_t kDefaultMaxReadPixels = int64_t(kMaxDimension) * kMaxDimension;
#else
constexpr int64_t kDefaultMaxReadPixels = int64_t(1) << 28;
#endif

/// The pixel count decoders accept now (kDefaultMaxReadPixels at start).
int64_t MaxReadPixels();
/// Lowers or restores the decoders' pixel cap for the whole process: the
/// fuzzers keep it under their memory limit. Values below 1 restore the default.
void SetMaxReadPixels(int64_t pixels);

/// Bytes per stored DIB row: padded to a multiple of 4 bytes. Callers with a
/// width from outside check StrideFits first (a 32-bit size_t can overflow).
inline size_t DibStride(int width, int bitCount) {
  return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}
/// True when DibStride(width, bitCount) fits in a size_t.
inline bool StrideFits(int64_t width, int bitCount) {
  return width >= 0 && bitCount >= 0 && bitCount <= 32 &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31 <= SIZE_MAX;
}

/// True when a decoder may allocate an image of this size.
inline bool DimensionsAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
         width * height <= MaxReadPixels();
}

/// a * b into *out, false on overflow of size_t.
inline bool CheckedMul(size_t a, size_t b, size_t* out) {
  if (a != 0 && b > SIZE_MAX / a) return false;
  *out = a * b;
  return true;
}
/// a + b into *out, false on overflow of size_t.
inline bool CheckedAdd(size_t a, size_t b, size_t* out) {
  if (b > SIZE_MAX - a) return false;
  *out = a + b;
  return true;
}

/// A decoded picture in DIB order: rows bottom-up, each DibStride bytes.
/// 24-bit pixels are blue, green, red; 1-, 4- and 8-bit pixels index `palette`.
struct Image {
  int width = 0;
  int height = 0;
  int bitCount = 0;               ///< 1, 4, 8 or 24
  std::vector<RGBQUAD> palette;   ///< 2^bitCount entries or fewer, empty at 24 bits
  std::vector<uint8_t> pixels;    ///< height x stride bytes

  size_t Stride() const { return DibStride(width, bitCount); }
  uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * Stride(); }
  const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * Stride(); }
  /// Row counted from the top of the picture.
  uint8_t* TopRow(int y) { return Row(height - 1 - y); }
  const uint8_t* TopRow(int y) const { return Row(height - 1 - y); }

  /// Sizes the pixel buffer (zero-filled). False for a size that is not
  /// positive, a depth not listed, or memory that cannot be had; decoders check
  /// DimensionsAcceptable first, encoders take any picture they are given.
  bool Allocate(int w, int h, int bits);
  /// Palette index of a 1-, 4- or 8-bit pixel.
  int IndexAt(int x, int y) const;
  /// True for an 8-bit image whose 256 entries are the grey ramp.
  bool IsGray() const;
};

/// A grey ramp of 256 entries.
std::vector<RGBQUAD> GrayPalette();
/// The same ramp, made once, without taking memory.
const RGBQUAD* GrayRamp();

/// The same picture as 24 bits (a copy when it already is).
bool ExpandTo24(const Image& in, Image* out);

/// A new movable DIB block of width x height pixels at `bitCount` (1, 4, 8 or
/// 24), returned locked: its header (biSizeImage, 72 dots per inch, biClrUsed)
/// and colour table (`paletteSize` entries of `palette`, black past them;
/// none at 24 bits) are
/// written, its rows are not. `*rows` is the first stored (bottom) row. Null
/// when the size overflows or the memory cannot be had. The caller unlocks it
/// and owns it.
HGLOBAL NewDib(int width, int height, int bitCount, const RGBQUAD* palette, size_t paletteSize,
               uint8_t** rows);

/// A new movable DIB block holding the picture; `force24` expands palette
/// images first. Null when the memory cannot be had.
HGLOBAL ToDib(const Image& image, bool force24);

/// The parts of a DIB found in its locked block; the pointers point into it.
struct DibParts {
  int width = 0;
  int height = 0;
  int bits = 0;                      ///< 1, 4, 8, 16, 24 or 32
  bool topDown = false;              ///< rows stored top row first
  uint32_t masks[3] = {0, 0, 0};     ///< red, green, blue of 16- and 32-bit pixels
  size_t colours = 0;                ///< colour-table entries (depths of 8 bits or less)
  size_t stride = 0;                 ///< bytes per stored row
  const uint8_t* palette = nullptr;  ///< `colours` RGBQUADs
  const uint8_t* rows = nullptr;     ///< the first stored row
};

/// Finds the parts of a DIB of any depth (BI_RGB or BI_BITFIELDS) in `size`
/// bytes at `base`. False when the header is not one we read or the rows it
/// states do not fit in the block.
bool FindDibParts(const uint8_t* base, size_t size, DibParts* parts);

/// Reads a locked DIB of any depth (1, 4, 8, 16, 24, 32; BI_RGB or
/// BI_BITFIELDS) into an Image of the nearest kept depth: palette depths stay,
/// 16 and 32 bits become 24. False for a handle that is not a usable DIB.
bool FromDib(HGLOBAL dib, Image* out);

/// Copies `image->height` stored rows of `bits`-deep pixels (`stride` bytes
/// each, bottom-up unless `topDown`) into `image`, which is already allocated:
/// rows of 8 bits or less and of 24 bits are copied as they are; 16- and 32-bit
/// pixels become 24 bits through the red, green and blue `masks`.
void UnpackRows(const uint8_t* pixels, size_t stride, int bits, const uint32_t masks[3],
                bool topDown, Image* image);

/// Turns a top-down picture per the EXIF orientation code (1 to 8); other codes
/// leave it. Works on 24- and 8-bit images.
bool ApplyOrientation(Image* image, int orientation);

}  // namespace pixio

#endif  // PLATFORM_PIXIO_IMAGE_H
