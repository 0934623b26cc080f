#include "view_tables.h"

#include <cmath>

namespace vmd {

namespace {

/// 1 / (2 pi): the cylinder radius per source column.
constexpr double kInverseTwoPi = 0.15915494327375637;

}  // namespace

bool BuildViewTables(int width, int height, double zoom, ViewTables* t) {
  FreeViewTables(t);
  if (width <= 0 || height <= 0) return false;
  const int vw = kViewWidth;
  const int vh = kViewHeight;
  t->sourceWidth = width;
  t->sourceHeight = height;
  t->sourceStride = Stride24(width);
  t->radius = width * kInverseTwoPi;
  t->focal = vh * t->radius * zoom / height;
  const double r2 = t->radius * t->radius;
  const double f2 = t->focal * t->focal;

  t->columnBase.resize(vw);
  t->columnScale.resize(vw);
  t->columnAngle.resize(vw);
  for (int x = 0; x < vw; ++x) {
    const int d = x - vw / 2;
    t->columnScale[x] = std::sqrt(double(d) * d / r2 + f2 / r2);
    t->columnAngle[x] = t->radius * std::atan2(d / t->focal, 1.0);
    t->columnBase[x] = x * vh;
  }
  t->destRow.resize(vh);
  const int destStride = Stride24(vw);
  for (int y = 0; y < vh; ++y) t->destRow[y] = y * destStride;

  t->sourceRow.resize(size_t(vw) * vh);
  t->rowWeight.resize(size_t(vw) * vh);
  for (int x = 0; x < vw; ++x) {
    for (int y = 0; y < vh; ++y) {
      const double row = (y - vh / 2) / t->columnScale[x] + (height / 2);
      const int i = static_cast<int>(row);
      t->sourceRow[t->columnBase[x] + y] = i * t->sourceStride;
      t->rowWeight[t->columnBase[x] + y] = static_cast<int>((i + 1 - row) * 8.0 + 0.5);
    }
  }
  return true;
}

void FreeViewTables(ViewTables* t) { *t = ViewTables(); }

int TiltLimit(const ViewTables& t) {
  if (t.focal <= 0) return 0;
  const double limit = (t.sourceHeight / 2) - t.radius * kViewHeight / (2 * t.focal);
  return limit > 0 ? static_cast<int>(limit) : 0;
}

void RenderView(const ViewTables& t, const uint8_t* bits, ViewPose* pose, uint8_t* dest) {
  const int w = t.sourceWidth;
  const int s = t.sourceStride;
  if (w <= 0 || t.sourceRow.empty()) return;

  const int limit = TiltLimit(t);
  if (pose->tilt < -limit) pose->tilt = -limit;
  if (pose->tilt > limit) pose->tilt = limit;
  pose->atTiltLimit = (pose->tilt == -limit || pose->tilt == limit) ? 1 : 0;
  while (pose->pan < 0) pose->pan += w;
  pose->pan %= w;

  const int32_t lastRow = (t.sourceHeight - 1) * s;
  const int32_t tiltOffset = pose->tilt * s;
  for (int x = 0; x < kViewWidth; ++x) {
    double src = pose->pan + t.columnAngle[x];
    if (src > w) src -= w;
    if (src < 0) src += w;
    const int c = static_cast<int>(src);
    // The last source column is taken whole (weight 8): its right-hand
    // neighbour has weight 0 and is read from the same column, so nothing past
    // the end of the source is touched.
    int columnOffset = (w - 1) * 3;
    int a = 8;
    int next = 0;
    if (c % w < w - 1) {
      columnOffset = (c % w) * 3;
      a = static_cast<int>((c - src + 1.0) * 8.0 + 0.5);
      next = 3;
    }
    const int32_t* rows = &t.sourceRow[t.columnBase[x]];
    const int32_t* weights = &t.rowWeight[t.columnBase[x]];
    uint8_t* out = dest + 3 * x;
    for (int y = 0; y < kViewHeight; ++y) {
      // Rounding in the tables can put the outermost rows one row past either
      // end of the source at the tilt limit; they read the end row instead.
      int32_t row = rows[y] - tiltOffset;
      if (row < 0) row = 0;
      if (row > lastRow) row = lastRow;
      const uint8_t* p = bits + row + columnOffset;
      uint8_t* q = out + t.destRow[y];
      if (row >= lastRow) {
        // No row above the last: blend across the columns only.
        for (int k = 0; k < 3; ++k)
          q[k] = static_cast<uint8_t>((8 * a * p[k] + (64 - 8 * a) * p[k + next] + 32) >> 6);
        continue;
      }
      const int b = weights[y];
      const int ab = a * b;
      const int w00 = ab;
      const int w01 = 8 * b - ab;
      const int w10 = 8 * a - ab;
      const int w11 = 64 - 8 * a - 8 * b + ab;
      for (int k = 0; k < 3; ++k)
        q[k] = static_cast<uint8_t>(
            (w00 * p[k] + w01 * p[k + next] + w10 * p[k + s] + w11 * p[k + s + next] + 32) >> 6);
    }
  }
}

}  // namespace vmd
