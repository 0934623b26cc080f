#include "dib_draw.h"

#include <algorithm>

#include "unique_handle.h"

namespace vmd {

BITMAPINFO Bitmap24Info(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void DrawSkinImage(HDC dc, const SkinImage& image, int x, int y) {
  if (image.Empty()) return;
  BITMAPINFO info = Bitmap24Info(image.width, image.height);
  SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height,
                    image.pixels.data(), &info, DIB_RGB_COLORS);
}

namespace {

/// The header of a locked DIB, or null when the block holds none.
const BITMAPINFOHEADER* DibHeader(const BYTE* bytes) {
  if (bytes == nullptr) return nullptr;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
  if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biWidth <= 0 || header->biHeight == 0)
    return nullptr;
  return header;
}

/// The pixels of a DIB: past its header and colour table.
const BYTE* DibPixels(const BITMAPINFOHEADER* header) {
  DWORD colours = header->biClrUsed;
  if (colours == 0 && header->biBitCount <= 8) colours = 1u << header->biBitCount;
  if (header->biCompression == BI_BITFIELDS) colours = 3;
  return reinterpret_cast<const BYTE*>(header) + header->biSize + colours * sizeof(RGBQUAD);
}

}  // namespace

bool DibDimensions(HGLOBAL dib, int* width, int* height) {
  GlobalLockGuard<BYTE> bytes(dib);
  const BITMAPINFOHEADER* header = DibHeader(bytes.get());
  if (header == nullptr) return false;
  *width = header->biWidth;
  *height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  return true;
}

bool DrawDibPart(HDC dc, HGLOBAL dib, int sourceX, int sourceY, int width, int height, int x,
                 int y) {
  GlobalLockGuard<BYTE> bytes(dib);
  const BITMAPINFOHEADER* header = DibHeader(bytes.get());
  if (header == nullptr) return false;
  const int rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  // A bottom-up DIB counts source rows from its lower edge.
  const int fromBottom = header->biHeight > 0 ? rows - sourceY - height : sourceY;
  StretchDIBits(dc, x, y, width, height, sourceX, fromBottom, width, height, DibPixels(header),
                reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
  return true;
}

bool DrawDibInArea(HDC dc, HGLOBAL dib, const RECT& area) {
  GlobalLockGuard<BYTE> bytes(dib);
  const BITMAPINFOHEADER* header = DibHeader(bytes.get());
  if (header == nullptr) return false;
  const BYTE* bits = DibPixels(header);
  const int width = header->biWidth;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int areaWidth = area.right - area.left + 1;
  const int areaHeight = area.bottom - area.top + 1;
  int drawWidth = width;
  int drawHeight = height;
  if (width > areaWidth || height > areaHeight) {
    // Fit the longer relative side; the other follows the aspect ratio.
    if (static_cast<long long>(width) * areaHeight >= static_cast<long long>(height) * areaWidth) {
      drawWidth = areaWidth;
      drawHeight = std::max(1, static_cast<int>(static_cast<long long>(height) * areaWidth / width));
    } else {
      drawHeight = areaHeight;
      drawWidth = std::max(1, static_cast<int>(static_cast<long long>(width) * areaHeight / height));
    }
  }
  const int x = area.left + (areaWidth - drawWidth) / 2;
  const int y = area.top + (areaHeight - drawHeight) / 2;
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, x, y, drawWidth, drawHeight, 0, 0, width, height, bits,
                reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
  return true;
}

SkinImage LightenedImage(const SkinImage& image) {
  SkinImage light = image;
  for (uint8_t& channel : light.pixels) channel = static_cast<uint8_t>(channel + (255 - channel) / 5);
  return light;
}

}  // namespace vmd
