#ifndef APP_SHELL_BACKGROUND_WINDOW_H
#define APP_SHELL_BACKGROUND_WINDOW_H

#include <windows.h>

#include "window_layout.h"

namespace vmd {

/// Creates the full-screen black "Vistameld background" window (registering
/// its class on first use) at (0, 0) with the layout's screen size, without
/// SC_MOVE in its system menu. nullptr on failure.
HWND CreateBackgroundWindow(HINSTANCE instance, const WindowLayout& layout);

/// Announces a starting copy (kMsgNewCopy, wParam = its background window or
/// nullptr) to the background window of every other running copy. Sent window
/// by window rather than through HWND_BROADCAST: the system does not broadcast
/// messages of the WM_USER range.
void AnnounceNewCopy(HWND background);

}  // namespace vmd

#endif  // APP_SHELL_BACKGROUND_WINDOW_H
