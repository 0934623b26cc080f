#ifndef APP_ALBUM_ALBUM_DIALOGS_H
#define APP_ALBUM_ALBUM_DIALOGS_H

#include <windows.h>

#include <string>

#include "album_order.h"

namespace vmd {

/// The album window's dialogs (templates of vmdres).
enum class DeleteChoice { kCancel, kThumbnails, kThumbnailsAndFiles };
/// "Delete Options": thumbnails only (the default) or thumbnails and files.
DeleteChoice AskDeleteOptions(HWND owner);
/// "Sort Album": the key and the reverse switch; false on Cancel.
bool AskSortOrder(HWND owner, AlbumSortBy* by, bool* reverse);

/// The title of a new album: the dialog offers `proposed`; OK takes the text
/// typed when CheckNewAlbumTitle finds it fine (an empty one beeps, one the
/// list has shows "This Album already exists!" and the dialog stays).
/// False on Cancel.
bool AskAlbumTitle(HWND owner, const std::string& proposed, std::string* title);

/// What "Properties" shows of one photo.
struct PhotoProperties {
  std::string location;  ///< the folder
  std::string name;
  std::string type;
  unsigned size = 0;  ///< bytes
  unsigned time = 0;  ///< seconds since 1970
  int width = 0, height = 0, bits = 0;
};
/// The "Properties" dialog of a photo.
void ShowPhotoProperties(HWND owner, const PhotoProperties& photo);
/// The texts it shows: "1,234,567 bytes", "2026-12-08 21:47", "1024 x 768 pixels, 24 bits".
std::string PropertySizeText(unsigned bytes);
std::string PropertyTimeText(unsigned seconds);
std::string PropertyImageText(int width, int height, int bits);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_DIALOGS_H
