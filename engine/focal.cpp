#include "focal.h"

#include <cmath>

#include "align.h"
#include "camera.h"

namespace seam {

namespace {

constexpr double kOneOverTwoPi = 0.15915494309189535;
constexpr double kSearchEnd = 0.1;  // level-k pixels between the two inner points

double Zoom(int level) { return static_cast<double>(StitchPyramid::ZoomRatio(level)); }

/// The angle between the rays of two points of a photo, and the weight the
/// cost gives it (the two ray lengths).
void AngleBetween(double ax, double ay, double bx, double by, double f, double* angle,
                  double* weight) {
  const double ra = std::sqrt(ax * ax + ay * ay + f * f);
  const double rb = std::sqrt(bx * bx + by * by + f * f);
  const double dx = ax - bx, dy = ay - by;
  double c = (ra * ra + rb * rb - (dx * dx + dy * dy)) / (2 * ra * rb);
  // The law of cosines can step just past 1 for two nearly equal rays.
  if (c > 1) c = 1;
  if (c < -1) c = -1;
  *angle = std::acos(c);
  *weight = ra + rb;
}

}  // namespace

double LongestPhotoSide(const StitchMatrix& matrix) {
  double longest = 0;
  if (!matrix.elements) return 0;
  for (int i = 0; i < matrix.columns * matrix.rows; ++i) {
    const StitchPyramid* p = matrix.elements[i].pyramid;
    if (!p) continue;
    const double side = p->width > p->height ? p->width : p->height;
    if (side > longest) longest = side;
  }
  return longest;
}

double AngleCost(const StitchMatrix& matrix, int level, double focalAtLevel) {
  double cost = 0;
  StitchMatrix& m = const_cast<StitchMatrix&>(matrix);  // read-only use of the accessors
  for (const NeighbourPair& pair : LayoutPairs(matrix)) {
    StitchElement& pe = *PairElement(m, pair);
    const StitchElement& qe = matrix.elements[pair.neighbourColumn + pair.neighbourRow * matrix.columns];
    if (!pe.pyramid || !qe.pyramid) continue;
    double cxP, cyP, cxQ, cyQ;
    PhotoCentre(*pe.pyramid, level, &cxP, &cyP);
    PhotoCentre(*qe.pyramid, level, &cxQ, &cyQ);
    int count = *PairCount(pe, pair.kind);
    if (count > kStitchMaxPairs) count = kStitchMaxPairs;
    const StitchPair* list = PairList(pe, pair.kind);
    for (int j = 0; j < count; ++j)
      for (int l = j + 1; l < count; ++l) {
        double a, wa, b, wb;
        AngleBetween(list[j].x1 - cxP, list[j].y1 - cyP, list[l].x1 - cxP, list[l].y1 - cyP,
                     focalAtLevel, &a, &wa);
        AngleBetween(list[j].x2 - cxQ, list[j].y2 - cyQ, list[l].x2 - cxQ, list[l].y2 - cyQ,
                     focalAtLevel, &b, &wb);
        cost += std::fabs(a - b) * (wa + wb);
      }
  }
  return cost;
}

double RingFocal(const StitchMatrix& matrix, int level) {
  const int n = matrix.columns;
  double circumference = 0;
  for (int i = 0; i < n; ++i) {
    const StitchElement& self = matrix.elements[i];
    const StitchElement& left = matrix.elements[(i + n - 1) % n];
    // An empty list has no mean: the caller's fallback catches the NaN.
    if (self.rightCount <= 0 || left.rightCount <= 0) return std::nan("");
    double a = 0, c = 0;
    for (int k = 0; k < self.rightCount && k < kStitchMaxPairs; ++k) a += self.rightPairs[k].x1;
    for (int k = 0; k < left.rightCount && k < kStitchMaxPairs; ++k) c += left.rightPairs[k].x2;
    const int selfCount = self.rightCount < kStitchMaxPairs ? self.rightCount : kStitchMaxPairs;
    const int leftCount = left.rightCount < kStitchMaxPairs ? left.rightCount : kStitchMaxPairs;
    circumference += a / selfCount - c / leftCount;
  }
  return Zoom(level) * circumference * kOneOverTwoPi;
}

double GoldenSectionFocal(const StitchMatrix& matrix, int level) {
  const double b = LongestPhotoSide(matrix);
  double lo = b / Zoom(level) * 0.5;
  double hi = b / Zoom(level) * 5;
  const double lo0 = lo;
  const double g = std::sqrt(5.0) * 0.5 - 0.5;
  double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
  double c1 = AngleCost(matrix, level, x1), c2 = AngleCost(matrix, level, x2);
  while (x2 - x1 > kSearchEnd) {
    if (c1 >= c2) {
      lo = x1;
      x1 = x2;
      c1 = c2;
      x2 = lo + hi - x1;
      c2 = AngleCost(matrix, level, x2);
    } else {
      hi = x2;
      x2 = x1;
      c2 = c1;
      x1 = lo + hi - x2;
      c1 = AngleCost(matrix, level, x1);
    }
  }
  const double m = (x1 + x2) / 2;
  if (m - lo0 >= 0.5) return m * Zoom(level);
  // The minimum sits at the short end: the lists carry no sign of a finite
  // lens, so take the long end of the range (in level-0 pixels).
  return 5 * b;
}

void EstimateFocal(StitchMatrix* matrix, StitchOptions* options, int level) {
  const double b = LongestPhotoSide(*matrix);
  if (options->lensMode == kLensTelephoto) {
    options->lensMode = kLensTelephoto;
    options->focal = 10 * b;
    return;
  }
  options->lensMode = kLensAutomatic;
  if (matrix->layout != kLayoutCircle) {
    options->focal = GoldenSectionFocal(*matrix, level);
    return;
  }
  double focal = RingFocal(*matrix, level);
  if (!(focal >= b / 2)) {
    for (const NeighbourPair& pair : LayoutPairs(*matrix)) {
      PairElement(*matrix, pair)->rightCount = 0;
      SetSyntheticTriangle(*matrix, pair, level);
    }
    focal = RingFocal(*matrix, level);
  }
  options->focal = focal;
}

}  // namespace seam
