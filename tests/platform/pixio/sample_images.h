#ifndef TESTS_PLATFORM_PIXIO_SAMPLE_IMAGES_H
#define TESTS_PLATFORM_PIXIO_SAMPLE_IMAGES_H

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image.h"

namespace pixio_test {

/// A picture of the given depth whose pixels differ from their neighbours and
/// from their mirror images, so that lost rows, swapped channels and flips
/// show. Palette depths get a palette of distinct colours; `gray` gives the
/// grey ramp at 8 bits.
inline pixio::Image Sample(int width, int height, int bits, bool gray = false) {
  pixio::Image image;
  image.Allocate(width, height, bits);
  if (bits <= 8) {
    const int n = 1 << bits;
    if (gray) {
      image.palette = pixio::GrayPalette();
    } else {
      for (int i = 0; i < n; ++i) {
        image.palette.push_back(RGBQUAD{static_cast<BYTE>(i * 37 + 11), static_cast<BYTE>(255 - i * 53),
                                        static_cast<BYTE>(i * 91 + 7), 0});
      }
    }
    for (int y = 0; y < height; ++y) {
      uint8_t* row = image.Row(y);
      for (int x = 0; x < width; ++x) {
        const int v = (x * 3 + y * 7 + x * y) % n;
        if (bits == 8) row[x] = static_cast<uint8_t>(v);
        if (bits == 4) row[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : (v << 4));
        if (bits == 1) row[x >> 3] |= static_cast<uint8_t>(v << (7 - (x & 7)));
      }
    }
    return image;
  }
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
      row[3 * x + 1] = static_cast<uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
      row[3 * x + 2] = static_cast<uint8_t>((x * 13 + y * 29) & 0xFF);
    }
  }
  return image;
}

/// A smooth 24-bit picture (gradients and a soft disc) of the kind lossy
/// codecs are built for.
inline pixio::Image Smooth(int width, int height) {
  pixio::Image image;
  image.Allocate(width, height, 24);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = 0; x < width; ++x) {
      const int dx = x - width / 2, dy = y - height / 2;
      const int disc = (dx * dx + dy * dy) * 4 < width * height ? 60 : 0;
      row[3 * x] = static_cast<uint8_t>(40 + 150 * x / width + disc);
      row[3 * x + 1] = static_cast<uint8_t>(30 + 180 * y / height);
      row[3 * x + 2] = static_cast<uint8_t>(200 - 120 * x / width + disc / 2);
    }
  }
  return image;
}

/// Mean absolute difference per channel of two pictures of one size, both
/// taken as 24 bits; a large value when the sizes differ.
inline double MeanError(const pixio::Image& a, const pixio::Image& b) {
  if (a.width != b.width || a.height != b.height) return 1e9;
  pixio::Image x, y;
  pixio::ExpandTo24(a, &x);
  pixio::ExpandTo24(b, &y);
  double sum = 0;
  for (int r = 0; r < x.height; ++r) {
    for (int c = 0; c < 3 * x.width; ++c) sum += std::abs(x.Row(r)[c] - y.Row(r)[c]);
  }
  return sum / (3.0 * x.width * x.height);
}

}  // namespace pixio_test

#endif  // TESTS_PLATFORM_PIXIO_SAMPLE_IMAGES_H
