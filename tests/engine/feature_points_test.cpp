#include "feature_points.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using seam::FeaturePoint;
using seam::PixelView;

/// A grey 24-bit image in plain memory, rows bottom-up like a DIB.
struct GreyImage {
  GreyImage(int w, int h, uint8_t background) : width(w), height(h) {
    stride = ((w * 24 + 31) / 32) * 4;
    bytes.assign(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, background);
  }
  void Set(int x, int y, uint8_t v) {
    uint8_t* p = &bytes[static_cast<size_t>(y) * stride + 3 * x];
    p[0] = p[1] = p[2] = v;
  }
  /// A horizontal two-pixel bright segment starting at (x, y) on a dark
  /// background: the detector's response is 2 B^3 / (B^2 + 1) per colour byte
  /// at each of its two pixels and 0 elsewhere, so the strongest point is
  /// (x, y) with strength 6 x floor(2 B^3 / (B^2 + 1)).
  void Domino(int x, int y, uint8_t b) {
    Set(x, y, b);
    Set(x + 1, y, b);
  }
  PixelView View() {
    PixelView v;
    v.width = width;
    v.height = height;
    v.stride = stride;
    v.bytesPerPixel = 3;
    v.bits = bytes.data();
    return v;
  }
  int width, height, stride;
  std::vector<uint8_t> bytes;
};

int DominoStrength(int b) { return 6 * (2 * b * b * b / (b * b + 1)); }

RECT Rect(LONG l, LONG t, LONG r, LONG b) {
  RECT out;
  out.left = l;
  out.top = t;
  out.right = r;
  out.bottom = b;
  return out;
}

std::vector<FeaturePoint> Detect(GreyImage& image, const RECT& rect, int columns, int rows,
                                 int minDistance, int percent) {
  std::vector<FeaturePoint> out(columns * rows);
  int count = -1;
  EXPECT_EQ(seam::DetectFeatures(image.View(), rect, columns, rows, minDistance, percent,
                                 out.data(), &count),
            kStitchOk);
  out.resize(count < 0 ? 0 : count);
  return out;
}

TEST(DetectFeatures, FlatImageHasNoPoints) {
  GreyImage image(40, 30, 128);
  EXPECT_TRUE(Detect(image, Rect(0, 0, 40, 30), 4, 3, 3, 10).empty());
}

TEST(DetectFeatures, ASegmentIsFoundAtItsFirstPixel) {
  GreyImage image(40, 30, 0);
  image.Domino(10, 12, 100);
  const auto points = Detect(image, Rect(0, 0, 40, 30), 1, 1, 3, 10);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].x, 10);
  EXPECT_EQ(points[0].y, 12);
}

TEST(DetectFeatures, RectangleIsClippedToLeaveAOnePixelBorder) {
  GreyImage image(20, 20, 0);
  // Segments touching the border: only pixels 1 to 18 are examined, so the
  // segment on columns 0-1 keeps only its response at column 1, which the pixel
  // below shares as a neighbour and, scanned first, wins; the one on row 0 is
  // not seen at all.
  image.Domino(0, 10, 200);
  image.Domino(8, 0, 200);
  const auto points = Detect(image, Rect(-5, -5, 40, 40), 1, 1, 3, 10);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].x, 1);
  EXPECT_EQ(points[0].y, 9);
  EXPECT_TRUE(Detect(image, Rect(0, 0, 1, 20), 1, 1, 3, 10).empty());
}

struct SuppressionCase {
  const char* name;
  int leftBrightness;
  int rightBrightness;
  int gap;  // distance in x and in y between the two points
  int expectedCount;
  int survivorX;  // x of the first point returned
};
class DetectSuppression : public ::testing::TestWithParam<SuppressionCase> {};

TEST_P(DetectSuppression, TheWeakerOfTwoClosePointsGoesTheLaterOnATie) {
  const SuppressionCase& c = GetParam();
  // Rect columns 1 to 38: two cells split at x = 20.
  GreyImage image(40, 30, 0);
  image.Domino(17, 10, static_cast<uint8_t>(c.leftBrightness));
  image.Domino(17 + c.gap, 10 + c.gap, static_cast<uint8_t>(c.rightBrightness));
  const auto points = Detect(image, Rect(1, 1, 39, 29), 2, 1, 3, 10);
  ASSERT_EQ(static_cast<int>(points.size()), c.expectedCount);
  EXPECT_EQ(points[0].x, c.survivorX);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectSuppression,
    ::testing::Values(SuppressionCase{"tieKeepsEarlier", 100, 100, 3, 1, 17},
                      SuppressionCase{"strongerLaterWins", 60, 100, 3, 1, 20},
                      SuppressionCase{"strongerEarlierWins", 100, 60, 3, 1, 17},
                      SuppressionCase{"fourApartBothKept", 100, 100, 4, 2, 17}),
    [](const ::testing::TestParamInfo<SuppressionCase>& info) { return info.param.name; });

struct ThresholdCase {
  const char* name;
  int weakBrightness;
  int percent;
  bool weakKept;
};
class DetectThreshold : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(DetectThreshold, PointsMustExceedAPercentageOfTheStrongestCappedAtTwenty) {
  const ThresholdCase& c = GetParam();
  GreyImage image(60, 20, 0);
  image.Domino(10, 10, 100);  // strength 1194
  image.Domino(40, 10, static_cast<uint8_t>(c.weakBrightness));
  const auto points = Detect(image, Rect(1, 1, 59, 19), 2, 1, 3, c.percent);
  EXPECT_EQ(points.size(), c.weakKept ? 2u : 1u);
}

// Strengths: B = 2 gives 18, 3 gives 30, 100 gives 1194. With 10 % the threshold
// is min(119, 20) = 20; with 1 % it is 11; with 2 % it is 23 -> 20 capped.
INSTANTIATE_TEST_SUITE_P(
    Cases, DetectThreshold,
    ::testing::Values(ThresholdCase{"cappedAtTwentyKeepsThirty", 3, 10, true},
                      ThresholdCase{"cappedAtTwentyDropsEighteen", 2, 10, false},
                      ThresholdCase{"onePercentKeepsEighteen", 2, 1, true},
                      ThresholdCase{"fiftyPercentStillCapped", 3, 50, true}),
    [](const ::testing::TestParamInfo<ThresholdCase>& info) { return info.param.name; });

TEST(DetectFeatures, StrengthEqualToTheThresholdIsDropped) {
  EXPECT_EQ(DominoStrength(2), 18);
  EXPECT_EQ(DominoStrength(3), 30);
  GreyImage image(60, 20, 0);
  image.Domino(10, 10, 3);  // 30: the strongest; 66 % of it is 19, 67 % is 20
  image.Domino(40, 10, 2);  // 18
  // With 60 %: threshold 18: the 18 is not above it.
  EXPECT_EQ(Detect(image, Rect(1, 1, 59, 19), 2, 1, 3, 60).size(), 1u);
  EXPECT_EQ(Detect(image, Rect(1, 1, 59, 19), 2, 1, 3, 59).size(), 2u);  // threshold 17
}

TEST(DetectFeatures, OutputIsInCellOrderRowsOfCellsOuter) {
  GreyImage image(42, 42, 0);
  image.Domino(30, 8, 100);   // cell (1, 0)
  image.Domino(8, 30, 100);   // cell (0, 1)
  image.Domino(8, 8, 100);    // cell (0, 0)
  const auto points = Detect(image, Rect(1, 1, 41, 41), 2, 2, 3, 10);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].x, 8);
  EXPECT_EQ(points[0].y, 8);
  EXPECT_EQ(points[1].x, 30);
  EXPECT_EQ(points[2].y, 30);
}

TEST(DetectFeatures, FailedWorkingBufferIsOutOfMemory) {
  GreyImage image(40, 30, 0);
  image.Domino(10, 12, 100);
  std::vector<FeaturePoint> out(4);
  int count = 7;
  for (int allowed = 0; allowed < 3; ++allowed) {
    seam::FailEngineAllocationsAfter(allowed);
    EXPECT_EQ(seam::DetectFeatures(image.View(), Rect(0, 0, 40, 30), 2, 2, 3, 10, out.data(),
                                   &count),
              kStitchOutOfMemory);
    EXPECT_EQ(count, 0);
  }
  seam::FailEngineAllocationsAfter(-1);
}

// ---- template match ------------------------------------------------------------

/// A textured colour image: every byte differs from its neighbours.
struct TexturedImage : GreyImage {
  TexturedImage(int w, int h, int shiftX, int shiftY, int offset) : GreyImage(w, h, 0) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const unsigned u = static_cast<unsigned>(x + shiftX), v = static_cast<unsigned>(y + shiftY);
        uint8_t* p = &bytes[static_cast<size_t>(y) * stride + 3 * x];
        for (int c = 0; c < 3; ++c) {
          const unsigned hsh = (u * 73856093u) ^ (v * 19349663u) ^ (c * 83492791u);
          p[c] = static_cast<uint8_t>(40 + (hsh >> 7) % 150 + offset);
        }
      }
  }
};

TEST(TemplateMatch, FindsTheShiftedBlockDespiteABrightnessOffset) {
  TexturedImage q(40, 40, 0, 0, 0);
  TexturedImage p(40, 40, -5, 3, 25);  // p(x, y) = q(x - 5, y + 3) + 25
  const seam::MatchTemplate t = seam::TakeTemplate(q.View(), 20, 20);
  ASSERT_TRUE(t.valid);
  LONG x = -1, y = -1;
  const double contrast = seam::FindTemplate(p.View(), t, Rect(10, 8, 40, 40), &x, &y);
  EXPECT_EQ(contrast, t.contrast);
  EXPECT_GT(contrast, 3.0);
  EXPECT_EQ(x, 25);
  EXPECT_EQ(y, 17);
}

TEST(TemplateMatch, ContrastIsTheDeviationsRootMeanSquare) {
  GreyImage q(16, 16, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 8; x < 16; ++x) q.Set(x, y, 100);
  // The block from (4, 4) to (11, 11): half 0, half 100; means (3200 + 32) / 64
  // = 50, deviations -50 and +50.
  const seam::MatchTemplate t = seam::TakeTemplate(q.View(), 8, 8);
  EXPECT_DOUBLE_EQ(t.contrast, 50.0);
  GreyImage flat(16, 16, 77);
  EXPECT_EQ(seam::TakeTemplate(flat.View(), 8, 8).contrast, 0.0);
}

TEST(TemplateMatch, TemplateOutsideQIsNeverAMatch) {
  GreyImage q(16, 16, 9);
  EXPECT_FALSE(seam::TakeTemplate(q.View(), 3, 8).valid);   // starts at x = -1
  EXPECT_FALSE(seam::TakeTemplate(q.View(), 8, 13).valid);  // ends at row 16
  EXPECT_TRUE(seam::TakeTemplate(q.View(), 4, 12).valid);
  LONG x = 5, y = 6;
  EXPECT_EQ(seam::FindTemplate(q.View(), seam::TakeTemplate(q.View(), 3, 8), Rect(0, 0, 16, 16),
                               &x, &y),
            0.0);
  EXPECT_EQ(x, 5);
}

TEST(TemplateMatch, WindowSmallerThanEightLeavesThePositionAlone) {
  TexturedImage q(40, 40, 0, 0, 0);
  const seam::MatchTemplate t = seam::TakeTemplate(q.View(), 20, 20);
  LONG x = 123, y = 456;
  EXPECT_EQ(seam::FindTemplate(q.View(), t, Rect(10, 10, 17, 30), &x, &y), 0.0);
  EXPECT_EQ(seam::FindTemplate(q.View(), t, Rect(10, 10, 30, 17), &x, &y), 0.0);
  // Clipping to the photo can make a window too small as well.
  EXPECT_EQ(seam::FindTemplate(q.View(), t, Rect(35, -20, 60, 60), &x, &y), 0.0);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 456);
}

TEST(TemplateMatch, TiesGoToTheFirstBlockInRowMajorOrder) {
  TexturedImage q(40, 40, 0, 0, 0);
  GreyImage flat(40, 40, 90);  // every block costs the same
  const seam::MatchTemplate t = seam::TakeTemplate(q.View(), 20, 20);
  LONG x = 0, y = 0;
  seam::FindTemplate(flat.View(), t, Rect(7, 11, 30, 34), &x, &y);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 15);
}

}  // namespace
