#include "about_box.h"

#include <string>

#include "app_state.h"
#include "settings.h"
#include "unique_handle.h"
#include "vmdres_ids.h"

namespace vmd {

namespace {

constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMilliseconds = 2500;
constexpr COLORREF kBandColour = RGB(64, 62, 92);
constexpr COLORREF kPanelColour = RGB(201, 200, 213);
constexpr int kBandHeight = 80;  ///< pixels of the title band when its controls are missing

HWND g_splash = nullptr;

struct AboutFonts {
  UniqueFont title;
  UniqueBrush band;
  UniqueBrush panel;
  UniqueBrush white;
};

std::string LicenceText() {
  HRSRC found = FindResourceA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_LICENCES), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found != nullptr ? LoadResource(g_app.resourceModule, found) : nullptr;
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return std::string();
  return std::string(bytes, SizeofResource(g_app.resourceModule, found));
}

AboutFonts* FontsOf(HWND box) { return reinterpret_cast<AboutFonts*>(GetWindowLongPtrA(box, DWLP_USER)); }

void OnInit(HWND box, bool splash) {
  auto* fonts = new AboutFonts;
  const FontMetrics& metrics = g_app.fontMetrics;
  fonts->title.reset(CreateFontA(-26, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, static_cast<BYTE>(metrics.charSet),
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                                 metrics.faceName));
  fonts->band.reset(CreateSolidBrush(kBandColour));
  fonts->panel.reset(CreateSolidBrush(kPanelColour));
  fonts->white.reset(CreateSolidBrush(RGB(255, 255, 255)));
  SetWindowLongPtrA(box, DWLP_USER, reinterpret_cast<LONG_PTR>(fonts));
  SendDlgItemMessageA(box, VMDRES_IDC_ABOUT_PRODUCT, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->title.get()), FALSE);
  SetDlgItemTextA(box, VMDRES_IDC_ABOUT_PRODUCT, "Vistameld 3.0");
  // A title for the task list and for tools that look for the box; the box
  // has no caption bar to show it.
  SetWindowTextA(box, "About Vistameld");
  const std::string version = "Version " + Settings().productVersion;
  SetDlgItemTextA(box, VMDRES_IDC_ABOUT_VERSION, version.c_str());
  SetDlgItemTextA(box, VMDRES_IDC_ABOUT_LICENCES, LicenceText().c_str());
  if (splash) {
    ShowWindow(GetDlgItem(box, IDOK), SW_HIDE);
    SetTimer(box, kSplashTimer, kSplashMilliseconds, nullptr);
  }
  // Centre on the main window (already placed while it is being created),
  // so that the box stays inside it in the small mode too.
  RECT rect;
  GetWindowRect(box, &rect);
  RECT over = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND owner = GetWindow(box, GW_OWNER);
  if (owner != nullptr) GetWindowRect(owner, &over);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  SetWindowPos(box, nullptr, over.left + (over.right - over.left - width) / 2,
               over.top + (over.bottom - over.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintBand(HWND box) {
  PaintDC paint(box);
  AboutFonts* fonts = FontsOf(box);
  if (fonts == nullptr) return;
  RECT client;
  GetClientRect(box, &client);
  // The band holds the product name and the version line.
  RECT band = client;
  band.bottom = kBandHeight;
  RECT version;
  RECT copyright;
  if (GetWindowRect(GetDlgItem(box, VMDRES_IDC_ABOUT_VERSION), &version) &&
      GetWindowRect(GetDlgItem(box, VMDRES_IDC_ABOUT_COPYRIGHT), &copyright)) {
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&version), 2);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&copyright), 2);
    band.bottom = (version.bottom + copyright.top) / 2;
  }
  FillRect(paint.get(), &band, fonts->band.get());
  RECT rest = client;
  rest.top = kBandHeight;
  FillRect(paint.get(), &rest, fonts->panel.get());
}

void EndBox(HWND box, bool splash) {
  if (splash) {
    DestroyWindow(box);
    return;
  }
  EndDialog(box, IDOK);
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool splash = box == g_splash || (message == WM_INITDIALOG && lParam == 1);
  switch (message) {
    case WM_INITDIALOG:
      OnInit(box, lParam == 1);
      if (lParam != 1) SetFocus(GetDlgItem(box, IDOK));
      return FALSE;
    case WM_CLOSE:
      EndBox(box, splash);
      return TRUE;
    case WM_PAINT:
      PaintBand(box);
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      AboutFonts* fonts = FontsOf(box);
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      SetBkMode(dc, TRANSPARENT);
      if (id == VMDRES_IDC_ABOUT_LICENCES) {
        SetTextColor(dc, RGB(32, 32, 44));
        return fonts != nullptr ? reinterpret_cast<INT_PTR>(fonts->white.get()) : FALSE;
      }
      const bool inBand = id == VMDRES_IDC_ABOUT_PRODUCT || id == VMDRES_IDC_ABOUT_VERSION;
      SetTextColor(dc, inBand ? RGB(255, 255, 255) : RGB(32, 32, 44));
      if (fonts == nullptr) return FALSE;
      return reinterpret_cast<INT_PTR>(inBand ? fonts->band.get() : fonts->panel.get());
    }
    case WM_TIMER:
      if (wParam == kSplashTimer) EndBox(box, true);
      return TRUE;
    case WM_LBUTTONDOWN:
      if (splash) EndBox(box, true);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndBox(box, splash);
      return TRUE;
    case WM_DESTROY:
      KillTimer(box, kSplashTimer);
      if (box == g_splash) g_splash = nullptr;
      delete FontsOf(box);
      SetWindowLongPtrA(box, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  if (g_splash != nullptr) DestroyWindow(g_splash);
  DialogBoxParamA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_DLG_ABOUT), owner, AboutProc, 0);
}

void ShowSplash(HWND owner) {
  if (g_splash != nullptr) return;
  g_splash = CreateDialogParamA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_DLG_ABOUT), owner, AboutProc, 1);
  if (g_splash != nullptr) ShowWindow(g_splash, SW_SHOWNOACTIVATE);
}

HWND SplashWindow() { return g_splash; }

}  // namespace vmd
