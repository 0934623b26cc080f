#include "align.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine_dib.h"
#include "feature_points.h"
#include "focal.h"
#include "progress.h"
#include "rects.h"
#include "vector_clones.h"

namespace seam {

namespace {

constexpr int kCoarseShare = 30;      // percent of Align spent on the coarse search
constexpr int kAlignEnd = 50;         // Align's last percentage
constexpr int kMaxStartLevel = 9;
constexpr int kMaxDetail = 3;
constexpr int kFinerWindowBelow = 11;  // search window around a predicted point
constexpr int kFinerWindowAbove = 12;
constexpr double kMaxSampleScore = 10;  // pixels: median distance of the best trial
constexpr int kMaxFeatures = 20;        // 4 x 5 or 5 x 4 cells

/// The detector's grid for one pair: cells across and down, minimum distance
/// between points, and the percentage of the strongest cell to exceed.
struct DetectorGrid {
  int columns;
  int rows;
  int minDistance;
  int percent;
};

DetectorGrid StartGrid(PairKind kind) {
  return kind == PairKind::kRight ? DetectorGrid{2, 4, 3, 10} : DetectorGrid{4, 2, 3, 10};
}

DetectorGrid FinerGrid(PairKind kind) {
  return kind == PairKind::kRight ? DetectorGrid{4, 5, 4, 25} : DetectorGrid{5, 4, 4, 25};
}

RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom) {
  RECT r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

RECT Shrink(const RECT& r, LONG by) {
  return MakeRect(r.left + by, r.top + by, r.right - by, r.bottom - by);
}

RECT Divide(const RECT& r, LONG zoom) {
  return MakeRect(r.left / zoom, r.top / zoom, r.right / zoom, r.bottom / zoom);
}

LONG Clamp(LONG v, LONG low, LONG high) { return v < low ? low : (v > high ? high : v); }

/// Width and height of a photo at a level: the level-0 size halved `level`
/// times with truncation.
LONG LevelWidth(const StitchPyramid& p, int level) { return p.width >> level; }
LONG LevelHeight(const StitchPyramid& p, int level) { return p.height >> level; }

StitchElement& QElement(StitchMatrix& matrix, const NeighbourPair& pair) {
  return matrix.elements[pair.neighbourColumn + pair.neighbourRow * matrix.columns];
}

RECT* OverlapHere(StitchElement& e, PairKind kind) {
  return kind == PairKind::kRight ? &e.rightOverlap : &e.upOverlap;
}

RECT* OverlapThere(StitchElement& e, PairKind kind) {
  return kind == PairKind::kRight ? &e.rightOverlapThere : &e.upOverlapThere;
}

/// A pyramid level of a photo, borrowed and locked for one scope.
class LevelImage {
 public:
  LevelImage(const StitchPyramid& pyramid, int level) {
    if (dib_.Attach(pyramid.image[level])) locked_ = dib_.Lock() != 0;
  }
  ~LevelImage() {
    if (locked_) dib_.Unlock();
  }
  LevelImage(const LevelImage&) = delete;
  LevelImage& operator=(const LevelImage&) = delete;
  bool Ok() const { return locked_; }
  PixelView View() const { return dib_.View(); }
  EngineDib& Dib() { return dib_; }

 private:
  EngineDib dib_;
  bool locked_ = false;
};

/// Features of Q inside `rect` (level pixels) on a smoothed copy of Q, each
/// moved into the rectangle shrunk by 4 more pixels so its template fits.
///
/// Only the part of Q the detector reads is smoothed: the rectangle grown by 2
/// pixels (clipped to Q). Inside it, one pixel in from its edges, the smoothed
/// values are those of smoothing all of Q, and the detector reads no further
/// than one pixel outside the rectangle; at Q's own edges the crop's edges are
/// Q's, so the edge rule is the same too.
long FindFeatures(LevelImage& q, const RECT& rect, const DetectorGrid& grid,
                  std::vector<FeaturePoint>* features) {
  features->clear();
  const PixelView full = q.View();
  const RECT crop = IntersectRects(MakeRect(rect.left - 2, rect.top - 2, rect.right + 2, rect.bottom + 2),
                              MakeRect(0, 0, full.width, full.height));
  const int cw = crop.right - crop.left, ch = crop.bottom - crop.top;
  if (cw < 3 || ch < 3) return kStitchOk;  // nothing the detector could examine

  // Q's part is smoothed where it lies, as a picture of its own.
  PixelView part = full;
  part.width = cw;
  part.height = ch;
  part.bits = full.Row(crop.top) + crop.left * 3;
  EngineDib smoothed;
  if (!smoothed.Create(cw, ch, 24)) return kStitchOutOfMemory;
  DibLock lock(smoothed);
  if (!lock.Locked()) return kStitchOutOfMemory;
  if (!SmoothView(part, smoothed.View())) return kStitchOutOfMemory;

  // The detector keeps one pixel clear of the image's edges: of Q's edges, so
  // the rectangle is clipped against Q before it moves into the crop.
  const RECT clipped = IntersectRects(rect, MakeRect(1, 1, full.width - 1, full.height - 1));
  if (clipped.right <= clipped.left) return kStitchOk;
  const RECT local = MakeRect(clipped.left - crop.left, clipped.top - crop.top,
                              clipped.right - crop.left, clipped.bottom - crop.top);
  int count = 0;
  const int cells = grid.columns * grid.rows;
  std::vector<FeaturePoint> all(cells);
  long result = DetectFeatures(smoothed.View(), local, grid.columns, grid.rows, grid.minDistance,
                               grid.percent, all.data(), &count);
  if (result != kStitchOk) return result;
  const RECT inner = Shrink(rect, 4);
  for (int i = 0; i < count && i < kMaxFeatures; ++i) {
    FeaturePoint point;
    point.x = Clamp(all[i].x + crop.left, inner.left, inner.right - 1);
    point.y = Clamp(all[i].y + crop.top, inner.top, inner.bottom - 1);
    features->push_back(point);
  }
  return kStitchOk;
}

/// One match of a Q feature in P, held apart from the list while the sample
/// is chosen.
struct Match {
  LONG px, py;  // in P
  LONG qx, qy;  // in Q
};

/// The matches within 2.5 times the winning score (at least 1.5 level pixels)
/// of the winning sample's rotation, up to the list's size, chosen to spread:
/// the best-fitting first, then each time the one furthest from those taken.
/// Falls back to the sample itself when fewer than three are in.
std::vector<int> SpreadInliers(const std::vector<Match>& matches, const std::vector<Vec3>& sourceRays,
                               const std::vector<Vec3>& targetRays, const int* sample,
                               int sampleSize, double focal, int level, double cxP, double cyP,
                               double cxQ, double cyQ, double score) {
  std::vector<int> fallback(sample, sample + sampleSize);
  Vec3 s[6], t[6];
  for (int k = 0; k < sampleSize; ++k) {
    s[k] = sourceRays[static_cast<size_t>(sample[k])];
    t[k] = targetRays[static_cast<size_t>(sample[k])];
  }
  Mat3 rotation;
  if (!RobustRotation(s, t, sampleSize, &rotation)) return fallback;
  const double limit = std::max(1.5, 2.5 * score);
  std::vector<int> inliers;
  std::vector<double> residual;
  for (size_t k = 0; k < matches.size(); ++k) {
    double x, y;
    ProjectIntoNeighbour(rotation, focal, level, matches[k].qx, matches[k].qy, cxQ, cyQ, cxP, cyP,
                         &x, &y);
    const double d = std::hypot(x - matches[k].px, y - matches[k].py);
    if (d <= limit) {
      inliers.push_back(static_cast<int>(k));
      residual.push_back(d);
    }
  }
  if (inliers.size() < 3) return fallback;
  std::vector<int> chosen;
  std::vector<bool> taken(inliers.size(), false);
  size_t first = 0;
  for (size_t k = 1; k < inliers.size(); ++k)
    if (residual[k] < residual[first]) first = k;
  chosen.push_back(inliers[first]);
  taken[first] = true;
  while (static_cast<int>(chosen.size()) < kStitchMaxPairs && chosen.size() < inliers.size()) {
    long long bestGap = -1;
    size_t next = 0;
    for (size_t k = 0; k < inliers.size(); ++k) {
      if (taken[k]) continue;
      const Match& m = matches[static_cast<size_t>(inliers[k])];
      long long gap = LLONG_MAX;
      for (int c : chosen) {
        const Match& o = matches[static_cast<size_t>(c)];
        const long long dx = m.qx - o.qx, dy = m.qy - o.qy;
        gap = std::min(gap, dx * dx + dy * dy);
      }
      if (gap > bestGap) bestGap = gap, next = k;
    }
    taken[next] = true;
    chosen.push_back(inliers[next]);
  }
  return chosen;
}

}  // namespace

int ProgressPairCount(const StitchMatrix& matrix) {
  if (matrix.layout == kLayoutTile)
    return (matrix.columns - 1) * matrix.rows + matrix.columns * (matrix.rows - 1);
  return static_cast<int>(LayoutPairs(matrix).size());
}

int ProgressPairIndex(const StitchMatrix& matrix, const NeighbourPair& pair) {
  switch (matrix.layout) {
    case kLayoutTile:
      if (pair.kind == PairKind::kRight) return pair.column * matrix.rows + pair.row;
      return (matrix.columns - 1) * matrix.rows + pair.column * (matrix.rows - 1) + pair.row;
    case kLayoutColumn:
      return pair.row;
    default:
      return pair.column;
  }
}

void SetSyntheticTriangle(StitchMatrix& matrix, const NeighbourPair& pair, int level) {
  StitchElement& pe = *PairElement(matrix, pair);
  const StitchPyramid& p = *pe.pyramid;
  const StitchPyramid& q = *QElement(matrix, pair).pyramid;
  const LONG wP = LevelWidth(p, level), hP = LevelHeight(p, level);
  const LONG wQ = LevelWidth(q, level), hQ = LevelHeight(q, level);
  StitchPair* list = PairList(pe, pair.kind);
  LONG* count = PairCount(pe, pair.kind);
  const bool right = pair.kind == PairKind::kRight;

  LONG cx1, cy1, cx2, cy2, ow, oh;
  if (*count > 0) {
    const LONG sx = list[0].x1 - list[0].x2, sy = list[0].y1 - list[0].y2;
    const RECT here = IntersectRects(MakeRect(0, 0, wP, hP), MakeRect(sx, sy, sx + wQ, sy + hQ));
    const RECT there = IntersectRects(MakeRect(0, 0, wQ, hQ), MakeRect(-sx, -sy, wP - sx, hP - sy));
    cx1 = (here.left + here.right) / 2;
    cy1 = (here.top + here.bottom) / 2;
    cx2 = (there.left + there.right) / 2;
    cy2 = (there.top + there.bottom) / 2;
    ow = here.right - here.left;
    oh = here.bottom - here.top;
  } else {
    ow = std::min(wP, wQ);
    oh = std::min(hP, hQ);
    if (right) {
      cx1 = 3 * wP / 4;
      cy1 = hP / 2;
      cx2 = wQ / 4;
      cy2 = hQ / 2;
    } else {
      cx1 = wP / 2;
      cy1 = 3 * hP / 4;
      cx2 = wQ / 2;
      cy2 = hQ / 4;
    }
  }
  if (right) {
    const LONG a = ow / 8, b = oh / 4;
    list[0] = {cx1 - a, cy1, cx2 - a, cy2};
    list[1] = {cx1 + a, cy1 - b, cx2 + a, cy2 - b};
    list[2] = {cx1 + a, cy1 + b, cx2 + a, cy2 + b};
  } else {
    const LONG a = oh / 8, b = ow / 4;
    list[0] = {cx1, cy1 - a, cx2, cy2 - a};
    list[1] = {cx1 - b, cy1 + a, cx2 - b, cy2 + a};
    list[2] = {cx1 + b, cy1 + a, cx2 + b, cy2 + a};
  }
  *count = 3;
}

SEAM_VECTOR_CLONES long CoarseSearch(StitchMatrix& matrix, const NeighbourPair& pair, int level,
                                     int first, int last, ProgressReporter& progress) {
  StitchElement& pe = *PairElement(matrix, pair);
  LevelImage pImage(*pe.pyramid, level);
  LevelImage qImage(*QElement(matrix, pair).pyramid, level);
  if (!pImage.Ok() || !qImage.Ok()) return kStitchOutOfMemory;
  const PixelView p = pImage.View(), q = qImage.View();
  const int wP = p.width, hP = p.height, wQ = q.width, hQ = q.height;
  const int W = std::min(wP, wQ), H = std::min(hP, hQ);

  int xBegin, xEnd, yBegin, yEnd;
  if (pair.kind == PairKind::kRight) {
    xBegin = std::max(wP - W + 1, wP / 8);
    xEnd = wP - W / 4;
    yBegin = (matrix.layout == kLayoutCircle ? 3 * H / 4 - hQ : 3 * H / 4 - hP);
    yEnd = hP - 3 * H / 4;
  } else {
    xBegin = W / 2 - wQ;
    xEnd = wP - W / 2;
    yBegin = std::max(hP - H + 1, hP / 8);
    yEnd = hP - H / 4;
  }

  long long bestCost = LLONG_MAX;
  int bestX = xBegin, bestY = yBegin;
  const int yCount = yEnd - yBegin;
  for (int y = yBegin; y < yEnd; ++y) {
    if (progress.Percent(first + (last - first) * (y - yBegin) / yCount)) return kStitchCancelled;
    const int top = std::max(0, y), bottom = std::min(hP, y + hQ);
    if (top >= bottom) continue;
    for (int x = xBegin; x < xEnd; ++x) {
      const int left = std::max(0, x), right = std::min(wP, x + wQ);
      if (left >= right) continue;
      const long long area = static_cast<long long>(right - left) * (bottom - top);
      const int bytes = (right - left) * 3;
      long long sumP = 0, sumQ = 0;
      for (int row = top; row < bottom; ++row) {
        const uint8_t* a = p.Row(row) + left * 3;
        const uint8_t* b = q.Row(row - y) + (left - x) * 3;
        for (int i = 0; i < bytes; ++i) {
          sumP += a[i];
          sumQ += b[i];
        }
      }
      const int offset = static_cast<int>(sumQ / (3 * area) - sumP / (3 * area));
      long long sum = 0;
      bool abandoned = false;
      for (int row = top; row < bottom; ++row) {
        const uint8_t* a = p.Row(row) + left * 3;
        const uint8_t* b = q.Row(row - y) + (left - x) * 3;
        for (int i = 0; i < bytes; ++i) sum += std::abs(a[i] + offset - b[i]);
        if (16 * sum / area >= bestCost) {
          abandoned = true;
          break;
        }
      }
      if (abandoned) continue;
      const long long cost = 16 * sum / area;
      if (cost < bestCost) {
        bestCost = cost;
        bestX = x;
        bestY = y;
      }
    }
  }
  if (progress.Percent(last)) return kStitchCancelled;
  StitchPair* list = PairList(pe, pair.kind);
  list[0] = {bestX, bestY, 0, 0};
  *PairCount(pe, pair.kind) = 1;
  if (pair.kind == PairKind::kRight)
    pe.rightReserved = 0;
  else
    pe.upReserved = 0;
  return kStitchOk;
}

namespace {

/// What both matching steps start from: the pair's two elements and
/// pyramids, its list and count in P's element, and the level's zoom.
struct PairAtLevel {
  PairAtLevel(StitchMatrix& matrix, const NeighbourPair& pair, int level)
      : pe(*PairElement(matrix, pair)),
        qe(QElement(matrix, pair)),
        pp(*pe.pyramid),
        qp(*qe.pyramid),
        list(PairList(pe, pair.kind)),
        count(PairCount(pe, pair.kind)),
        right(pair.kind == PairKind::kRight),
        zoom(StitchPyramid::ZoomRatio(level)) {}
  StitchElement& pe;
  StitchElement& qe;
  const StitchPyramid& pp;
  const StitchPyramid& qp;
  StitchPair* list;
  LONG* count;
  bool right;
  LONG zoom;
};

}  // namespace

long MatchFirstLevel(StitchMatrix& matrix, const NeighbourPair& pair, int level) {
  const PairAtLevel at(matrix, pair, level);
  StitchElement& pe = at.pe;
  const StitchPyramid& pp = at.pp;
  const StitchPyramid& qp = at.qp;
  StitchPair* list = at.list;
  LONG* count = at.count;
  const bool right = at.right;
  const LONG zoom = at.zoom;

  // The coarse shift (level s), and the overlap it implies in level-0 pixels.
  const StitchPair coarse = *count > 0 ? list[0] : StitchPair{0, 0, 0, 0};
  const LONG sx = (coarse.x1 - coarse.x2) * zoom, sy = (coarse.y1 - coarse.y2) * zoom;
  *OverlapHere(pe, pair.kind) = IntersectRects(MakeRect(0, 0, pp.width, pp.height),
                                          MakeRect(sx, sy, sx + qp.width, sy + qp.height));
  *OverlapThere(pe, pair.kind) = IntersectRects(MakeRect(0, 0, qp.width, qp.height),
                                           MakeRect(-sx, -sy, pp.width - sx, pp.height - sy));

  LevelImage pImage(pp, level), qImage(qp, level);
  if (!pImage.Ok() || !qImage.Ok()) return kStitchOutOfMemory;
  const PixelView p = pImage.View(), q = qImage.View();
  const RECT search = Shrink(Divide(*OverlapThere(pe, pair.kind), zoom), 2);
  std::vector<FeaturePoint> features;
  const long result = FindFeatures(qImage, search, StartGrid(pair.kind), &features);
  if (result != kStitchOk) return result;

  const LONG dx = right ? p.height / 6 : p.width / 10;
  const LONG dy = right ? p.height / 10 : p.width / 6;
  *count = 0;
  for (const FeaturePoint& f : features) {
    const LONG px = f.x + coarse.x1 - coarse.x2, py = f.y + coarse.y1 - coarse.y2;
    const RECT window = MakeRect(px - (dx + 4), py - (dy + 4), px + dx + 5, py + dy + 5);
    const MatchTemplate templ = TakeTemplate(q, f.x, f.y);
    LONG mx = 0, my = 0;
    if (FindTemplate(p, templ, window, &mx, &my) > kMinimumMatchContrast &&
        *count < kStitchMaxPairs)
      list[(*count)++] = {mx, my, f.x, f.y};
  }

  // A neighbour lies to the right (or above): points that say otherwise are
  // mismatches.
  for (int k = *count - 1; k >= 0; --k) {
    const bool wrongWay = right ? list[k].x1 - p.width / 2 < list[k].x2 - q.width / 2
                                : list[k].y1 - p.height / 2 < list[k].y2 - q.height / 2;
    if (!wrongWay) continue;
    for (int m = k; m + 1 < *count; ++m) list[m] = list[m + 1];
    --*count;
  }
  if (*count < 3) SetSyntheticTriangle(matrix, pair, level);
  return kStitchOk;
}

long MatchFinerLevel(StitchMatrix& matrix, const StitchOptions& options, const NeighbourPair& pair,
                     int level) {
  const PairAtLevel at(matrix, pair, level);
  StitchElement& pe = at.pe;
  const StitchPyramid& pp = at.pp;
  const StitchPyramid& qp = at.qp;
  StitchPair* list = at.list;
  LONG* count = at.count;
  const bool right = at.right;
  const LONG zoom = at.zoom;

  // Too few points: keep the shift the list had, as three synthetic pairs. The
  // list still holds the previous level's pairs, twice coarser than this level.
  auto fallBack = [&]() {
    if (*count > 0) list[0] = {list[0].x1 * 2, list[0].y1 * 2, list[0].x2 * 2, list[0].y2 * 2};
    SetSyntheticTriangle(matrix, pair, level);
    return kStitchOk;
  };

  RECT there = *OverlapThere(pe, pair.kind);
  if (right)
    there.right -= (there.right - there.left) / 10;
  else
    there.bottom -= (there.bottom - there.top) / 10;
  const RECT search = Shrink(Divide(there, zoom), 2);

  LevelImage pImage(pp, level), qImage(qp, level);
  if (!pImage.Ok() || !qImage.Ok()) return kStitchOutOfMemory;
  const PixelView p = pImage.View(), q = qImage.View();
  std::vector<FeaturePoint> features;
  const long result = FindFeatures(qImage, search, FinerGrid(pair.kind), &features);
  if (result != kStitchOk) return result;
  if (features.size() <= 2) return fallBack();

  const Mat3 previous = Mat3::From(PairRotationField(pe, pair.kind));
  double cxP, cyP, cxQ, cyQ;
  PhotoCentre(pp, level, &cxP, &cyP);
  PhotoCentre(qp, level, &cxQ, &cyQ);
  std::vector<Match> matches;
  for (const FeaturePoint& f : features) {
    LONG px, py;
    ProjectIntoNeighbourRounded(previous, options.focal, level, f.x, f.y, cxQ, cyQ, cxP, cyP, &px,
                                &py);
    const RECT window = MakeRect(px - kFinerWindowBelow, py - kFinerWindowBelow,
                                 px + kFinerWindowAbove, py + kFinerWindowAbove);
    const MatchTemplate templ = TakeTemplate(q, f.x, f.y);
    LONG mx = 0, my = 0;
    if (FindTemplate(p, templ, window, &mx, &my) > kMinimumMatchContrast)
      matches.push_back({mx, my, f.x, f.y});
  }
  const int m = static_cast<int>(matches.size());
  if (m <= 2) return fallBack();

  *count = 0;
  int sampleSize, trials;
  if (m <= 6) {
    sampleSize = 3;
    trials = 5;
  } else if (m <= 8) {
    sampleSize = 6;
    trials = 10;
  } else if (m <= 10) {
    sampleSize = 6;
    trials = 30;
  } else if (m <= 15) {
    sampleSize = 6;
    trials = 50;
  } else {
    sampleSize = 6;
    trials = 100;
  }

  const double focalAtLevel = options.focal / static_cast<double>(zoom);
  std::vector<Vec3> sourceRays(m), targetRays(m);
  for (int k = 0; k < m; ++k) {
    targetRays[k] = Normalize(PixelRay(matches[k].px, matches[k].py, cxP, cyP, focalAtLevel));
    sourceRays[k] = Normalize(PixelRay(matches[k].qx, matches[k].qy, cxQ, cyQ, focalAtLevel));
  }
  double bestScore = 9999;
  int best[6] = {0, 0, 0, 0, 0, 0};
  std::vector<double> distances(m);
  for (int t = 1; t <= trials; ++t) {
    LinearCongruential random(2000u * static_cast<uint32_t>(t));
    int sample[6];
    int taken = 0;
    while (taken < sampleSize) {
      const int index = random.Next() % m;
      if (std::find(sample, sample + taken, index) != sample + taken) continue;
      sample[taken++] = index;
    }
    Vec3 s[6], tr[6];
    for (int k = 0; k < sampleSize; ++k) {
      s[k] = sourceRays[sample[k]];
      tr[k] = targetRays[sample[k]];
    }
    Mat3 rotation;
    if (!RobustRotation(s, tr, sampleSize, &rotation)) continue;
    for (int k = 0; k < m; ++k) {
      double x, y;
      ProjectIntoNeighbour(rotation, options.focal, level, matches[k].qx, matches[k].qy, cxQ, cyQ,
                           cxP, cyP, &x, &y);
      const double ex = x - matches[k].px, ey = y - matches[k].py;
      distances[k] = std::sqrt(ex * ex + ey * ey);
      if (std::isnan(distances[k])) distances[k] = HUGE_VAL;
    }
    std::sort(distances.begin(), distances.end());
    const double score = distances[m / 2];
    if (score < bestScore) {
      bestScore = score;
      std::copy(sample, sample + sampleSize, best);
    }
  }
  if (bestScore > kMaxSampleScore) {
    SetSyntheticTriangle(matrix, pair, level);  // the list is empty: the assumed overlap
    return kStitchOk;
  }
  // The list keeps the winning sample's inliers, as many as it holds, spread
  // over the overlap: the rotation of the winning sample decides who is in.
  std::vector<int> keep = SpreadInliers(matches, sourceRays, targetRays, best, sampleSize,
                                        options.focal, level, cxP, cyP, cxQ, cyQ, bestScore);
  for (size_t k = 0; k < keep.size(); ++k) {
    const Match& match = matches[static_cast<size_t>(keep[k])];
    list[k] = {match.px, match.py, match.qx, match.qy};
  }
  *count = static_cast<LONG>(keep.size());
  return kStitchOk;
}

}  // namespace seam

using seam::NeighbourPair;

extern "C" SEAMCORE_API long Align(StitchMatrix* matrix, StitchOptions* options,
                                   StitchProgressProc progress) {
  seam::ProgressReporter reporter(progress, 0, seam::kAlignEnd);
  if (reporter.Percent(0)) return kStitchCancelled;
  if (!matrix || !options || !matrix->elements || matrix->columns <= 0 || matrix->rows <= 0)
    return kStitchInvalidTileLayout;
  if (matrix->layout == kLayoutTile && !seam::CheckTileLayout(*matrix))
    return kStitchInvalidTileLayout;

  std::vector<NeighbourPair> pairs;
  for (const NeighbourPair& pair : seam::LayoutPairs(*matrix)) {
    const StitchElement& p = *seam::PairElement(*matrix, pair);
    const StitchElement& q =
        matrix->elements[pair.neighbourColumn + pair.neighbourRow * matrix->columns];
    if (p.pyramid && q.pyramid) pairs.push_back(pair);
  }

  int start = seam::kMaxStartLevel;
  for (int i = 0; i < matrix->columns * matrix->rows; ++i) {
    const StitchPyramid* p = matrix->elements[i].pyramid;
    if (p && p->levels - 1 < start) start = p->levels - 1;
  }
  if (start < 0) start = 0;
  const int detail = std::max(0, std::min<int>(options->detail, seam::kMaxDetail));
  const int end = std::min(start, detail);
  const int shareCount = std::max(1, seam::ProgressPairCount(*matrix));

  for (const NeighbourPair& pair : pairs) {
    const int k = seam::ProgressPairIndex(*matrix, pair);
    const long result =
        seam::CoarseSearch(*matrix, pair, start, seam::kCoarseShare * k / shareCount,
                           seam::kCoarseShare * (k + 1) / shareCount, reporter);
    if (result != kStitchOk) return result;
  }
  if (reporter.Percent(seam::kCoarseShare)) return kStitchCancelled;

  const int levelCount = start - end + 1;
  const int levelShare = seam::kAlignEnd - seam::kCoarseShare;
  for (int level = start; level >= end; --level) {
    const int j = start - level;
    const int slotStart = seam::kCoarseShare + levelShare * j / levelCount;
    const int slotEnd = seam::kCoarseShare + (levelShare * j + levelShare) / levelCount;
    if (reporter.Percent(slotStart)) return kStitchCancelled;
    for (const NeighbourPair& pair : pairs) {
      long result;
      if (level == start) {
        result = seam::MatchFirstLevel(*matrix, pair, level);
      } else {
        const int k = seam::ProgressPairIndex(*matrix, pair);
        if (reporter.Percent(slotStart + k * (slotEnd - slotStart) / shareCount))
          return kStitchCancelled;
        result = seam::MatchFinerLevel(*matrix, *options, pair, level);
      }
      if (result != kStitchOk && result != kStitchTooFewPairs) return result;
    }
    if (options->lensMode != kLensGiven) seam::EstimateFocal(matrix, options, level);
    seam::SolveAllPairRotations(matrix, options, level);
  }
  if (reporter.Percent(seam::kAlignEnd)) return kStitchCancelled;
  return kStitchOk;
}
