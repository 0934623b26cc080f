#ifndef APP_PRINT_PRINT_CONTROLS_H
#define APP_PRINT_PRINT_CONTROLS_H

namespace vmd {

/// Control panel services of the main window's skinned controls, by control
/// id: the control is drawn enabled (state 0) or disabled (state 2). Defined
/// by the main window's control panel, which declares them as well; this
/// header goes once the print screen can include the panel's own.
void EnableControl(int id);
void DisableControl(int id);

}  // namespace vmd

#endif  // APP_PRINT_PRINT_CONTROLS_H
