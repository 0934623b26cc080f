#include "palette_dib.h"

#include <cstring>

#include "test_dib.h"

namespace testing_support {

HGLOBAL MakePaletteDib(int width, int height, int bitCount, const std::vector<uint32_t>& palette,
                       const std::function<int(int, int)>& index) {
  const int stride = Stride(width, bitCount);
  size_t head = 40 + palette.size() * 4;
  HGLOBAL h = GlobalAlloc(GHND, head + static_cast<size_t>(stride) * height);
  auto* block = static_cast<uint8_t*>(GlobalLock(h));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  header->biSize = 40;
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bitCount);
  header->biClrUsed = static_cast<DWORD>(palette.size());
  header->biSizeImage = static_cast<DWORD>(stride * height);
  for (size_t i = 0; i < palette.size(); ++i) {
    block[40 + i * 4] = static_cast<uint8_t>(palette[i]);
    block[40 + i * 4 + 1] = static_cast<uint8_t>(palette[i] >> 8);
    block[40 + i * 4 + 2] = static_cast<uint8_t>(palette[i] >> 16);
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = block + head + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      int v = index(x, y);
      if (bitCount == 8) row[x] = static_cast<uint8_t>(v);
      if (bitCount == 4) row[x / 2] |= static_cast<uint8_t>((v & 15) << ((x & 1) ? 0 : 4));
      if (bitCount == 1) row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - (x & 7)));
    }
  }
  GlobalUnlock(h);
  return h;
}

HGLOBAL MakeGrayDib(int width, int height, const std::function<int(int, int)>& level) {
  std::vector<uint32_t> ramp(256);
  for (uint32_t i = 0; i < 256; ++i) ramp[i] = i * 0x010101u;
  return MakePaletteDib(width, height, 8, ramp, level);
}

int IndexAt(HGLOBAL dib, int x, int y) {
  auto* block = static_cast<uint8_t*>(GlobalLock(dib));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  int bits = header->biBitCount;
  int colours = header->biClrUsed ? static_cast<int>(header->biClrUsed) : 1 << bits;
  const uint8_t* row = block + 40 + colours * 4 + static_cast<size_t>(y) * Stride(header->biWidth, bits);
  int v = bits == 8 ? row[x] : bits == 4 ? (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15 : (row[x / 8] >> (7 - (x & 7))) & 1;
  GlobalUnlock(dib);
  return v;
}

uint32_t PaletteEntry(HGLOBAL dib, int i) {
  auto* block = static_cast<uint8_t*>(GlobalLock(dib));
  const uint8_t* q = block + 40 + i * 4;
  uint32_t c = (uint32_t(q[2]) << 16) | (uint32_t(q[1]) << 8) | q[0];
  GlobalUnlock(dib);
  return c;
}

std::vector<uint8_t> BlockBytes(HGLOBAL block) {
  std::vector<uint8_t> bytes(GlobalSize(block));
  std::memcpy(bytes.data(), GlobalLock(block), bytes.size());
  GlobalUnlock(block);
  return bytes;
}

uint32_t TopPixelAt(HGLOBAL dib, int x, int y) {
  return PixelAt(dib, x, HeaderOf(dib).biHeight - 1 - y);
}

}  // namespace testing_support
