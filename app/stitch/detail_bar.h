#ifndef APP_STITCH_DETAIL_BAR_H
#define APP_STITCH_DETAIL_BAR_H

/// The look of the detail view's control bar: three buttons (zoom in, zoom
/// out, close) drawn with plain GDI. The window (detail_view.cpp) asks only
/// these two functions, so a skinned bar can take their place.

#include <windows.h>

namespace vmd {

enum DetailBarButton { kBarNone = -1, kBarZoomIn = 0, kBarZoomOut = 1, kBarClose = 2 };

/// The button under a point of the bar's client area (222 x 67).
DetailBarButton DetailBarButtonAt(POINT point);
/// Paints the bar; `pressed` is drawn pushed in, `disabled` flags (1 << button)
/// greyed.
void PaintDetailBar(HDC dc, const RECT& client, DetailBarButton pressed, unsigned disabled);

}  // namespace vmd

#endif  // APP_STITCH_DETAIL_BAR_H
