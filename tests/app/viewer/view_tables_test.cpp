#include "view_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vmd {
namespace {

constexpr int kCentre = kViewWidth / 2;

/// A 24-bit source in memory: blue = column % 251, green = row % 251, red = 7.
std::vector<uint8_t> CoordinateSource(int w, int h) {
  std::vector<uint8_t> bits(size_t(Stride24(w)) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &bits[size_t(y) * Stride24(w) + 3 * x];
      p[0] = uint8_t(x % 251);
      p[1] = uint8_t(y % 251);
      p[2] = 7;
    }
  return bits;
}

int SourceRowIndex(const ViewTables& t, int x, int y) {
  return t.sourceRow[t.columnBase[x] + y] / t.sourceStride;
}

const uint8_t* ViewPixel(const std::vector<uint8_t>& view, int x, int y) {
  return &view[size_t(y) * Stride24(kViewWidth) + 3 * x];
}

TEST(ViewTables, CentreColumnSpansTheFullHeightAtZoomOne) {
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(4000, 1000, 1.0, &t));
  // Row of view row y at the centre: (y - 149) * H / 298 + H / 2.
  EXPECT_EQ(SourceRowIndex(t, kCentre, 0), 0);
  EXPECT_EQ(SourceRowIndex(t, kCentre, kViewHeight - 1), 996);
  EXPECT_EQ(t.rowWeight[t.columnBase[kCentre]], 8);
  for (int y = 1; y < kViewHeight; ++y)
    EXPECT_GE(SourceRowIndex(t, kCentre, y), SourceRowIndex(t, kCentre, y - 1));
  // Off-centre columns look at the cylinder from further away: a shorter span.
  for (int x : {0, 100, kViewWidth - 1}) {
    EXPECT_GE(SourceRowIndex(t, x, 0), 0);
    EXPECT_LE(SourceRowIndex(t, x, kViewHeight - 1), 996);
  }
  for (int32_t w : t.rowWeight) {
    ASSERT_GE(w, 0);
    ASSERT_LE(w, 8);
  }
}

TEST(ViewTables, RefusesAnEmptySource) {
  ViewTables t;
  EXPECT_FALSE(BuildViewTables(0, 100, 1.0, &t));
  EXPECT_FALSE(BuildViewTables(100, 0, 1.0, &t));
  EXPECT_TRUE(t.sourceRow.empty());
}

TEST(ViewTables, TiltLimitGrowsFromNothingToAThirdOfTheHeight) {
  struct Case {
    double zoom;
    int limit;
  };
  // About H/2 - H/(2 zoom) for H = 1200.
  for (Case c : {Case{1.0, 0}, Case{1.5, 200}, Case{2.0, 300}, Case{3.0, 400}}) {
    ViewTables t;
    ASSERT_TRUE(BuildViewTables(6000, 1200, c.zoom, &t));
    EXPECT_NEAR(TiltLimit(t), c.limit, 1) << "zoom " << c.zoom;
  }
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(3000, 999, 3.0, &t));
  EXPECT_EQ(TiltLimit(t), 332);  // 499 - 999 / 6, truncated
}

TEST(RenderView, ClampsTiltToTheLimitAndReportsIt) {
  const int w = 2000, h = 600;
  std::vector<uint8_t> src = CoordinateSource(w, h);
  std::vector<uint8_t> view(size_t(Stride24(kViewWidth)) * kViewHeight);
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(w, h, 3.0, &t));
  const int limit = TiltLimit(t);
  ASSERT_GT(limit, 100);
  struct Case {
    int tilt, expected, atLimit;
  };
  for (Case c : {Case{1000000, limit, 1}, Case{-1000000, -limit, 1}, Case{5, 5, 0},
                 Case{limit, limit, 1}, Case{-limit + 1, -limit + 1, 0}}) {
    ViewPose pose{w / 2, c.tilt, 7};
    RenderView(t, src.data(), &pose, view.data());
    EXPECT_EQ(pose.tilt, c.expected);
    EXPECT_EQ(pose.atTiltLimit, c.atLimit);
  }
  // At zoom 1.0 the whole height is in view: no tilt at all.
  ASSERT_TRUE(BuildViewTables(w, h, 1.0, &t));
  ViewPose pose{0, 40, 0};
  RenderView(t, src.data(), &pose, view.data());
  EXPECT_EQ(pose.tilt, 0);
  EXPECT_EQ(pose.atTiltLimit, 1);
}

TEST(RenderView, WrapsPanIntoTheSourceWidth) {
  const int w = 1000, h = 300;
  std::vector<uint8_t> src = CoordinateSource(w, h);
  std::vector<uint8_t> view(size_t(Stride24(kViewWidth)) * kViewHeight);
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(w, h, 1.0, &t));
  struct Case {
    int pan, wrapped;
  };
  for (Case c : {Case{-1, w - 1}, Case{w, 0}, Case{0, 0}, Case{w - 1, w - 1},
                 Case{-3 * w - 5, w - 5}, Case{7 * w + 3, 3}}) {
    ViewPose pose{c.pan, 0, 1};
    RenderView(t, src.data(), &pose, view.data());
    EXPECT_EQ(pose.pan, c.wrapped) << c.pan;
    // The centre column shows the pan column itself, unblended.
    EXPECT_EQ(ViewPixel(view, kCentre, kViewHeight / 2)[0], c.wrapped % 251) << c.pan;
  }
}

TEST(RenderView, WeightsSumToOneSoAFlatSourceStaysFlat) {
  const int w = 900, h = 250;
  std::vector<uint8_t> src(size_t(Stride24(w)) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &src[size_t(y) * Stride24(w) + 3 * x];
      p[0] = 200, p[1] = 0, p[2] = 255;
    }
  std::vector<uint8_t> view(size_t(Stride24(kViewWidth)) * kViewHeight, 1);
  for (double zoom : {1.0, 1.7, 3.0}) {
    ViewTables t;
    ASSERT_TRUE(BuildViewTables(w, h, zoom, &t));
    for (int pan : {0, 450, w - 1}) {
      ViewPose pose{pan, 1000, 1};
      RenderView(t, src.data(), &pose, view.data());
      for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) {
          const uint8_t* p = ViewPixel(view, x, y);
          ASSERT_EQ(p[0], 200) << x << "," << y;
          ASSERT_EQ(p[1], 0);
          ASSERT_EQ(p[2], 255);
        }
    }
  }
}

TEST(RenderView, BlendsBetweenNeighbouringColumnsAndRows) {
  // Blue rises by 2 per column: a view column between two source columns gets
  // a value between theirs, in steps of 2/8.
  const int w = 120, h = 100;
  std::vector<uint8_t> src(size_t(Stride24(w)) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &src[size_t(y) * Stride24(w) + 3 * x];
      p[0] = uint8_t(2 * x), p[1] = uint8_t(2 * y), p[2] = 0;
    }
  std::vector<uint8_t> view(size_t(Stride24(kViewWidth)) * kViewHeight);
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(w, h, 2.0, &t));
  ViewPose pose{60, 0, 1};
  RenderView(t, src.data(), &pose, view.data());
  int previous = -1;
  for (int x = kCentre - 20; x <= kCentre + 20; ++x) {
    const int blue = ViewPixel(view, x, kViewHeight / 2)[0];
    EXPECT_GE(blue, previous);
    previous = blue;
  }
  EXPECT_EQ(ViewPixel(view, kCentre, kViewHeight / 2)[0], 120);
  previous = -1;
  for (int y = 0; y < kViewHeight; ++y) {
    const int green = ViewPixel(view, kCentre, y)[1];
    EXPECT_GE(green, previous);
    previous = green;
  }
  // At zoom 1.0 the top view row falls on the last source row, which has no
  // row above to blend with: it is shown as it is.
  ASSERT_TRUE(BuildViewTables(w, h, 1.0, &t));
  RenderView(t, src.data(), &pose, view.data());
  EXPECT_EQ(ViewPixel(view, kCentre, kViewHeight - 1)[1], 2 * (h - 1));
  EXPECT_EQ(ViewPixel(view, kCentre, 0)[1], 0);
}

TEST(RenderView, KeepsTheLastColumnApartFromTheFirst) {
  const int w = 800, h = 200;
  std::vector<uint8_t> src = CoordinateSource(w, h);
  std::vector<uint8_t> view(size_t(Stride24(kViewWidth)) * kViewHeight);
  ViewTables t;
  ASSERT_TRUE(BuildViewTables(w, h, 1.0, &t));
  ViewPose pose{w - 1, 0, 1};
  RenderView(t, src.data(), &pose, view.data());
  // Column 799 (blue 46) is shown whole; column 0 (blue 0) is not mixed in.
  EXPECT_EQ(ViewPixel(view, kCentre, 10)[0], (w - 1) % 251);
}

}  // namespace
}  // namespace vmd
