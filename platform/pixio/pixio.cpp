#include "pixio.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "formats.h"
#include "image.h"
#include "reader.h"
#include "save_check.h"
#include "unique_handle.h"

namespace pixio {

namespace {

std::atomic<int> g_jpegQuality{75};
std::atomic<int> g_compress{0};

}  // namespace

FormatKind SniffFormat(const uint8_t* data, size_t size) {
  auto starts = [&](const char* magic, size_t n) {
    return size >= n && std::memcmp(data, magic, n) == 0;
  };
  if (starts("BM", 2)) return FormatKind::kBmp;
  if (starts("\xFF\xD8\xFF", 3)) return FormatKind::kJpeg;
  if (starts("GIF87a", 6) || starts("GIF89a", 6)) return FormatKind::kGif;
  if (starts("II*\0", 4) || starts("MM\0*", 4)) return FormatKind::kTiff;
  if (starts("II+\0", 4) || starts("MM\0+", 4)) return FormatKind::kTiff;  // BigTIFF
  if (LooksLikeFpx(data, size)) return FormatKind::kFpx;
  if (LooksLikePcd(data, size)) return FormatKind::kPcd;
  if (size >= 128 && data[0] == 0x0A && data[1] <= 5 && data[2] <= 1) return FormatKind::kPcx;
  if (LooksLikeTga(data, size)) return FormatKind::kTga;
  return FormatKind::kNone;
}

FormatKind FormatForExtension(const char* ext) {
  static const struct {
    const char* ext;
    FormatKind kind;
  } kTable[] = {
      {"bmp", FormatKind::kBmp}, {"dib", FormatKind::kBmp},  {"tif", FormatKind::kTiff},
      {"tiff", FormatKind::kTiff}, {"pcx", FormatKind::kPcx}, {"gif", FormatKind::kGif},
      {"tga", FormatKind::kTga}, {"jpg", FormatKind::kJpeg}, {"jpeg", FormatKind::kJpeg},
      {"jpe", FormatKind::kJpeg}, {"fpx", FormatKind::kFpx},
  };
  for (const auto& row : kTable) {
    if (std::strcmp(row.ext, ext) == 0) return row.kind;
  }
  return FormatKind::kNone;
}

bool DecodeAny(const uint8_t* data, size_t size, Image* out) {
  switch (SniffFormat(data, size)) {
    case FormatKind::kBmp: return DecodeBmp(data, size, out);
    case FormatKind::kTiff: return DecodeTiff(data, size, out);
    case FormatKind::kPcx: return DecodePcx(data, size, out);
    case FormatKind::kGif: return DecodeGif(data, size, out);
    case FormatKind::kTga: return DecodeTga(data, size, out);
    case FormatKind::kJpeg: return DecodeJpeg(data, size, out);
    case FormatKind::kFpx: return DecodeFpx(data, size, out);
    case FormatKind::kPcd: return DecodePcd(data, size, kPcdBase, false, out);
    case FormatKind::kNone: return false;
  }
  return false;
}

namespace {

bool DibLooksSound(HGLOBAL dib);

HGLOBAL ReadAs(const char* path, bool force24) {
  try {
    std::vector<uint8_t> bytes;
    if (!LoadFile(path, &bytes)) return nullptr;
    // A photo is decoded straight into its DIB unless it must be turned.
    if (SniffFormat(bytes.data(), bytes.size()) == FormatKind::kJpeg) {
      HGLOBAL dib = nullptr;
      switch (DecodeJpegToDib(bytes.data(), bytes.size(), force24, &dib)) {
        case JpegResult::kDecoded: return dib;
        case JpegResult::kFailed: return nullptr;
        case JpegResult::kDeclined: break;
      }
    }
    Image image;
    if (!DecodeAny(bytes.data(), bytes.size(), &image)) return nullptr;
    bytes.clear();
    bytes.shrink_to_fit();
    return ToDib(image, force24);
  } catch (...) {
    return nullptr;
  }
}

/// Saves a plain 24-bit DIB as JPEG from its own rows, without copying them
/// first. False, with nothing done, for any other DIB.
bool SaveJpegInPlace(HGLOBAL dib, const char* path, int* result) {
  std::vector<uint8_t> bytes;
  {
    const size_t blockSize = dib ? GlobalSize(dib) : 0;
    vmd::GlobalLockGuard<const uint8_t> lock(dib);
    DibParts d;
    if (!lock.get() || !FindDibParts(lock.get(), blockSize, &d) || d.bits != 24) return false;
    SizeLimit limit;
    if (!FitsFormat(FormatKind::kJpeg, d.width, d.height, 24, &limit)) {
      *result = kPixioSaveTooBig;
      return true;
    }
    EncodeSettings settings;
    settings.jpegQuality = g_jpegQuality.load();
    const ptrdiff_t stride = static_cast<ptrdiff_t>(d.stride);
    const uint8_t* top = d.topDown ? d.rows : d.rows + stride * (d.height - 1);
    if (!EncodeJpegRows(top, d.topDown ? stride : -stride, d.width, d.height, settings, &bytes)) {
      *result = kPixioSaveNoMemory;
      return true;
    }
  }
  *result = SaveFileSafely(path, bytes) ? kPixioSaved : kPixioSaveWriteFailed;
  return true;
}

int Save(HGLOBAL dib, const char* path) {
  try {
    const FormatKind kind = FormatForExtension(LowerExtension(path).c_str());
    if (kind == FormatKind::kNone) return kPixioSaveUnknownType;
    int saved = kPixioSaved;
    if (kind == FormatKind::kJpeg && SaveJpegInPlace(dib, path, &saved)) return saved;
    Image image;
    if (!FromDib(dib, &image)) {
      // A sound header over a block that cannot be copied is a lack of memory.
      return DibLooksSound(dib) ? kPixioSaveNoMemory : kPixioSaveBadPicture;
    }
    SizeLimit limit;
    if (!FitsFormat(kind, image.width, image.height, image.bitCount, &limit)) return kPixioSaveTooBig;
    EncodeSettings settings;
    settings.jpegQuality = g_jpegQuality.load();
    settings.compress = g_compress.load() != 0;
    std::vector<uint8_t> bytes;
    bool ok = false;
    switch (kind) {
      case FormatKind::kBmp: ok = EncodeBmp(image, &bytes); break;
      case FormatKind::kTiff: ok = EncodeTiff(image, settings, &bytes); break;
      case FormatKind::kPcx: ok = EncodePcx(image, &bytes); break;
      case FormatKind::kGif: ok = EncodeGif(image, &bytes); break;
      case FormatKind::kTga: ok = EncodeTga(image, settings, &bytes); break;
      case FormatKind::kJpeg: ok = EncodeJpeg(image, settings, &bytes); break;
      case FormatKind::kFpx: ok = EncodeFpx(image, settings, &bytes); break;
      default: ok = false;
    }
    // Within the format's limits an encoder fails only for want of memory.
    if (!ok) return kPixioSaveNoMemory;
    image = Image();
    return SaveFileSafely(path, bytes) ? kPixioSaved : kPixioSaveWriteFailed;
  } catch (const std::bad_alloc&) {
    return kPixioSaveNoMemory;
  } catch (...) {
    return kPixioSaveNoMemory;
  }
}

/// The size and depth a DIB's header gives; false when it has none.
bool DibHeader(HGLOBAL dib, int64_t* width, int64_t* height, int* bits) {
  if (!dib || GlobalSize(dib) < sizeof(BITMAPINFOHEADER)) return false;
  const void* base = GlobalLock(dib);
  if (!base) return false;
  BITMAPINFOHEADER header;
  std::memcpy(&header, base, sizeof header);
  GlobalUnlock(dib);
  *width = header.biWidth;
  *height = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
  *bits = header.biBitCount;
  return header.biSize >= sizeof header && *width > 0 && *height > 0;
}

bool DibLooksSound(HGLOBAL dib) {
  int64_t w = 0, h = 0;
  int bits = 0;
  return DibHeader(dib, &w, &h, &bits) && StrideFits(w, bits) &&
         DibStride(static_cast<int>(w), bits) * static_cast<uint64_t>(h) <= GlobalSize(dib);
}

}  // namespace

}  // namespace pixio

extern "C" {

PIXIO_API HGLOBAL ImgReadFile(PixioOwner, const char* path) { return pixio::ReadAs(path, true); }

PIXIO_API HGLOBAL ImgReadDib(PixioOwner, const char* path) { return pixio::ReadAs(path, false); }

PIXIO_API int ImgSaveFile(HGLOBAL dib, const char* path) {
  return pixio::Save(dib, path) == kPixioSaved ? 1 : 0;
}

PIXIO_API int ImgSaveDib(const char* path, HGLOBAL dib) {
  return pixio::Save(dib, path) == kPixioSaved ? 1 : 0;
}

PIXIO_API int ImgSaveFileResult(HGLOBAL dib, const char* path) { return pixio::Save(dib, path); }

PIXIO_API int ImgCheckSaveSize(int width, int height, int bitCount, const char* path) {
  const pixio::FormatKind kind = pixio::FormatForExtension(pixio::LowerExtension(path).c_str());
  if (kind == pixio::FormatKind::kNone) return kPixioSaveUnknownType;
  if (width <= 0 || height <= 0 ||
      (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24))
    return kPixioSaveBadPicture;
  pixio::SizeLimit limit;
  return pixio::FitsFormat(kind, width, height, bitCount, &limit) ? kPixioSaved : kPixioSaveTooBig;
}

PIXIO_API int ImgSaveMessage(int result, const char* subject, HGLOBAL dib, const char* path,
                             char* text, int textSize) {
  std::string message;
  try {
    const std::string name = path ? path : "";
    const char* what = subject && *subject ? subject : "the picture";
    const pixio::FormatKind kind = pixio::FormatForExtension(pixio::LowerExtension(path).c_str());
    int64_t width = 0, height = 0;
    int bits = 0;
    const bool sized = pixio::DibHeader(dib, &width, &height, &bits);
    pixio::SizeLimit limit;
    switch (result) {
      case kPixioSaved:
        break;
      case kPixioSaveUnknownType:
        message = "cannot write \"" + name + "\": use .jpg, .bmp, .tif, .pcx, .gif, .tga or .fpx";
        break;
      case kPixioSaveBadPicture:
        message = std::string(what) + " is not a picture that can be saved";
        break;
      case kPixioSaveTooBig:
        if (sized && kind != pixio::FormatKind::kNone &&
            !pixio::FitsFormat(kind, width, height, bits <= 8 ? bits : 24, &limit)) {
          message = pixio::TooBigMessage(what, width, height, kind, limit);
        } else {
          message = std::string(what) + " is too big for " + pixio::FormatName(kind) + ": save as TIFF";
        }
        break;
      case kPixioSaveNoMemory:
        if (sized) {
          char size[64];
          std::snprintf(size, sizeof size, " (%lld x %lld pixels)", static_cast<long long>(width),
                        static_cast<long long>(height));
          message = std::string("not enough memory to write ") + what + size + " as " +
                    pixio::FormatName(kind);
        } else {
          message = std::string("not enough memory to write ") + what;
        }
        break;
      default:
        message = "cannot write \"" + name + "\"";
        break;
    }
  } catch (...) {
    message.clear();
  }
  if (text && textSize > 0) {
    const size_t n = std::min(message.size(), static_cast<size_t>(textSize - 1));
    std::memcpy(text, message.data(), n);
    text[n] = '\0';
  }
  return static_cast<int>(message.size());
}

PIXIO_API int ImgGetJpgQuality(void) { return pixio::g_jpegQuality.load(); }

PIXIO_API void ImgSetJpgQuality(int quality) {
  pixio::g_jpegQuality.store(quality < 1 ? 1 : (quality > 100 ? 100 : quality));
}

PIXIO_API int ImgGetCompressMode(void) { return pixio::g_compress.load(); }

PIXIO_API void ImgSetCompressMode(int mode) { pixio::g_compress.store(mode ? 1 : 0); }

PIXIO_API HGLOBAL PxLoadPcdFile(const char* path, int dataType, int resolution, int reserved) {
  if ((dataType != kPcdRgb24 && dataType != kPcdGray8) || resolution < kPcdBase16 ||
      resolution > kPcd16Base || reserved != 0)
    return nullptr;
  try {
    std::vector<uint8_t> bytes;
    if (!pixio::LoadFile(path, &bytes)) return nullptr;
    pixio::Image image;
    if (!pixio::DecodePcd(bytes.data(), bytes.size(), resolution, dataType == kPcdGray8, &image))
      return nullptr;
    return pixio::ToDib(image, false);
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
