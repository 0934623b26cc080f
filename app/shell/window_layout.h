#ifndef APP_SHELL_WINDOW_LAYOUT_H
#define APP_SHELL_WINDOW_LAYOUT_H

namespace vmd {

/// Where the two top-level windows go, decided from the size switch and the
/// screen. Pixels, screen coordinates.
struct WindowLayout {
  int sizeIndex = 0;      ///< 0 = 800 x 600, 1 = 640 x 480
  int width = 800;        ///< main window
  int height = 600;
  int screenWidth = 0;    ///< the screen as the layout sees it
  int screenHeight = 0;
  bool hasBackground = true;  ///< the full-screen black window under the main one
  int mainX = 0;
  int mainY = 0;
};

/// FOR_640 non-zero picks the small size, and then its size also stands for
/// the screen; values above 1 are taken as 1, negative ones as 0. Otherwise
/// the size follows the real screen (800 x 600 when at least that large).
/// No background window when the screen is smaller than the window in both
/// directions; the main window is centred ((screen - size) >> 1).
WindowLayout ChooseWindowLayout(int for640, int screenWidth, int screenHeight);

/// The display check of main window creation: refused when the desktop is
/// narrower than 800 pixels or the device has a palette (NUMCOLORS > 0).
bool DisplayAccepted(int desktopWidth, int deviceColours);

}  // namespace vmd

#endif  // APP_SHELL_WINDOW_LAYOUT_H
