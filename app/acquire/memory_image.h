#ifndef APP_ACQUIRE_MEMORY_IMAGE_H
#define APP_ACQUIRE_MEMORY_IMAGE_H

/// A picture that arrives by memory transfer: strips of top-down rows in the
/// source's pixel layout, put together into a 24-bit DIB (bottom-up, blue,
/// green, red). Uncompressed black-and-white (1 bit, 0 = black), grey (8
/// bits) and RGB (3 x 8 bits) pictures are taken; a strip that reaches
/// outside the picture or beyond its own data is refused.

#include <cstddef>
#include <cstdint>

#include "twain_types.h"
#include "win32_api.h"

namespace vmd {

class MemoryImage {
 public:
  MemoryImage() = default;
  ~MemoryImage();
  MemoryImage(const MemoryImage&) = delete;
  MemoryImage& operator=(const MemoryImage&) = delete;

  /// Starts a picture of the size and layout the source reports. False when
  /// the layout is not one of the three, the size is not 1 to 65535 a side,
  /// or the memory cannot be had.
  bool Begin(const TW_IMAGEINFO& info);
  /// Copies one strip whose data (`length` bytes) holds strip.Rows rows of
  /// strip.BytesPerRow bytes. False when the strip does not fit.
  bool AddStrip(const TW_IMAGEMEMXFER& strip, const uint8_t* data, size_t length);
  /// The finished DIB (the caller owns it), or null before Begin.
  HGLOBAL Finish();

 private:
  HGLOBAL dib_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int pixelType_ = 0;
};

}  // namespace vmd

#endif  // APP_ACQUIRE_MEMORY_IMAGE_H
