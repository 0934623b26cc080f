// Writes the album fuzzer's seed corpus with the album code itself: albums of
// photos of every depth and size class, one with a relative name.
#include <cstdio>
#include <string>
#include <vector>

#include "album_items.h"

namespace {

HGLOBAL Photo(int width, int height, int bits) {
  const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
  const size_t colours = bits <= 8 ? (size_t{1} << bits) : 0;
  HGLOBAL dib = GlobalAlloc(GHND, 40 + 4 * colours + stride * height);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  header->biSize = 40;
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bits);
  auto* bytes = reinterpret_cast<uint8_t*>(header);
  for (size_t i = 40; i < 40 + 4 * colours + stride * height; ++i) bytes[i] = uint8_t(i * 37);
  GlobalUnlock(dib);
  return dib;
}

bool Write(const std::string& path, const vmd::AlbumItems& album) {
  std::vector<uint8_t> bytes;
  if (!album.FileBytes(&bytes)) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string folder = argv[1];
  struct Shape {
    int width, height, bits;
  } shapes[] = {{200, 100, 24}, {50, 60, 8}, {90, 300, 4}, {33, 7, 1}, {120, 80, 16}, {70, 70, 32}};
  vmd::AlbumItems all;
  int n = 0;
  for (const Shape& s : shapes) {
    HGLOBAL photo = Photo(s.width, s.height, s.bits);
    all.Add(vmd::MakeAlbumItemFromFacts(photo, "C:\\photos\\p" + std::to_string(n++) + ".bmp",
                                        vmd::kStillImageType, 1, 1, 1, {1000, 2000}));
    GlobalFree(photo);
  }
  bool ok = Write(folder + "/all-depths.abm", all);
  vmd::AlbumItems one;
  HGLOBAL photo = Photo(1024, 768, 24);
  HGLOBAL item = vmd::MakeAlbumItemFromFacts(photo, "row_1.jpg", "", 1, 1, 1, {});
  GlobalFree(photo);
  vmd::AlbumRecord record;
  vmd::ReadItemRecord(item, &record);
  record.SetRelative(true);
  vmd::WriteItemRecord(item, record);
  one.Add(item);
  ok = Write(folder + "/relative.abm", one) && ok;
  return ok ? 0 : 1;
}
