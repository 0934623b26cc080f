// The Windows-only parts of the image operations: painting a window and the
// memory message box.
#include <windows.h>

#include "image_ops.h"

namespace vmd {

namespace {

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
  char name[64];
  if (GetClassNameA(window, name, sizeof name) > 0 && lstrcmpA(name, "Vistameld Window") == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

/// The program's main window on this thread (the image operations run on the
/// one user-interface thread), or none.
HWND MessageOwnerWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMainWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void ShowMemoryMessageBox() {
  MessageBoxA(MessageOwnerWindow(), "There is not enough memory.", "System message", MB_OK);
}

int PaintDibFitted(HWND window, HGLOBAL dib, RECT* drawn) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  int result = DrawDibFitted(dc, dib, client, drawn);
  EndPaint(window, &ps);
  return result;
}

}  // namespace vmd
