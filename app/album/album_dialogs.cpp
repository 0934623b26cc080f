#include "album_dialogs.h"

#include "app_state.h"
#include "vmdres_ids.h"

namespace vmd {

namespace {

INT_PTR CALLBACK DeleteProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CheckRadioButton(dialog, VMDRES_IDC_DELETE_THUMBS, VMDRES_IDC_DELETE_FILES, VMDRES_IDC_DELETE_THUMBS);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const bool files = IsDlgButtonChecked(dialog, VMDRES_IDC_DELETE_FILES) == BST_CHECKED;
        EndDialog(dialog, static_cast<INT_PTR>(files ? DeleteChoice::kThumbnailsAndFiles : DeleteChoice::kThumbnails));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, static_cast<INT_PTR>(DeleteChoice::kCancel));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// The dialog's result: 0 for Cancel, else 1 + the key, plus 16 for reverse.
INT_PTR CALLBACK SortProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CheckRadioButton(dialog, VMDRES_IDC_SORT_NAME, VMDRES_IDC_SORT_DATE, VMDRES_IDC_SORT_NAME);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        int key = 0;
        for (int id = VMDRES_IDC_SORT_NAME; id <= VMDRES_IDC_SORT_DATE; ++id)
          if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) key = id - VMDRES_IDC_SORT_NAME;
        const bool reverse = IsDlgButtonChecked(dialog, VMDRES_IDC_SORT_REVERSE) == BST_CHECKED;
        EndDialog(dialog, 1 + key + (reverse ? 16 : 0));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

constexpr int kDeleteDialog = 198;
constexpr int kSortDialog = 203;

}  // namespace

DeleteChoice AskDeleteOptions(HWND owner) {
  const INT_PTR result =
      DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(kDeleteDialog), owner, DeleteProc, 0);
  if (result <= 0) return DeleteChoice::kCancel;
  return static_cast<DeleteChoice>(result);
}

bool AskSortOrder(HWND owner, AlbumSortBy* by, bool* reverse) {
  const INT_PTR result = DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(kSortDialog), owner, SortProc, 0);
  if (result <= 0) return false;
  *by = static_cast<AlbumSortBy>((result - 1) & 15);
  *reverse = (result & 16) != 0;
  return true;
}

}  // namespace vmd
