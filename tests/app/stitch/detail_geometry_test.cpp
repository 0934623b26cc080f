#include "detail_geometry.h"

#include <gtest/gtest.h>

using namespace vmd;

namespace {
void ExpectRect(const RECT& r, int l, int t, int rt, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rt);
  EXPECT_EQ(r.bottom, b);
}
}  // namespace

TEST(ResultImageRect, SmallImagesUnscaledLargeOnesFitted) {
  ExpectRect(ResultImageRect(400, 300, 500, 400), 50, 50, 450, 350);
  ExpectRect(ResultImageRect(1000, 500, 500, 400), 0, 75, 500, 325);
  // As wide as the view: fitted, which here is the same size.
  ExpectRect(ResultImageRect(500, 100, 500, 400), 0, 150, 500, 250);
}

TEST(DetailZoom, StepsOneToTwentyFromTheFittedSize) {
  EXPECT_DOUBLE_EQ(DetailScale(2000, 500, 1000, 800, 1), 0.5);
  EXPECT_DOUBLE_EQ(DetailScale(2000, 500, 1000, 800, 20), 10.0);
  EXPECT_DOUBLE_EQ(DetailScale(2000, 500, 1000, 800, 99), 10.0);
  EXPECT_EQ(DetailZoomIn(19), 20);
  EXPECT_EQ(DetailZoomIn(20), 20);
  EXPECT_EQ(DetailZoomOut(2), 1);
  EXPECT_EQ(DetailZoomOut(1), 1);
}

TEST(DetailPlacement, StepOneShowsTheWholeImageCentred) {
  DetailPlacement p = PlaceDetail(1000, 500, 1000, 800, 1, POINT{300, 300});
  ExpectRect(p.source, 0, 0, 1000, 500);
  ExpectRect(p.dest, 0, 150, 1000, 650);
  EXPECT_EQ(p.pan.x, 0);
  EXPECT_EQ(p.pan.y, 0);
}

TEST(DetailPlacement, ZoomedImagePansWithinItsEdges) {
  DetailPlacement corner = PlaceDetail(1000, 500, 1000, 800, 2, POINT{0, 0});
  ExpectRect(corner.source, 0, 0, 500, 400);
  ExpectRect(corner.dest, 0, 0, 1000, 800);
  DetailPlacement beyond = PlaceDetail(1000, 500, 1000, 800, 2, POINT{5000, -5});
  EXPECT_EQ(beyond.pan.x, 1000);
  EXPECT_EQ(beyond.pan.y, 0);
  ExpectRect(beyond.source, 500, 0, 1000, 400);
}

TEST(DetailPlacement, ZoomKeepsTheScreenCentreOnTheSamePoint) {
  POINT pan = PanAfterZoom(1000, 500, 1000, 800, 1, 2, POINT{0, 0});
  EXPECT_EQ(pan.x, 500);  // the middle of the 2000-pixel wide zoomed image
  EXPECT_EQ(pan.y, 100);
  POINT back = PanAfterZoom(1000, 500, 1000, 800, 2, 4, pan);
  EXPECT_EQ(back.x, 1500);
  EXPECT_EQ(back.y, 600);
}
