// ZSoft PC Paintbrush: 1-bit, 4-bit (four 1-bit planes or one 4-bit plane),
// 8-bit with the 256-colour table at the end, and 24-bit (three planes); RLE.
#include <algorithm>
#include <cstring>

#include "formats.h"
#include "reader.h"

namespace pixio {

namespace {

/// The 16 colours of the standard EGA palette, for files that leave the
/// header's table empty.
const uint8_t kEga[16][3] = {
    {0, 0, 0},     {0, 0, 170},   {0, 170, 0},   {0, 170, 170}, {170, 0, 0},    {170, 0, 170},
    {170, 85, 0},  {170, 170, 170}, {85, 85, 85}, {85, 85, 255}, {85, 255, 85},  {85, 255, 255},
    {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};

void PutRle(Writer& w, const uint8_t* line, size_t n) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 63 && line[i + run] == line[i]) ++run;
    if (run > 1 || line[i] >= 0xC0) w.U8(static_cast<unsigned>(0xC0 | run));
    w.U8(line[i]);
    i += run;
  }
}

}  // namespace

bool DecodePcx(const uint8_t* data, size_t size, Image* out) {
  Reader in(data, size);
  uint8_t h[128];
  if (!in.Read(h, sizeof h)) return false;
  if (h[0] != 0x0A || h[2] > 1) return false;
  const bool rle = h[2] == 1;
  const int bits = h[3];
  const int xmin = h[4] | (h[5] << 8), ymin = h[6] | (h[7] << 8);
  const int xmax = h[8] | (h[9] << 8), ymax = h[10] | (h[11] << 8);
  const int planes = h[65];
  const size_t bytesPerLine = static_cast<size_t>(h[66] | (h[67] << 8));
  if (xmax < xmin || ymax < ymin) return false;
  const int width = xmax - xmin + 1, height = ymax - ymin + 1;
  if (!DimensionsAcceptable(width, height)) return false;
  int outBits = 0;
  if (bits == 1 && planes == 1) outBits = 1;
  else if (bits == 1 && planes == 4) outBits = 4;
  else if (bits == 4 && planes == 1) outBits = 4;
  else if (bits == 8 && planes == 1) outBits = 8;
  else if (bits == 8 && (planes == 3 || planes == 4)) outBits = 24;
  else return false;
  if (bytesPerLine * 8 < static_cast<size_t>(width) * bits) return false;
  const size_t lineBytes = bytesPerLine * planes;
  size_t total = 0;
  if (!CheckedMul(lineBytes, static_cast<size_t>(height), &total)) return false;
  // Two bytes of RLE make at most 63 bytes of picture.
  if (total / 63 > in.Remaining()) return false;

  std::vector<uint8_t> lines;
  lines.reserve(total);
  while (lines.size() < total) {
    const uint8_t b = in.U8();
    if (in.Failed()) return false;
    if (rle && b >= 0xC0) {
      const uint8_t value = in.U8();
      if (in.Failed()) return false;
      const size_t n = std::min<size_t>(b & 0x3F, total - lines.size());
      lines.insert(lines.end(), n, value);
    } else {
      lines.push_back(b);
    }
  }

  Image image;
  if (!image.Allocate(width, height, outBits)) return false;
  if (outBits == 1) {
    // Two-colour files are black and white unless the header names two
    // different colours.
    if (std::memcmp(h + 16, h + 19, 3) != 0) {
      image.palette = {RGBQUAD{h[18], h[17], h[16], 0}, RGBQUAD{h[21], h[20], h[19], 0}};
    } else {
      image.palette = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    }
  } else if (outBits == 4) {
    bool empty = true;
    for (int i = 16; i < 64; ++i) empty = empty && h[i] == 0;
    image.palette.resize(16);
    for (int i = 0; i < 16; ++i) {
      const uint8_t* c = empty ? kEga[i] : h + 16 + 3 * i;
      image.palette[i] = RGBQUAD{c[2], c[1], c[0], 0};
    }
  } else if (outBits == 8) {
    // The 256-colour table follows a 0x0C marker in the last 769 bytes.
    if (size >= 128 + 769 && data[size - 769] == 0x0C) {
      image.palette.resize(256);
      const uint8_t* c = data + size - 768;
      for (int i = 0; i < 256; ++i) image.palette[i] = RGBQUAD{c[3 * i + 2], c[3 * i + 1], c[3 * i], 0};
    } else if (h[68] == 2) {
      image.palette = GrayPalette();  // a grey picture may leave the table out
    } else {
      return false;  // the colour table was cut off
    }
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* line = lines.data() + static_cast<size_t>(y) * lineBytes;
    uint8_t* dst = image.TopRow(y);
    if (outBits == 24) {
      for (int x = 0; x < width; ++x) {
        dst[3 * x] = line[2 * bytesPerLine + x];
        dst[3 * x + 1] = line[bytesPerLine + x];
        dst[3 * x + 2] = line[x];
      }
    } else if (bits == 1 && planes == 4) {
      for (int x = 0; x < width; ++x) {
        int index = 0;
        for (int p = 0; p < 4; ++p) {
          index |= ((line[p * bytesPerLine + (x >> 3)] >> (7 - (x & 7))) & 1) << p;
        }
        uint8_t& cell = dst[x >> 1];
        cell = (x & 1) ? static_cast<uint8_t>((cell & 0xF0) | index)
                       : static_cast<uint8_t>((cell & 0x0F) | (index << 4));
      }
    } else {
      std::memcpy(dst, line, (static_cast<size_t>(width) * bits + 7) / 8);
    }
  }
  *out = std::move(image);
  return true;
}

bool EncodePcx(const Image& image, std::vector<uint8_t>* out) {
  if (image.width > 65535 || image.height > 65535) return false;
  const int planes = image.bitCount == 24 ? 3 : (image.bitCount == 4 ? 4 : 1);
  const int bits = image.bitCount == 24 || image.bitCount == 8 ? 8 : 1;
  size_t bytesPerLine = (static_cast<size_t>(image.width) * bits + 7) / 8;
  bytesPerLine += bytesPerLine & 1;  // even, as readers expect
  if (bytesPerLine > 0xFFFF) return false;  // a 16-bit field
  uint8_t h[128] = {};
  h[0] = 0x0A;
  h[1] = 5;
  h[2] = 1;
  h[3] = static_cast<uint8_t>(bits);
  const int xmax = image.width - 1, ymax = image.height - 1;
  h[8] = static_cast<uint8_t>(xmax);
  h[9] = static_cast<uint8_t>(xmax >> 8);
  h[10] = static_cast<uint8_t>(ymax);
  h[11] = static_cast<uint8_t>(ymax >> 8);
  h[12] = h[14] = 72;
  if (image.bitCount == 4 || image.bitCount == 1) {
    for (int i = 0; i < 16 && i < static_cast<int>(image.palette.size()); ++i) {
      h[16 + 3 * i] = image.palette[i].rgbRed;
      h[17 + 3 * i] = image.palette[i].rgbGreen;
      h[18 + 3 * i] = image.palette[i].rgbBlue;
    }
  }
  h[65] = static_cast<uint8_t>(planes);
  h[66] = static_cast<uint8_t>(bytesPerLine);
  h[67] = static_cast<uint8_t>(bytesPerLine >> 8);
  h[68] = image.IsGray() ? 2 : 1;
  Writer w(out);
  w.Put(h, sizeof h);
  std::vector<uint8_t> line(bytesPerLine * planes);
  for (int y = 0; y < image.height; ++y) {
    std::fill(line.begin(), line.end(), uint8_t(0));
    const uint8_t* src = image.TopRow(y);
    if (image.bitCount == 24) {
      for (int x = 0; x < image.width; ++x) {
        line[x] = src[3 * x + 2];
        line[bytesPerLine + x] = src[3 * x + 1];
        line[2 * bytesPerLine + x] = src[3 * x];
      }
    } else if (image.bitCount == 4) {
      for (int x = 0; x < image.width; ++x) {
        const int index = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
        for (int p = 0; p < 4; ++p) {
          if ((index >> p) & 1) line[p * bytesPerLine + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
        }
      }
    } else {
      std::memcpy(line.data(), src, (static_cast<size_t>(image.width) * bits + 7) / 8);
    }
    for (int p = 0; p < planes; ++p) PutRle(w, line.data() + p * bytesPerLine, bytesPerLine);
  }
  if (image.bitCount == 8) {
    w.U8(0x0C);
    for (int i = 0; i < 256; ++i) {
      const RGBQUAD q = i < static_cast<int>(image.palette.size()) ? image.palette[i] : RGBQUAD{};
      w.U8(q.rgbRed);
      w.U8(q.rgbGreen);
      w.U8(q.rgbBlue);
    }
  }
  return true;
}

}  // namespace pixio
