#include "single_instance.h"

#include <windows.h>

#include "messages.h"
#include "settings.h"

namespace vmd {

namespace {

/// Makes a window top-most and at once not top-most again: it comes to the
/// front without keeping the top-most state.
void BringToFront(HWND window) {
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_ASYNCWINDOWPOS;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

}  // namespace

bool CheckSingleInstance(const std::string& pendingAcquireSource) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, kMainWindowClass);
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  HWND other = FindWindowA(kMainWindowClass, nullptr);
  if (!existed) return true;  // the handle stays open while this copy runs
  if (semaphore != nullptr) CloseHandle(semaphore);
  if (other == nullptr) return false;

  HWND parent = GetParent(other);
  ShowWindow(parent != nullptr ? parent : other, SW_RESTORE);
  BringToFront(other);
  HWND popup = GetLastActivePopup(other);
  if (popup != nullptr && popup != other) BringToFront(popup);

  if (!pendingAcquireSource.empty() && WriteStiDeviceName(pendingAcquireSource))
    SendMessageA(other, WM_COMMAND, kCmdAcquireNamed, 0);
  return false;
}

}  // namespace vmd
