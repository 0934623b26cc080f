#include "image_ops.h"

#include <gtest/gtest.h>

#include "palette_dib.h"
#include "test_dib.h"

using namespace vmd;
using testing_support::BlockBytes;
using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::MakeGrayDib;
using testing_support::MakePaletteDib;
using testing_support::PixelAt;
using testing_support::TopPixelAt;

namespace {

int g_memoryMessages = 0;
void CountMemoryMessage() { ++g_memoryMessages; }

/// Counts memory messages instead of showing them, for one test.
class MemoryMessages {
 public:
  MemoryMessages() : previous_(SetMemoryMessageHandler(CountMemoryMessage)) { g_memoryMessages = 0; }
  ~MemoryMessages() { SetMemoryMessageHandler(previous_); }
  int Count() const { return g_memoryMessages; }

 private:
  MemoryMessageFn previous_;
};

uint32_t Gradient(int x, int y) { return (uint32_t(x) << 16) | (uint32_t(y) << 8) | uint32_t(x + y); }

HGLOBAL Solid24(int w, int h, uint32_t rgb) {
  return MakeDib24(w, h, [rgb](int, int) { return rgb; });
}

int Width(HGLOBAL dib) { return HeaderOf(dib).biWidth; }
int Height(HGLOBAL dib) { return HeaderOf(dib).biHeight; }

}  // namespace

TEST(DibQueries, SizeKindAndGrayOfEachDepth) {
  GlobalFreer rgb(Solid24(7, 5, 0x102030));
  GlobalFreer gray(MakeGrayDib(3, 2, [](int x, int) { return x; }));
  GlobalFreer pal8(MakePaletteDib(3, 2, 8, std::vector<uint32_t>(256, 0x112233), [](int, int) { return 0; }));
  GlobalFreer pal4(MakePaletteDib(3, 2, 4, std::vector<uint32_t>(16, 0), [](int, int) { return 1; }));
  GlobalFreer pal1(MakePaletteDib(3, 2, 1, {0, 0xFFFFFF}, [](int x, int) { return x & 1; }));
  int w = -1, h = -1;
  EXPECT_EQ(DibSize(rgb.handle, &w, &h), 1);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(h, 5);
  EXPECT_EQ(DibKind(rgb.handle), kDibRgb24);
  EXPECT_EQ(DibKind(gray.handle), kDibGray8);
  EXPECT_EQ(DibKind(pal8.handle), kDibPalette8);
  EXPECT_EQ(DibKind(pal4.handle), kDibPalette4);
  EXPECT_EQ(DibKind(pal1.handle), kDibPalette1);
  EXPECT_EQ(IsGrayDib(gray.handle), 1);
  EXPECT_EQ(IsGrayDib(pal8.handle), 0);
  EXPECT_EQ(IsGrayDib(rgb.handle), 0);
}

TEST(DibQueries, NullHandleLeavesOutputsAndShowsNoMessage) {
  MemoryMessages messages;
  int w = 11, h = 12;
  EXPECT_EQ(DibSize(nullptr, &w, &h), 0);
  EXPECT_EQ(w, 11);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(DibKind(nullptr), kDibOther);
  RECT r = {0, 0, 1, 1};
  EXPECT_EQ(ScaleDib(nullptr, 10, 10, true, true), nullptr);
  EXPECT_EQ(ResizeDib(nullptr, 10, 10), nullptr);
  EXPECT_EQ(CropDib(nullptr, r), nullptr);
  EXPECT_EQ(RotateDib(nullptr, 90, 0xFFFFFF, nullptr), nullptr);
  EXPECT_EQ(AdjustBrightnessContrast(nullptr, kAllChannels, 10, 10), nullptr);
  EXPECT_EQ(AdjustHueSaturation(nullptr, 10, 10), nullptr);
  EXPECT_EQ(WashOutside(nullptr, r), nullptr);
  EXPECT_EQ(SolidDib(nullptr, 2, 2, 0), nullptr);
  EXPECT_EQ(DuplicateDib(nullptr), nullptr);
  EXPECT_EQ(ConvertDibTo24(nullptr), nullptr);
  EXPECT_EQ(messages.Count(), 0);
}

TEST(ScaleDib, KeepsAspectInsideTheBox) {
  GlobalFreer wide(Solid24(400, 200, 0x808080));
  GlobalFreer tall(Solid24(200, 400, 0x808080));
  GlobalFreer a(ScaleDib(wide.handle, 100, 100, true, false));
  EXPECT_EQ(Width(a.handle), 100);
  EXPECT_EQ(Height(a.handle), 50);
  GlobalFreer b(ScaleDib(tall.handle, 100, 100, true, false));
  EXPECT_EQ(Width(b.handle), 50);
  EXPECT_EQ(Height(b.handle), 100);
  GlobalFreer c(ScaleDib(wide.handle, 100, 100, false, false));
  EXPECT_EQ(Height(c.handle), 100);
}

TEST(ScaleDib, RoundingDecidesTheShorterSide) {
  // 300 x 200 into width 100: 66.67 rows, 66 truncated and 67 rounded.
  GlobalFreer src(Solid24(300, 200, 0));
  GlobalFreer truncated(ScaleDib(src.handle, 100, 100, true, false));
  GlobalFreer rounded(ScaleDib(src.handle, 100, 100, true, true));
  EXPECT_EQ(Height(truncated.handle), 66);
  EXPECT_EQ(Height(rounded.handle), 67);
}

TEST(ScaleDib, SamplesNearestNeighbourInStorageOrder) {
  GlobalFreer src(MakeDib24(4, 4, Gradient));
  GlobalFreer half(ScaleDib(src.handle, 2, 2, false, false));
  EXPECT_EQ(PixelAt(half.handle, 0, 0), Gradient(0, 0));
  EXPECT_EQ(PixelAt(half.handle, 1, 0), Gradient(2, 0));
  EXPECT_EQ(PixelAt(half.handle, 1, 1), Gradient(2, 2));
}

TEST(ScaleDib, GrayStaysGrayOtherPalettesBecome24Bits) {
  GlobalFreer gray(MakeGrayDib(4, 4, [](int x, int) { return x * 60; }));
  GlobalFreer grayOut(ScaleDib(gray.handle, 2, 2, false, false));
  EXPECT_EQ(DibKind(grayOut.handle), kDibGray8);
  EXPECT_EQ(testing_support::IndexAt(grayOut.handle, 1, 0), 120);

  GlobalFreer four(MakePaletteDib(4, 2, 4, {0x000000, 0xFF0000, 0x00FF00}, [](int x, int) { return x % 3; }));
  GlobalFreer fourOut(ScaleDib(four.handle, 4, 2, false, false));
  EXPECT_EQ(DibKind(fourOut.handle), kDibRgb24);
  EXPECT_EQ(PixelAt(fourOut.handle, 1, 0), 0xFF0000u);
  EXPECT_EQ(PixelAt(fourOut.handle, 2, 1), 0x00FF00u);

  GlobalFreer one(MakePaletteDib(9, 1, 1, {0x000000, 0xFFFFFF}, [](int x, int) { return x == 8; }));
  GlobalFreer oneOut(ScaleDib(one.handle, 9, 1, false, false));
  EXPECT_EQ(PixelAt(oneOut.handle, 7, 0), 0u);
  EXPECT_EQ(PixelAt(oneOut.handle, 8, 0), 0xFFFFFFu);
}

TEST(ResizeDib, BilinearInEighthsUsesTheLastColumnAtTheEdge) {
  // Source columns 0 and 80 stretched to 4: u = 0, 0.5, 1, 1.5.
  GlobalFreer src(MakeDib24(2, 1, [](int x, int) { return x ? 0x505050u : 0u; }));
  GlobalFreer out(ResizeDib(src.handle, 4, 1));
  EXPECT_EQ(PixelAt(out.handle, 0, 0), 0x000000u);
  EXPECT_EQ(PixelAt(out.handle, 1, 0), 0x282828u);
  EXPECT_EQ(PixelAt(out.handle, 2, 0), 0x505050u);
  EXPECT_EQ(PixelAt(out.handle, 3, 0), 0x505050u);
}

TEST(ResizeDib, KeepsDepthAndRefusesEmptySizes) {
  GlobalFreer four(MakePaletteDib(4, 4, 4, {0x000000, 0xFF0000}, [](int x, int) { return x >= 2; }));
  GlobalFreer out(ResizeDib(four.handle, 2, 2));
  EXPECT_EQ(DibKind(out.handle), kDibPalette4);
  EXPECT_EQ(testing_support::IndexAt(out.handle, 0, 0), 0);
  EXPECT_EQ(testing_support::IndexAt(out.handle, 1, 0), 1);
  EXPECT_EQ(ResizeDib(four.handle, 0, 5), nullptr);
  EXPECT_EQ(ResizeDib(four.handle, 5, 0), nullptr);
  GlobalFreer gray(MakeGrayDib(3, 3, [](int, int) { return 77; }));
  GlobalFreer grayOut(ResizeDib(gray.handle, 7, 5));
  EXPECT_EQ(DibKind(grayOut.handle), kDibGray8);
  EXPECT_EQ(testing_support::IndexAt(grayOut.handle, 6, 4), 77);
}

TEST(CropDib, TopDownRectangleClampedToTheImage) {
  GlobalFreer src(MakeDib24(10, 8, Gradient));
  // Top-down rows 0..2 are stored rows 7..5.
  RECT top = {2, 0, 5, 3};
  GlobalFreer a(CropDib(src.handle, top));
  EXPECT_EQ(Width(a.handle), 3);
  EXPECT_EQ(Height(a.handle), 3);
  EXPECT_EQ(TopPixelAt(a.handle, 0, 0), TopPixelAt(src.handle, 2, 0));
  EXPECT_EQ(TopPixelAt(a.handle, 2, 2), TopPixelAt(src.handle, 4, 2));
  RECT beyond = {-5, -5, 50, 50};
  GlobalFreer b(CropDib(src.handle, beyond));
  EXPECT_EQ(BlockBytes(b.handle).size() >= 40 + 32u * 8, true);
  EXPECT_EQ(Width(b.handle), 10);
  EXPECT_EQ(Height(b.handle), 8);
  RECT outside = {20, 20, 30, 30};
  EXPECT_EQ(CropDib(src.handle, outside), nullptr);
}

TEST(CropDib, PaletteDepthsKeepTheirTable) {
  GlobalFreer one(MakePaletteDib(20, 2, 1, {0x000000, 0xFFFFFF}, [](int x, int) { return x >= 10; }));
  RECT r = {9, 0, 12, 2};
  GlobalFreer out(CropDib(one.handle, r));
  EXPECT_EQ(DibKind(out.handle), kDibPalette1);
  EXPECT_EQ(testing_support::IndexAt(out.handle, 0, 0), 0);
  EXPECT_EQ(testing_support::IndexAt(out.handle, 1, 0), 1);
  EXPECT_EQ(testing_support::PaletteEntry(out.handle, 1), 0xFFFFFFu);
}

TEST(RotateDib, QuarterTurnsMovePixelsExactly) {
  GlobalFreer src(MakeDib24(300, 200, Gradient));
  RECT out = {};
  GlobalFreer r90(RotateDib(src.handle, 90, 0xFFFFFF, &out));
  EXPECT_EQ(Width(r90.handle), 200);
  EXPECT_EQ(Height(r90.handle), 300);
  EXPECT_EQ(out.right, 200);
  EXPECT_EQ(out.bottom, 300);
  // Clockwise: the top-left corner goes to the top-right.
  EXPECT_EQ(TopPixelAt(r90.handle, 199, 0), TopPixelAt(src.handle, 0, 0));
  EXPECT_EQ(TopPixelAt(r90.handle, 0, 299), TopPixelAt(src.handle, 299, 199));
  GlobalFreer back(RotateDib(r90.handle, 270, 0xFFFFFF, nullptr));
  for (int y = 0; y < 200; y += 37)
    for (int x = 0; x < 300; x += 41) ASSERT_EQ(PixelAt(back.handle, x, y), PixelAt(src.handle, x, y));
  GlobalFreer half(RotateDib(src.handle, -180, 0, nullptr));
  EXPECT_EQ(TopPixelAt(half.handle, 0, 0), TopPixelAt(src.handle, 299, 199));
  GlobalFreer full(RotateDib(src.handle, 720, 0, nullptr));
  EXPECT_EQ(PixelAt(full.handle, 17, 23), PixelAt(src.handle, 17, 23));
}

TEST(RotateDib, SmallAngleEnlargesAndFillsTheCorners) {
  GlobalFreer src(Solid24(300, 200, 0x204060));
  GlobalFreer out(RotateDib(src.handle, 2, 0xFFFFFF, nullptr));
  EXPECT_EQ(Width(out.handle), 307);
  EXPECT_EQ(Height(out.handle), 210);
  EXPECT_EQ(TopPixelAt(out.handle, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(TopPixelAt(out.handle, 306, 209), 0xFFFFFFu);
  EXPECT_EQ(TopPixelAt(out.handle, 153, 105), 0x204060u);
}

TEST(RotateDib, PaletteImagesKeepTheirDepth) {
  GlobalFreer four(MakePaletteDib(6, 4, 4, {0x000000, 0xFFFFFF, 0x808080}, [](int, int) { return 2; }));
  GlobalFreer quarter(RotateDib(four.handle, 270, 0xFFFFFF, nullptr));
  EXPECT_EQ(DibKind(quarter.handle), kDibPalette4);
  EXPECT_EQ(Width(quarter.handle), 4);
  GlobalFreer tilted(RotateDib(four.handle, 10, 0xFFFFFF, nullptr));
  EXPECT_EQ(DibKind(tilted.handle), kDibPalette4);
  EXPECT_EQ(testing_support::IndexAt(tilted.handle, 0, 0), 1);  // the white entry fills
}

TEST(AdjustBrightnessContrast, NoChangeIsAnIdenticalCopy) {
  GlobalFreer src(MakeDib24(13, 7, Gradient));
  GlobalFreer out(AdjustBrightnessContrast(src.handle, kAllChannels, 0, 0));
  ASSERT_NE(out.handle, src.handle);
  EXPECT_EQ(BlockBytes(out.handle), BlockBytes(src.handle));
}

TEST(AdjustBrightnessContrast, FullBrightnessSaturatesFrom127) {
  GlobalFreer src(MakeDib24(256, 1, [](int x, int) { return uint32_t(x) * 0x010101u; }));
  GlobalFreer out(AdjustBrightnessContrast(src.handle, kAllChannels, 128, 0));
  EXPECT_EQ(PixelAt(out.handle, 127, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(out.handle, 255, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(out.handle, 126, 0), 0xFEFEFEu);
  EXPECT_EQ(PixelAt(out.handle, 0, 0), 0x808080u);
}

TEST(AdjustBrightnessContrast, ContrastAndSingleChannels) {
  GlobalFreer src(MakeDib24(256, 1, [](int x, int) { return uint32_t(x) * 0x010101u; }));
  // Full contrast: below 128 black, from 128 white.
  GlobalFreer hard(AdjustBrightnessContrast(src.handle, kAllChannels, 0, 128));
  EXPECT_EQ(PixelAt(hard.handle, 127, 0), 0u);
  EXPECT_EQ(PixelAt(hard.handle, 128, 0), 0xFFFFFFu);
  // Contrast 64: values up to 64 black, from 191 white, the middle stretched.
  GlobalFreer some(AdjustBrightnessContrast(src.handle, kAllChannels, 0, 64));
  EXPECT_EQ(PixelAt(some.handle, 63, 0), 0u);
  EXPECT_EQ(PixelAt(some.handle, 192, 0), 0xFFFFFFu);
  for (int x = 1; x < 256; ++x) ASSERT_GE(PixelAt(some.handle, x, 0), PixelAt(some.handle, x - 1, 0));
  GlobalFreer red(AdjustBrightnessContrast(src.handle, kRedChannel, 128, 0));
  EXPECT_EQ(PixelAt(red.handle, 10, 0), 0x8A0A0Au);
}

TEST(AdjustBrightnessContrast, PaletteImagesChangeTheirTableOthersRefused) {
  GlobalFreer four(MakePaletteDib(2, 2, 4, {0x000000, 0x7F7F7F}, [](int x, int) { return x; }));
  GlobalFreer out(AdjustBrightnessContrast(four.handle, kAllChannels, 128, 0));
  EXPECT_EQ(testing_support::PaletteEntry(out.handle, 1), 0xFFFFFFu);
  EXPECT_EQ(testing_support::IndexAt(out.handle, 1, 0), 1);
  GlobalFreer one(MakePaletteDib(2, 2, 1, {0, 0xFFFFFF}, [](int, int) { return 0; }));
  EXPECT_EQ(AdjustBrightnessContrast(one.handle, kAllChannels, 10, 0), nullptr);
}

TEST(AdjustHueSaturation, BothZeroGivesNothing) {
  GlobalFreer src(Solid24(2, 2, 0x123456));
  EXPECT_EQ(AdjustHueSaturation(src.handle, 0, 0), nullptr);
}

TEST(AdjustHueSaturation, HueTurnsPrimariesAndKeepsGray) {
  GlobalFreer src(MakeDib24(3, 1, [](int x, int) { return x == 0 ? 0xFF0000u : x == 1 ? 0x00FF00u : 0x808080u; }));
  GlobalFreer turned(AdjustHueSaturation(src.handle, 120, 0));
  EXPECT_EQ(PixelAt(turned.handle, 0, 0), 0x00FF00u);  // red to green
  EXPECT_EQ(PixelAt(turned.handle, 1, 0), 0x0000FFu);  // green to blue
  EXPECT_EQ(PixelAt(turned.handle, 2, 0), 0x808080u);
  GlobalFreer back(AdjustHueSaturation(src.handle, -120, 0));
  EXPECT_EQ(PixelAt(back.handle, 0, 0), 0x0000FFu);
  GlobalFreer round(AdjustHueSaturation(src.handle, 360, 0));
  EXPECT_EQ(PixelAt(round.handle, 0, 0), 0xFF0000u);
}

TEST(AdjustHueSaturation, SaturationMovesChannelsTowardsTheBrightest) {
  GlobalFreer src(Solid24(1, 1, 0xC84010));  // 200, 64, 16
  GlobalFreer half(AdjustHueSaturation(src.handle, 0, 50));
  EXPECT_EQ(PixelAt(half.handle, 0, 0), 0xC8846Cu);  // 200, 132, 108
  GlobalFreer all(AdjustHueSaturation(src.handle, 0, 100));
  EXPECT_EQ(PixelAt(all.handle, 0, 0), 0xC8C8C8u);
  GlobalFreer away(AdjustHueSaturation(src.handle, 0, -100));
  EXPECT_EQ(PixelAt(away.handle, 0, 0), 0xC80000u);  // clamped at 0
}

#if !defined(_WIN32)
TEST(AdjustHueSaturation, EscapeStopsBeforeTheNextRowWhenCancellingIsOn) {
  GlobalFreer src(Solid24(4, 4, 0xFF0000));
  VmdSubsetSetKeyDown(VK_ESCAPE, 1);
  GlobalFreer ignored(AdjustHueSaturation(src.handle, 120, 0));
  SetEscapeCancels(true);
  GlobalFreer stopped(AdjustHueSaturation(src.handle, 120, 0));
  SetEscapeCancels(false);
  VmdSubsetSetKeyDown(VK_ESCAPE, 0);
  EXPECT_EQ(PixelAt(ignored.handle, 0, 0), 0x00FF00u);
  EXPECT_EQ(PixelAt(stopped.handle, 0, 0), 0xFF0000u);
}
#endif

TEST(WashOutside, ThreeQuartersToWhiteOutsideTheBox) {
  GlobalFreer src(Solid24(30, 30, 0x000000));
  RECT box = {10, 10, 20, 20};
  GlobalFreer out(WashOutside(src.handle, box));
  EXPECT_EQ(TopPixelAt(out.handle, 0, 0), 0xBFBFBFu);  // 191
  EXPECT_EQ(TopPixelAt(out.handle, 15, 15), 0u);
  // Columns 10 .. 19 and top-down rows 9 .. 18 (y + 1 within 10 .. 19) stay.
  struct Case { int x, y; bool inside; };
  for (Case c : {Case{9, 15, false}, Case{10, 15, true}, Case{19, 15, true}, Case{20, 15, false},
                 Case{15, 8, false}, Case{15, 9, true}, Case{15, 18, true}, Case{15, 19, false}}) {
    EXPECT_EQ(TopPixelAt(out.handle, c.x, c.y), c.inside ? 0u : 0xBFBFBFu) << c.x << "," << c.y;
  }
  GlobalFreer gray(MakeGrayDib(4, 4, [](int, int) { return 0; }));
  EXPECT_EQ(WashOutside(gray.handle, box), nullptr);
}

TEST(SolidDib, FillsWithAColorrefOfTheSourcesHeader) {
  GlobalFreer src(Solid24(3, 3, 0));
  GlobalFreer out(SolidDib(src.handle, 5, 4, 0x00332211));  // blue 33, green 22, red 11
  EXPECT_EQ(Width(out.handle), 5);
  EXPECT_EQ(Height(out.handle), 4);
  EXPECT_EQ(PixelAt(out.handle, 4, 3), 0x112233u);
  GlobalFreer gray(MakeGrayDib(3, 3, [](int, int) { return 0; }));
  EXPECT_EQ(SolidDib(gray.handle, 5, 4, 0), nullptr);
}

TEST(CopyBlockPart, WholeAndPartialCopiesWithinTheSource) {
  GlobalFreer src(MakeDib24(5, 3, Gradient));
  GlobalFreer whole(DuplicateDib(src.handle));
  EXPECT_EQ(BlockBytes(whole.handle), BlockBytes(src.handle));
  std::vector<uint8_t> bytes = BlockBytes(src.handle);
  GlobalFreer tail(CopyBlockPart(nullptr, src.handle, 40, 0));
  EXPECT_EQ(GlobalSize(tail.handle), bytes.size() - 40);
  EXPECT_EQ(BlockBytes(tail.handle)[0], bytes[40]);
  GlobalFreer target(GlobalAlloc(GHND, 8));
  EXPECT_EQ(CopyBlockPart(target.handle, src.handle, 2, 8), target.handle);
  EXPECT_EQ(BlockBytes(target.handle)[0], bytes[2]);
  EXPECT_EQ(CopyBlockPart(target.handle, src.handle, 0, 9), nullptr);  // target too small
  EXPECT_EQ(CopyBlockPart(nullptr, src.handle, bytes.size(), 1), nullptr);
}

TEST(AllocImageBlock, ZeroFilledWithTenSpareBytes) {
  GlobalFreer block(AllocImageBlock(100));
  EXPECT_EQ(GlobalSize(block.handle), 110u);
  std::vector<uint8_t> bytes = BlockBytes(block.handle);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), 110);
}

#if !defined(_WIN32)
TEST(AllocImageBlock, FailureShowsTheMemoryMessageOncePerBlock) {
  MemoryMessages messages;
  GlobalFreer src(Solid24(40, 40, 0x123456));
  long before = VmdSubsetLiveBlocks();
  VmdSubsetFailAllocationsAfter(0);
  HGLOBAL scaled = ScaleDib(src.handle, 10, 10, true, true);
  HGLOBAL rotated = RotateDib(src.handle, 2, 0xFFFFFF, nullptr);
  HGLOBAL block = AllocImageBlock(10);
  VmdSubsetFailAllocationsAfter(-1);
  EXPECT_EQ(scaled, nullptr);
  EXPECT_EQ(rotated, nullptr);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(messages.Count(), 3);
  EXPECT_EQ(VmdSubsetLiveBlocks(), before);
}
#endif

TEST(ConvertDibTo24, ExpandsThroughTheColourTable) {
  GlobalFreer four(MakePaletteDib(3, 2, 4, {0x000000, 0x112233, 0xFFEEDD}, [](int x, int) { return x; }));
  GlobalFreer out(ConvertDibTo24(four.handle));
  EXPECT_EQ(DibKind(out.handle), kDibRgb24);
  EXPECT_EQ(PixelAt(out.handle, 1, 1), 0x112233u);
  EXPECT_EQ(PixelAt(out.handle, 2, 0), 0xFFEEDDu);
  GlobalFreer gray(MakeGrayDib(2, 2, [](int, int) { return 9; }));
  GlobalFreer grayOut(ConvertDibTo24(gray.handle));
  EXPECT_EQ(PixelAt(grayOut.handle, 0, 0), 0x090909u);
}

TEST(FittedRect, CentresOnlyWhenTheDifferenceIsTwoOrMore) {
  RECT area = {10, 20, 110, 120};  // 100 x 100
  RECT wide = FittedRect(400, 200, area);
  EXPECT_EQ(wide.left, 10);
  EXPECT_EQ(wide.top, 45);
  EXPECT_EQ(wide.bottom, 95);
  RECT almost = FittedRect(100, 99, area);  // one pixel short: not moved
  EXPECT_EQ(almost.top, 20);
  EXPECT_EQ(almost.bottom, 119);
  RECT twoShort = FittedRect(100, 98, area);
  EXPECT_EQ(twoShort.top, 21);
}

TEST(RectHelpers, RightAndBottomExclusive) {
  RECT r = {0, 0, 10, 5};
  EXPECT_TRUE(PointInRect(POINT{0, 0}, r));
  EXPECT_TRUE(PointInRect(POINT{9, 4}, r));
  EXPECT_FALSE(PointInRect(POINT{10, 4}, r));
  EXPECT_FALSE(PointInRect(POINT{9, 5}, r));
  EXPECT_TRUE(RectInside(r, RECT{0, 0, 10, 5}));
  EXPECT_TRUE(RectInside(r, RECT{2, 1, 8, 4}));
  EXPECT_FALSE(RectInside(r, RECT{2, 1, 11, 4}));
  EXPECT_FALSE(RectInside(r, RECT{-1, 1, 8, 4}));
}

#if defined(_WIN32)
TEST(DrawDib, DrawsUnscaledAndFittedIntoAMemoryBitmap) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 100;
  info.bmiHeader.biHeight = -100;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  auto at = [&](int x, int y) { return static_cast<uint32_t*>(bits)[y * 100 + x] & 0xFFFFFF; };

  GlobalFreer red(Solid24(10, 10, 0xFF0000));
  EXPECT_EQ(DrawDib(dc, red.handle, 5, 5), 1);
  GdiFlush();
  EXPECT_EQ(at(5, 5), 0xFF0000u);
  EXPECT_EQ(at(14, 14), 0xFF0000u);
  EXPECT_EQ(at(15, 15), 0u);

  GlobalFreer blue(Solid24(40, 20, 0x0000FF));
  RECT area = {0, 40, 100, 100};  // 100 x 60: fitted 100 x 50 at top 45
  RECT drawn = {};
  EXPECT_EQ(DrawDibFitted(dc, blue.handle, area, &drawn), 1);
  GdiFlush();
  EXPECT_EQ(drawn.top, 45);
  EXPECT_EQ(drawn.bottom, 95);
  EXPECT_EQ(at(50, 46), 0x0000FFu);
  EXPECT_EQ(at(99, 94), 0x0000FFu);
  EXPECT_EQ(at(50, 97), 0u);
  EXPECT_EQ(DrawDib(dc, nullptr, 0, 0), 0);

  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}
#endif
