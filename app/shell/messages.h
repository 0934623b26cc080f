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
