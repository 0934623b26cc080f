#include "dib_crop.h"

#include <cstdint>
#include <cstring>

namespace vmd {

HGLOBAL CropDibFromTop(HGLOBAL dib, const RECT& area) {
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) return nullptr;
  const size_t bytes = GlobalSize(dib);
  if (bytes < sizeof(BITMAPINFOHEADER)) {
    GlobalUnlock(dib);
    return nullptr;
  }
  const int bitCount = header->biBitCount;
  const int width = header->biWidth;
  const int height = header->biHeight;
  const int pixelBytes = bitCount / 8;
  size_t colours = 0;
  if (bitCount == 8)
    colours = header->biClrUsed && header->biClrUsed < 256 ? header->biClrUsed : 256;
  const size_t inStride = ((size_t(width) * bitCount + 31) / 32) * 4;
  const int outWidth = area.right - area.left;
  const int outHeight = area.bottom - area.top;
  const size_t outStride = ((size_t(outWidth) * bitCount + 31) / 32) * 4;
  const size_t tableBytes = colours * sizeof(RGBQUAD);
  const bool usable = bytes >= sizeof(BITMAPINFOHEADER) && header->biSize >= 40 &&
                      (bitCount == 24 || bitCount == 8) && header->biCompression == BI_RGB &&
                      width > 0 && height > 0 &&
                      header->biSize + tableBytes + inStride * height <= bytes && area.left >= 0 &&
                      area.top >= 0 && outWidth > 0 && outHeight > 0 && area.right <= width &&
                      area.bottom <= height;
  HGLOBAL out = nullptr;
  if (usable)
    out = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                      sizeof(BITMAPINFOHEADER) + tableBytes + outStride * outHeight);
  auto* o = out ? static_cast<uint8_t*>(GlobalLock(out)) : nullptr;
  if (!o) {
    if (out) GlobalFree(out);
    GlobalUnlock(dib);
    return nullptr;
  }
  BITMAPINFOHEADER h = *header;
  h.biSize = sizeof h;
  h.biWidth = outWidth;
  h.biHeight = outHeight;
  h.biSizeImage = static_cast<DWORD>(outStride * outHeight);
  h.biClrUsed = static_cast<DWORD>(colours);
  std::memcpy(o, &h, sizeof h);
  const auto* in = reinterpret_cast<const uint8_t*>(header) + header->biSize;
  std::memcpy(o + sizeof h, in, tableBytes);
  in += tableBytes;
  uint8_t* rows = o + sizeof h + tableBytes;
  // Stored rows run bottom-up: the crop's lowest row is the image's row
  // (height - bottom) from the bottom.
  for (int y = 0; y < outHeight; ++y) {
    const size_t from =
        size_t(height - area.bottom + y) * inStride + size_t(area.left) * pixelBytes;
    std::memcpy(rows + size_t(y) * outStride, in + from, size_t(outWidth) * pixelBytes);
  }
  GlobalUnlock(out);
  GlobalUnlock(dib);
  return out;
}

}  // namespace vmd
