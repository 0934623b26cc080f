#ifndef APP_SHELL_FILE_DIALOGS_H
#define APP_SHELL_FILE_DIALOGS_H

/// The image dialogs: the common Open and Save dialogs extended by template
/// 21010 of vmdres (the JPEG quality scroll bar and the compression box, run
/// by one shared hook), the Export dialog, and the Photo CD options dialog.

#include <windows.h>

#include <string>

namespace vmd {

/// Choices of the image dialogs kept for the run (not stored).
struct ImageDialogState {
  int openFilterIndex = 1;    ///< 1-based, set on OK in an Open dialog
  int exportType = 1;         ///< 1 = movie, 2 = web page
  int photoCdDataType = 0;    ///< 0 = "24-bit RGB", 1 = "8-bit Grayscale"
  int photoCdResolution = 2;  ///< 0 .. 4, "Medium (512 by 768)" at start
};
extern ImageDialogState g_imageDialogs;

/// The Open dialog for up to maxFiles files starting in `folder`. On OK the
/// selection (lower-cased; a path, or a folder and names each ended by a NUL,
/// for NextSelectedFile) is stored in *selection and the result is true.
bool ShowOpenImageDialog(HWND owner, const std::string& folder, int maxFiles, std::string* selection);
/// The Save As dialog starting on the JPEG type; true with *path on OK. A
/// name the dialog refuses shows string 11001 of "Res_Zel.DLL".
bool ShowSaveImageDialog(HWND owner, const std::string& folder, std::string* path);
/// The Export Panorama dialog (movie or web page); true with *path on OK.
bool ShowExportDialog(HWND owner, const std::string& folder, std::string* path);

/// Asks for the Photo CD data type and resolution (dialog 94 of vmdres) and
/// loads the image as 24 bits (caller frees). *dialogResult: 1 for OK, 0 for
/// Cancel, -1 when the dialog could not be shown; null unless OK and loaded.
HGLOBAL LoadPhotoCd(HWND owner, const char* path, int* dialogResult);

}  // namespace vmd

#endif  // APP_SHELL_FILE_DIALOGS_H
