#ifndef APP_STITCH_DIB_ACCESS_H
#define APP_STITCH_DIB_ACCESS_H

/// Locked access to a DIB's header, colour table and rows for the image
/// operations, and the making of new DIBs. Internal to the operations.

#include <cstddef>
#include <cstdint>

#include "win32_api.h"

namespace vmd {

/// Bytes per stored row of a DIB of this width and depth.
inline size_t DibRowBytes(int width, int bitCount) {
  return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}

/// A DIB locked for the life of the object. `ok` is false for a null handle, a
/// block that cannot be locked, or one too small for what its header says.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL dib);
  ~LockedDib();
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  bool ok = false;
  HGLOBAL handle = nullptr;
  uint8_t* block = nullptr;
  size_t blockSize = 0;
  BITMAPINFOHEADER* header = nullptr;
  RGBQUAD* palette = nullptr;  ///< paletteCount entries
  int paletteCount = 0;
  uint8_t* bits = nullptr;
  int width = 0;  ///< 16-bit value of the header
  int height = 0;
  int bitCount = 0;
  size_t stride = 0;

  uint8_t* Row(int storedRow) const { return bits + static_cast<size_t>(storedRow) * stride; }
  uint8_t* TopRow(int y) const { return Row(height - 1 - y); }
  /// A pixel of a 1-, 4- or 8-bit row (colour table index) or the first byte of
  /// a 24-bit one.
  int IndexAt(const uint8_t* row, int x) const;
  /// The colour of a pixel as 0x00RRGGBB, through the colour table when there is one.
  uint32_t ColourAt(const uint8_t* row, int x) const;
  bool IsGray() const;
  bool IsPaletteDepth() const { return bitCount == 1 || bitCount == 4 || bitCount == 8; }
};

/// Writes colour table index `value` at column x of a 1-, 4- or 8-bit row.
void PutIndex(uint8_t* row, int bitCount, int x, int value);

/// A new DIB of width x height x bitCount with a 40-byte header (the resolution
/// fields copied from `like` when given) and `paletteCount` colour table
/// entries copied from `palette` (may be null: zeros). Null (after the memory
/// message) when the block cannot be had, or for sizes outside 1 .. 65535.
HGLOBAL NewDib(const LockedDib* like, int width, int height, int bitCount,
               const RGBQUAD* palette, int paletteCount);

/// The 256-entry grey ramp.
void FillGrayPalette(RGBQUAD* palette);

/// The colour table index nearest to 0x00RRGGBB.
int NearestIndex(const LockedDib& dib, uint32_t rgb);

}  // namespace vmd

#endif  // APP_STITCH_DIB_ACCESS_H
