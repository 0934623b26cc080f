#include "focal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "arrange.h"
#include "camera.h"

namespace {

using seam::Mat3;

constexpr double kPi = 3.14159265358979323846;

/// A row or ring of photos of one size whose lists the test writes itself.
struct Lists {
  Lists(int layout, int count, int width, int height)
      : elements(count, StitchElement{}), pyramids(count, StitchPyramid{}) {
    for (int i = 0; i < count; ++i) {
      pyramids[i].levels = 4;
      pyramids[i].width = width;
      pyramids[i].height = height;
      elements[i].pyramid = &pyramids[i];
    }
    matrix.elements = elements.data();
    matrix.layout = layout;
    matrix.columns = count;
    matrix.rows = 1;
    options.lensMode = kLensAutomatic;
  }

  /// Exact correspondences (rounded to level-k pixels) of the turn `yaw`
  /// radians between neighbours under `focal` (level 0).
  void FillFromTurn(double yaw, double focal, int level) {
    const Mat3 turn = seam::AxisAngleRotation({0, -1, 0}, yaw);
    const double zoom = 1 << level;
    for (size_t i = 0; i < elements.size(); ++i) {
      StitchElement& e = elements[i];
      double cx, cy;
      seam::PhotoCentre(pyramids[i], level, &cx, &cy);
      e.rightCount = 6;
      for (int k = 0; k < 6; ++k) {
        const double qx = (20 + 25 * k) / zoom, qy = (40 + (k * 137) % 400) / zoom;
        double px, py;
        seam::ProjectIntoNeighbour(turn, focal, level, qx, qy, cx, cy, cx, cy, &px, &py);
        e.rightPairs[k] = {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py)),
                           static_cast<LONG>(std::lround(qx)), static_cast<LONG>(std::lround(qy))};
      }
    }
  }

  std::vector<StitchElement> elements;
  std::vector<StitchPyramid> pyramids;
  StitchMatrix matrix;
  StitchOptions options{};
};

TEST(EstimateFocal, TelephotoIsTenTimesTheLongestSideOfAnyPhoto) {
  Lists l(kLayoutRow, 2, 800, 600);
  l.pyramids[1].width = 640;
  l.pyramids[1].height = 480;
  l.options.lensMode = kLensTelephoto;
  l.options.focal = 123;
  seam::EstimateFocal(&l.matrix, &l.options, 2);
  EXPECT_EQ(l.options.lensMode, kLensTelephoto);
  EXPECT_EQ(l.options.focal, 8000);
  l.pyramids[1].height = 900;  // a portrait photo: its height counts
  seam::EstimateFocal(&l.matrix, &l.options, 0);
  EXPECT_EQ(l.options.focal, 9000);
}

TEST(RingFocal, TwelvePhotosOverlappingByTwoHundredPixels) {
  Lists l(kLayoutCircle, 12, 400, 300);
  for (auto& e : l.elements) {
    e.rightCount = 2;
    e.rightPairs[0] = {290, 100, 90, 100};
    e.rightPairs[1] = {310, 200, 110, 200};
  }
  EXPECT_NEAR(seam::RingFocal(l.matrix, 0), 2400 / (2 * kPi), 1e-9);
  // Level 1 lists: the same circumference in level-1 pixels, doubled.
  EXPECT_NEAR(seam::RingFocal(l.matrix, 1), 4800 / (2 * kPi), 1e-9);
  l.options.lensMode = 5;  // anything but telephoto and given counts as automatic
  seam::EstimateFocal(&l.matrix, &l.options, 0);
  EXPECT_EQ(l.options.lensMode, kLensAutomatic);
  EXPECT_NEAR(l.options.focal, 381.97, 0.01);  // not below b / 2 = 200: no fallback
  EXPECT_EQ(l.elements[3].rightCount, 2);
}

TEST(RingFocal, TooShortARingFallsBackOnTheAssumedOverlaps) {
  Lists l(kLayoutCircle, 3, 400, 300);
  for (auto& e : l.elements) {
    e.rightCount = 1;
    e.rightPairs[0] = {250, 150, 150, 150};  // 3 x 100 / 2 pi = 47.7 < 200
  }
  seam::EstimateFocal(&l.matrix, &l.options, 0);
  // Every list is now the default triangle: its x means are 3w/4 + a/3 and
  // w/4 + a/3, so each photo contributes w / 2.
  for (auto& e : l.elements) {
    EXPECT_EQ(e.rightCount, 3);
    EXPECT_EQ(e.rightPairs[0].x1, 300 - 400 / 8);
    EXPECT_EQ(e.rightPairs[0].x2, 100 - 400 / 8);
  }
  EXPECT_NEAR(l.options.focal, 3 * 200 / (2 * kPi), 1e-9);
}

TEST(RingFocal, AnEmptyListIsNotANumberAndTriggersTheFallback) {
  Lists l(kLayoutCircle, 12, 400, 300);
  for (auto& e : l.elements) {
    e.rightCount = 2;
    e.rightPairs[0] = {290, 100, 90, 100};
    e.rightPairs[1] = {310, 200, 110, 200};
  }
  l.elements[7].rightCount = 0;
  EXPECT_TRUE(std::isnan(seam::RingFocal(l.matrix, 0)));
  seam::EstimateFocal(&l.matrix, &l.options, 0);
  EXPECT_NEAR(l.options.focal, 12 * 200 / (2 * kPi), 1e-9);
  EXPECT_EQ(l.elements[7].rightCount, 3);
}

struct GoldenCase {
  const char* name;
  double focal;  // level 0
  double yawDegrees;
  int level;
};
class GoldenSection : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenSection, RecoversTheFocalLengthOfExactCorrespondences) {
  const GoldenCase& c = GetParam();
  Lists l(kLayoutRow, 3, 640, 480);
  l.FillFromTurn(c.yawDegrees * kPi / 180, c.focal, c.level);
  seam::EstimateFocal(&l.matrix, &l.options, c.level);
  EXPECT_EQ(l.options.lensMode, kLensAutomatic);
  EXPECT_NEAR(l.options.focal, c.focal, c.focal * 0.02 * (1 << c.level));
  // The cost is smallest near the truth.
  const double zoom = 1 << c.level;
  EXPECT_LT(seam::AngleCost(l.matrix, c.level, c.focal / zoom),
            seam::AngleCost(l.matrix, c.level, 1.3 * c.focal / zoom));
  EXPECT_LT(seam::AngleCost(l.matrix, c.level, c.focal / zoom),
            seam::AngleCost(l.matrix, c.level, 0.7 * c.focal / zoom));
}

INSTANTIATE_TEST_SUITE_P(Lenses, GoldenSection,
                         ::testing::Values(GoldenCase{"normal", 550, 36, 0},
                                           GoldenCase{"wide", 380, 50, 0},
                                           GoldenCase{"long", 1400, 14, 0},
                                           GoldenCase{"normalAtLevelOne", 550, 36, 1}),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           return info.param.name;
                         });

TEST(GoldenSection, ALensShorterThanTheSearchTakesTheLongEnd) {
  // The search starts at half the longest side (320); a 150-pixel lens leaves
  // the minimum at the short end, which the estimate does not trust.
  Lists l(kLayoutRow, 2, 640, 480);
  l.FillFromTurn(70 * kPi / 180, 150, 0);
  EXPECT_EQ(seam::GoldenSectionFocal(l.matrix, 0), 5 * 640);
}

TEST(GoldenSection, APureShiftFitsAVeryLongLens) {
  Lists l(kLayoutRow, 2, 640, 480);
  StitchElement& e = l.elements[0];
  e.rightCount = 4;
  e.rightPairs[0] = {500, 100, 100, 100};
  e.rightPairs[1] = {520, 300, 120, 300};
  e.rightPairs[2] = {600, 200, 200, 200};
  e.rightPairs[3] = {450, 400, 50, 400};
  EXPECT_GT(seam::GoldenSectionFocal(l.matrix, 0), 0.95 * 5 * 640);
}

TEST(AngleCost, IsZeroWithoutPairs) {
  Lists l(kLayoutRow, 1, 640, 480);
  EXPECT_EQ(seam::AngleCost(l.matrix, 0, 500), 0);
  Lists unknown(9, 3, 640, 480);
  unknown.FillFromTurn(0.5, 500, 0);
  EXPECT_EQ(seam::AngleCost(unknown.matrix, 0, 500), 0);
}

}  // namespace
