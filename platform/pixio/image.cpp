#include "image.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>

#include "unique_handle.h"

namespace pixio {

namespace {

std::atomic<int64_t> g_maxReadPixels{kDefaultMaxReadPixels};

}  // namespace

int64_t MaxReadPixels() { return g_maxReadPixels.load(); }

void SetMaxReadPixels(int64_t pixels) {
  g_maxReadPixels.store(pixels < 1 ? kDefaultMaxReadPixels : pixels);
}

bool Image::Allocate(int w, int h, int bits) {
  if (w <= 0 || h <= 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
  size_t bytes = 0;
  if (!StrideFits(w, bits) || !CheckedMul(DibStride(w, bits), static_cast<size_t>(h), &bytes))
    return false;
  if (bytes > static_cast<size_t>(PTRDIFF_MAX)) return false;
  try {
    pixels.clear();
    pixels.shrink_to_fit();
    pixels.assign(bytes, 0);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  width = w;
  height = h;
  bitCount = bits;
  return true;
}

int Image::IndexAt(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    case 8: return row[x];
    default: return 0;
  }
}

bool Image::IsGray() const {
  if (bitCount != 8 || palette.size() != 256) return false;
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD& q = palette[i];
    if (q.rgbRed != i || q.rgbGreen != i || q.rgbBlue != i) return false;
  }
  return true;
}

const RGBQUAD* GrayRamp() {
  static const struct Ramp {
    RGBQUAD entries[256];
    Ramp() : entries() {
      for (int i = 0; i < 256; ++i) {
        entries[i].rgbBlue = entries[i].rgbGreen = entries[i].rgbRed = static_cast<BYTE>(i);
      }
    }
  } ramp;
  return ramp.entries;
}

std::vector<RGBQUAD> GrayPalette() { return std::vector<RGBQUAD>(GrayRamp(), GrayRamp() + 256); }

bool ExpandTo24(const Image& in, Image* out) {
  if (in.bitCount == 24) {
    try {
      *out = in;
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  Image result;
  if (!result.Allocate(in.width, in.height, 24)) return false;
  // Indexes beyond a short colour table show black, as Windows draws them.
  RGBQUAD table[256] = {};
  std::copy_n(in.palette.begin(), std::min<size_t>(in.palette.size(), 256), table);
  for (int y = 0; y < in.height; ++y) {
    uint8_t* dst = result.Row(y);
    for (int x = 0; x < in.width; ++x) {
      const RGBQUAD& q = table[in.IndexAt(x, y)];
      dst[3 * x] = q.rgbBlue;
      dst[3 * x + 1] = q.rgbGreen;
      dst[3 * x + 2] = q.rgbRed;
    }
  }
  *out = std::move(result);
  return true;
}

HGLOBAL NewDib(int width, int height, int bitCount, const RGBQUAD* palette, size_t paletteSize,
               uint8_t** rows) {
  if (width < 0 || height < 0 || !StrideFits(width, bitCount)) return nullptr;
  const size_t colours = bitCount == 24 ? 0 : (size_t(1) << bitCount);
  const size_t paletteBytes = colours * sizeof(RGBQUAD);
  size_t pixelBytes = 0, total = 0;
  if (!CheckedMul(DibStride(width, bitCount), static_cast<size_t>(height), &pixelBytes) ||
      !CheckedAdd(sizeof(BITMAPINFOHEADER) + paletteBytes, pixelBytes, &total))
    return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, total);
  if (!block) return nullptr;
  auto* base = static_cast<uint8_t*>(GlobalLock(block));
  if (!base) {
    GlobalFree(block);
    return nullptr;
  }
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitCount);
  header.biCompression = BI_RGB;
  // The field may be 0 for uncompressed rows: so it is past 4 GB.
  header.biSizeImage = pixelBytes > 0xFFFFFFFFu ? 0 : static_cast<DWORD>(pixelBytes);
  header.biXPelsPerMeter = header.biYPelsPerMeter = 2835;  // 72 dots per inch
  header.biClrUsed = static_cast<DWORD>(colours);
  std::memcpy(base, &header, sizeof header);
  auto* table = reinterpret_cast<RGBQUAD*>(base + sizeof header);
  for (size_t i = 0; i < colours; ++i) {
    table[i] = i < paletteSize ? palette[i] : RGBQUAD{0, 0, 0, 0};
    table[i].rgbReserved = 0;
  }
  *rows = base + sizeof header + paletteBytes;
  return block;
}

HGLOBAL ToDib(const Image& image, bool force24) {
  Image expanded;
  const Image* src = &image;
  if (force24 && image.bitCount != 24) {
    if (!ExpandTo24(image, &expanded)) return nullptr;
    src = &expanded;
  }
  uint8_t* rows = nullptr;
  HGLOBAL block = NewDib(src->width, src->height, src->bitCount, src->palette.data(),
                         src->palette.size(), &rows);
  if (!block) return nullptr;
  if (!src->pixels.empty()) std::memcpy(rows, src->pixels.data(), src->pixels.size());
  GlobalUnlock(block);
  return block;
}

namespace {

/// A channel mask of BI_BITFIELDS pixels, scaled to 0..255.
struct ChannelMask {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t top = 0;
  explicit ChannelMask(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    top = m >> shift;
  }
  uint8_t Of(uint32_t pixel) const {
    if (!top) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + top / 2) / top);
  }
};

}  // namespace

void UnpackRows(const uint8_t* pixels, size_t stride, int bits, const uint32_t masks[3],
                bool topDown, Image* image) {
  const ChannelMask r(masks[0]), g(masks[1]), b(masks[2]);
  for (int y = 0; y < image->height; ++y) {
    const uint8_t* src = pixels + stride * static_cast<size_t>(topDown ? image->height - 1 - y : y);
    uint8_t* dst = image->Row(y);
    if (bits <= 8 || bits == 24) {
      std::memcpy(dst, src, stride);
      continue;
    }
    for (int x = 0; x < image->width; ++x) {
      const uint32_t p = bits == 16 ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                                    : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                                          (uint32_t(src[4 * x + 2]) << 16) |
                                          (uint32_t(src[4 * x + 3]) << 24);
      dst[3 * x] = b.Of(p);
      dst[3 * x + 1] = g.Of(p);
      dst[3 * x + 2] = r.Of(p);
    }
  }
}

bool FindDibParts(const uint8_t* base, size_t blockSize, DibParts* parts) {
  if (blockSize < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, base, sizeof header);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > blockSize) return false;
  const int width = header.biWidth;
  const bool topDown = header.biHeight < 0;
  const int64_t height64 = topDown ? -int64_t(header.biHeight) : header.biHeight;
  // A DIB handed to us is already in memory: only its own block bounds it (and
  // byte offsets within one row stay in int).
  if (width <= 0 || width > INT32_MAX / 4 || height64 <= 0 || height64 > INT32_MAX) return false;
  const int height = static_cast<int>(height64);
  const int bits = header.biBitCount;
  const bool bitfields = header.biCompression == BI_BITFIELDS;
  if (header.biCompression != BI_RGB && !bitfields) return false;
  size_t colours = 0;
  if (bits <= 8) {
    if (bits != 1 && bits != 4 && bits != 8) return false;
    colours = header.biClrUsed ? header.biClrUsed : (size_t(1) << bits);
    if (colours > (size_t(1) << bits)) colours = size_t(1) << bits;
  } else if (bits != 16 && bits != 24 && bits != 32) {
    return false;
  }
  size_t offset = header.biSize;
  uint32_t masks[3] = {0, 0, 0};
  if (bitfields) {
    if (bits != 16 && bits != 32) return false;
    if (header.biSize >= 52) {
      std::memcpy(masks, base + 40, 12);
    } else {
      if (offset + 12 > blockSize) return false;
      std::memcpy(masks, base + offset, 12);
      offset += 12;
    }
  } else if (bits == 16) {
    masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
  } else if (bits == 32) {
    masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
  }
  if (!StrideFits(width, bits)) return false;
  const size_t stride = DibStride(width, bits);
  size_t need = 0;
  if (!CheckedMul(stride, static_cast<size_t>(height), &need)) return false;
  const size_t paletteBytes = colours * 4;
  if (offset + paletteBytes > blockSize || need > blockSize - offset - paletteBytes) return false;
  parts->width = width;
  parts->height = height;
  parts->bits = bits;
  parts->topDown = topDown;
  std::memcpy(parts->masks, masks, sizeof masks);
  parts->colours = colours;
  parts->stride = stride;
  parts->palette = base + offset;
  parts->rows = base + offset + paletteBytes;
  return true;
}

bool FromDib(HGLOBAL dib, Image* out) {
  if (!dib) return false;
  const size_t blockSize = GlobalSize(dib);
  vmd::GlobalLockGuard<const uint8_t> lock(dib);
  DibParts d;
  if (!lock.get() || !FindDibParts(lock.get(), blockSize, &d)) return false;
  Image image;
  if (!image.Allocate(d.width, d.height, d.bits <= 8 ? d.bits : 24)) return false;
  if (d.bits <= 8) {
    image.palette.resize(d.colours);
    std::memcpy(image.palette.data(), d.palette, d.colours * sizeof(RGBQUAD));
    for (auto& q : image.palette) q.rgbReserved = 0;
  }
  UnpackRows(d.rows, d.stride, d.bits, d.masks, d.topDown, &image);
  *out = std::move(image);
  return true;
}

bool ApplyOrientation(Image* image, int orientation) {
  if (orientation < 2 || orientation > 8) return true;
  if (image->bitCount != 24 && image->bitCount != 8) return false;
  const int bpp = image->bitCount / 8;
  const int w = image->width, h = image->height;
  const bool swap = orientation >= 5;
  Image result;
  if (!result.Allocate(swap ? h : w, swap ? w : h, image->bitCount)) return false;
  result.palette = image->palette;
  // For each target pixel (tx, ty) counted from the top left, the source pixel
  // it shows. Codes: 2 mirror, 3 half turn, 4 flip, 5 transpose, 6 quarter turn
  // clockwise, 7 transverse, 8 quarter turn anticlockwise.
  for (int ty = 0; ty < result.height; ++ty) {
    uint8_t* dst = result.TopRow(ty);
    for (int tx = 0; tx < result.width; ++tx) {
      int sx = tx, sy = ty;
      switch (orientation) {
        case 2: sx = w - 1 - tx; sy = ty; break;
        case 3: sx = w - 1 - tx; sy = h - 1 - ty; break;
        case 4: sx = tx; sy = h - 1 - ty; break;
        case 5: sx = ty; sy = tx; break;
        case 6: sx = ty; sy = h - 1 - tx; break;
        case 7: sx = w - 1 - ty; sy = h - 1 - tx; break;
        case 8: sx = w - 1 - ty; sy = tx; break;
      }
      std::memcpy(dst + tx * bpp, image->TopRow(sy) + sx * bpp, bpp);
    }
  }
  *image = std::move(result);
  return true;
}

}  // namespace pixio
