#ifndef APP_VIEWER_PANO_BAR_H
#define APP_VIEWER_PANO_BAR_H

#include <windows.h>

namespace vmd {

/// Bar size and place: centred at the bottom of the screen.
constexpr int kBarWidth = 222;
constexpr int kBarHeight = 67;

/// Commands the bar sends its owner (the viewer) as WM_COMMAND.
constexpr WORD kBarZoomIn = 1;
constexpr WORD kBarZoomOut = 2;
constexpr WORD kBarClose = 3;

/// Creates the "DetailWindowPano" bar owned by `viewer`, at the bottom centre
/// of a screen of `screenWidth` x `screenHeight`. `zoomInState` and
/// `zoomOutState` point at the viewer's button states (0 enabled, 2 disabled),
/// read whenever the bar paints. Null on failure.
HWND CreatePanoBar(HWND viewer, int screenWidth, int screenHeight, const int* zoomInState,
                   const int* zoomOutState);

}  // namespace vmd

#endif  // APP_VIEWER_PANO_BAR_H
