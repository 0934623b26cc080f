// Kodak Photo CD image packs. The pack is a run of 2048-byte sectors: the
// "PCD_IPI" header in sector 1 (its byte 0x602 holds the rotation), then the
// three uncompressed scenes Base/16 (192 x 128) at sector 4, Base/4 (384 x 256)
// at sector 23 and Base (768 x 512) at sector 96, each stored as pairs of luma
// rows followed by one row of each chroma channel at half width (4:2:0
// PhotoYCC). 4Base and 16Base are rebuilt from Base by interpolation.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "formats.h"

namespace pixio {

namespace {

constexpr size_t kSector = 0x800;

struct Scene {
  int width;
  int height;
  size_t sector;
};

constexpr Scene kScenes[3] = {{192, 128, 4}, {384, 256, 23}, {768, 512, 96}};

/// PhotoYCC to 8-bit RGB: luma scaled so that the reference white (luma 189)
/// becomes 255; chroma centred on 156 and 137. Tables in 16.16 fixed point.
struct YccTables {
  int luma[256], blueFromC1[256], greenFromC1[256], greenFromC2[256], redFromC2[256];
  YccTables() {
    for (int i = 0; i < 256; ++i) {
      const double c1 = 2.2179 * (i - 156), c2 = 1.8215 * (i - 137);
      luma[i] = static_cast<int>(std::lround(1.3584 * i * 65536));
      blueFromC1[i] = static_cast<int>(std::lround(c1 * 65536));
      greenFromC1[i] = static_cast<int>(std::lround(-0.194 * c1 * 65536));
      greenFromC2[i] = static_cast<int>(std::lround(-0.509 * c2 * 65536));
      redFromC2[i] = static_cast<int>(std::lround(c2 * 65536));
    }
  }
};

uint8_t Clamp16(int v) {
  v = (v + 32768) >> 16;
  return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void YccToRgb(const YccTables& t, int y, int c1, int c2, uint8_t* bgr) {
  const int l = t.luma[y];
  bgr[2] = Clamp16(l + t.redFromC2[c2]);
  bgr[1] = Clamp16(l + t.greenFromC1[c1] + t.greenFromC2[c2]);
  bgr[0] = Clamp16(l + t.blueFromC1[c1]);
}

/// Doubles a plane in both directions by bilinear interpolation.
std::vector<uint8_t> Double(const std::vector<uint8_t>& in, int w, int h) {
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
  const int w2 = 2 * w, h2 = 2 * h;
  for (int y = 0; y < h2; ++y) {
    const int y0 = y / 2, y1 = std::min(h - 1, y0 + (y & 1));
    for (int x = 0; x < w2; ++x) {
      const int x0 = x / 2, x1 = std::min(w - 1, x0 + (x & 1));
      const int sum = in[size_t(y0) * w + x0] + in[size_t(y0) * w + x1] + in[size_t(y1) * w + x0] +
                      in[size_t(y1) * w + x1];
      out[size_t(y) * w2 + x] = static_cast<uint8_t>((sum + 2) / 4);
    }
  }
  return out;
}

}  // namespace

bool LooksLikePcd(const uint8_t* data, size_t size) {
  return size >= kSector + 7 && std::memcmp(data + kSector, "PCD_IPI", 7) == 0;
}

bool DecodePcd(const uint8_t* data, size_t size, int resolution, bool gray, Image* out) {
  if (!LooksLikePcd(data, size) || resolution < 0 || resolution > 4) return false;
  const Scene& scene = kScenes[std::min(resolution, 2)];
  const size_t start = scene.sector * kSector;
  const size_t bytes = static_cast<size_t>(scene.width) * scene.height * 3 / 2;
  if (start > size || bytes > size - start) return false;
  int w = scene.width, h = scene.height;
  std::vector<uint8_t> luma(static_cast<size_t>(w) * h);
  std::vector<uint8_t> c1(static_cast<size_t>(w / 2) * (h / 2)), c2(c1.size());
  const uint8_t* p = data + start;
  for (int pair = 0; pair < h / 2; ++pair) {
    std::memcpy(&luma[size_t(2 * pair) * w], p, size_t(w));
    std::memcpy(&luma[size_t(2 * pair + 1) * w], p + w, size_t(w));
    std::memcpy(&c1[size_t(pair) * (w / 2)], p + 2 * w, size_t(w / 2));
    std::memcpy(&c2[size_t(pair) * (w / 2)], p + 2 * w + w / 2, size_t(w / 2));
    p += 3 * w;
  }
  // Chroma to full size, then the larger scenes.
  c1 = Double(c1, w / 2, h / 2);
  c2 = Double(c2, w / 2, h / 2);
  for (int r = 2; r < resolution; ++r) {
    luma = Double(luma, w, h);
    c1 = Double(c1, w, h);
    c2 = Double(c2, w, h);
    w *= 2;
    h *= 2;
  }
  static const YccTables tables;
  Image image;
  if (!image.Allocate(w, h, gray ? 8 : 24)) return false;
  if (gray) image.palette = GrayPalette();
  for (int y = 0; y < h; ++y) {
    uint8_t* dst = image.TopRow(y);
    for (int x = 0; x < w; ++x) {
      const size_t i = size_t(y) * w + x;
      if (gray) {
        dst[x] = Clamp16(tables.luma[luma[i]]);
      } else {
        YccToRgb(tables, luma[i], c1[i], c2[i], dst + 3 * x);
      }
    }
  }
  // The rotation that turns the scan upright: quarter turns anticlockwise.
  static const int kOrientation[4] = {1, 8, 3, 6};
  const int turn = data[kSector + 0x602] & 3;
  if (!ApplyOrientation(&image, kOrientation[turn])) return false;
  *out = std::move(image);
  return true;
}

}  // namespace pixio
