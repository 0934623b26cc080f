#include "file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "app_state.h"
#include "image_file_rules.h"
#include "image_files.h"
#include "image_messages.h"
#include "pixio.h"
#include "settings.h"
#include "vmdres_ids.h"

namespace vmd {

ImageDialogState g_imageDialogs;

namespace {

constexpr UINT kOpenTitle = 2501;
constexpr UINT kSaveTitle = 2502;
constexpr UINT kOpenFilter = 2505;
constexpr UINT kOpenFilterNoGif = 2503;
constexpr UINT kSaveFilter = 2506;
constexpr UINT kSaveFilterNoGif = 2504;
constexpr UINT kQualityLabel = 2304;
constexpr UINT kExportTitle = 50078;
constexpr UINT kFileNameRefused = 11001;
constexpr UINT kPhotoCdTypes = 52380;        // two strings
constexpr UINT kPhotoCdResolutions = 52382;  // five strings
constexpr char kExportFilter[] = "QuickTime Movies (*.mov)\0*.mov\0HTML files (*.htm)\0*.htm\0";
constexpr size_t kPathBytes = 260;

/// Which dialog the shared hook serves, and what it showed last.
struct HookState {
  bool saveDialog = false;
  bool noGif = false;
  int lastQuality = 75;
};
HookState g_hook;

/// A filter string of vmdres with its parts separated by NULs, ended by two.
std::string FilterString(UINT id) {
  std::string filter = LoadUiString(id);
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}

void CentreOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void ShowQuality(HWND hook, int quality) {
  HWND bar = GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY);
  SetScrollPos(bar, SB_CTL, quality, TRUE);
  std::string text = QualityText(LoadUiString(kQualityLabel), quality);
  SetDlgItemTextA(hook, VMDRES_IDC_SAVE_QUALITY_LABEL, text.c_str());
  g_hook.lastQuality = quality;
}

/// Shows what the chosen type offers: the compression box, or the quality.
void ApplyTypeChoice(HWND hook, int filterIndex, bool starting) {
  int type = FullListType(filterIndex, g_hook.noGif);
  ExtensionChoice choice = ChooseExtension(type, g_hook.saveDialog, g_hook.noGif);
  ShowWindow(GetDlgItem(hook, VMDRES_IDC_SAVE_COMPRESS), choice.showCompress ? SW_SHOW : SW_HIDE);
  if (choice.showCompress)
    CheckDlgButton(hook, VMDRES_IDC_SAVE_COMPRESS, ImgGetCompressMode() ? BST_CHECKED : BST_UNCHECKED);
  int show = choice.showQuality ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY), show);
  ShowWindow(GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY_LABEL), show);
  if (choice.showQuality) {
    int slider = GetScrollPos(GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY), SB_CTL);
    ShowQuality(hook, starting ? ImgGetJpgQuality() : SliderQuality(slider, g_hook.lastQuality));
  }
  if (g_hook.saveDialog && !starting) {
    std::string ext = DefaultExtensionOf(type);
    if (!ext.empty())
      SendMessageA(GetParent(hook), CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(ext.c_str()));
  }
}

void OnFileOk(HWND hook, const OPENFILENAMEA* ofn) {
  if (!g_hook.saveDialog) {
    g_imageDialogs.openFilterIndex = static_cast<int>(ofn->nFilterIndex);
    return;
  }
  int type = FullListType(static_cast<int>(ofn->nFilterIndex), g_hook.noGif);
  int mode = CompressModeOnOk(type, IsDlgButtonChecked(hook, VMDRES_IDC_SAVE_COMPRESS) == BST_CHECKED,
                              g_hook.noGif);
  if (mode >= 0) ImgSetCompressMode(mode);
  if (ChooseExtension(type, true, g_hook.noGif).showQuality)
    ImgSetJpgQuality(GetScrollPos(GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY), SB_CTL));
}

UINT_PTR CALLBACK ImageDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
      SetScrollRange(GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY), SB_CTL, 1, 100, FALSE);
      ApplyTypeChoice(hook, static_cast<int>(ofn->nFilterIndex), true);
      return TRUE;
    }
    case WM_HSCROLL: {
      HWND bar = GetDlgItem(hook, VMDRES_IDC_SAVE_QUALITY);
      if (reinterpret_cast<HWND>(lParam) != bar) break;
      int quality = QualityAfterScroll(GetScrollPos(bar, SB_CTL), LOWORD(wParam), HIWORD(wParam));
      ShowQuality(hook, quality);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
      switch (note->hdr.code) {
        case CDN_INITDONE:
          CentreOnScreen(GetParent(hook));
          break;
        case CDN_TYPECHANGE:
          ApplyTypeChoice(hook, static_cast<int>(note->lpOFN->nFilterIndex), false);
          break;
        case CDN_FILEOK:
          OnFileOk(hook, note->lpOFN);
          break;
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

UINT_PTR CALLBACK CentringHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (note->hdr.code == CDN_INITDONE) CentreOnScreen(GetParent(hook));
    if (note->hdr.code == CDN_TYPECHANGE) {
      const char* ext = note->lpOFN->nFilterIndex == 2 ? "HTM" : "MOV";
      SendMessageA(GetParent(hook), CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(ext));
    }
  }
  return 0;
}

void LowerCase(std::vector<char>* buffer) {
  for (char& c : *buffer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

/// The name refused by the dialog itself (too long for the buffer, invalid).
void ReportRefusedName(HWND owner) {
  DWORD error = CommDlgExtendedError();
  if (error == FNERR_BUFFERTOOSMALL || error == FNERR_INVALIDFILENAME) ShowSharedWarning(owner, kFileNameRefused);
}

/// The selection buffer up to its double NUL.
std::string SelectionOf(const std::vector<char>& buffer) {
  size_t end = 0;
  while (end + 1 < buffer.size() && !(buffer[end] == '\0' && buffer[end + 1] == '\0')) ++end;
  return std::string(buffer.data(), std::min(end + 2, buffer.size()));
}

}  // namespace

bool ShowOpenImageDialog(HWND owner, const std::string& folder, int maxFiles, std::string* selection) {
  maxFiles = std::max(maxFiles, 1);
  std::vector<char> buffer(kPathBytes * maxFiles, '\0');
  std::string filter = FilterString(NoGif() ? kOpenFilterNoGif : kOpenFilter);
  std::string title = LoadUiString(kOpenTitle);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = g_app.resourceModule;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(g_imageDialogs.openFilterIndex);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (maxFiles > 1) ofn.Flags |= OFN_ALLOWMULTISELECT;
  ofn.lpTemplateName = MAKEINTRESOURCEA(VMDRES_DLG_SAVE_EXTENSION);
  ofn.lpfnHook = ImageDialogHook;
  g_hook.saveDialog = false;
  g_hook.noGif = NoGif();
  if (!GetOpenFileNameA(&ofn)) {
    ReportRefusedName(owner);
    return false;
  }
  LowerCase(&buffer);
  *selection = SelectionOf(buffer);
  return true;
}

bool ShowSaveImageDialog(HWND owner, const std::string& folder, std::string* path) {
  std::vector<char> buffer(kPathBytes, '\0');
  bool noGif = NoGif();
  std::string filter = FilterString(noGif ? kSaveFilterNoGif : kSaveFilter);
  std::string title = LoadUiString(kSaveTitle);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = g_app.resourceModule;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(JpegFilterIndex(noGif));
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "JPG";
  ofn.Flags = OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  ofn.lpTemplateName = MAKEINTRESOURCEA(VMDRES_DLG_SAVE_EXTENSION);
  ofn.lpfnHook = ImageDialogHook;
  g_hook.saveDialog = true;
  g_hook.noGif = noGif;
  if (!GetSaveFileNameA(&ofn)) {
    ReportRefusedName(owner);
    return false;
  }
  *path = buffer.data();
  return true;
}

bool ShowExportDialog(HWND owner, const std::string& folder, std::string* path) {
  std::vector<char> buffer(kPathBytes, '\0');
  std::string title = LoadUiString(kExportTitle);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kExportFilter;
  ofn.nFilterIndex = static_cast<DWORD>(g_imageDialogs.exportType);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = g_imageDialogs.exportType == 2 ? "HTM" : "MOV";
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  ofn.lpfnHook = CentringHook;
  if (!GetSaveFileNameA(&ofn)) {
    ReportRefusedName(owner);
    return false;
  }
  *path = buffer.data();
  return true;
}

namespace {

void FillCombo(HWND dialog, int id, UINT firstString, int count, int selected) {
  for (int i = 0; i < count; ++i) {
    std::string text = LoadUiString(firstString + i);
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

INT_PTR CALLBACK PhotoCdProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FillCombo(dialog, VMDRES_IDC_PCD_TYPE, kPhotoCdTypes, 2, g_imageDialogs.photoCdDataType);
      FillCombo(dialog, VMDRES_IDC_PCD_RESOLUTION, kPhotoCdResolutions, 5, g_imageDialogs.photoCdResolution);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        LRESULT type = SendDlgItemMessageA(dialog, VMDRES_IDC_PCD_TYPE, CB_GETCURSEL, 0, 0);
        LRESULT resolution = SendDlgItemMessageA(dialog, VMDRES_IDC_PCD_RESOLUTION, CB_GETCURSEL, 0, 0);
        if (type >= 0) g_imageDialogs.photoCdDataType = static_cast<int>(type);
        if (resolution >= 0) g_imageDialogs.photoCdResolution = static_cast<int>(resolution);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

HGLOBAL LoadPhotoCd(HWND owner, const char* path, int* dialogResult) {
  INT_PTR answer = DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_DLG_PHOTO_CD), owner,
                                   PhotoCdProc, 0);
  int result = answer == -1 || g_app.resourceModule == nullptr ? -1 : static_cast<int>(answer);
  if (dialogResult != nullptr) *dialogResult = result;
  if (result != 1) return nullptr;
  return TakeAs24(PxLoadPcdFile(path, g_imageDialogs.photoCdDataType, g_imageDialogs.photoCdResolution, 0),
                  nullptr);
}

}  // namespace vmd
