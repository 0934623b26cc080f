#include "exposure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "test_dib.h"

namespace seam {
namespace {

using testing_support::MakeDib24;

// A grid of uniformly grey photos (128 x 96, two pyramid levels) whose right
// and upper neighbours overlap by half a photo.
class GreyGrid {
 public:
  GreyGrid(int layout, int columns, int rows) : elements_(static_cast<size_t>(columns) * rows) {
    std::memset(elements_.data(), 0, elements_.size() * sizeof(StitchElement));
    matrix_.elements = elements_.data();
    matrix_.layout = layout;
    matrix_.columns = columns;
    matrix_.rows = rows;
  }
  ~GreyGrid() {
    for (auto& p : pyramids_) {
      ReleasePyramid(p.get());
      GlobalFree(p->image[0]);
    }
  }
  void Put(int column, int row, int grey) { PutHalves(column, row, grey, grey); }
  void PutHalves(int column, int row, int left, int right) {
    const uint32_t l = static_cast<uint32_t>(left) * 0x010101u;
    const uint32_t r = static_cast<uint32_t>(right) * 0x010101u;
    HGLOBAL photo = MakeDib24(128, 96, [l, r](int x, int) { return x < 64 ? l : r; });
    auto pyramid = std::make_unique<StitchPyramid>();
    ASSERT_EQ(BuildPyramid(photo, pyramid.get()), kStitchOk);
    ASSERT_EQ(pyramid->levels, 2);
    matrix_.GetElement(column, row)->pyramid = pyramid.get();
    pyramids_.push_back(std::move(pyramid));
  }
  // Pairs at the render level `level` for an overlap of half a photo.
  void Link(int column, int row, NeighbourKind kind, int level = 0) {
    StitchElement* e = matrix_.GetElement(column, row);
    StitchPair* pairs = kind == NeighbourKind::kRight ? e->rightPairs : e->upPairs;
    for (int i = 0; i < 4; ++i) {
      const LONG x = (10 + 5 * i) >> level;
      const LONG y = (20 + 7 * i) >> level;
      if (kind == NeighbourKind::kRight)
        pairs[i] = {x + (64 >> level), y, x, y};
      else
        pairs[i] = {x, y + (48 >> level), x, y};
    }
    (kind == NeighbourKind::kRight ? e->rightCount : e->upCount) = 4;
  }
  StitchMatrix& Matrix() { return matrix_; }
  StitchElement& At(int column, int row) { return *matrix_.GetElement(column, row); }

 private:
  std::vector<StitchElement> elements_;
  StitchMatrix matrix_{};
  std::vector<std::unique_ptr<StitchPyramid>> pyramids_;
};

StitchOptions BalanceOn() {
  StitchOptions o{};
  o.exposureBalance = 1;
  o.blendPercent = 5;
  return o;
}

TEST(MeasureBrightnessStep, IsTheMeanDifferencePerColourByte) {
  GreyGrid g(kLayoutRow, 2, 1);
  g.Put(0, 0, 100);
  g.Put(1, 0, 130);
  g.Link(0, 0, NeighbourKind::kRight);
  EXPECT_EQ(MeasureBrightnessStep(g.Matrix(), 0, 0, NeighbourKind::kRight, 0), 30);
}

TEST(MeasureBrightnessStep, ListsAtACoarserRenderLevelAreScaled) {
  GreyGrid g(kLayoutRow, 2, 1);
  g.Put(0, 0, 100);
  g.Put(1, 0, 80);
  g.Link(0, 0, NeighbourKind::kRight, 1);
  EXPECT_EQ(MeasureBrightnessStep(g.Matrix(), 0, 0, NeighbourKind::kRight, 1), -20);
}

TEST(MeasureBrightnessStep, ClippedOverlapsSayNothing) {
  for (int grey : {0, 15, 240, 255}) {
    GreyGrid g(kLayoutRow, 2, 1);
    g.Put(0, 0, grey);
    g.Put(1, 0, 128);
    g.Link(0, 0, NeighbourKind::kRight);
    EXPECT_EQ(MeasureBrightnessStep(g.Matrix(), 0, 0, NeighbourKind::kRight, 0), 0) << grey;
  }
}

TEST(MeasureBrightnessStep, NoListOrNoOverlapGivesZero) {
  GreyGrid g(kLayoutRow, 2, 1);
  g.Put(0, 0, 100);
  g.Put(1, 0, 150);
  EXPECT_EQ(MeasureBrightnessStep(g.Matrix(), 0, 0, NeighbourKind::kRight, 0), 0);
  g.Link(0, 0, NeighbourKind::kRight);
  for (StitchPair& p : g.At(0, 0).rightPairs) p.x1 += 200;  // B lies past A's right edge
  EXPECT_EQ(MeasureBrightnessStep(g.Matrix(), 0, 0, NeighbourKind::kRight, 0), 0);
}

TEST(BalanceExposure, EvensOutARow) {
  GreyGrid g(kLayoutRow, 3, 1);
  const int grey[3] = {100, 115, 85};
  for (int c = 0; c < 3; ++c) g.Put(c, 0, grey[c]);
  g.Link(0, 0, NeighbourKind::kRight);
  g.Link(1, 0, NeighbourKind::kRight);
  BalanceExposure(g.Matrix(), BalanceOn(), 0);
  EXPECT_EQ(g.At(0, 0).rightBrightnessStep, 15);
  EXPECT_EQ(g.At(1, 0).rightBrightnessStep, -30);
  long sum = 0;
  for (int c = 0; c < 3; ++c) {
    sum += g.At(c, 0).exposureOffset;
    // The passes stop improving once a residual is below twice the neighbours.
    EXPECT_NEAR(grey[c] + g.At(c, 0).exposureOffset, grey[0] + g.At(0, 0).exposureOffset, 2) << c;
  }
  EXPECT_LE(std::labs(sum), 2) << "offsets stay centred on zero";
}

TEST(BalanceExposure, EvensOutAnLShapedTileGrid) {
  GreyGrid g(kLayoutTile, 2, 2);
  g.Put(0, 0, 100);
  g.Put(1, 0, 112);
  g.Put(0, 1, 90);
  g.Link(0, 0, NeighbourKind::kRight);
  g.Link(0, 0, NeighbourKind::kUp);
  BalanceExposure(g.Matrix(), BalanceOn(), 0);
  const long base = 100 + g.At(0, 0).exposureOffset;
  EXPECT_NEAR(112 + g.At(1, 0).exposureOffset, base, 1);
  EXPECT_NEAR(90 + g.At(0, 1).exposureOffset, base, 1);
  EXPECT_EQ(g.At(1, 1).exposureOffset, 0) << "the empty cell is untouched";
}

TEST(BalanceExposure, SwitchedOffLeavesOffsetsAndStepsAtZero) {
  GreyGrid g(kLayoutRow, 2, 1);
  g.Put(0, 0, 100);
  g.Put(1, 0, 130);
  g.Link(0, 0, NeighbourKind::kRight);
  g.At(0, 0).exposureOffset = 17;
  g.At(0, 0).rightBrightnessStep = 99;
  StitchOptions off = BalanceOn();
  off.exposureBalance = 0;
  BalanceExposure(g.Matrix(), off, 0);
  EXPECT_EQ(g.At(0, 0).exposureOffset, 0);
  EXPECT_EQ(g.At(1, 0).exposureOffset, 0);
  EXPECT_EQ(g.At(0, 0).rightBrightnessStep, 0);
}

TEST(BalanceExposure, ACircleWhoseStepsCloseGivesRunningSums) {
  GreyGrid g(kLayoutCircle, 4, 1);
  const int grey[4] = {100, 120, 110, 90};
  for (int c = 0; c < 4; ++c) {
    g.Put(c, 0, grey[c]);
  }
  for (int c = 0; c < 4; ++c) g.Link(c, 0, NeighbourKind::kRight);
  BalanceExposure(g.Matrix(), BalanceOn(), 0);
  const long expected[4] = {5, -15, -5, 15};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(g.At(c, 0).exposureOffset, expected[c]) << c;
  EXPECT_EQ(g.At(0, 0).rightBrightnessStep, 0) << "loop step of a closed circle";
}

TEST(BalanceExposure, ACircleSpreadsItsLoopErrorAndStoresTheLoopStep) {
  // Each photo's left and right halves differ, so the steps around the loop
  // (10, 10, -27) do not close: the error of -7 is spread over the three.
  GreyGrid g(kLayoutCircle, 3, 1);
  g.PutHalves(0, 0, 100, 100);
  g.PutHalves(1, 0, 110, 110);
  g.PutHalves(2, 0, 120, 127);
  for (int c = 0; c < 3; ++c) g.Link(c, 0, NeighbourKind::kRight);
  BalanceExposure(g.Matrix(), BalanceOn(), 0);
  EXPECT_EQ(g.At(1, 0).rightBrightnessStep, 10);
  EXPECT_EQ(g.At(2, 0).rightBrightnessStep, -27);
  EXPECT_EQ(g.At(0, 0).rightBrightnessStep, -2) << "-7 / 3, rounded";
  EXPECT_EQ(g.At(0, 0).exposureOffset, 12);
  EXPECT_EQ(g.At(1, 0).exposureOffset, 0);
  EXPECT_EQ(g.At(2, 0).exposureOffset, -12);
}

}  // namespace
}  // namespace seam
