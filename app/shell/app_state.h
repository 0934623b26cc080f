#ifndef APP_SHELL_APP_STATE_H
#define APP_SHELL_APP_STATE_H

#include <windows.h>

#include <string>
#include <vector>

#include "panorama_kind.h"
#include "screen_table.h"
#include "seamcore.h"

namespace vmd {

class ControlPanel;

/// Font settings bound from vmdres at start-up; the start values stand where
/// the library lacks an export (and for every export after the first missing one).
struct FontMetrics {
  int charSet = 0;  ///< ANSI_CHARSET
  char faceName[32] = "Tahoma";
  char albumFaceName[32] = "Tahoma";
  int tipsPointSize = 13;
  int albumNameHeight = 11;
  int albumListHeight = 15;
  int hintHeight = 20;
  int popupHeight = 14;
  int printHeight = 20;
};


/// The one application-state record of the program, owned by the start-up
/// code and read by every part of the program.
struct AppState {
  HINSTANCE instance = nullptr;
  HMODULE resourceModule = nullptr;  ///< vmdres; owned, freed when the main window is destroyed
  HACCEL accelerators = nullptr;     ///< table 104 of vmdres
  HWND mainWindow = nullptr;         ///< "Vistameld Window"
  HWND backgroundWindow = nullptr;   ///< "Vistameld background", or none on a small screen
  HGLOBAL currentImage = nullptr;    ///< DIB shown on the Home screen; owned
  bool imageModified = false;        ///< unsaved work: asks before it is dropped
  bool editingSlot = false;
  int editedSlot = 0;
  PanoramaKind panoramaKind = PanoHorizontal;
  PanoramaKind previousPanoramaKind = PanoHorizontal;
  FontMetrics fontMetrics;
  bool qtvrPresent = false;
  int qtvrVersion = 0;
  std::string pendingAcquireSource;  ///< TWAIN source named by a still-image device; up to 511 bytes
  HWND fullViewWindows[2] = {nullptr, nullptr};
  HBRUSH mainBrush = nullptr;  ///< RGB(201, 200, 213); owned by the main window
  HBRUSH ctlBrush = nullptr;   ///< RGB(201, 200, 213); owned by the main window
  int currentScreen = 0;       ///< the screen shown by the main window (0 = Home)
  ControlPanel* controlPanel = nullptr;  ///< the skinned controls of the main window; owned by it
  ControlTable controlTable;             ///< the control definitions with their live states
  CancelKeys cancelKeys;  ///< Escape during a progress display; cleared by the next key
  StitchOptions stitchOptions = {};
  int sizeIndex = 0;                        ///< 0 = 800 x 600, 1 = 640 x 480
  std::vector<std::string> photoFileTypes;  ///< extensions the photo browser lists
};

/// The process-wide application state.
extern AppState g_app;

/// String ids the shell uses in several places.
constexpr UINT kStringWarning = 52388;       ///< "Warning": the caption of every message
constexpr UINT kStringSaveQuestion = 50027;  ///< "Do you want to save the image?"
/// The program's icon resource.
constexpr int kProgramIcon = 102;

/// Loads a string of vmdres into `buffer` (size in bytes); returns its length,
/// 0 when missing. Every user-visible text is loaded this way when used.
int LoadUiString(UINT id, char* buffer, int size);
std::string LoadUiString(UINT id);

/// Reads the skin image named by string `nameId` from the program's UI folder
/// (a DIB in a movable block the caller frees); null when the name or the
/// file is missing or unreadable.
HGLOBAL ReadUiImage(UINT nameId);

/// The start values of the stitch options given at main window creation.
StitchOptions StartStitchOptions();

/// The photo browser's file types: BMP, TIF, PCX, GIF, TGA, JPG, JPEG, FPX,
/// without GIF when `noGif` is set.
std::vector<std::string> PhotoFileTypes(bool noGif);

/// Window sizes by size index: 0 = 800 x 600, 1 = 640 x 480.
struct WindowSize {
  int width;
  int height;
};
constexpr WindowSize kWindowSizes[2] = {{800, 600}, {640, 480}};

}  // namespace vmd

#endif  // APP_SHELL_APP_STATE_H
