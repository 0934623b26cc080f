// Pictures past the 2^26 pixels the library once refused, through the exports
// as the program uses them: every type that can hold 8193 x 8192 writes it and
// reads it back. Slow (several seconds a type, about 200 MB a copy).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "pixio.h"
#include "test_dib.h"

namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::PixelAt;
using testing_support::ScratchPath;

constexpr int kWidth = 8193, kHeight = 8192;  // 67,117,056 pixels: just over 2^26
constexpr int kBlock = 512;

/// Eight well-separated colours in 512-pixel blocks, so lossy types and a
/// quantiser keep them closely at block centres; the pattern is not
/// symmetric, so a flip or a turn shows.
uint32_t Colour(int x, int y) {
  static const uint32_t kColours[8] = {0x000000, 0xFFFFFF, 0xE01010, 0x10E010,
                                       0x1010E0, 0xE0E010, 0x10E0E0, 0xE010E0};
  return kColours[(x / kBlock + 3 * (y / kBlock) + (x / kBlock) * (y / kBlock)) % 8];
}

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

bool Close(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

class BigPicture : public testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { dib_ = MakeDib24(kWidth, kHeight, Colour); }
  static void TearDownTestSuite() {
    GlobalFree(dib_);
    dib_ = nullptr;
  }
  static HGLOBAL dib_;
};
HGLOBAL BigPicture::dib_ = nullptr;

TEST_P(BigPicture, IsWrittenAndReadBackWhole) {
  ASSERT_NE(dib_, nullptr);
  const std::string ext = GetParam();
  const std::string path = ScratchPath("big." + ext);
  ASSERT_EQ(ImgSaveFileResult(dib_, path.c_str()), kPixioSaved) << ext;
  GlobalFreer back(ImgReadFile(nullptr, path.c_str()));
  std::remove(path.c_str());
  ASSERT_NE(back.handle, nullptr) << ext;
  const BITMAPINFOHEADER h = HeaderOf(back.handle);
  EXPECT_EQ(h.biWidth, kWidth);
  EXPECT_EQ(h.biHeight, kHeight);
  EXPECT_EQ(h.biBitCount, 24);
  // JPEG and FlashPix tiles are lossy; GIF's quantiser keeps 5 bits a channel.
  const bool lossy = ext == "jpg" || ext == "fpx" || ext == "gif";
  // Block centres, the far corner's block and the last pixel column and row.
  for (int by = 0; by < kHeight / kBlock; by += 3) {
    for (int bx = 0; bx <= kWidth / kBlock; bx += 3) {
      const int x = std::min(kWidth - 1, bx * kBlock + kBlock / 2);
      const int y = std::min(kHeight - 1, by * kBlock + kBlock / 2);
      EXPECT_TRUE(Close(PixelAt(back.handle, x, y), Colour(x, y), lossy ? 8 : 0))
          << ext << " at " << x << ", " << y;
    }
  }
  if (!lossy) {
    EXPECT_EQ(PixelAt(back.handle, kWidth - 1, kHeight - 1), Colour(kWidth - 1, kHeight - 1));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryType, BigPicture,
                         testing::Values("bmp", "tif", "pcx", "tga", "gif", "jpg", "fpx"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

}  // namespace
