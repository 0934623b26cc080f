#ifndef APP_SHELL_MAIN_WINDOW_H
#define APP_SHELL_MAIN_WINDOW_H

#include <windows.h>

#include "window_layout.h"

namespace vmd {

/// Registers "Vistameld Window" (CS_HREDRAW | CS_VREDRAW, 8 class and 8
/// window extra bytes, icon 102, arrow cursor, no background brush, no menu).
bool RegisterMainWindowClass(HINSTANCE instance);

/// Creates the main window at the layout's place, owned by `background` (or
/// without one, then without SC_MOVE in its system menu). nullptr when its
/// creation refused the display or failed.
HWND CreateMainWindow(HINSTANCE instance, const WindowLayout& layout, HWND background);

}  // namespace vmd

#endif  // APP_SHELL_MAIN_WINDOW_H
