// The decoders and encoders on bytes in memory: round trips of every format
// and depth, the compression switch, JPEG quality, EXIF orientation, GIF
// transparency, the Photo CD scenes, and malformed input of every kind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <tiffio.h>

#include "formats.h"
#include "jpeg_errors.h"
#include "reader.h"
#include "allocation_probe.h"
#include "sample_images.h"
#include "sample_jpegs.h"

namespace {

using pixio::EncodeSettings;
using pixio::FormatKind;
using pixio::Image;
using pixio_test::JpegWithOrientation;
using pixio_test::JpegWriting;
using pixio_test::LibjpegFile;
using pixio_test::MeanError;
using pixio_test::Sample;
using pixio_test::Smooth;

bool Encode(FormatKind kind, const Image& image, const EncodeSettings& s, std::vector<uint8_t>* out) {
  switch (kind) {
    case FormatKind::kBmp: return pixio::EncodeBmp(image, out);
    case FormatKind::kTiff: return pixio::EncodeTiff(image, s, out);
    case FormatKind::kPcx: return pixio::EncodePcx(image, out);
    case FormatKind::kGif: return pixio::EncodeGif(image, out);
    case FormatKind::kTga: return pixio::EncodeTga(image, s, out);
    case FormatKind::kJpeg: return pixio::EncodeJpeg(image, s, out);
    case FormatKind::kFpx: return pixio::EncodeFpx(image, s, out);
    default: return false;
  }
}

const char* KindName(FormatKind k) {
  switch (k) {
    case FormatKind::kBmp: return "Bmp";
    case FormatKind::kTiff: return "Tiff";
    case FormatKind::kPcx: return "Pcx";
    case FormatKind::kGif: return "Gif";
    case FormatKind::kTga: return "Tga";
    case FormatKind::kJpeg: return "Jpeg";
    case FormatKind::kFpx: return "Fpx";
    case FormatKind::kPcd: return "Pcd";
    default: return "None";
  }
}

struct RoundTrip {
  FormatKind kind;
  int bits;
  bool gray;
  bool compress;
  int quality;
  double tolerance;  ///< mean error per channel allowed; 0 means exact
  int keptBits;      ///< the depth the decoder gives back
};

std::string RoundTripName(const testing::TestParamInfo<RoundTrip>& info) {
  const RoundTrip& p = info.param;
  return std::string(KindName(p.kind)) + std::to_string(p.bits) + (p.gray ? "Gray" : "") +
         (p.compress ? "Compressed" : "") + "Q" + std::to_string(p.quality);
}

class CodecRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(CodecRoundTrip, DecodesWhatWasEncoded) {
  const RoundTrip& p = GetParam();
  // Odd sizes catch row padding and partial tiles, bytes and RLE runs.
  for (auto [w, h] : {std::pair{1, 1}, std::pair{37, 23}, std::pair{130, 67}}) {
    // Lossy codecs get a smooth picture of the same depth.
    const bool lossy = p.tolerance > 0;
    Image in = Sample(w, h, p.bits, p.gray);
    if (lossy && p.bits == 24) in = Smooth(w, h);
    if (lossy && p.gray) {
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) in.Row(y)[x] = static_cast<uint8_t>(40 + (x + y) * 150 / (w + h));
      }
    }
    EncodeSettings s;
    s.compress = p.compress;
    s.jpegQuality = p.quality;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Encode(p.kind, in, s, &bytes)) << w << "x" << h;
    EXPECT_EQ(pixio::SniffFormat(bytes.data(), bytes.size()), p.kind);
    Image out;
    ASSERT_TRUE(pixio::DecodeAny(bytes.data(), bytes.size(), &out)) << w << "x" << h;
    EXPECT_EQ(out.width, w);
    EXPECT_EQ(out.height, h);
    EXPECT_EQ(out.bitCount, p.keptBits);
    if (p.tolerance == 0) {
      EXPECT_EQ(MeanError(in, out), 0.0) << w << "x" << h;
    } else if (w > 1) {
      EXPECT_LT(MeanError(in, out), p.tolerance) << w << "x" << h;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, CodecRoundTrip,
    testing::Values(RoundTrip{FormatKind::kBmp, 1, false, false, 75, 0, 1},
                    RoundTrip{FormatKind::kBmp, 4, false, false, 75, 0, 4},
                    RoundTrip{FormatKind::kBmp, 8, false, false, 75, 0, 8},
                    RoundTrip{FormatKind::kBmp, 24, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 1, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 4, false, true, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 8, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 8, true, true, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 24, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kTiff, 24, false, true, 75, 0, 24},
                    RoundTrip{FormatKind::kPcx, 1, false, false, 75, 0, 1},
                    RoundTrip{FormatKind::kPcx, 4, false, false, 75, 0, 4},
                    RoundTrip{FormatKind::kPcx, 8, false, false, 75, 0, 8},
                    RoundTrip{FormatKind::kPcx, 24, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kGif, 4, false, false, 75, 0, 8},
                    RoundTrip{FormatKind::kGif, 8, false, false, 75, 0, 8},
                    RoundTrip{FormatKind::kGif, 24, false, false, 75, 12, 8},
                    RoundTrip{FormatKind::kTga, 8, false, false, 75, 0, 8},
                    RoundTrip{FormatKind::kTga, 8, true, true, 75, 0, 8},
                    RoundTrip{FormatKind::kTga, 24, false, false, 75, 0, 24},
                    RoundTrip{FormatKind::kTga, 24, false, true, 75, 0, 24},
                    RoundTrip{FormatKind::kTga, 4, false, true, 75, 0, 24},
                    RoundTrip{FormatKind::kJpeg, 24, false, false, 95, 6, 24},
                    RoundTrip{FormatKind::kJpeg, 8, true, false, 95, 4, 8},
                    RoundTrip{FormatKind::kFpx, 24, false, false, 100, 0, 24},
                    RoundTrip{FormatKind::kFpx, 8, false, false, 100, 0, 24},
                    RoundTrip{FormatKind::kFpx, 24, false, false, 90, 8, 24}),
    RoundTripName);

TEST(CodecRoundTrip, GifQuantiserKeepsAFewColoursExactlyAndManyClosely) {
  // Four flat colours must come back exactly; a smooth photo within a few levels.
  Image flat;
  flat.Allocate(64, 32, 24);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      static const uint8_t kColours[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
      std::memcpy(flat.Row(y) + 3 * x, kColours[(x / 16 + y / 16) % 4], 3);
    }
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(pixio::EncodeGif(flat, &bytes));
  Image out;
  ASSERT_TRUE(pixio::DecodeGif(bytes.data(), bytes.size(), &out));
  EXPECT_LT(MeanError(flat, out), 4.5);  // the quantiser works on 5 bits per channel
  bytes.clear();
  const Image photo = Smooth(200, 120);
  ASSERT_TRUE(pixio::EncodeGif(photo, &bytes));
  ASSERT_TRUE(pixio::DecodeGif(bytes.data(), bytes.size(), &out));
  EXPECT_LT(MeanError(photo, out), 7.0);
}

TEST(CompressionSwitch, TiffBecomesLzwAndTargaBecomesRle) {
  const Image flat = Sample(200, 100, 8, true);  // long runs of equal rows
  Image image;
  ASSERT_TRUE(pixio::ExpandTo24(flat, &image));
  for (int y = 0; y < image.height; ++y) std::memset(image.Row(y), y, image.Stride());
  EncodeSettings off, on;
  on.compress = true;
  std::vector<uint8_t> plain, packed;
  ASSERT_TRUE(pixio::EncodeTiff(image, off, &plain));
  ASSERT_TRUE(pixio::EncodeTiff(image, on, &packed));
  EXPECT_LT(packed.size() * 4, plain.size());
  // The compression tag (259) holds 1 without the switch and 5 (LZW) with it.
  auto compressionTag = [](const std::vector<uint8_t>& t) {
    const uint32_t ifd = t[4] | (t[5] << 8) | (t[6] << 16) | (uint32_t(t[7]) << 24);
    const int count = t[ifd] | (t[ifd + 1] << 8);
    for (int i = 0; i < count; ++i) {
      const uint8_t* e = &t[ifd + 2 + 12 * i];
      if ((e[0] | (e[1] << 8)) == 259) return e[8] | (e[9] << 8);
    }
    return -1;
  };
  EXPECT_EQ(compressionTag(plain), 1);
  EXPECT_EQ(compressionTag(packed), 5);
  plain.clear();
  packed.clear();
  ASSERT_TRUE(pixio::EncodeTga(image, off, &plain));
  ASSERT_TRUE(pixio::EncodeTga(image, on, &packed));
  EXPECT_EQ(plain[2], 2);    // true colour, uncompressed
  EXPECT_EQ(packed[2], 10);  // true colour, RLE
  EXPECT_LT(packed.size() * 10, plain.size());
}

TEST(JpegQuality, SizeAndFidelityFollowTheQuality) {
  const Image photo = Smooth(160, 120);
  size_t lastSize = 0;
  double lastError = 1e9;
  for (int q : {5, 25, 50, 75, 95}) {
    EncodeSettings s;
    s.jpegQuality = q;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(pixio::EncodeJpeg(photo, s, &bytes));
    Image out;
    ASSERT_TRUE(pixio::DecodeJpeg(bytes.data(), bytes.size(), &out));
    const double error = MeanError(photo, out);
    EXPECT_GT(bytes.size(), lastSize) << "quality " << q;
    EXPECT_LT(error, lastError + 0.05) << "quality " << q;
    lastSize = bytes.size();
    lastError = error;
  }
}

class ExifOrientation : public testing::TestWithParam<int> {};

TEST_P(ExifOrientation, TurnsThePictureUpright) {
  // A stored 48 x 32 picture with one red 16 x 16 block in its top-left corner.
  Image stored;
  stored.Allocate(48, 32, 24);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      uint8_t* p = stored.TopRow(y) + 3 * x;
      const bool red = x < 16 && y < 16;
      p[0] = red ? 0 : 200;
      p[1] = red ? 0 : 200;
      p[2] = red ? 255 : 200;
    }
  }
  const int o = GetParam();
  for (bool big : {false, true}) {
    const std::vector<uint8_t> file = JpegWithOrientation(stored, o, big);
    Image out;
    ASSERT_TRUE(pixio::DecodeJpeg(file.data(), file.size(), &out));
    const bool swap = o >= 5;
    ASSERT_EQ(out.width, swap ? 32 : 48);
    ASSERT_EQ(out.height, swap ? 48 : 32);
    // Where the stored top-left corner ends up, counted from the top left.
    const bool right = o == 2 || o == 3 || o == 6 || o == 7;
    const bool bottom = o == 3 || o == 4 || o == 7 || o == 8;
    const int x = right ? out.width - 8 : 8, y = bottom ? out.height - 8 : 8;
    const uint8_t* p = out.TopRow(y) + 3 * x;
    EXPECT_GT(p[2], 200) << "orientation " << o;
    EXPECT_LT(p[1], 60) << "orientation " << o;
    const uint8_t* q = out.TopRow(out.height - 1 - y) + 3 * (out.width - 1 - x);
    EXPECT_LT(q[2], 230) << "the opposite corner stays grey, orientation " << o;
    EXPECT_GT(q[1], 150);
  }
}

INSTANTIATE_TEST_SUITE_P(AllCodes, ExifOrientation, testing::Range(1, 9));

TEST(ExifOrientation, UnreadableBlocksMeanNoTurn) {
  const uint8_t notExif[] = {'J', 'F', 'I', 'F', 0, 0, 'I', 'I', 42, 0};
  EXPECT_EQ(pixio::ExifOrientation(notExif, sizeof notExif), 0);
  const uint8_t badOffset[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 0xFF, 0xFF, 0, 0};
  EXPECT_EQ(pixio::ExifOrientation(badOffset, sizeof badOffset), 0);
  const uint8_t outOfRange[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                                1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 9, 0, 0, 0};
  EXPECT_EQ(pixio::ExifOrientation(outOfRange, sizeof outOfRange), 0);
}

TEST(ApplyOrientation, OppositeTurnsCancel) {
  const Image start = Sample(13, 7, 24);
  for (auto [a, b] : {std::pair{6, 8}, std::pair{8, 6}, std::pair{3, 3}, std::pair{2, 2},
                      std::pair{4, 4}, std::pair{5, 5}, std::pair{7, 7}}) {
    Image image = start;
    ASSERT_TRUE(pixio::ApplyOrientation(&image, a));
    ASSERT_TRUE(pixio::ApplyOrientation(&image, b));
    EXPECT_EQ(MeanError(start, image), 0.0) << a << " then " << b;
  }
}

TEST(JpegDecode, ReadsProgressiveAndGreyFiles) {
  const Image photo = Smooth(90, 70);
  std::vector<uint8_t> baseline;
  ASSERT_TRUE(pixio::EncodeJpeg(photo, EncodeSettings{90, false}, &baseline));
  // The same picture written progressively by libjpeg itself.
  JpegWriting how;
  how.progressive = true;
  const std::vector<uint8_t> progressive = LibjpegFile(photo, how);
  ASSERT_FALSE(progressive.empty());
  Image a, b;
  ASSERT_TRUE(pixio::DecodeJpeg(baseline.data(), baseline.size(), &a));
  ASSERT_TRUE(pixio::DecodeJpeg(progressive.data(), progressive.size(), &b));
  EXPECT_LT(MeanError(a, b), 1.5);
  EXPECT_LT(MeanError(photo, b), 3.0);
  Image gray = Sample(90, 70, 8, true);
  std::vector<uint8_t> grayBytes;
  ASSERT_TRUE(pixio::EncodeJpeg(gray, EncodeSettings{90, false}, &grayBytes));
  Image out;
  ASSERT_TRUE(pixio::DecodeJpeg(grayBytes.data(), grayBytes.size(), &out));
  EXPECT_TRUE(out.IsGray());
}

TEST(JpegDecode, StrayBytesBetweenMarkersAreHarmlessButACutFileIsNot) {
  const Image photo = Smooth(64, 48);
  std::vector<uint8_t> file;
  ASSERT_TRUE(pixio::EncodeJpeg(photo, EncodeSettings{90, false}, &file));
  Image clean;
  ASSERT_TRUE(pixio::DecodeJpeg(file.data(), file.size(), &clean));
  std::vector<uint8_t> stray = file;
  for (size_t i = 2; i + 1 < stray.size(); ++i) {
    if (stray[i] == 0xFF && stray[i + 1] == 0xDA) {  // before the scan
      stray.insert(stray.begin() + static_cast<ptrdiff_t>(i), {0x00, 0x11, 0x22});
      break;
    }
  }
  Image out;
  ASSERT_TRUE(pixio::DecodeJpeg(stray.data(), stray.size(), &out));
  EXPECT_EQ(MeanError(clean, out), 0.0);
  std::vector<uint8_t> cut(file.begin(), file.end() - 40);
  EXPECT_FALSE(pixio::DecodeJpeg(cut.data(), cut.size(), &out));
}

// --- TIFF specifics ------------------------------------------------------

/// A TIFF written by libtiff itself: 16-bit RGB samples, in tiles or strips,
/// pixel (x, y) from the top = (x * 1000, y * 2000, 65535 - x * 500); `big`
/// makes it a BigTIFF, as files past 4 GB are.
std::vector<uint8_t> SixteenBitTiff(int width, int height, bool tiled, bool big = false) {
  const std::string path = testing::TempDir() + (tiled ? "tiled16.tif" : "strips16.tif");
  TIFF* tif = TIFFOpen(path.c_str(), big ? "w8" : "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height));
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
  auto sample = [](int x, int y, int c) {
    return uint16_t(c == 0 ? x * 1000 : (c == 1 ? y * 2000 : 65535 - x * 500));
  };
  if (tiled) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
    std::vector<uint16_t> tile(16 * 16 * 3);
    for (int ty = 0; ty < height; ty += 16) {
      for (int tx = 0; tx < width; tx += 16) {
        for (int y = 0; y < 16; ++y) {
          for (int x = 0; x < 16; ++x) {
            for (int c = 0; c < 3; ++c) tile[(y * 16 + x) * 3 + c] = sample(tx + x, ty + y, c);
          }
        }
        TIFFWriteTile(tif, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0);
      }
    }
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 3);
    std::vector<uint16_t> row(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + c] = sample(x, y, c);
      }
      TIFFWriteScanline(tif, row.data(), uint32_t(y), 0);
    }
  }
  TIFFClose(tif);
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int ch;
    while ((ch = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(ch));
    std::fclose(f);
  }
  std::remove(path.c_str());
  return bytes;
}

TEST(TiffDecode, SixteenBitStripsAndTilesBecomeEightBitColour) {
  for (bool tiled : {false, true}) {
    const std::vector<uint8_t> file = SixteenBitTiff(40, 30, tiled);
    ASSERT_FALSE(file.empty());
    Image out;
    ASSERT_TRUE(pixio::DecodeAny(file.data(), file.size(), &out)) << tiled;
    ASSERT_EQ(out.width, 40);
    ASSERT_EQ(out.height, 30);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{39, 29}, std::pair{17, 21}}) {
      const uint8_t* p = out.TopRow(y) + 3 * x;
      EXPECT_NEAR(p[2], x * 1000 / 257, 1) << tiled << " " << x << "," << y;
      EXPECT_NEAR(p[1], y * 2000 / 257, 1);
      EXPECT_NEAR(p[0], (65535 - x * 500) / 257, 1);
    }
  }
}

TEST(TiffDecode, BigTiffIsReadAndACutOneRefused) {
  const std::vector<uint8_t> classic = SixteenBitTiff(40, 30, false);
  const std::vector<uint8_t> big = SixteenBitTiff(40, 30, false, true);
  ASSERT_EQ(big.size() > 4 ? big[2] : 0, 43);  // the BigTIFF version number
  Image a, b;
  ASSERT_TRUE(pixio::DecodeAny(classic.data(), classic.size(), &a));
  ASSERT_TRUE(pixio::DecodeAny(big.data(), big.size(), &b));
  EXPECT_EQ(a.pixels, b.pixels);
  // libtiff writes the directory last: a cut file has lost it or its strips.
  for (size_t keep : {big.size() / 2, big.size() - 20}) {
    std::vector<uint8_t> cut(big.begin(), big.begin() + static_cast<ptrdiff_t>(keep));
    EXPECT_FALSE(pixio::DecodeAny(cut.data(), cut.size(), &b)) << keep;
  }
}

TEST(FpxJpegTile, AbbreviatedTilesUseTheSharedTables) {
  // One tables-only stream and one tile without tables, as FlashPix keeps them.
  const Image tile = Smooth(64, 64);
  jpeg_compress_struct c;
  pixio::JpegErrors err;
  c.err = pixio::UseJpegErrors(&err);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    FAIL() << "libjpeg refused to write the tiles";
  }
  jpeg_create_compress(&c);
  c.image_width = 64;
  c.image_height = 64;
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  unsigned char* tables = nullptr;
  unsigned long tablesLength = 0;
  jpeg_mem_dest(&c, &tables, &tablesLength);
  jpeg_write_tables(&c);
  unsigned char* body = nullptr;
  unsigned long bodyLength = 0;
  jpeg_mem_dest(&c, &body, &bodyLength);
  jpeg_start_compress(&c, FALSE);
  for (int y = 0; y < 64; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(tile.TopRow(y));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> pixels;
  int w = 0, h = 0, n = 0;
  EXPECT_TRUE(pixio::DecodeJpegTile(tables, tablesLength, body, bodyLength, true, &pixels, &w, &h, &n));
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 64);
  EXPECT_EQ(n, 3);
  if (pixels.size() == 64 * 64 * 3) {
    const uint8_t* p = tile.TopRow(10) + 3 * 20;  // blue, green, red
    EXPECT_NEAR(pixels[(10 * 64 + 20) * 3 + 0], p[2], 6);
    EXPECT_NEAR(pixels[(10 * 64 + 20) * 3 + 2], p[0], 6);
  }
  // Without its tables the tile cannot be decoded.
  EXPECT_FALSE(pixio::DecodeJpegTile(nullptr, 0, body, bodyLength, true, &pixels, &w, &h, &n));
  // A "tables" stream that holds an image is refused.
  EXPECT_FALSE(pixio::DecodeJpegTile(body, bodyLength, body, bodyLength, true, &pixels, &w, &h, &n));
  std::free(tables);
  std::free(body);
}

// --- GIF specifics -------------------------------------------------------

/// A GIF of a 4 x 2 frame at (2, 1) on an 8 x 4 screen; index 1 transparent
/// when `transparent` is set.
std::vector<uint8_t> SmallFrameGif(bool transparent) {
  std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', 8, 0, 4, 0, 0x81, 0, 0};
  const uint8_t colours[12] = {255, 0, 0, 0, 0, 255, 0, 255, 0, 10, 20, 30};
  g.insert(g.end(), colours, colours + 12);  // 4-entry global table
  if (transparent) {
    const uint8_t gce[] = {0x21, 0xF9, 4, 0x01, 0, 0, 1, 0};
    g.insert(g.end(), gce, gce + sizeof gce);
  }
  const uint8_t desc[] = {0x2C, 2, 0, 1, 0, 4, 0, 2, 0, 0};
  g.insert(g.end(), desc, desc + sizeof desc);
  // LZW (minimum code size 2) of the indexes 0 1 0 1 / 2 3 2 3, coded with
  // clear = 4, end = 5 as 3-bit codes: 4 0 1 0 1 2 3 2 3 5.
  const int codes[] = {4, 0, 1, 6, 2, 3, 9, 5};
  // 4 0 1 -> then "0 1" is code 6 (added after 0,1), 2, 3, "2 3" is code 9.
  std::vector<uint8_t> data;
  uint32_t acc = 0;
  int nbits = 0, width = 3, next = 6;
  for (int i = 0; i < 8; ++i) {
    acc |= uint32_t(codes[i]) << nbits;
    nbits += width;
    while (nbits >= 8) {
      data.push_back(uint8_t(acc));
      acc >>= 8;
      nbits -= 8;
    }
    if (i >= 2 && codes[i] != 5) {
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
  }
  if (nbits) data.push_back(uint8_t(acc));
  g.push_back(2);
  g.push_back(uint8_t(data.size()));
  g.insert(g.end(), data.begin(), data.end());
  g.push_back(0);
  g.push_back(0x3B);
  return g;
}

TEST(GifDecode, TransparentPixelsAndTheCanvasAroundTheFrameAreWhite) {
  for (bool transparent : {false, true}) {
    const std::vector<uint8_t> gif = SmallFrameGif(transparent);
    Image out;
    ASSERT_TRUE(pixio::DecodeGif(gif.data(), gif.size(), &out)) << transparent;
    ASSERT_EQ(out.width, 8);
    ASSERT_EQ(out.height, 4);
    ASSERT_EQ(out.bitCount, 24);
    auto rgb = [&](int x, int y) {
      const uint8_t* p = out.TopRow(y) + 3 * x;
      return (p[2] << 16) | (p[1] << 8) | p[0];
    };
    EXPECT_EQ(rgb(0, 0), 0xFFFFFF);  // outside the frame
    EXPECT_EQ(rgb(7, 3), 0xFFFFFF);
    EXPECT_EQ(rgb(2, 1), 0xFF0000);  // index 0
    EXPECT_EQ(rgb(3, 1), transparent ? 0xFFFFFF : 0x0000FF);  // index 1
    EXPECT_EQ(rgb(2, 2), 0x00FF00);  // index 2
    EXPECT_EQ(rgb(5, 2), 0x0A141E);  // index 3
  }
}

// --- BMP specifics -------------------------------------------------------

std::vector<uint8_t> BmpFile(int width, int height, int bits, uint32_t compression,
                             const std::vector<uint8_t>& palette, const std::vector<uint8_t>& masks,
                             const std::vector<uint8_t>& pixels) {
  pixio::Writer w;
  const uint32_t off = 14 + 40 + static_cast<uint32_t>(masks.size() + palette.size());
  w.U8('B'); w.U8('M');
  w.U32LE(off + static_cast<uint32_t>(pixels.size()));
  w.U32LE(0);
  w.U32LE(off);
  w.U32LE(40);
  w.U32LE(static_cast<uint32_t>(width));
  w.U32LE(static_cast<uint32_t>(height));
  w.U16LE(1);
  w.U16LE(static_cast<unsigned>(bits));
  w.U32LE(compression);
  w.U32LE(static_cast<uint32_t>(pixels.size()));
  w.U32LE(0); w.U32LE(0);
  w.U32LE(static_cast<uint32_t>(palette.size() / 4));
  w.U32LE(0);
  w.Put(masks.data(), masks.size());
  w.Put(palette.data(), palette.size());
  w.Put(pixels.data(), pixels.size());
  return w.Bytes();
}

TEST(BmpDecode, RunLengthCodesFillTheRightPixels) {
  const std::vector<uint8_t> palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
  // RLE8, 6 x 3: row 0 "3 x 1, absolute 2 0 2", end of line, delta (2, 1),
  // run of 2 x 1, end of bitmap. Row 1 stays index 0.
  const std::vector<uint8_t> rle8 = {3, 1, 0, 3, 2, 0, 2, 0, 0, 0, 0, 2, 2, 1, 2, 1, 0, 1};
  Image out;
  std::vector<uint8_t> file = BmpFile(6, 3, 8, BI_RLE8, palette, {}, rle8);
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  const uint8_t row0[6] = {1, 1, 1, 2, 0, 2};
  const uint8_t row2[6] = {0, 0, 1, 1, 0, 0};
  EXPECT_EQ(std::memcmp(out.Row(0), row0, 6), 0);
  EXPECT_EQ(std::memcmp(out.Row(1), "\0\0\0\0\0\0", 6), 0);
  EXPECT_EQ(std::memcmp(out.Row(2), row2, 6), 0);
  // RLE4, 5 x 1: run of 5 alternating 1 and 2, end of bitmap.
  file = BmpFile(5, 1, 4, BI_RLE4, palette, {}, {5, 0x12, 0, 1});
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  EXPECT_EQ(out.IndexAt(0, 0), 1);
  EXPECT_EQ(out.IndexAt(1, 0), 2);
  EXPECT_EQ(out.IndexAt(4, 0), 1);
  // Data that ends before the end-of-bitmap code is refused.
  file = BmpFile(6, 3, 8, BI_RLE8, palette, {}, {3, 1, 0, 0});
  EXPECT_FALSE(pixio::DecodeBmp(file.data(), file.size(), &out));
}

TEST(BmpDecode, SixteenAndThirtyTwoBitPixelsBecomeTwentyFourBits) {
  Image out;
  // 5-5-5 default: one pure red and one pure blue pixel.
  std::vector<uint8_t> file = BmpFile(2, 1, 16, BI_RGB, {}, {}, {0x00, 0x7C, 0x1F, 0x00});
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  EXPECT_EQ(out.bitCount, 24);
  EXPECT_EQ(out.Row(0)[2], 255);
  EXPECT_EQ(out.Row(0)[0], 0);
  EXPECT_EQ(out.Row(0)[3], 255);
  // 5-6-5 bit fields: pure green.
  const std::vector<uint8_t> masks565 = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  file = BmpFile(1, 1, 16, BI_BITFIELDS, {}, masks565, {0xE0, 0x07, 0, 0});
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  EXPECT_EQ(out.Row(0)[1], 255);
  EXPECT_EQ(out.Row(0)[2], 0);
  // 32 bits, default masks.
  file = BmpFile(1, 1, 32, BI_RGB, {}, {}, {10, 20, 30, 0});
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  EXPECT_EQ(out.Row(0)[0], 10);
  EXPECT_EQ(out.Row(0)[2], 30);
}

TEST(BmpDecode, TopDownRowsAreTurnedToBottomUp) {
  std::vector<uint8_t> file = BmpFile(1, -2, 24, BI_RGB, {}, {}, {1, 2, 3, 0, 4, 5, 6, 0});
  Image out;
  ASSERT_TRUE(pixio::DecodeBmp(file.data(), file.size(), &out));
  EXPECT_EQ(out.TopRow(0)[0], 1);
  EXPECT_EQ(out.Row(0)[0], 4);
}

// --- Photo CD ------------------------------------------------------------

/// A pack with the three stored scenes filled with flat YCC values.
std::vector<uint8_t> PhotoCdPack(int y, int c1, int c2, int rotation) {
  std::vector<uint8_t> pack(0x30000 + 768 * 512 * 3 / 2, 0);
  std::memcpy(&pack[0x800], "PCD_IPI", 7);
  pack[0x800 + 0x602] = static_cast<uint8_t>(rotation);
  const struct { int w, h; size_t sector; } scenes[] = {{192, 128, 4}, {384, 256, 23}, {768, 512, 96}};
  for (const auto& s : scenes) {
    uint8_t* p = &pack[s.sector * 0x800];
    for (int pair = 0; pair < s.h / 2; ++pair, p += 3 * s.w) {
      std::memset(p, y, size_t(2 * s.w));
      // A darker left half of the luma shows the picture's orientation.
      std::memset(p, y / 2, size_t(s.w / 4));
      std::memset(p + s.w, y / 2, size_t(s.w / 4));
      std::memset(p + 2 * s.w, c1, size_t(s.w / 2));
      std::memset(p + 2 * s.w + s.w / 2, c2, size_t(s.w / 2));
    }
  }
  return pack;
}

class PhotoCdScene : public testing::TestWithParam<int> {};

TEST_P(PhotoCdScene, HasTheSizeOfItsResolution) {
  const int r = GetParam();
  const int w = 192 << r, h = 128 << r;
  const std::vector<uint8_t> pack = PhotoCdPack(150, 156, 137, 0);
  Image rgb, gray;
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), r, false, &rgb));
  EXPECT_EQ(rgb.width, w);
  EXPECT_EQ(rgb.height, h);
  EXPECT_EQ(rgb.bitCount, 24);
  // Neutral chroma gives grey: luma 150 x 1.3584 = 204.
  const uint8_t* p = rgb.TopRow(h / 2) + 3 * (w - 2);
  EXPECT_NEAR(p[0], 204, 1);
  EXPECT_NEAR(p[1], 204, 1);
  EXPECT_NEAR(p[2], 204, 1);
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), r, true, &gray));
  EXPECT_TRUE(gray.IsGray());
  EXPECT_NEAR(gray.TopRow(h / 2)[w - 2], 204, 1);
  EXPECT_NEAR(gray.TopRow(h / 2)[1], 102, 1);  // the dark quarter, luma 75
}

INSTANTIATE_TEST_SUITE_P(AllFive, PhotoCdScene, testing::Range(0, 5));

TEST(PhotoCd, RotationByteTurnsTheScene) {
  Image upright, turned;
  const std::vector<uint8_t> flat = PhotoCdPack(150, 156, 137, 0);
  const std::vector<uint8_t> pack = PhotoCdPack(150, 156, 137, 1);
  ASSERT_TRUE(pixio::DecodePcd(flat.data(), flat.size(), 0, true, &upright));
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), 0, true, &turned));
  ASSERT_EQ(turned.width, 128);
  ASSERT_EQ(turned.height, 192);
  // A quarter turn anticlockwise brings the dark left quarter to the bottom.
  EXPECT_LT(turned.TopRow(191)[64], 110);
  EXPECT_GT(turned.TopRow(0)[64], 190);
}

TEST(PhotoCd, ColouredChromaGivesColour) {
  const std::vector<uint8_t> pack = PhotoCdPack(120, 156, 200, 0);  // red chroma
  Image out;
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), 2, false, &out));
  const uint8_t* p = out.TopRow(100) + 3 * 600;
  EXPECT_GT(p[2], p[1] + 60);
  EXPECT_GT(p[2], p[0] + 60);
}

/// MSB-first bit writer for building correction sections.
struct BitWriter {
  std::vector<uint8_t> bytes;
  int used = 8;
  void Put(uint32_t value, int n) {
    for (int i = n - 1; i >= 0; --i) {
      if (used == 8) {
        bytes.push_back(0);
        used = 0;
      }
      if ((value >> i) & 1) bytes.back() |= uint8_t(0x80 >> used);
      ++used;
    }
  }
};

/// A correction row: `plane` as stored (0 luma, 2 and 3 chroma), then one
/// code per pixel: 0 -> "0", +10 -> "10", -10 -> "110".
void PutRow(BitWriter& w, int plane, int row, const std::vector<int>& deltas) {
  w.Put(0xFFFFFE, 24);
  w.Put(uint32_t(plane), 2);
  w.Put(uint32_t(row), 13);
  w.Put(0, 1);
  for (int d : deltas) {
    if (d == 0) w.Put(0, 1);
    else if (d == 10) w.Put(2, 2);
    else w.Put(6, 3);
  }
}

/// Appends a correction section: `tables` copies of the three-code table at
/// sector start + tableOffset, the rows at start + dataOffset. Returns the
/// sector after the data.
size_t PutSection(std::vector<uint8_t>* pack, size_t start, size_t tableOffset, size_t dataOffset,
                  int tables, const BitWriter& rows) {
  const uint8_t table[] = {2, 0, 0x00, 0x00, 0, 1, 0x80, 0x00, 10, 2, 0xC0, 0x00, uint8_t(-10)};
  const size_t dataAt = (start + dataOffset) * 0x800;
  pack->resize(std::max(pack->size(), dataAt + rows.bytes.size()), 0);
  for (int t = 0; t < tables; ++t) {
    std::memcpy(&(*pack)[(start + tableOffset) * 0x800 + t * sizeof table], table, sizeof table);
  }
  std::memcpy(&(*pack)[dataAt], rows.bytes.data(), rows.bytes.size());
  return (dataAt + rows.bytes.size() + 0x7FF) / 0x800;
}

TEST(PhotoCd, LargeScenesAddTheirCorrectionsToTheDoubledBase) {
  std::vector<uint8_t> pack = PhotoCdPack(100, 156, 137, 0);
  // 4Base: luma row 5 +10 everywhere, row 7 -10 on its left half.
  BitWriter four;
  PutRow(four, 0, 5, std::vector<int>(1536, 10));
  std::vector<int> half(1536, 0);
  std::fill(half.begin(), half.begin() + 768, -10);
  PutRow(four, 0, 7, half);
  PutRow(four, 0, 1024, {});
  const size_t next = PutSection(&pack, 384, 4, 5, 1, four);
  Image out;
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), 3, true, &out));
  ASSERT_EQ(out.width, 1536);
  // Luma 100 shows as 136, 110 as 149, 90 as 122 (the dark quarter is 50 -> 68).
  EXPECT_NEAR(out.TopRow(4)[1000], 136, 1);
  EXPECT_NEAR(out.TopRow(5)[1000], 149, 1);
  EXPECT_NEAR(out.TopRow(7)[500], 122, 1);
  EXPECT_NEAR(out.TopRow(7)[1000], 136, 1);
  // 16Base: luma row 9 +10, and the second chroma's row 3 (at 4Base size) raised.
  BitWriter sixteen;
  PutRow(sixteen, 0, 9, std::vector<int>(3072, 10));
  for (int k = 0; k < 4; ++k) PutRow(sixteen, 3, 3, std::vector<int>(1536, 10));
  PutRow(sixteen, 0, 2048, {});
  PutSection(&pack, next, 12, 14, 3, sixteen);
  Image big;
  ASSERT_TRUE(pixio::DecodePcd(pack.data(), pack.size(), 4, false, &big));
  ASSERT_EQ(big.width, 3072);
  ASSERT_EQ(big.height, 2048);
  // Row 9 brighter than row 20; rows 6-7 redder (chroma row 3 doubled) than row 30.
  EXPECT_GT(big.TopRow(9)[3 * 2000 + 1], big.TopRow(20)[3 * 2000 + 1] + 10);
  EXPECT_GT(big.TopRow(6)[3 * 2000 + 2], big.TopRow(30)[3 * 2000 + 2] + 40);
  // The 4Base corrections still hold at 16Base, doubled: row 10 and 11 from row 5.
  EXPECT_GT(big.TopRow(10)[3 * 2000 + 1], big.TopRow(30)[3 * 2000 + 1] + 10);
  // A broken section is refused, not shown half corrected.
  std::vector<uint8_t> broken = pack;
  // A sync code in the middle of a row cuts it short.
  std::memset(&broken[389 * 0x800 + 40], 0xFF, 3);
  broken[389 * 0x800 + 43] = 0xFE;
  Image none;
  EXPECT_FALSE(pixio::DecodePcd(broken.data(), broken.size(), 3, true, &none));
  broken = pack;
  broken[388 * 0x800 + 5] = 30;  // a code longer than 16 bits
  EXPECT_FALSE(pixio::DecodePcd(broken.data(), broken.size(), 3, true, &none));
}

// --- malformed input -----------------------------------------------------

struct Malformed {
  FormatKind kind;
  int bits;
  bool compress;
};

std::string MalformedName(const testing::TestParamInfo<Malformed>& info) {
  return std::string(KindName(info.param.kind)) + std::to_string(info.param.bits) +
         (info.param.compress ? "Compressed" : "");
}

std::vector<uint8_t> SmallFile(const Malformed& p) {
  std::vector<uint8_t> bytes;
  if (p.kind == FormatKind::kPcd) return PhotoCdPack(100, 150, 140, 0);
  EncodeSettings s;
  s.compress = p.compress;
  s.jpegQuality = 80;
  Encode(p.kind, Sample(19, 11, p.bits), s, &bytes);
  return bytes;
}

class MalformedInput : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedInput, EveryTruncationIsRefusedOrKeepsTheSize) {
  const std::vector<uint8_t> file = SmallFile(GetParam());
  ASSERT_FALSE(file.empty());
  Image whole;
  ASSERT_TRUE(pixio::DecodeAny(file.data(), file.size(), &whole));
  const size_t step = file.size() > 4000 ? file.size() / 1500 : 1;
  int refused = 0, tried = 0;
  for (size_t n = 0; n < file.size(); n += step) {
    // A fresh copy of exactly n bytes, so reading past it is a sanitizer error.
    std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<ptrdiff_t>(n));
    Image out;
    ++tried;
    if (!pixio::DecodeAny(cut.data(), cut.size(), &out)) {
      ++refused;
      continue;
    }
    EXPECT_EQ(out.width, whole.width) << "cut at " << n;
    EXPECT_EQ(out.height, whole.height) << "cut at " << n;
  }
  // A file cut in half has lost pixels: it must be refused.
  std::vector<uint8_t> half(file.begin(), file.begin() + static_cast<ptrdiff_t>(file.size() / 2));
  Image out;
  EXPECT_FALSE(pixio::DecodeAny(half.data(), half.size(), &out));
  EXPECT_GT(refused, tried / 2);
}

TEST_P(MalformedInput, FlippedBitsNeverCrashOrYieldAbsurdSizes) {
  const std::vector<uint8_t> file = SmallFile(GetParam());
  // Every byte of a small file; a sample of a large one (most of a Photo CD
  // pack is plain pixels).
  const size_t positions = file.size() > 100000 ? 100 : 3000;
  const size_t step = file.size() > positions ? file.size() / positions : 1;
  for (size_t i = 0; i < file.size(); i += step) {
    for (uint8_t mask : {uint8_t(0x01), uint8_t(0x80), uint8_t(0xFF)}) {
      std::vector<uint8_t> bad = file;
      bad[i] ^= mask;
      Image out;
      if (pixio::DecodeAny(bad.data(), bad.size(), &out)) {
        EXPECT_TRUE(pixio::DimensionsAcceptable(out.width, out.height));
        EXPECT_EQ(out.pixels.size(), out.Stride() * out.height);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryDecoder, MalformedInput,
    testing::Values(Malformed{FormatKind::kBmp, 8, false}, Malformed{FormatKind::kBmp, 24, false},
                    Malformed{FormatKind::kTiff, 24, false}, Malformed{FormatKind::kTiff, 8, true},
                    Malformed{FormatKind::kPcx, 8, false}, Malformed{FormatKind::kPcx, 24, false},
                    Malformed{FormatKind::kGif, 8, false}, Malformed{FormatKind::kTga, 24, true},
                    Malformed{FormatKind::kTga, 8, false}, Malformed{FormatKind::kJpeg, 24, false},
                    Malformed{FormatKind::kFpx, 24, false}, Malformed{FormatKind::kPcd, 24, false}),
    MalformedName);

TEST(MalformedInput, HugeDimensionsInTinyFilesAreRefusedBeforeAllocating) {
  // The cap on decoded pixels is what a process can hold, gigabytes in a
  // 64-bit one: a file must hold the bytes it claims before they are taken.
  Image out;
  auto refusedCheaply = [&](bool decoded, const char* what) {
    EXPECT_FALSE(decoded) << what;
    EXPECT_LT(pixio_test::LargestAllocation(), size_t(4) << 20) << what;
    pixio_test::ResetLargestAllocation();
  };
  // BMP: 60000 x 60000 at 24 bits in a 60-byte file.
  std::vector<uint8_t> bmp = BmpFile(60000, 60000, 24, BI_RGB, {}, {}, {0, 0, 0, 0});
  pixio_test::ResetLargestAllocation();
  refusedCheaply(pixio::DecodeBmp(bmp.data(), bmp.size(), &out), "BMP");
  // Targa RLE: 65535 x 65535 from a few packets, and raw 16448 x 16448.
  std::vector<uint8_t> tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 24, 0,
                              0xFF, 1, 2, 3};
  refusedCheaply(pixio::DecodeTga(tga.data(), tga.size(), &out), "Targa RLE");
  tga[2] = 2;
  tga[12] = tga[13] = tga[14] = tga[15] = 0x40;
  refusedCheaply(pixio::DecodeTga(tga.data(), tga.size(), &out), "Targa");
  // PCX: 65535 x 65535 declared by a bare header.
  std::vector<uint8_t> pcx(130, 0);
  pcx[0] = 0x0A; pcx[1] = 5; pcx[2] = 1; pcx[3] = 8;
  pcx[8] = pcx[9] = pcx[10] = pcx[11] = 0xFF;
  pcx[65] = 3; pcx[66] = 0xFF; pcx[67] = 0xFF;
  refusedCheaply(pixio::DecodePcx(pcx.data(), pcx.size(), &out), "PCX");
  // GIF with a 65535 x 65535 frame.
  std::vector<uint8_t> gif = SmallFrameGif(false);
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
  gif[13 + 12 + 5] = gif[13 + 12 + 6] = gif[13 + 12 + 7] = gif[13 + 12 + 8] = 0xFF;
  refusedCheaply(pixio::DecodeGif(gif.data(), gif.size(), &out), "GIF");
  // JPEG whose frame header claims 65000 x 65000.
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(pixio::EncodeJpeg(Sample(8, 8, 24), EncodeSettings{}, &jpeg));
  for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 0xFD;
      jpeg[i + 6] = jpeg[i + 8] = 0xE8;
      break;
    }
  }
  pixio_test::ResetLargestAllocation();
  refusedCheaply(pixio::DecodeJpeg(jpeg.data(), jpeg.size(), &out), "JPEG");
  // Uncompressed TIFF whose width and height fields say 60000.
  std::vector<uint8_t> tiff;
  ASSERT_TRUE(pixio::EncodeTiff(Sample(16, 16, 24), EncodeSettings{}, &tiff));
  const uint32_t ifd = tiff[4] | (tiff[5] << 8) | (tiff[6] << 16) | (uint32_t(tiff[7]) << 24);
  const int entries = tiff[ifd] | (tiff[ifd + 1] << 8);
  for (int e = 0; e < entries; ++e) {
    uint8_t* entry = &tiff[ifd + 2 + 12 * e];
    const int tag = entry[0] | (entry[1] << 8);
    if (tag == 256 || tag == 257) {
      // Whatever the type (SHORT or LONG), the low 16 bits come first.
      entry[8] = 0x60;
      entry[9] = 0xEA;
    }
  }
  pixio_test::ResetLargestAllocation();
  refusedCheaply(pixio::DecodeTiff(tiff.data(), tiff.size(), &out), "TIFF");
}

TEST(MalformedInput, EmptyAndUnknownDataIsRefused) {
  Image out;
  EXPECT_FALSE(pixio::DecodeAny(nullptr, 0, &out));
  const uint8_t text[] = "plain text, not a picture at all, long enough to be sniffed";
  EXPECT_FALSE(pixio::DecodeAny(text, sizeof text, &out));
  EXPECT_EQ(pixio::SniffFormat(text, sizeof text), FormatKind::kNone);
}

}  // namespace
