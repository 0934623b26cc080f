#ifndef APP_ALBUM_ALBUM_DIALOGS_H
#define APP_ALBUM_ALBUM_DIALOGS_H

#include <windows.h>

#include "album_order.h"

namespace vmd {

/// The album window's dialogs (templates of vmdres).
enum class DeleteChoice { kCancel, kThumbnails, kThumbnailsAndFiles };
/// "Delete Options": thumbnails only (the default) or thumbnails and files.
DeleteChoice AskDeleteOptions(HWND owner);
/// "Sort Album": the key and the reverse switch; false on Cancel.
bool AskSortOrder(HWND owner, AlbumSortBy* by, bool* reverse);

}  // namespace vmd

#endif  // APP_ALBUM_ALBUM_DIALOGS_H
