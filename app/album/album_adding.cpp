#include "album_adding.h"

namespace vmd {

namespace {

bool PhotoHasPixels(HGLOBAL dib) {
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  if (header == nullptr) return false;
  const bool pixels = GlobalSize(dib) >= sizeof(BITMAPINFOHEADER) &&
                      static_cast<uint16_t>(header->biWidth) != 0 &&
                      static_cast<uint16_t>(header->biHeight) != 0;
  GlobalUnlock(dib);
  return pixels;
}

}  // namespace

HGLOBAL ReadPhotoForAlbum(const std::string& path, HGLOBAL given, AlbumPhotoReader read,
                          bool* owned, int* message) {
  *owned = false;
  *message = 0;
  HGLOBAL photo = given;
  if (photo == nullptr) {
    photo = read != nullptr ? read(path) : nullptr;
    if (photo == nullptr) {
      PhotoFileFacts facts;
      *message = ReadPhotoFileFacts(path, &facts) ? kMsgCantOpenFile : kMsgCannotLocateFile;
      ReportAlbumMessage(*message);
      return nullptr;
    }
    *owned = true;
  }
  if (!PhotoHasPixels(photo)) {
    if (*owned) GlobalFree(photo);
    *owned = false;
    *message = kMsgPhotoSizeZero;
    ReportAlbumMessage(*message);
    return nullptr;
  }
  return photo;
}

int PutPhotoIntoAlbum(AlbumItems& album, const std::string& path, HGLOBAL photo) {
  if (album.Full()) {
    ReportAlbumMessage(kMsgAlbumFull);
    return -1;
  }
  const int old = album.Find(path);
  if (old >= 0) album.Remove(old);
  HGLOBAL item = MakeAlbumItem(photo, path, kStillImageType, 1, 1, 1);
  if (item == nullptr || !album.Add(item)) return -1;
  return album.Count() - 1;
}

int HeadRowKeepingLastVisible(int count, int columns, int rowsShown) {
  if (columns < 1) columns = 1;
  const int rows = (count + columns - 1) / columns;
  return rows - rowsShown > 0 ? rows - rowsShown : 0;
}

}  // namespace vmd
