// Pictures of memory transfers: strips of top-down rows in RGB, grey or
// black-and-white put together as a bottom-up 24-bit DIB; strips that do not
// fit are refused without touching memory outside the picture.
#include "memory_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_dib.h"

namespace vmd::test {
namespace {

using testing_support::HeaderOf;
using testing_support::PixelAt;

TW_IMAGEINFO Info(int width, int height, TW_INT16 type, TW_INT16 bits) {
  TW_IMAGEINFO info = {};
  info.ImageWidth = width;
  info.ImageLength = height;
  info.PixelType = type;
  info.BitsPerPixel = bits;
  return info;
}

TW_IMAGEMEMXFER Strip(TW_UINT32 bytesPerRow, TW_UINT32 columns, TW_UINT32 rows, TW_UINT32 x, TW_UINT32 y) {
  TW_IMAGEMEMXFER strip = {};
  strip.BytesPerRow = bytesPerRow;
  strip.Columns = columns;
  strip.Rows = rows;
  strip.XOffset = x;
  strip.YOffset = y;
  return strip;
}

TEST(MemoryImage, RgbStripsBecomeABottomUpDib) {
  MemoryImage image;
  ASSERT_TRUE(image.Begin(Info(2, 3, TWPT_RGB, 24)));
  // Row 0 (top) red, green; row 1 blue, white; row 2 in a strip of its own.
  const std::vector<uint8_t> top = {255, 0, 0, 0, 255, 0, 9, 0, 0, 255, 255, 255, 255, 9};
  ASSERT_TRUE(image.AddStrip(Strip(7, 2, 2, 0, 0), top.data(), top.size()));
  const std::vector<uint8_t> last = {10, 20, 30, 40, 50, 60};
  ASSERT_TRUE(image.AddStrip(Strip(6, 2, 1, 0, 2), last.data(), last.size()));
  testing_support::GlobalFreer dib(image.Finish());
  ASSERT_NE(dib.handle, nullptr);
  EXPECT_EQ(HeaderOf(dib.handle).biBitCount, 24);
  EXPECT_EQ(HeaderOf(dib.handle).biHeight, 3);
  EXPECT_EQ(PixelAt(dib.handle, 0, 2), 0xFF0000u) << "the top row is stored last";
  EXPECT_EQ(PixelAt(dib.handle, 1, 2), 0x00FF00u);
  EXPECT_EQ(PixelAt(dib.handle, 0, 1), 0x0000FFu);
  EXPECT_EQ(PixelAt(dib.handle, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(dib.handle, 0, 0), 0x0A141Eu);
  EXPECT_EQ(PixelAt(dib.handle, 1, 0), 0x28323Cu);
}

TEST(MemoryImage, GreyAndBlackAndWhiteBecomeGreyLevels) {
  MemoryImage grey;
  ASSERT_TRUE(grey.Begin(Info(3, 1, TWPT_GRAY, 8)));
  const std::vector<uint8_t> levels = {0, 128, 255};
  ASSERT_TRUE(grey.AddStrip(Strip(3, 3, 1, 0, 0), levels.data(), levels.size()));
  testing_support::GlobalFreer g(grey.Finish());
  EXPECT_EQ(PixelAt(g.handle, 1, 0), 0x808080u);
  EXPECT_EQ(PixelAt(g.handle, 2, 0), 0xFFFFFFu);

  MemoryImage bw;
  ASSERT_TRUE(bw.Begin(Info(10, 1, TWPT_BW, 1)));
  const std::vector<uint8_t> bits = {0xA0, 0x40};  // 1010 0000 01...: white where 1
  ASSERT_TRUE(bw.AddStrip(Strip(2, 10, 1, 0, 0), bits.data(), bits.size()));
  testing_support::GlobalFreer b(bw.Finish());
  std::string seen;
  for (int x = 0; x < 10; ++x) seen += PixelAt(b.handle, x, 0) == 0xFFFFFFu ? '1' : '0';
  EXPECT_EQ(seen, "1010000001");
}

TEST(MemoryImage, TilesAtAnOffset) {
  MemoryImage image;
  ASSERT_TRUE(image.Begin(Info(4, 2, TWPT_GRAY, 8)));
  const std::vector<uint8_t> tile = {7, 8};
  ASSERT_TRUE(image.AddStrip(Strip(1, 1, 2, 3, 0), tile.data(), tile.size()));
  testing_support::GlobalFreer dib(image.Finish());
  EXPECT_EQ(PixelAt(dib.handle, 3, 1), 0x070707u);
  EXPECT_EQ(PixelAt(dib.handle, 3, 0), 0x080808u);
  EXPECT_EQ(PixelAt(dib.handle, 2, 0), 0u);
}

TEST(MemoryImage, RefusesWhatDoesNotFit) {
  const std::vector<uint8_t> data(64, 1);
  struct Case {
    const char* label;
    TW_IMAGEMEMXFER strip;
    size_t length;
  } cases[] = {
      {"below the picture", Strip(12, 4, 1, 0, 3), 64},
      {"rows past the bottom", Strip(12, 4, 2, 0, 2), 64},
      {"columns past the right", Strip(12, 3, 1, 2, 0), 64},
      {"offset past the right", Strip(12, 1, 1, 4, 0), 64},
      {"rows shorter than the columns", Strip(11, 4, 1, 0, 0), 64},
      {"data shorter than the rows", Strip(12, 4, 3, 0, 0), 35},
  };
  for (const Case& c : cases) {
    MemoryImage image;
    ASSERT_TRUE(image.Begin(Info(4, 3, TWPT_RGB, 24)));
    EXPECT_FALSE(image.AddStrip(c.strip, data.data(), c.length)) << c.label;
  }
  MemoryImage exact;
  ASSERT_TRUE(exact.Begin(Info(4, 3, TWPT_RGB, 24)));
  EXPECT_TRUE(exact.AddStrip(Strip(12, 4, 3, 0, 0), data.data(), 36)) << "the last row needs no padding";
  MemoryImage notStarted;
  EXPECT_FALSE(notStarted.AddStrip(Strip(12, 4, 1, 0, 0), data.data(), 64));
  EXPECT_EQ(notStarted.Finish(), nullptr);
}

TEST(MemoryImage, RefusesLayoutsAndSizesItCannotHold) {
  MemoryImage image;
  EXPECT_FALSE(image.Begin(Info(4, 3, TWPT_RGB, 48)));
  EXPECT_FALSE(image.Begin(Info(4, 3, TWPT_GRAY, 16)));
  EXPECT_FALSE(image.Begin(Info(4, 3, 5, 24))) << "CMYK";
  EXPECT_FALSE(image.Begin(Info(0, 3, TWPT_RGB, 24)));
  EXPECT_FALSE(image.Begin(Info(4, -1, TWPT_RGB, 24)));
  EXPECT_FALSE(image.Begin(Info(65536, 1, TWPT_GRAY, 8)));
  TW_IMAGEINFO compressed = Info(4, 3, TWPT_RGB, 24);
  compressed.Compression = 2;
  EXPECT_FALSE(image.Begin(compressed));
  EXPECT_TRUE(image.Begin(Info(65535, 1, TWPT_BW, 1)));
}

}  // namespace
}  // namespace vmd::test
