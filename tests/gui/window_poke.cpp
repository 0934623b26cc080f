// A small Windows helper for the real-window tests: sends the program the
// messages that the system or another copy would send.
//   window_poke post CLASS MESSAGE WPARAM   posts a message to the window of a class
//   window_poke newcopy                     acts as a starting copy: announces 0x720
//                                           with its own window and exits 0 when an
//                                           older copy answers with 0x721 within 5 s
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kMsgNewCopy = WM_USER + 800;
constexpr UINT kMsgEndCopy = WM_USER + 801;
bool g_answered = false;

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgEndCopy) {
    g_answered = true;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int PostToClass(const char* className, UINT message, WPARAM wParam) {
  HWND window = FindWindowA(className, nullptr);
  if (window == nullptr) {
    fprintf(stderr, "window_poke: no window of class %s\n", className);
    return 2;
  }
  return PostMessageA(window, message, wParam, 0) ? 0 : 3;
}

int ActAsNewCopy() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ListenerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "window_poke listener";
  RegisterClassA(&wc);
  HWND listener = CreateWindowExA(0, wc.lpszClassName, "listener", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, wc.hInstance, nullptr);
  if (listener == nullptr) return 4;
  // As a starting copy does: to the background window of every running copy.
  for (HWND other = FindWindowExA(nullptr, nullptr, "Vistameld background", nullptr);
       other != nullptr; other = FindWindowExA(nullptr, other, "Vistameld background", nullptr))
    SendMessageTimeoutA(other, kMsgNewCopy, reinterpret_cast<WPARAM>(listener), 0,
                        SMTO_ABORTIFHUNG, 2000, nullptr);
  DWORD until = GetTickCount() + 5000;
  MSG message;
  while (!g_answered && GetTickCount() < until) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  DestroyWindow(listener);
  return g_answered ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && strcmp(argv[1], "post") == 0)
    return PostToClass(argv[2], static_cast<UINT>(strtoul(argv[3], nullptr, 0)),
                       static_cast<WPARAM>(strtoul(argv[4], nullptr, 0)));
  if (argc == 2 && strcmp(argv[1], "newcopy") == 0) return ActAsNewCopy();
  fprintf(stderr, "usage: window_poke post CLASS MESSAGE WPARAM | window_poke newcopy\n");
  return 1;
}
