#ifndef APP_SHELL_IMAGE_COMMANDS_H
#define APP_SHELL_IMAGE_COMMANDS_H

/// The Home screen's Open, Save and Export commands over the program's current
/// image (g_app.currentImage and imageModified), with their messages and the
/// JPEG quality's bookkeeping.

#include <windows.h>

#include <string>

namespace vmd {

/// The dialogs and messages the commands use; tests replace them.
struct ImageCommandUi {
  int (*askSave)(HWND owner);                 ///< IDYES, IDNO or IDCANCEL
  void (*warn)(HWND owner, UINT textId);      ///< a vmdres message titled "Warning"
  void (*warnShared)(HWND owner, UINT textId);  ///< a "Res_Zel.DLL" message
  void (*warnText)(HWND owner, const std::string& text);  ///< a message of its own, titled "Warning"
  bool (*openDialog)(HWND owner, const std::string& folder, std::string* path);
  bool (*saveDialog)(HWND owner, const std::string& folder, std::string* path);
  bool (*exportDialog)(HWND owner, const std::string& folder, std::string* path);
  HGLOBAL (*loadPhotoCd)(HWND owner, const char* path, int* dialogResult);
  bool (*noGif)();
};
/// The program's own dialogs and message boxes.
ImageCommandUi DefaultImageCommandUi();
void SetImageCommandUi(const ImageCommandUi& ui);

/// Open (Home control 5): asks to save unsaved work (Cancel stops), lets the
/// user pick a file, reads it and makes it the current image, shown in the Home
/// image area. True when a new image became current; on any failure the
/// current image stays.
bool OpenImageCommand(HWND owner);
/// Save (Home control 4, and Yes to the save question): true when the save
/// reached its end (imageModified cleared, whether or not the file could be
/// written); false when there is no image, the dialog was cancelled or the
/// type was refused (imageModified kept).
bool SaveImageCommand(HWND owner);
/// Export (Home control 111): every check, then the movie or the web page's
/// strips, handed over to their writers (export_handover.h).
void ExportImageCommand(HWND owner);

/// The JPEG quality's bookkeeping goes back to the start of a run (tests).
void ResetImageCommandState();

}  // namespace vmd

#endif  // APP_SHELL_IMAGE_COMMANDS_H
