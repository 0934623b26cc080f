// Windows and OS/2 bitmaps: 1, 4, 8, 16, 24 and 32 bits; RLE4 and RLE8 read.
#include <algorithm>
#include <cstring>

#include "formats.h"
#include "reader.h"

namespace pixio {

namespace {

/// Runs RLE4/RLE8 codes into an index image (pixels start as index 0). False
/// when the data ends before the end-of-bitmap code.
bool DecodeRle(Reader& in, int bits, Image* image) {
  int x = 0, y = 0;  // y counts stored rows, bottom first
  auto put = [&](int index) {
    if (x < image->width && y < image->height) {
      uint8_t* row = image->Row(y);
      if (bits == 8) {
        row[x] = static_cast<uint8_t>(index);
      } else if (x & 1) {
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
      } else {
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (index << 4));
      }
    }
    ++x;
  };
  while (!in.Eof()) {
    const int count = in.U8();
    const int value = in.U8();
    if (in.Failed()) return false;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        put(bits == 8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4)));
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2: {  // delta
        const int dx = in.U8();
        const int dy = in.U8();
        if (in.Failed()) return false;
        x += dx;
        y += dy;
        break;
      }
      default: {  // absolute run of `value` pixels, padded to 16 bits
        const int n = value;
        const int bytes = bits == 8 ? n : (n + 1) / 2;
        const uint8_t* p = in.Here();
        if (!in.Skip(static_cast<size_t>(bytes + (bytes & 1)))) return false;
        for (int i = 0; i < n; ++i) {
          put(bits == 8 ? p[i] : ((i & 1) ? (p[i >> 1] & 0x0F) : (p[i >> 1] >> 4)));
        }
        break;
      }
    }
    if (y > image->height) return true;  // ran off the top: nothing more is visible
  }
  return false;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Image* out) {
  Reader in(data, size);
  if (in.U8() != 'B' || in.U8() != 'M') return false;
  in.Skip(8);
  const uint32_t offBits = in.U32LE();
  const size_t infoStart = in.Position();
  const uint32_t infoSize = in.U32LE();
  if (in.Failed()) return false;
  int64_t width = 0, height = 0;
  int bits = 0;
  uint32_t compression = BI_RGB, clrUsed = 0;
  uint32_t masks[3] = {0, 0, 0};
  bool core = false;
  if (infoSize == 12) {
    core = true;
    width = in.U16LE();
    height = static_cast<int16_t>(in.U16LE());
    in.U16LE();
    bits = in.U16LE();
  } else if (infoSize >= 40 && infoSize <= 124) {
    width = static_cast<int32_t>(in.U32LE());
    height = static_cast<int32_t>(in.U32LE());
    in.U16LE();
    bits = in.U16LE();
    compression = in.U32LE();
    in.Skip(12);
    clrUsed = in.U32LE();
    in.U32LE();
    if (infoSize >= 52) {
      masks[0] = in.U32LE();
      masks[1] = in.U32LE();
      masks[2] = in.U32LE();
    }
  } else {
    return false;
  }
  if (in.Failed() || !in.Seek(infoStart + infoSize)) return false;
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (!DimensionsAcceptable(width, height)) return false;
  const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if (compression == BI_RLE8 && bits != 8) return false;
  if (compression == BI_RLE4 && bits != 4) return false;
  if (rle && topDown) return false;
  if (compression == BI_BITFIELDS) {
    if (bits != 16 && bits != 32) return false;
    if (infoSize < 52) {
      masks[0] = in.U32LE();
      masks[1] = in.U32LE();
      masks[2] = in.U32LE();
    }
  } else if (compression == BI_RGB) {
    if (bits == 16) {
      masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else if (bits == 32) {
      masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
    }
  } else if (!rle) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

  std::vector<RGBQUAD> palette;
  if (bits <= 8) {
    size_t colours = clrUsed ? clrUsed : (size_t(1) << bits);
    if (colours > 256) return false;
    const int entry = core ? 3 : 4;
    palette.resize(colours);
    for (auto& q : palette) {
      q.rgbBlue = in.U8();
      q.rgbGreen = in.U8();
      q.rgbRed = in.U8();
      q.rgbReserved = 0;
      if (entry == 4) in.U8();
    }
    if (in.Failed()) return false;
    // Some writers count more colours than the depth can index.
    if (palette.size() > (size_t(1) << bits)) palette.resize(size_t(1) << bits);
  }
  if (in.Failed()) return false;
  // The pixel data starts where the file header says; some writers leave the
  // offset 0, which means straight after the colour table.
  if (offBits != 0 && !in.Seek(offBits)) return false;
  // Uncompressed rows must all be in the file before their memory is taken.
  const size_t stride = DibStride(static_cast<int>(width), bits);
  size_t need = 0;
  if (!rle && (!CheckedMul(stride, static_cast<size_t>(height), &need) || need > in.Remaining()))
    return false;

  Image image;
  if (!image.Allocate(static_cast<int>(width), static_cast<int>(height), bits <= 8 ? bits : 24))
    return false;
  image.palette = std::move(palette);
  if (rle) {
    if (!DecodeRle(in, bits, &image)) return false;
    *out = std::move(image);
    return true;
  }
  const uint8_t* pixels = in.Here();
  UnpackRows(pixels, stride, bits, masks, topDown, &image);
  *out = std::move(image);
  return true;
}

bool EncodeBmp(const Image& image, std::vector<uint8_t>* out) {
  const size_t colours = image.bitCount == 24 ? 0 : (size_t(1) << image.bitCount);
  const size_t offBits = 14 + 40 + 4 * colours;
  const size_t total = offBits + image.pixels.size();
  if (total > 0xFFFFFFFFu) return false;
  out->reserve(out->size() + total);
  Writer w(out);
  w.U8('B');
  w.U8('M');
  w.U32LE(static_cast<uint32_t>(total));
  w.U32LE(0);
  w.U32LE(static_cast<uint32_t>(offBits));
  w.U32LE(40);
  w.U32LE(static_cast<uint32_t>(image.width));
  w.U32LE(static_cast<uint32_t>(image.height));
  w.U16LE(1);
  w.U16LE(static_cast<unsigned>(image.bitCount));
  w.U32LE(BI_RGB);
  w.U32LE(static_cast<uint32_t>(image.pixels.size()));
  w.U32LE(2835);
  w.U32LE(2835);
  w.U32LE(static_cast<uint32_t>(colours));
  w.U32LE(0);
  for (size_t i = 0; i < colours; ++i) {
    const RGBQUAD q = i < image.palette.size() ? image.palette[i] : RGBQUAD{0, 0, 0, 0};
    w.U8(q.rgbBlue);
    w.U8(q.rgbGreen);
    w.U8(q.rgbRed);
    w.U8(0);
  }
  w.Put(image.pixels.data(), image.pixels.size());
  return true;
}

}  // namespace pixio
