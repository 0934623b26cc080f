#ifndef APP_ALBUM_ALBUM_REGISTRY_H
#define APP_ALBUM_ALBUM_REGISTRY_H

#include <string>

#include "album_adding.h"
#include "album_list.h"

namespace vmd {

/// The program's album list, kept in the registry key PHOTOS (one value per
/// album: file name -> title), with the current album (ALBUMCUR), the
/// selected photo of each album (ALBUMPOS) and its first thumbnail row shown
/// (ALBUMHEAD, under the older product's branch).

AlbumList& Albums();
/// Reads PHOTOS into the list (the first 100 values).
void LoadAlbumList();
/// Deletes PHOTOS, creates it again and writes every entry (each title as
/// 260 bytes, zero-padded).
bool SaveAlbumList();
int AlbumCount();
std::string AlbumFileName(int index);
std::string AlbumTitle(int index);
bool SetAlbumTitle(int index, const std::string& title);
int FindAlbum(const std::string& fileName);
/// The user's album folder, a backslash, the album's file name.
std::string AlbumPath(int index);
/// Appends "album<n>.abm" with the title followed by n and saves the list;
/// the album's file is made by its first save. The new index, or -1.
int NewAlbum(const std::string& title);
/// Deletes the album's file and its entry, and saves the list.
bool DeleteAlbum(int index);

int CurrentAlbum();
bool SetCurrentAlbum(int index);

enum class AlbumPlace { kPosition, kHeadRow };
/// The value name of an album under ALBUMPOS and ALBUMHEAD: "photos_<file>".
std::string AlbumPlaceName(const std::string& fileName);
int AlbumPosition(int album, AlbumPlace which);
bool SetAlbumPosition(int album, AlbumPlace which, int value);

/// Adding a photo to album `album` from the album window: reads it unless
/// `given` is a DIB, opens another album than the current one as the second
/// album, refuses a full album, replaces an item of the same path and appends
/// the new one. Another album is saved at once with its position set to the
/// new item and its head row keeping it visible (`columns` thumbnails a row,
/// `rowsShown` rows shown); the current album is marked changed. Every
/// failure is reported with its message. Returns the new item's index or -1.
int AddPhotoToAlbum(int album, int currentAlbum, const std::string& path, HGLOBAL given,
                    AlbumPhotoReader read, int columns, int rowsShown);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_REGISTRY_H
