#include "blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "exposure.h"
#include "arrange.h"
#include "full_circle.h"
#include "test_dib.h"

namespace seam {
namespace {

// ---- render quantities and footprints ----------------------------------------

StitchMatrix OnePhotoMatrix(StitchElement* e, StitchPyramid* p, int levels) {
  std::memset(e, 0, sizeof(*e));
  *p = StitchPyramid{};
  p->levels = levels;
  p->width = 640;
  p->height = 480;
  e->pyramid = p;
  StitchMatrix m{};
  m.elements = e;
  m.layout = kLayoutRow;
  m.columns = 1;
  m.rows = 1;
  return m;
}

struct LevelCase {
  int detail;
  int levels;
  int expected;
};
class RenderLevelTest : public ::testing::TestWithParam<LevelCase> {};
TEST_P(RenderLevelTest, IsTheDetailUnlessAPhotoLacksThatLevel) {
  StitchElement e;
  StitchPyramid p;
  StitchMatrix m = OnePhotoMatrix(&e, &p, GetParam().levels);
  StitchOptions o{};
  o.detail = GetParam().detail;
  EXPECT_EQ(RenderLevel(m, o), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Table, RenderLevelTest,
                         ::testing::Values(LevelCase{0, 4, 0}, LevelCase{1, 4, 1},
                                           LevelCase{3, 4, 3}, LevelCase{3, 2, 1},
                                           LevelCase{2, 1, 0}, LevelCase{-1, 4, 0}),
                         [](const ::testing::TestParamInfo<LevelCase>& info) {
                           return "detail" + std::string(info.param.detail < 0 ? "Minus" : "") +
                                  std::to_string(std::abs(info.param.detail)) + "Levels" +
                                  std::to_string(info.param.levels);
                         });

TEST(MakeRenderSetup, CircumferenceAndRadiusFollowTheLevelFocal) {
  StitchElement e;
  StitchPyramid p;
  StitchMatrix m = OnePhotoMatrix(&e, &p, 4);
  StitchOptions o{};
  o.detail = 1;
  o.focal = 1000;
  const RenderSetup s = MakeRenderSetup(m, o);
  EXPECT_EQ(s.level, 1);
  EXPECT_EQ(s.scale, 2);
  EXPECT_DOUBLE_EQ(s.focal, 500);
  EXPECT_EQ(s.circumference, 3142);  // 2 pi 500 = 3141.59, + 0.5, truncated
  EXPECT_NEAR(s.radius, 3142 / (2 * 3.141592653589793), 1e-9);
  EXPECT_EQ(s.heightLimit, static_cast<int>(s.radius * 5));
}

TEST(MakeRenderSetup, AFocalLengthThatCannotBeRenderedGivesNoCircumference) {
  StitchElement e;
  StitchPyramid p;
  StitchMatrix m = OnePhotoMatrix(&e, &p, 4);
  for (double focal : {0.0, -5.0, 1e300, std::nan("")}) {
    StitchOptions o{};
    o.focal = focal;
    EXPECT_EQ(MakeRenderSetup(m, o).circumference, 0) << focal;
  }
}

TEST(Blend, RefusesAFocalLengthThatCannotBeRendered) {
  StitchElement e;
  StitchPyramid p;
  StitchMatrix m = OnePhotoMatrix(&e, &p, 1);
  StitchOptions o{};
  o.lensMode = kLensGiven;
  o.focal = -1;
  HGLOBAL pano = nullptr;
  RECT crop{};
  EXPECT_EQ(Blend(&m, &o, &pano, &crop, nullptr), kStitchImageUnusable);
  EXPECT_EQ(pano, nullptr);
  EXPECT_EQ(Blend(nullptr, &o, &pano, &crop, nullptr), kStitchImageUnusable);
}

TEST(Blend, AGridWithoutAnyPhotoHasAnEmptyCanvasNotAMemoryShortage) {
  StitchElement e;
  StitchPyramid p;
  StitchMatrix m = OnePhotoMatrix(&e, &p, 1);
  e.pyramid = nullptr;
  StitchOptions o{};
  o.lensMode = kLensGiven;
  o.focal = 600;
  HGLOBAL pano = nullptr;
  RECT crop{};
  EXPECT_EQ(Blend(&m, &o, &pano, &crop, nullptr), kStitchEmptyCanvas);
  EXPECT_EQ(pano, nullptr);
}

TEST(FootprintFromOutline, UnwrapsAnOutlineAcrossTheStartOfTheCylinder) {
  const int c = 100;
  std::vector<OutlinePoint> outline = {{95, 0, 0}, {98, 0, 0}, {2, 0, 0},
                                       {2, 10, 0}, {98, 10, 0}, {95, 10, 0}};
  PhotoFootprint fp;
  ASSERT_TRUE(FootprintFromOutline(outline, c, false, &fp));
  EXPECT_EQ(fp.rect.left, 95);
  EXPECT_EQ(fp.rect.right, 103);
  EXPECT_EQ(fp.rect.top, 0);
  EXPECT_EQ(fp.rect.bottom, 11);
  // Columns bridged between outline points span the rows of both ends.
  for (int x = 95; x < 103; ++x) {
    EXPECT_EQ(fp.first[static_cast<size_t>(x - 95)], 0) << x;
    EXPECT_EQ(fp.last[static_cast<size_t>(x - 95)], 10) << x;
  }
}

TEST(FootprintFromOutline, BridgedColumnsKeepTheAngleOfTheEndWhoseRowTheyTake) {
  std::vector<OutlinePoint> outline = {{0, 2, 0.1}, {4, 6, 0.5}, {4, 20, 0.7}, {0, 18, 0.3}};
  PhotoFootprint fp;
  ASSERT_TRUE(FootprintFromOutline(outline, 1000, true, &fp));
  // Column 2 lies between (0, 2) and (4, 6): first row 6 from the higher end,
  // last row 2 from the lower; and between (4, 20) and (0, 18) likewise.
  EXPECT_EQ(fp.first[2], 6);
  EXPECT_DOUBLE_EQ(fp.angleFirst[2], 0.5);
  EXPECT_EQ(fp.last[2], 18);
  EXPECT_DOUBLE_EQ(fp.angleLast[2], 0.3);
  EXPECT_EQ(fp.first[0], 2);
  EXPECT_EQ(fp.last[4], 20);
}

TEST(ProjectFootprint, ALevelPhotoLooksStraightAtTheStartOfTheCylinder) {
  StitchPyramid p{};
  p.levels = 1;
  p.width = 200;
  p.height = 100;
  StitchElement e{};
  e.pyramid = &p;
  StitchMatrix m{};
  m.elements = &e;
  m.columns = m.rows = 1;
  StitchOptions o{};
  o.focal = 300;
  const RenderSetup s = MakeRenderSetup(m, o);
  PhotoFootprint fp;
  ASSERT_TRUE(ProjectFootprint(p, Identity(), s, &fp));
  // Centred on column 0, so shifted by one turn to stay contiguous.
  const double half = 300 * std::atan(99.5 / 300);
  EXPECT_NEAR(fp.rect.left, s.circumference - half, 1.5);
  EXPECT_NEAR(fp.rect.right, s.circumference + half + 1, 1.5);
  EXPECT_NEAR(fp.rect.bottom - fp.rect.top, 100, 2);
  // The top edge sags towards the sides of the photo on the cylinder.
  const int mid = fp.Width() / 2;
  EXPECT_GE(fp.last[static_cast<size_t>(mid)], fp.last[0]);
}

// ---- crop ---------------------------------------------------------------------

struct Mask {
  int w, h;
  std::vector<uint8_t> bytes;
  Mask(int width, int height) : w(width), h(height), bytes(static_cast<size_t>(DibStride(width, 8)) * height, 255) {}
  PixelView View() { return PixelView{w, h, DibStride(w, 8), 1, bytes.data()}; }
  uint8_t& At(int x, int y) { return bytes[static_cast<size_t>(y) * DibStride(w, 8) + x]; }
};

bool CropIsCovered(Mask& m, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (!m.At(x, y)) return false;
  return true;
}

TEST(CropRectangle, AFullyCoveredCanvasKeepsEverything) {
  for (int layout : {0, 1, 2, 3}) {
    Mask m(50, 40);
    const RECT r = CropRectangle(m.View(), layout);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 40);
  }
}

TEST(CropRectangle, RaggedBordersAreCutAwayWithoutWhiteAndAtMostAFifth) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 30; ++trial) {
    const int layout = trial % 4;
    Mask m(120 + static_cast<int>(rng() % 60), 80 + static_cast<int>(rng() % 40));
    // Wavy uncovered margins of up to 12 pixels on every side.
    for (int x = 0; x < m.w; ++x) {
      const int top = static_cast<int>(6 + 5 * std::sin(x * 0.1 + trial));
      const int bottom = static_cast<int>(6 + 5 * std::cos(x * 0.07 + trial));
      for (int y = 0; y < top; ++y) m.At(x, y) = 0;
      for (int y = 0; y < bottom; ++y) m.At(x, m.h - 1 - y) = 0;
    }
    if (layout != kLayoutCircle)
      for (int y = 0; y < m.h; ++y) {
        const int left = static_cast<int>(6 + 5 * std::sin(y * 0.13 + trial));
        for (int x = 0; x < left; ++x) m.At(x, y) = 0;
        for (int x = 0; x < left / 2; ++x) m.At(m.w - 1 - x, y) = 0;
      }
    const RECT r = CropRectangle(m.View(), layout);
    EXPECT_TRUE(CropIsCovered(m, r)) << "trial " << trial;
    EXPECT_LE(r.left, m.w / 5);
    EXPECT_LE(r.top, m.h / 5);
    EXPECT_GE(r.right, m.w - m.w / 5);
    EXPECT_GE(r.bottom, m.h - m.h / 5);
    if (layout == kLayoutCircle) {
      EXPECT_EQ(r.left, 0);
      EXPECT_EQ(r.right, m.w);
    }
  }
}

// ---- rendering one photo --------------------------------------------------------

struct RenderRig {
  std::vector<uint8_t> photo, layer, mask;
  PixelView photoView, layerView, maskView;
  PhotoFootprint fp;
  RenderSetup setup;
  Mat3 orientation;
  RenderRig(int w, int h, uint8_t value) {
    photo.assign(static_cast<size_t>(DibStride(w, 24)) * h, value);
    photoView = PixelView{w, h, DibStride(w, 24), 3, photo.data()};
    StitchPyramid p{};
    p.levels = 1;
    p.width = w;
    p.height = h;
    StitchElement e{};
    e.pyramid = &p;
    StitchMatrix m{};
    m.elements = &e;
    m.columns = m.rows = 1;
    StitchOptions o{};
    o.focal = 200;
    setup = MakeRenderSetup(m, o);
    // Looking half a turn round, so the footprint does not straddle.
    orientation = Mat3{};
    orientation(0, 0) = -1;
    orientation(1, 1) = 1;
    orientation(2, 2) = -1;
    EXPECT_TRUE(ProjectFootprint(p, orientation, setup, &fp));
    const int fw = fp.Width(), fh = fp.rect.bottom - fp.rect.top;
    layer.assign(static_cast<size_t>(DibStride(fw, 24)) * fh, 255);
    mask.assign(static_cast<size_t>(DibStride(fw, 8)) * fh, 0);
    layerView = PixelView{fw, fh, DibStride(fw, 24), 3, layer.data()};
    maskView = PixelView{fw, fh, DibStride(fw, 8), 1, mask.data()};
  }
  long Render(int offset, const ExposureRamp* ramp = nullptr) {
    return RenderPhoto(photoView, fp, orientation, setup, offset, ramp, nullptr, layerView,
                       maskView, nullptr, nullptr);
  }
  std::vector<int> Covered() const {
    std::vector<int> values;
    for (int y = 0; y < maskView.height; ++y)
      for (int x = 0; x < maskView.width; ++x)
        if (maskView.Row(y)[x]) values.push_back(layerView.Row(y)[3 * x]);
    return values;
  }
};

TEST(RenderPhoto, ExposureOffsetsClampToTheByteRange) {
  for (const auto& c : {std::make_pair(250, 20), std::make_pair(5, -20), std::make_pair(100, 7)}) {
    RenderRig rig(64, 48, static_cast<uint8_t>(c.first));
    ASSERT_EQ(rig.Render(c.second), 0);
    const std::vector<int> v = rig.Covered();
    ASSERT_FALSE(v.empty());
    const int expected = std::clamp(c.first + c.second, 0, 255);
    for (int x : v) ASSERT_EQ(x, expected);
  }
}

TEST(RenderPhoto, NeverSamplesTheLastColumnOrRowAsACellCorner) {
  RenderRig rig(64, 48, 100);
  // Mark the last column and row: they may only enter with a weight below 1.
  for (int y = 0; y < 48; ++y) rig.photoView.Row(y)[3 * 63] = 0;
  for (int x = 0; x < 64; ++x) rig.photoView.Row(47)[3 * x] = 0;
  ASSERT_EQ(rig.Render(0), 0);
  for (int v : rig.Covered()) EXPECT_GT(v, 0);
}

TEST(RenderPhoto, CoversAboutThePhotosArea) {
  RenderRig rig(64, 48, 100);
  ASSERT_EQ(rig.Render(0), 0);
  const double covered = static_cast<double>(rig.Covered().size());
  EXPECT_NEAR(covered, 63.0 * 47.0, 63.0 * 47.0 * 0.08);
}

TEST(RenderPhoto, DrawsEveryPixelOfALayerThatHeldOldContent) {
  // Layers are not cleared before rendering: what the photo does not reach
  // must come out white and uncovered, whatever the memory held.
  RenderRig rig(64, 48, 100);
  std::fill(rig.layer.begin(), rig.layer.end(), uint8_t{7});
  std::fill(rig.mask.begin(), rig.mask.end(), uint8_t{9});
  ASSERT_EQ(rig.Render(0), 0);
  int uncovered = 0;
  for (int y = 0; y < rig.maskView.height; ++y)
    for (int x = 0; x < rig.maskView.width; ++x) {
      const uint8_t m = rig.maskView.Row(y)[x];
      const uint8_t* p = rig.layerView.Row(y) + 3 * x;
      ASSERT_TRUE(m == 0 || m == 255) << x << "," << y;
      if (m == 255) {
        EXPECT_EQ(p[0], 100);
      } else {
        ++uncovered;
        EXPECT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << x << "," << y;
      }
    }
  EXPECT_GT(uncovered, 0);  // the footprint's corners lie outside the photo
}

TEST(ColumnMapping, AgreesWithTheCylinderToPhotoMapping) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> angle(-1.2, 1.2);
  const double radius = 600;
  for (int trial = 0; trial < 50; ++trial) {
    const Mat3 m = Multiply(AxisAngleRotation(Vec3{0, 1, 0}, angle(rng)),
                            AxisAngleRotation(Vec3{1, 0, 0}, angle(rng) / 3));
    const double u = (angle(rng) + 1.2) * radius * 2;
    const ColumnMapping c = ColumnMapping::For(m, radius, u);
    for (double v : {-400.0, -20.0, 0.0, 35.5, 300.0}) {
      double x1, y1, x2, y2;
      const bool a = UnrolledToPhotoPixel(m, 450, UnrolledPoint{u, v, radius}, &x1, &y1);
      const bool b = c.Map(v, 450, &x2, &y2);
      ASSERT_EQ(a, b) << trial << " " << v;
      if (!a) continue;
      EXPECT_NEAR(x1, x2, 1e-7 * (1 + std::fabs(x1)));
      EXPECT_NEAR(y1, y2, 1e-7 * (1 + std::fabs(y1)));
    }
  }
}

TEST(ExposureRamp, RunsFromMinusToPlusHalfTheLoopStep) {
  ExposureRamp ramp;
  ramp.low = 100;
  ramp.high = 300;
  ramp.loopStep = 8;
  EXPECT_EQ(ramp.At(100), -4);
  EXPECT_EQ(ramp.At(200), 0);
  EXPECT_EQ(ramp.At(300), 4);
  ramp.loopStep = 0;
  EXPECT_EQ(ramp.At(300), 0);
}

// ---- the full circle's pieces -------------------------------------------------------

TEST(CorrectCanvasPoint, AZeroClosureLeavesEveryPointInPlace) {
  RenderSetup s;
  s.circumference = 2000;
  s.radius = 2000 / (2 * 3.141592653589793);
  ClosureCorrection none;
  none.axis = Vec3{0, 0, 1};
  none.angle = 0;
  for (double x : {0.0, 10.0, 999.0, 1500.0})
    for (double y : {-100.0, 0.0, 50.0}) {
      double u, v;
      CorrectCanvasPoint(s, none, x, y, 0, &u, &v);
      EXPECT_NEAR(u, x, 1e-6);
      EXPECT_NEAR(v, y, 1e-6);
    }
}

TEST(CorrectCanvasPoint, UndoesTheTurnThatTheFootprintPassApplies) {
  RenderSetup s;
  s.circumference = 2000;
  s.radius = 2000 / (2 * 3.141592653589793);
  ClosureCorrection k;
  k.axis = Normalize(Vec3{0.3, 0.1, 1});
  k.angle = 0.02;
  for (double x0 : {100.0, 700.0, 1900.0}) {
    const double y0 = 40;
    const double a = x0 * k.angle / s.circumference;
    const Vec3 moved = Multiply(AxisAngleRotation(k.axis, a),
                                UnrolledToSpace(UnrolledPoint{x0, y0, s.radius}));
    const UnrolledPoint p = SpaceToUnrolled(moved, s.radius);
    double u, v;
    CorrectCanvasPoint(s, k, p.u, p.v, a, &u, &v);
    EXPECT_NEAR(u, x0, 0.05) << x0;
    EXPECT_NEAR(v, y0, 0.05) << x0;
  }
}

TEST(WrapRectangle, StartsAtTheFirstPhotoReachingPastOneTurn) {
  StitchElement e[4] = {};
  StitchMatrix m{};
  m.elements = e;
  m.layout = kLayoutCircle;
  m.columns = 4;
  m.rows = 1;
  std::vector<PhotoFootprint> fps(4);
  const LONG lefts[4] = {0, 30, 60, 85}, rights[4] = {40, 70, 101, 130};
  for (int i = 0; i < 4; ++i) {
    fps[static_cast<size_t>(i)].present = true;
    fps[static_cast<size_t>(i)].rect = RECT{lefts[i], 2, rights[i], 50};
  }
  RECT wrap;
  ASSERT_TRUE(WrapRectangle(m, fps, RECT{0, -3, 100, 60}, 100, &wrap));
  EXPECT_EQ(wrap.left, 60);
  EXPECT_EQ(wrap.right, 130);
  EXPECT_EQ(wrap.top, -3);
  EXPECT_EQ(wrap.bottom, 60);
  fps[3].rect.right = 100;
  EXPECT_FALSE(WrapRectangle(m, fps, RECT{0, -3, 100, 60}, 100, &wrap)) << "ends within the turn";
}

TEST(FoldWrap, PastesTheEndAndSeamsThePartPastTheTurnOntoTheStart) {
  // One turn of 100 columns; the canvas start is covered (grey 100) up to
  // column 30, the wrap holds grey 110 over columns 80 to 120.
  const int turn = 100, rows = 12;
  std::vector<uint8_t> canvas(static_cast<size_t>(DibStride(turn, 24)) * rows, 255);
  std::vector<uint8_t> canvasMask(static_cast<size_t>(DibStride(turn, 8)) * rows, 0);
  const PixelView cv{turn, rows, DibStride(turn, 24), 3, canvas.data()};
  const PixelView cm{turn, rows, DibStride(turn, 8), 1, canvasMask.data()};
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < 30; ++x) {
      std::fill(cv.Row(y) + 3 * x, cv.Row(y) + 3 * x + 3, 100);
      cm.Row(y)[x] = 255;
    }
  const int ww = 40;
  std::vector<uint8_t> wrap(static_cast<size_t>(DibStride(ww, 24)) * rows, 110);
  std::vector<uint8_t> wrapMask(static_cast<size_t>(DibStride(ww, 8)) * rows, 255);
  const PixelView wv{ww, rows, DibStride(ww, 24), 3, wrap.data()};
  const PixelView wm{ww, rows, DibStride(ww, 8), 1, wrapMask.data()};
  ASSERT_EQ(FoldWrap(RECT{0, 0, turn, rows}, cv, cm, RECT{80, 0, 120, rows}, wv, wm, turn),
            kStitchOk);
  int fromWrap = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < 20; ++x) fromWrap += cv.Row(y)[3 * x] == 110;
  EXPECT_GT(fromWrap, 0) << "the moved part takes the target side of the seam";
  for (int y = 0; y < rows; ++y) {
    for (int x = 80; x < 100; ++x) {
      EXPECT_EQ(cv.Row(y)[3 * x], 110) << x;
      EXPECT_EQ(cm.Row(y)[x], 255);
    }
    // The folded end leads into the start through a seam: the wrap's grey
    // left of it, the canvas's own grey after the overlap, nothing outside.
    for (int x = 0; x < 30; ++x) {
      EXPECT_GE(cv.Row(y)[3 * x], 100) << x;
      EXPECT_LE(cv.Row(y)[3 * x], 110) << x;
      EXPECT_EQ(cm.Row(y)[x], 255);
    }
    EXPECT_EQ(cv.Row(y)[3 * 25], 100);
    EXPECT_EQ(cm.Row(y)[30], 0);
  }
}

}  // namespace
}  // namespace seam

namespace seam {
namespace {

// A column drawn lying on its side is turned back upright: the canvas's
// bottom row becomes the panorama's right column, read upward, and the crop
// and Locate's points follow the same turn as the pixels.
TEST(TurnCanvasUpright, TurnsPixelsCropAndPointsTheSameQuarter) {
  EngineDib canvas;
  ASSERT_TRUE(canvas.Create(3, 2, 24));
  {
    DibLock lock(canvas);
    const PixelView v = canvas.View();
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) v.Row(y)[3 * x] = static_cast<uint8_t>(10 * y + x);
  }
  EngineDib upright;
  RECT crop{1, 0, 3, 1};  // canvas columns 1 and 2 of row 0
  ASSERT_TRUE(TurnCanvasUpright(canvas, upright, &crop));
  DibLock lock(upright);
  const PixelView u = upright.View();
  ASSERT_EQ(u.width, 2);
  ASSERT_EQ(u.height, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) {
      POINT p{x, y};
      const POINT c = QuarterTurnedCanvasPoint(p, 2);
      EXPECT_EQ(u.Row(y)[3 * x], 10 * c.y + c.x) << x << "," << y;
    }
  // Canvas row 0 is the panorama's right column (x = 1), canvas columns 1..2
  // its rows 1..2.
  EXPECT_EQ(crop.left, 1);
  EXPECT_EQ(crop.right, 2);
  EXPECT_EQ(crop.top, 1);
  EXPECT_EQ(crop.bottom, 3);
  EXPECT_EQ(u.Row(0)[3 * 1], 0);  // canvas (0, 0): bottom-left turns to bottom-right
}

}  // namespace
}  // namespace seam
