#include "photo_editor.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "stitch_controls.h"
#include "image_ops.h"
#include "test_dib.h"

using namespace vmd;
using testing_support::MakeDib24;
using testing_support::HeaderOf;
using testing_support::GlobalFreer;

// The control panel as the editor sees it: which zoom buttons are disabled.
namespace {
std::set<int> g_disabled;
}
namespace vmd {
void EnableControl(int id) { g_disabled.erase(id); }
void DisableControl(int id) { g_disabled.insert(id); }
void ShowImageInArea(int, HGLOBAL) {}
}  // namespace vmd

namespace {

int g_refusals = 0;
int g_savedW = 0, g_savedH = 0;
void CountRefusal() { ++g_refusals; }
bool PickPath(std::string* path) {
  *path = "edited.jpg";
  return true;
}
bool RecordWrite(HGLOBAL dib, const std::string&) {
  g_savedW = HeaderOf(dib).biWidth;
  g_savedH = HeaderOf(dib).biHeight;
  return true;
}

class PhotoEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    g_disabled.clear();
    g_refusals = 0;
    g_savedW = g_savedH = 0;
    PhotoEditHooks hooks;
    hooks.cropRefused = CountRefusal;
    hooks.askSavePath = PickPath;
    hooks.writeImage = RecordWrite;
    SetPhotoEditHooks(hooks);
  }
  void TearDown() override {
    int modified = 0;
    HGLOBAL left = PhotoEditCommand(kEditCancel, &modified, kEditOrdinary);
    if (left != nullptr) GlobalFree(left);
    SetPhotoEditHooks(PhotoEditHooks());
  }
  /// Opens a w x h picture in a 500 x 400 view.
  void Open(int w, int h) {
    HGLOBAL photo = MakeDib24(w, h, [](int x, int y) { return uint32_t(x * 7 + y) & 0xFFFFFF; });
    ASSERT_TRUE(PreparePhotoEdit(photo, 500, 400));
  }
  static HGLOBAL Command(int id, int value = 0, int purpose = kEditOrdinary, int* modified = nullptr) {
    int ignored = 0;
    return PhotoEditCommand(MAKELONG(id, value), modified ? modified : &ignored, purpose);
  }
  static int DisplayW() { return HeaderOf(g_photoEdit.display).biWidth; }
  static int DisplayH() { return HeaderOf(g_photoEdit.display).biHeight; }
};

void ExpectRect(const RECT& r, int l, int t, int rt, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rt);
  EXPECT_EQ(r.bottom, b);
}

}  // namespace

TEST(EditGeometry, SmallPhotoSitsUnscaledAndCentred) {
  EditOpening o = OpenEditGeometry(400, 300, 500, 400);
  EXPECT_FALSE(o.reduced);
  EXPECT_EQ(o.zoom, 1);
  EXPECT_EQ(o.layout.offset.x, 50);
  EXPECT_EQ(o.layout.offset.y, 50);
  ExpectRect(o.cropBox, 50, 50, 450, 350);
  ExpectRect(o.cropLimits, 50, 50, 450, 350);
}

TEST(EditGeometry, LargePhotoIsReducedAndItsZoomRounded) {
  EditOpening wide = OpenEditGeometry(1000, 500, 500, 400);
  EXPECT_TRUE(wide.reduced);
  EXPECT_EQ(wide.displayW, 500);
  EXPECT_EQ(wide.displayH, 250);
  EXPECT_EQ(wide.zoom, 2);
  ExpectRect(wide.cropBox, 0, 75, 500, 325);
  EditOpening tall = OpenEditGeometry(900, 1400, 500, 400);  // scale 3.5 rounds to 4
  EXPECT_EQ(tall.displayH, 400);
  EXPECT_EQ(tall.zoom, 4);
  // Exactly the view's width is not "smaller": it is fitted (to the same size).
  EXPECT_TRUE(OpenEditGeometry(500, 100, 500, 400).reduced);
}

TEST(EditGeometry, LayoutCentresSmallerSidesAndPansLargerOnes) {
  EditLayout l = LayoutDisplay(800, 300, 500, 400);
  EXPECT_TRUE(l.panX);
  EXPECT_FALSE(l.panY);
  EXPECT_EQ(l.offset.x, 0);
  EXPECT_EQ(l.panMax.x, 300);
  EXPECT_EQ(l.offset.y, 50);
  EXPECT_EQ(l.panMax.y, 0);
}

TEST(EditGeometry, ZoomStepsStopAtOneAndTen) {
  ZoomStep in = ZoomIn(2);
  EXPECT_EQ(in.zoom, 1);
  EXPECT_TRUE(in.disableZoomIn);
  EXPECT_FALSE(ZoomIn(5).disableZoomIn);
  EXPECT_TRUE(ZoomIn(10).enableZoomOut);
  EXPECT_EQ(ZoomIn(1).zoom, 1);
  ZoomStep out = ZoomOut(9);
  EXPECT_EQ(out.zoom, 10);
  EXPECT_TRUE(out.disableZoomOut);
  EXPECT_TRUE(ZoomOut(1).enableZoomIn);
  EXPECT_EQ(ZoomOut(10).zoom, 10);
  int w, h;
  ZoomedSize(25, 7, 10, &w, &h);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
}

TEST(EditGeometry, CropHandlesByEdgesAndCorners) {
  RECT box = {100, 100, 300, 200};
  struct Case { int x, y, handle; };
  for (Case c : {Case{100, 150, kCropLeft}, Case{103, 150, kCropLeft}, Case{104, 150, kCropNone},
                 Case{96, 150, kCropNone}, Case{298, 150, kCropRight}, Case{200, 101, kCropTop},
                 Case{200, 197, kCropBottom}, Case{101, 99, kCropTopLeft}, Case{299, 199, kCropBottomRight},
                 Case{300, 100, kCropTopRight}, Case{100, 200, kCropBottomLeft},
                 Case{100, 95, kCropNone} /* beyond the edge's extent widened by 4 */,
                 Case{100, 97, kCropTopLeft}, Case{100, 96, kCropLeft}, Case{200, 150, kCropNone}}) {
    EXPECT_EQ(CropHandleAt(box, POINT{c.x, c.y}), c.handle) << c.x << "," << c.y;
  }
  EXPECT_EQ(CursorForHandle(kCropTopLeft), kCursorSizeNWSE);
  EXPECT_EQ(CursorForHandle(kCropBottomRight), kCursorSizeNWSE);
  EXPECT_EQ(CursorForHandle(kCropTopRight), kCursorSizeNESW);
  EXPECT_EQ(CursorForHandle(kCropBottomLeft), kCursorSizeNESW);
  EXPECT_EQ(CursorForHandle(kCropRight), kCursorSizeWE);
  EXPECT_EQ(CursorForHandle(kCropBottom), kCursorSizeNS);
}

TEST(EditGeometry, DraggedEdgesKeepFourPixelsAndStayInTheLimits) {
  RECT box = {100, 100, 300, 200};
  RECT limits = {50, 50, 450, 350};
  ExpectRect(DragCropHandle(box, kCropLeft, 500, 0, limits), 296, 100, 300, 200);
  ExpectRect(DragCropHandle(box, kCropRight, -500, 0, limits), 100, 100, 104, 200);
  ExpectRect(DragCropHandle(box, kCropTop, 0, 500, limits), 100, 196, 300, 200);
  ExpectRect(DragCropHandle(box, kCropTopLeft, -500, -500, limits), 50, 50, 300, 200);
  ExpectRect(DragCropHandle(box, kCropBottomRight, 500, 500, limits), 100, 100, 450, 350);
  ExpectRect(DragCropHandle(box, kCropBottom, 30, 10, limits), 100, 100, 300, 210);
}

TEST(EditGeometry, SlidersAndPhotoSizes) {
  EXPECT_EQ(BrightnessContrastArgument(0), -128);
  EXPECT_EQ(BrightnessContrastArgument(100), 0);
  EXPECT_EQ(BrightnessContrastArgument(200), 128);
  EXPECT_EQ(BrightnessContrastArgument(99), -1);  // truncated toward zero
  EXPECT_EQ(HueSaturationArgument(0), -180);
  EXPECT_EQ(HueSaturationArgument(200), 180);
  EXPECT_EQ(HueSaturationArgument(101), 1);
  EXPECT_FALSE(PhotoSizeAllowed(60, 200));
  EXPECT_FALSE(PhotoSizeAllowed(65, 64));
  EXPECT_TRUE(PhotoSizeAllowed(200, 150));
  EXPECT_TRUE(PhotoSizeAllowed(200, 100));
  EXPECT_FALSE(PhotoSizeAllowed(201, 100));
  EXPECT_EQ(NextAntsPhase(5), 6);
  EXPECT_EQ(NextAntsPhase(6), 0);
}

TEST_F(PhotoEditor, OpensASmallPhotoUnscaledWithZoomInDisabled) {
  Open(400, 300);
  EXPECT_EQ(DisplayW(), 400);
  EXPECT_EQ(g_photoEdit.offset.x, 50);
  EXPECT_EQ(g_photoEdit.offset.y, 50);
  EXPECT_TRUE(g_photoEdit.cropMode);
  EXPECT_EQ(g_disabled.count(kControlEditZoomIn), 1u);
}

TEST_F(PhotoEditor, QuarterTurnAndBackResetTheCropBoxEachTime) {
  Open(400, 300);
  g_photoEdit.cropBox = {100, 100, 200, 200};
  Command(kEditTurnRight90);
  EXPECT_EQ(g_photoEdit.angle, 90);
  EXPECT_EQ(DisplayW(), 300);
  EXPECT_EQ(DisplayH(), 400);
  ExpectRect(g_photoEdit.cropBox, 100, 0, 400, 400);
  g_photoEdit.cropBox = {150, 10, 200, 200};
  Command(kEditTurnLeft90);
  EXPECT_EQ(g_photoEdit.angle, 0);
  ExpectRect(g_photoEdit.cropBox, 50, 50, 450, 350);
  EXPECT_TRUE(g_photoEdit.modified);
}

TEST_F(PhotoEditor, ZoomingOutTenTimesStopsAtTen) {
  Open(1000, 800);
  for (int i = 0; i < 10; ++i) Command(kEditZoomOut);
  EXPECT_EQ(g_photoEdit.zoom, 10);
  EXPECT_EQ(DisplayW(), 100);
  EXPECT_EQ(g_disabled.count(kControlEditZoomOut), 1u);
  Command(kEditZoomIn);
  EXPECT_EQ(g_photoEdit.zoom, 9);
  EXPECT_EQ(g_disabled.count(kControlEditZoomOut), 0u);
}

TEST_F(PhotoEditor, ZoomScalesTheCropBoxAndAllowsPanning) {
  Open(1000, 500);  // shown at 500 x 250, zoom 2
  g_photoEdit.cropBox = {100, 125, 300, 225};  // display-relative (100, 50)-(300, 150)
  Command(kEditZoomIn);  // full size: 1000 x 500
  EXPECT_EQ(DisplayW(), 1000);
  EXPECT_TRUE(g_photoEdit.panX);
  EXPECT_TRUE(g_photoEdit.panY);
  ExpectRect(g_photoEdit.cropBox, 200, 100, 600, 300);
  // Dragging the picture 50 pixels to the left pans it 50 to the right, box along.
  POINT down = {450, 350};
  EXPECT_EQ(PhotoEditButtonDown(down), kCursorHand);
  bool moved = false, repaint = false;
  PhotoEditMouseMove(POINT{400, 350}, true, &moved, &repaint);
  EXPECT_TRUE(repaint);
  EXPECT_EQ(g_photoEdit.pan.x, 50);
  ExpectRect(g_photoEdit.cropBox, 150, 100, 550, 300);
  PhotoEditMouseMove(POINT{-2000, 350}, true, &moved, &repaint);
  EXPECT_EQ(g_photoEdit.pan.x, 500);  // panMax
  PhotoEditButtonUp(&repaint);
}

TEST_F(PhotoEditor, DraggingTheLeftEdgeStopsBeforeTheRight) {
  Open(400, 300);
  POINT down = {50, 200};
  EXPECT_EQ(PhotoEditButtonDown(down), kCursorSizeWE);
  bool moved = false, repaint = false;
  PhotoEditMouseMove(POINT{900, 200}, true, &moved, &repaint);
  EXPECT_TRUE(moved);
  ExpectRect(g_photoEdit.cropBox, 446, 50, 450, 350);
  EXPECT_EQ(PhotoEditButtonUp(&repaint), kCursorArrow);
  EXPECT_TRUE(repaint);
}

TEST_F(PhotoEditor, StoryboardCropMustStillBeAPhoto) {
  Open(400, 300);
  g_photoEdit.cropBox = {50, 50, 110, 250};  // 60 x 200 source pixels
  EXPECT_EQ(Command(kEditFinish, 0, kEditStoryboardPhoto), nullptr);
  EXPECT_EQ(g_refusals, 1);
  ASSERT_NE(g_photoEdit.source, nullptr);  // still open
  g_photoEdit.cropBox = {50, 50, 250, 200};  // 200 x 150
  int modified = 0;
  GlobalFreer done(Command(kEditFinish, 0, kEditStoryboardPhoto, &modified));
  ASSERT_NE(done.handle, nullptr);
  EXPECT_EQ(HeaderOf(done.handle).biWidth, 200);
  EXPECT_EQ(HeaderOf(done.handle).biHeight, 150);
  EXPECT_EQ(modified, 1);
  EXPECT_EQ(g_photoEdit.source, nullptr);
  EXPECT_EQ(g_photoEdit.display, nullptr);
}

TEST_F(PhotoEditor, FinishCutsTheFullResolutionPicture) {
  Open(1000, 500);  // shown at 500 x 250 from (0, 75)
  g_photoEdit.cropBox = {0, 75, 250, 200};  // the left half, the top half
  Command(kEditBrightness, 100);  // slider at its top: brighter
  GlobalFreer done(Command(kEditFinish, 0, kEditCurrentImage));
  ASSERT_NE(done.handle, nullptr);
  EXPECT_EQ(HeaderOf(done.handle).biWidth, 500);
  EXPECT_EQ(HeaderOf(done.handle).biHeight, 250);
}

TEST_F(PhotoEditor, CancelGivesTheSourceBackUnchanged) {
  Open(400, 300);
  HGLOBAL source = g_photoEdit.source;
  Command(kEditTurnRight2);
  int modified = 7;
  GlobalFreer back(Command(kEditCancel, 0, kEditCurrentImage, &modified));
  EXPECT_EQ(back.handle, source);
  EXPECT_EQ(modified, 0);
  EXPECT_EQ(g_photoEdit.angle, 0);
}

TEST_F(PhotoEditor, SaveWritesTheTurnedPictureUncroppedOnlyAfterAnEdit) {
  Open(400, 300);
  Command(kEditSave);
  EXPECT_EQ(g_savedW, 0);  // nothing edited yet
  Command(kEditTurnRight90);
  g_photoEdit.cropBox = {150, 100, 250, 200};
  Command(kEditSave);
  EXPECT_EQ(g_savedW, 300);
  EXPECT_EQ(g_savedH, 400);
  EXPECT_FALSE(g_photoEdit.modified);
}

TEST_F(PhotoEditor, ResetReturnsToTheOpeningState) {
  Open(1000, 500);
  Command(kEditContrast, 30);
  Command(kEditTurnLeft2);
  Command(kEditZoomIn);
  Command(kEditCropMode);
  Command(kEditReset);
  EXPECT_EQ(g_photoEdit.angle, 0);
  EXPECT_EQ(g_photoEdit.contrast, 100);
  EXPECT_EQ(g_photoEdit.zoom, 2);
  EXPECT_EQ(DisplayW(), 500);
  EXPECT_TRUE(g_photoEdit.cropMode);
  EXPECT_EQ(g_disabled.count(kControlEditZoomIn), 0u);
}

TEST_F(PhotoEditor, CropModeWashesOutTheOutsideWhenPainted) {
  Open(400, 300);
  g_photoEdit.cropBox = {150, 150, 250, 250};  // display (100, 100)-(200, 200)
  GlobalFreer painted(PaintableDisplay());
  uint32_t inside = testing_support::PixelAt(painted.handle, 150, 299 - 150);
  uint32_t outside = testing_support::PixelAt(painted.handle, 10, 299 - 10);
  EXPECT_EQ(inside, testing_support::PixelAt(g_photoEdit.display, 150, 299 - 150));
  EXPECT_NE(outside, testing_support::PixelAt(g_photoEdit.display, 10, 299 - 10));
  Command(kEditCropMode);
  GlobalFreer plain(PaintableDisplay());
  EXPECT_EQ(testing_support::PixelAt(plain.handle, 10, 289), testing_support::PixelAt(g_photoEdit.display, 10, 289));
}
