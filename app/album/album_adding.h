#ifndef APP_ALBUM_ALBUM_ADDING_H
#define APP_ALBUM_ALBUM_ADDING_H

#include <string>

#include "album_items.h"

namespace vmd {

/// Reads a photo file as a DIB (the program's image reader); null on failure.
using AlbumPhotoReader = HGLOBAL (*)(const std::string& path);

/// Step 1 of adding a photo: the given DIB, or the file read. On failure the
/// message is reported and its id stored in `message`: "Cannot locate the
/// file." when the file does not exist, else "Can't open the file."; a photo
/// of width or height 0 gives "The photo size is zero." (a read DIB is then
/// freed). `owned` tells whether the caller must free the result.
HGLOBAL ReadPhotoForAlbum(const std::string& path, HGLOBAL given, AlbumPhotoReader read,
                          bool* owned, int* message);

/// Steps 3 and 4 for an album in memory: refused with "Album has reached its
/// maximum capacity." when it holds 1000; otherwise an item with the same
/// full path (without regard to case) is removed and a fresh one is made and
/// appended. Returns the new item's index, or -1 (message reported).
int PutPhotoIntoAlbum(AlbumItems& album, const std::string& path, HGLOBAL photo);

/// The first thumbnail row that keeps the last of `count` photos visible:
/// the rows needed for all of them minus the rows shown, at least 0.
int HeadRowKeepingLastVisible(int count, int columns, int rowsShown);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_ADDING_H
