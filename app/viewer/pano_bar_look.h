#ifndef APP_VIEWER_PANO_BAR_LOOK_H
#define APP_VIEWER_PANO_BAR_LOOK_H

#include <windows.h>

namespace vmd {

/// How the viewer's bar looks: plain drawing until the skinned toolkit draws
/// it from the skin's images; the bar window only asks these.
enum class BarButtonKind { kZoomIn, kZoomOut, kClose };

/// The button's rectangle in the bar's client area.
RECT BarButtonRect(BarButtonKind kind);

/// Paints the bar's background.
void DrawBarBackground(HDC dc, const RECT& client);

/// Paints one button: `state` 0 enabled, 2 disabled; `pressed` while the
/// mouse holds it down.
void DrawBarButton(HDC dc, BarButtonKind kind, int state, bool pressed);

}  // namespace vmd

#endif  // APP_VIEWER_PANO_BAR_LOOK_H
