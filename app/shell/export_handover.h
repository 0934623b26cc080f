#ifndef APP_SHELL_EXPORT_HANDOVER_H
#define APP_SHELL_EXPORT_HANDOVER_H

/// Where the Export command hands over to the two export writers. The writers
/// replace export_handover.cpp, which holds stand-ins that make nothing.

#include <windows.h>

#include <string>

namespace vmd {

/// The panorama movie writer: turns the bitmap at bitmapPath (the image turned
/// by 270 degrees; the path upper-cased) into the movie at moviePath. True
/// when the movie was written.
bool WritePanoramaMovie(HWND owner, const std::string& bitmapPath, const std::string& moviePath);

/// The web page writer: writes the page at pagePath for `stripCount` strips
/// already written as "stripFolder\i.jpg" from `image`. True when written.
bool WriteWebPage(HWND owner, const std::string& pagePath, const std::string& stripFolder,
                  int stripCount, HGLOBAL image);

}  // namespace vmd

#endif  // APP_SHELL_EXPORT_HANDOVER_H
