#ifndef APP_SKIN_ZOOM_BAR_WINDOW_H
#define APP_SKIN_ZOOM_BAR_WINDOW_H

// The skinned bar of the full-screen views (the detail view and the panorama
// viewer): zoom in, zoom out and close over a background image, each button
// cut from a strip of faces (normal, down, disabled). Without usable images
// the bar is drawn plainly.

#include <windows.h>

#include "ui_image_layout.h"

namespace vmd {

/// The bar's buttons; a click on button b sends its owner WM_COMMAND with the
/// id b + 1 (lParam: the bar).
constexpr WORD kZoomBarZoomIn = 1;
constexpr WORD kZoomBarZoomOut = 2;
constexpr WORD kZoomBarClose = 3;

/// Disabled flags for SetZoomBarDisabled.
constexpr unsigned kZoomInOff = 1u << 0;
constexpr unsigned kZoomOutOff = 1u << 1;

/// Creates a bar of window class `className`, a pop-up owned by `owner` at the
/// bottom centre of a screen of screenWidth x screenHeight, not yet shown.
/// It takes `background` and `strip` (DIBs in movable blocks, either may be
/// null) and frees them. Show it with SW_SHOWNOACTIVATE: clicks never make
/// it the active window, the owner keeps the keyboard (keys that reach the bar
/// anyway go on to the owner as WM_KEYDOWN). On a display change the bar moves
/// to the new bottom centre.
/// Null on failure.
HWND CreateZoomBar(const char* className, const ButtonBarLayout& layout, HWND owner,
                   int screenWidth, int screenHeight, HGLOBAL background, HGLOBAL strip);

/// Which zoom buttons are disabled (kZoomInOff, kZoomOutOff); repaints.
void SetZoomBarDisabled(HWND bar, unsigned disabled);

}  // namespace vmd

#endif  // APP_SKIN_ZOOM_BAR_WINDOW_H
