#include "align.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine_dib.h"
#include "focal.h"
#include "synthetic_scene.h"
#include "synthetic_stitch.h"
#include "test_dib.h"

namespace {

using seam::NeighbourPair;
using seam::PairKind;
using testing_support::SyntheticSet;
using testing_support::SyntheticSetup;
using testing_support::SyntheticStitch;

/// Every callback call of one Align, and an optional cancellation point.
struct ProgressLog {
  std::vector<int> values;
  int cancelAt = -1;  // sets the cancellation state on the first value >= this
};
ProgressLog* g_log = nullptr;

int RecordProgress(int percent) {
  g_log->values.push_back(percent);
  if (g_log->cancelAt >= 0 && percent >= g_log->cancelAt) SetProgressState(1);
  return 0;
}

class AlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgressState(0);
    g_log = &log;
  }
  void TearDown() override {
    SetProgressState(0);
    seam::FailEngineAllocationsAfter(-1);
    g_log = nullptr;
  }
  ProgressLog log;
};

const double* SolvedRotation(SyntheticStitch& stitch, const NeighbourPair& p) {
  StitchElement& e = stitch.Element(p.column, p.row);
  return p.kind == PairKind::kRight ? e.rightRotation : e.upRotation;
}

double WorstPairError(const SyntheticSet& set, SyntheticStitch& stitch) {
  double worst = 0;
  for (const NeighbourPair& p : seam::LayoutPairs(stitch.matrix)) {
    double truth[9];
    set.TrueRelative(p.column, p.row, p.neighbourColumn, p.neighbourRow, truth);
    worst = std::fmax(worst,
                      testing_support::RotationDistanceDegrees(truth, SolvedRotation(stitch, p)));
  }
  return worst;
}

// ---- end to end on every layout ------------------------------------------------

struct LayoutCase {
  const char* name;
  int layout;
  int columns;
  int rows;
  double focal;
  std::vector<int> emptyCells;
};

SyntheticSetup SetupOf(const LayoutCase& c) {
  SyntheticSetup scene;
  scene.layout = c.layout;
  scene.columns = c.columns;
  scene.rows = c.rows;
  scene.focal = c.focal;
  scene.emptyCells = c.emptyCells;
  scene.jitterDegrees = 1.5;  // a hand-held camera: small extra turns and roll
  scene.noise = 2;
  scene.seed = 11 + c.layout;
  return scene;
}

std::string NameOf(const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; }

class AlignLayout : public AlignTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(AlignLayout, RecoversEveryPairRotationAtFullDetail) {
  const LayoutCase& c = GetParam();
  const SyntheticSetup scene = SetupOf(c);
  SyntheticSet set(scene);
  SyntheticStitch stitch(set);
  ASSERT_EQ(stitch.buildResult, kStitchOk);
  stitch.options.detail = 0;
  stitch.options.lensMode = kLensGiven;
  stitch.options.focal = c.focal;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchOk);
  EXPECT_EQ(stitch.options.focal, c.focal);
  EXPECT_EQ(stitch.options.lensMode, kLensGiven);
  const std::vector<NeighbourPair> pairs = seam::LayoutPairs(stitch.matrix);
  ASSERT_FALSE(pairs.empty());
  for (const NeighbourPair& p : pairs) {
    double truth[9];
    set.TrueRelative(p.column, p.row, p.neighbourColumn, p.neighbourRow, truth);
    const double error =
        testing_support::RotationDistanceDegrees(truth, SolvedRotation(stitch, p));
    EXPECT_LT(error, 0.15) << "pair (" << p.column << ", " << p.row << ")"
                           << (p.kind == PairKind::kRight ? " right" : " up");
    StitchElement& e = stitch.Element(p.column, p.row);
    const LONG count = p.kind == PairKind::kRight ? e.rightCount : e.upCount;
    // The winning sample's inliers, as many as the list holds: on these
    // richly textured photos more than the sample of six.
    EXPECT_GT(count, 6);
    EXPECT_LE(count, kStitchMaxPairs);
    // The overlap rectangles lie inside both photos and have the same size.
    const RECT& here = p.kind == PairKind::kRight ? e.rightOverlap : e.upOverlap;
    const RECT& there = p.kind == PairKind::kRight ? e.rightOverlapThere : e.upOverlapThere;
    EXPECT_GE(here.left, 0);
    EXPECT_LE(here.right, scene.width);
    EXPECT_LT(here.left, here.right);
    EXPECT_LT(here.top, here.bottom);
    EXPECT_EQ(here.right - here.left, there.right - there.left);
    EXPECT_EQ(here.bottom - here.top, there.bottom - there.top);
  }
  std::printf("[ measured ] %s: worst pair rotation error %.3f deg with the true focal length\n",
              c.name, WorstPairError(set, stitch));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AlignLayout,
    ::testing::Values(LayoutCase{"row", kLayoutRow, 4, 1, 550, {}},
                      LayoutCase{"column", kLayoutColumn, 1, 4, 550, {}},
                      LayoutCase{"tileGrid", kLayoutTile, 3, 2, 550, {}},
                      LayoutCase{"tileGridWithEmptyCell", kLayoutTile, 3, 2, 550, {5}},
                      LayoutCase{"circle", kLayoutCircle, 12, 1, 550, {}}),
    NameOf);

class AlignFocal : public AlignTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(AlignFocal, AutomaticEstimateIsWithinFivePercent) {
  const LayoutCase& c = GetParam();
  SyntheticSet set(SetupOf(c));
  SyntheticStitch stitch(set);
  stitch.options.detail = 0;
  stitch.options.lensMode = kLensAutomatic;
  stitch.options.focal = 0;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchOk);
  EXPECT_EQ(stitch.options.lensMode, kLensAutomatic);
  const double error = stitch.options.focal / c.focal - 1;
  std::printf("[ measured ] %s: automatic focal %.1f for %.1f (%+.2f %%), worst pair %.3f deg\n",
              c.name, stitch.options.focal, c.focal, 100 * error, WorstPairError(set, stitch));
  EXPECT_LT(std::fabs(error), 0.05);
}

// The ring estimate counts pixels of travel as arc length, so it runs long by
// about tan(t) / t for overlaps centred t from the axis: 3 % for 30-degree
// steps and a 49-degree lens.
INSTANTIATE_TEST_SUITE_P(Layouts, AlignFocal,
                         ::testing::Values(LayoutCase{"row", kLayoutRow, 4, 1, 550, {}},
                                           LayoutCase{"circle", kLayoutCircle, 12, 1, 700, {}}),
                         NameOf);

// ---- determinism, progress, cancellation -------------------------------------------

SyntheticSetup SmallRow(int count) {
  SyntheticSetup scene;
  scene.layout = kLayoutRow;
  scene.columns = count;
  scene.width = 320;
  scene.height = 240;
  scene.focal = 280;
  scene.jitterDegrees = 1;
  return scene;
}

TEST_F(AlignTest, IdenticalInputGivesIdenticalLists) {
  SyntheticSet set(SmallRow(3));
  std::vector<StitchElement> first;
  double firstFocal = 0;
  for (int run = 0; run < 2; ++run) {
    SyntheticStitch stitch(set);
    stitch.options.detail = 0;
    ASSERT_EQ(Align(&stitch.matrix, &stitch.options, nullptr), kStitchOk);
    std::vector<StitchElement> elements;
    for (int c = 0; c < 3; ++c) elements.push_back(stitch.Element(c, 0));
    if (run == 0) {
      first = elements;
      firstFocal = stitch.options.focal;
      continue;
    }
    EXPECT_EQ(stitch.options.focal, firstFocal);
    for (int c = 0; c < 2; ++c) {
      ASSERT_EQ(elements[c].rightCount, first[c].rightCount);
      EXPECT_EQ(std::memcmp(elements[c].rightPairs, first[c].rightPairs,
                            sizeof(StitchPair) * elements[c].rightCount),
                0);
      EXPECT_EQ(std::memcmp(elements[c].rightRotation, first[c].rightRotation, sizeof(double) * 9),
                0);
    }
  }
}

TEST_F(AlignTest, ProgressNeverDecreasesAndEndsAtExactlyFifty) {
  SyntheticSet set(SmallRow(3));
  SyntheticStitch stitch(set);
  stitch.options.detail = 0;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchOk);
  ASSERT_FALSE(log.values.empty());
  EXPECT_EQ(log.values.front(), 0);
  EXPECT_EQ(log.values.back(), 50);
  for (size_t i = 1; i < log.values.size(); ++i) EXPECT_GE(log.values[i], log.values[i - 1]);
  // The coarse search and each level reach their own milestones.
  // Levels 2, 1, 0 share 30 to 50 as 30-36, 36-43, 43-50, the two pairs
  // splitting each finer slot.
  for (int milestone : {15, 30, 36, 39, 43, 46})
    EXPECT_NE(std::find(log.values.begin(), log.values.end(), milestone), log.values.end())
        << milestone;
}

TEST_F(AlignTest, CancellingDuringTheCoarseSearchReturnsBeforeAnyRotationIsWritten) {
  SyntheticSet set(SmallRow(3));
  SyntheticStitch stitch(set);
  for (int c = 0; c < 3; ++c)
    for (double& v : stitch.Element(c, 0).rightRotation) v = 42;
  log.cancelAt = 10;
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchCancelled);
  EXPECT_LT(log.values.back(), 30);
  for (int c = 0; c < 3; ++c)
    for (double v : stitch.Element(c, 0).rightRotation) EXPECT_EQ(v, 42);
  // A callback that only returns nonzero does not stop anything.
  SetProgressState(0);
  log.cancelAt = -1;
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, [](int) { return 1; }), kStitchOk);
}

TEST_F(AlignTest, CancellationSetBeforehandStopsAtTheFirstReport) {
  SyntheticSet set(SmallRow(2));
  SyntheticStitch stitch(set);
  SetProgressState(1);
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchCancelled);
  EXPECT_EQ(log.values, std::vector<int>{0});
}

TEST_F(AlignTest, CancellingAtAFinerLevelStopsThere) {
  SyntheticSet set(SmallRow(3));
  SyntheticStitch stitch(set);
  stitch.options.detail = 0;
  log.cancelAt = 40;
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchCancelled);
  EXPECT_EQ(log.values.back(), 43);  // the start of level 0's slot
}

// ---- levels, lenses, layouts ---------------------------------------------------------

TEST_F(AlignTest, SingleLevelPyramidJumpsFromThirtyToFifty) {
  SyntheticSetup scene = SmallRow(2);
  scene.width = 80;
  scene.height = 60;  // shorter side below 64: level 0 only
  scene.focal = 70;
  scene.yawStepDegrees = 30;
  SyntheticSet set(scene);
  SyntheticStitch stitch(set);
  stitch.options.detail = 2;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchOk);
  std::vector<int> after30(std::find(log.values.begin(), log.values.end(), 30), log.values.end());
  EXPECT_EQ(after30, (std::vector<int>{30, 50}));
  const StitchElement& e = stitch.Element(0, 0);
  ASSERT_GE(e.rightCount, 3);
  for (int k = 0; k < e.rightCount; ++k) {
    EXPECT_LT(e.rightPairs[k].x1, 80);
    EXPECT_LT(e.rightPairs[k].x2, 80);
  }
}

TEST_F(AlignTest, ListsEndAtTheDetailLevelOrTheCoarsestCommonOne) {
  SyntheticSetup scene = SmallRow(2);
  scene.width = 128;
  scene.height = 100;  // levels 0 and 1 (100, 50)
  scene.focal = 110;
  SyntheticSet set(scene);
  SyntheticStitch stitch(set);
  stitch.options.detail = 2;  // e = min(s = 1, 2) = 1
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchOk);
  const StitchElement& e = stitch.Element(0, 0);
  for (int k = 0; k < e.rightCount; ++k) {
    EXPECT_LT(e.rightPairs[k].x1, 64);
    EXPECT_LT(e.rightPairs[k].y1, 50);
  }
  // The overlap rectangles are in level-0 pixels even so.
  EXPECT_GT(e.rightOverlap.right, 64);
}

TEST_F(AlignTest, LensModesGivenAndTelephoto) {
  SyntheticSet set(SmallRow(2));
  SyntheticStitch stitch(set);
  stitch.options.lensMode = kLensGiven;
  stitch.options.focal = 1234.5;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, nullptr), kStitchOk);
  EXPECT_EQ(stitch.options.lensMode, kLensGiven);
  EXPECT_EQ(stitch.options.focal, 1234.5);
  stitch.options.lensMode = kLensTelephoto;
  ASSERT_EQ(Align(&stitch.matrix, &stitch.options, nullptr), kStitchOk);
  EXPECT_EQ(stitch.options.lensMode, kLensTelephoto);
  EXPECT_EQ(stitch.options.focal, 3200);
}

TEST_F(AlignTest, InvalidTileLayoutIsRefusedBeforeAnyWork) {
  SyntheticSetup scene = SmallRow(2);
  scene.layout = kLayoutTile;
  scene.columns = 2;
  scene.rows = 2;
  scene.emptyCells = {1, 2};  // the two photos of one diagonal
  SyntheticSet set(scene);
  SyntheticStitch stitch(set);
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, RecordProgress), kStitchInvalidTileLayout);
  EXPECT_EQ(log.values, std::vector<int>{0});
}

TEST_F(AlignTest, FlatGreyPhotosGetTheDefaultTriangle) {
  // 60 x 50 photos: a single level, so the first-level matching is the last.
  HGLOBAL grey[2] = {testing_support::MakeDib24(60, 50, [](int, int) { return 0x808080u; }),
                     testing_support::MakeDib24(60, 50, [](int, int) { return 0x808080u; })};
  testing_support::GlobalFreer free0(grey[0]), free1(grey[1]);
  StitchPyramid pyramids[2] = {};
  StitchElement elements[2] = {};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(BuildPyramid(grey[i], &pyramids[i]), kStitchOk);
    elements[i].pyramid = &pyramids[i];
  }
  StitchMatrix matrix;
  matrix.elements = elements;
  matrix.layout = kLayoutRow;
  matrix.columns = 2;
  matrix.rows = 1;
  StitchOptions options{};
  options.detail = 0;
  ASSERT_EQ(Align(&matrix, &options, nullptr), kStitchOk);
  // The coarse search kept its first candidate: x = max(60 - 60 + 1, 60 / 8) = 7,
  // y = 3 x 50 / 4 - 50 = -13, so the overlap is that of the first candidate...
  EXPECT_EQ(elements[0].rightOverlap.left, 7);
  EXPECT_EQ(elements[0].rightOverlap.top, 0);
  // ...but no feature passes, the list is emptied and the default triangle is
  // centred at three quarters of P and a quarter of Q: a = 60 / 8, b = 50 / 4.
  ASSERT_EQ(elements[0].rightCount, 3);
  const StitchPair expected[3] = {{45 - 7, 25, 15 - 7, 25}, {45 + 7, 25 - 12, 15 + 7, 25 - 12},
                                  {45 + 7, 25 + 12, 15 + 7, 25 + 12}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(elements[0].rightPairs[k].x1, expected[k].x1) << k;
    EXPECT_EQ(elements[0].rightPairs[k].y1, expected[k].y1) << k;
    EXPECT_EQ(elements[0].rightPairs[k].x2, expected[k].x2) << k;
    EXPECT_EQ(elements[0].rightPairs[k].y2, expected[k].y2) << k;
  }
  EXPECT_EQ(elements[0].rightReserved, 0);
}

TEST_F(AlignTest, OutOfMemoryAtAnyAllocationIsReportedAndNothingLeaks) {
  SyntheticSet set(SmallRow(2));
  SyntheticStitch stitch(set);
  stitch.options.detail = 1;
  int failures = 0;
  for (int allowed = 0; allowed < 60; ++allowed) {
    seam::FailEngineAllocationsAfter(allowed);
    const long result = Align(&stitch.matrix, &stitch.options, nullptr);
    seam::FailEngineAllocationsAfter(-1);
    ASSERT_TRUE(result == kStitchOk || result == kStitchOutOfMemory) << result;
    if (result == kStitchOutOfMemory) ++failures;
    if (result == kStitchOk) break;
  }
  EXPECT_GT(failures, 3);
  EXPECT_EQ(Align(&stitch.matrix, &stitch.options, nullptr), kStitchOk);
}

// ---- building blocks ---------------------------------------------------------------

TEST(LinearCongruential, IsTheRuntimeLibrarysGenerator) {
  seam::LinearCongruential random(1);
  const int expected[5] = {41, 18467, 6334, 26500, 19169};
  for (int e : expected) EXPECT_EQ(random.Next(), e);
}

TEST(SyntheticTriangle, ExpressesTheShiftOfTheListsFirstPair) {
  StitchPyramid p{}, q{};
  p.width = q.width = 200;
  p.height = q.height = 100;
  StitchElement elements[2] = {};
  elements[0].pyramid = &p;
  elements[1].pyramid = &q;
  StitchMatrix matrix;
  matrix.elements = elements;
  matrix.layout = kLayoutRow;
  matrix.columns = 2;
  matrix.rows = 1;
  NeighbourPair pair;
  pair.neighbourColumn = 1;
  elements[0].rightCount = 5;  // only the first pair counts
  elements[0].rightPairs[0] = {150, 60, 20, 50};  // Q shifted by (130, 10)
  seam::SetSyntheticTriangle(matrix, pair, 0);
  // P overlap x 130..200, y 10..100: centre (165, 55), 70 x 90; Q overlap
  // x 0..70, y 0..90: centre (35, 45). a = 70 / 8 = 8, b = 90 / 4 = 22.
  ASSERT_EQ(elements[0].rightCount, 3);
  EXPECT_EQ(elements[0].rightPairs[0].x1, 157);
  EXPECT_EQ(elements[0].rightPairs[0].y1, 55);
  EXPECT_EQ(elements[0].rightPairs[0].x2, 27);
  EXPECT_EQ(elements[0].rightPairs[0].y2, 45);
  EXPECT_EQ(elements[0].rightPairs[1].x1, 173);
  EXPECT_EQ(elements[0].rightPairs[1].y1, 33);
  EXPECT_EQ(elements[0].rightPairs[2].y2, 67);
  // An upper pair without a list: centres at (w/2, 3h/4) and (w/2, h/4).
  matrix.layout = kLayoutColumn;
  matrix.columns = 1;
  matrix.rows = 2;
  NeighbourPair up;
  up.neighbourRow = 1;
  up.kind = PairKind::kUp;
  elements[0].upCount = 0;
  seam::SetSyntheticTriangle(matrix, up, 0);
  ASSERT_EQ(elements[0].upCount, 3);
  // a = 100 / 8 = 12, b = 200 / 4 = 50.
  EXPECT_EQ(elements[0].upPairs[0].x1, 100);
  EXPECT_EQ(elements[0].upPairs[0].y1, 75 - 12);
  EXPECT_EQ(elements[0].upPairs[0].y2, 25 - 12);
  EXPECT_EQ(elements[0].upPairs[1].x1, 50);
  EXPECT_EQ(elements[0].upPairs[2].x2, 150);
  EXPECT_EQ(elements[0].upPairs[2].y2, 25 + 12);
}

TEST(ProgressShare, TileGridCountsEveryPairOfTheGrid) {
  std::vector<StitchElement> elements(6, StitchElement{});
  StitchPyramid photo{};
  for (auto& e : elements) e.pyramid = &photo;
  elements[5].pyramid = nullptr;
  StitchMatrix matrix;
  matrix.elements = elements.data();
  matrix.layout = kLayoutTile;
  matrix.columns = 3;
  matrix.rows = 2;
  EXPECT_EQ(seam::ProgressPairCount(matrix), 2 * 2 + 3 * 1);
  const auto pairs = seam::LayoutPairs(matrix);
  std::vector<int> indices;
  for (const NeighbourPair& p : pairs) indices.push_back(seam::ProgressPairIndex(matrix, p));
  // Right (0,0) (0,1) (1,0) -> 0 1 2; up (0,0) (1,0) -> 4 5 (the empty (2,*) pairs
  // keep their shares 3 and 6).
  EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 4, 5}));
}

class DirectionFilter : public AlignTest {};

TEST_F(DirectionFilter, PointsFurtherLeftInPThanInQAreAllDropped) {
  // Q shows what lies to the LEFT of P, and the coarse pair claims a shift to
  // the left: every match then sits left of its feature relative to the
  // centres, and the filter leaves the default triangle.
  SyntheticSetup scene = SmallRow(2);
  scene.width = 128;
  scene.height = 96;
  scene.focal = 110;
  scene.yawStepDegrees = -25;
  SyntheticSet set(scene);
  SyntheticStitch stitch(set);
  NeighbourPair pair;
  pair.neighbourColumn = 1;
  StitchElement& e = stitch.Element(0, 0);
  e.rightCount = 1;
  e.rightPairs[0] = {-20, 0, 0, 0};  // level 1: Q's origin 20 pixels left of P's
  ASSERT_EQ(seam::MatchFirstLevel(stitch.matrix, pair, 1), kStitchOk);
  ASSERT_EQ(e.rightCount, 3);
  // The default triangle: centres at 3/4 of P (48, 24) and 1/4 of Q (16, 24).
  EXPECT_EQ(e.rightPairs[0].x1, 48 - 64 / 8);
  EXPECT_EQ(e.rightPairs[0].x2, 16 - 64 / 8);
  EXPECT_EQ(e.rightPairs[1].y1, 24 - 48 / 4);
}

}  // namespace
