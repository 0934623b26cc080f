// Kodak Photo CD image packs. The pack is a run of 2048-byte sectors: the
// "PCD_IPI" header in sector 1 (its byte 0x602 holds the rotation), then the
// three uncompressed scenes Base/16 (192 x 128) at sector 4, Base/4 (384 x 256)
// at sector 23 and Base (768 x 512) at sector 96, each stored as pairs of luma
// rows followed by one row of each chroma channel at half width (4:2:0
// PhotoYCC). 4Base (1536 x 1024) and 16Base (3072 x 2048) are Base doubled by
// interpolation plus Huffman-coded corrections: for 4Base a section at sector
// 384 (its code table 4 sectors on, its data 5 sectors on) corrects the luma;
// for 16Base a second section, starting at the sector after the first one's
// data ends (table 12 sectors on, data 14 sectors on), corrects the luma at
// 16Base and both chroma channels at 4Base. A pack without a section is shown
// interpolated, as Photo CD readers do for packs that omit the large scenes.
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

/// MSB-first bits over the pack, from a byte offset; reads past the end
/// give zero bits and set `overrun`.
class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size, size_t offset) : data_(data), size_(size), pos_(offset) {}
  /// The next n (1 to 24) bits without consuming them.
  uint32_t Peek(int n) {
    while (count_ < n) {
      const uint32_t byte = pos_ < size_ ? data_[pos_] : 0;
      if (pos_ >= size_) overrun = true;
      ++pos_;
      bits_ |= uint64_t(byte) << (56 - count_);
      count_ += 8;
    }
    return static_cast<uint32_t>(bits_ >> (64 - n));
  }
  void Skip(int n) {
    Peek(n);
    bits_ <<= n;
    count_ -= n;
  }
  uint32_t Take(int n) {
    const uint32_t v = Peek(n);
    Skip(n);
    return v;
  }
  /// Byte offset of the next unread bit, rounded up.
  size_t Offset() const { return pos_ - static_cast<size_t>(count_ / 8); }
  bool overrun = false;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_;
  uint64_t bits_ = 0;
  int count_ = 0;
};

/// A code table as a lookup on the next 16 bits: code length (0 = no code)
/// and the signed correction it stands for.
struct CodeTable {
  std::vector<uint8_t> length = std::vector<uint8_t>(65536, 0);
  std::vector<int8_t> value = std::vector<int8_t>(65536, 0);
};

/// Reads one table: a count less one, then per code its length less one, the
/// code left-justified in 16 bits and its value. False for lengths over 16.
bool ReadCodeTable(const uint8_t* data, size_t size, size_t* offset, CodeTable* t) {
  if (*offset >= size) return false;
  const int count = data[(*offset)++] + 1;
  for (int i = 0; i < count; ++i) {
    if (size - *offset < 4) return false;
    const uint8_t* e = data + *offset;
    *offset += 4;
    const int length = e[0] + 1;
    if (length > 16) return false;
    const uint32_t code = uint32_t(e[1] << 8 | e[2]);
    const uint32_t first = code & ~((1u << (16 - length)) - 1);
    for (uint32_t j = first; j < first + (1u << (16 - length)); ++j) {
      t->length[j] = static_cast<uint8_t>(length);
      t->value[j] = static_cast<int8_t>(e[3]);
    }
  }
  return true;
}

/// One plane the corrections apply to.
struct Plane {
  std::vector<uint8_t>* pixels;
  int width;
  int height;
};

/// Applies one correction section whose tables start at sector `tableSector`
/// and whose data start at sector `dataSector`. Each row begins with the sync
/// code 0xFFFFFE, a 2-bit plane number, a 13-bit row number and one spare bit;
/// the section ends at the row just past the last. On success *endOffset is the
/// byte after the data.
bool ApplyCorrections(const uint8_t* data, size_t size, size_t tableSector, size_t dataSector,
                      const std::vector<Plane>& planes, size_t* endOffset) {
  std::vector<CodeTable> tables(planes.size());
  size_t offset = tableSector * kSector;
  for (CodeTable& t : tables) {
    if (!ReadCodeTable(data, size, &offset, &t)) return false;
  }
  if (dataSector * kSector >= size) return false;
  BitReader bits(data, size, dataSector * kSector);
  // The plane numbers as stored: luma, (unused), first chroma, second chroma.
  static const int kPlaneOf[4] = {0, -1, 1, 2};
  // Every row of every plane at most once, plus slack for repeated rows.
  const size_t maxRows = size_t(planes[0].height) * 3;
  size_t rows = 0;
  while (bits.Peek(24) != 0xFFFFFE) {  // the data start at the first sync code
    bits.Skip(1);
    if (bits.overrun || bits.Offset() - dataSector * kSector > kSector * 4) return false;
  }
  for (;;) {
    if (bits.Peek(24) != 0xFFFFFE || bits.overrun) return false;
    bits.Skip(24);
    const int plane = kPlaneOf[bits.Take(2)];
    const int row = static_cast<int>(bits.Take(13));
    bits.Skip(1);
    if (plane < 0 || plane >= static_cast<int>(planes.size()) || ++rows > maxRows) return false;
    const Plane& p = planes[static_cast<size_t>(plane)];
    if (row == p.height) break;  // the row past the last ends the section
    if (row > p.height) return false;
    uint8_t* dst = p.pixels->data() + size_t(row) * p.width;
    const CodeTable& t = tables[static_cast<size_t>(plane)];
    for (int x = 0;; ++x) {
      const uint32_t next = bits.Peek(24);
      if (next == 0xFFFFFE) {
        if (x != p.width) return false;  // every row corrects every pixel
        break;
      }
      if (x >= p.width || bits.overrun) return false;
      const uint32_t index = next >> 8;
      const int length = t.length[index];
      if (length == 0) return false;
      bits.Skip(length);
      const int v = dst[x] + t.value[index];
      dst[x] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
  }
  *endOffset = bits.Offset();
  return true;
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
  // Grey pictures need no chroma: planes of the right size stand in, so that
  // correction sections still parse.
  auto doubleChroma = [&](std::vector<uint8_t>& c, int cw, int ch) {
    if (gray) {
      c.assign(size_t(cw) * ch * 4, 0);
    } else {
      c = Double(c, cw, ch);
    }
  };
  doubleChroma(c1, w / 2, h / 2);
  doubleChroma(c2, w / 2, h / 2);
  // The larger scenes: double, then correct where the pack holds corrections.
  size_t sectionEnd = 384 * kSector;
  bool corrected = true;
  for (int r = 2; r < resolution; ++r) {
    luma = Double(luma, w, h);
    w *= 2;
    h *= 2;
    const bool first = r == 2;
    const size_t start = first ? 384 : (sectionEnd + kSector - 1) / kSector;
    const size_t tableSector = start + (first ? 4 : 12), dataSector = start + (first ? 5 : 14);
    // A pack that ends before a section simply lacks that scene.
    const bool present = corrected && dataSector * kSector < size;
    if (present) {
      std::vector<Plane> planes = {{&luma, w, h}};
      if (!first) {
        planes.push_back({&c1, w / 2, h / 2});
        planes.push_back({&c2, w / 2, h / 2});
      }
      if (!ApplyCorrections(data, size, tableSector, dataSector, planes, &sectionEnd)) return false;
    }
    corrected = present;
    doubleChroma(c1, w / 2, h / 2);
    doubleChroma(c2, w / 2, h / 2);
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
