#include "engine_dib.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "vector_clones.h"
#include "work_buffer.h"

namespace seam {

namespace {

std::atomic<int> g_allocationsLeft{-1};

// Where the rows start depends on the depth alone: the engine's 1- and 8-bit
// blocks always carry their full colour table.
ptrdiff_t RowOffset(int bitCount) {
  switch (bitCount) {
    case 24: return 40;
    case 1: return 48;
    case 8: return 1064;
    default: return -1;
  }
}

int ColourEntriesForCreate(int bitCount) {
  if (bitCount == 1) return 2;
  if (bitCount == 8) return 256;
  return 0;
}

// A BMP header read from a file, field by field (no packing assumptions).
struct BmpFileHeader {
  uint16_t type;
  uint32_t size;
  uint32_t offBits;
};

uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void WriteLe16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr uint16_t kBmpType = 19778;  // "BM"
// Images past this many pixels a side are refused when loading.
constexpr int32_t kLargestSide = 65535;

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

// Smooths a row of `count` samples of `step` interleaved channels with the
// 1-2-1 kernel, each channel on its own; the two end samples weigh themselves
// twice against their one neighbour. The middle is one plain loop over bytes.
SEAM_VECTOR_CLONES void SmoothRow(const uint8_t* __restrict in, uint8_t* __restrict out, int count,
                                  int step) {
  const int bytes = count * step;
  if (count == 1) {
    std::copy(in, in + bytes, out);
    return;
  }
  for (int c = 0; c < step; ++c) {
    out[c] = static_cast<uint8_t>((2 * in[c] + in[c + step]) / 3);
    const int last = bytes - step + c;
    out[last] = static_cast<uint8_t>((2 * in[last] + in[last - step]) / 3);
  }
  for (int e = step; e < bytes - step; ++e)
    out[e] = static_cast<uint8_t>((in[e - step] + 2 * in[e] + in[e + step]) >> 2);
}

}  // namespace

HGLOBAL AllocateBlock(size_t bytes) {
  int left = g_allocationsLeft.load();
  while (left >= 0) {
    if (left == 0) return nullptr;
    if (g_allocationsLeft.compare_exchange_weak(left, left - 1)) break;
  }
  return GlobalAlloc(GMEM_MOVEABLE, bytes);
}

void FailEngineAllocationsAfter(int count) { g_allocationsLeft.store(count); }

EngineDib::~EngineDib() { Release(); }

uint8_t* EngineDib::RowsOf(BITMAPINFOHEADER* h) {
  ptrdiff_t offset = RowOffset(h->biBitCount);
  return offset < 0 ? nullptr : reinterpret_cast<uint8_t*>(h) + offset;
}

int EngineDib::Lock() {
  if (!handle) return 0;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
  if (!h) return 0;
  header = h;
  if (uint8_t* rows = RowsOf(h)) bits = rows;
  return 1;
}

void EngineDib::Unlock() {
  if (handle) GlobalUnlock(handle);
}

int EngineDib::Create(int width, int height, int bitCount) {
  if (width <= 0 || height <= 0) return 0;
  const int entries = ColourEntriesForCreate(bitCount);
  // Neither the row nor the block may wrap (a 32-bit size_t wraps past 4 GB).
  if (bitCount <= 0 || width > (INT32_MAX - 31) / bitCount) return 0;
  const int rowBytes = DibStride(width, bitCount);
  const uint64_t size64 = static_cast<uint64_t>(height) * rowBytes + 4u * entries + 40u;
  if (size64 > SIZE_MAX) return 0;
  const size_t size = static_cast<size_t>(size64);
  HGLOBAL block = AllocateBlock(size);
  if (!block) return 0;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  if (!h) {
    GlobalFree(block);
    return 0;
  }
  std::memset(h, 0, sizeof(BITMAPINFOHEADER));
  h->biSize = 40;
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(bitCount);
  h->biCompression = BI_RGB;
  h->biSizeImage = static_cast<DWORD>(static_cast<size_t>(height) * rowBytes);
  h->biClrUsed = static_cast<DWORD>(entries);
  auto* table = reinterpret_cast<RGBQUAD*>(reinterpret_cast<uint8_t*>(h) + 40);
  if (bitCount == 8) {
    for (int i = 0; i < 256; ++i) {
      const auto v = static_cast<BYTE>(i);
      table[i] = RGBQUAD{v, v, v, 0};
    }
  } else if (bitCount == 1) {
    table[0] = RGBQUAD{0, 0, 0, 0};
    table[1] = RGBQUAD{255, 255, 255, 0};
  }
  GlobalUnlock(block);

  Release();
  handle = block;
  borrowed = 0;
  header = nullptr;
  bits = nullptr;
  stride = rowBytes;
  return 1;
}

int EngineDib::Attach(HGLOBAL block) {
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  if (!h) return 0;
  const int rowBytes = DibStride(h->biWidth, h->biBitCount);
  h->biSizeImage = static_cast<DWORD>(static_cast<int64_t>(h->biHeight) * rowBytes);
  GlobalUnlock(block);

  if (block != handle) Release();
  handle = block;
  borrowed = 1;
  header = nullptr;
  bits = nullptr;
  stride = rowBytes;
  return 1;
}

void EngineDib::Release() {
  if (handle && !borrowed) GlobalFree(handle);
  handle = nullptr;
  borrowed = 0;
  header = nullptr;
  bits = nullptr;
  stride = 0;
}

HGLOBAL EngineDib::Detach() {
  HGLOBAL out = handle;
  handle = nullptr;
  borrowed = 0;
  header = nullptr;
  bits = nullptr;
  stride = 0;
  return out;
}

void EngineDib::Fill(uint8_t value) {
  if (!header || !bits) return;
  std::memset(bits, value, header->biSizeImage);
}

int EngineDib::PaletteSize(const BITMAPINFOHEADER* h) {
  if (!h) return 0;
  if (h->biClrUsed) return static_cast<int>(h->biClrUsed);
  switch (h->biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

PixelView EngineDib::View() const {
  PixelView v;
  if (!header || !bits || (header->biBitCount != 24 && header->biBitCount != 8)) return v;
  v.width = header->biWidth;
  v.height = header->biHeight;
  v.stride = stride;
  v.bytesPerPixel = header->biBitCount / 8;
  v.bits = bits;
  return v;
}

int SmoothView(const PixelView& src, const PixelView& dst) {
  if (src.Empty() || dst.Empty() || src.width != dst.width || src.height != dst.height ||
      src.bytesPerPixel != dst.bytesPerPixel)
    return 0;
  const int h = src.height;
  // 8 bits run across every byte of the stride; 24 bits per channel over the
  // pixels only. The rows smoothed along are kept three at a time (the row
  // below, this one and the one above), so the kernel down the columns reads
  // and writes along memory and no picture-sized block is needed.
  const int channels = src.bytesPerPixel;
  const int lineSamples = channels == 1 ? src.stride : src.width;
  const int workStride = lineSamples * channels;
  WorkBuffer<uint8_t> ring(3 * static_cast<size_t>(workStride));
  if (!ring.Ok()) return 0;
  auto line = [&](int y) { return ring.Data() + static_cast<ptrdiff_t>(y % 3) * workStride; };
  auto smoothAlong = [&](int y) { SmoothRow(src.Row(y), line(y), lineSamples, channels); };
  smoothAlong(0);
  if (h == 1) {
    std::copy(line(0), line(0) + workStride, dst.Row(0));
    return 1;
  }
  smoothAlong(1);
  for (int y = 0; y < h; ++y) {
    if (y + 1 < h && y >= 1) smoothAlong(y + 1);
    uint8_t* out = dst.Row(y);
    const uint8_t* mid = line(y);
    if (y == 0 || y == h - 1) {
      const uint8_t* other = line(y == 0 ? 1 : h - 2);
      for (int x = 0; x < workStride; ++x)
        out[x] = static_cast<uint8_t>((2 * mid[x] + other[x]) / 3);
      continue;
    }
    const uint8_t* below = line(y - 1);
    const uint8_t* above = line(y + 1);
    for (int x = 0; x < workStride; ++x)
      out[x] = static_cast<uint8_t>((below[x] + 2 * mid[x] + above[x]) >> 2);
  }
  return 1;
}

int EngineDib::SmoothInto(EngineDib& destination) {
  DibLock sourceLock(*this);
  DibLock destLock(destination);
  if (!sourceLock.Locked() || !destLock.Locked()) return 0;
  return SmoothView(View(), destination.View());
}

int EngineDib::Draw(HDC dc, int x, int y) {
  DibLock lock(*this);
  if (!lock.Locked() || !bits) return 0;
  return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(header->biWidth),
                           static_cast<DWORD>(header->biHeight), 0, 0, 0,
                           static_cast<UINT>(header->biHeight), bits,
                           reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
}

int EngineDib::DrawStretched(HDC dc, int x, int y, int width, int height) {
  DibLock lock(*this);
  if (!lock.Locked() || !bits) return 0;
  return StretchDIBits(dc, x, y, width, height, 0, 0, header->biWidth, header->biHeight, bits,
                       reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
}

int EngineDib::Load(const char* fileName) {
  if (!fileName) return 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "rb"));
  if (!file) return 0;
  const long start = std::ftell(file.get());
  if (start < 0) return 0;

  uint8_t fileHeader[14];
  uint8_t info[40];
  if (std::fread(fileHeader, 1, sizeof fileHeader, file.get()) != sizeof fileHeader) return 0;
  if (std::fread(info, 1, sizeof info, file.get()) != sizeof info) return 0;
  BmpFileHeader fh{ReadLe16(fileHeader), ReadLe32(fileHeader + 2), ReadLe32(fileHeader + 10)};
  if (fh.type != kBmpType || ReadLe32(info) != 40) return 0;

  BITMAPINFOHEADER h;
  std::memcpy(&h, info, sizeof h);  // the in-memory header is the file's 40 bytes
  if (h.biWidth <= 0 || h.biHeight <= 0 || h.biWidth > kLargestSide ||
      h.biHeight > kLargestSide || h.biCompression != BI_RGB)
    return 0;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
  }
  const int entries = PaletteSize(&h);
  if (entries > 256) return 0;
  const uint64_t rowBytes = static_cast<uint64_t>(DibStride(h.biWidth, h.biBitCount));
  const uint64_t needed = rowBytes * static_cast<uint64_t>(h.biHeight);
  // bfSize - bfOffBits gives the pixel bytes; a file whose sizes cannot hold
  // the rows its header promises is refused rather than read past its end.
  if (fh.size <= fh.offBits) return 0;
  const uint64_t pixelBytes = fh.size - fh.offBits;
  if (pixelBytes < needed || pixelBytes > (uint64_t(1) << 30)) return 0;

  // In memory the rows must start where Lock looks for them, which depends on
  // the depth alone: a short 1- or 8-bit table is padded to its full size, and
  // the optional table of a 24-bit file is dropped.
  int memoryEntries = entries;
  if (h.biBitCount == 1 || h.biBitCount == 8) memoryEntries = 1 << h.biBitCount;
  if (h.biBitCount == 24) memoryEntries = 0;
  if (entries > memoryEntries && (h.biBitCount == 1 || h.biBitCount == 8)) return 0;
  const size_t tableBytes = 4 * static_cast<size_t>(memoryEntries);
  HGLOBAL block = AllocateBlock(40 + tableBytes + pixelBytes);
  if (!block) return 0;
  auto* out = static_cast<uint8_t*>(GlobalLock(block));
  bool ok = out != nullptr;
  if (ok) {
    std::memcpy(out, info, 40);
    std::memset(out + 40, 0, tableBytes);
    const size_t fileTableBytes = 4 * static_cast<size_t>(entries);
    const size_t keptTableBytes = fileTableBytes < tableBytes ? fileTableBytes : tableBytes;
    ok = std::fread(out + 40, 1, keptTableBytes, file.get()) == keptTableBytes &&
         std::fseek(file.get(), start + static_cast<long>(fh.offBits), SEEK_SET) == 0 &&
         std::fread(out + 40 + tableBytes, 1, pixelBytes, file.get()) == pixelBytes;
    if (ok) {
      auto* loaded = reinterpret_cast<BITMAPINFOHEADER*>(out);
      loaded->biSizeImage = static_cast<DWORD>(pixelBytes);
      loaded->biClrUsed = static_cast<DWORD>(memoryEntries);
    }
    GlobalUnlock(block);
  }
  if (!ok) {
    GlobalFree(block);
    return 0;
  }
  Release();
  handle = block;
  borrowed = 0;
  stride = static_cast<int32_t>(rowBytes);
  return 1;
}

int EngineDib::Save(const char* fileName) {
  if (!fileName) return 0;
  DibLock lock(*this);
  if (!lock.Locked()) return 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "wb"));
  if (!file) return 0;

  const int entries = PaletteSize(header);
  const uint32_t rowBytes = static_cast<uint32_t>(DibStride(header->biWidth, header->biBitCount));
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(header->biHeight);
  const uint32_t tableBytes = 4u * static_cast<uint32_t>(entries);
  uint8_t fh[14];
  WriteLe16(fh, kBmpType);
  WriteLe32(fh + 2, pixelBytes + tableBytes + 54);
  WriteLe16(fh + 6, 0);
  WriteLe16(fh + 8, 0);
  WriteLe32(fh + 10, tableBytes + 54);
  const auto* base = reinterpret_cast<const uint8_t*>(header);
  // Rows sit at the depth's fixed offset, which for 1 and 8 bits is right
  // after the full table; a shorter biClrUsed table is written as declared.
  const uint8_t* rows = bits ? bits : base + 40 + tableBytes;
  bool ok = std::fwrite(fh, 1, 14, file.get()) == 14 &&
            std::fwrite(base, 1, 40 + tableBytes, file.get()) == 40 + tableBytes &&
            std::fwrite(rows, 1, pixelBytes, file.get()) == pixelBytes;
  ok = (std::fclose(file.release()) == 0) && ok;
  return ok ? 1 : 0;
}

}  // namespace seam
