#include "dib_access.h"

#include <cstring>

#include "image_ops.h"

namespace vmd {

LockedDib::LockedDib(HGLOBAL dib) : handle(dib) {
  if (dib == nullptr) return;
  block = static_cast<uint8_t*>(GlobalLock(dib));
  if (block == nullptr) return;
  blockSize = GlobalSize(dib);
  if (blockSize < sizeof(BITMAPINFOHEADER)) return;
  header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > blockSize) return;
  width = static_cast<WORD>(header->biWidth);
  height = static_cast<WORD>(header->biHeight);
  bitCount = header->biBitCount;
  if (header->biCompression != BI_RGB) return;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) return;
  if (IsPaletteDepth()) {
    paletteCount = header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed) : 1 << bitCount;
    if (paletteCount > (1 << bitCount)) paletteCount = 1 << bitCount;
  }
  size_t paletteOffset = header->biSize;
  size_t bitsOffset = paletteOffset + static_cast<size_t>(paletteCount) * sizeof(RGBQUAD);
  stride = DibRowBytes(width, bitCount);
  if (bitsOffset > blockSize || stride * height > blockSize - bitsOffset) return;
  palette = reinterpret_cast<RGBQUAD*>(block + paletteOffset);
  bits = block + bitsOffset;
  ok = true;
}

LockedDib::~LockedDib() {
  if (block != nullptr) GlobalUnlock(handle);
}

int LockedDib::IndexAt(const uint8_t* row, int x) const {
  switch (bitCount) {
    case 8:
      return row[x];
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default:
      return row[x * 3];
  }
}

uint32_t LockedDib::ColourAt(const uint8_t* row, int x) const {
  if (bitCount == 24) {
    const uint8_t* p = row + x * 3;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
  }
  int index = IndexAt(row, x);
  if (index >= paletteCount) return 0;
  const RGBQUAD& q = palette[index];
  return (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

bool LockedDib::IsGray() const {
  if (bitCount != 8 || paletteCount != 256) return false;
  for (int i = 0; i < 256; ++i) {
    if (palette[i].rgbRed != i || palette[i].rgbGreen != i || palette[i].rgbBlue != i) return false;
  }
  return true;
}

void PutIndex(uint8_t* row, int bitCount, int x, int value) {
  switch (bitCount) {
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 4: {
      int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((value & 0x0F) << shift));
      break;
    }
    case 1: {
      int shift = 7 - (x & 7);
      row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~(1 << shift)) | ((value & 1) << shift));
      break;
    }
    default:
      break;
  }
}

HGLOBAL NewDib(const LockedDib* like, int width, int height, int bitCount,
               const RGBQUAD* palette, int paletteCount) {
  if (width < 1 || height < 1 || width > 65535 || height > 65535) return nullptr;
  size_t stride = DibRowBytes(width, bitCount);
  size_t headerBytes = sizeof(BITMAPINFOHEADER) + static_cast<size_t>(paletteCount) * sizeof(RGBQUAD);
  HGLOBAL dib = AllocImageBlock(headerBytes + stride * height);
  if (dib == nullptr) return nullptr;
  auto* block = static_cast<uint8_t*>(GlobalLock(dib));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bitCount);
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(stride * height);
  if (like != nullptr && like->ok) {
    header->biXPelsPerMeter = like->header->biXPelsPerMeter;
    header->biYPelsPerMeter = like->header->biYPelsPerMeter;
  }
  header->biClrUsed = static_cast<DWORD>(paletteCount);
  if (palette != nullptr && paletteCount > 0)
    std::memcpy(block + sizeof(BITMAPINFOHEADER), palette, paletteCount * sizeof(RGBQUAD));
  GlobalUnlock(dib);
  return dib;
}

void FillGrayPalette(RGBQUAD* palette) {
  for (int i = 0; i < 256; ++i) {
    palette[i].rgbBlue = palette[i].rgbGreen = palette[i].rgbRed = static_cast<BYTE>(i);
    palette[i].rgbReserved = 0;
  }
}

int NearestIndex(const LockedDib& dib, uint32_t rgb) {
  int best = 0;
  long bestDistance = -1;
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  for (int i = 0; i < dib.paletteCount; ++i) {
    long dr = dib.palette[i].rgbRed - r, dg = dib.palette[i].rgbGreen - g,
         db = dib.palette[i].rgbBlue - b;
    long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

}  // namespace vmd
