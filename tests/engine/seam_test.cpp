#include "seam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace seam {
namespace {

// A small in-memory image pair for seam blends: 24-bit pixels and an 8-bit
// mask, row 0 first, no padding beyond the 4-byte stride.
struct Image {
  int width;
  int height;
  int bpp;
  std::vector<uint8_t> bytes;
  Image(int w, int h, int bytesPerPixel, uint8_t fill)
      : width(w), height(h), bpp(bytesPerPixel),
        bytes(static_cast<size_t>(DibStride(w, 8 * bytesPerPixel)) * h, fill) {}
  PixelView View() {
    return PixelView{width, height, DibStride(width, 8 * bpp), bpp, bytes.data()};
  }
  uint8_t* At(int x, int y) { return View().Row(y) + bpp * x; }
};

CostGrid MakeGrid(int w, int h, const std::vector<int>& values) {
  CostGrid g;
  EXPECT_TRUE(g.Make(w, h, 0));
  for (int i = 0; i < w * h; ++i) g.cells[static_cast<size_t>(i)] = values[static_cast<size_t>(i)];
  return g;
}

// A path is one cell per row over consecutive rows, ordered from the last row
// to the first, stepping at most one column from row to row, never blocked.
void ExpectConnectedPath(const CostGrid& g, const SeamPath& path, int maxStep = 1) {
  for (int k = 0; k < path.Count(); ++k) {
    EXPECT_NE(g.At(path[k].row, path[k].column), kBlockedCost) << "point " << k;
    if (k == 0) continue;
    EXPECT_EQ(path[k].row, path[k - 1].row - 1);
    EXPECT_LE(std::abs(path[k].column - path[k - 1].column), maxStep);
  }
}

struct LevelCase {
  int width;
  int height;
  int levels;
};
class CostPyramidLevelsTest : public ::testing::TestWithParam<LevelCase> {};
TEST_P(CostPyramidLevelsTest, HalvesWhileShorterSideIsAtLeast64) {
  EXPECT_EQ(CostPyramidLevels(GetParam().width, GetParam().height), GetParam().levels);
}
INSTANTIATE_TEST_SUITE_P(Boundaries, CostPyramidLevelsTest,
                         ::testing::Values(LevelCase{63, 400, 1}, LevelCase{64, 64, 2},
                                           LevelCase{400, 127, 2}, LevelCase{128, 128, 3},
                                           LevelCase{1 << 20, 1 << 20, 10}, LevelCase{1, 1, 1}),
                         [](const ::testing::TestParamInfo<LevelCase>& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(HalveCostGrid, AveragesTwoByTwoAndDropsOddEdge) {
  const CostGrid g = MakeGrid(5, 3, {0, 1, 2, 3, 9,  //
                                     4, 7, 8, 8, 9,  //
                                     9, 9, 9, 9, 9});
  CostGrid half;
  ASSERT_TRUE(HalveCostGrid(g, half));
  EXPECT_EQ(half.width, 2);
  EXPECT_EQ(half.height, 1);
  EXPECT_EQ(half.At(0, 0), 3);  // 12 / 4
  EXPECT_EQ(half.At(0, 1), 5);  // 21 / 4, truncated
}

TEST(FindCheapestPath, FollowsAZeroValley) {
  // Cost 50 everywhere but a valley that drifts one column left per row.
  const int w = 12, h = 8;
  std::vector<int> v(static_cast<size_t>(w * h), 50);
  // Starts at column 9, one of the tried start cells (every third). The end
  // row is scanned only up to the previous candidate's end column, so a
  // valley that ends further left is the one a later candidate can win with.
  for (int r = 0; r < h; ++r) v[static_cast<size_t>(r * w + 9 - r)] = 0;
  const CostGrid g = MakeGrid(w, h, v);
  SeamPath path;
  FindCheapestPath(g, path);
  ASSERT_EQ(path.Count(), h);
  ExpectConnectedPath(g, path);
  for (int k = 0; k < h; ++k) {
    EXPECT_EQ(path[k].row, h - 1 - k);
    EXPECT_EQ(path[k].column, 9 - path[k].row);
  }
}

TEST(FindCheapestPath, SpansOnlyRowsWithUnblockedCells) {
  const int w = 6, h = 7;
  std::vector<int> v(static_cast<size_t>(w * h), kBlockedCost);
  for (int r = 2; r <= 4; ++r)
    for (int c = 1; c < 5; ++c) v[static_cast<size_t>(r * w + c)] = 10;
  const CostGrid g = MakeGrid(w, h, v);
  SeamPath path;
  FindCheapestPath(g, path);
  ASSERT_EQ(path.Count(), 3);
  EXPECT_EQ(path[0].row, 4);
  EXPECT_EQ(path[2].row, 2);
  ExpectConnectedPath(g, path);
}

TEST(FindCheapestPath, EmptyWhenEverythingIsBlocked) {
  const CostGrid g = MakeGrid(4, 4, std::vector<int>(16, kBlockedCost));
  SeamPath path;
  FindCheapestPath(g, path);
  EXPECT_EQ(path.Count(), 0);
}

TEST(FindCheapestPath, RandomGridsGiveConnectedUnblockedPaths) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 40; ++trial) {
    const int w = 3 + static_cast<int>(rng() % 30);
    const int h = 2 + static_cast<int>(rng() % 30);
    std::vector<int> v(static_cast<size_t>(w * h));
    for (int& x : v) x = (rng() % 10 == 0) ? kBlockedCost : static_cast<int>(rng() % 100);
    // One guaranteed unblocked column so a path exists.
    for (int r = 0; r < h; ++r) v[static_cast<size_t>(r * w)] = 5;
    const CostGrid g = MakeGrid(w, h, v);
    SeamPath path;
    FindCheapestPath(g, path);
    ASSERT_EQ(path.Count(), h) << "trial " << trial;
    ExpectConnectedPath(g, path);
    long long cost = 0;
    for (int k = 0; k < path.Count(); ++k) cost += g.At(path[k].row, path[k].column);
    EXPECT_LE(cost, 5LL * h) << "never worse than the guaranteed column";
  }
}

TEST(RefinePath, PicksTheCheapestPatternAndAppendsLowerRowFirst) {
  // Coarse point (0, 0) stands for the block rows 0-1, columns 0-1.
  const CostGrid fine = MakeGrid(2, 2, {9, 1,  //
                                        1, 9});
  SeamPath coarse;
  coarse.Append({0, 0});
  SeamPath out;
  RefinePath(coarse, fine, false, out);
  ASSERT_EQ(out.Count(), 2);
  // Top-right with bottom-left wins (1 + 1).
  EXPECT_EQ(out[0].row, 1);
  EXPECT_EQ(out[0].column, 0);
  EXPECT_EQ(out[1].row, 0);
  EXPECT_EQ(out[1].column, 1);
}

TEST(RefinePath, TiesGoToTheLeftColumnAndBlockedCellsDropOnTheLastStep) {
  const CostGrid fine = MakeGrid(2, 2, {kBlockedCost, kBlockedCost,  //
                                        3, 3});
  SeamPath coarse;
  coarse.Append({0, 0});
  SeamPath out;
  RefinePath(coarse, fine, false, out);
  ASSERT_EQ(out.Count(), 2);
  EXPECT_EQ(out[0].column, 0);
  EXPECT_EQ(out[1].column, 0);
  RefinePath(coarse, fine, true, out);
  ASSERT_EQ(out.Count(), 1);
  EXPECT_EQ(out[0].row, 1);
}

TEST(FindSeam, RefinesACoarseSearchOntoTheFullGrid) {
  const int w = 128, h = 128;
  std::vector<int> v(static_cast<size_t>(w * h), 40);
  for (int r = 0; r < h; ++r) v[static_cast<size_t>(r * w + 70)] = 0;
  const CostGrid g = MakeGrid(w, h, v);
  SeamPath path;
  ASSERT_TRUE(FindSeam(g, path));
  ASSERT_EQ(path.Count(), h);
  // Refined blocks of neighbouring coarse cells can sit up to 3 columns apart.
  ExpectConnectedPath(g, path, 3);
  int onValley = 0;
  for (int k = 0; k < path.Count(); ++k) onValley += path[k].column == 70;
  EXPECT_GE(onValley, h / 2);
}

TEST(SeamPath, GrowsByTheGivenStepOrAnEighthClamped) {
  SeamPath stepped(10);
  stepped.Append({0, 0});
  EXPECT_EQ(stepped.Capacity(), 10);
  for (int i = 0; i < 10; ++i) stepped.Append({i, i});
  EXPECT_EQ(stepped.Capacity(), 20);
  SeamPath automatic;
  automatic.Append({0, 0});
  EXPECT_EQ(automatic.Capacity(), 4);
  for (int i = 0; i < 100; ++i) automatic.Append({i, 0});
  EXPECT_EQ(automatic.Count(), 101);
  EXPECT_EQ(automatic[100].row, 99);
}

// Layer and target over the same rectangle, both fully covered.
struct Pair {
  Image layer, layerMask, target, targetMask;
  Pair(int w, int h, uint8_t layerValue, uint8_t targetValue)
      : layer(w, h, 3, layerValue), layerMask(w, h, 1, 255), target(w, h, 3, targetValue),
        targetMask(w, h, 1, 255) {}
  bool Blend(SeamDirectionKind d) {
    const RECT r{0, 0, layer.width, layer.height};
    return SeamBlend(r, r, r, layer.View(), layerMask.View(), target.View(), targetMask.View(),
                     d);
  }
};

TEST(SeamBlend, SmallDifferenceMeetsAtTheMeanAndKeepsBothEnds) {
  // 15 per channel: a mean seam cost of 45, just at the limit.
  Pair p(80, 40, 115, 100);
  ASSERT_TRUE(p.Blend(SeamDirectionKind::kAcrossColumns));
  const int y = 20;
  // Far left: the target's own colour; far right: the layer's.
  EXPECT_EQ(p.layer.At(0, y)[0], 100);
  EXPECT_EQ(p.layer.At(79, y)[0], 115);
  // Smooth across the row apart from the seam pixel itself, which keeps the
  // layer's own colour: at most two steps (into and out of it) above 4 levels.
  int jumps = 0;
  for (int x = 1; x < 80; ++x) {
    EXPECT_GE(p.layer.At(x, y)[1], 100);
    EXPECT_LE(p.layer.At(x, y)[1], 115);
    jumps += std::abs(p.layer.At(x, y)[1] - p.layer.At(x - 1, y)[1]) > 4;
  }
  EXPECT_LE(jumps, 2);
  EXPECT_GT(p.layer.At(15, y)[1], 100) << "the ramp lifts the target side";
  // Every pixel stays covered except the seam itself.
  int uncovered = 0;
  for (int x = 0; x < 80; ++x) uncovered += p.layerMask.At(x, y)[0] == 0;
  EXPECT_EQ(uncovered, 0) << "the seam pixel keeps the layer's own mask";
}

TEST(SeamBlend, LargeDifferenceCrossFadesOverTheMiddleQuarter) {
  Pair p(80, 10, 200, 40);
  ASSERT_TRUE(p.Blend(SeamDirectionKind::kAcrossColumns));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 30; ++x) EXPECT_EQ(p.layer.At(x, y)[2], 40);
    EXPECT_EQ(p.layer.At(30, y)[2], 40);  // t = 0 at j
    EXPECT_EQ(p.layer.At(50, y)[2], 200);  // t = 1 at k
    for (int x = 31; x <= 50; ++x) EXPECT_GT(p.layer.At(x, y)[2], p.layer.At(x - 1, y)[2]);
    for (int x = 51; x < 80; ++x) EXPECT_EQ(p.layer.At(x, y)[2], 200);
  }
}

TEST(SeamBlend, AcrossRowsIsTheTransposeOfAcrossColumns) {
  std::mt19937 rng(3);
  const int w = 70, h = 50;
  Pair cols(w, h, 0, 0);
  Pair rows(h, w, 0, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        const uint8_t a = static_cast<uint8_t>(100 + x / 3 + rng() % 8);
        const uint8_t b = static_cast<uint8_t>(110 + y / 4 + rng() % 8);
        cols.layer.At(x, y)[ch] = a;
        cols.target.At(x, y)[ch] = b;
        rows.layer.At(y, x)[ch] = a;
        rows.target.At(y, x)[ch] = b;
      }
  ASSERT_TRUE(cols.Blend(SeamDirectionKind::kAcrossColumns));
  ASSERT_TRUE(rows.Blend(SeamDirectionKind::kAcrossRows));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ASSERT_EQ(cols.layerMask.At(x, y)[0], rows.layerMask.At(y, x)[0]) << x << "," << y;
      for (int ch = 0; ch < 3; ++ch)
        ASSERT_EQ(cols.layer.At(x, y)[ch], rows.layer.At(y, x)[ch]) << x << "," << y;
    }
}

TEST(SeamBlend, NarrowCropGetsNoRampButTheSeamStillChooses) {
  Pair p(7, 30, 125, 110);
  ASSERT_TRUE(p.Blend(SeamDirectionKind::kAcrossColumns));
  for (int y = 0; y < 30; ++y) {
    // Pure target up to the seam, pure layer from it on: no value in between.
    for (int x = 0; x < 7; ++x) {
      const int v = p.layer.At(x, y)[0];
      EXPECT_TRUE(v == 110 || v == 125) << x << "," << y << ": " << v;
      if (x > 0) {
        EXPECT_GE(v, p.layer.At(x - 1, y)[0]);
      }
    }
  }
}

TEST(SeamBlend, DisjointRectanglesChangeNothing) {
  Pair p(20, 20, 130, 110);
  const RECT layerRect{0, 0, 20, 20};
  const RECT targetRect{30, 0, 50, 20};
  const std::vector<uint8_t> before = p.layer.bytes;
  ASSERT_TRUE(SeamBlend(layerRect, layerRect, targetRect, p.layer.View(), p.layerMask.View(),
                        p.target.View(), p.targetMask.View(), SeamDirectionKind::kAcrossColumns));
  EXPECT_EQ(p.layer.bytes, before);
}

TEST(SeamBlend, TargetOnlyPixelsLeftOfTheSeamJoinTheLayer) {
  Pair p(60, 30, 115, 100);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 20; ++x) p.layerMask.At(x, y)[0] = 0, p.layer.At(x, y)[0] = 255;
  ASSERT_TRUE(p.Blend(SeamDirectionKind::kAcrossColumns));
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(p.layerMask.At(x, y)[0], 255);
      EXPECT_EQ(p.layer.At(x, y)[0], 100);
    }
}

TEST(SeamBlend, OutOfMemoryLeavesTheLayerAlone) {
  Pair p(40, 40, 130, 110);
  const std::vector<uint8_t> before = p.layer.bytes;
  for (int allowed = 0; allowed < 6; ++allowed) {
    FailEngineAllocationsAfter(allowed);
    const bool ok = p.Blend(SeamDirectionKind::kAcrossColumns);
    FailEngineAllocationsAfter(-1);
    if (ok) break;
    EXPECT_EQ(p.layer.bytes, before) << "allowed " << allowed;
  }
}

TEST(Paste, CopiesMaskedPixelsInsideTheAreaOnly) {
  Image src(4, 4, 3, 9), srcMask(4, 4, 1, 0), dst(6, 6, 3, 255), dstMask(6, 6, 1, 0);
  srcMask.At(0, 0)[0] = 255;
  srcMask.At(3, 3)[0] = 255;
  srcMask.At(1, 2)[0] = 255;
  const RECT srcRect{10, 20, 14, 24};
  const RECT dstRect{9, 19, 15, 25};
  const RECT area{10, 20, 13, 24};  // leaves out source column 3
  Paste(area, srcRect, dstRect, src.View(), srcMask.View(), dst.View(), dstMask.View());
  EXPECT_EQ(dst.At(1, 1)[0], 9);
  EXPECT_EQ(dstMask.At(1, 1)[0], 255);
  EXPECT_EQ(dst.At(2, 3)[1], 9);
  EXPECT_EQ(dst.At(4, 4)[0], 255);
  EXPECT_EQ(dstMask.At(4, 4)[0], 0);
  int marked = 0;
  for (uint8_t b : dstMask.bytes) marked += b == 255;
  EXPECT_EQ(marked, 2);
}

TEST(Rects, IntersectionOfDisjointRectanglesIsEmpty) {
  EXPECT_TRUE(RectEmpty(IntersectRects(RECT{0, 0, 5, 5}, RECT{5, 0, 9, 5})));
  const RECT u = UniteRects(RECT{0, 0, 5, 5}, RECT{7, -2, 9, 3});
  EXPECT_EQ(u.left, 0);
  EXPECT_EQ(u.top, -2);
  EXPECT_EQ(u.right, 9);
  EXPECT_EQ(u.bottom, 5);
}

}  // namespace
}  // namespace seam
