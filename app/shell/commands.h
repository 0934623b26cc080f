#ifndef APP_SHELL_COMMANDS_H
#define APP_SHELL_COMMANDS_H

#include <windows.h>

#include "screen_table.h"

namespace vmd {

/// Runs the handler of a control-definition row with the row's parameter
/// (the skinned panel calls this for every click).
void RunCommand(Command command, int32_t parameter, int controlId);
/// Runs what a key does on the current screen.
void RunKeyAction(KeyAction action);

/// Asks "Do you want to save the image?" when the current image holds unsaved
/// work. True when the work may be dropped now: there was none, the user
/// answered No, or answered Yes and the image was saved.
bool ConfirmDropImage(HWND owner);

/// Leaves the current screen for `screen`, letting the modules close and
/// open their windows.
void GoToScreen(int screen);

/// Home with the current image; the image commands enabled when there is one.
void GoHome();

/// Frees the current image and forgets unsaved work.
void DropCurrentImage();

}  // namespace vmd

#endif  // APP_SHELL_COMMANDS_H
