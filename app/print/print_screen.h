#ifndef APP_PRINT_PRINT_SCREEN_H
#define APP_PRINT_PRINT_SCREEN_H

#include <windows.h>

#include <string>
#include <vector>

namespace vmd {

/// Control ids of the Print screen.
constexpr int kEditPagesAcross = 100;
constexpr int kEditPagesDown = 101;
constexpr int kEditCopies = 102;
constexpr int kResolutionSlider = 506;
constexpr int kCopyLess = 519;
constexpr int kCopyMore = 520;
/// The notification of the edit fields that the main window passes on.
constexpr WORD kEditTextChanged = 0x400;  // EN_UPDATE

/// Where the Print screen's parts go, in the main window's client coordinates.
struct PrintScreenPlaces {
  RECT background = {};   ///< the background window; the page preview fills it
  RECT pagesAcross = {};  ///< edit field 100
  RECT pagesDown = {};    ///< edit field 101
  RECT copies = {};       ///< edit field 102
};

/// Places inside `area` for a screen without skin rectangles: the preview on
/// the left, the three fields stacked on the right.
PrintScreenPlaces DefaultPrintScreenPlaces(const RECT& area);

/// The Home screen's Print command: nothing without an image; without a
/// printer "No printer installed." over `main`; otherwise the printer set-up
/// dialog. True when the user chose OK: the caller then shows screen 3 and
/// opens the Print screen.
bool PrintCommand(HWND main, HGLOBAL image);

/// Opens the Print screen's windows and fields on `image` (not owned; it must
/// live until the screen closes), laid out for the kept printer. `title` names
/// the image in the document name. False without a printer.
bool OpenPrintScreen(HWND main, const PrintScreenPlaces& places, HGLOBAL image,
                     const std::string& title);
bool OpenPrintScreen(HWND main, const RECT& area, HGLOBAL image);

/// Closes the Print screen's windows and fields; the settings are dropped.
void ClosePrintScreen();

/// True while the Print screen is open.
bool PrintScreenOpen();

/// The template list's entries, for the pop-up list 1002.
std::vector<std::string> PrintTemplates();

/// A template chosen in the pop-up list (WM_USER+105, wParam = entry).
void PrintTemplateChosen(int entry);

/// The resolution slider moved to `position` (0 to 99).
void PrintSliderMoved(int position);

/// Where the slider stands for the current resolution: 99 after every
/// change of the arrangement (the lowest resolution of its range).
int PrintSliderPosition();

/// Offers a main window WM_COMMAND to the edit fields; true when it was one
/// of theirs (ids 100 to 102 with notification 0x400) and was handled.
bool PrintEditCommand(WPARAM wParam, LPARAM lParam);

/// Copy buttons: 519 gives -1, 520 gives +1.
void PrintCopyButton(int id);

/// Setup printer: the printer set-up dialog; on OK the layout is rebuilt
/// for the chosen printer.
void PrintSetupCommand(HWND main);

/// Begin printing: prints the image as laid out. Nothing without a printer.
void PrintBeginCommand();

/// 2 while a print job runs, 1 after one, 0 before any.
int PrintingState();

}  // namespace vmd

#endif  // APP_PRINT_PRINT_SCREEN_H
