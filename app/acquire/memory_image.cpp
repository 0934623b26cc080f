#include "memory_image.h"

#include <cstring>

namespace vmd {

namespace {

size_t Stride24(int width) { return (static_cast<size_t>(width) * 24 + 31) / 32 * 4; }

/// Bits a pixel of the layout takes, or 0 when the layout is not taken.
int BitsOf(const TW_IMAGEINFO& info) {
  if (info.Compression != TWCP_NONE || info.Planar) return 0;
  if (info.PixelType == TWPT_BW && info.BitsPerPixel == 1) return 1;
  if (info.PixelType == TWPT_GRAY && info.BitsPerPixel == 8) return 8;
  if (info.PixelType == TWPT_RGB && info.BitsPerPixel == 24) return 24;
  return 0;
}

int BitsOfType(int pixelType) { return pixelType == TWPT_BW ? 1 : pixelType == TWPT_GRAY ? 8 : 24; }

}  // namespace

MemoryImage::~MemoryImage() {
  if (dib_ != nullptr) GlobalFree(dib_);
}

bool MemoryImage::Begin(const TW_IMAGEINFO& info) {
  if (dib_ != nullptr) GlobalFree(dib_);
  dib_ = nullptr;
  if (BitsOf(info) == 0 || info.ImageWidth < 1 || info.ImageWidth > 65535 || info.ImageLength < 1 ||
      info.ImageLength > 65535)
    return false;
  width_ = info.ImageWidth;
  height_ = info.ImageLength;
  pixelType_ = info.PixelType;
  const size_t bytes = sizeof(BITMAPINFOHEADER) + Stride24(width_) * static_cast<size_t>(height_);
  dib_ = GlobalAlloc(GHND, bytes);
  if (dib_ == nullptr) return false;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib_));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width_;
  header->biHeight = height_;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(Stride24(width_) * static_cast<size_t>(height_));
  GlobalUnlock(dib_);
  return true;
}

bool MemoryImage::AddStrip(const TW_IMAGEMEMXFER& strip, const uint8_t* data, size_t length) {
  if (dib_ == nullptr || strip.Compression != TWCP_NONE) return false;
  if (strip.Rows == 0) return true;
  if (data == nullptr || strip.XOffset >= static_cast<TW_UINT32>(width_) ||
      strip.YOffset >= static_cast<TW_UINT32>(height_) ||
      strip.Columns > static_cast<TW_UINT32>(width_) - strip.XOffset ||
      strip.Rows > static_cast<TW_UINT32>(height_) - strip.YOffset)
    return false;
  const size_t rowBits = static_cast<size_t>(strip.Columns) * BitsOfType(pixelType_);
  if (static_cast<size_t>(strip.BytesPerRow) * 8 < rowBits) return false;
  if (static_cast<size_t>(strip.BytesPerRow) * (strip.Rows - 1) + (rowBits + 7) / 8 > length) return false;

  auto* base = static_cast<uint8_t*>(GlobalLock(dib_));
  uint8_t* pixels = base + sizeof(BITMAPINFOHEADER);
  const size_t stride = Stride24(width_);
  for (TW_UINT32 r = 0; r < strip.Rows; ++r) {
    const uint8_t* from = data + static_cast<size_t>(strip.BytesPerRow) * r;
    const int y = height_ - 1 - static_cast<int>(strip.YOffset + r);
    uint8_t* to = pixels + stride * static_cast<size_t>(y) + static_cast<size_t>(strip.XOffset) * 3;
    for (TW_UINT32 x = 0; x < strip.Columns; ++x, to += 3) {
      if (pixelType_ == TWPT_RGB) {
        to[0] = from[x * 3 + 2];
        to[1] = from[x * 3 + 1];
        to[2] = from[x * 3];
      } else {
        const uint8_t level = pixelType_ == TWPT_GRAY ? from[x] : ((from[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0);
        to[0] = to[1] = to[2] = level;
      }
    }
  }
  GlobalUnlock(dib_);
  return true;
}

HGLOBAL MemoryImage::Finish() {
  HGLOBAL done = dib_;
  dib_ = nullptr;
  return done;
}

}  // namespace vmd
