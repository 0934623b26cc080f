#include "main_window.h"

#include <string>

#include "app_state.h"
#include "folders.h"
#include "help.h"
#include "messages.h"
#include "settings.h"
#include "vmdres_ids.h"

namespace vmd {

namespace {

constexpr COLORREF kPanelColour = RGB(201, 200, 213);

void ShowWarning(HWND owner, UINT textId, UINT icon) {
  MessageBoxA(owner, LoadUiString(textId).c_str(), LoadUiString(52388).c_str(), MB_OK | icon);
}

BOOL OnCreate(HWND window) {
  LoadSettings();
  g_app.mainBrush = CreateSolidBrush(kPanelColour);
  g_app.ctlBrush = CreateSolidBrush(kPanelColour);
  HDC screen = GetDC(nullptr);
  int colours = GetDeviceCaps(screen, NUMCOLORS);
  ReleaseDC(nullptr, screen);
  if (!DisplayAccepted(GetSystemMetrics(SM_CXSCREEN), colours)) {
    ShowWarning(window, 50024, MB_ICONEXCLAMATION);
    SendMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  g_app.stitchOptions = StartStitchOptions();
  SetProgressState(0);
  g_app.currentScreen = 0;
  if (!g_app.pendingAcquireSource.empty())
    PostMessageA(window, WM_COMMAND, kCmdAcquireNamed,
                 reinterpret_cast<LPARAM>(g_app.pendingAcquireSource.c_str()));
  return TRUE;
}

/// The Home screen without its skinned controls: the panel colour, the image
/// area and the product name.
void PaintHome(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, g_app.mainBrush);
  RECT area = {24, 56, client.right - 24, client.bottom - 72};
  HBRUSH areaBrush = CreateSolidBrush(RGB(236, 236, 242));
  FillRect(dc, &area, areaBrush);
  DeleteObject(areaBrush);
  DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT);

  const FontMetrics& fonts = g_app.fontMetrics;
  HFONT title = CreateFontA(-fonts.hintHeight - 6, 0, 0, 0, FW_MEDIUM, FALSE, FALSE, FALSE,
                            static_cast<BYTE>(fonts.charSet), OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, fonts.faceName);
  HGDIOBJ old = SelectObject(dc, title);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(40, 40, 72));
  RECT caption = {24, 12, client.right - 24, 52};
  DrawTextA(dc, kWindowTitle, -1, &caption, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(title);
}

void OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (g_app.currentScreen == 0) PaintHome(window, dc);
  EndPaint(window, &ps);
}

void OnClose(HWND window) {
  if (g_app.imageModified) {
    for (HWND full : g_app.fullViewWindows)
      if (full != nullptr) EnableWindow(full, FALSE);
    int answer = MessageBoxA(window, LoadUiString(50027).c_str(), LoadUiString(52388).c_str(),
                             MB_YESNOCANCEL | MB_ICONQUESTION);
    for (HWND full : g_app.fullViewWindows)
      if (full != nullptr) EnableWindow(full, TRUE);
    if (answer == IDCANCEL) return;
    if (answer == IDYES) {
      // Saving arrives with the image commands; until then the work is kept
      // in the image and the question is asked again.
      return;
    }
  }
  DestroyWindow(window);
}

void OnDestroy() {
  if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
  g_app.currentImage = nullptr;
  if (g_app.mainBrush != nullptr) DeleteObject(g_app.mainBrush);
  if (g_app.ctlBrush != nullptr) DeleteObject(g_app.ctlBrush);
  g_app.mainBrush = g_app.ctlBrush = nullptr;
  if (g_app.resourceModule != nullptr) FreeLibrary(g_app.resourceModule);
  g_app.resourceModule = nullptr;
  if (g_app.backgroundWindow != nullptr) PostMessageA(g_app.backgroundWindow, WM_CLOSE, 0, 0);
  g_app.mainWindow = nullptr;
  PostQuitMessage(0);
}

void OnCommand(HWND window, WORD id) {
  switch (id) {
    case kCmdClose:
      SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case kCmdHelpContents:
      OpenHelp(window, HELP_CONTENTS, 0);
      break;
    case kCmdHelpContext:
      OpenHelp(window, HELP_CONTEXT, static_cast<ULONG_PTR>(HelpTopicOfScreen(g_app.currentScreen)));
      break;
    case kCmdAcquireNamed:
      // Acquisition accepts a named source only on a storyboard screen.
      if (g_app.currentScreen != 2 && g_app.currentScreen != 5 && g_app.currentScreen != 6)
        MessageBeep(MB_OK);
      g_app.pendingAcquireSource.clear();
      break;
    default:
      break;
  }
}

void OnKeyDown() {
  if (g_app.cancelPending) {
    g_app.cancelPending = false;
    SetProgressState(0);
  }
  // The screens' key maps arrive with their screens; Home has none yet.
}

void OnRightButtonDown(HWND window) {
  HMENU menu = LoadMenuA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_MENU_CONTEXT));
  if (menu == nullptr) return;
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
  DestroyMenu(menu);
}

LRESULT OnControlColour(HDC dc) {
  SetBkColor(dc, kPanelColour);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  return reinterpret_cast<LRESULT>(g_app.ctlBrush);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_app.mainWindow = window;
      OnCreate(window);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_CLOSE:
      OnClose(window);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_RBUTTONDOWN:
      OnRightButtonDown(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.cbClsExtra = 8;
  wc.cbWndExtra = 8;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(102));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const WindowLayout& layout, HWND background) {
  HWND window = CreateWindowExA(0, kMainWindowClass, kWindowTitle,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU, layout.mainX, layout.mainY,
                                layout.width, layout.height, background, nullptr, instance, nullptr);
  if (window == nullptr || !IsWindow(window)) return nullptr;
  if (background == nullptr) RemoveMenu(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND);
  return window;
}

}  // namespace vmd
