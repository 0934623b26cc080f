#ifndef PLATFORM_PIXIO_FORMATS_H
#define PLATFORM_PIXIO_FORMATS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image.h"

namespace pixio {

/// The settings in force for one save.
struct EncodeSettings {
  int jpegQuality = 75;  ///< 1 to 100
  bool compress = false; ///< LZW for TIFF, RLE for Targa
};

/// The file types, in the program's dialog order.
enum class FormatKind { kNone, kBmp, kTiff, kPcx, kGif, kTga, kJpeg, kFpx, kPcd };

/// The type of a file judged by its first bytes; kNone when nothing matches.
FormatKind SniffFormat(const uint8_t* data, size_t size);
/// The type a lower-cased extension names for writing; kNone when unknown.
FormatKind FormatForExtension(const char* lowerExtension);

// Each decoder takes the whole file in memory and fills `out` (DIB row order),
// or returns false for anything truncated, inconsistent or too large.
// Each encoder appends a complete file to `out` and returns false only when
// the picture cannot be written in that format.

bool DecodeBmp(const uint8_t* data, size_t size, Image* out);
bool EncodeBmp(const Image& image, std::vector<uint8_t>* out);

bool DecodeTiff(const uint8_t* data, size_t size, Image* out);
bool EncodeTiff(const Image& image, const EncodeSettings& settings, std::vector<uint8_t>* out);

bool DecodePcx(const uint8_t* data, size_t size, Image* out);
bool EncodePcx(const Image& image, std::vector<uint8_t>* out);

bool DecodeGif(const uint8_t* data, size_t size, Image* out);
bool EncodeGif(const Image& image, std::vector<uint8_t>* out);

bool LooksLikeTga(const uint8_t* data, size_t size);
bool DecodeTga(const uint8_t* data, size_t size, Image* out);
bool EncodeTga(const Image& image, const EncodeSettings& settings, std::vector<uint8_t>* out);

bool DecodeJpeg(const uint8_t* data, size_t size, Image* out);
bool EncodeJpeg(const Image& image, const EncodeSettings& settings, std::vector<uint8_t>* out);
/// Writes width x height 24-bit pixels (blue, green, red) as EncodeJpeg writes
/// a 24-bit Image: `top` is the top row and each next row lies `step` bytes on
/// (negative for rows stored bottom-up).
bool EncodeJpegRows(const uint8_t* top, ptrdiff_t step, int width, int height,
                    const EncodeSettings& settings, std::vector<uint8_t>* out);

/// A JPEG's picture as its rows come out of the decoder.
struct JpegLayout {
  int width = 0;
  int height = 0;
  int bitCount = 0;     ///< 8 (grey) or 24 (blue, green, red)
  int orientation = 0;  ///< the EXIF code (1 to 8), 0 when none; the rows are as stored
};

/// Where DecodeJpegRows puts a picture's rows.
class JpegRowTarget {
 public:
  virtual ~JpegRowTarget() = default;
  /// Whether this picture's rows can be taken as decoded; asked once the
  /// header is read, before any memory is taken for the picture.
  virtual bool Accepts(const JpegLayout& layout) const = 0;
  /// Takes the picture's memory, once its first row has been decoded. False
  /// when it cannot be had.
  virtual bool Start(const JpegLayout& layout) = 0;
  /// Row `y` counted from the top: width x bitCount / 8 bytes for the decoder
  /// to fill. Asked in order, each row once or twice.
  virtual uint8_t* TopRow(int y) = 0;
};

enum class JpegResult { kDecoded, kFailed, kDeclined };

/// Decodes a JPEG row by row into `target` (CMYK files become 24 bits; grey
/// ones 8 bits, or 24 when `grayAs24`). kDeclined when the target does not
/// accept the picture; kFailed for a file that is cut, corrupt or too large,
/// or memory that cannot be had (the target may then hold part of the
/// picture: its owner drops it).
JpegResult DecodeJpegRows(const uint8_t* data, size_t size, bool grayAs24, JpegRowTarget* target);
/// Decodes a JPEG straight into a new DIB block, as ToDib(picture, force24)
/// would hold it: `*dib` is the caller's on kDecoded. Declines a picture that
/// its EXIF orientation turns.
JpegResult DecodeJpegToDib(const uint8_t* data, size_t size, bool force24, HGLOBAL* dib);
/// Decodes one JPEG tile of a FlashPix image: `tables` (may be empty) is an
/// abbreviated stream of shared tables read first. `convert` asks for the
/// YCbCr-to-RGB conversion; otherwise the components come out as stored.
/// Fills interleaved samples, the size and the component count.
bool DecodeJpegTile(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size,
                    bool convert, std::vector<uint8_t>* out, int* width, int* height,
                    int* components);
/// The EXIF orientation (1 to 8) of a JPEG APP1 payload ("Exif\0\0" and a TIFF
/// structure), or 0 when it has none or cannot be read.
int ExifOrientation(const uint8_t* data, size_t size);

bool LooksLikePcd(const uint8_t* data, size_t size);
/// Decodes one resolution (0 to 4) of a Photo CD image pack; `gray` gives an
/// 8-bit grey image from the luma alone.
bool DecodePcd(const uint8_t* data, size_t size, int resolution, bool gray, Image* out);

bool LooksLikeFpx(const uint8_t* data, size_t size);
bool DecodeFpx(const uint8_t* data, size_t size, Image* out);
bool EncodeFpx(const Image& image, const EncodeSettings& settings, std::vector<uint8_t>* out);

/// Decodes by content: the one entry the exports and the fuzzers share.
bool DecodeAny(const uint8_t* data, size_t size, Image* out);

}  // namespace pixio

#endif  // PLATFORM_PIXIO_FORMATS_H
