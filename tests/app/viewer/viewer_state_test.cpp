#include "viewer_state.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_dib.h"

namespace vmd {
namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::PixelAt;

struct OpenViewer {
  GlobalFreer source;
  ViewerState state;
  OpenViewer(int w, int h)
      : source(MakeDib24(w, h, [](int x, int y) { return uint32_t((x * 7 + y) & 0xFF); })) {
    ok = OpenViewerState(source.handle, &state);
  }
  ~OpenViewer() { CloseViewerState(&state); }
  bool ok = false;
};

TEST(ViewerState, OpensLookingAtTheMiddleAtZoomOne) {
  OpenViewer v(3000, 700);
  ASSERT_TRUE(v.ok);
  EXPECT_EQ(v.state.width, 3000);
  EXPECT_EQ(v.state.height, 700);
  EXPECT_EQ(v.state.zoom, 1.0);
  EXPECT_EQ(v.state.pose.pan, 1500);
  EXPECT_EQ(v.state.pose.tilt, 0);
  EXPECT_EQ(v.state.pose.atTiltLimit, 1);
  EXPECT_EQ(v.state.zoomInState, kButtonEnabled);
  EXPECT_EQ(v.state.zoomOutState, kButtonDisabled);
  EXPECT_EQ(v.state.view, nullptr);
}

TEST(ViewerState, RefusesSourcesThatAreNot24Bits) {
  GlobalFreer none(GlobalAlloc(GMEM_MOVEABLE, 10));
  ViewerState state;
  EXPECT_FALSE(OpenViewerState(none.handle, &state));
  GlobalFreer dib(MakeDib24(100, 50, [](int, int) { return 0u; }));
  static_cast<BITMAPINFOHEADER*>(GlobalLock(dib.handle))->biBitCount = 32;
  GlobalUnlock(dib.handle);
  EXPECT_FALSE(OpenViewerState(dib.handle, &state));
}

TEST(ViewerState, TenZoomStepsReachTwoAndTwentyThree) {
  OpenViewer v(2000, 500);
  ASSERT_TRUE(v.ok);
  for (int i = 0; i < 10; ++i) ZoomIn(&v.state);
  EXPECT_NEAR(v.state.zoom, 2.0, 1e-9);
  EXPECT_EQ(v.state.zoomInState, kButtonEnabled);
  EXPECT_EQ(v.state.zoomOutState, kButtonEnabled);
  for (int i = 0; i < 10; ++i) ZoomIn(&v.state);
  EXPECT_EQ(v.state.zoom, 3.0);
  EXPECT_EQ(v.state.zoomInState, kButtonDisabled);
  ZoomIn(&v.state);
  EXPECT_EQ(v.state.zoom, 3.0);
  EXPECT_EQ(v.state.zoomInState, kButtonDisabled);
  EXPECT_EQ(TiltLimit(v.state.tables), 500 / 3);
  // And back: twenty steps out reach 1.0 and disable zoom out again.
  for (int i = 0; i < 20; ++i) ZoomOut(&v.state);
  EXPECT_EQ(v.state.zoom, 1.0);
  EXPECT_EQ(v.state.zoomOutState, kButtonDisabled);
  EXPECT_EQ(v.state.zoomInState, kButtonEnabled);
  EXPECT_EQ(TiltLimit(v.state.tables), 0);
}

TEST(ViewerState, DraggingLeftWrapsPanThroughZero) {
  OpenViewer v(1000, 300);
  ASSERT_TRUE(v.ok);
  v.state.stepX = DragStep(400, 100);  // a drag 300 pixels to the left
  v.state.stepY = DragStep(200, 260);  // and down, which zoom 1.0 ignores
  ASSERT_EQ(v.state.stepX, -150);
  int expected = 500;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(ViewStep(&v.state));
    expected = ((expected - 150) % 1000 + 1000) % 1000;
    ASSERT_EQ(v.state.pose.pan, expected);
    ASSERT_EQ(v.state.pose.tilt, 0);
    // Tilt is at its limit at zoom 1.0: a slanted drag shows the plain left cursor.
    ASSERT_EQ(DragCursor(v.state.stepX, v.state.stepY, v.state.pose.atTiltLimit != 0),
              kCursorTurnLeft);
  }
  ASSERT_NE(v.state.view, nullptr);
}

TEST(ViewerState, ViewStepRendersTheViewWithTheSourceHeader) {
  OpenViewer v(1200, 400);
  ASSERT_TRUE(v.ok);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(v.source.handle));
  h->biXPelsPerMeter = 2835;
  h->biYPelsPerMeter = 1000;
  GlobalUnlock(v.source.handle);
  ASSERT_TRUE(ViewStep(&v.state));
  const BITMAPINFOHEADER view = HeaderOf(v.state.view);
  EXPECT_EQ(view.biWidth, kViewWidth);
  EXPECT_EQ(view.biHeight, kViewHeight);
  EXPECT_EQ(view.biBitCount, 24);
  EXPECT_EQ(view.biSizeImage, DWORD(Stride24(kViewWidth) * kViewHeight));
  EXPECT_EQ(view.biXPelsPerMeter, 2835);
  EXPECT_EQ(view.biYPelsPerMeter, 2835);
  // The centre of the view is the pan column at mid-height.
  EXPECT_EQ(PixelAt(v.state.view, kViewWidth / 2, kViewHeight / 2),
            PixelAt(v.source.handle, 600, 200));
}

#if !defined(_WIN32)
TEST(ViewerState, KeepsThePreviousViewWhenMemoryRunsOut) {
  OpenViewer v(1200, 400);
  ASSERT_TRUE(v.ok);
  ASSERT_TRUE(ViewStep(&v.state));
  HGLOBAL before = v.state.view;
  VmdSubsetFailAllocationsAfter(0);
  EXPECT_FALSE(ViewStep(&v.state));
  VmdSubsetFailAllocationsAfter(-1);
  EXPECT_EQ(v.state.view, before);
}
#endif

TEST(DragCursor, FollowsTheSignsOfTheSteps) {
  struct Case {
    int x, y, free, atLimit;
  };
  const Case cases[] = {
      {0, 0, 221, 221}, {0, 3, 210, 210},  {0, -3, 212, 212},  {4, 0, 213, 213},  {4, -1, 217, 213},
      {4, 1, 215, 213}, {-4, 0, 727, 727}, {-4, -1, 219, 727}, {-4, 1, 216, 727},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DragCursor(c.x, c.y, false), c.free) << c.x << "," << c.y;
    EXPECT_EQ(DragCursor(c.x, c.y, true), c.atLimit) << c.x << "," << c.y;
  }
}

TEST(DragStep, IsHalfTheDistanceTruncatedTowardZero) {
  EXPECT_EQ(DragStep(100, 101), 0);
  EXPECT_EQ(DragStep(100, 99), 0);
  EXPECT_EQ(DragStep(100, 97), -1);
  EXPECT_EQ(DragStep(100, 105), 2);
  EXPECT_EQ(DragStep(0, -301), -150);
}

TEST(ExpandPalette8To24, TurnsAGreyPanoramaIntoColour) {
  const int w = 5, h = 3;
  const int stride = 8;
  HGLOBAL grey = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 256 * 4 + stride * h);
  GlobalFreer freeGrey(grey);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(grey));
  header->biSize = 40;
  header->biWidth = w;
  header->biHeight = h;
  header->biPlanes = 1;
  header->biBitCount = 8;
  auto* palette = reinterpret_cast<RGBQUAD*>(header + 1);
  for (int i = 0; i < 256; ++i) palette[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  auto* bits = reinterpret_cast<uint8_t*>(palette + 256);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bits[y * stride + x] = uint8_t(40 * x + y);
  GlobalUnlock(grey);

  GlobalFreer colour(ExpandPalette8To24(grey));
  ASSERT_NE(colour.handle, nullptr);
  EXPECT_EQ(HeaderOf(colour.handle).biBitCount, 24);
  EXPECT_EQ(HeaderOf(colour.handle).biWidth, w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t g = uint32_t(40 * x + y);
      EXPECT_EQ(PixelAt(colour.handle, x, y), (g << 16) | (g << 8) | g);
    }
  ViewerState state;
  EXPECT_TRUE(OpenViewerState(colour.handle, &state));
  CloseViewerState(&state);
  EXPECT_EQ(ExpandPalette8To24(colour.handle), nullptr);  // already 24 bits
}

}  // namespace
}  // namespace vmd
