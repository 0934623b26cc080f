#ifndef ENGINE_ENGINE_DIB_H
#define ENGINE_ENGINE_DIB_H

#include <cstdint>

#include "seamcore.h"

namespace seam {

/// A plain view of locked 24- or 8-bit pixel rows; row 0 is the bottom row.
struct PixelView {
  int width = 0;
  int height = 0;
  int stride = 0;            ///< bytes per stored row, a multiple of 4
  int bytesPerPixel = 0;     ///< 3 for 24 bits, 1 for 8 bits
  uint8_t* bits = nullptr;   ///< first byte of the first stored row

  uint8_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(y) * stride; }
  bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
};

/// Bytes per stored row of a DIB: rows are padded to a multiple of 4 bytes.
inline int DibStride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

/// Allocates a movable global block for the engine's images and working buffers.
/// Null when the memory cannot be had. Tests can make it fail on purpose.
HGLOBAL AllocateBlock(size_t bytes);
/// Test hook: the next `count` engine allocations succeed, later ones fail;
/// a negative count lifts the limit.
void FailEngineAllocationsAfter(int count);

/// The engine's image buffer: a DIB block it owns or borrows.
/// Field order is fixed; the block layout is header, colour table, rows.
class EngineDib {
 public:
  EngineDib() = default;
  ~EngineDib();  // deliberately not virtual: buffers are never deleted through a base
  EngineDib(const EngineDib&) = delete;
  EngineDib& operator=(const EngineDib&) = delete;

  /// Locks the block and sets header and (for 1, 8 and 24 bits) bits.
  /// Returns 1, or 0 when the block cannot be locked (bits unchanged).
  int Lock();
  /// Unlocks the block; header and bits keep their values but must not be used.
  void Unlock();
  /// Allocates a new block of the size and depth (1, 8 or 24 bits) with the
  /// grey ramp (8 bits) or black and white (1 bit) colour table, pixels not
  /// initialised. The previous block is released only on success. 1 or 0.
  int Create(int width, int height, int bitCount);
  /// Borrows the caller's block: recomputes the stride, rewrites biSizeImage to
  /// height x stride, then releases the previous block. 0 when it cannot be locked.
  int Attach(HGLOBAL block);
  /// Frees an owned block, forgets a borrowed one.
  void Release();
  /// Hands the block to the caller, who then owns it; the buffer is empty after.
  HGLOBAL Detach();
  /// Sets every byte of the pixel rows (biSizeImage bytes) to `value`.
  void Fill(uint8_t value);
  /// Colour table entries of a header: biClrUsed, else 2, 16 or 256 by depth.
  static int PaletteSize(const BITMAPINFOHEADER* header);
  /// Writes the 3 x 3 binomial smoothing of this buffer into `destination`,
  /// which has the same size and depth. 0 when the working block cannot be had.
  int SmoothInto(EngineDib& destination);

  virtual int Draw(HDC dc, int x, int y);
  virtual int DrawStretched(HDC dc, int x, int y, int width, int height);
  /// Reads an uncompressed BMP file. 1 on success; on failure 0 and the
  /// previous block is kept.
  virtual int Load(const char* fileName);
  /// Writes the buffer as a BMP file. 1 on success, 0 when it cannot be written.
  virtual int Save(const char* fileName);

  HGLOBAL Handle() const { return handle; }
  bool Borrowed() const { return borrowed != 0; }
  const BITMAPINFOHEADER* Header() const { return header; }
  uint8_t* Bits() const { return bits; }
  int Stride() const { return stride; }
  int Width() const { return header ? header->biWidth : 0; }
  int Height() const { return header ? header->biHeight : 0; }
  /// The locked rows as a plain view (empty when not locked or not 8/24 bits).
  PixelView View() const;

 private:
  static uint8_t* RowsOf(BITMAPINFOHEADER* header);

  HGLOBAL handle = nullptr;
  int32_t borrowed = 0;
  BITMAPINFOHEADER* header = nullptr;
  uint8_t* bits = nullptr;
  int32_t stride = 0;
};

/// Writes the 3 x 3 binomial smoothing of `source` into `destination` (same
/// size and depth, 8 or 24 bits), the source's edges weighing themselves twice
/// against their one neighbour; a view of part of a picture is smoothed as if
/// it were the whole. Rows are read and written along memory; a 24-bit
/// destination's row padding is not written. 0 when the views do not agree or
/// the working rows cannot be had.
int SmoothView(const PixelView& source, const PixelView& destination);

/// Owns a lock on an EngineDib for one scope.
class DibLock {
 public:
  explicit DibLock(EngineDib& dib) : dib_(dib), locked_(dib.Lock() != 0) {}
  ~DibLock() {
    if (locked_) dib_.Unlock();
  }
  DibLock(const DibLock&) = delete;
  DibLock& operator=(const DibLock&) = delete;
  bool Locked() const { return locked_; }

 private:
  EngineDib& dib_;
  bool locked_;
};

}  // namespace seam

#endif  // ENGINE_ENGINE_DIB_H
