#ifndef APP_EXPORT_WEB_EXPORT_H
#define APP_EXPORT_WEB_EXPORT_H

#include <windows.h>

namespace vmd {

/// The longest page path the web export accepts.
constexpr size_t kWebPagePathLimit = 230;

/// The web-page branch of the Export command: checks the path's length, makes
/// the companion folder "<path without extension>_files", writes the 24 strips
/// of `image` (a 24-bit DIB, not freed) into it, then the world file, the
/// decoration images and the page at `path`. Shows its own messages, owned by
/// `owner`; true when the page was written.
bool ExportWebPage(HWND owner, HGLOBAL image, const char* path);

/// The rest of the web-page branch once the strips of `image` stand in the
/// companion folder: the world file, the decoration images and the page at
/// `path`, with their messages. True when the page was written.
bool WritePageForStrips(HWND owner, HGLOBAL image, const char* path);

}  // namespace vmd

#endif  // APP_EXPORT_WEB_EXPORT_H
