#include "background_window.h"

#include "app_state.h"
#include "messages.h"
#include "window_class.h"

namespace vmd {

namespace {

void OnNewCopy(HWND window, HWND newCopy) {
  // An older copy answers a starting one, which then ends.
  if (newCopy != nullptr && newCopy != window) SendMessageA(newCopy, kMsgEndCopy, 0, 0);
}

void OnDisplayChange(int width, int height) {
  if (g_app.mainWindow == nullptr) return;
  const WindowSize& size = kWindowSizes[g_app.sizeIndex];
  MoveWindow(g_app.mainWindow, (width - size.width) >> 1, (height - size.height) >> 1, size.width,
             size.height, TRUE);
}

LRESULT CALLBACK BackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgNewCopy:
      OnNewCopy(window, reinterpret_cast<HWND>(wParam));
      return 0;
    case kMsgEndCopy:
      ExitProcess(1);
    case WM_DISPLAYCHANGE:
      OnDisplayChange(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // Closing goes through the main window, so the save question runs.
        if (g_app.mainWindow != nullptr) SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureBackgroundClassRegistered(HINSTANCE instance) {
  WindowClassLook look;
  look.icon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIcon));
  look.background = RGB(0, 0, 0);
  return RegisterProgramClass(kBackgroundWindowClass, BackgroundProc, look);
}

}  // namespace

namespace {

BOOL CALLBACK AnnounceTo(HWND window, LPARAM background) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, kBackgroundWindowClass) == 0 && window != reinterpret_cast<HWND>(background))
    SendMessageTimeoutA(window, kMsgNewCopy, static_cast<WPARAM>(background), 0, SMTO_ABORTIFHUNG,
                        2000, nullptr);
  return TRUE;
}

}  // namespace

void AnnounceNewCopy(HWND background) {
  EnumWindows(AnnounceTo, reinterpret_cast<LPARAM>(background));
}

HWND CreateBackgroundWindow(HINSTANCE instance, const WindowLayout& layout) {
  if (!EnsureBackgroundClassRegistered(instance)) return nullptr;
  HWND window = CreateWindowExA(0, kBackgroundWindowClass, kWindowTitle,
                                WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0, 0, layout.screenWidth,
                                layout.screenHeight, nullptr, nullptr, instance, nullptr);
  if (window != nullptr) RemoveMenu(GetSystemMenu(window, FALSE), SC_MOVE, MF_BYCOMMAND);
  return window;
}

}  // namespace vmd
