// Truevision Targa: colour-mapped, true-colour and grey, uncompressed or RLE.
// Written RLE-compressed when the compression switch is on.
#include <algorithm>
#include <cstring>

#include "formats.h"
#include "reader.h"

namespace pixio {

namespace {

struct TgaHeader {
  int idLength, mapType, imageType, mapFirst, mapLength, mapEntryBits;
  int width, height, depth, descriptor;
};

bool ReadHeader(Reader& in, TgaHeader* h) {
  h->idLength = in.U8();
  h->mapType = in.U8();
  h->imageType = in.U8();
  h->mapFirst = in.U16LE();
  h->mapLength = in.U16LE();
  h->mapEntryBits = in.U8();
  in.U16LE();
  in.U16LE();
  h->width = in.U16LE();
  h->height = in.U16LE();
  h->depth = in.U8();
  h->descriptor = in.U8();
  return !in.Failed();
}

bool HeaderValid(const TgaHeader& h) {
  if (h.mapType > 1 || (h.descriptor & 0xC0) != 0) return false;
  if (h.width == 0 || h.height == 0) return false;
  const int kind = h.imageType & ~8;
  if (h.imageType != kind && h.imageType != (kind | 8)) return false;
  const bool mapEntryOk = h.mapEntryBits == 15 || h.mapEntryBits == 16 || h.mapEntryBits == 24 ||
                          h.mapEntryBits == 32;
  if (h.mapType == 1 && (!mapEntryOk || h.mapLength == 0)) return false;
  switch (kind) {
    case 1: return h.mapType == 1 && h.depth == 8 && h.mapFirst + h.mapLength <= 256;
    case 2: return h.depth == 15 || h.depth == 16 || h.depth == 24 || h.depth == 32;
    case 3: return h.depth == 8;
    default: return false;
  }
}

/// One colour of `bits` (15, 16, 24 or 32) as blue, green, red.
void ReadColour(const uint8_t* p, int bits, uint8_t* bgr) {
  if (bits == 15 || bits == 16) {
    const int v = p[0] | (p[1] << 8);
    const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    bgr[0] = static_cast<uint8_t>((b << 3) | (b >> 2));
    bgr[1] = static_cast<uint8_t>((g << 3) | (g >> 2));
    bgr[2] = static_cast<uint8_t>((r << 3) | (r >> 2));
    return;
  }
  bgr[0] = p[0];
  bgr[1] = p[1];
  bgr[2] = p[2];
}

void PutRow(Writer& w, const uint8_t* row, int count, int bpp, bool rle) {
  if (!rle) {
    w.Put(row, static_cast<size_t>(count) * bpp);
    return;
  }
  int i = 0;
  while (i < count) {
    // A run of at least two equal pixels becomes a repeat packet.
    int run = 1;
    while (i + run < count && run < 128 &&
           std::memcmp(row + (i + run) * bpp, row + i * bpp, static_cast<size_t>(bpp)) == 0)
      ++run;
    if (run >= 2) {
      w.U8(static_cast<unsigned>(0x80 | (run - 1)));
      w.Put(row + i * bpp, static_cast<size_t>(bpp));
      i += run;
      continue;
    }
    int raw = 1;
    while (i + raw < count && raw < 128 &&
           (i + raw + 1 >= count ||
            std::memcmp(row + (i + raw) * bpp, row + (i + raw + 1) * bpp, static_cast<size_t>(bpp)) != 0))
      ++raw;
    w.U8(static_cast<unsigned>(raw - 1));
    w.Put(row + i * bpp, static_cast<size_t>(raw) * bpp);
    i += raw;
  }
}

}  // namespace

bool LooksLikeTga(const uint8_t* data, size_t size) {
  Reader in(data, size);
  TgaHeader h;
  return ReadHeader(in, &h) && HeaderValid(h);
}

bool DecodeTga(const uint8_t* data, size_t size, Image* out) {
  Reader in(data, size);
  TgaHeader h;
  if (!ReadHeader(in, &h) || !HeaderValid(h)) return false;
  if (!in.Skip(static_cast<size_t>(h.idLength))) return false;
  const int kind = h.imageType & ~8;
  const bool rle = (h.imageType & 8) != 0;
  if (!DimensionsAcceptable(h.width, h.height)) return false;
  const int bpp = (h.depth + 7) / 8;
  const size_t count = static_cast<size_t>(h.width) * h.height;
  const size_t mapBytes = h.mapType == 1 ? static_cast<size_t>(h.mapLength) * ((h.mapEntryBits + 7) / 8) : 0;
  if (mapBytes > in.Remaining()) return false;
  // Stored pixels must be in the file before their memory is taken: raw ones
  // byte for byte, run-length ones at most 128 to a packet of 1 + bpp bytes.
  const size_t pixelBytesLeft = in.Remaining() - mapBytes;
  if (rle ? count / 128 > pixelBytesLeft : count > pixelBytesLeft / static_cast<size_t>(bpp))
    return false;
  Image image;
  const int outBits = kind == 2 ? 24 : 8;
  if (!image.Allocate(h.width, h.height, outBits)) return false;
  if (h.mapType == 1) {
    const int entryBytes = (h.mapEntryBits + 7) / 8;
    const uint8_t* map = in.Here();
    if (!in.Skip(static_cast<size_t>(h.mapLength) * entryBytes)) return false;
    if (kind == 1) {
      image.palette.assign(256, RGBQUAD{0, 0, 0, 0});
      for (int i = 0; i < h.mapLength; ++i) {
        uint8_t bgr[3];
        ReadColour(map + i * entryBytes, h.mapEntryBits, bgr);
        image.palette[h.mapFirst + i] = RGBQUAD{bgr[0], bgr[1], bgr[2], 0};
      }
    }
  }
  if (kind == 3) image.palette = GrayPalette();
  // Pixels as stored, in file order, then placed by the origin bits.
  std::vector<uint8_t> raw;
  size_t rawBytes = 0;
  if (!CheckedMul(count, static_cast<size_t>(bpp), &rawBytes)) return false;
  if (!rle) {
    if (rawBytes > in.Remaining()) return false;
    raw.assign(in.Here(), in.Here() + rawBytes);
  } else {
    // An RLE packet of 1 + bpp bytes yields at most 128 pixels: refuse files
    // too short to hold the picture before allocating it.
    if (count / 128 > in.Remaining()) return false;
    raw.reserve(rawBytes);
    while (raw.size() < rawBytes) {
      const int packet = in.U8();
      const int n = (packet & 0x7F) + 1;
      const size_t bytes = static_cast<size_t>(n) * bpp;
      if (in.Failed()) return false;
      const size_t take = std::min(bytes, rawBytes - raw.size());
      if (packet & 0x80) {
        const uint8_t* p = in.Here();
        if (!in.Skip(static_cast<size_t>(bpp))) return false;
        for (size_t k = 0; k < take; k += static_cast<size_t>(bpp)) raw.insert(raw.end(), p, p + bpp);
      } else {
        const uint8_t* p = in.Here();
        if (!in.Skip(bytes)) return false;
        raw.insert(raw.end(), p, p + take);
      }
    }
  }
  const bool topFirst = (h.descriptor & 0x20) != 0;
  const bool rightFirst = (h.descriptor & 0x10) != 0;
  for (int fy = 0; fy < h.height; ++fy) {
    uint8_t* dst = topFirst ? image.TopRow(fy) : image.Row(fy);
    const uint8_t* src = raw.data() + static_cast<size_t>(fy) * h.width * bpp;
    for (int fx = 0; fx < h.width; ++fx) {
      const int x = rightFirst ? h.width - 1 - fx : fx;
      const uint8_t* p = src + static_cast<size_t>(fx) * bpp;
      if (outBits == 8) {
        dst[x] = p[0];
      } else {
        ReadColour(p, h.depth, dst + 3 * x);
      }
    }
  }
  *out = std::move(image);
  return true;
}

bool EncodeTga(const Image& source, const EncodeSettings& settings, std::vector<uint8_t>* out) {
  if (source.width > 65535 || source.height > 65535) return false;  // 16-bit fields
  Image expanded;
  const Image* image = &source;
  const bool gray = source.IsGray();
  const bool mapped = source.bitCount == 8 && !gray;
  if (source.bitCount != 24 && source.bitCount != 8) {
    if (!ExpandTo24(source, &expanded)) return false;
    image = &expanded;
  }
  const int kind = image->bitCount == 24 ? 2 : (mapped ? 1 : 3);
  if (!settings.compress) {
    out->reserve(out->size() + 18 + (mapped ? 768 : 0) +
                 static_cast<size_t>(image->width) * image->height * (image->bitCount / 8) + 26);
  }
  Writer w(out);
  w.U8(0);
  w.U8(mapped ? 1 : 0);
  w.U8(static_cast<unsigned>(kind | (settings.compress ? 8 : 0)));
  w.U16LE(0);
  w.U16LE(mapped ? 256 : 0);
  w.U8(mapped ? 24 : 0);
  w.U16LE(0);
  w.U16LE(0);
  w.U16LE(static_cast<unsigned>(image->width));
  w.U16LE(static_cast<unsigned>(image->height));
  w.U8(image->bitCount == 24 ? 24 : 8);
  w.U8(0);  // bottom-up rows, left to right: the DIB's own order
  if (mapped) {
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD q = i < static_cast<int>(image->palette.size()) ? image->palette[i] : RGBQUAD{};
      w.U8(q.rgbBlue);
      w.U8(q.rgbGreen);
      w.U8(q.rgbRed);
    }
  }
  const int bpp = image->bitCount / 8;
  for (int y = 0; y < image->height; ++y) PutRow(w, image->Row(y), image->width, bpp, settings.compress);
  // The version 2 footer: no extension or developer area.
  w.U32LE(0);
  w.U32LE(0);
  w.Put("TRUEVISION-XFILE.", 18);
  return true;
}

}  // namespace pixio
