#ifndef APP_SHELL_IMAGE_MESSAGES_H
#define APP_SHELL_IMAGE_MESSAGES_H

#include <windows.h>

#include <string>

namespace vmd {

/// A string of the shared resource file "Res_Zel.DLL" (loaded for the call);
/// empty when the file or the string is missing.
std::string LoadSharedString(UINT id);

/// A message of vmdres (by string id) titled "Warning" with an OK button.
void ShowImageWarning(HWND owner, UINT textId);
/// A message made by the program (a save too big for its type) titled "Warning".
void ShowTextWarning(HWND owner, const std::string& text);
/// A message of "Res_Zel.DLL" (by string id) titled "Warning" with an OK button.
void ShowSharedWarning(HWND owner, UINT textId);
/// "Do you want to save the image?" with Yes, No and Cancel: IDYES, IDNO or IDCANCEL.
int AskSaveImage(HWND owner);

}  // namespace vmd

#endif  // APP_SHELL_IMAGE_MESSAGES_H
