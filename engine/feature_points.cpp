#include "feature_points.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vector_clones.h"

namespace seam {

namespace {

constexpr int kMaxThreshold = 20;
constexpr int kBlock = 8;
constexpr int kHalfBlock = 4;

/// A zero-filled working block from AllocateBlock, locked for its lifetime.
template <typename T>
class LockedBlock {
 public:
  explicit LockedBlock(size_t count) {
    if (count == 0) count = 1;
    handle_ = AllocateBlock(count * sizeof(T));
    if (!handle_) return;
    data_ = static_cast<T*>(GlobalLock(handle_));
    if (data_) std::memset(static_cast<void*>(data_), 0, count * sizeof(T));
  }
  ~LockedBlock() {
    if (!handle_) return;
    if (data_) GlobalUnlock(handle_);
    GlobalFree(handle_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  T* data() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HGLOBAL handle_ = nullptr;
  T* data_ = nullptr;
};

/// The corner responses of `count` colour bytes of a row with their four
/// neighbours (three bytes apart across, a row apart down and up).
///
/// The quotient is taken in double precision, which lets the compiler run the
/// loop several bytes at a time: with |numerator| < 2^27 and a denominator
/// below 2^17, an inexact quotient lies at least 2^-17 from an integer while
/// the rounding moves it by under 2^-26, so truncating gives the integer
/// quotient exactly.
SEAM_VECTOR_CLONES void ChannelResponses(const uint8_t* __restrict row,
                                         const uint8_t* __restrict below,
                                         const uint8_t* __restrict above, int count,
                                         int32_t* __restrict out) {
  for (int e = 0; e < count; ++e) {
    const int centre = row[e], left = row[e - 3], right = row[e + 3];
    const int down = below[e], up = above[e];
    const int gx = std::abs(right - left);
    const int gy = std::abs(up - down);
    const int dxx = right + left - 2 * centre;
    const int dyy = up + down - 2 * centre;
    const int lap = right + left + up + down - 4 * centre;
    const int numerator =
        std::abs(dxx) * gy * gy + std::abs(dyy) * gx * gx - gx * gy * std::abs(lap);
    const double quotient =
        static_cast<double>(numerator) / static_cast<double>(gx * gx + gy * gy + 1);
    out[e] = std::abs(static_cast<int>(quotient));
  }
}

}  // namespace

long DetectFeatures(const PixelView& image, const RECT& rect, int columns, int rows,
                    int minDistance, int percent, FeaturePoint* out, int* count) {
  *count = 0;
  if (columns <= 0 || rows <= 0) return kStitchOk;
  // Every pixel needs its four neighbours: keep one pixel clear of each side.
  const LONG left = rect.left > 1 ? rect.left : 1;
  const LONG top = rect.top > 1 ? rect.top : 1;
  const LONG right = rect.right < image.width - 1 ? rect.right : image.width - 1;
  const LONG bottom = rect.bottom < image.height - 1 ? rect.bottom : image.height - 1;
  const int width = right > left ? right - left : 0;
  const int height = bottom > top ? bottom - top : 0;

  // Responses with a zero border of one pixel: (width + 2) x (height + 2).
  const int rstride = width + 2;
  LockedBlock<int16_t> response(static_cast<size_t>(rstride) * (height + 2));
  const int cells = columns * rows;
  LockedBlock<FeaturePoint> best(cells);
  LockedBlock<int32_t> strength(cells);
  if (!response || !best || !strength) return kStitchOutOfMemory;

  LockedBlock<int32_t> channels(3 * static_cast<size_t>(width));
  if (!channels) return kStitchOutOfMemory;
  for (int j = 0; j < height; ++j) {
    const int y = top + j;
    const size_t first = 3 * static_cast<size_t>(left);
    ChannelResponses(image.Row(y) + first, image.Row(y - 1) + first, image.Row(y + 1) + first,
                     3 * width, channels.data());
    int16_t* r = response.data() + (j + 1) * rstride + 1;
    const int32_t* c = channels.data();
    for (int i = 0; i < width; ++i)
      r[i] = static_cast<int16_t>(c[3 * i] + c[3 * i + 1] + c[3 * i + 2]);
  }

  int strongest = -1;
  for (int cr = 0; cr < rows; ++cr)
    for (int cc = 0; cc < columns; ++cc) {
      const int cell = cc + cr * columns;
      strength.data()[cell] = -1;
      const int x0 = width * cc / columns, x1 = width * (cc + 1) / columns;
      const int y0 = height * cr / rows, y1 = height * (cr + 1) / rows;
      for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
          const int16_t* r = response.data() + (j + 1) * rstride + (i + 1);
          const int s = r[0] + r[-1] + r[1] + r[-rstride] + r[rstride];
          if (s > strength.data()[cell]) {
            strength.data()[cell] = s;
            best.data()[cell] = {left + i, top + j};
          }
        }
      if (strength.data()[cell] > strongest) strongest = strength.data()[cell];
    }

  int threshold = percent * strongest / 100;
  if (threshold > kMaxThreshold) threshold = kMaxThreshold;

  int32_t* s = strength.data();
  const FeaturePoint* p = best.data();
  for (int j = 0; j < cells; ++j) {
    if (s[j] <= threshold) continue;
    for (int k = j + 1; k < cells; ++k) {
      if (std::labs(p[j].x - p[k].x) > minDistance || std::labs(p[j].y - p[k].y) > minDistance)
        continue;
      if (s[k] > s[j])
        s[j] = -1;
      else
        s[k] = -1;
    }
  }
  for (int j = 0; j < cells; ++j)
    if (s[j] > threshold) out[(*count)++] = p[j];
  return kStitchOk;
}

MatchTemplate TakeTemplate(const PixelView& q, int fx, int fy) {
  MatchTemplate t;
  const int x0 = fx - kHalfBlock, y0 = fy - kHalfBlock;
  if (q.Empty() || x0 < 0 || y0 < 0 || x0 + kBlock > q.width || y0 + kBlock > q.height) return t;
  int sum[3] = {0, 0, 0};
  for (int j = 0; j < kBlock; ++j) {
    const uint8_t* row = q.Row(y0 + j) + x0 * 3;
    for (int i = 0; i < kBlock * 3; ++i) sum[i % 3] += row[i];
  }
  int mean[3];
  for (int ch = 0; ch < 3; ++ch) mean[ch] = (sum[ch] + 32) / 64;
  long squares = 0;
  for (int j = 0; j < kBlock; ++j) {
    const uint8_t* row = q.Row(y0 + j) + x0 * 3;
    for (int i = 0; i < kBlock * 3; ++i) {
      const int d = row[i] - mean[i % 3];
      t.deviation[j * kBlock * 3 + i] = static_cast<int16_t>(d);
      squares += d * d;
    }
  }
  t.contrast = std::sqrt(static_cast<double>(squares) / 192.0);
  t.valid = true;
  return t;
}

SEAM_VECTOR_CLONES double FindTemplate(const PixelView& p, const MatchTemplate& templ,
                                       const RECT& window, LONG* x, LONG* y) {
  if (!templ.valid || p.Empty()) return 0;
  const LONG left = window.left > 0 ? window.left : 0;
  const LONG top = window.top > 0 ? window.top : 0;
  const LONG right = window.right < p.width ? window.right : p.width;
  const LONG bottom = window.bottom < p.height ? window.bottom : p.height;
  if (right - left < kBlock || bottom - top < kBlock) return 0;

  // The channel sums of every block come from one table of sums over the
  // window (each entry the sum of the pixels above and to the left of it),
  // four entries a block, instead of a pass over the block's 192 bytes.
  const int across = static_cast<int>(right - left) + 1;
  const int down = static_cast<int>(bottom - top) + 1;
  std::vector<int32_t> table(static_cast<size_t>(across) * down * 3, 0);
  for (int r = 1; r < down; ++r) {
    const uint8_t* row = p.Row(static_cast<int>(top) + r - 1) + left * 3;
    int32_t running[3] = {0, 0, 0};
    int32_t* out = &table[(static_cast<size_t>(r) * across + 1) * 3];
    const int32_t* above = out - static_cast<size_t>(across) * 3;
    for (int c = 0; c < across - 1; ++c)
      for (int ch = 0; ch < 3; ++ch) {
        running[ch] += row[3 * c + ch];
        out[3 * c + ch] = above[3 * c + ch] + running[ch];
      }
  }
  auto tableAt = [&](int r, int c) { return &table[(static_cast<size_t>(r) * across + c) * 3]; };

  // Each block row is 24 bytes; the loop runs over them byte by byte (the
  // channel is the byte's place modulo 3), which the compiler vectorises.
  constexpr int kRowBytes = kBlock * 3;
  long bestCost = -1;
  for (LONG by = top; by + kBlock <= bottom; ++by)
    for (LONG bx = left; bx + kBlock <= right; ++bx) {
      const int r = static_cast<int>(by - top), c = static_cast<int>(bx - left);
      const int32_t *a = tableAt(r, c), *b = tableAt(r, c + kBlock);
      const int32_t *d = tableAt(r + kBlock, c), *e = tableAt(r + kBlock, c + kBlock);
      int sum[3];
      for (int ch = 0; ch < 3; ++ch) sum[ch] = e[ch] - b[ch] - d[ch] + a[ch];
      int target[kRowBytes];  // the mean of each byte's channel
      for (int i = 0; i < kRowBytes; ++i) target[i] = (sum[i % 3] + 32) / 64;
      int cost = 0;
      for (int j = 0; j < kBlock; ++j) {
        const uint8_t* row = p.Row(by + j) + bx * 3;
        const int16_t* t = templ.deviation + j * kRowBytes;
        for (int i = 0; i < kRowBytes; ++i) cost += std::abs(row[i] - target[i] - t[i]);
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        *x = bx + kHalfBlock;
        *y = by + kHalfBlock;
      }
    }
  return templ.contrast;
}

}  // namespace seam
