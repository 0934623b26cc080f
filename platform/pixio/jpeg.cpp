// JPEG through libjpeg-turbo: baseline and progressive read row by row into a
// target (a decoded picture, turned per its EXIF orientation, or a DIB block:
// jpeg_dib.cpp), baseline write at the quality in force from any rows.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "formats.h"
#include "jpeg_errors.h"
#include "reader.h"

namespace pixio {

namespace {

/// More scans than any real progressive file has: a hostile file with
/// thousands of tiny scans would otherwise take minutes.
constexpr int kMaxScans = 500;

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrors*>(cinfo->err);
  std::longjmp(err->jump, 1);
}

/// The warnings that mean lost or damaged picture data: a file cut short, a
/// bad entropy code, a missing restart marker. Others (stray bytes between
/// markers, an unknown JFIF revision, an odd progression) are common in
/// camera and editor files and leave the picture whole.
void OnMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<JpegErrors*>(cinfo->err);
  if (level >= 0) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
      err->corrupt = true;
      break;
    default:
      break;
  }
}

void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) OnError(cinfo);
}

}  // namespace

jpeg_error_mgr* UseJpegErrors(JpegErrors* errors) {
  jpeg_error_mgr* base = jpeg_std_error(&errors->base);
  base->error_exit = OnError;
  base->emit_message = OnMessage;
  errors->corrupt = false;
  return base;
}

int ExifOrientation(const uint8_t* data, size_t size) {
  Reader in(data, size);
  static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  uint8_t tag[6];
  if (!in.Read(tag, 6) || std::memcmp(tag, kExif, 6) != 0) return 0;
  Reader tiff(data + 6, size - 6);
  const uint16_t order = tiff.U16LE();
  const bool little = order == 0x4949;
  if (!little && order != 0x4D4D) return 0;
  auto u16 = [&](Reader& r) { return little ? r.U16LE() : r.U16BE(); };
  auto u32 = [&](Reader& r) { return little ? r.U32LE() : r.U32BE(); };
  if (u16(tiff) != 42) return 0;
  const uint32_t ifd = u32(tiff);
  if (tiff.Failed() || !tiff.Seek(ifd)) return 0;
  const int count = u16(tiff);
  for (int i = 0; i < count && !tiff.Failed(); ++i) {
    const uint16_t id = u16(tiff);
    const uint16_t type = u16(tiff);
    const uint32_t n = u32(tiff);
    const uint16_t value = u16(tiff);
    u16(tiff);
    if (tiff.Failed()) return 0;
    if (id == 0x0112 && type == 3 && n == 1) return (value >= 1 && value <= 8) ? value : 0;
  }
  return 0;
}

JpegResult DecodeJpegRows(const uint8_t* data, size_t size, bool grayAs24, JpegRowTarget* target) {
  if (size < 4 || size > 0xFFFFFFFFu) return JpegResult::kFailed;
  jpeg_decompress_struct cinfo;
  JpegErrors err;
  jpeg_progress_mgr progress;
  cinfo.err = UseJpegErrors(&err);
  progress.progress_monitor = OnProgress;
  unsigned char* volatile scratch = nullptr;  // the first row, CMYK rows; freed on every path
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::free(scratch);
    return JpegResult::kFailed;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  if (!DimensionsAcceptable(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return JpegResult::kFailed;
  }
  JpegLayout layout;
  layout.width = static_cast<int>(cinfo.image_width);
  layout.height = static_cast<int>(cinfo.image_height);
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && !layout.orientation; m = m->next) {
    if (m->marker == JPEG_APP0 + 1) layout.orientation = ExifOrientation(m->data, m->data_length);
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool gray = cinfo.num_components == 1 && !grayAs24;
  layout.bitCount = gray ? 8 : 24;
  if (!target->Accepts(layout)) {
    jpeg_destroy_decompress(&cinfo);
    return JpegResult::kDeclined;
  }
  if (cmyk) {
    cinfo.out_color_space = JCS_CMYK;
  } else if (gray) {
    cinfo.out_color_space = JCS_GRAYSCALE;
  } else {
    // A grey file comes out with its level in all three channels.
    cinfo.out_color_space = JCS_EXT_BGR;
  }
  // libjpeg's own buffers (a progressive file keeps every coefficient) stay
  // within what the picture itself may take: past it libjpeg fails cleanly.
  cinfo.mem->max_memory_to_use = static_cast<long>(
      std::min<int64_t>(MaxReadPixels() * 8, std::numeric_limits<long>::max()));
  jpeg_start_decompress(&cinfo);
  // A progressive file is read whole by now, a sequential one is read for its
  // first row below: a file that runs dry there is refused before the picture's
  // memory is taken, so a few bytes cannot claim gigabytes.
  if (err.corrupt) {
    jpeg_destroy_decompress(&cinfo);
    return JpegResult::kFailed;
  }
  const size_t rowBytes = size_t(cinfo.output_width) * size_t(cinfo.output_components);
  scratch = static_cast<unsigned char*>(std::malloc(rowBytes));
  if (!scratch) {
    jpeg_destroy_decompress(&cinfo);
    return JpegResult::kFailed;
  }
  {
    JSAMPROW first[1] = {scratch};
    if (jpeg_read_scanlines(&cinfo, first, 1) != 1 || err.corrupt) {
      jpeg_destroy_decompress(&cinfo);
      std::free(scratch);
      return JpegResult::kFailed;
    }
  }
  if (!target->Start(layout)) {
    jpeg_destroy_decompress(&cinfo);
    std::free(scratch);
    return JpegResult::kFailed;
  }
  // Adobe's CMYK files store the inks inverted.
  const bool inverted = cinfo.saw_Adobe_marker;
  for (;;) {
    // The row just read sits in `scratch` for the first row and for CMYK.
    const int y = static_cast<int>(cinfo.output_scanline) - 1;
    if (cmyk) {
      uint8_t* row = target->TopRow(y);
      for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
        int c = scratch[4 * x], m = scratch[4 * x + 1], yl = scratch[4 * x + 2], k = scratch[4 * x + 3];
        if (!inverted) {
          c = 255 - c; m = 255 - m; yl = 255 - yl; k = 255 - k;
        }
        row[3 * x] = static_cast<uint8_t>(yl * k / 255);
        row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
        row[3 * x + 2] = static_cast<uint8_t>(c * k / 255);
      }
    } else if (y == 0) {
      std::memcpy(target->TopRow(0), scratch, rowBytes);
    }
    if (cinfo.output_scanline >= cinfo.output_height) break;
    JSAMPROW rows[1] = {cmyk ? scratch : target->TopRow(static_cast<int>(cinfo.output_scanline))};
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
  }
  std::free(scratch);
  scratch = nullptr;
  const bool complete = cinfo.output_scanline == cinfo.output_height;
  if (complete) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return complete && !err.corrupt ? JpegResult::kDecoded : JpegResult::kFailed;
}

namespace {

/// Rows into an Image (zero-filled, so its row padding is zero).
class ImageRows final : public JpegRowTarget {
 public:
  bool Accepts(const JpegLayout&) const override { return true; }
  bool Start(const JpegLayout& layout) override {
    orientation = layout.orientation;
    if (!image.Allocate(layout.width, layout.height, layout.bitCount)) return false;
    if (layout.bitCount != 8) return true;
    try {
      image.palette = GrayPalette();
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  uint8_t* TopRow(int y) override { return image.TopRow(y); }

  Image image;
  int orientation = 0;
};

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Image* out) {
  ImageRows rows;
  if (DecodeJpegRows(data, size, false, &rows) != JpegResult::kDecoded) return false;
  if (!ApplyOrientation(&rows.image, rows.orientation)) return false;
  *out = std::move(rows.image);
  return true;
}

bool DecodeJpegTile(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size,
                    bool convert, std::vector<uint8_t>* out, int* width, int* height,
                    int* components) {
  if (size < 4 || size > 0xFFFFFFFFu || tablesSize > 0xFFFFFFFFu) return false;
  jpeg_decompress_struct cinfo;
  JpegErrors err;
  jpeg_progress_mgr progress;
  cinfo.err = UseJpegErrors(&err);
  progress.progress_monitor = OnProgress;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  if (tablesSize > 0) {
    jpeg_mem_src(&cinfo, tables, static_cast<unsigned long>(tablesSize));
    if (jpeg_read_header(&cinfo, FALSE) != JPEG_HEADER_TABLES_ONLY) {
      jpeg_destroy_decompress(&cinfo);
      return false;
    }
  }
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const int n = cinfo.num_components;
  // A tile is 64 x 64; anything much larger is not a tile.
  if (cinfo.image_width > 256 || cinfo.image_height > 256 || (n != 1 && n != 3 && n != 4)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (n == 1) {
    cinfo.out_color_space = JCS_GRAYSCALE;
  } else if (n == 3) {
    if (!convert) cinfo.jpeg_color_space = JCS_RGB;
    cinfo.out_color_space = JCS_RGB;
  } else {
    cinfo.jpeg_color_space = convert ? JCS_YCCK : JCS_CMYK;
    cinfo.out_color_space = JCS_CMYK;
  }
  jpeg_start_decompress(&cinfo);
  const size_t rowBytes = size_t(cinfo.output_width) * n;
  out->assign(rowBytes * cinfo.output_height, 0);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {out->data() + rowBytes * cinfo.output_scanline};
    if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
  }
  const bool complete = cinfo.output_scanline == cinfo.output_height;
  if (complete) jpeg_finish_decompress(&cinfo);
  *width = static_cast<int>(cinfo.output_width);
  *height = static_cast<int>(cinfo.output_height);
  *components = n;
  jpeg_destroy_decompress(&cinfo);
  return complete && !err.corrupt;
}

namespace {

/// Compresses 24-bit or grey rows (`top` the top row, `step` bytes from each
/// row to the next one down); the setjmp frame holds nothing that changes
/// after it is set.
bool Compress(const uint8_t* top, ptrdiff_t step, int width, int height, bool gray, int quality,
              std::vector<uint8_t>* out) {
  jpeg_compress_struct cinfo;
  JpegErrors err;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  cinfo.err = UseJpegErrors(&err);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &length);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = gray ? 1 : 3;
  cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.density_unit = 1;
  cinfo.X_density = cinfo.Y_density = 72;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {const_cast<JSAMPROW>(top + step * ptrdiff_t(cinfo.next_scanline))};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  bool ok = true;
  try {
    out->insert(out->end(), buffer, buffer + length);
  } catch (...) {
    ok = false;
  }
  std::free(buffer);
  return ok;
}

/// Compresses a 24-bit or grey picture.
bool Compress(const Image& image, bool gray, int quality, std::vector<uint8_t>* out) {
  if (image.width <= 0 || image.height <= 0) return false;
  return Compress(image.TopRow(0), -static_cast<ptrdiff_t>(image.Stride()), image.width,
                  image.height, gray, quality, out);
}

int ClampedQuality(const EncodeSettings& settings) {
  return std::min(100, std::max(1, settings.jpegQuality));
}

}  // namespace

bool EncodeJpeg(const Image& source, const EncodeSettings& settings, std::vector<uint8_t>* out) {
  const bool gray = source.IsGray();
  const int quality = ClampedQuality(settings);
  if (source.bitCount == 24 || gray) return Compress(source, gray, quality, out);
  Image expanded;
  if (!ExpandTo24(source, &expanded)) return false;
  return Compress(expanded, false, quality, out);
}

bool EncodeJpegRows(const uint8_t* top, ptrdiff_t step, int width, int height,
                    const EncodeSettings& settings, std::vector<uint8_t>* out) {
  if (width <= 0 || height <= 0) return false;
  return Compress(top, step, width, height, false, ClampedQuality(settings), out);
}

}  // namespace pixio
