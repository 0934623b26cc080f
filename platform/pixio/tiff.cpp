// TIFF through libtiff: anything libtiff can turn into RGB (strips and tiles,
// 1 to 16 bits per sample, palette, grey, YCbCr, CMYK; alpha over white) is
// read; written uncompressed or LZW-compressed as the compression switch says.
#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <new>

#include <tiffio.h>

#include "formats.h"
#include "save_check.h"

namespace pixio {

namespace {

/// The file libtiff reads from or writes to: bytes in memory.
struct MemoryFile {
  const uint8_t* data = nullptr;  ///< reading
  std::vector<uint8_t>* sink = nullptr;  ///< writing
  size_t size = 0;
  size_t pos = 0;
  bool failed = false;
};

tmsize_t MemRead(thandle_t h, void* buf, tmsize_t n) {
  auto* f = static_cast<MemoryFile*>(h);
  if (n < 0 || !f->data || f->pos >= f->size) return 0;
  const size_t count = std::min(static_cast<size_t>(n), f->size - f->pos);
  std::memcpy(buf, f->data + f->pos, count);
  f->pos += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t MemWrite(thandle_t h, void* buf, tmsize_t n) {
  auto* f = static_cast<MemoryFile*>(h);
  if (n < 0 || !f->sink) return -1;
  const size_t count = static_cast<size_t>(n);
  try {
    if (f->pos + count > f->sink->size()) f->sink->resize(f->pos + count);
  } catch (const std::bad_alloc&) {
    f->failed = true;
    return -1;
  }
  std::memcpy(f->sink->data() + f->pos, buf, count);
  f->pos += count;
  f->size = f->sink->size();
  return n;
}

toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  uint64_t base = 0;
  if (whence == SEEK_CUR) base = f->pos;
  if (whence == SEEK_END) base = f->sink ? f->sink->size() : f->size;
  const uint64_t target = base + off;
  if (target > (uint64_t(1) << 40)) return static_cast<toff_t>(-1);
  if (!f->sink && target > f->size) return static_cast<toff_t>(-1);
  f->pos = static_cast<size_t>(target);
  return target;
}

int MemClose(thandle_t) { return 0; }
toff_t MemSize(thandle_t h) {
  auto* f = static_cast<MemoryFile*>(h);
  return f->sink ? f->sink->size() : f->size;
}
int MemMap(thandle_t, void**, toff_t*) { return 0; }
void MemUnmap(thandle_t, void*, toff_t) {}

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

/// Per-handle options: no messages on stderr, and no single allocation
/// beyond what our largest picture needs.
struct Options {
  TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
  Options() {
    if (!opts) return;
    TIFFOpenOptionsSetErrorHandlerExtR(opts, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, static_cast<tmsize_t>(std::min<int64_t>(
                                                  MaxReadPixels() * 4 + 4096,
                                                  std::numeric_limits<tmsize_t>::max())));
  }
  ~Options() {
    if (opts) TIFFOpenOptionsFree(opts);
  }
};

struct TiffCloser {
  TIFF* tif;
  ~TiffCloser() {
    if (tif) TIFFClose(tif);
  }
};

/// True when every value the first directory keeps outside its entries lies
/// inside the file: a file cut short loses its colour table or its strip
/// lists, which libtiff would otherwise quietly do without.
bool FirstDirectoryInside(const uint8_t* data, size_t size) {
  const bool little = data[0] == 'I';
  auto u16 = [&](size_t at) {
    return little ? uint32_t(data[at] | (data[at + 1] << 8)) : uint32_t((data[at] << 8) | data[at + 1]);
  };
  auto u32 = [&](size_t at) {
    return little ? (u16(at) | (u16(at + 2) << 16)) : ((u16(at) << 16) | u16(at + 2));
  };
  auto u64 = [&](size_t at) {
    return little ? (uint64_t(u32(at)) | (uint64_t(u32(at + 4)) << 32))
                  : ((uint64_t(u32(at)) << 32) | uint64_t(u32(at + 4)));
  };
  // A classic file has 2-byte entry counts and 12-byte entries holding 4
  // bytes in place; a BigTIFF 8-byte counts and 20-byte entries holding 8.
  const bool big = u16(2) == 43;
  if (!big && u16(2) != 42) return false;
  if (big && size < 16) return false;
  const uint64_t ifd = big ? u64(8) : u32(4);
  const size_t countBytes = big ? 8 : 2, entryBytes = big ? 20 : 12, inPlace = big ? 8 : 4;
  if (ifd > size || size - ifd < countBytes) return false;
  const uint64_t count = big ? u64(ifd) : u16(ifd);
  if ((size - ifd - countBytes) / entryBytes < count) return false;
  for (uint64_t i = 0; i < count; ++i) {
    const size_t e = static_cast<size_t>(ifd + countBytes + entryBytes * i);
    static const uint8_t kTypeBytes[19] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    const uint32_t type = u16(e + 2);
    if (type >= 19) continue;
    const uint64_t n = big ? u64(e + 4) : u32(e + 4);
    if (n > size) return false;  // more values than the file has bytes
    const uint64_t bytes = n * kTypeBytes[type];
    if (bytes <= inPlace) continue;
    const uint64_t at = big ? u64(e + 12) : u32(e + 8);
    if (at > size || bytes > size - at) return false;
  }
  return true;
}

/// True when every strip or tile of the current directory lies inside the file.
bool StripsInside(TIFF* tif, size_t size) {
  const uint32_t n = TIFFNumberOfStrips(tif);
  for (uint32_t i = 0; i < n; ++i) {
    int err = 0;
    const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &err);
    const uint64_t bytes = TIFFGetStrileByteCountWithErr(tif, i, &err);
    if (err || offset > size || bytes > size - offset) return false;
  }
  return true;
}

/// False when the file is too short to hold the current directory's pixels:
/// refused before the picture's memory is taken. Uncompressed rows must be
/// there byte for byte; compressed ones within a ratio (65536 pixels a byte)
/// that no real picture nears, which stops a tiny file claiming gigapixels.
bool RowsFit(TIFF* tif, size_t size) {
  uint16_t compression = COMPRESSION_NONE;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  if (compression != COMPRESSION_NONE) {
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    return uint64_t(width) * height / 65536 <= size;
  }
  uint64_t need = 0;
  if (TIFFIsTiled(tif)) {
    need = TIFFTileSize64(tif) * uint64_t(TIFFNumberOfTiles(tif));
  } else {
    uint32_t height = 0;
    uint16_t planar = PLANARCONFIG_CONTIG, samples = 1;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    need = TIFFScanlineSize64(tif) * uint64_t(height) * (planar == PLANARCONFIG_SEPARATE ? samples : 1);
  }
  return need <= size;
}

}  // namespace

bool DecodeTiff(const uint8_t* data, size_t size, Image* out) {
  if (size < 8 || !FirstDirectoryInside(data, size)) return false;
  MemoryFile file;
  file.data = data;
  file.size = size;
  Options options;
  if (!options.opts) return false;
  TIFF* tif = TIFFClientOpenExt("memory", "rm", &file, MemRead, MemWrite, MemSeek, MemClose,
                                MemSize, MemMap, MemUnmap, options.opts);
  if (!tif) return false;
  TiffCloser closer{tif};
  char message[1024];
  if (!TIFFRGBAImageOK(tif, message) || !StripsInside(tif, size) || !RowsFit(tif, size))
    return false;
  uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  if (!DimensionsAcceptable(width, height)) return false;
  TIFFRGBAImage img;
  if (!TIFFRGBAImageBegin(&img, tif, 1, message)) return false;
  img.req_orientation = ORIENTATION_BOTLEFT;  // DIB row order
  std::vector<uint32_t> raster;
  Image image;
  bool ok = false;
  try {
    raster.resize(static_cast<size_t>(width) * height);
    ok = image.Allocate(static_cast<int>(width), static_cast<int>(height), 24);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (ok) ok = TIFFRGBAImageGet(&img, raster.data(), width, height) != 0;
  const bool alpha = img.alpha != 0;
  TIFFRGBAImageEnd(&img);
  if (!ok) return false;
  for (uint32_t y = 0; y < height; ++y) {
    const uint32_t* src = raster.data() + static_cast<size_t>(y) * width;
    uint8_t* dst = image.Row(static_cast<int>(y));
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t p = src[x];
      int r = TIFFGetR(p), g = TIFFGetG(p), b = TIFFGetB(p);
      if (alpha) {
        // libtiff hands colours premultiplied by alpha: add the white behind.
        const int under = 255 - static_cast<int>(TIFFGetA(p));
        r = std::min(255, r + under);
        g = std::min(255, g + under);
        b = std::min(255, b + under);
      }
      dst[3 * x] = static_cast<uint8_t>(b);
      dst[3 * x + 1] = static_cast<uint8_t>(g);
      dst[3 * x + 2] = static_cast<uint8_t>(r);
    }
  }
  *out = std::move(image);
  return true;
}

bool EncodeTiff(const Image& image, const EncodeSettings& settings, std::vector<uint8_t>* out) {
  std::vector<uint8_t> bytes;
  MemoryFile file;
  file.sink = &bytes;
  Options options;
  if (!options.opts) return false;
  const bool big = NeedsBigTiff(image.width, image.height, image.bitCount, settings.compress);
  if (!settings.compress) {
    // Uncompressed, the file is the rows and a little: one allocation, not a
    // doubling vector that would hold up to twice that.
    size_t rows = 0;
    if (!CheckedMul((static_cast<size_t>(image.width) * (image.bitCount == 24 ? 24 : image.bitCount) + 7) / 8,
                    static_cast<size_t>(image.height), &rows))
      return false;
    try {
      bytes.reserve(rows + (size_t(1) << 20));
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  TIFF* tif = TIFFClientOpenExt("memory", big ? "w8" : "w", &file, MemRead, MemWrite, MemSeek, MemClose,
                                MemSize, MemMap, MemUnmap, options.opts);
  if (!tif) return false;
  TiffCloser closer{tif};
  const bool gray = image.IsGray();
  const bool palette = image.bitCount <= 8 && !gray;
  const int samples = image.bitCount == 24 ? 3 : 1;
  const int bitsPerSample = image.bitCount == 24 ? 8 : image.bitCount;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height));
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
               samples == 3 ? PHOTOMETRIC_RGB : (palette ? PHOTOMETRIC_PALETTE : PHOTOMETRIC_MINISBLACK));
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, 72.0f);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, 72.0f);
  const bool predictor = settings.compress && bitsPerSample == 8 && !palette;
  TIFFSetField(tif, TIFFTAG_COMPRESSION, settings.compress ? COMPRESSION_LZW : COMPRESSION_NONE);
  if (predictor) TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  std::vector<uint16_t> map[3];
  if (palette) {
    const size_t n = size_t(1) << image.bitCount;
    for (auto& m : map) m.assign(n, 0);
    for (size_t i = 0; i < n && i < image.palette.size(); ++i) {
      map[0][i] = static_cast<uint16_t>(image.palette[i].rgbRed * 257);
      map[1][i] = static_cast<uint16_t>(image.palette[i].rgbGreen * 257);
      map[2][i] = static_cast<uint16_t>(image.palette[i].rgbBlue * 257);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
  }
  const size_t rowBytes = (static_cast<size_t>(image.width) * samples * bitsPerSample + 7) / 8;
  std::vector<uint8_t> row(rowBytes + 4);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* src = image.TopRow(y);
    if (samples == 3) {
      for (int x = 0; x < image.width; ++x) {
        row[3 * x] = src[3 * x + 2];
        row[3 * x + 1] = src[3 * x + 1];
        row[3 * x + 2] = src[3 * x];
      }
    } else {
      std::memcpy(row.data(), src, rowBytes);
    }
    // The predictor rewrites the row it is given: hand it this scratch copy.
    if (TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) < 0) return false;
  }
  closer.tif = nullptr;
  TIFFClose(tif);
  if (file.failed) return false;
  if (out->empty()) {
    out->swap(bytes);
  } else {
    out->insert(out->end(), bytes.begin(), bytes.end());
  }
  return true;
}

}  // namespace pixio
