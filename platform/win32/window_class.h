#ifndef PLATFORM_WIN32_WINDOW_CLASS_H
#define PLATFORM_WIN32_WINDOW_CLASS_H

#include <windows.h>

namespace vmd {

/// What the program's window classes differ in; the rest is the same for all.
struct WindowClassLook {
  UINT style = CS_HREDRAW | CS_VREDRAW;
  COLORREF background = CLR_INVALID;  ///< CLR_INVALID: the window paints all of itself
  HICON icon = nullptr;
  int windowExtra = 0;       ///< bytes of window words
  bool arrowCursor = true;   ///< false: the window sets its cursor itself
};

/// Registers the class `name` with `proc` in the program's module, once: a
/// class registered by an earlier call counts. The background brush is made
/// only when the class is registered and lives as long as the class.
inline bool RegisterProgramClass(const char* name, WNDPROC proc, const WindowClassLook& look = {}) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (GetClassInfoA(instance, name, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = look.style;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = look.windowExtra;
  wc.hInstance = instance;
  wc.hIcon = look.icon;
  wc.hCursor = look.arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
  wc.hbrBackground = look.background == CLR_INVALID ? nullptr : CreateSolidBrush(look.background);
  wc.lpszClassName = name;
  if (RegisterClassA(&wc) != 0) return true;
  if (wc.hbrBackground != nullptr) DeleteObject(wc.hbrBackground);
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

/// The record a window keeps in its user data.
template <class Record>
Record* WindowRecordOf(HWND window) {
  return reinterpret_cast<Record*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

/// On WM_NCCREATE: the window keeps the record CreateWindowEx was given.
template <class Record>
Record* KeepCreateRecord(HWND window, LPARAM createLParam) {
  auto* record = static_cast<Record*>(reinterpret_cast<CREATESTRUCTA*>(createLParam)->lpCreateParams);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  return record;
}

/// On WM_NCDESTROY: the window's record goes with it.
template <class Record>
void DeleteWindowRecord(HWND window) {
  delete WindowRecordOf<Record>(window);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

}  // namespace vmd

#endif  // PLATFORM_WIN32_WINDOW_CLASS_H
