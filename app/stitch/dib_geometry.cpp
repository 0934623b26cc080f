// Scaling, resizing, cropping, turning and depth conversion of DIBs.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dib_access.h"
#include "image_ops.h"

namespace vmd {

namespace {

void PutRgb(uint8_t* row, int x, uint32_t rgb) {
  uint8_t* p = row + x * 3;
  p[0] = static_cast<uint8_t>(rgb);
  p[1] = static_cast<uint8_t>(rgb >> 8);
  p[2] = static_cast<uint8_t>(rgb >> 16);
}

/// Copies pixel (sx, source row) to (tx, target row) at the same depth.
void CopyPixel(const LockedDib& from, const uint8_t* fromRow, int sx, uint8_t* toRow, int tx) {
  if (from.bitCount == 24) {
    std::memcpy(toRow + tx * 3, fromRow + sx * 3, 3);
    return;
  }
  PutIndex(toRow, from.bitCount, tx, from.IndexAt(fromRow, sx));
}

/// Nearest-neighbour sampling into a new image: gray stays gray, the rest
/// becomes 24 bits unless `keepDepth`.
HGLOBAL Sample(const LockedDib& src, int width, int height, bool keepDepth) {
  bool gray = src.IsGray();
  int bits = keepDepth || gray ? src.bitCount : 24;
  RGBQUAD grayRamp[256];
  const RGBQUAD* palette = nullptr;
  int paletteCount = 0;
  if (bits != 24) {
    if (gray) {
      FillGrayPalette(grayRamp);
      palette = grayRamp;
      paletteCount = 256;
    } else {
      palette = src.palette;
      paletteCount = src.paletteCount;
    }
  }
  HGLOBAL out = NewDib(&src, width, height, bits, palette, paletteCount);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  for (int j = 0; j < height; ++j) {
    const uint8_t* from = src.Row(static_cast<int>(int64_t(j) * src.height / height));
    uint8_t* to = dst.Row(j);
    for (int i = 0; i < width; ++i) {
      int sx = static_cast<int>(int64_t(i) * src.width / width);
      if (bits == src.bitCount)
        CopyPixel(src, from, sx, to, i);
      else
        PutRgb(to, i, src.ColourAt(from, sx));
    }
  }
  return out;
}

/// The bilinear positions of one axis: left neighbour and its weight in
/// eighths (the right neighbour takes the rest).
struct Tap {
  int index;
  int weight;
};

std::vector<Tap> Taps(int sourceSize, int targetSize) {
  std::vector<Tap> taps(targetSize);
  double step = static_cast<double>(sourceSize) / targetSize;
  double u = 0.0;
  for (int i = 0; i < targetSize; ++i, u += step) {
    int x0 = static_cast<int>(u);
    if (x0 >= sourceSize - 1) {
      taps[i] = {sourceSize - 1, 8};
    } else {
      taps[i] = {x0, static_cast<int>(std::lround((x0 + 1 - u) * 8))};
    }
  }
  return taps;
}

int Nearest(double u, int size) { return std::min(static_cast<int>(std::lround(u)), size - 1); }

int64_t FixedSine(int angle) { return std::llround(std::sin(angle * 0.0174532925) * 65536); }
int64_t FixedCosine(int angle) { return std::llround(std::cos(angle * 0.0174532925) * 65536); }

}  // namespace

void RotatedSize(int w, int h, int angle, int* rotatedW, int* rotatedH) {
  angle %= 360;
  if (angle % 90 == 0) {  // exact, whatever the rounding of the sine
    *rotatedW = angle % 180 == 0 ? w : h;
    *rotatedH = angle % 180 == 0 ? h : w;
    return;
  }
  int64_t s = std::llabs(FixedSine(angle)), c = std::llabs(FixedCosine(angle));
  *rotatedW = static_cast<int>((s * h + c * w + 32768) >> 16);
  *rotatedH = static_cast<int>((c * h + s * w + 32768) >> 16);
}

void FitSize(int imageW, int imageH, int boxW, int boxH, bool rounded, int* fitW, int* fitH) {
  int64_t w = boxW, h = boxH;
  if (imageW <= 0 || imageH <= 0) {
    *fitW = std::max(boxW, 1);
    *fitH = std::max(boxH, 1);
    return;
  }
  if (int64_t(imageW) * boxH >= int64_t(imageH) * boxW) {
    h = (int64_t(imageH) * boxW + (rounded ? imageW / 2 : 0)) / imageW;
  } else {
    w = (int64_t(imageW) * boxH + (rounded ? imageH / 2 : 0)) / imageH;
  }
  *fitW = static_cast<int>(std::max<int64_t>(w, 1));
  *fitH = static_cast<int>(std::max<int64_t>(h, 1));
}

HGLOBAL ScaleDib(HGLOBAL dib, int width, int height, bool keepAspect, bool rounded) {
  if (dib == nullptr || width < 1 || height < 1) return nullptr;
  LockedDib src(dib);
  if (!src.ok || src.width < 1 || src.height < 1) return nullptr;
  if (keepAspect) FitSize(src.width, src.height, width, height, rounded, &width, &height);
  return Sample(src, width, height, false);
}

HGLOBAL ConvertDibTo24(HGLOBAL dib) {
  LockedDib src(dib);
  if (!src.ok || src.width < 1 || src.height < 1) return nullptr;
  if (src.bitCount == 24) return DuplicateDib(dib);
  HGLOBAL out = NewDib(&src, src.width, src.height, 24, nullptr, 0);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) PutRgb(dst.Row(y), x, src.ColourAt(src.Row(y), x));
  return out;
}

HGLOBAL ResizeDib(HGLOBAL dib, int width, int height) {
  if (dib == nullptr || width < 1 || height < 1) return nullptr;
  LockedDib src(dib);
  if (!src.ok || src.width < 1 || src.height < 1) return nullptr;
  bool bilinear = src.bitCount == 24 || src.IsGray();
  if (!bilinear) {
    HGLOBAL out = NewDib(&src, width, height, src.bitCount, src.palette, src.paletteCount);
    if (out == nullptr) return nullptr;
    LockedDib dst(out);
    double stepX = static_cast<double>(src.width) / width;
    double stepY = static_cast<double>(src.height) / height;
    double v = 0.0;
    for (int j = 0; j < height; ++j, v += stepY) {
      const uint8_t* from = src.Row(Nearest(v, src.height));
      double u = 0.0;
      for (int i = 0; i < width; ++i, u += stepX) CopyPixel(src, from, Nearest(u, src.width), dst.Row(j), i);
    }
    return out;
  }
  HGLOBAL out = NewDib(&src, width, height, src.bitCount, src.palette, src.paletteCount);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  std::vector<Tap> columns = Taps(src.width, width);
  std::vector<Tap> rows = Taps(src.height, height);
  int channels = src.bitCount / 8;
  for (int j = 0; j < height; ++j) {
    const Tap& r = rows[j];
    const uint8_t* r0 = src.Row(r.index);
    const uint8_t* r1 = src.Row(std::min(r.index + 1, src.height - 1));
    uint8_t* to = dst.Row(j);
    for (int i = 0; i < width; ++i) {
      const Tap& c = columns[i];
      int x1 = std::min(c.index + 1, src.width - 1);
      for (int k = 0; k < channels; ++k) {
        int top = r0[c.index * channels + k] * c.weight + r0[x1 * channels + k] * (8 - c.weight);
        int bottom = r1[c.index * channels + k] * c.weight + r1[x1 * channels + k] * (8 - c.weight);
        to[i * channels + k] = static_cast<uint8_t>((top * r.weight + bottom * (8 - r.weight) + 32) >> 6);
      }
    }
  }
  return out;
}

HGLOBAL CropDib(HGLOBAL dib, const RECT& rect) {
  LockedDib src(dib);
  if (!src.ok) return nullptr;
  int left = std::max<LONG>(rect.left, 0);
  int right = std::min<LONG>(rect.right, src.width);
  int firstRow = std::max<LONG>(src.height - rect.bottom, 0);  // stored rows, bottom-up
  int endRow = std::min<LONG>(src.height - rect.top, src.height);
  if (right <= left || endRow <= firstRow) return nullptr;
  HGLOBAL out = NewDib(&src, right - left, endRow - firstRow, src.bitCount, src.palette, src.paletteCount);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  for (int y = firstRow; y < endRow; ++y) {
    const uint8_t* from = src.Row(y);
    uint8_t* to = dst.Row(y - firstRow);
    if (src.bitCount == 24) {
      std::memcpy(to, from + left * 3, static_cast<size_t>(right - left) * 3);
    } else {
      for (int x = left; x < right; ++x) CopyPixel(src, from, x, to, x - left);
    }
  }
  return out;
}

HGLOBAL RotateDib(HGLOBAL dib, int angle, uint32_t fill, RECT* outRect) {
  LockedDib src(dib);
  if (!src.ok || src.width < 1 || src.height < 1) return nullptr;
  angle %= 360;
  if (angle < 0) angle += 360;
  const int w = src.width, h = src.height;
  int newW, newH;
  RotatedSize(w, h, angle, &newW, &newH);
  const int64_t s = FixedSine(angle), c = FixedCosine(angle);
  HGLOBAL out = NewDib(&src, newW, newH, src.bitCount, src.palette, src.paletteCount);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  if (outRect != nullptr) SetRect(outRect, 0, 0, newW, newH);

  if (angle % 90 == 0) {
    // Top-down target (X, Y) from top-down source (sx, sy), turned clockwise.
    for (int Y = 0; Y < newH; ++Y) {
      uint8_t* to = dst.TopRow(Y);
      for (int X = 0; X < newW; ++X) {
        int sx, sy;
        switch (angle) {
          case 90: sx = Y; sy = h - 1 - X; break;
          case 180: sx = w - 1 - X; sy = h - 1 - Y; break;
          case 270: sx = w - 1 - Y; sy = X; break;
          default: sx = X; sy = Y; break;
        }
        CopyPixel(src, src.TopRow(sy), sx, to, X);
      }
    }
    return out;
  }

  // Inverse mapping in 16.16 fixed point about the two centres: a target
  // offset (dx, dy) comes from the source offset (dx c + dy s, -dx s + dy c).
  int fillIndex = src.IsPaletteDepth() ? NearestIndex(src, fill) : 0;
  const int64_t one = 65536;
  const int64_t maxX = int64_t(w - 1) * one, maxY = int64_t(h - 1) * one;
  for (int Y = 0; Y < newH; ++Y) {
    uint8_t* to = dst.TopRow(Y);
    int64_t dy = ((2 * int64_t(Y) + 1 - newH) * one) / 2;
    for (int X = 0; X < newW; ++X) {
      int64_t dx = ((2 * int64_t(X) + 1 - newW) * one) / 2;
      int64_t u = ((dx * c + dy * s) >> 16) + ((int64_t(w - 1) * one) >> 1);
      int64_t v = ((-dx * s + dy * c) >> 16) + ((int64_t(h - 1) * one) >> 1);
      if (u < 0 || v < 0 || u > maxX || v > maxY) {
        if (src.bitCount == 24)
          PutRgb(to, X, fill);
        else
          PutIndex(to, src.bitCount, X, fillIndex);
        continue;
      }
      int x0 = static_cast<int>(u >> 16), y0 = static_cast<int>(v >> 16);
      if (src.bitCount != 24) {
        int nx = std::min(x0 + ((u & 0xFFFF) >= 0x8000 ? 1 : 0), w - 1);
        int ny = std::min(y0 + ((v & 0xFFFF) >= 0x8000 ? 1 : 0), h - 1);
        CopyPixel(src, src.TopRow(ny), nx, to, X);
        continue;
      }
      int fx = static_cast<int>((u & 0xFFFF) >> 8), fy = static_cast<int>((v & 0xFFFF) >> 8);
      int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
      const uint8_t* top = src.TopRow(y0);
      const uint8_t* bottom = src.TopRow(y1);
      for (int k = 0; k < 3; ++k) {
        int a = top[x0 * 3 + k] * (256 - fx) + top[x1 * 3 + k] * fx;
        int b = bottom[x0 * 3 + k] * (256 - fx) + bottom[x1 * 3 + k] * fx;
        to[X * 3 + k] = static_cast<uint8_t>((a * (256 - fy) + b * fy + 32768) >> 16);
      }
    }
  }
  return out;
}

}  // namespace vmd
