#include "main_window.h"

#include <windowsx.h>

#include <cstdio>
#include <string>

#include "about_box.h"
#include "app_state.h"
#include "commands.h"
#include "control_panel.h"
#include "control_services.h"
#include "folders.h"
#include "kind_screen.h"
#include "help.h"
#include "messages.h"
#include "module_hooks.h"
#include "pixio.h"
#include "popup_list_window.h"
#include "screen_table.h"
#include "settings.h"
#include "unique_handle.h"
#include "vmdres_ids.h"

namespace vmd {

namespace {

constexpr COLORREF kPanelColour = RGB(201, 200, 213);

void ShowWarning(HWND owner, const std::string& text, UINT icon) {
  MessageBoxA(owner, text.c_str(), LoadUiString(kStringWarning).c_str(), MB_OK | icon);
}

std::string SkinPath() {
  const char* name = g_app.sizeIndex == 1 ? "UI\\button.640" : "UI\\button.800";
  return JoinPath(Settings().programFolder, name);
}

std::string LoadUiText(int id) { return LoadUiString(static_cast<UINT>(id)); }

/// Builds the control panel from the skin file; a missing or damaged skin is
/// reported by name and the program ends quietly.
bool CreateControlPanel(HWND window) {
  g_app.controlTable = MakeControlTable();
  auto* panel = new ControlPanel;
  std::string reason;
  const std::string path = SkinPath();
  if (!panel->Load(path, &g_app.controlTable, &reason)) {
    delete panel;
    char text[1024];
    std::snprintf(text, sizeof text, LoadUiString(50150).c_str(), path.c_str(), reason.c_str());
    ShowWarning(window, text, MB_ICONSTOP);
    return false;
  }
  ToolkitFont font;
  font.faceName = g_app.fontMetrics.faceName;
  font.height = g_app.fontMetrics.tipsPointSize;
  font.charSet = g_app.fontMetrics.charSet;
  panel->Attach(window, RunCommand, LoadUiText, font);
  g_app.controlPanel = panel;
  return true;
}

BOOL OnCreate(HWND window, LPCREATESTRUCT) {
  g_app.mainWindow = window;
  LoadSettings();
  g_app.mainBrush = CreateSolidBrush(kPanelColour);
  g_app.ctlBrush = CreateSolidBrush(kPanelColour);
  int colours = 0;
  {
    WindowDC screen(nullptr);
    colours = GetDeviceCaps(screen.get(), NUMCOLORS);
  }
  if (!DisplayAccepted(GetSystemMetrics(SM_CXSCREEN), colours)) {
    ShowWarning(window, LoadUiString(50024), MB_ICONEXCLAMATION);
    SendMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  ShowSplash(window);
  if (!CreateControlPanel(window)) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  ModuleMainWindowCreated(window);
  g_app.stitchOptions = StartStitchOptions();
  SetProgressState(0);
  g_app.currentScreen = -1;
  GoToScreen(kScreenHome);
  if (!g_app.pendingAcquireSource.empty())
    PostMessageA(window, WM_COMMAND, kCmdAcquireNamed,
                 reinterpret_cast<LPARAM>(g_app.pendingAcquireSource.c_str()));
  return TRUE;
}

void OnPaint(HWND window) {
  PaintDC paint(window);
  if (g_app.controlPanel != nullptr) {
    g_app.controlPanel->Paint(paint.get(), paint.dirty());
    return;
  }
  RECT client;
  GetClientRect(window, &client);
  FillRect(paint.get(), &client, g_app.mainBrush);
}

void OnClose(HWND window) {
  if (g_app.imageModified) {
    for (HWND full : g_app.fullViewWindows)
      if (full != nullptr) EnableWindow(full, FALSE);
    const int answer = MessageBoxA(window, LoadUiString(kStringSaveQuestion).c_str(), LoadUiString(kStringWarning).c_str(),
                                   MB_YESNOCANCEL | MB_ICONQUESTION);
    for (HWND full : g_app.fullViewWindows)
      if (full != nullptr) EnableWindow(full, TRUE);
    if (answer == IDCANCEL) return;
    if (answer == IDYES) {
      // A save attempt clears the unsaved flag (even a failed one); a
      // cancelled Save dialog leaves it, so the question comes again.
      ModuleSaveImage(window);
      PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    }
  }
  DestroyWindow(window);
}

void OnDestroy(HWND) {
  ClosePopupList();
  DestroyKindLabels();
  ModuleShutdown();
  ShowImageInArea(kHomeImageArea, nullptr);
  if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
  g_app.currentImage = nullptr;
  delete g_app.controlPanel;
  g_app.controlPanel = nullptr;
  if (g_app.mainBrush != nullptr) DeleteObject(g_app.mainBrush);
  if (g_app.ctlBrush != nullptr) DeleteObject(g_app.ctlBrush);
  g_app.mainBrush = g_app.ctlBrush = nullptr;
  if (g_app.resourceModule != nullptr) FreeLibrary(g_app.resourceModule);
  g_app.resourceModule = nullptr;
  if (g_app.backgroundWindow != nullptr) PostMessageA(g_app.backgroundWindow, WM_CLOSE, 0, 0);
  g_app.mainWindow = nullptr;
  PostQuitMessage(0);
}

/// Command 40051: only on a storyboard screen with no dialog open.
void AcquireNamed(HWND window, LPARAM lParam) {
  if (ModuleAcquisitionRunning()) return;
  std::string source;
  if (lParam != 0) {
    source = reinterpret_cast<const char*>(lParam);
  } else {
    ReadStiDeviceName(&source);
  }
  HWND above = GetWindow(window, GW_HWNDPREV);
  const bool dialogOpen = above != nullptr && (GetWindowLongA(above, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  if (!IsStoryboardScreen(g_app.currentScreen) || dialogOpen) {
    MessageBeep(MB_OK);
  } else {
    if (OpenListId() == kAlbumList) ClosePopupList();
    ModuleAcquireNamed(window, source);
  }
  g_app.pendingAcquireSource.clear();
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  // The print layout's edit fields (ids 100 to 102) see every command first.
  if (ModuleOfferCommand(wParam, lParam)) return;
  const int id = LOWORD(wParam);
  switch (id) {
    case kCmdClose:
      SendMessageA(window, WM_CLOSE, 0, 0);
      return;
    case kCmdHelpContents:
      OpenHelp(window, HELP_CONTENTS, 0);
      return;
    case kCmdHelpContext:
      OpenHelp(window, HELP_CONTEXT, static_cast<ULONG_PTR>(HelpTopicOfScreen(g_app.currentScreen)));
      return;
    case kCmdAcquire:
      ModuleAcquire(window);
      return;
    case kCmdAcquireNamed:
      AcquireNamed(window, lParam);
      return;
    default:
      return;
  }
}

void OnKeyDown(HWND, UINT key, BOOL, int, UINT flags) {
  // An open pop-up list takes the keys even when the focus stayed here.
  if (HWND list = OpenListWindow()) {
    SendMessageA(list, WM_KEYDOWN, key, 0);
    return;
  }
  // The key that ends a stopped progress display is used up by that.
  const bool pending = g_app.cancelKeys.pending;
  if (UseUpCancelKey(&g_app.cancelKeys, static_cast<int>(key), (flags & KF_REPEAT) != 0)) {
    if (pending) SetProgressState(0);
    return;
  }
  RunKeyAction(KeyActionOf(g_app.currentScreen, static_cast<int>(key)));
}

void OnLButtonDown(HWND window, BOOL, int x, int y, UINT) {
  SetFocus(window);
  if (HWND splash = SplashWindow()) DestroyWindow(splash);
  if (g_app.controlPanel != nullptr) g_app.controlPanel->OnButtonDown(x, y);
}

void OnLButtonUp(HWND, int x, int y, UINT) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->OnButtonUp(x, y);
}

void OnMouseMove(HWND, int x, int y, UINT flags) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->OnMouseMove(x, y, (flags & MK_LBUTTON) != 0);
}

void OnTimer(HWND, UINT id) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->OnTimer(id);
}

void OnRButtonDown(HWND window, BOOL, int, int, UINT) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->CancelPress();
  UniqueMenu menu(LoadMenuA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_MENU_CONTEXT)));
  if (!menu) return;
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

HBRUSH OnControlColour(HWND, HDC dc, HWND, int) {
  SetBkColor(dc, kPanelColour);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  return g_app.ctlBrush;
}

/// The private messages of the program's other windows.
bool OnPrivateMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgAcquiredImage:
      ModuleAcquiredImage(window, reinterpret_cast<HGLOBAL>(wParam));
      return true;
    case kMsgEditStoryboardPhoto:
      ModuleEditStoryboardPhoto(window, reinterpret_cast<HGLOBAL>(wParam), static_cast<int>(lParam));
      return true;
    case kMsgListChoice: {
      if (HIWORD(wParam) != 1) return true;
      ClosePopupList();
      const WPARAM entry = LOWORD(wParam);
      if (lParam == kAlbumList || lParam == kAlbumList2) PostMessageA(window, kMsgAlbumChosen, entry, 0);
      if (lParam == kLensList) PostMessageA(window, kMsgLensChosen, entry, 0);
      if (lParam == kTemplateList) PostMessageA(window, kMsgTemplateChosen, entry, 0);
      return true;
    }
    case kMsgListClosed:
      ShowControl(kAlbumButton, true);
      ShowControl(kTemplateButton, true);
      if (IsKindScreen(g_app.currentScreen)) {
        ShowControl(kLensButton, true);
        ShowControl(kExposureToggle, true);
        ShowExposureState();
      }
      return true;
    case kMsgAlbumChosen:
      ModuleAlbumChosen(window, static_cast<int>(wParam));
      return true;
    case kMsgLensChosen:
      ChooseLens(static_cast<int>(wParam));
      return true;
    case kMsgTemplateChosen:
      ModulePrintTemplateChosen(window, static_cast<int>(wParam));
      return true;
    case kMsgFullViewClosed:
    case kMsgViewerClosed:
      SetFocus(window);
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(window, WM_CREATE, OnCreate);
    HANDLE_MSG(window, WM_CLOSE, OnClose);
    HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    HANDLE_MSG(window, WM_KEYDOWN, OnKeyDown);
    HANDLE_MSG(window, WM_LBUTTONDOWN, OnLButtonDown);
    HANDLE_MSG(window, WM_LBUTTONUP, OnLButtonUp);
    HANDLE_MSG(window, WM_MOUSEMOVE, OnMouseMove);
    HANDLE_MSG(window, WM_TIMER, OnTimer);
    HANDLE_MSG(window, WM_RBUTTONDOWN, OnRButtonDown);
    HANDLE_MSG(window, WM_CTLCOLOREDIT, OnControlColour);
    HANDLE_MSG(window, WM_CTLCOLORSTATIC, OnControlColour);
    case WM_COMMAND:
      OnCommand(window, wParam, lParam);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the panel paints every pixel
    case WM_MOUSELEAVE:
      if (g_app.controlPanel != nullptr) g_app.controlPanel->OnMouseLeave();
      return 0;
    default:
      if (OnPrivateMessage(window, message, wParam, lParam)) return 0;
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
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const WindowLayout& layout, HWND background) {
  HWND window = CreateWindowExA(0, kMainWindowClass, kWindowTitle,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_CLIPCHILDREN, layout.mainX,
                                layout.mainY, layout.width, layout.height, background, nullptr, instance, nullptr);
  if (window == nullptr || !IsWindow(window)) return nullptr;
  if (background == nullptr) RemoveMenu(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND);
  return window;
}

}  // namespace vmd
