#include "dialog_messages.h"

namespace vmd {

namespace {

HWND g_dialogWindow = nullptr;

}  // namespace

void SetDialogMessageWindow(HWND window) { g_dialogWindow = window; }

void ClearDialogMessageWindow(HWND window) {
  if (g_dialogWindow == window) g_dialogWindow = nullptr;
}

bool OfferDialogMessage(MSG* message) {
  HWND window = g_dialogWindow;
  if (window == nullptr || !IsWindow(window)) return false;
  if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  if (message->hwnd != window && !IsChild(window, message->hwnd)) return false;
  return IsDialogMessageA(window, message) != FALSE;
}

}  // namespace vmd
