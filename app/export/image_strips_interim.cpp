// An interim strip writer for the web export, until the one of the image
// open and save commands lands; it keeps the same declaration (image_strips.h)
// so that this file can simply be dropped then.
#include <cstdio>
#include <cstring>
#include <string>

#include "image_strips.h"
#include "pixio.h"

namespace vmd {
namespace {

int StrideOf(int width) { return ((width * 24 + 31) / 32) * 4; }

// A new 24-bit DIB `width` wide holding columns [from, to) of `bits` (rows
// bottom-up), resampled linearly when the widths differ.
HGLOBAL CutColumns(const BITMAPINFOHEADER& header, const uint8_t* bits, int from, int to, int width) {
  const int height = header.biHeight;
  const int srcStride = StrideOf(header.biWidth);
  const int stride = StrideOf(width);
  HGLOBAL strip = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                              sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * height);
  if (!strip) return nullptr;
  auto* out = static_cast<uint8_t*>(GlobalLock(strip));
  BITMAPINFOHEADER h = header;
  h.biWidth = width;
  h.biSizeImage = static_cast<DWORD>(stride) * height;
  h.biClrUsed = 0;
  std::memcpy(out, &h, sizeof h);
  const double scale = width > 1 ? static_cast<double>(to - from - 1) / (width - 1) : 0.0;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = bits + static_cast<size_t>(y) * srcStride;
    uint8_t* dst = out + sizeof h + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      if (to - from == width) {
        std::memcpy(dst + 3 * x, src + 3 * (from + x), 3);
        continue;
      }
      const double at = from + x * scale;
      const int left = static_cast<int>(at);
      const int right = left + 1 < to ? left + 1 : left;
      const double f = at - left;
      for (int c = 0; c < 3; ++c)
        dst[3 * x + c] = static_cast<uint8_t>(src[3 * left + c] * (1 - f) + src[3 * right + c] * f + 0.5);
    }
  }
  GlobalUnlock(strip);
  return strip;
}

}  // namespace

bool WriteImageStrips(HGLOBAL dib, int count, const char* folder) {
  const auto* base = static_cast<const uint8_t*>(GlobalLock(dib));
  if (!base) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, base, sizeof header);
  const int q = header.biWidth / count;
  bool ok = header.biBitCount == 24 && header.biHeight > 0 && q >= 2;
  const uint8_t* bits = base + header.biSize;
#ifdef _WIN32
  const char* separator = "\\";
#else
  const char* separator = "/";
#endif
  for (int i = 0; ok && i < count; ++i) {
    const int from = i * q;
    const int to = i + 1 < count ? (i + 1) * q - 1 : header.biWidth;
    HGLOBAL strip = CutColumns(header, bits, from, to, q - 1);
    const std::string path = std::string(folder) + separator + std::to_string(i) + ".jpg";
    ok = strip && ImgSaveFile(strip, path.c_str()) != 0;
    if (strip) GlobalFree(strip);
  }
  GlobalUnlock(dib);
  return ok;
}

}  // namespace vmd
