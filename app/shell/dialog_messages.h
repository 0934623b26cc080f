#ifndef APP_SHELL_DIALOG_MESSAGES_H
#define APP_SHELL_DIALOG_MESSAGES_H

#include <windows.h>

namespace vmd {

/// The one modeless window that the message loop offers the keyboard
/// messages of itself and its children first, as a dialog's (IsDialogMessage):
/// the album window while a storyboard screen shows it. Enter and Escape
/// then reach it as the commands IDOK and IDCANCEL. A second window set
/// takes the place of the first; clearing names the window that goes, so
/// that a late clear of an old window leaves a newer one in place.
void SetDialogMessageWindow(HWND window);
void ClearDialogMessageWindow(HWND window);

/// For the message loop: true when the window took the message (it is then
/// translated and dispatched already). Only while that window is visible and
/// enabled.
bool OfferDialogMessage(MSG* message);

}  // namespace vmd

#endif  // APP_SHELL_DIALOG_MESSAGES_H
