#ifndef APP_SHELL_BACKGROUND_WINDOW_H
#define APP_SHELL_BACKGROUND_WINDOW_H

#include <windows.h>

#include "window_layout.h"

namespace vmd {

/// Creates the full-screen black "Vistameld background" window (registering
/// its class on first use) at (0, 0) with the layout's screen size, without
/// SC_MOVE in its system menu. nullptr on failure.
HWND CreateBackgroundWindow(HINSTANCE instance, const WindowLayout& layout);

}  // namespace vmd

#endif  // APP_SHELL_BACKGROUND_WINDOW_H
