#ifndef APP_SHELL_MESSAGES_H
#define APP_SHELL_MESSAGES_H

#include <windows.h>

namespace vmd {

/// Broadcast by a starting copy to every top-level window. wParam: the new
/// copy's background window (or 0); lParam: 0. An older copy's background
/// window answers with kMsgEndCopy to that handle.
constexpr UINT kMsgNewCopy = WM_USER + 800;  // 0x720
/// Sent to a background window: its process ends at once with exit code 1.
constexpr UINT kMsgEndCopy = WM_USER + 801;  // 0x721

/// Private messages of the main window (sent by the program's other windows).
/// wParam: an acquired 24-bit DIB for the photo browser; lParam: 0.
constexpr UINT kMsgAcquiredImage = WM_USER;
/// A storyboard photo was double-clicked. wParam: its DIB; lParam: the slot.
constexpr UINT kMsgEditStoryboardPhoto = WM_USER + 6;
/// A skinned pop-up list reports a choice. wParam: MAKEWPARAM(entry, 1);
/// lParam: the list (1000 and 1003 albums, 1001 lenses, 1002 print templates).
constexpr UINT kMsgListChoice = WM_USER + 100;
/// A skinned pop-up list has closed. wParam: 0; lParam: the list.
constexpr UINT kMsgListClosed = WM_USER + 101;
/// The entry chosen in an album list. wParam: the entry; lParam: 0.
constexpr UINT kMsgAlbumChosen = WM_USER + 103;
/// The entry chosen in the lens list. wParam: the entry; lParam: 0.
constexpr UINT kMsgLensChosen = WM_USER + 104;
/// The entry chosen in the print template list. wParam: the entry; lParam: 0.
constexpr UINT kMsgTemplateChosen = WM_USER + 105;
/// The full-screen view has closed. wParam, lParam: 0.
constexpr UINT kMsgFullViewClosed = WM_USER + 501;
/// The panorama viewer has closed. wParam, lParam: 0.
constexpr UINT kMsgViewerClosed = WM_USER + 502;

/// Main window commands (WM_COMMAND ids).
constexpr WORD kCmdClose = 40007;         ///< Alt+F4: close the main window
constexpr WORD kCmdHelpContents = 40012;  ///< F1
constexpr WORD kCmdHelpContext = 40013;   ///< context menu "Help"
constexpr WORD kCmdAcquire = 40050;       ///< acquire from the TWAIN source
constexpr WORD kCmdAcquireNamed = 40051;  ///< lParam: source name, or 0 for StiDeviceNAME

/// Window classes and titles.
constexpr const char* kMainWindowClass = "Vistameld Window";
constexpr const char* kBackgroundWindowClass = "Vistameld background";
constexpr const char* kWindowTitle = "Vistameld 3.0";

}  // namespace vmd

#endif  // APP_SHELL_MESSAGES_H
