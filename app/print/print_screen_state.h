#ifndef APP_PRINT_PRINT_SCREEN_STATE_H
#define APP_PRINT_PRINT_SCREEN_STATE_H

#include <windows.h>

#include <string>
#include <vector>

#include "print_layout.h"

namespace vmd {

/// The Print screen while it is shown: its windows, the image and the print
/// settings. Owned by print_screen.cpp; the preview windows read it.
struct PrintScreenState {
  HWND main = nullptr;
  HWND background = nullptr;  ///< "Stitch Print Background Window", child of main
  HWND preview = nullptr;     ///< "Stitch Print Templetate Window", the page block
  HWND photo = nullptr;       ///< "Stitch Print Photo Window", the image on it
  HWND fields[3] = {};        ///< edit fields 100, 101, 102, children of main
  HGLOBAL image = nullptr;    ///< not owned
  std::string title;          ///< the image's name, the preview window's title
  PrintLayout layout;
  std::vector<std::string> templates;
  bool settingField = false;  ///< a field's text is being set by the program
};

/// Creates the page preview and the image window inside `background`,
/// filling `area` of it. False on failure.
bool CreatePrintPreview(PrintScreenState* state, const RECT& area);

/// Moves the image window to the image's place on the page block and
/// repaints the preview; after any change of arrangement or resolution.
void UpdatePrintPreview(PrintScreenState* state);

}  // namespace vmd

#endif  // APP_PRINT_PRINT_SCREEN_STATE_H
