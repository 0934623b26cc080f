#include "dib_crop.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::PixelAt;

TEST(CropDibFromTop, CountsRowsFromTheTopOfThePicture) {
  // Stored row y is picture row (9 - y) from the top.
  const int w = 7, h = 10;
  GlobalFreer image(MakeDib24(w, h, [](int x, int y) { return uint32_t(x << 8 | (h - 1 - y)); }));
  GlobalFreer crop(CropDibFromTop(image.handle, RECT{2, 1, 5, 4}));
  ASSERT_NE(crop.handle, nullptr);
  EXPECT_EQ(HeaderOf(crop.handle).biWidth, 3);
  EXPECT_EQ(HeaderOf(crop.handle).biHeight, 3);
  EXPECT_EQ(HeaderOf(crop.handle).biSizeImage, 3u * 12u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      // Crop stored row y is picture row (1 + 2 - y) from the top.
      EXPECT_EQ(PixelAt(crop.handle, x, y), uint32_t((2 + x) << 8 | (3 - y))) << x << "," << y;
  GlobalFreer whole(CropDibFromTop(image.handle, RECT{0, 0, w, h}));
  ASSERT_NE(whole.handle, nullptr);
  EXPECT_EQ(PixelAt(whole.handle, 6, 0), PixelAt(image.handle, 6, 0));
}

TEST(CropDibFromTop, RefusesRectanglesOutsideTheImage) {
  GlobalFreer image(MakeDib24(8, 8, [](int, int) { return 0u; }));
  for (RECT r : {RECT{-1, 0, 4, 4}, RECT{0, 0, 9, 4}, RECT{0, 5, 4, 9}, RECT{3, 3, 3, 5}}) {
    EXPECT_EQ(CropDibFromTop(image.handle, r), nullptr);
  }
}

TEST(CropDibFromTop, KeepsTheColourTableOfAnEightBitImage) {
  const int w = 6, h = 4, stride = 8;
  GlobalFreer image(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 256 * 4 + stride * h));
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(image.handle));
  header->biSize = 40;
  header->biWidth = w;
  header->biHeight = h;
  header->biPlanes = 1;
  header->biBitCount = 8;
  auto* palette = reinterpret_cast<RGBQUAD*>(header + 1);
  palette[9] = RGBQUAD{1, 2, 3, 0};
  auto* bits = reinterpret_cast<uint8_t*>(palette + 256);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[y * stride + x] = uint8_t(10 * y + x);
  GlobalUnlock(image.handle);

  GlobalFreer crop(CropDibFromTop(image.handle, RECT{1, 0, 3, 2}));
  ASSERT_NE(crop.handle, nullptr);
  const auto* out = static_cast<const BITMAPINFOHEADER*>(GlobalLock(crop.handle));
  EXPECT_EQ(out->biBitCount, 8);
  const auto* table = reinterpret_cast<const RGBQUAD*>(out + 1);
  EXPECT_EQ(table[9].rgbRed, 3);
  const auto* rows = reinterpret_cast<const uint8_t*>(table + 256);
  // The top two picture rows are stored rows 3 and 2.
  EXPECT_EQ(rows[0], 21);
  EXPECT_EQ(rows[1], 22);
  EXPECT_EQ(rows[4], 31);
  GlobalUnlock(crop.handle);
}

}  // namespace
}  // namespace vmd
