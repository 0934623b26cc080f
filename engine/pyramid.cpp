#include "pyramid.h"

#include <cstring>
#include <vector>

#include "vector_clones.h"

namespace seam {

namespace {

// The factor-2 reduction is the hot path of BuildPyramid: each pair of rows
// is added byte by byte into a row of sums (one plain loop the compiler
// vectorises), then each pair of pixels of that row is added and rounded.
SEAM_VECTOR_CLONES void Halve(const PixelView& src, const PixelView& dst) {
  const int outBytes = dst.width * 3;
  std::vector<uint16_t> pairs(static_cast<size_t>(2 * outBytes));
  uint16_t* const sums = pairs.data();
  for (int j = 0; j < dst.height; ++j) {
    const uint8_t* __restrict a = src.Row(2 * j);
    const uint8_t* __restrict c = src.Row(2 * j + 1);
    for (int i = 0; i < 2 * outBytes; ++i) sums[i] = static_cast<uint16_t>(a[i] + c[i]);
    uint8_t* out = dst.Row(j);
    for (int i = 0; i < outBytes; i += 3) {
      const int s = 2 * i;  // source byte of pixel 2x, same channel order
      out[i + 0] = static_cast<uint8_t>((sums[s + 0] + sums[s + 3] + 2) >> 2);
      out[i + 1] = static_cast<uint8_t>((sums[s + 1] + sums[s + 4] + 2) >> 2);
      out[i + 2] = static_cast<uint8_t>((sums[s + 2] + sums[s + 5] + 2) >> 2);
    }
  }
}

void ReduceBy(const PixelView& src, const PixelView& dst, int n) {
  const int area = n * n;
  for (int j = 0; j < dst.height; ++j) {
    uint8_t* out = dst.Row(j);
    for (int i = 0; i < dst.width; ++i) {
      for (int ch = 0; ch < 3; ++ch) {
        int sum = 0;
        for (int dy = 0; dy < n; ++dy) {
          const uint8_t* row = src.Row(j * n + dy);
          for (int dx = 0; dx < n; ++dx) sum += row[(i * n + dx) * 3 + ch];
        }
        out[i * 3 + ch] = static_cast<uint8_t>((sum + area / 2) / area);
      }
    }
  }
}

}  // namespace

int ReduceImage(const PixelView& source, int factor, EngineDib& out) {
  if (factor < 1 || source.bytesPerPixel != 3) return 0;
  const int w = source.width / factor;
  const int h = source.height / factor;
  if (w <= 0 || h <= 0) return 0;
  if (!out.Create(w, h, 24)) return 0;
  DibLock lock(out);
  if (!lock.Locked()) return 0;
  const PixelView dst = out.View();
  if (factor == 2)
    Halve(source, dst);
  else
    ReduceBy(source, dst, factor);
  // The padding bytes at the end of each row are not part of the picture but
  // are written anyway, so the block's content is fully defined.
  const int used = w * 3;
  if (dst.stride > used)
    for (int j = 0; j < h; ++j) std::memset(dst.Row(j) + used, 0, dst.stride - used);
  return 1;
}

}  // namespace seam

using seam::DibLock;
using seam::EngineDib;

extern "C" SEAMCORE_API long BuildPyramid(HGLOBAL photo, StitchPyramid* pyramid) {
  if (!pyramid) return kStitchImageUnusable;
  EngineDib source;
  if (!source.Attach(photo)) return kStitchImageUnusable;
  {
    DibLock lock(source);
    if (!lock.Locked()) return kStitchImageUnusable;
    // The engine reads every level as three bytes a pixel.
    if (source.Header()->biBitCount != 24) return kStitchImageUnusable;
    pyramid->width = source.Width();
    pyramid->height = source.Height();
  }
  int shorter = pyramid->width < pyramid->height ? pyramid->width : pyramid->height;
  if (shorter < 32) return kStitchPhotoTooSmall;

  pyramid->image[0] = photo;
  pyramid->levels = 1;
  while (shorter >= 64 && pyramid->levels < kStitchMaxLevels) {
    EngineDib previous;
    if (!previous.Attach(pyramid->image[pyramid->levels - 1])) return kStitchOutOfMemory;
    EngineDib reduced;
    {
      DibLock lock(previous);
      if (!lock.Locked() || !seam::ReduceImage(previous.View(), 2, reduced))
        return kStitchOutOfMemory;
    }
    pyramid->image[pyramid->levels] = reduced.Detach();
    ++pyramid->levels;
    shorter /= 2;
  }
  return kStitchOk;
}

extern "C" SEAMCORE_API long ReleasePyramid(StitchPyramid* pyramid) {
  if (!pyramid) return kStitchOk;
  for (int level = 1; level < pyramid->levels && level < kStitchMaxLevels; ++level)
    GlobalFree(pyramid->image[level]);
  return kStitchOk;
}
