// libFuzzer target for album files. A damaged file may load fewer items or
// none; it must never read or write out of bounds, leak, or give an album
// that does not write back and read again as itself.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "album_items.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vmd::AlbumItems album;
  album.SetSampleFolder("C:\\Users\\fuzz\\palbums");
  album.LoadBytes(data, size);
  for (int i = 0; i < album.Count(); ++i) {
    if (HGLOBAL thumb = vmd::ItemThumbnailDib(album.Item(i))) GlobalFree(thumb);
    vmd::AlbumRecord record;
    if (!album.Record(i, &record)) std::abort();
    (void)album.ItemPath(i);
    (void)record.TypeText();
  }
  (void)album.Find("c:\\users\\fuzz\\palbums\\a.jpg");
  std::vector<uint8_t> written;
  if (!album.FileBytes(&written)) return 0;  // only past the 4 GB a file can say
  vmd::AlbumItems again;
  if (!again.LoadBytes(written.data(), written.size()) || again.Count() != album.Count())
    std::abort();
  std::vector<uint8_t> rewritten;
  if (!again.FileBytes(&rewritten) || rewritten != written) std::abort();
  return 0;
}
