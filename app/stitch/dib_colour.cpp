// Brightness, contrast, hue and saturation, washing out, and solid images.
#include <algorithm>
#include <cstring>

#include "dib_access.h"
#include "image_ops.h"

namespace vmd {

namespace {

/// The brightness and contrast table: b and c in -128 .. 128.
void BrightnessContrastTable(int b, int c, uint8_t table[256]) {
  for (int x = 0; x < 256; ++x) {
    int v = x + b;
    int out;
    if (v < c) {
      out = 0;
    } else if (v <= 255 - c) {
      int span = 255 - 2 * c;
      out = (v * 255 - c * 255 + span / 2) / span;
    } else {
      out = 255;
    }
    table[x] = static_cast<uint8_t>(std::clamp(out, 0, 255));
  }
}

/// Which of the blue, green, red bytes a channel mode changes.
void ChannelsOf(int mode, bool apply[3]) {
  apply[0] = mode == kAllChannels || mode == kBlueChannel;
  apply[1] = mode == kAllChannels || mode == kGreenChannel;
  apply[2] = mode == kAllChannels || mode == kRedChannel;
}

/// Hue and saturation of one pixel (blue, green, red bytes in place).
struct HueSaturation {
  int hue;
  int t0[256];
  int t1[256];

  HueSaturation(int hueDegrees, int saturation) : hue(hueDegrees) {
    for (int k = 0; k < 256; ++k) {
      t1[k] = (k * 128 * saturation + 50) / 100;
      t0[k] = 128 * k - t1[k];
    }
  }

  void Apply(uint8_t* bgr) const {
    int r = bgr[2], g = bgr[1], b = bgr[0];
    int maxC = std::max({r, g, b});
    int minC = std::min({r, g, b});
    int d = maxC - minC;
    if (d != 0 && hue != 0) {
      int p;
      if (r == maxC)
        p = 60 * (g - b);
      else if (g == maxC)
        p = 60 * (b - r) + 120 * d;
      else
        p = 60 * (r - g) - 120 * d;
      p += d * hue;
      if (p < 0) p += 360 * d;
      int sextant = p / (60 * d);
      int f = p % (60 * d);
      if (sextant % 2 == 0) f = 60 * d - f;
      int middle = maxC - (f + 30) / 60;
      switch (sextant) {
        case 1: g = maxC; r = middle; b = minC; break;
        case 2: g = maxC; b = middle; r = minC; break;
        case 3: b = maxC; g = middle; r = minC; break;
        case 4: b = maxC; r = middle; g = minC; break;
        case 5: r = maxC; b = middle; g = minC; break;
        default: r = maxC; g = middle; b = minC; break;
      }
    }
    bgr[2] = Saturate(r, maxC);
    bgr[1] = Saturate(g, maxC);
    bgr[0] = Saturate(b, maxC);
  }

  uint8_t Saturate(int x, int brightest) const {
    return static_cast<uint8_t>(std::clamp((t0[x] + t1[brightest]) >> 7, 0, 255));
  }
};

bool AdjustableDepth(const LockedDib& d) { return d.bitCount == 24 || d.bitCount == 8 || d.bitCount == 4; }

}  // namespace

HGLOBAL AdjustBrightnessContrast(HGLOBAL dib, int channelMode, int brightness, int contrast) {
  {
    LockedDib src(dib);
    if (!src.ok || !AdjustableDepth(src)) return nullptr;
  }
  brightness = std::clamp(brightness, -128, 128);
  contrast = std::clamp(contrast, -128, 128);
  HGLOBAL out = DuplicateDib(dib);
  if (out == nullptr || (brightness == 0 && contrast == 0)) return out;
  uint8_t table[256];
  BrightnessContrastTable(brightness, contrast, table);
  bool apply[3];
  ChannelsOf(channelMode, apply);
  LockedDib dst(out);
  if (dst.bitCount != 24) {
    for (int i = 0; i < dst.paletteCount; ++i) {
      BYTE* q = &dst.palette[i].rgbBlue;
      for (int k = 0; k < 3; ++k)
        if (apply[k]) q[k] = table[q[k]];
    }
    return out;
  }
  for (int y = 0; y < dst.height; ++y) {
    uint8_t* row = dst.Row(y);
    for (int x = 0; x < dst.width; ++x)
      for (int k = 0; k < 3; ++k)
        if (apply[k]) row[x * 3 + k] = table[row[x * 3 + k]];
  }
  return out;
}

HGLOBAL AdjustHueSaturation(HGLOBAL dib, int hue, int saturation) {
  if (hue == 0 && saturation == 0) return nullptr;
  {
    LockedDib src(dib);
    if (!src.ok || !AdjustableDepth(src)) return nullptr;
  }
  HGLOBAL out = DuplicateDib(dib);
  if (out == nullptr) return nullptr;
  HueSaturation adjust(hue, saturation);
  LockedDib dst(out);
  if (dst.bitCount != 24) {
    for (int i = 0; i < dst.paletteCount; ++i) adjust.Apply(&dst.palette[i].rgbBlue);
    return out;
  }
  for (int y = 0; y < dst.height; ++y) {
    if (EscapePressed()) break;
    uint8_t* row = dst.Row(y);
    for (int x = 0; x < dst.width; ++x) adjust.Apply(row + x * 3);
  }
  return out;
}

HGLOBAL WashOutside(HGLOBAL dib, const RECT& rect) {
  {
    LockedDib src(dib);
    if (!src.ok || src.bitCount != 24) return nullptr;
  }
  HGLOBAL out = DuplicateDib(dib);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  for (int y = 0; y < dst.height; ++y) {
    uint8_t* row = dst.TopRow(y);
    bool rowInside = rect.top <= y + 1 && y + 1 <= rect.bottom - 1;
    for (int x = 0; x < dst.width; ++x) {
      if (rowInside && rect.left <= x && x <= rect.right - 1) continue;
      for (int k = 0; k < 3; ++k) row[x * 3 + k] = static_cast<uint8_t>((row[x * 3 + k] + 765) >> 2);
    }
  }
  return out;
}

HGLOBAL SolidDib(HGLOBAL dib, int width, int height, uint32_t colour) {
  LockedDib src(dib);
  if (!src.ok || src.bitCount != 24 || width < 1 || height < 1) return nullptr;
  HGLOBAL out = NewDib(&src, width, height, 24, nullptr, 0);
  if (out == nullptr) return nullptr;
  LockedDib dst(out);
  std::memcpy(dst.header, src.header, sizeof(BITMAPINFOHEADER));
  dst.header->biSize = sizeof(BITMAPINFOHEADER);
  dst.header->biWidth = width;
  dst.header->biHeight = height;
  dst.header->biSizeImage = static_cast<DWORD>(dst.stride * height);
  dst.header->biClrUsed = 0;
  const uint8_t bgr[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                          static_cast<uint8_t>(colour)};
  for (int y = 0; y < height; ++y) {
    uint8_t* row = dst.Row(y);
    for (int x = 0; x < width; ++x) std::memcpy(row + x * 3, bgr, 3);
  }
  return out;
}

}  // namespace vmd
