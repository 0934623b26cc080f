#include "full_circle.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "arrange.h"
#include "seam.h"

namespace seam {

namespace {

// 2 pi as the closing correction's own constant.
constexpr double kFullTurn = 6.2831852;
constexpr long long kNoNeighbourLow = -1073741823;
constexpr long long kNoNeighbourHigh = 1073741823;

}  // namespace

bool ApplyClosureToFootprints(const RenderSetup& setup, const ClosureCorrection& closure,
                              std::vector<PhotoFootprint>& footprints, RECT* canvas) {
  const int c = std::max(setup.circumference, 1);
  RECT u{0, 0, 0, 0};
  std::vector<OutlinePoint> outline;
  for (PhotoFootprint& fp : footprints) {
    if (!fp.present) continue;
    const RECT r = fp.rect;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    outline.clear();
    outline.reserve(static_cast<size_t>(2 * (w + h)));
    auto visit = [&](int i, int j) {
      const int x = r.left + i;
      const int y = r.top + j;
      const Vec3 space = UnrolledToSpace(UnrolledPoint{double(x), double(y), setup.radius});
      const double a = x * closure.angle / c;
      const Vec3 turned = Multiply(AxisAngleRotation(closure.axis, a), space);
      const UnrolledPoint p = SpaceToUnrolled(turned, setup.radius);
      const int column = static_cast<int>(p.u + 0.5) % c;
      const long row = std::clamp<long>(std::lround(p.v), -setup.heightLimit, setup.heightLimit);
      outline.push_back({column, static_cast<int>(row), a});
    };
    for (int i = 0; i < w; ++i) visit(i, 0);
    for (int j = 0; j < h; ++j) visit(w - 1, j);
    for (int i = w - 1; i >= 0; --i) visit(i, h - 1);
    for (int j = h - 1; j >= 0; --j) visit(0, j);
    PhotoFootprint corrected;
    if (!FootprintFromOutline(outline, c, true, &corrected)) return false;
    fp = std::move(corrected);
    u = UniteRects(u, fp.rect);
  }
  if (u.right - u.left > c) {
    u.left = 0;
    u.right = c;
  }
  *canvas = u;
  return true;
}

void CorrectCanvasPoint(const RenderSetup& setup, const ClosureCorrection& closure, double x,
                        double y, double a, double* u, double* v) {
  const double r = setup.radius;
  const Vec3 space = UnrolledToSpace(UnrolledPoint{x, y, r});
  const Mat3 m = AxisAngleRotation(closure.axis, a);
  Vec3 source;
  if (std::fabs(closure.angle) > 1e-6) {
    // The uncorrected point lies on the cylinder at the angle that this
    // correction belongs to, at the height that the turn carries to y.
    const double phi = a / closure.angle * kFullTurn;
    const double sx = r * std::sin(phi);
    const double sz = -r * std::cos(phi);
    source = Vec3{sx, (space.y - m(1, 0) * sx - m(1, 2) * sz) / m(1, 1), sz};
  } else {
    source = Multiply(Transposed(m), space);
  }
  const UnrolledPoint p = SpaceToUnrolled(source, r);
  *u = p.u;
  *v = p.v;
}

ExposureRamp CircleExposureRamp(const StitchMatrix& matrix, const StitchOptions& options,
                                const RenderSetup& setup,
                                const std::vector<PhotoFootprint>& footprints, int column) {
  ExposureRamp ramp;
  const int n = matrix.columns;
  if (n <= 0) return ramp;
  ramp.loopStep = options.exposureBalance ? matrix.elements[0].rightBrightnessStep : 0;
  const int c = setup.circumference;
  const PhotoFootprint& me = footprints[static_cast<size_t>(column)];
  const int leftIndex = (column - 1 + n) % n;
  const int rightIndex = (column + 1) % n;
  const PhotoFootprint& left = footprints[static_cast<size_t>(leftIndex)];
  const PhotoFootprint& right = footprints[static_cast<size_t>(rightIndex)];
  auto widthAt = [&](int i) {
    const StitchPyramid* p = matrix.elements[i].pyramid;
    return p ? static_cast<long long>(p->width >> setup.level) : 0LL;
  };
  if (left.present) {
    const long long mid = column == 0 ? (static_cast<long long>(left.rect.right) + me.rect.left - c) / 2
                                      : (static_cast<long long>(left.rect.right) + me.rect.left) / 2;
    ramp.low = mid - std::min(widthAt(leftIndex), widthAt(column)) * options.blendPercent / 200;
  } else {
    ramp.low = kNoNeighbourLow;
  }
  if (right.present) {
    const long long mid = column == n - 1
                              ? (static_cast<long long>(me.rect.right) + right.rect.left + c) / 2
                              : (static_cast<long long>(me.rect.right) + right.rect.left) / 2;
    ramp.high = mid + std::min(widthAt(rightIndex), widthAt(column)) * options.blendPercent / 200;
  } else {
    ramp.high = kNoNeighbourHigh;
  }
  return ramp;
}

bool WrapRectangle(const StitchMatrix& matrix, const std::vector<PhotoFootprint>& footprints,
                   const RECT& canvasRect, int circumference, RECT* wrap) {
  const int n = matrix.columns;
  if (n <= 0) return false;
  const PhotoFootprint& last = footprints[static_cast<size_t>(n - 1)];
  if (!last.present || last.rect.right <= circumference) return false;
  for (int i = 0; i < n; ++i) {
    const PhotoFootprint& f = footprints[static_cast<size_t>(i)];
    if (!f.present || f.rect.right <= circumference) continue;
    *wrap = RECT{f.rect.left, canvasRect.top, last.rect.right, canvasRect.bottom};
    return true;
  }
  return false;
}

long FoldWrap(const RECT& canvasRect, const PixelView& canvas, const PixelView& canvasMask,
              const RECT& wrapRect, const PixelView& wrap, const PixelView& wrapMask,
              int circumference) {
  const RECT before{wrapRect.left, wrapRect.top, std::min<LONG>(wrapRect.right, circumference),
                    wrapRect.bottom};
  Paste(before, wrapRect, canvasRect, wrap, wrapMask, canvas, canvasMask);
  if (wrapRect.right <= circumference) return kStitchOk;

  // The part past the end of the turn, moved to the start of the canvas.
  const int from = std::max<LONG>(circumference, wrapRect.left);
  const RECT moved{from - circumference, wrapRect.top, wrapRect.right - circumference,
                   wrapRect.bottom};
  const int w = moved.right - moved.left;
  const int h = moved.bottom - moved.top;
  EngineDib image, mask;
  if (!image.Create(w, h, 24) || !mask.Create(w, h, 8)) return kStitchOutOfMemory;
  DibLock imageLock(image), maskLock(mask);
  if (!imageLock.Locked() || !maskLock.Locked()) return kStitchOutOfMemory;
  const PixelView mi = image.View();
  const PixelView mm = mask.View();
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = wrap.Row(y) + 3 * (from - wrapRect.left);
    const uint8_t* srcMask = wrapMask.Row(y) + (from - wrapRect.left);
    std::copy(src, src + 3 * w, mi.Row(y));
    std::copy(srcMask, srcMask + w, mm.Row(y));
  }
  // The canvas start takes the role of the layer, the moved end that of the
  // target lying to its left.
  SeamBlend(moved, canvasRect, moved, canvas, canvasMask, mi, mm, SeamDirectionKind::kAcrossColumns);
  return kStitchOk;
}

}  // namespace seam
