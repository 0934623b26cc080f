// Blend end to end on synthetic photo sets whose true camera turns are known:
// the correspondence lists come from the truth, so these tests measure the
// blending alone (the pair rotations are still solved from the lists).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "blend.h"
#include "camera.h"
#include "exposure.h"
#include "seam.h"
#include "seamcore.h"
#include "synthetic_scene.h"
#include "synthetic_stitch.h"
#include "test_dib.h"

namespace seam {
namespace {

using testing_support::SyntheticSet;
using testing_support::SyntheticSetup;
using testing_support::SyntheticStitch;

// Up to ten correspondences per pair, spread over the overlap, in pixels of
// `level`, rounded as a matcher would report them.
void FillPairs(const SyntheticSet& set, SyntheticStitch& st, int c, int r, int nc, int nr,
               bool right, int level) {
  StitchElement* p = st.matrix.GetElement(c, r);
  StitchElement* q = st.matrix.GetElement(nc, nr);
  if (!p || !q || !p->pyramid || !q->pyramid) return;
  double relative[9];
  set.TrueRelative(c, r, nc, nr, relative);
  const Mat3 rel = Mat3::From(relative);
  const SyntheticSetup& scene = set.Setup();
  const double s = 1 << level;
  const double f = scene.focal / s;
  const int w = scene.width >> level, h = scene.height >> level;
  const double cx = (scene.width - 1) / 2.0 / s, cy = (scene.height - 1) / 2.0 / s;
  std::vector<StitchPair> found;
  for (int gy = 1; gy < 10; ++gy)
    for (int gx = 1; gx < 10; ++gx) {
      const int x = gx * w / 10 + gy % 3, y = gy * h / 10 + gx % 2;
      const Vec3 ray = Multiply(rel, Vec3{x - cx, y - cy, -f});
      if (ray.z >= 0) continue;
      const double xp = -f * ray.x / ray.z + cx, yp = -f * ray.y / ray.z + cy;
      if (xp < 8 || yp < 8 || xp > w - 9 || yp > h - 9) continue;
      found.push_back({static_cast<LONG>(std::lround(xp)), static_cast<LONG>(std::lround(yp)), x, y});
    }
  const size_t n = found.size(), take = std::min<size_t>(n, kStitchMaxPairs);
  StitchPair* list = right ? p->rightPairs : p->upPairs;
  for (size_t k = 0; k < take; ++k) list[k] = found[k * n / take];
  (right ? p->rightCount : p->upCount) = static_cast<LONG>(take);
}

void PairsFromTruth(const SyntheticSet& set, SyntheticStitch& st, int level) {
  const int cols = st.matrix.columns, rows = st.matrix.rows;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      if (st.matrix.layout == kLayoutCircle)
        FillPairs(set, st, c, r, (c + 1) % cols, r, true, level);
      else if (c + 1 < cols)
        FillPairs(set, st, c, r, c + 1, r, true, level);
      if (r + 1 < rows) FillPairs(set, st, c, r, c, r + 1, false, level);
    }
}

// A locked view of a DIB handle for the scope.
struct LockedDib {
  HGLOBAL handle;
  BITMAPINFOHEADER* header;
  PixelView view;
  explicit LockedDib(HGLOBAL h) : handle(h), header(static_cast<BITMAPINFOHEADER*>(GlobalLock(h))) {
    view = PixelView{header->biWidth, header->biHeight, DibStride(header->biWidth, 24), 3,
                     reinterpret_cast<uint8_t*>(header) + 40};
  }
  ~LockedDib() { GlobalUnlock(handle); }
};

void SaveBmp(HGLOBAL dib, const std::string& name) {
  LockedDib d(dib);
  const uint32_t pixels = static_cast<uint32_t>(d.view.stride) * d.view.height;
  uint8_t file[14] = {'B', 'M'};
  const uint32_t size = 14 + 40 + pixels, offset = 54;
  for (int i = 0; i < 4; ++i) file[2 + i] = static_cast<uint8_t>(size >> (8 * i));
  for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
  if (std::FILE* f = std::fopen(name.c_str(), "wb")) {
    std::fwrite(file, 1, 14, f);
    std::fwrite(d.header, 1, 40 + pixels, f);
    std::fclose(f);
  }
}

// The scene colour along a panorama frame direction, averaged over the
// pixel's four quarter positions as the photos themselves are.
void TruthAt(const SyntheticSetup& scene, const Mat3& toWorld, double u, double v, double radius,
             double out[3]) {
  out[0] = out[1] = out[2] = 0;
  for (double du : {-0.25, 0.25})
    for (double dv : {-0.25, 0.25}) {
      const double q = (u + du) / radius;
      const Vec3 d = Multiply(toWorld, Vec3{std::sin(q), (v + dv) / radius, -std::cos(q)});
      const uint32_t c = testing_support::SceneColour(scene, d.x, d.y, d.z);
      for (int ch = 0; ch < 3; ++ch) out[ch] += ((c >> (8 * ch)) & 255) / 4.0;
    }
}

// PSNR (dB) of the crop against the scene on the blend's own cylinder. Photo 0
// carries the panorama frame (its chained orientation is the identity turned
// by the level frame); the canvas origin comes from the footprints, and a
// shift of a few pixels is searched around it.
double CropPsnr(const SyntheticSet& set, SyntheticStitch& st, HGLOBAL panorama, const RECT& crop,
                int* shiftX = nullptr, int* shiftY = nullptr, bool search = true) {
  const RenderSetup setup = MakeRenderSetup(st.matrix, st.options);
  std::vector<PhotoFootprint> fps;
  RECT canvas;
  EXPECT_TRUE(ComputeFootprints(st.matrix, setup, fps, &canvas));
  if (st.matrix.layout == kLayoutCircle) canvas.left = 0;
  // A column is rendered lying on its side and turned upright at the end:
  // pixel (x, y) of the panorama is canvas pixel (y, height - 1 - x).
  const bool turned = setup.quarterTurned;
  const long canvasHeight = canvas.bottom - canvas.top;
  const Mat3 toWorld = Multiply(Mat3::From(set.Orientation(0, 0)),
                                Transposed(RenderOrientation(setup, st.Element(0, 0))));
  LockedDib d(panorama);
  auto psnr = [&](int dx, int dy, int step) {
    double err = 0;
    long count = 0;
    for (int y = crop.top; y < crop.bottom; y += step)
      for (int x = crop.left; x < crop.right; x += step) {
        double t[3];
        const long cx = turned ? y : x, cy = turned ? canvasHeight - 1 - x : y;
        TruthAt(set.Setup(), toWorld, cx + canvas.left + dx, cy + canvas.top + dy, setup.radius, t);
        const uint8_t* p = d.view.Row(y) + 3 * x;
        for (int ch = 0; ch < 3; ++ch) err += (p[ch] - t[ch]) * (p[ch] - t[ch]);
        count += 3;
      }
    const double mse = err / std::max(count, 1L);
    return mse <= 1e-9 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
  };
  if (!search) return psnr(*shiftX, *shiftY, 1);
  double best = -1;
  int bx = 0, by = 0;
  for (int dy = -4; dy <= 4; ++dy)
    for (int dx = -4; dx <= 4; ++dx) {
      const double p = psnr(dx, dy, 13);
      if (p > best) best = p, bx = dx, by = dy;
    }
  if (shiftX) *shiftX = bx;
  if (shiftY) *shiftY = by;
  return psnr(bx, by, 3);
}

bool CropHasWhite(HGLOBAL panorama, const RECT& crop) {
  LockedDib d(panorama);
  for (int y = crop.top; y < crop.bottom; ++y)
    for (int x = crop.left; x < crop.right; ++x) {
      const uint8_t* p = d.view.Row(y) + 3 * x;
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) return true;
    }
  return false;
}

std::vector<int> g_progress;
int RecordProgress(int percent) {
  g_progress.push_back(percent);
  return 0;
}
int CancelAt = 1000;
int CancellingProgress(int percent) {
  g_progress.push_back(percent);
  if (percent >= CancelAt) SetProgressState(1);
  return 0;
}

struct LayoutCase {
  const char* name;
  int layout;
  int columns;
  int rows;
  double yawStep;
  double pitchStep;
  double firstPitch;
};

SyntheticSetup SetupFor(const LayoutCase& c, int width = 640) {
  SyntheticSetup s;
  s.layout = c.layout;
  s.columns = c.columns;
  s.rows = c.rows;
  s.width = width;
  s.height = width * 3 / 4;
  s.focal = 550.0 * width / 640;
  s.yawStepDegrees = c.yawStep;
  s.pitchStepDegrees = c.pitchStep;
  s.firstPitchDegrees = c.firstPitch;
  s.surface = testing_support::SceneSurface::kCylinder;
  return s;
}

// The last column of a full circle's crop continues into its first: their
// difference is no larger than that of neighbouring columns inside.
void ExpectWrapContinues(HGLOBAL pano, const RECT& crop) {
  LockedDib d(pano);
  auto columnDifference = [&](int a, int b) {
    double sum = 0;
    for (int y = crop.top; y < crop.bottom; ++y)
      for (int ch = 0; ch < 3; ++ch)
        sum += std::abs(d.view.Row(y)[3 * a + ch] - d.view.Row(y)[3 * b + ch]);
    return sum / (3.0 * (crop.bottom - crop.top));
  };
  // The scene's cell edges make a few neighbouring columns differ a lot; the
  // wrap must look like an ordinary pair, not like a jump beyond them.
  std::vector<double> inside;
  for (int x = crop.left + 1; x < crop.right; ++x) inside.push_back(columnDifference(x - 1, x));
  std::sort(inside.begin(), inside.end());
  const double typical = inside[inside.size() * 95 / 100];
  const double wrap = columnDifference(crop.right - 1, crop.left);
  std::printf("[ wrap     ] last to first column: %.2f, 95th percentile inside: %.2f\n", wrap,
              typical);
  EXPECT_LE(wrap, typical);
}

struct Located {
  LONG c1, r1, c2, r2;
};
Located LocateAt(SyntheticStitch& st, long x, long y) {
  Located l{};
  POINT p;
  p.x = x;
  p.y = y;
  EXPECT_EQ(Locate(&st.matrix, &st.options, p, &l.c1, &l.r1, &l.c2, &l.r2), 0);
  return l;
}

// Locate's answers on the blended set, for points chosen from the footprints.
void ExpectLocateAnswers(SyntheticStitch& st) {
  const RenderSetup setup = MakeRenderSetup(st.matrix, st.options);
  std::vector<PhotoFootprint> fps;
  RECT canvas;
  ASSERT_TRUE(ComputeFootprints(st.matrix, setup, fps, &canvas));
  const bool circle = st.matrix.layout == kLayoutCircle;
  if (circle && canvas.right - canvas.left > setup.circumference) canvas.left = 0, canvas.right = setup.circumference;
  auto rectOf = [&](int c, int r) { return fps[static_cast<size_t>(c + r * st.matrix.columns)].rect; };
  auto middleOf = [&](const RECT& r) {
    return std::make_pair((r.left + r.right) / 2 - canvas.left, (r.top + r.bottom) / 2 - canvas.top);
  };
  // Outside every photo.
  const Located none = LocateAt(st, 10, -3);
  EXPECT_EQ(none.c1, -1);
  EXPECT_EQ(none.r1, -1);
  EXPECT_EQ(none.c2, -1);
  EXPECT_EQ(none.r2, -1);
  switch (st.matrix.layout) {
    case kLayoutRow: {
      const RECT r0 = rectOf(0, 0);
      const auto m0 = std::make_pair(static_cast<long>(r0.left + 40 - canvas.left), middleOf(r0).second);
      const Located only = LocateAt(st, m0.first, m0.second);
      EXPECT_EQ(only.c1, 0);
      EXPECT_EQ(only.c2, 0);
      const auto m12 = middleOf(IntersectRects(rectOf(1, 0), rectOf(2, 0)));
      const Located both = LocateAt(st, m12.first, m12.second);
      EXPECT_EQ(both.c1, 1);
      EXPECT_EQ(both.c2, 2);
      EXPECT_EQ(both.r1, 0);
      break;
    }
    case kLayoutColumn: {
      // Lying on its side on the canvas: the panorama's (x, y) is the
      // canvas's (y, height - 1 - x).
      const auto m = middleOf(IntersectRects(rectOf(0, 0), rectOf(0, 1)));
      const Located both = LocateAt(st, canvas.bottom - canvas.top - 1 - m.second, m.first);
      EXPECT_EQ(both.r1, 0);
      EXPECT_EQ(both.r2, 1);
      break;
    }
    case kLayoutTile: {
      RECT corner = rectOf(0, 0);
      for (const auto& cell : {std::make_pair(1, 0), std::make_pair(0, 1), std::make_pair(1, 1)})
        corner = IntersectRects(corner, rectOf(cell.first, cell.second));
      ASSERT_FALSE(RectEmpty(corner));
      for (int dx = 0; dx < 3; ++dx)
        for (int dy = 0; dy < 3; ++dy) {
          const long x = corner.left + (corner.right - corner.left) * (1 + dx) / 4 - canvas.left;
          const long y = corner.top + (corner.bottom - corner.top) * (1 + dy) / 4 - canvas.top;
          const Located l = LocateAt(st, x, y);
          const int dc = std::abs(l.c1 - l.c2), dr = std::abs(l.r1 - l.r2);
          EXPECT_EQ(dc + dr, 1) << "an edge neighbour, never a diagonal one";
          EXPECT_TRUE(l.c1 < l.c2 || l.r1 < l.r2) << "left or lower photo first";
        }
      break;
    }
    case kLayoutCircle: {
      const int last = st.matrix.columns - 1;
      const Located wrap = LocateAt(st, 3, middleOf(rectOf(0, 0)).second);
      EXPECT_EQ(wrap.c1, last);
      EXPECT_EQ(wrap.c2, 0);
      const auto m = middleOf(IntersectRects(rectOf(3, 0), rectOf(4, 0)));
      const Located inner = LocateAt(st, m.first, m.second);
      EXPECT_EQ(inner.c1, 3);
      EXPECT_EQ(inner.c2, 4);
      break;
    }
    default:
      break;
  }
}

// Each layout's photos are rendered once and shared by the tests that use them.
const SyntheticSet& SetFor(const LayoutCase& c) {
  static std::vector<std::pair<std::string, std::unique_ptr<SyntheticSet>>> sets;
  for (const auto& s : sets)
    if (s.first == c.name) return *s.second;
  sets.emplace_back(c.name, std::make_unique<SyntheticSet>(SetupFor(c)));
  return *sets.back().second;
}

class BlendLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BlendLayoutTest, CropAgreesWithTheSceneAndHoldsNoWhite) {
  const LayoutCase& c = GetParam();
  const SyntheticSet& set = SetFor(c);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  st.options.detail = 0;
  st.options.lensMode = kLensGiven;
  st.options.focal = set.Setup().focal;
  PairsFromTruth(set, st, 0);
  SetProgressState(0);
  g_progress.clear();
  HGLOBAL pano = nullptr;
  RECT crop{};
  ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, RecordProgress), kStitchOk);
  testing_support::GlobalFreer freer(pano);
  SaveBmp(pano, std::string("blend_") + c.name + ".bmp");

  ASSERT_GT(crop.right - crop.left, 100);
  ASSERT_GT(crop.bottom - crop.top, 100);
  EXPECT_FALSE(CropHasWhite(pano, crop));
  int dx = 0, dy = 0;
  const double psnr = CropPsnr(set, st, pano, crop, &dx, &dy);
  std::printf("[ psnr     ] %s: %.2f dB, crop %ld x %ld\n", c.name, psnr,
              static_cast<long>(crop.right - crop.left), static_cast<long>(crop.bottom - crop.top));
  EXPECT_GE(psnr, 25.0);

  // Every orientation is the truth turned by one common frame.
  const Mat3 frame = Multiply(Mat3::From(st.Element(0, 0).orientation),
                              Transposed(Mat3::From(set.Orientation(0, 0))));
  for (int r = 0; r < c.rows; ++r)
    for (int col = 0; col < c.columns; ++col) {
      if (!set.HasPhoto(col, r)) continue;
      const Mat3 expected = Multiply(frame, Mat3::From(set.Orientation(col, r)));
      double e[9], g[9];
      expected.CopyTo(e);
      std::copy(st.Element(col, r).orientation, st.Element(col, r).orientation + 9, g);
      EXPECT_LT(testing_support::RotationDistanceDegrees(e, g), 0.2) << col << "," << r;
    }

  if (c.layout == kLayoutCircle) {
    ExpectWrapContinues(pano, crop);
    // Both ends agree with the one scene under the same shift: no jump.
    const RECT end{crop.right - 6, crop.top, crop.right, crop.bottom};
    const RECT start{crop.left, crop.top, crop.left + 6, crop.bottom};
    const double psnrEnd = CropPsnr(set, st, pano, end, &dx, &dy, false);
    const double psnrStart = CropPsnr(set, st, pano, start, &dx, &dy, false);
    std::printf("[ wrap     ] last 6 columns %.2f dB, first 6 columns %.2f dB\n", psnrEnd, psnrStart);
    EXPECT_GE(psnrEnd, 25.0);
    EXPECT_GE(psnrStart, 25.0);
  }
  ExpectLocateAnswers(st);

  ASSERT_FALSE(g_progress.empty());
  EXPECT_GE(g_progress.front(), 50);
  EXPECT_EQ(g_progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(g_progress.begin(), g_progress.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BlendLayoutTest,
    ::testing::Values(LayoutCase{"row", kLayoutRow, 3, 1, 36, 0, 0},
                      LayoutCase{"column", kLayoutColumn, 1, 3, 0, 24, -24},
                      LayoutCase{"tile", kLayoutTile, 3, 2, 36, 28, -14},
                      LayoutCase{"circle", kLayoutCircle, 10, 1, 36, 0, 0}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// The whole engine: pyramids, Align, then Blend, on the same sets.
class AlignThenBlendTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AlignThenBlendTest, StitchesTheSceneFromThePhotosAlone) {
  const LayoutCase& c = GetParam();
  const SyntheticSet& set = SetFor(c);
  SyntheticStitch st(set);
  ASSERT_EQ(st.buildResult, kStitchOk);
  st.options.detail = 0;
  st.options.lensMode = kLensGiven;
  st.options.focal = set.Setup().focal;
  SetProgressState(0);
  g_progress.clear();
  ASSERT_EQ(Align(&st.matrix, &st.options, RecordProgress), kStitchOk);
  HGLOBAL pano = nullptr;
  RECT crop{};
  ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, RecordProgress), kStitchOk);
  testing_support::GlobalFreer freer(pano);
  SaveBmp(pano, std::string("stitch_") + c.name + ".bmp");
  EXPECT_FALSE(CropHasWhite(pano, crop));
  const double psnr = CropPsnr(set, st, pano, crop);
  std::printf("[ psnr     ] %s after Align: %.2f dB, crop %ld x %ld\n", c.name, psnr,
              static_cast<long>(crop.right - crop.left), static_cast<long>(crop.bottom - crop.top));
  EXPECT_GE(psnr, 25.0);
  const Mat3 frame = Multiply(Mat3::From(st.Element(0, 0).orientation),
                              Transposed(Mat3::From(set.Orientation(0, 0))));
  double worst = 0;
  for (int r = 0; r < c.rows; ++r)
    for (int col = 0; col < c.columns; ++col) {
      if (!set.HasPhoto(col, r)) continue;
      double e[9];
      Multiply(frame, Mat3::From(set.Orientation(col, r))).CopyTo(e);
      worst = std::max(worst, testing_support::RotationDistanceDegrees(e, st.Element(col, r).orientation));
    }
  std::printf("[ angle    ] %s after Align: worst orientation error %.3f degrees\n", c.name, worst);
  EXPECT_LT(worst, 0.2);
  ASSERT_FALSE(g_progress.empty());
  EXPECT_EQ(g_progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(g_progress.begin(), g_progress.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, AlignThenBlendTest,
    ::testing::Values(LayoutCase{"row", kLayoutRow, 3, 1, 36, 0, 0},
                      LayoutCase{"column", kLayoutColumn, 1, 3, 0, 24, -24},
                      LayoutCase{"tile", kLayoutTile, 3, 2, 36, 28, -14},
                      LayoutCase{"circle", kLayoutCircle, 10, 1, 36, 0, 0}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// Smaller photos for the tests that do not measure the picture.
SyntheticSetup SmallRow(int photos = 3) {
  SyntheticSetup s = SetupFor(LayoutCase{"row", kLayoutRow, photos, 1, 36, 0, 0}, 320);
  return s;
}

TEST(BlendCancel, CancellingDuringCompositingReturnsOneAndHandsOutNothing) {
  SyntheticSet set(SmallRow());
  SyntheticStitch st(set);
  st.options.detail = 1;
  st.options.lensMode = kLensGiven;
  st.options.focal = set.Setup().focal;
  PairsFromTruth(set, st, 1);
  for (int at : {50, 62, 80, 99}) {
    SetProgressState(0);
    g_progress.clear();
    CancelAt = at;
    HGLOBAL pano = reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x1234));
    RECT crop{-7, -7, -7, -7};
    EXPECT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, CancellingProgress), kStitchCancelled)
        << at;
    EXPECT_EQ(pano, reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(0x1234)));
    EXPECT_EQ(crop.left, -7);
  }
  CancelAt = 1000;
  SetProgressState(0);
}

TEST(BlendMemory, AnAllocationFailureAnywhereReturnsOutOfMemory) {
  SyntheticSet set(SmallRow());
  SyntheticStitch st(set);
  st.options.detail = 2;
  st.options.lensMode = kLensGiven;
  st.options.focal = set.Setup().focal;
  PairsFromTruth(set, st, 2);
  SetProgressState(0);
  bool succeeded = false;
  for (int allowed = 0; allowed < 400 && !succeeded; ++allowed) {
    HGLOBAL pano = nullptr;
    RECT crop{};
    FailEngineAllocationsAfter(allowed);
    const long result = Blend(&st.matrix, &st.options, &pano, &crop, nullptr);
    FailEngineAllocationsAfter(-1);
    ASSERT_TRUE(result == kStitchOk || result == kStitchOutOfMemory) << allowed << ": " << result;
    if (result == kStitchOk) {
      succeeded = true;
      GlobalFree(pano);
    } else {
      EXPECT_EQ(pano, nullptr);
    }
  }
  EXPECT_TRUE(succeeded);
}

// Brightness step of each seam as rendered: the neighbour's mean brightness in
// the overlap minus this photo's, after both exposure offsets.
std::vector<long> SeamSteps(SyntheticStitch& st) {
  std::vector<long> steps;
  const int level = RenderLevel(st.matrix, st.options);
  for (int c = 0; c + 1 < st.matrix.columns; ++c) {
    const long raw = MeasureBrightnessStep(st.matrix, c, 0, NeighbourKind::kRight, level);
    steps.push_back(raw + st.Element(c + 1, 0).exposureOffset - st.Element(c, 0).exposureOffset);
  }
  return steps;
}

TEST(BlendExposure, BalancingEvensOutGainsOfFifteenPercent) {
  SyntheticSetup scene = SmallRow(4);
  scene.gains = {1.15, 0.85, 1.1, 0.9};
  SyntheticSet set(scene);
  for (int balance : {1, 0}) {
    SyntheticStitch st(set);
    st.options.detail = 1;
    st.options.exposureBalance = balance;
    st.options.lensMode = kLensGiven;
    st.options.focal = scene.focal;
    PairsFromTruth(set, st, 1);
    SetProgressState(0);
    HGLOBAL pano = nullptr;
    RECT crop{};
    ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, nullptr), kStitchOk);
    testing_support::GlobalFreer freer(pano);
    long worst = 0;
    for (long s : SeamSteps(st)) worst = std::max(worst, std::labs(s));
    std::printf("[ steps    ] balancing %s: largest step %ld grey levels\n", balance ? "on" : "off",
                worst);
    if (balance)
      EXPECT_LT(worst, 3);
    else
      EXPECT_GT(worst, 10);
    if (balance) SaveBmp(pano, "blend_gains_balanced.bmp");
  }
}

TEST(BlendExposure, ACircleWithGainsClosesWithoutAStepAtItsWrap) {
  SyntheticSetup scene = SetupFor(LayoutCase{"circle", kLayoutCircle, 10, 1, 36, 0, 0}, 320);
  scene.gains = {1.15, 0.9, 1.05, 0.85, 1.1, 0.95, 1.15, 0.88, 1.0, 1.12};
  SyntheticSet set(scene);
  for (int balance : {1, 0}) {
    SyntheticStitch st(set);
    st.options.detail = 0;
    st.options.exposureBalance = balance;
    st.options.lensMode = kLensGiven;
    st.options.focal = scene.focal;
    PairsFromTruth(set, st, 0);
    SetProgressState(0);
    HGLOBAL pano = nullptr;
    RECT crop{};
    ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, nullptr), kStitchOk);
    testing_support::GlobalFreer freer(pano);
    // Each photo is rendered with its offset plus a ramp from minus to plus
    // half the loop step, so a join sees the loop step on top of the offsets.
    const long loop = balance ? st.Element(0, 0).rightBrightnessStep : 0;
    long worst = 0;
    for (int c = 0; c < 10; ++c) {
      const long raw = MeasureBrightnessStep(st.matrix, c, 0, NeighbourKind::kRight, 0);
      const long step = raw + st.Element((c + 1) % 10, 0).exposureOffset -
                        st.Element(c, 0).exposureOffset - loop;
      worst = std::max(worst, std::labs(step));
    }
    std::printf("[ steps    ] circle, balancing %s: largest step %ld grey levels (loop step %ld)\n",
                balance ? "on" : "off", worst, loop);
    if (balance)
      EXPECT_LT(worst, 3);
    else
      EXPECT_GT(worst, 10);
  }
}

TEST(BlendTile, AnEmptyCellGetsNoFootprintAndTheRestIsStitched) {
  SyntheticSetup scene = SetupFor(LayoutCase{"tile", kLayoutTile, 2, 2, 36, 28, -14}, 320);
  scene.emptyCells = {3};
  SyntheticSet set(scene);
  SyntheticStitch st(set);
  st.options.detail = 1;
  st.options.lensMode = kLensGiven;
  st.options.focal = scene.focal;
  PairsFromTruth(set, st, 1);
  SetProgressState(0);
  HGLOBAL pano = nullptr;
  RECT crop{};
  ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, nullptr), kStitchOk);
  testing_support::GlobalFreer freer(pano);
  const RenderSetup setup = MakeRenderSetup(st.matrix, st.options);
  std::vector<PhotoFootprint> fps;
  RECT canvas;
  ASSERT_TRUE(ComputeFootprints(st.matrix, setup, fps, &canvas));
  EXPECT_TRUE(fps[0].present && fps[1].present && fps[2].present);
  EXPECT_FALSE(fps[3].present);
}


// A fingerprint of a rendered panorama: FNV-1a over its size, its crop and the
// pixel bytes of every row (row padding left out).
uint64_t PanoramaFingerprint(HGLOBAL pano, const RECT& crop) {
  LockedDib d(pano);
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](uint8_t byte) { h = (h ^ byte) * 1099511628211ull; };
  auto mixWord = [&mix](long v) {
    for (int i = 0; i < 4; ++i) mix(static_cast<uint8_t>(static_cast<unsigned long>(v) >> (8 * i)));
  };
  mixWord(d.view.width);
  mixWord(d.view.height);
  for (long v : {crop.left, crop.top, crop.right, crop.bottom}) mixWord(v);
  for (int y = 0; y < d.view.height; ++y) {
    const uint8_t* row = d.view.Row(y);
    for (int x = 0; x < 3 * d.view.width; ++x) mix(row[x]);
  }
  return h;
}

struct GoldenCase {
  LayoutCase layout;
  bool gains;
  uint64_t fingerprint[2];  // details 0 and 1
};

void PrintTo(const GoldenCase& g, std::ostream* os) {
  *os << g.layout.name << (g.gains ? " with gains" : "");
}

// Every byte of small stitched panoramas, pinned: the renderer, the seams and
// the full-circle closure may be restructured for speed, but not change a
// single pixel. Both builds (x86-64 and i686, both with SSE2 arithmetic) give
// the same bytes.

class BlendGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(BlendGoldenTest, PanoramaBytesStayTheSame) {
  const GoldenCase& g = GetParam();
  SyntheticSetup scene = SetupFor(g.layout, 320);
  if (g.gains) scene.gains = {1.15, 0.9, 1.05, 0.85, 1.1, 0.95, 1.15, 0.88, 1.0, 1.12};
  SyntheticSet set(scene);
  for (int detail : {0, 1}) {
    SyntheticStitch st(set);
    ASSERT_EQ(st.buildResult, kStitchOk);
    st.options.detail = detail;
    st.options.lensMode = kLensGiven;
    st.options.focal = scene.focal;
    PairsFromTruth(set, st, detail);
    SetProgressState(0);
    HGLOBAL pano = nullptr;
    RECT crop{};
    ASSERT_EQ(Blend(&st.matrix, &st.options, &pano, &crop, nullptr), kStitchOk);
    testing_support::GlobalFreer freer(pano);
    const uint64_t got = PanoramaFingerprint(pano, crop);
    std::printf("[ golden   ] %s%s detail %d: 0x%016llx\n", g.layout.name, g.gains ? " gains" : "",
                detail, static_cast<unsigned long long>(got));
    EXPECT_EQ(got, g.fingerprint[detail]) << g.layout.name << " detail " << detail;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BlendGoldenTest,
    ::testing::Values(
        GoldenCase{LayoutCase{"row", kLayoutRow, 3, 1, 36, 0, 0}, false,
                   {0x0dc630d16ce77d3eull, 0xa93a925893529884ull}},
        GoldenCase{LayoutCase{"column", kLayoutColumn, 1, 3, 0, 24, -24}, false,
                   {0x8fe926144704eb85ull, 0x193ed7add667856bull}},
        GoldenCase{LayoutCase{"tile", kLayoutTile, 3, 2, 36, 28, -14}, false,
                   {0xf72ea06ab7030cadull, 0x4f1fe5aa3169815dull}},
        GoldenCase{LayoutCase{"circle", kLayoutCircle, 10, 1, 36, 0, 0}, false,
                   {0x4484b0dbaba05c13ull, 0x9d01eb03992e0276ull}},
        GoldenCase{LayoutCase{"circle", kLayoutCircle, 10, 1, 36, 0, 0}, true,
                   {0x9e6fbc9824cd6639ull, 0x8cbdd8441449c7c3ull}}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      return std::string(info.param.layout.name) + (info.param.gains ? "Gains" : "");
    });

}  // namespace
}  // namespace seam
