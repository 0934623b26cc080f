#ifndef APP_SKIN_TOOLTIP_WINDOW_H
#define APP_SKIN_TOOLTIP_WINDOW_H

#include <windows.h>

#include <string>

#include "control_panel.h"

namespace vmd {

/// The skinned tool-tip pop-up ("Vistameld ToolTip"): one per owner window,
/// never activated, drawn in the toolkit font.
HWND CreateToolTipWindow(HWND owner, const ToolkitFont& font);
/// Shows `text` with the tip's top-left corner at (x, y) in screen coordinates,
/// kept on the screen.
void ShowToolTip(HWND tip, const std::string& text, int x, int y);
void HideToolTip(HWND tip);

}  // namespace vmd

#endif  // APP_SKIN_TOOLTIP_WINDOW_H
