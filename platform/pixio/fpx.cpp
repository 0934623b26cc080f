// FlashPix: a single image in a compound file. The root storage holds one
// image object ("Data Object Store 000001") with its "Image Contents"
// property set and one storage per resolution, "Resolution 0000" the smallest
// (fitting one 64 x 64 tile) up to the full size; each resolution holds a
// "Subimage 0000 Header" stream (size, tile size, the tile table) and a
// "Subimage 0000 Data" stream of tiles. Read: the full resolution, tiles
// uncompressed, single-colour or JPEG, in NIF RGB, PhotoYCC or monochrome,
// with or without opacity (composited over white). Written: NIF RGB tiles,
// JPEG-compressed at the quality in force, or uncompressed at quality 100.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>

#include "compound_file.h"
#include "formats.h"
#include "reader.h"
#include "save_check.h"

namespace pixio {

namespace {

constexpr uint8_t kFpxTail[8] = {0x85, 0x53, 0x00, 0xAA, 0x00, 0xA1, 0xF9, 0x5B};
const ClassId kImageView = ClassId::Make(0x56616700, 0xC154, 0x11CE, kFpxTail);
const ClassId kImageObject = ClassId::Make(0x56616000, 0xC154, 0x11CE, kFpxTail);
const ClassId kImageContents = ClassId::Make(0x56616400, 0xC154, 0x11CE, kFpxTail);

constexpr uint32_t kNumResolutions = 0x01000000;
constexpr uint32_t kFullWidth = 0x01000002;
constexpr uint32_t kFullHeight = 0x01000003;
constexpr uint32_t kSubimageWidth = 0x02000000;   // | resolution << 16
constexpr uint32_t kSubimageHeight = 0x02000001;
constexpr uint32_t kSubimageColour = 0x02000002;
constexpr uint32_t kSubimageFormat = 0x02000003;
constexpr uint32_t kJpegTables = 0x03000001;      // | table index << 16

constexpr uint32_t kVtI4 = 3, kVtUi4 = 19, kVtBlob = 65;
constexpr int kTile = 64;
/// Every stream of the image starts with this many bytes of stream header.
constexpr size_t kStreamHeader = 28;
constexpr size_t kMaxStream = size_t(1) << 30;

enum ColourSpace { kMono = 1, kPhotoYcc = 2, kNifRgb = 3 };

std::u16string Name(const char* s) {
  std::u16string out;
  for (; *s; ++s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
  return out;
}

std::u16string ResolutionName(int r) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "Resolution %04d", r);
  return Name(buf);
}

/// One property value: an integer or a blob.
struct Property {
  uint32_t type = 0;
  uint32_t value = 0;
  std::vector<uint8_t> blob;
};

/// Reads the first section of a property set stream; false when it is bad.
bool ReadPropertySet(const std::vector<uint8_t>& bytes, std::map<uint32_t, Property>* out) {
  Reader in(bytes.data(), bytes.size());
  if (in.U16LE() != 0xFFFE) return false;
  in.Skip(22);
  const uint32_t sets = in.U32LE();
  if (in.Failed() || sets < 1) return false;
  in.Skip(16);
  const uint32_t offset = in.U32LE();
  if (in.Failed() || !in.Seek(offset)) return false;
  const uint32_t sectionSize = in.U32LE();
  const uint32_t count = in.U32LE();
  if (in.Failed() || sectionSize > bytes.size() - offset || count > sectionSize / 8) return false;
  Reader section(bytes.data() + offset, sectionSize);
  section.Skip(8);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t id = section.U32LE();
    const uint32_t at = section.U32LE();
    if (section.Failed()) return false;
    Reader v(bytes.data() + offset, sectionSize);
    if (!v.Seek(at)) continue;
    Property p;
    p.type = v.U32LE() & 0xFFFF;
    if (p.type == kVtBlob) {
      const uint32_t n = v.U32LE();
      if (v.Failed() || n > v.Remaining()) continue;
      p.blob.assign(v.Here(), v.Here() + n);
    } else {
      p.value = v.U32LE();
    }
    if (v.Failed()) continue;
    (*out)[id] = std::move(p);
  }
  return true;
}

void WriteStreamHeader(Writer& w) {
  w.U16LE(0xFFFE);
  w.U16LE(0);
  w.U32LE(0x00020006);  // written on 32-bit Windows, as the format's readers expect
  w.Fill(0, 16);
  w.U32LE(0);
}

std::vector<uint8_t> WritePropertySet(const ClassId& fmtid, const std::map<uint32_t, Property>& props) {
  Writer body;  // values, offsets relative to the section start
  std::vector<std::pair<uint32_t, uint32_t>> index;
  const uint32_t tableBytes = 8 + 8 * static_cast<uint32_t>(props.size());
  for (const auto& [id, p] : props) {
    index.emplace_back(id, tableBytes + static_cast<uint32_t>(body.Size()));
    body.U32LE(p.type);
    if (p.type == kVtBlob) {
      body.U32LE(static_cast<uint32_t>(p.blob.size()));
      body.Put(p.blob.data(), p.blob.size());
      body.Fill(0, (4 - p.blob.size() % 4) % 4);
    } else {
      body.U32LE(p.value);
    }
  }
  Writer w;
  WriteStreamHeader(w);
  w.Bytes().resize(24);  // the header's reserved word is the set count here
  w.U32LE(1);
  w.Put(fmtid.bytes, 16);
  w.U32LE(48);
  w.U32LE(tableBytes + static_cast<uint32_t>(body.Size()));
  w.U32LE(static_cast<uint32_t>(props.size()));
  for (const auto& [id, at] : index) {
    w.U32LE(id);
    w.U32LE(at);
  }
  w.Put(body.Bytes().data(), body.Size());
  return std::move(w.Bytes());
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : std::lround(v))); }

/// Halves a 24-bit picture by averaging 2 x 2 blocks (edges repeat).
bool Halve(const Image& in, Image* out) {
  const int w = std::max(1, (in.width + 1) / 2), h = std::max(1, (in.height + 1) / 2);
  if (!out->Allocate(w, h, 24)) return false;
  for (int y = 0; y < h; ++y) {
    const uint8_t* r0 = in.Row(std::min(in.height - 1, 2 * y));
    const uint8_t* r1 = in.Row(std::min(in.height - 1, 2 * y + 1));
    uint8_t* dst = out->Row(y);
    for (int x = 0; x < w; ++x) {
      const int x0 = std::min(in.width - 1, 2 * x), x1 = std::min(in.width - 1, 2 * x + 1);
      for (int c = 0; c < 3; ++c) {
        dst[3 * x + c] = static_cast<uint8_t>(
            (r0[3 * x0 + c] + r0[3 * x1 + c] + r1[3 * x0 + c] + r1[3 * x1 + c] + 2) / 4);
      }
    }
  }
  return true;
}

}  // namespace

bool LooksLikeFpx(const uint8_t* data, size_t size) {
  static const uint8_t kSig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (size < 512 || std::memcmp(data, kSig, 8) != 0) return false;
  CompoundFileReader cf;
  return cf.Open(data, size) && cf.ClassOf(CompoundFileReader::kRoot) == kImageView;
}

bool DecodeFpx(const uint8_t* data, size_t size, Image* out) {
  CompoundFileReader cf;
  if (!cf.Open(data, size) || !(cf.ClassOf(CompoundFileReader::kRoot) == kImageView)) return false;
  uint32_t store = 0, contents = 0;
  if (!cf.Find(CompoundFileReader::kRoot, Name("Data Object Store 000001"), &store)) return false;
  if (!cf.Find(store, u"\x0005" + Name("Image Contents"), &contents)) return false;
  std::vector<uint8_t> bytes;
  std::map<uint32_t, Property> props;
  if (!cf.ReadStream(contents, &bytes, 1 << 24) || !ReadPropertySet(bytes, &props)) return false;
  auto number = [&](uint32_t id, uint32_t* v) {
    auto it = props.find(id);
    if (it == props.end() || it->second.type == kVtBlob) return false;
    *v = it->second.value;
    return true;
  };
  uint32_t width = 0, height = 0, levels = 0;
  if (!number(kFullWidth, &width) || !number(kFullHeight, &height)) return false;
  if (!DimensionsAcceptable(width, height)) return false;
  if (!number(kNumResolutions, &levels)) {
    // Without the count, it follows from the size: halve until one tile holds it.
    uint32_t s = std::max(width, height);
    levels = 1;
    while (s > 64) {
      s /= 2;
      ++levels;
    }
  }
  if (levels < 1 || levels > 32) return false;
  const uint32_t top = levels - 1;
  // Channel colour codes of the full resolution.
  auto colour = props.find(kSubimageColour | (top << 16));
  if (colour == props.end() || colour->second.type != kVtBlob) return false;
  Reader codes(colour->second.blob.data(), colour->second.blob.size());
  codes.U32LE();
  const uint32_t channels = codes.U32LE();
  if (codes.Failed() || channels < 1 || channels > 4) return false;
  int space = 0;
  int opacity = -1;
  for (uint32_t c = 0; c < channels; ++c) {
    const uint32_t code = codes.U32LE() & 0x7FFFFFFFu;
    if (codes.Failed()) return false;
    if ((code & 0xFFFF) == 0x7FFE) {
      opacity = static_cast<int>(c);
    } else {
      space = static_cast<int>((code >> 16) & 0x7FFF);
    }
  }
  const uint32_t colourChannels = channels - (opacity >= 0 ? 1 : 0);
  if (space == kMono && colourChannels != 1) return false;
  if ((space == kPhotoYcc || space == kNifRgb) && colourChannels != 3) return false;
  if (space != kMono && space != kPhotoYcc && space != kNifRgb) return false;

  uint32_t resolution = 0, headerId = 0, dataId = 0;
  if (!cf.Find(store, ResolutionName(static_cast<int>(top)), &resolution)) return false;
  if (!cf.Find(resolution, Name("Subimage 0000 Header"), &headerId) ||
      !cf.Find(resolution, Name("Subimage 0000 Data"), &dataId))
    return false;
  std::vector<uint8_t> header, tiles;
  if (!cf.ReadStream(headerId, &header, kMaxStream) || !cf.ReadStream(dataId, &tiles, kMaxStream))
    return false;
  Reader h(header.data(), header.size());
  h.Skip(kStreamHeader + 4);
  const uint32_t subW = h.U32LE(), subH = h.U32LE(), tileCount = h.U32LE();
  const uint32_t tileW = h.U32LE(), tileH = h.U32LE(), tileChannels = h.U32LE();
  const uint32_t tableOffset = h.U32LE(), entryLength = h.U32LE();
  if (h.Failed() || subW != width || subH != height || tileW != kTile || tileH != kTile ||
      tileChannels != channels || entryLength < 16)
    return false;
  const uint32_t across = (width + kTile - 1) / kTile, down = (height + kTile - 1) / kTile;
  if (tileCount != across * down) return false;
  if (!h.Seek(kStreamHeader + tableOffset)) return false;
  size_t tableBytes = 0;
  if (!CheckedMul(tileCount, entryLength, &tableBytes) || tableBytes > h.Remaining()) return false;

  Image image;
  if (!image.Allocate(static_cast<int>(width), static_cast<int>(height), 24)) return false;
  std::vector<uint8_t> pixels(size_t(kTile) * kTile * channels);
  for (uint32_t t = 0; t < tileCount; ++t) {
    Reader e(h.Here() + size_t(t) * entryLength, 16);
    const uint32_t offset = e.U32LE(), length = e.U32LE(), compression = e.U32LE();
    uint8_t subtype[4];
    e.Read(subtype, 4);
    const size_t start = kStreamHeader + size_t(offset);
    if (start > tiles.size() || length > tiles.size() - start) return false;
    const uint8_t* src = tiles.data() + start;
    const int tx = static_cast<int>(t % across) * kTile, ty = static_cast<int>(t / across) * kTile;
    const int tw = std::min<int>(kTile, static_cast<int>(width) - tx);
    const int th = std::min<int>(kTile, static_cast<int>(height) - ty);
    int stride = kTile;  // pixels per stored tile row
    if (compression == 0) {
      if (length >= pixels.size()) {
        std::memcpy(pixels.data(), src, pixels.size());
      } else if (length >= size_t(tw) * th * channels) {
        std::memcpy(pixels.data(), src, size_t(tw) * th * channels);  // an edge tile stored clipped
        stride = tw;
      } else {
        return false;
      }
    } else if (compression == 1) {
      for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = subtype[i % channels];
    } else if (compression == 2) {
      std::vector<uint8_t> tables;
      if (subtype[3] != 0) {
        auto it = props.find(kJpegTables | (uint32_t(subtype[3]) << 16));
        if (it == props.end() || it->second.type != kVtBlob) return false;
        tables = it->second.blob;
      }
      int jw = 0, jh = 0, jc = 0;
      std::vector<uint8_t> decoded;
      if (!DecodeJpegTile(tables.data(), tables.size(), src, length, subtype[2] != 0, &decoded, &jw,
                          &jh, &jc))
        return false;
      if (jw < tw || jh < th || jc != static_cast<int>(channels)) return false;
      for (int y = 0; y < th; ++y) {
        std::memcpy(pixels.data() + size_t(y) * kTile * channels, decoded.data() + size_t(y) * jw * jc,
                    size_t(tw) * channels);
      }
    } else {
      return false;
    }
    for (int y = 0; y < th; ++y) {
      const uint8_t* p = pixels.data() + size_t(y) * stride * channels;
      uint8_t* dst = image.TopRow(ty + y) + 3 * tx;
      for (int x = 0; x < tw; ++x, p += channels) {
        uint8_t rgb[3];
        uint8_t colourValues[3] = {0, 0, 0};
        for (uint32_t c = 0, k = 0; c < channels; ++c) {
          if (static_cast<int>(c) != opacity && k < 3) colourValues[k++] = p[c];
        }
        if (space == kMono) {
          rgb[0] = rgb[1] = rgb[2] = colourValues[0];
        } else if (space == kNifRgb) {
          std::memcpy(rgb, colourValues, 3);
        } else {
          const double l = 1.3584 * colourValues[0];
          const double c1 = 2.2179 * (colourValues[1] - 156);
          const double c2 = 1.8215 * (colourValues[2] - 137);
          rgb[0] = Clamp(l + c2);
          rgb[1] = Clamp(l - 0.194 * c1 - 0.509 * c2);
          rgb[2] = Clamp(l + c1);
        }
        if (opacity >= 0) {
          // Colours are stored premultiplied by opacity: add the white behind.
          const int under = 255 - p[opacity];
          for (uint8_t& v : rgb) v = static_cast<uint8_t>(std::min(255, v + under));
        }
        dst[3 * x] = rgb[2];
        dst[3 * x + 1] = rgb[1];
        dst[3 * x + 2] = rgb[0];
      }
    }
  }
  *out = std::move(image);
  return true;
}

bool EncodeFpx(const Image& source, const EncodeSettings& settings, std::vector<uint8_t>* out) {
  try {
    // The full resolution is the picture itself when it is 24-bit already.
    Image expanded;
    const Image* full = &source;
    if (source.bitCount != 24) {
      if (!ExpandTo24(source, &expanded)) return false;
      full = &expanded;
    }
    std::vector<Image> halves;
    halves.reserve(40);  // more than 32 halvings of an int size cannot happen
    std::vector<const Image*> levels{full};
    while (std::max(levels.back()->width, levels.back()->height) > kTile) {
      Image half;
      if (!Halve(*levels.back(), &half)) return false;
      halves.push_back(std::move(half));
      levels.push_back(&halves.back());
    }
    std::reverse(levels.begin(), levels.end());  // resolution 0 is the smallest
    const bool jpeg = settings.jpegQuality < 100;
    CompoundFileWriter cf;
    cf.SetRootClass(kImageView);
    const int store = cf.AddStorage(0, Name("Data Object Store 000001"), kImageObject);
    std::map<uint32_t, Property> props;
    auto number = [&](uint32_t id, uint32_t v) {
      Property p;
      p.type = kVtUi4;
      p.value = v;
      props[id] = p;
    };
    number(kNumResolutions, static_cast<uint32_t>(levels.size()));
    number(kFullWidth, static_cast<uint32_t>(source.width));
    number(kFullHeight, static_cast<uint32_t>(source.height));
    for (size_t r = 0; r < levels.size(); ++r) {
      const uint32_t shift = static_cast<uint32_t>(r) << 16;
      const Image& level = *levels[r];
      number(kSubimageWidth | shift, static_cast<uint32_t>(level.width));
      number(kSubimageHeight | shift, static_cast<uint32_t>(level.height));
      Property channelList;
      channelList.type = kVtBlob;
      Writer s;
      s.U32LE(1);
      s.U32LE(3);
      s.U32LE(0x00030000);
      s.U32LE(0x00030001);
      s.U32LE(0x00030002);
      channelList.blob = s.Bytes();
      props[kSubimageColour | shift] = channelList;
      Property format;
      format.type = kVtI4;
      format.value = 17;  // unsigned 8-bit samples
      props[kSubimageFormat | shift] = format;

      const int across = (level.width + kTile - 1) / kTile, down = (level.height + kTile - 1) / kTile;
      Writer header, data;
      WriteStreamHeader(header);
      WriteStreamHeader(data);
      header.U32LE(36);
      header.U32LE(static_cast<uint32_t>(level.width));
      header.U32LE(static_cast<uint32_t>(level.height));
      header.U32LE(static_cast<uint32_t>(across * down));
      header.U32LE(kTile);
      header.U32LE(kTile);
      header.U32LE(3);
      header.U32LE(36);  // the tile table follows, counted from after the stream header
      header.U32LE(16);
      Image tile;
      if (!tile.Allocate(kTile, kTile, 24)) return false;
      std::vector<uint8_t> raw(size_t(kTile) * kTile * 3);
      for (int t = 0; t < across * down; ++t) {
        const int tx = (t % across) * kTile, ty = (t / across) * kTile;
        // Tiles are full size; the part past the picture's edge repeats it.
        for (int y = 0; y < kTile; ++y) {
          const uint8_t* src = level.TopRow(std::min(level.height - 1, ty + y));
          uint8_t* rgb = raw.data() + size_t(y) * kTile * 3;
          uint8_t* bgr = tile.TopRow(y);
          for (int x = 0; x < kTile; ++x) {
            const uint8_t* p = src + 3 * std::min(level.width - 1, tx + x);
            rgb[3 * x] = p[2];
            rgb[3 * x + 1] = p[1];
            rgb[3 * x + 2] = p[0];
            bgr[3 * x] = p[0];
            bgr[3 * x + 1] = p[1];
            bgr[3 * x + 2] = p[2];
          }
        }
        const uint32_t offset = static_cast<uint32_t>(data.Size() - kStreamHeader);
        if (jpeg) {
          std::vector<uint8_t> encoded;
          if (!EncodeJpeg(tile, settings, &encoded)) return false;
          data.Put(encoded.data(), encoded.size());
          header.U32LE(offset);
          header.U32LE(static_cast<uint32_t>(encoded.size()));
          header.U32LE(2);
          // Interleaved, no chroma subsampling flag, converted from YCbCr by
          // the decoder, no shared tables.
          header.U8(0);
          header.U8(0);
          header.U8(1);
          header.U8(0);
        } else {
          data.Put(raw.data(), raw.size());
          header.U32LE(offset);
          header.U32LE(static_cast<uint32_t>(raw.size()));
          header.U32LE(0);
          header.U32LE(0);
        }
      }
      // Tile offsets are 32-bit and a version 3 compound file's streams stop at 2 GB.
      if (data.Size() > kMaxFpxStreamBytes) return false;
      const int res = cf.AddStorage(store, ResolutionName(static_cast<int>(r)), ClassId());
      cf.AddStream(res, Name("Subimage 0000 Header"), std::move(header.Bytes()));
      cf.AddStream(res, Name("Subimage 0000 Data"), std::move(data.Bytes()));
    }
    cf.AddStream(store, u"\x0005" + Name("Image Contents"), WritePropertySet(kImageContents, props));
    return cf.Finish(out);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace pixio
