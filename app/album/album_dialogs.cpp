#include "album_dialogs.h"

#include <cstdio>
#include <ctime>

#include "album_registry.h"
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

INT_PTR CALLBACK PropertiesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* photo = reinterpret_cast<const PhotoProperties*>(lParam);
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_LOCATION, photo->location.c_str());
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_NAME, photo->name.c_str());
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_TYPE, photo->type.c_str());
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_SIZE, PropertySizeText(photo->size).c_str());
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_DATE, PropertyTimeText(photo->time).c_str());
      SetDlgItemTextA(dialog, VMDRES_IDC_PROP_IMAGE_SIZE,
                      PropertyImageText(photo->width, photo->height, photo->bits).c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

constexpr UINT kMsgAlbumExists = 50149;  // "This Album already exists!"

struct TitleAsk {
  std::string proposed;
  std::string title;
};

INT_PTR CALLBACK TitleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const auto* ask = reinterpret_cast<const TitleAsk*>(lParam);
      SendDlgItemMessageA(dialog, VMDRES_IDC_ALBUM_TITLE, EM_LIMITTEXT, kAlbumTitleMax, 0);
      SetDlgItemTextA(dialog, VMDRES_IDC_ALBUM_TITLE, ask->proposed.c_str());
      HWND edit = GetDlgItem(dialog, VMDRES_IDC_ALBUM_TITLE);
      SendMessageA(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* ask = reinterpret_cast<TitleAsk*>(GetWindowLongPtrA(dialog, DWLP_USER));
        char typed[kAlbumTitleMax + 2] = {};
        GetDlgItemTextA(dialog, VMDRES_IDC_ALBUM_TITLE, typed, sizeof typed);
        const AlbumTitleCheck check = CheckNewAlbumTitle(Albums(), typed, &ask->title);
        if (check == AlbumTitleCheck::kFine) {
          EndDialog(dialog, 1);
          return TRUE;
        }
        if (check == AlbumTitleCheck::kEmpty) {
          MessageBeep(0);
        } else {
          MessageBoxA(dialog, LoadUiString(kMsgAlbumExists).c_str(), LoadUiString(kStringWarning).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        }
        HWND edit = GetDlgItem(dialog, VMDRES_IDC_ALBUM_TITLE);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
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

constexpr int kPropertiesDialog = 804;
constexpr int kDeleteDialog = 198;
constexpr int kSortDialog = 203;

}  // namespace

DeleteChoice AskDeleteOptions(HWND owner) {
  const INT_PTR result =
      DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(kDeleteDialog), owner, DeleteProc, 0);
  if (result <= 0) return DeleteChoice::kCancel;
  return static_cast<DeleteChoice>(result);
}

bool AskAlbumTitle(HWND owner, const std::string& proposed, std::string* title) {
  TitleAsk ask;
  ask.proposed = proposed;
  if (DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_DLG_ALBUM_TITLE), owner, TitleProc,
                      reinterpret_cast<LPARAM>(&ask)) != 1)
    return false;
  *title = ask.title;
  return true;
}

void ShowPhotoProperties(HWND owner, const PhotoProperties& photo) {
  DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(kPropertiesDialog), owner, PropertiesProc,
                  reinterpret_cast<LPARAM>(&photo));
}

std::string PropertySizeText(unsigned bytes) {
  std::string digits = std::to_string(bytes);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits + " bytes";
}

std::string PropertyTimeText(unsigned seconds) {
  const time_t when = static_cast<time_t>(seconds);
  const struct tm* local = localtime(&when);
  if (local == nullptr) return std::string();
  char text[32];
  strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
  return text;
}

std::string PropertyImageText(int width, int height, int bits) {
  char text[96];
  snprintf(text, sizeof text, "Image Size: %d x %d pixels, %d bits", width, height, bits);
  return text;
}

bool AskSortOrder(HWND owner, AlbumSortBy* by, bool* reverse) {
  const INT_PTR result = DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(kSortDialog), owner, SortProc, 0);
  if (result <= 0) return false;
  *by = static_cast<AlbumSortBy>((result - 1) & 15);
  *reverse = (result & 16) != 0;
  return true;
}

}  // namespace vmd
