#ifndef APP_STITCH_RESULT_VIEW_H
#define APP_STITCH_RESULT_VIEW_H

#include <windows.h>

namespace vmd {

/// Creates the result view ("StitchView Window") over `rect` of `parent`
/// (inclusive: width right - left + 1), replacing one that exists, showing
/// `image` (not owned: the main window keeps its current image).
HWND ShowResultView(HWND parent, const RECT& rect, HGLOBAL image);
/// Sends the result view WM_CLOSE.
void CloseResultView();

}  // namespace vmd

#endif  // APP_STITCH_RESULT_VIEW_H
