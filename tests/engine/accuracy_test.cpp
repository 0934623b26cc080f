// The whole engine on hard generated sets with known poses: how far the
// stitched photos are from the truth, in degrees and in photo pixels at their
// joins, and what the crop keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "arrange.h"
#include "blend.h"
#include "synthetic_scene.h"
#include "synthetic_stitch.h"
#include "test_dib.h"

namespace seam {
namespace {

using testing_support::SyntheticSet;
using testing_support::SyntheticSetup;
using testing_support::SyntheticStitch;

struct Stitched {
  std::vector<Mat3> orientation;  // as rendered, per cell (identity where empty)
  double focal = 0;
  RECT crop{};
  HGLOBAL pano = nullptr;
};

// The orientations each photo is drawn with: after the joint refinement a
// full circle's orientations close the ring themselves.
std::vector<Mat3> DrawnOrientations(SyntheticStitch& st) {
  const StitchMatrix& m = st.matrix;
  std::vector<Mat3> out(static_cast<size_t>(m.columns * m.rows), Identity());
  for (int i = 0; i < m.columns * m.rows; ++i)
    if (m.elements[i].pyramid) out[static_cast<size_t>(i)] = Mat3::From(m.elements[i].orientation);
  return out;
}

Stitched AlignAndBlend(const SyntheticSet& set, SyntheticStitch& st) {
  Stitched s;
  st.options.detail = 0;
  SetProgressState(0);
  EXPECT_EQ(Align(&st.matrix, &st.options, nullptr), kStitchOk);
  EXPECT_EQ(Blend(&st.matrix, &st.options, &s.pano, &s.crop, nullptr), kStitchOk);
  s.orientation = DrawnOrientations(st);
  s.focal = st.options.focal;
  (void)set;
  return s;
}

// Worst distance in photo pixels between where the stitch puts a pixel of Q
// in P and where it truly is, over a grid of Q's pixels seen by both.
double JoinError(const SyntheticSet& set, const Stitched& s, int p, int q) {
  const SyntheticSetup& scene = set.Setup();
  const int columns = scene.columns;
  const Mat3 trueP = Mat3::From(set.Orientation(p % columns, p / columns));
  const Mat3 trueQ = Mat3::From(set.Orientation(q % columns, q / columns));
  const Mat3 relTrue = Multiply(Transposed(trueP), trueQ);
  const Mat3 relFound =
      Multiply(Transposed(s.orientation[static_cast<size_t>(p)]), s.orientation[static_cast<size_t>(q)]);
  const double cx = (scene.width - 1) / 2.0, cy = (scene.height - 1) / 2.0;
  double worst = 0;
  for (int gy = 0; gy <= 16; ++gy)
    for (int gx = 0; gx <= 16; ++gx) {
      const double x = gx * (scene.width - 1) / 16.0 - cx, y = gy * (scene.height - 1) / 16.0 - cy;
      const Vec3 t = Multiply(relTrue, Vec3{x, y, -scene.focal});
      if (t.z >= 0) continue;
      const double tx = -scene.focal * t.x / t.z, ty = -scene.focal * t.y / t.z;
      if (std::fabs(tx) > cx || std::fabs(ty) > cy) continue;  // not seen by P
      const Vec3 f = Multiply(relFound, Vec3{x, y, -s.focal});
      if (f.z >= 0) return 1e9;
      const double fx = -s.focal * f.x / f.z, fy = -s.focal * f.y / f.z;
      worst = std::max(worst, std::hypot(fx - tx, fy - ty));
    }
  return worst;
}

// Worst angle between a photo's orientation and the truth, once the common
// frame (photo 0's) is taken out.
double WorstOrientationDegrees(const SyntheticSet& set, const Stitched& s) {
  const int columns = set.Setup().columns;
  const Mat3 frame = Multiply(s.orientation[0], Transposed(Mat3::From(set.Orientation(0, 0))));
  double worst = 0;
  for (int i = 0; i < set.Cells(); ++i) {
    if (!set.HasPhoto(i % columns, i / columns)) continue;
    double e[9], g[9];
    Multiply(frame, Mat3::From(set.Orientation(i % columns, i / columns))).CopyTo(e);
    s.orientation[static_cast<size_t>(i)].CopyTo(g);
    worst = std::max(worst, testing_support::RotationDistanceDegrees(e, g));
  }
  return worst;
}

bool CropHasWhite(HGLOBAL pano, const RECT& crop) {
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(pano));
  const int stride = DibStride(header->biWidth, 24);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(header) + header->biSize;
  bool white = false;
  for (int y = crop.top; y < crop.bottom && !white; ++y)
    for (int x = crop.left; x < crop.right; ++x) {
      const uint8_t* p = bits + static_cast<ptrdiff_t>(y) * stride + 3 * x;
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
        white = true;
        break;
      }
    }
  GlobalUnlock(pano);
  return white;
}

// Each photo's share inside the crop, from its footprint on the canvas it was
// drawn on (a column lies on its side there: panorama (x, y) is canvas
// (y, height - 1 - x)): at least `percent`.
void ExpectEveryPhotoMostlyInsideTheCrop(SyntheticStitch& st, const Stitched& s, int percent) {
  const RenderSetup setup = MakeRenderSetup(st.matrix, st.options);
  std::vector<PhotoFootprint> fps;
  RECT canvas;
  ASSERT_TRUE(ComputeFootprints(st.matrix, setup, fps, &canvas));
  const LONG h = canvas.bottom - canvas.top;
  const RECT inCanvas =
      setup.quarterTurned
          ? RECT{s.crop.top + canvas.left, h - s.crop.right + canvas.top, s.crop.bottom + canvas.left,
                 h - s.crop.left + canvas.top}
          : RECT{s.crop.left + canvas.left, s.crop.top + canvas.top, s.crop.right + canvas.left,
                 s.crop.bottom + canvas.top};
  for (size_t k = 0; k < fps.size(); ++k) {
    const PhotoFootprint& f = fps[k];
    if (!f.present) continue;
    long all = 0, kept = 0;
    for (int x = f.rect.left; x < f.rect.right; ++x) {
      const int y0 = f.first[static_cast<size_t>(x - f.rect.left)];
      const int y1 = f.last[static_cast<size_t>(x - f.rect.left)];
      if (y0 > y1) continue;
      all += y1 - y0 + 1;
      if (x < inCanvas.left || x >= inCanvas.right) continue;
      const long a = std::max<long>(y0, inCanvas.top), b = std::min<long>(y1 + 1, inCanvas.bottom);
      if (b > a) kept += b - a;
    }
    std::printf("[ accuracy ] photo %zu: %.1f %% inside the crop\n", k, 100.0 * kept / all);
    EXPECT_GE(kept * 100, all * percent) << k;
  }
}

struct Pair {
  int p, q;
};

void Report(const char* name, const SyntheticSet& set, const Stitched& s,
            const std::vector<Pair>& pairs, double* worstJoin, double* worstAngle) {
  *worstJoin = 0;
  for (const Pair& pair : pairs) *worstJoin = std::max(*worstJoin, JoinError(set, s, pair.p, pair.q));
  *worstAngle = WorstOrientationDegrees(set, s);
  std::printf("[ accuracy ] %s: worst join %.2f px, worst orientation %.3f deg, focal %.1f (true %.1f)\n",
              name, *worstJoin, *worstAngle, s.focal, set.Setup().focal);
}

// A row of five photos a third overlapping, with exposure differences of 15 %,
// a degree of jitter and noise: at the start level (50 x 37 pixels) the points
// of a pair may lie almost on one line.
TEST(Accuracy, AHardRowJoinsWithinAPixel) {
  SyntheticSetup scene;
  scene.layout = kLayoutRow;
  scene.columns = 5;
  scene.width = 800;
  scene.height = 600;
  scene.focal = 733;
  scene.yawStepDegrees = 40;
  scene.jitterDegrees = 1;
  scene.noise = 6;
  scene.gains = {1.0, 1.15, 0.87, 1.1, 0.9};
  scene.supersample = 1;
  scene.seed = 5;
  const SyntheticSet set(scene);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  Stitched s = AlignAndBlend(set, st);
  testing_support::GlobalFreer freer(s.pano);
  double join, angle;
  Report("row", set, s, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, &join, &angle);
  EXPECT_LT(join, 1.0);
  EXPECT_LT(angle, 0.1);
  EXPECT_FALSE(CropHasWhite(s.pano, s.crop));
  // On the cylinder a 57-degree photo's corners sit 12 % lower than its middle
  // (f / sqrt(f^2 + (w/2)^2)), and the jitter tilts the photos against each
  // other: the straight crop keeps a little less than nine tenths.
  ExpectEveryPhotoMostlyInsideTheCrop(st, s, 88);
}

// Ten photos round a full turn: the closing correction must take the chain's
// error away, not double it at the end.
TEST(Accuracy, AFullCircleJoinsEveryPairIncludingTheClosingOne) {
  SyntheticSetup scene;
  scene.layout = kLayoutCircle;
  scene.columns = 10;
  scene.focal = 550;
  scene.jitterDegrees = 0.5;
  scene.noise = 3;
  const SyntheticSet set(scene);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  Stitched s = AlignAndBlend(set, st);
  testing_support::GlobalFreer freer(s.pano);
  std::vector<Pair> pairs;
  for (int i = 0; i < 10; ++i) pairs.push_back({i, (i + 1) % 10});
  double join, angle;
  Report("circle", set, s, pairs, &join, &angle);
  EXPECT_LT(join, 1.0);
  EXPECT_LT(angle, 0.1);
  EXPECT_FALSE(CropHasWhite(s.pano, s.crop));
}

// A 3 x 2 grid: the focal length's error adds up over its yaw and pitch.
TEST(Accuracy, ATileGridJoinsEveryPair) {
  SyntheticSetup scene;
  scene.layout = kLayoutTile;
  scene.columns = 3;
  scene.rows = 2;
  scene.focal = 550;
  scene.firstPitchDegrees = -14;
  const SyntheticSet set(scene);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  Stitched s = AlignAndBlend(set, st);
  testing_support::GlobalFreer freer(s.pano);
  double join, angle;
  Report("tile", set, s, {{0, 1}, {1, 2}, {3, 4}, {4, 5}, {0, 3}, {1, 4}, {2, 5}}, &join, &angle);
  EXPECT_LT(join, 1.0);
  EXPECT_LT(angle, 0.1);
  EXPECT_FALSE(CropHasWhite(s.pano, s.crop));
  // Three photos 36 degrees apart span about 140 degrees: a canvas of half a
  // turn or more has wrapped round.
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(s.pano));
  EXPECT_LT(header->biWidth, 3.1416 * s.focal);
  GlobalUnlock(s.pano);
}

// Four photos up a column to 42 degrees above and below: drawn without the
// hourglass, the crop holds no white and keeps nearly all of every photo.
TEST(Accuracy, AColumnReachingFortyTwoDegreesKeepsItsEndsAndNoWhite) {
  SyntheticSetup scene;
  scene.layout = kLayoutColumn;
  scene.columns = 1;
  scene.rows = 4;
  scene.focal = 550;
  scene.pitchStepDegrees = 28;
  scene.firstPitchDegrees = -42;
  const SyntheticSet set(scene);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  Stitched s = AlignAndBlend(set, st);
  testing_support::GlobalFreer freer(s.pano);
  double join, angle;
  Report("column", set, s, {{0, 1}, {1, 2}, {2, 3}}, &join, &angle);
  EXPECT_LT(join, 1.0);
  EXPECT_FALSE(CropHasWhite(s.pano, s.crop));
  ExpectEveryPhotoMostlyInsideTheCrop(st, s, 90);
}

}  // namespace
}  // namespace seam
