#ifndef APP_SHELL_CONTROL_SERVICES_H
#define APP_SHELL_CONTROL_SERVICES_H

#include <windows.h>

namespace vmd {

/// The main window's control panel services, for every screen's handlers.
/// Each is given a control id of the screen shown; ids not on it are ignored.

/// Shows screen n of the screen table; the panel redraws what differs.
bool SwitchScreen(int screen);
/// Draws a DIB (not owned, kept until replaced or cleared with nullptr) fitted
/// into the placeholder control's place.
void ShowImageInArea(int controlId, HGLOBAL dib);
/// The control's place in the main window's client area, right and bottom
/// inclusive. False when the control is not on the screen.
bool ControlRect(int controlId, RECT* rect);
void EnableControl(int controlId);
void DisableControl(int controlId);
void SetControlChecked(int controlId, bool checked);
void ShowControl(int controlId, bool show);
/// The live state (0 normal, 1 checked, 2 disabled), -1 when not shown.
int ControlState(int controlId);
/// Moves a slider's thumb to `value` (0..100).
void SetSliderValue(int thumbId, int value);

}  // namespace vmd

#endif  // APP_SHELL_CONTROL_SERVICES_H
