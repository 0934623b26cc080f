#include "sample_jpegs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "formats.h"
#include "jpeg_errors.h"

namespace pixio_test {

namespace {

/// The inks of one blue, green, red pixel, plainly (not inverted).
void Inks(const uint8_t* bgr, uint8_t* cmyk) {
  const int k = 255 - std::max({bgr[0], bgr[1], bgr[2]});
  cmyk[0] = static_cast<uint8_t>(255 - bgr[2] - k);
  cmyk[1] = static_cast<uint8_t>(255 - bgr[1] - k);
  cmyk[2] = static_cast<uint8_t>(255 - bgr[0] - k);
  cmyk[3] = static_cast<uint8_t>(k);
}

}  // namespace

std::vector<uint8_t> LibjpegFile(const pixio::Image& image, const JpegWriting& how) {
  const bool gray = image.bitCount == 8;
  const int components = how.cmyk ? 4 : (gray ? 1 : 3);
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * components);
  jpeg_compress_struct cinfo;
  pixio::JpegErrors err;
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  cinfo.err = pixio::UseJpegErrors(&err);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &length);
  cinfo.image_width = static_cast<JDIMENSION>(image.width);
  cinfo.image_height = static_cast<JDIMENSION>(image.height);
  cinfo.input_components = components;
  cinfo.in_color_space = how.cmyk ? JCS_CMYK : (gray ? JCS_GRAYSCALE : JCS_EXT_BGR);
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, how.quality, TRUE);
  if (how.cmyk) cinfo.write_Adobe_marker = how.adobe ? TRUE : FALSE;
  if (how.progressive) jpeg_simple_progression(&cinfo);
  cinfo.restart_in_rows = how.restartRows;
  jpeg_start_compress(&cinfo, TRUE);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* src = image.TopRow(y);
    JSAMPROW out = const_cast<JSAMPROW>(src);
    if (how.cmyk) {
      for (int x = 0; x < image.width; ++x) {
        Inks(src + 3 * x, &row[4 * x]);
        // Adobe's files hold the inks inverted.
        if (how.adobe) {
          for (int c = 0; c < 4; ++c) row[4 * x + c] = static_cast<uint8_t>(255 - row[4 * x + c]);
        }
      }
      out = row.data();
    }
    jpeg_write_scanlines(&cinfo, &out, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> file(buffer, buffer + length);
  std::free(buffer);
  return file;
}

std::vector<uint8_t> JpegWithOrientation(const pixio::Image& image, int orientation,
                                         bool bigEndian) {
  std::vector<uint8_t> jpeg;
  pixio::EncodeJpeg(image, pixio::EncodeSettings{95, false}, &jpeg);
  std::vector<uint8_t> exif = {'E', 'x', 'i', 'f', 0, 0};
  auto u16 = [&](int v) {
    if (bigEndian) {
      exif.push_back(uint8_t(v >> 8));
      exif.push_back(uint8_t(v));
    } else {
      exif.push_back(uint8_t(v));
      exif.push_back(uint8_t(v >> 8));
    }
  };
  auto u32 = [&](uint32_t v) {
    if (bigEndian) {
      u16(int(v >> 16));
      u16(int(v & 0xFFFF));
    } else {
      u16(int(v & 0xFFFF));
      u16(int(v >> 16));
    }
  };
  exif.push_back(bigEndian ? 'M' : 'I');
  exif.push_back(bigEndian ? 'M' : 'I');
  u16(42);
  u32(8);
  u16(2);  // two entries: a resolution unit first, then the orientation
  u16(0x0128); u16(3); u32(1); u16(2); u16(0);
  u16(0x0112); u16(3); u32(1); u16(orientation); u16(0);
  u32(0);
  std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
  out.push_back(0xFF);
  out.push_back(0xE1);
  const size_t len = exif.size() + 2;
  out.push_back(uint8_t(len >> 8));
  out.push_back(uint8_t(len));
  out.insert(out.end(), exif.begin(), exif.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

}  // namespace pixio_test
