#ifndef TESTS_SUPPORT_TEST_DIB_H
#define TESTS_SUPPORT_TEST_DIB_H

#include <cstdint>
#include <functional>
#include <string>

#include "win32_api.h"

namespace testing_support {

/// Bytes per stored row of a DIB of this width and depth.
int Stride(int width, int bitCount);

/// A new movable 24-bit DIB (40-byte header, rows bottom-up) whose pixel (x, y)
/// of stored row y has the colour `pixel(x, y)` as 0xRRGGBB. Padding bytes are
/// set to `padding`. biSizeImage is written as given (default: rows x stride).
HGLOBAL MakeDib24(int width, int height, const std::function<uint32_t(int, int)>& pixel,
                  uint8_t padding = 0, long sizeImage = -1);

/// Blue, green, red of pixel (x, y) of a 24-bit DIB handle, as 0xRRGGBB.
uint32_t PixelAt(HGLOBAL dib, int x, int y);

/// A header field read through a lock.
BITMAPINFOHEADER HeaderOf(HGLOBAL dib);

/// A unique scratch path in the system's temporary folder.
std::string ScratchPath(const std::string& name);

/// The whole of a file; empty when it cannot be read.
std::string ReadAll(const std::string& path);
/// Writes `bytes` as the whole file; false when it cannot be written.
bool WriteAll(const std::string& path, const std::string& bytes);

/// Frees a handle at the end of a scope.
struct GlobalFreer {
  HGLOBAL handle;
  explicit GlobalFreer(HGLOBAL h) : handle(h) {}
  ~GlobalFreer() {
    if (handle) GlobalFree(handle);
  }
  GlobalFreer(const GlobalFreer&) = delete;
  GlobalFreer& operator=(const GlobalFreer&) = delete;
};

}  // namespace testing_support

#endif  // TESTS_SUPPORT_TEST_DIB_H
