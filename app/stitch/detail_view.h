#ifndef APP_STITCH_DETAIL_VIEW_H
#define APP_STITCH_DETAIL_VIEW_H

/// View Detail: the image over the whole screen ("MaxWindow") with a 222 x 67
/// control bar ("DetailWindow") at the bottom centre: zoom steps 1 to 20, pan
/// by dragging, Esc or the bar's close button to leave.

#include <windows.h>

#include "messages.h"

namespace vmd {


/// Opens the full view of `image` (not owned; it must live until the view
/// closes), owned by `owner`. Both windows go to g_app.fullViewWindows.
bool ShowDetailView(HWND owner, HGLOBAL image);
/// Closes the full view (as Esc does) when it is open.
void CloseDetailView();
/// The zoom step shown, 0 when the view is not open (tests).
int DetailViewStep();

}  // namespace vmd

#endif  // APP_STITCH_DETAIL_VIEW_H
