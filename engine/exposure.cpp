#include "exposure.h"

#include <algorithm>
#include <vector>

#include "camera.h"
#include "engine_dib.h"

namespace seam {

namespace {

constexpr int kBalancePasses = 50;
// Pixels darker or brighter than this (sum of the three bytes) say nothing
// about exposure: they are clipped or lost in noise.
constexpr int kDarkest = 45;
constexpr int kBrightest = 720;
constexpr int kFewestPixels = 10;

bool Filled(StitchMatrix& m, int column, int row) {
  StitchElement* e = m.GetElement(column, row);
  return e && e->pyramid;
}

int Brightness(const uint8_t* p) { return p[0] + p[1] + p[2]; }

// Divides rounding half away from zero.
long DivideRounded(long a, long b) {
  const long q = a / b;
  const long r = a % b;
  if (2 * std::labs(r) >= std::labs(b)) return q + ((a < 0) == (b < 0) ? 1 : -1);
  return q;
}

void SubtractMean(StitchMatrix& m) {
  long sum = 0;
  long count = 0;
  for (int r = 0; r < m.rows; ++r)
    for (int c = 0; c < m.columns; ++c)
      if (Filled(m, c, r)) {
        sum += m.GetElement(c, r)->exposureOffset;
        ++count;
      }
  if (count == 0) return;
  const long mean = sum / count;
  for (int r = 0; r < m.rows; ++r)
    for (int c = 0; c < m.columns; ++c)
      if (Filled(m, c, r)) m.GetElement(c, r)->exposureOffset -= mean;
}

void BalanceGrid(StitchMatrix& m, int renderLevel) {
  for (int r = 0; r < m.rows; ++r)
    for (int c = 0; c < m.columns; ++c) {
      if (!Filled(m, c, r)) continue;
      StitchElement* e = m.GetElement(c, r);
      if (Filled(m, c + 1, r))
        e->rightBrightnessStep = MeasureBrightnessStep(m, c, r, NeighbourKind::kRight, renderLevel);
      if (Filled(m, c, r + 1))
        e->upBrightnessStep = MeasureBrightnessStep(m, c, r, NeighbourKind::kUp, renderLevel);
    }
  const std::vector<int> order = TileVisitOrder(m);
  const int visited = static_cast<int>(order.size());
  for (int pass = 0; pass < kBalancePasses; ++pass) {
    for (int k = 0; k < visited; ++k) {
      const int c = order[static_cast<size_t>(k)] % m.columns;
      const int r = order[static_cast<size_t>(k)] / m.columns;
      StitchElement* own = m.GetElement(c, r);
      long e = 0;
      long n = 0;
      if (Filled(m, c - 1, r)) {
        const StitchElement* l = m.GetElement(c - 1, r);
        e += l->rightBrightnessStep - l->exposureOffset + own->exposureOffset;
        ++n;
      }
      if (Filled(m, c + 1, r)) {
        e += own->exposureOffset - own->rightBrightnessStep - m.GetElement(c + 1, r)->exposureOffset;
        ++n;
      }
      if (Filled(m, c, r - 1)) {
        const StitchElement* d = m.GetElement(c, r - 1);
        e += d->upBrightnessStep + own->exposureOffset - d->exposureOffset;
        ++n;
      }
      if (Filled(m, c, r + 1)) {
        e += own->exposureOffset - own->upBrightnessStep - m.GetElement(c, r + 1)->exposureOffset;
        ++n;
      }
      if (n > 0) own->exposureOffset -= e / (2 * n);
    }
    SubtractMean(m);
  }
}

void BalanceCircle(StitchMatrix& m, int renderLevel) {
  const int n = m.columns;
  for (int i = 0; i < n; ++i) {
    if (!Filled(m, i, 0) || !Filled(m, (i + 1) % n, 0)) continue;
    m.GetElement(i, 0)->rightBrightnessStep =
        MeasureBrightnessStep(m, i, 0, NeighbourKind::kRight, renderLevel);
  }
  long loop = 0;
  for (int i = 0; i < n; ++i) loop += m.GetElement(i, 0)->rightBrightnessStep;
  long running = 0;
  for (int i = 0; i < n; ++i) {
    running -= m.GetElement((i - 1 + n) % n, 0)->rightBrightnessStep;
    m.GetElement(i, 0)->exposureOffset = running + (i * loop) / n;
  }
  m.GetElement(0, 0)->rightBrightnessStep = DivideRounded(loop, n);
  SubtractMean(m);
}

}  // namespace

int CommonCoarsestLevel(const StitchMatrix& matrix) {
  int level = 9;
  const long cells = static_cast<long>(matrix.columns) * matrix.rows;
  for (long i = 0; i < cells; ++i) {
    const StitchPyramid* p = matrix.elements[i].pyramid;
    if (p) level = std::min(level, static_cast<int>(p->levels) - 1);
  }
  return std::max(level, 0);
}

long MeasureBrightnessStep(const StitchMatrix& matrixIn, int column, int row, NeighbourKind kind,
                           int renderLevel) {
  StitchMatrix matrix = matrixIn;
  const int nc = kind == NeighbourKind::kRight
                     ? (matrix.layout == kLayoutCircle ? (column + 1) % matrix.columns : column + 1)
                     : column;
  const int nr = kind == NeighbourKind::kUp ? row + 1 : row;
  StitchElement* a = matrix.GetElement(column, row);
  StitchElement* b = matrix.GetElement(nc, nr);
  if (!a || !b || !a->pyramid || !b->pyramid) return 0;
  const int count = kind == NeighbourKind::kRight ? a->rightCount : a->upCount;
  const StitchPair* pairs = kind == NeighbourKind::kRight ? a->rightPairs : a->upPairs;
  if (count <= 0 || count > kStitchMaxPairs) return 0;

  const int level = CommonCoarsestLevel(matrix);
  const long g = 1L << level;
  const long toLevel0 = 1L << std::clamp(renderLevel, 0, 9);
  long sx1 = 0, sy1 = 0, sx2 = 0, sy2 = 0;
  for (int i = 0; i < count; ++i) {
    sx1 += pairs[i].x1 * toLevel0;
    sy1 += pairs[i].y1 * toLevel0;
    sx2 += pairs[i].x2 * toLevel0;
    sy2 += pairs[i].y2 * toLevel0;
  }
  const long dx = (sx1 - sx2) / g / count;
  const long dy = (sy1 - sy2) / g / count;

  EngineDib imageA;
  EngineDib imageB;
  if (!imageA.Attach(matrix.GetImage(column, row, level)) ||
      !imageB.Attach(matrix.GetImage(nc, nr, level)))
    return 0;
  DibLock lockA(imageA);
  DibLock lockB(imageB);
  if (!lockA.Locked() || !lockB.Locked()) return 0;
  const PixelView va = imageA.View();
  const PixelView vb = imageB.View();
  if (va.bytesPerPixel != 3 || vb.bytesPerPixel != 3) return 0;
  // A's rectangle and B's moved by (dx, dy), cut to what the images hold.
  const long aw = std::min<long>(a->pyramid->width / g, va.width);
  const long ah = std::min<long>(a->pyramid->height / g, va.height);
  const long bw = std::min<long>(b->pyramid->width / g, vb.width);
  const long bh = std::min<long>(b->pyramid->height / g, vb.height);
  const long left = std::max(0L, dx);
  const long right = std::min(aw, dx + bw);
  const long top = std::max(0L, dy);
  const long bottom = std::min(ah, dy + bh);
  if (right <= left || bottom <= top) return 0;
  long sumA = 0;
  long sumB = 0;
  long pixels = 0;
  for (long y = top; y < bottom; ++y) {
    const uint8_t* ra = va.Row(static_cast<int>(y));
    const uint8_t* rb = vb.Row(static_cast<int>(y - dy));
    for (long x = left; x < right; ++x) {
      const int ba = Brightness(ra + 3 * x);
      const int bb = Brightness(rb + 3 * (x - dx));
      if (ba <= kDarkest || ba >= kBrightest || bb <= kDarkest || bb >= kBrightest) continue;
      sumA += ba;
      sumB += bb;
      ++pixels;
    }
  }
  if (pixels < kFewestPixels) return 0;
  return sumB / (3 * pixels) - sumA / (3 * pixels);
}

void BalanceExposure(StitchMatrix& matrix, const StitchOptions& options, int renderLevel) {
  const long cells = static_cast<long>(matrix.columns) * matrix.rows;
  for (long i = 0; i < cells; ++i) {
    matrix.elements[i].exposureOffset = 0;
    // Steps that are not measured read as "not measurable".
    if (!options.exposureBalance) {
      matrix.elements[i].rightBrightnessStep = 0;
      matrix.elements[i].upBrightnessStep = 0;
    }
  }
  if (!options.exposureBalance) return;
  if (matrix.layout == kLayoutCircle)
    BalanceCircle(matrix, renderLevel);
  else
    BalanceGrid(matrix, renderLevel);
}

}  // namespace seam
