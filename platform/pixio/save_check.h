#ifndef PLATFORM_PIXIO_SAVE_CHECK_H
#define PLATFORM_PIXIO_SAVE_CHECK_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats.h"

namespace pixio {

/// Largest side a JPEG file holds (libjpeg's limit, below the format's 65535).
constexpr int64_t kMaxJpegSide = 65500;
/// Largest side of a GIF, Targa or PCX file: 16-bit fields.
constexpr int64_t kMaxShortSide = 65535;
/// Largest PCX width with 8-bit planes: the bytes of a plane's line are an
/// even 16-bit count.
constexpr int64_t kMaxPcxByteWidth = 65534;
/// Largest BMP file: its size field has 32 bits.
constexpr uint64_t kMaxBmpBytes = 0xFFFFFFFFu;
/// Largest GIF pixel count giflib's quantiser counts in an int.
constexpr int64_t kMaxGifPixels = 0x7FFFFFFF;
/// Largest FlashPix tile stream: a version 3 compound file's streams stop at
/// 2 GB and tile offsets are 32-bit.
constexpr size_t kMaxFpxStreamBytes = size_t(0x7FFFFFFF);
/// Largest TIFF written in the classic form; past it the file is a BigTIFF.
constexpr uint64_t kMaxClassicTiffBytes = 0xFFFFFFFFu - (uint64_t(64) << 20);

/// What stops a picture from fitting a format.
struct SizeLimit {
  enum Kind { kNone, kSide, kBytes, kPixels } kind = kNone;
  int64_t maxWidth = 0;   ///< kSide
  int64_t maxHeight = 0;  ///< kSide
  uint64_t maxBytes = 0;  ///< kBytes
  uint64_t needBytes = 0; ///< kBytes: what this picture would take
  int64_t maxPixels = 0;  ///< kPixels
};

/// Checks a width x height picture of `bitCount` bits (1, 4, 8 or 24) against
/// what `kind` can hold. True when it fits; otherwise `*limit` says which limit
/// it passes.
bool FitsFormat(FormatKind kind, int64_t width, int64_t height, int bitCount, SizeLimit* limit);

/// The format's name as users know it ("JPEG", "TIFF").
const char* FormatName(FormatKind kind);

/// One line for a picture too big for a format, naming its size, the format's
/// limit and a format that holds it: "the panorama is 70210 x 3100 pixels;
/// JPEG holds at most 65500 a side: save as TIFF".
std::string TooBigMessage(const char* subject, int64_t width, int64_t height, FormatKind kind,
                          const SizeLimit& limit);

/// True when the picture's uncompressed rows (plus room for the directory)
/// pass the classic TIFF's 4 GB, so it is written as a BigTIFF.
bool NeedsBigTiff(int64_t width, int64_t height, int bitCount, bool compress);

}  // namespace pixio

#endif  // PLATFORM_PIXIO_SAVE_CHECK_H
