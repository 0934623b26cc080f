// GIF through giflib: the first frame is read (transparent pixels and the
// canvas around a smaller frame become white); true-colour pictures are
// written through giflib's median-cut quantiser.
#include <algorithm>
#include <cstring>
#include <new>

#include <gif_lib.h>

#include "formats.h"
#include "reader.h"

namespace pixio {

namespace {

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int n) {
  auto* in = static_cast<Reader*>(gif->UserData);
  if (n <= 0) return 0;
  const size_t count = std::min(static_cast<size_t>(n), in->Remaining());
  in->Read(buf, count);
  return static_cast<int>(count);
}

int WriteToMemory(GifFileType* gif, const GifByteType* buf, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  try {
    out->insert(out->end(), buf, buf + n);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return n;
}

struct GifCloser {
  GifFileType* gif;
  bool writing;
  ~GifCloser() {
    int error = 0;
    if (!gif) return;
    if (writing) {
      EGifCloseFile(gif, &error);
    } else {
      DGifCloseFile(gif, &error);
    }
  }
};

/// Rows in the order an interlaced frame stores them: every 8th from 0, every
/// 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static const int kStart[4] = {0, 4, 2, 1};
  static const int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, Image* out) {
  if (size < 13 || std::memcmp(data, "GIF", 3) != 0) return false;
  Reader in(data, size);
  int error = 0;
  GifFileType* gif = DGifOpen(&in, ReadFromMemory, &error);
  if (!gif) return false;
  GifCloser closer{gif, false};
  int transparent = -1;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == TERMINATE_RECORD_TYPE) return false;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return false;
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      }
      while (ext) {
        if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return false;
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) return false;
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    break;
  }
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors || map->ColorCount <= 0) return false;
  if (!DimensionsAcceptable(desc.Width, desc.Height)) return false;
  RGBQUAD table[256] = {};
  for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
    table[i].rgbRed = map->Colors[i].Red;
    table[i].rgbGreen = map->Colors[i].Green;
    table[i].rgbBlue = map->Colors[i].Blue;
  }
  // The canvas is the logical screen when the frame lies inside it.
  int canvasW = gif->SWidth, canvasH = gif->SHeight;
  int left = desc.Left, top = desc.Top;
  if (left + desc.Width > canvasW || top + desc.Height > canvasH ||
      !DimensionsAcceptable(canvasW, canvasH)) {
    canvasW = desc.Width;
    canvasH = desc.Height;
    left = top = 0;
  }
  // One LZW code of at least 2 bits stands for at most 4096 pixels: a file
  // too short to hold the frame is refused before its memory is taken.
  if (uint64_t(desc.Width) * uint64_t(desc.Height) > uint64_t(in.Remaining()) * 4 * 4096) return false;
  std::vector<uint8_t> indexes;
  try {
    indexes.resize(static_cast<size_t>(desc.Width) * desc.Height);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const std::vector<int> order = RowOrder(desc.Height, desc.Interlace);
  for (int y : order) {
    if (DGifGetLine(gif, indexes.data() + static_cast<size_t>(y) * desc.Width, desc.Width) ==
        GIF_ERROR)
      return false;
  }
  const bool covers = canvasW == desc.Width && canvasH == desc.Height;
  Image image;
  if (covers && transparent < 0) {
    if (!image.Allocate(canvasW, canvasH, 8)) return false;
    image.palette.assign(table, table + 256);
    for (int y = 0; y < canvasH; ++y) {
      std::memcpy(image.TopRow(y), indexes.data() + static_cast<size_t>(y) * desc.Width,
                  static_cast<size_t>(desc.Width));
    }
  } else {
    if (!image.Allocate(canvasW, canvasH, 24)) return false;
    std::fill(image.pixels.begin(), image.pixels.end(), uint8_t(255));
    for (int y = 0; y < desc.Height; ++y) {
      const uint8_t* src = indexes.data() + static_cast<size_t>(y) * desc.Width;
      uint8_t* dst = image.TopRow(top + y) + 3 * left;
      for (int x = 0; x < desc.Width; ++x) {
        if (src[x] == transparent) continue;
        const RGBQUAD& q = table[src[x]];
        dst[3 * x] = q.rgbBlue;
        dst[3 * x + 1] = q.rgbGreen;
        dst[3 * x + 2] = q.rgbRed;
      }
    }
  }
  *out = std::move(image);
  return true;
}

bool EncodeGif(const Image& image, std::vector<uint8_t>* out) {
  if (image.width > 65535 || image.height > 65535) return false;
  const size_t count = static_cast<size_t>(image.width) * image.height;
  std::vector<GifByteType> indexes;
  std::vector<GifColorType> colours;
  try {
    indexes.resize(count);
    if (image.bitCount <= 8) {
      for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
          indexes[static_cast<size_t>(y) * image.width + x] =
              static_cast<GifByteType>(image.IndexAt(x, image.height - 1 - y));
        }
      }
      colours.resize(std::max<size_t>(image.palette.size(), 2));
      for (size_t i = 0; i < image.palette.size(); ++i) {
        colours[i] = {image.palette[i].rgbRed, image.palette[i].rgbGreen, image.palette[i].rgbBlue};
      }
    } else {
      std::vector<GifByteType> r(count), g(count), b(count);
      for (int y = 0; y < image.height; ++y) {
        const uint8_t* src = image.TopRow(y);
        const size_t base = static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
          b[base + x] = src[3 * x];
          g[base + x] = src[3 * x + 1];
          r[base + x] = src[3 * x + 2];
        }
      }
      int mapSize = 256;
      colours.resize(256);
      if (GifQuantizeBuffer(static_cast<unsigned>(image.width), static_cast<unsigned>(image.height),
                            &mapSize, r.data(), g.data(), b.data(), indexes.data(),
                            colours.data()) == GIF_ERROR)
        return false;
      colours.resize(static_cast<size_t>(std::max(mapSize, 2)));
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  // A GIF colour table has a power-of-two size.
  int tableSize = 2;
  while (tableSize < static_cast<int>(colours.size())) tableSize *= 2;
  colours.resize(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
  ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
  if (!map) return false;
  std::vector<uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteToMemory, &error);
  if (!gif) {
    GifFreeMapObject(map);
    return false;
  }
  bool ok = EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map) != GIF_ERROR &&
            EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) != GIF_ERROR;
  for (int y = 0; ok && y < image.height; ++y) {
    ok = EGifPutLine(gif, indexes.data() + static_cast<size_t>(y) * image.width, image.width) !=
         GIF_ERROR;
  }
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) == GIF_ERROR) ok = false;
  if (!ok) return false;
  if (out->empty()) {
    out->swap(bytes);
  } else {
    out->insert(out->end(), bytes.begin(), bytes.end());
  }
  return true;
}

}  // namespace pixio
