#include "fine_tune_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "dib_access.h"

namespace vmd {

namespace {

constexpr double kMaxFineScale = 1.3;
constexpr double kScaleStep = 0.1;
constexpr double kScaleSlack = 1e-6;

POINT TopDown(LONG x, LONG y, int divisor, int height) {
  return POINT{x * divisor, height - y * divisor};
}

StitchPair Pair(POINT a, int heightA, POINT b, int heightB, int divisor) {
  return StitchPair{a.x / divisor, (heightA - a.y) / divisor, b.x / divisor, (heightB - b.y) / divisor};
}

bool Inside(const LockedDib& dib, int x, int y) { return x >= 0 && y >= 0 && x < dib.width && y < dib.height; }

/// The block cost of the match assistant at view2 point p.
unsigned BlockCost(const LockedDib& a, POINT m, const LockedDib& b, POINT p) {
  const bool colour = a.bitCount == 24 && b.bitCount == 24;
  int pairs = 0;
  long sumA[3] = {0, 0, 0}, sumB[3] = {0, 0, 0};
  for (int pass = 0; pass < (colour ? 2 : 1); ++pass) {
    uint16_t cost = 0;  // wraps, as the search always did
    for (int j = -4; j <= 4; ++j) {
      for (int i = -4; i <= 4; ++i) {
        const int ax = m.x + i, ay = m.y + j, bx = p.x + i, by = p.y + j;
        if (!Inside(a, ax, ay) || !Inside(b, bx, by)) continue;
        const uint8_t* pa = a.TopRow(ay);
        const uint8_t* pb = b.TopRow(by);
        if (!colour) {
          cost = static_cast<uint16_t>(cost + std::abs(pa[ax * a.bitCount / 8] - pb[bx * b.bitCount / 8]));
          ++pairs;
          continue;
        }
        for (int c = 0; c < 3; ++c) {
          const int va = pa[3 * ax + c], vb = pb[3 * bx + c];
          if (pass == 0) {
            sumA[c] += va;
            sumB[c] += vb;
          } else {
            cost = static_cast<uint16_t>(cost + std::abs((va - sumA[c] / pairs) - (vb - sumB[c] / pairs)));
          }
        }
        if (pass == 0) ++pairs;
      }
    }
    if (pairs == 0) return 65535;
    if (pass == (colour ? 1 : 0)) return static_cast<unsigned>(cost) * 81u / static_cast<unsigned>(pairs);
  }
  return 65535;
}

}  // namespace

int DetailDivisor(int detail) { return detail <= 0 ? 1 : detail == 1 ? 2 : 4; }

bool MarkersFromPairs(const StitchPair* pairs, int count, int divisor, bool horizontal, int height1, int height2,
                      MarkerSet* out) {
  if (pairs == nullptr || count <= 0) return false;
  const int entries[3] = {0, (count - 1) / 2, count - 1};
  for (int k = 0; k < 3; ++k) {
    const StitchPair& p = pairs[entries[k]];
    // x1, y1 lie in the list's own photo: photo1 across, photo2 up a column.
    if (horizontal) {
      out->first[k] = TopDown(p.x1, p.y1, divisor, height1);
      out->second[k] = TopDown(p.x2, p.y2, divisor, height2);
    } else {
      out->second[k] = TopDown(p.x1, p.y1, divisor, height2);
      out->first[k] = TopDown(p.x2, p.y2, divisor, height1);
    }
  }
  return true;
}

void MarkersToPairs(const MarkerSet& markers, int divisor, bool horizontal, int height1, int height2,
                    StitchPair out[3]) {
  for (int k = 0; k < 3; ++k) {
    out[k] = horizontal ? Pair(markers.first[k], height1, markers.second[k], height2, divisor)
                        : Pair(markers.second[k], height2, markers.first[k], height1, divisor);
  }
}

bool MarkersCoincide(const MarkerSet& markers) {
  for (const POINT* set : {markers.first, markers.second}) {
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j)
        if (set[i].x == set[j].x && set[i].y == set[j].y) return true;
  }
  return false;
}

MarkerSet ScaleMarkers(const MarkerSet& markers, double factor) {
  MarkerSet out = markers;
  for (POINT* set : {out.first, out.second}) {
    for (int k = 0; k < 3; ++k) {
      set[k].x = static_cast<LONG>(set[k].x * factor + 0.5);
      set[k].y = static_cast<LONG>(set[k].y * factor + 0.5);
    }
  }
  return out;
}

double MarkerFitScale(const POINT markers[3], int windowW, int windowH) {
  LONG minX = markers[0].x, maxX = minX, minY = markers[0].y, maxY = minY;
  for (int k = 1; k < 3; ++k) {
    minX = std::min(minX, markers[k].x);
    maxX = std::max(maxX, markers[k].x);
    minY = std::min(minY, markers[k].y);
    maxY = std::max(maxY, markers[k].y);
  }
  double f = 1.0;
  while (((maxX - minX) * f > windowW || (maxY - minY) * f > windowH) && f > 0.11) f -= kScaleStep;
  return f;
}

double FineTuneMinScale(int width, int height) {
  double f = 1.0;
  while (width * f > 128 || height * f > 128) {
    f -= kScaleStep;
    if (std::lround(f * 10) < 2) break;
  }
  return f;
}

int FineTuneScroll(int extent, int window, int first, int last) {
  if (extent <= window) return -((window - extent) / 2);
  if (extent - first <= window) return extent - window;
  if (last - first > window) return std::max(0, first - 20);
  return std::max(0, (first + last - window) / 2);
}

FineZoom FineTuneZoomIn(double scale, double minScale) {
  FineZoom z{std::min(kMaxFineScale, scale + kScaleStep), ButtonChange::kKeep, ButtonChange::kKeep};
  if (z.scale >= kMaxFineScale - kScaleSlack) z.zoomIn = ButtonChange::kDisable;
  if (z.scale > minScale + kScaleSlack) z.zoomOut = ButtonChange::kEnable;
  return z;
}

FineZoom FineTuneZoomOut(double scale, double minScale) {
  FineZoom z{std::max(minScale, scale - kScaleStep), ButtonChange::kKeep, ButtonChange::kKeep};
  if (z.scale <= minScale + kScaleSlack) {
    z.scale = minScale;
    z.zoomOut = ButtonChange::kDisable;
  }
  if (z.scale < kMaxFineScale - kScaleSlack) z.zoomIn = ButtonChange::kEnable;
  return z;
}

POINT MatchMarker(HGLOBAL view1, POINT marker, HGLOBAL view2, POINT start) {
  LockedDib a(view1), b(view2);
  if (!a.ok || !b.ok) return start;
  unsigned best = BlockCost(a, marker, b, start);
  POINT bestOffset{0, 0};
  for (int r = 1; r <= 14 && best != 0; ++r) {
    // The ring's top, right, bottom and left sides, in that order.
    auto consider = [&](int dx, int dy) {
      const unsigned cost = BlockCost(a, marker, b, POINT{start.x + dx, start.y + dy});
      if (cost < best) {
        best = cost;
        bestOffset = POINT{dx, dy};
      }
    };
    for (int x = -r; x <= r && best != 0; ++x) consider(x, -r);
    for (int y = -r + 1; y <= r && best != 0; ++y) consider(r, y);
    for (int x = r - 1; x >= -r && best != 0; --x) consider(x, r);
    for (int y = r - 1; y > -r && best != 0; --y) consider(-r, y);
  }
  POINT found{start.x + bestOffset.x, start.y + bestOffset.y};
  found.x = std::max<LONG>(0, std::min<LONG>(found.x, b.width - 1));
  found.y = std::max<LONG>(0, std::min<LONG>(found.y, b.height - 1));
  return found;
}

}  // namespace vmd
