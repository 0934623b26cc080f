#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_dib.h"
#include "pyramid.h"
#include "seamcore.h"
#include "test_dib.h"

namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::PixelAt;

uint32_t Texture(int x, int y) {
  return static_cast<uint32_t>(((x * 7 + y * 3) & 0xFF) | (((x ^ y) & 0xFF) << 8) |
                               (((x * y) & 0xFF) << 16));
}

struct LevelCase {
  int width, height;
  std::vector<int> shorterSides;  // per level
};

void PrintTo(const LevelCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class BuildPyramidLevels : public ::testing::TestWithParam<LevelCase> {};

std::string LevelCaseName(const ::testing::TestParamInfo<LevelCase>& info) {
  return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

TEST_P(BuildPyramidLevels, StopsOnceTheShorterSideDropsBelow64OrAtTen) {
  const LevelCase& c = GetParam();
  HGLOBAL photo = MakeDib24(c.width, c.height, [](int, int) { return 0x808080u; });
  GlobalFreer freer(photo);
  StitchPyramid p;
  std::memset(static_cast<void*>(&p), 0xCD, sizeof p);
  ASSERT_EQ(BuildPyramid(photo, &p), kStitchOk);
  EXPECT_EQ(p.width, c.width);
  EXPECT_EQ(p.height, c.height);
  ASSERT_EQ(p.levels, static_cast<LONG>(c.shorterSides.size()));
  EXPECT_EQ(p.image[0], photo);
  int w = c.width, h = c.height;
  for (int k = 1; k < p.levels; ++k) {
    w /= 2;
    h /= 2;
    const BITMAPINFOHEADER hdr = HeaderOf(p.image[k]);
    EXPECT_EQ(hdr.biWidth, w) << "level " << k;
    EXPECT_EQ(hdr.biHeight, h) << "level " << k;
    EXPECT_EQ(std::min(hdr.biWidth, hdr.biHeight), c.shorterSides[k]);
    EXPECT_EQ(hdr.biBitCount, 24);
    EXPECT_EQ(hdr.biSizeImage, static_cast<DWORD>(h * testing_support::Stride(w, 24)));
    EXPECT_EQ(hdr.biClrUsed, 0u);
    EXPECT_EQ(GlobalSize(p.image[k]), 40u + hdr.biSizeImage);
  }
  // Entries past the last level are not written.
  if (p.levels < kStitchMaxLevels) {
    HGLOBAL untouched;
    std::memset(static_cast<void*>(&untouched), 0xCD, sizeof untouched);
    EXPECT_EQ(p.image[p.levels], untouched);
  }
  EXPECT_EQ(ReleasePyramid(&p), kStitchOk);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BuildPyramidLevels,
    ::testing::Values(LevelCase{64, 64, {64, 32}}, LevelCase{63, 1000, {63}},
                      LevelCase{65, 65, {65, 32}}, LevelCase{32, 32, {32}},
                      LevelCase{1024, 768, {768, 384, 192, 96, 48}},
                      LevelCase{127, 200, {127, 63}}, LevelCase{128, 200, {128, 64, 32}}),
    LevelCaseName);

#if !defined(_WIN32)
// A photo of 16400 x 16400 (800 MB) is the smallest that reaches all ten
// levels; a 32-bit process under Wine cannot hold it, so it runs natively.
INSTANTIATE_TEST_SUITE_P(TenLevels, BuildPyramidLevels,
                         ::testing::Values(LevelCase{16400, 16400,
                                                     {16400, 8200, 4100, 2050, 1025, 512, 256,
                                                      128, 64, 32}}),
                         LevelCaseName);
#endif

TEST(BuildPyramid, ShorterSideBelow32FailsWritingOnlyTheSize) {
  HGLOBAL photo = MakeDib24(31, 1000, [](int, int) { return 0u; });
  GlobalFreer freer(photo);
  StitchPyramid p{};
  p.levels = 77;
  EXPECT_EQ(BuildPyramid(photo, &p), kStitchPhotoTooSmall);
  EXPECT_EQ(p.width, 31);
  EXPECT_EQ(p.height, 1000);
  EXPECT_EQ(p.levels, 77);
  EXPECT_EQ(p.image[0], nullptr);
}

TEST(BuildPyramid, UnlockableHandleFailsLeavingTheRecordUntouched) {
  HGLOBAL dead = MakeDib24(100, 100, [](int, int) { return 0u; });
  GlobalFree(dead);
  StitchPyramid p;
  std::memset(static_cast<void*>(&p), 0x5A, sizeof p);
  StitchPyramid before = p;
  EXPECT_EQ(BuildPyramid(dead, &p), kStitchImageUnusable);
  EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0);
}

// Every level is read as three bytes a pixel: a photo of any other depth
// would be read past its end.
TEST(BuildPyramid, RefusesEveryDepthButTwentyFourBits) {
  for (int bits : {1, 8}) {
    seam::EngineDib dib;
    ASSERT_TRUE(dib.Create(200, 150, bits));
    HGLOBAL photo = dib.Detach();
    GlobalFreer freer(photo);
    StitchPyramid p;
    std::memset(static_cast<void*>(&p), 0x5A, sizeof p);
    const StitchPyramid before = p;
    EXPECT_EQ(BuildPyramid(photo, &p), kStitchImageUnusable) << bits;
    EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << bits;
  }
}

TEST(BuildPyramid, OutOfMemoryKeepsTheLevelsBuiltSoFar) {
  HGLOBAL photo = MakeDib24(512, 512, Texture);
  GlobalFreer freer(photo);
  StitchPyramid p{};
  // Two reductions succeed, the third allocation fails.
  seam::FailEngineAllocationsAfter(2);
  const long result = BuildPyramid(photo, &p);
  seam::FailEngineAllocationsAfter(-1);
  EXPECT_EQ(result, kStitchOutOfMemory);
  ASSERT_EQ(p.levels, 3);
  EXPECT_EQ(HeaderOf(p.image[2]).biWidth, 128);
  EXPECT_EQ(ReleasePyramid(&p), kStitchOk);
}

TEST(BuildPyramid, AttachingRewritesTheCallersSizeImage) {
  HGLOBAL photo = MakeDib24(70, 70, [](int, int) { return 0u; }, 0, 0);
  GlobalFreer freer(photo);
  StitchPyramid p{};
  ASSERT_EQ(BuildPyramid(photo, &p), kStitchOk);
  EXPECT_EQ(HeaderOf(photo).biSizeImage, 70u * 212u);
  ReleasePyramid(&p);
}

TEST(BuildPyramid, EachLevelIsTheRoundedMeanOfFourSamples) {
  HGLOBAL photo = MakeDib24(131, 97, Texture, 0xFF);
  GlobalFreer freer(photo);
  StitchPyramid p{};
  ASSERT_EQ(BuildPyramid(photo, &p), kStitchOk);
  ASSERT_EQ(p.levels, 2);
  const BITMAPINFOHEADER hdr = HeaderOf(p.image[1]);
  ASSERT_EQ(hdr.biWidth, 65);
  ASSERT_EQ(hdr.biHeight, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 65; ++x) {
      const uint32_t got = PixelAt(p.image[1], x, y);
      for (int shift : {0, 8, 16}) {
        const int sum = static_cast<int>((Texture(2 * x, 2 * y) >> shift) & 0xFF) +
                        static_cast<int>((Texture(2 * x + 1, 2 * y) >> shift) & 0xFF) +
                        static_cast<int>((Texture(2 * x, 2 * y + 1) >> shift) & 0xFF) +
                        static_cast<int>((Texture(2 * x + 1, 2 * y + 1) >> shift) & 0xFF);
        ASSERT_EQ(static_cast<int>((got >> shift) & 0xFF), (sum + 2) / 4)
            << "x=" << x << " y=" << y;
      }
    }
  }
  ReleasePyramid(&p);
}

TEST(ReleasePyramid, OneLevelPyramidFreesNothing) {
  HGLOBAL photo = MakeDib24(40, 40, [](int, int) { return 0u; });
  GlobalFreer freer(photo);
  StitchPyramid p{};
  ASSERT_EQ(BuildPyramid(photo, &p), kStitchOk);
  ASSERT_EQ(p.levels, 1);
  EXPECT_EQ(ReleasePyramid(&p), kStitchOk);
  EXPECT_EQ(GlobalSize(photo), 40u + 40u * 120u);
}

#if !defined(_WIN32)
TEST(ReleasePyramid, FreesEveryReducedLevelButNotThePhoto) {
  HGLOBAL photo = MakeDib24(300, 260, Texture);
  GlobalFreer freer(photo);
  const long before = VmdSubsetLiveBlocks();
  StitchPyramid p{};
  ASSERT_EQ(BuildPyramid(photo, &p), kStitchOk);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before + p.levels - 1);
  ReleasePyramid(&p);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before);
}
#endif

struct RoundingCase {
  int a, b, c, d, expected;
};

void PrintTo(const RoundingCase& c, std::ostream* os) {
  *os << c.a << "," << c.b << "," << c.c << "," << c.d;
}

class ReduceRounding : public ::testing::TestWithParam<RoundingCase> {};

std::string RoundingName(const ::testing::TestParamInfo<RoundingCase>& info) {
  const RoundingCase& c = info.param;
  return std::to_string(c.a) + "_" + std::to_string(c.b) + "_" + std::to_string(c.c) + "_" +
         std::to_string(c.d);
}

TEST_P(ReduceRounding, HalvesRoundUpward) {
  const RoundingCase rc = GetParam();
  // Pixels (0,0) (1,0) on the first stored row, (0,1) (1,1) on the second.
  HGLOBAL photo = MakeDib24(2, 2, [&](int x, int y) {
    const int v = y == 0 ? (x == 0 ? rc.a : rc.b) : (x == 0 ? rc.c : rc.d);
    return static_cast<uint32_t>(v | (v << 8) | (v << 16));
  });
  GlobalFreer freer(photo);
  seam::EngineDib src, out;
  ASSERT_EQ(src.Attach(photo), 1);
  seam::DibLock lock(src);
  ASSERT_EQ(seam::ReduceImage(src.View(), 2, out), 1);
  seam::DibLock outLock(out);
  EXPECT_EQ(out.Bits()[0], rc.expected);
  EXPECT_EQ(out.Bits()[1], rc.expected);
  EXPECT_EQ(out.Bits()[2], rc.expected);
}

INSTANTIATE_TEST_SUITE_P(Samples, ReduceRounding,
                         ::testing::Values(RoundingCase{0, 0, 1, 1, 1}, RoundingCase{0, 0, 0, 1, 0},
                                           RoundingCase{1, 1, 1, 2, 1}, RoundingCase{1, 1, 2, 2, 2},
                                           RoundingCase{255, 255, 255, 255, 255},
                                           RoundingCase{0, 255, 255, 255, 191}),
                         RoundingName);

TEST(ReduceImage, FourAndThreeFoldBoxesDropPartialBlocks) {
  HGLOBAL photo = MakeDib24(10, 9, Texture);
  GlobalFreer freer(photo);
  seam::EngineDib src;
  ASSERT_EQ(src.Attach(photo), 1);
  seam::DibLock lock(src);
  for (int n : {3, 4}) {
    seam::EngineDib out;
    ASSERT_EQ(seam::ReduceImage(src.View(), n, out), 1);
    seam::DibLock outLock(out);
    EXPECT_EQ(out.Width(), 10 / n);
    EXPECT_EQ(out.Height(), 9 / n);
    for (int y = 0; y < 9 / n; ++y)
      for (int x = 0; x < 10 / n; ++x) {
        int sum = 0;
        for (int dy = 0; dy < n; ++dy)
          for (int dx = 0; dx < n; ++dx) sum += Texture(x * n + dx, y * n + dy) & 0xFF;
        EXPECT_EQ(out.Bits()[y * out.Stride() + 3 * x], (sum + n * n / 2) / (n * n));
      }
  }
}

}  // namespace
