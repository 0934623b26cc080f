#include "seam.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "vector_clones.h"

namespace seam {

namespace {

// Buckets of the shortest-path search. A step never costs more than 764, so
// every pending distance lies within 765 of the lowest and a ring of buckets
// indexed by distance modulo its size is enough.
constexpr int kBucketRing = 1024;

struct PendingCell {
  int cell;
  int distance;
  int next;  // next entry of the same bucket, -1 at the end
};

// The seam frame: grid row i and column j of the (possibly transposed) cost
// grid, turned into a pixel index of the overlap crops.
struct SeamFrame {
  int cropWidth;
  int cropHeight;
  bool acrossRows;
  int gridWidth() const { return acrossRows ? cropHeight : cropWidth; }
  int gridHeight() const { return acrossRows ? cropWidth : cropHeight; }
  size_t Pixel(int i, int j) const {
    return acrossRows ? static_cast<size_t>(j) * cropWidth + i
                      : static_cast<size_t>(i) * cropWidth + j;
  }
};

struct OverlapCrops {
  WorkBuffer<uint8_t> layer;       // 3 bytes per pixel, blue green red
  WorkBuffer<uint8_t> target;
  WorkBuffer<uint8_t> layerMask;   // 0 or 255
  WorkBuffer<uint8_t> targetMask;
};

inline uint8_t ClampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

inline void CopyPixel(const uint8_t* from, uint8_t* to) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}

int Median3(int a, int b, int c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

// Copies the pixels of a row whose source mask is set and sets the
// destination mask there, a run of set pixels at a time.
void CopyMaskedRow(const uint8_t* source, const uint8_t* sourceMask, uint8_t* destination,
                   uint8_t* destinationMask, int count) {
  int x = 0;
  while (x < count) {
    while (x < count && !sourceMask[x]) ++x;
    const int from = x;
    while (x < count && sourceMask[x]) ++x;
    if (x == from) break;
    std::memcpy(destination + 3 * from, source + 3 * from, 3 * static_cast<size_t>(x - from));
    std::memset(destinationMask + from, 255, static_cast<size_t>(x - from));
  }
}

// One binomial pass over `count` values of a field row (three channels a
// cell): a flagged value becomes the 3 x 3 mean of its channel, each term
// shifted on its own; an unflagged one keeps what `out` holds.
SEAM_VECTOR_CLONES void SmoothFieldRow(const int32_t* __restrict above,
                                       const int32_t* __restrict here,
                                       const int32_t* __restrict below,
                                       const uint8_t* __restrict flags, int count,
                                       int32_t* __restrict out) {
  for (int e = 0; e < count; ++e) {
    const int32_t v = (here[e] >> 2) + (above[e] >> 3) + (below[e] >> 3) + (here[e - 3] >> 3) +
                      (here[e + 3] >> 3) + (above[e - 3] >> 4) + (above[e + 3] >> 4) +
                      (below[e - 3] >> 4) + (below[e + 3] >> 4);
    out[e] = flags[e] ? v : out[e];
  }
}

// Along the seam: the target side is taken from the target, the colour
// difference on the seam is spread as a smoothed ramp over a band of an eighth
// of the width on both sides.
bool BlendAlongSeam(const SeamFrame& f, const SeamPath& path, OverlapCrops& c) {
  const int gw = f.gridWidth();
  const int gh = f.gridHeight();
  const int n = path.Count();
  int minIndex = 0;
  int maxIndex = 0;
  for (int k = 1; k < n; ++k) {
    if (path[k].row < path[minIndex].row) minIndex = k;
    if (path[k].row > path[maxIndex].row) maxIndex = k;
  }
  const int minRow = path[minIndex].row;
  const int maxRow = path[maxIndex].row;
  WorkBuffer<int> seamColumn(static_cast<size_t>(gh));
  if (!seamColumn.Ok()) return false;
  seamColumn.Fill(-1);
  for (int k = 0; k < n; ++k) seamColumn[static_cast<size_t>(path[k].row)] = path[k].column;

  // The target side of the seam.
  for (int i = 0; i < gh; ++i) {
    int column;
    if (i < minRow)
      column = path[minIndex].column;
    else if (i >= maxRow)
      column = path[maxIndex].column;
    else
      column = seamColumn[static_cast<size_t>(i)];
    for (int j = 0; j < column; ++j) {
      const size_t p = f.Pixel(i, j);
      if (!c.targetMask[p]) continue;
      CopyPixel(&c.target[3 * p], &c.layer[3 * p]);
      c.layerMask[p] = 255;
    }
  }

  // Differences on the seam, target minus layer, smoothed by a running median.
  WorkBuffer<int> raw(static_cast<size_t>(3 * n));
  WorkBuffer<int> diff(static_cast<size_t>(3 * n));
  if (!raw.Ok() || !diff.Ok()) return false;
  for (int k = 0; k < n; ++k) {
    const size_t p = f.Pixel(path[k].row, path[k].column);
    for (int ch = 0; ch < 3; ++ch) raw[3 * k + ch] = c.target[3 * p + ch] - c.layer[3 * p + ch];
  }
  for (int k = 0; k < n; ++k)
    for (int ch = 0; ch < 3; ++ch)
      diff[3 * k + ch] = (k == 0 || k == n - 1)
                             ? raw[3 * k + ch]
                             : Median3(raw[3 * (k - 1) + ch], raw[3 * k + ch], raw[3 * (k + 1) + ch]);

  for (int k = 0; k < n; ++k) c.layerMask[f.Pixel(path[k].row, path[k].column)] = 0;

  const int band = gw / 8;
  if (band == 0) return true;  // too narrow for a ramp; the seam alone decides

  // The correction is zero beyond the band around the seam's columns, and the
  // four smoothing passes spread it by four cells at most, so the fields, the
  // passes and the correction stay within that range of columns: the result
  // is the same as over the full width.
  int seamLeft = gw, seamRight = -1;
  for (int k = 0; k < n; ++k) {
    seamLeft = std::min(seamLeft, path[k].column);
    seamRight = std::max(seamRight, path[k].column);
  }
  const int fromColumn = std::max(1, seamLeft - band - 5);
  const int toColumn = std::min(gw - 2, seamRight + band + 5);
  const int fieldLeft = std::max(0, std::min(fromColumn - 1, seamLeft - band));
  const int fieldRight = std::min(gw - 1, std::max(toColumn + 1, seamRight + band));
  const int fieldWidth = fieldRight - fieldLeft + 1;

  // Correction fields in 8 fractional bits, three channels per grid cell of
  // the columns fieldLeft to fieldRight.
  const size_t cells = static_cast<size_t>(fieldWidth) * gh * 3;
  WorkBuffer<int32_t> fieldA(cells);
  WorkBuffer<int32_t> fieldB(cells);
  if (!fieldA.Ok() || !fieldB.Ok()) return false;
  fieldA.Fill(0);
  fieldB.Fill(0);
  auto at = [fieldWidth, fieldLeft](int i, int j) {
    return (static_cast<size_t>(i) * fieldWidth + (j - fieldLeft)) * 3;
  };
  // The ramp's value at a distance of `band - k` cells from the seam is
  // d k / (2 band), truncated towards zero; it is stepped along with its
  // remainder rather than divided afresh in every cell (the same integers).
  const int denominator = 2 * band;
  for (int k = 0; k < n; ++k) {
    const int i = path[k].row;
    const int s = path[k].column;
    for (int ch = 0; ch < 3; ++ch) {
      const int d = diff[3 * k + ch];
      const int sign = d < 0 ? -1 : 1, magnitude = d < 0 ? -d : d;
      const int stepQuotient = magnitude / denominator, stepRemainder = magnitude % denominator;
      const int firstLeft = std::max(0, s - band);
      int step = band + firstLeft - s;
      int quotient = magnitude * step / denominator, remainder = magnitude * step % denominator;
      for (int j = firstLeft; j <= s; ++j) {
        fieldA[at(i, j) + ch] = sign * quotient * 256;
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= denominator) {
          remainder -= denominator;
          ++quotient;
        }
      }
      step = band;
      quotient = magnitude * step / denominator;
      remainder = magnitude * step % denominator;
      for (int j = s; j <= s + band - 1 && j < gw; ++j) {
        fieldA[at(i, j) + ch] = sign * quotient * 256;
        quotient -= stepQuotient;
        remainder -= stepRemainder;
        if (remainder < 0) {
          remainder += denominator;
          --quotient;
        }
      }
    }
  }

  // Four binomial passes, alternating fields, only where the layer covers the
  // whole 3 x 3 neighbourhood; the fourth pass writes field A again. The mask
  // does not change between passes, so which cells of each seam row take part
  // is worked out once: a cell's column of three, then three such columns.
  const int span = toColumn - fromColumn + 1;
  WorkBuffer<uint8_t> smoothed(span > 0 ? static_cast<size_t>(n) * span : 1);
  if (!smoothed.Ok()) return false;
  if (span > 0) {
    WorkBuffer<uint8_t> tall(static_cast<size_t>(span) + 2);
    if (!tall.Ok()) return false;
    for (int k = 0; k < n; ++k) {
      const int i = path[k].row;
      uint8_t* flags = &smoothed[static_cast<size_t>(k) * span];
      if (i < 1 || i > gh - 2) {
        std::fill(flags, flags + span, uint8_t{0});
        continue;
      }
      for (int j = fromColumn - 1; j <= toColumn + 1; ++j)
        tall[static_cast<size_t>(j - fromColumn + 1)] =
            c.layerMask[f.Pixel(i - 1, j)] && c.layerMask[f.Pixel(i, j)] &&
            c.layerMask[f.Pixel(i + 1, j)];
      for (int t = 0; t < span; ++t) flags[t] = tall[t] && tall[t + 1] && tall[t + 2];
    }
  }
  // Each pass is one plain loop over a row's field values, which the compiler
  // vectorises: the row's flags are spread to the three values of each cell.
  const int values = 3 * std::max(span, 0);
  WorkBuffer<uint8_t> valueFlags(static_cast<size_t>(values));
  if (!valueFlags.Ok()) return false;
  WorkBuffer<int32_t>* src = &fieldA;
  WorkBuffer<int32_t>* dst = &fieldB;
  for (int pass = 0; pass < 4 && span > 0; ++pass) {
    for (int k = 0; k < n; ++k) {
      const int i = path[k].row;
      if (i < 1 || i > gh - 2) continue;
      const uint8_t* flags = &smoothed[static_cast<size_t>(k) * span];
      for (int t = 0; t < span; ++t)
        valueFlags[3 * t] = valueFlags[3 * t + 1] = valueFlags[3 * t + 2] = flags[t];
      SmoothFieldRow(&(*src)[at(i - 1, fromColumn)], &(*src)[at(i, fromColumn)],
                     &(*src)[at(i + 1, fromColumn)], valueFlags.Data(), values,
                     &(*dst)[at(i, fromColumn)]);
    }
    std::swap(src, dst);
  }
  const WorkBuffer<int32_t>& field = fieldA;

  // Both sides meet at the mean of target and layer on the seam.
  for (int k = 0; k < n; ++k) {
    const int i = path[k].row;
    const int s = path[k].column;
    for (int j = s - 1; j >= std::max(1, fromColumn - 1); --j) {
      uint8_t* px = &c.layer[3 * f.Pixel(i, j)];
      for (int ch = 0; ch < 3; ++ch) px[ch] = ClampByte(px[ch] - (field[at(i, j) + ch] >> 8));
    }
    for (int j = s; j < std::min(gw, toColumn + 2); ++j) {
      uint8_t* px = &c.layer[3 * f.Pixel(i, j)];
      for (int ch = 0; ch < 3; ++ch) px[ch] = ClampByte(px[ch] + (field[at(i, j) + ch] >> 8));
    }
  }
  return true;
}

// The fallback join: target up to three eighths of the width, then a linear
// fade to the layer over the middle quarter where both cover.
void CrossFade(const SeamFrame& f, OverlapCrops& c) {
  const int w = f.gridWidth();
  const int gh = f.gridHeight();
  const int from = static_cast<int>(0.375 * w);
  const int to = static_cast<int>(0.625 * w);
  auto both = [&](size_t p) { return c.layerMask[p] && c.targetMask[p]; };
  auto takeTargetOnly = [&](size_t p) {
    if (c.targetMask[p] && !c.layerMask[p]) {
      CopyPixel(&c.target[3 * p], &c.layer[3 * p]);
      c.layerMask[p] = 255;
    }
  };
  for (int i = 0; i < gh; ++i) {
    int j = from;
    for (; j < to; ++j) {
      const size_t p = f.Pixel(i, j);
      if (both(p)) break;
      takeTargetOnly(p);
    }
    int k = to;
    for (; k > j; --k) {
      const size_t p = f.Pixel(i, k);
      if (both(p)) break;
      takeTargetOnly(p);
    }
    if (j != k) {
      for (int l = j; l <= k; ++l) {
        const size_t p = f.Pixel(i, l);
        const bool hasLayer = c.layerMask[p] != 0;
        const bool hasTarget = c.targetMask[p] != 0;
        // A pixel only one side covers keeps that side's colour rather than
        // fading towards the other's empty white.
        if (!hasLayer && !hasTarget) continue;
        if (hasLayer && hasTarget) {
          const double t = static_cast<double>(l - j) / (k - j);
          for (int ch = 0; ch < 3; ++ch) {
            const int v = static_cast<int>(c.layer[3 * p + ch] * t) +
                          static_cast<int>(c.target[3 * p + ch] * (1 - t));
            c.layer[3 * p + ch] = static_cast<uint8_t>(std::min(v, 255));
          }
        } else if (hasTarget) {
          CopyPixel(&c.target[3 * p], &c.layer[3 * p]);
        }
        c.layerMask[p] = 255;
      }
    }
    for (int l = 0; l < from; ++l) {
      const size_t p = f.Pixel(i, l);
      if (!c.targetMask[p]) continue;
      CopyPixel(&c.target[3 * p], &c.layer[3 * p]);
      c.layerMask[p] = 255;
    }
  }
}

}  // namespace

bool CostGrid::Make(int w, int h, int32_t value) {
  width = w;
  height = h;
  if (!cells.Reset(static_cast<size_t>(std::max(w, 0)) * std::max(h, 0))) return false;
  cells.Fill(value);
  return true;
}

void SeamPath::Append(SeamPoint point) {
  if (count_ >= Capacity()) {
    int grow = growthStep_;
    if (grow <= 0) grow = std::clamp(count_ / 8, 4, 1024);
    points_.resize(static_cast<size_t>(std::max(count_ + 1, Capacity() + grow)));
  }
  points_[static_cast<size_t>(count_++)] = point;
}

int CostPyramidLevels(int width, int height) {
  int side = std::min(width, height);
  int levels = 1;
  while (side >= 64 && levels < 10) {
    side /= 2;
    ++levels;
  }
  return levels;
}

bool HalveCostGrid(const CostGrid& grid, CostGrid& half) {
  const int w = grid.width / 2;
  const int h = grid.height / 2;
  if (!half.Make(w, h, 0)) return false;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      const uint32_t sum = static_cast<uint32_t>(grid.At(2 * r, 2 * c)) +
                           static_cast<uint32_t>(grid.At(2 * r, 2 * c + 1)) +
                           static_cast<uint32_t>(grid.At(2 * r + 1, 2 * c)) +
                           static_cast<uint32_t>(grid.At(2 * r + 1, 2 * c + 1));
      half.At(r, c) = static_cast<int32_t>(sum / 4);
    }
  return true;
}

void FindCheapestPath(const CostGrid& grid, SeamPath& path) {
  path.Clear();
  const int w = grid.width;
  const int h = grid.height;
  if (w <= 0 || h <= 0) return;
  int startRow = -1;
  int firstColumn = 0;
  for (int r = 0; r < h && startRow < 0; ++r)
    for (int c = 0; c < w; ++c)
      if (grid.At(r, c) != kBlockedCost) {
        startRow = r;
        firstColumn = c;
        break;
      }
  if (startRow < 0) return;
  int endRow = h - 1;
  while (endRow > startRow) {
    bool any = false;
    for (int c = 0; c < w && !any; ++c) any = grid.At(endRow, c) != kBlockedCost;
    if (any) break;
    --endRow;
  }
  int scanFrom = w - 1;
  while (grid.At(endRow, scanFrom) == kBlockedCost) --scanFrom;

  const size_t cells = static_cast<size_t>(w) * h;
  std::vector<int> distance(cells);
  std::vector<int> predecessor(cells);
  std::vector<PendingCell> pending;
  int heads[kBucketRing];
  long long best = LLONG_MAX;

  for (int start = firstColumn; start < w; start += 3) {
    if (grid.At(startRow, start) == kBlockedCost) continue;
    std::fill(distance.begin(), distance.end(), INT_MAX);
    std::fill(predecessor.begin(), predecessor.end(), -1);
    std::fill(heads, heads + kBucketRing, -1);
    pending.clear();
    int live = 0;
    auto push = [&](int cell, int d) {
      const int b = d % kBucketRing;
      pending.push_back({cell, d, heads[b]});
      heads[b] = static_cast<int>(pending.size()) - 1;
      ++live;
    };
    const int startCell = startRow * w + start;
    distance[static_cast<size_t>(startCell)] = 0;
    push(startCell, 0);
    int lowest = 0;
    bool reachedLast = false;
    while (live > 0 && !reachedLast) {
      while (heads[lowest % kBucketRing] < 0) ++lowest;
      const int b = lowest % kBucketRing;
      const PendingCell entry = pending[static_cast<size_t>(heads[b])];
      heads[b] = entry.next;
      --live;
      if (entry.distance != distance[static_cast<size_t>(entry.cell)]) continue;  // stale
      const int r = entry.cell / w;
      const int col = entry.cell % w;
      if (r + 1 >= h) continue;
      for (int dc = -1; dc <= 1; ++dc) {
        const int nc = col + dc;
        if (nc < 0 || nc >= w) continue;
        const int32_t cost = grid.At(r + 1, nc);
        if (cost == kBlockedCost) continue;
        const int next = (r + 1) * w + nc;
        const int d = entry.distance + cost;
        if (d >= distance[static_cast<size_t>(next)]) continue;
        distance[static_cast<size_t>(next)] = d;
        predecessor[static_cast<size_t>(next)] = entry.cell;
        if (r + 1 == h - 1) reachedLast = true;
        if (!reachedLast) push(next, d);
      }
    }

    // The cheapest reached cell of the end row; the rightmost of equal totals.
    const int startCost = grid.At(startRow, start);
    long long total = LLONG_MAX;
    int endColumn = -1;
    for (int c = scanFrom; c >= 0; --c) {
      const int d = distance[static_cast<size_t>(endRow) * w + c];
      if (d == INT_MAX) continue;
      if (d + static_cast<long long>(startCost) < total) {
        total = d + static_cast<long long>(startCost);
        endColumn = c;
      }
    }
    if (endColumn < 0) continue;
    scanFrom = endColumn;
    if (total >= best) continue;
    best = total;
    path.Clear();
    for (int cell = endRow * w + endColumn; cell >= 0; cell = predecessor[static_cast<size_t>(cell)])
      path.Append({cell / w, cell % w});
  }
}

void RefinePath(const SeamPath& coarse, const CostGrid& finer, bool dropBlocked, SeamPath& out) {
  out.Clear();
  for (int k = 0; k < coarse.Count(); ++k) {
    const int r0 = 2 * coarse[k].row;
    const int r1 = r0 + 1;
    const int c0 = 2 * coarse[k].column;
    const int c1 = c0 + 1;
    // Cell in row r0, cell in row r1, for each pattern.
    const int patterns[4][2] = {{c0, c0}, {c0, c1}, {c1, c0}, {c1, c1}};
    int bestPattern = 0;
    long long bestSum = LLONG_MAX;
    for (int p = 0; p < 4; ++p) {
      const long long sum =
          static_cast<long long>(finer.At(r0, patterns[p][0])) + finer.At(r1, patterns[p][1]);
      if (sum < bestSum) {
        bestSum = sum;
        bestPattern = p;
      }
    }
    const SeamPoint lower{r1, patterns[bestPattern][1]};
    const SeamPoint upper{r0, patterns[bestPattern][0]};
    for (const SeamPoint& point : {lower, upper}) {
      if (dropBlocked && finer.At(point.row, point.column) == kBlockedCost) continue;
      out.Append(point);
    }
  }
}

bool FindSeam(const CostGrid& grid, SeamPath& path) {
  path.Clear();
  const int levels = CostPyramidLevels(grid.width, grid.height);
  CostGrid pyramid[10];
  const CostGrid* level[10] = {&grid};
  int built = 1;
  for (; built < levels; ++built) {
    const CostGrid& below = *level[built - 1];
    if (std::min(below.width, below.height) < 32) break;
    if (!HalveCostGrid(below, pyramid[built])) return false;
    level[built] = &pyramid[built];
  }
  FindCheapestPath(*level[built - 1], path);
  SeamPath finer;
  for (int k = built - 1; k >= 1; --k) {
    RefinePath(path, *level[k - 1], k - 1 == 0, finer);
    path.Clear();
    for (int i = 0; i < finer.Count(); ++i) path.Append(finer[i]);
  }
  return true;
}

bool SeamBlend(const RECT& overlap, const RECT& layerRect, const RECT& targetRect,
               const PixelView& layer, const PixelView& layerMask, const PixelView& target,
               const PixelView& targetMask, SeamDirectionKind direction) {
  const RECT o = IntersectRects(IntersectRects(overlap, layerRect), targetRect);
  if (RectEmpty(o)) return true;
  const int w = o.right - o.left;
  const int h = o.bottom - o.top;
  const size_t pixels = static_cast<size_t>(w) * h;
  OverlapCrops c;
  if (!c.layer.Reset(3 * pixels) || !c.target.Reset(3 * pixels) || !c.layerMask.Reset(pixels) ||
      !c.targetMask.Reset(pixels))
    return false;
  // Every byte of the four crops is copied from the layer and the target.
  for (int y = 0; y < h; ++y) {
    const uint8_t* lrow = layer.Row(o.top + y - layerRect.top) + 3 * (o.left - layerRect.left);
    const uint8_t* lmrow = layerMask.Row(o.top + y - layerRect.top) + (o.left - layerRect.left);
    const uint8_t* trow = target.Row(o.top + y - targetRect.top) + 3 * (o.left - targetRect.left);
    const uint8_t* tmrow = targetMask.Row(o.top + y - targetRect.top) + (o.left - targetRect.left);
    const size_t base = static_cast<size_t>(y) * w;
    std::copy(lrow, lrow + 3 * w, &c.layer[3 * base]);
    std::copy(trow, trow + 3 * w, &c.target[3 * base]);
    std::copy(lmrow, lmrow + w, &c.layerMask[base]);
    std::copy(tmrow, tmrow + w, &c.targetMask[base]);
  }

  const SeamFrame frame{w, h, direction == SeamDirectionKind::kAcrossRows};
  CostGrid cost;
  if (!cost.Make(frame.gridWidth(), frame.gridHeight(), kBlockedCost)) return false;
  // The crops are read along their rows whichever way the grid lies: a grid
  // across rows is the crop turned a quarter, and is written down its columns.
  for (int y = 0; y < h; ++y) {
    const size_t base = static_cast<size_t>(y) * w;
    const uint8_t* a = &c.target[3 * base];
    const uint8_t* b = &c.layer[3 * base];
    const uint8_t* am = &c.targetMask[base];
    const uint8_t* bm = &c.layerMask[base];
    int32_t* out = frame.acrossRows ? &cost.At(0, y) : &cost.At(y, 0);
    const size_t step = frame.acrossRows ? static_cast<size_t>(cost.width) : 1;
    for (int x = 0; x < w; ++x) {
      const int32_t difference = std::abs(a[3 * x] - b[3 * x]) +
                                 std::abs(a[3 * x + 1] - b[3 * x + 1]) +
                                 std::abs(a[3 * x + 2] - b[3 * x + 2]);
      out[x * step] = (am[x] && bm[x]) ? difference : kBlockedCost;
    }
  }

  SeamPath path;
  if (!FindSeam(cost, path)) return false;
  long long sum = 0;
  for (int k = 0; k < path.Count(); ++k) sum += cost.At(path[k].row, path[k].column);
  if (path.Count() == 0 || sum / path.Count() > kSeamMeanCostLimit) {
    CrossFade(frame, c);
  } else if (!BlendAlongSeam(frame, path, c)) {
    return false;
  }

  for (int y = 0; y < h; ++y) {
    uint8_t* lrow = layer.Row(o.top + y - layerRect.top) + 3 * (o.left - layerRect.left);
    uint8_t* lmrow = layerMask.Row(o.top + y - layerRect.top) + (o.left - layerRect.left);
    const size_t base = static_cast<size_t>(y) * w;
    CopyMaskedRow(&c.layer[3 * base], &c.layerMask[base], lrow, lmrow, w);
  }
  return true;
}

void Paste(const RECT& area, const RECT& sourceRect, const RECT& destinationRect,
           const PixelView& source, const PixelView& sourceMask, const PixelView& destination,
           const PixelView& destinationMask) {
  const RECT a = IntersectRects(IntersectRects(area, sourceRect), destinationRect);
  if (RectEmpty(a)) return;
  for (int y = a.top; y < a.bottom; ++y) {
    const uint8_t* s = source.Row(y - sourceRect.top);
    const uint8_t* sm = sourceMask.Row(y - sourceRect.top);
    uint8_t* d = destination.Row(y - destinationRect.top);
    uint8_t* dm = destinationMask.Row(y - destinationRect.top);
    CopyMaskedRow(s + 3 * (a.left - sourceRect.left), sm + (a.left - sourceRect.left),
                  d + 3 * (a.left - destinationRect.left), dm + (a.left - destinationRect.left),
                  a.right - a.left);
  }
}

}  // namespace seam
