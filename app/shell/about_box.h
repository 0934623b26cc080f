#ifndef APP_SHELL_ABOUT_BOX_H
#define APP_SHELL_ABOUT_BOX_H

#include <windows.h>

namespace vmd {

/// The about box: the product name and version from the program's version
/// resource and the licences of the libraries it ships. ShowAboutBox is modal
/// (OK, Enter or Escape closes it); ShowSplash shows the same box without its
/// button for a moment at start-up, without taking the keyboard focus (a
/// click or any key in it closes it early).
void ShowAboutBox(HWND owner);
void ShowSplash(HWND owner);
/// The splash while it is shown, or nullptr.
HWND SplashWindow();

}  // namespace vmd

#endif  // APP_SHELL_ABOUT_BOX_H
