#include "win32_subset.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

TEST(GlobalMemory, HandlesAreNotAddressesAndLocksCount) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
  ASSERT_NE(h, nullptr);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_NE(static_cast<void*>(p), static_cast<void*>(h));
  EXPECT_EQ(p[99], 0);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 1u);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(h));    // still locked once
  EXPECT_FALSE(GlobalUnlock(h));   // now unlocked
  EXPECT_FALSE(GlobalUnlock(h));   // unlocking an unlocked block changes nothing
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
  EXPECT_EQ(GlobalSize(h), 100u);
  EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, FreedAndForeignHandlesAreRefused) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE);
  EXPECT_EQ(GlobalFree(h), h);  // a second free reports the bad handle
  int local = 0;
  EXPECT_EQ(GlobalLock(reinterpret_cast<HGLOBAL>(&local)), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, ReAllocKeepsContentAndZeroesTheGrowth) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  std::memcpy(p, "abcd", 4);
  GlobalUnlock(h);
  ASSERT_EQ(GlobalReAlloc(h, 8, GMEM_MOVEABLE | GMEM_ZEROINIT), h);
  p = static_cast<unsigned char*>(GlobalLock(h));
  EXPECT_EQ(std::memcmp(p, "abcd\0\0\0\0", 8), 0);
  GlobalUnlock(h);
  GlobalFree(h);
}

TEST(GlobalMemory, FailureInjectionAndAbsurdSizes) {
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, (size_t(1) << 30) + 1), nullptr);
  const long live = VmdSubsetLiveBlocks();
  VmdSubsetFailAllocationsAfter(1);
  HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, 4);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 4), nullptr);
  VmdSubsetFailAllocationsAfter(-1);
  HGLOBAL later = GlobalAlloc(GMEM_MOVEABLE, 4);
  EXPECT_NE(later, nullptr);
  EXPECT_EQ(VmdSubsetLiveBlocks(), live + 2);
  GlobalFree(first);
  GlobalFree(later);
  EXPECT_EQ(VmdSubsetLiveBlocks(), live);
}

TEST(Rectangles, IntersectAndUnionFollowWin32) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 8}, out;
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  EXPECT_TRUE(EqualRect(&out, std::array<RECT, 1>{RECT{5, 5, 10, 8}}.data()));
  RECT far{10, 0, 12, 10};  // touching on the exclusive right edge
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_TRUE(UnionRect(&out, &a, &b));
  RECT expectUnion{0, 0, 20, 10};
  EXPECT_TRUE(EqualRect(&out, &expectUnion));
  RECT empty{3, 3, 3, 9};
  EXPECT_TRUE(UnionRect(&out, &empty, &b));
  EXPECT_TRUE(EqualRect(&out, &b));
}

TEST(Rectangles, PointsOnTheExclusiveEdgesAreOutside) {
  RECT r{1, 2, 4, 6};
  EXPECT_TRUE(PtInRect(&r, POINT{1, 2}));
  EXPECT_TRUE(PtInRect(&r, POINT{3, 5}));
  EXPECT_FALSE(PtInRect(&r, POINT{4, 5}));
  EXPECT_FALSE(PtInRect(&r, POINT{3, 6}));
  OffsetRect(&r, 10, -2);
  RECT moved{11, 0, 14, 4};
  EXPECT_TRUE(EqualRect(&r, &moved));
  InflateRect(&r, 1, 2);
  RECT grown{10, -2, 15, 6};
  EXPECT_TRUE(EqualRect(&r, &grown));
}

TEST(DibDrawing, ReportsFailureWithoutADisplay) {
  BITMAPINFO info{};
  unsigned char bits[4] = {};
  EXPECT_EQ(SetDIBitsToDevice(nullptr, 0, 0, 1, 1, 0, 0, 0, 1, bits, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 2, 2, 0, 0, 1, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);
}

}  // namespace
