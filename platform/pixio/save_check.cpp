#include "save_check.h"

#include <cstdio>

namespace pixio {

namespace {

bool SideLimit(int64_t width, int64_t height, int64_t maxWidth, int64_t maxHeight,
               SizeLimit* limit) {
  if (width <= maxWidth && height <= maxHeight) return true;
  limit->kind = SizeLimit::kSide;
  limit->maxWidth = maxWidth;
  limit->maxHeight = maxHeight;
  return false;
}

/// Bytes of the picture's rows padded as a DIB's: what BMP stores.
uint64_t DibBytes(int64_t width, int64_t height, int bitCount) {
  return ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4 * static_cast<uint64_t>(height);
}

}  // namespace

bool FitsFormat(FormatKind kind, int64_t width, int64_t height, int bitCount, SizeLimit* limit) {
  *limit = SizeLimit();
  switch (kind) {
    case FormatKind::kJpeg:
      return SideLimit(width, height, kMaxJpegSide, kMaxJpegSide, limit);
    case FormatKind::kGif:
      if (!SideLimit(width, height, kMaxShortSide, kMaxShortSide, limit)) return false;
      if (bitCount == 24 && width * height > kMaxGifPixels) {
        limit->kind = SizeLimit::kPixels;
        limit->maxPixels = kMaxGifPixels;
        return false;
      }
      return true;
    case FormatKind::kTga:
      return SideLimit(width, height, kMaxShortSide, kMaxShortSide, limit);
    case FormatKind::kPcx: {
      const bool bytePlanes = bitCount == 8 || bitCount == 24;
      return SideLimit(width, height, bytePlanes ? kMaxPcxByteWidth : kMaxShortSide, kMaxShortSide,
                       limit);
    }
    case FormatKind::kBmp: {
      const uint64_t colours = bitCount == 24 ? 0 : (uint64_t(1) << bitCount);
      const uint64_t need = 14 + 40 + 4 * colours + DibBytes(width, height, bitCount);
      if (need <= kMaxBmpBytes) return true;
      limit->kind = SizeLimit::kBytes;
      limit->maxBytes = kMaxBmpBytes;
      limit->needBytes = need;
      return false;
    }
    case FormatKind::kFpx: {
      // Whole 64 x 64 tiles of three bytes a pixel, uncompressed: the bound
      // holds at every quality, so the answer never depends on the picture.
      const uint64_t tiles = static_cast<uint64_t>((width + 63) / 64) * ((height + 63) / 64);
      if (28 + tiles * 64 * 64 * 3 <= kMaxFpxStreamBytes) return true;
      limit->kind = SizeLimit::kPixels;
      limit->maxPixels = static_cast<int64_t>((kMaxFpxStreamBytes - 28) / 3);
      return false;
    }
    case FormatKind::kTiff:
      return true;  // BigTIFF past 4 GB
    case FormatKind::kPcd:
    case FormatKind::kNone:
      break;
  }
  return false;
}

const char* FormatName(FormatKind kind) {
  switch (kind) {
    case FormatKind::kBmp: return "BMP";
    case FormatKind::kTiff: return "TIFF";
    case FormatKind::kPcx: return "PCX";
    case FormatKind::kGif: return "GIF";
    case FormatKind::kTga: return "Targa";
    case FormatKind::kJpeg: return "JPEG";
    case FormatKind::kFpx: return "FlashPix";
    case FormatKind::kPcd: return "Photo CD";
    case FormatKind::kNone: break;
  }
  return "this type";
}

std::string TooBigMessage(const char* subject, int64_t width, int64_t height, FormatKind kind,
                          const SizeLimit& limit) {
  char size[96];
  std::snprintf(size, sizeof size, "%s is %lld x %lld pixels", subject && *subject ? subject : "the picture",
                static_cast<long long>(width), static_cast<long long>(height));
  char holds[128] = "";
  switch (limit.kind) {
    case SizeLimit::kSide:
      if (limit.maxWidth == limit.maxHeight) {
        std::snprintf(holds, sizeof holds, "at most %lld a side", static_cast<long long>(limit.maxWidth));
      } else {
        std::snprintf(holds, sizeof holds, "at most %lld x %lld", static_cast<long long>(limit.maxWidth),
                      static_cast<long long>(limit.maxHeight));
      }
      break;
    case SizeLimit::kBytes:
      std::snprintf(holds, sizeof holds, "at most %.1f GB (this one needs %.1f GB)",
                    double(limit.maxBytes) / double(1u << 30), double(limit.needBytes) / double(1u << 30));
      break;
    case SizeLimit::kPixels:
      std::snprintf(holds, sizeof holds, "at most %lld million pixels",
                    static_cast<long long>(limit.maxPixels / 1000000));
      break;
    case SizeLimit::kNone:
      std::snprintf(holds, sizeof holds, "less");
      break;
  }
  return std::string(size) + "; " + FormatName(kind) + " holds " + holds + ": save as TIFF";
}

bool NeedsBigTiff(int64_t width, int64_t height, int bitCount, bool compress) {
  const int bits = bitCount == 24 ? 24 : bitCount;
  const uint64_t raw = (static_cast<uint64_t>(width) * bits + 7) / 8 * static_cast<uint64_t>(height);
  // LZW can grow data that does not repeat by half (12-bit codes for bytes).
  const uint64_t worst = compress ? raw + raw / 2 : raw;
  return worst > kMaxClassicTiffBytes;
}

}  // namespace pixio
