// A small Windows helper for the real-window tests: sends the program the
// messages that the system or another copy would send.
//   window_poke post CLASS MESSAGE WPARAM   posts a message to the window of a class
//   window_poke newcopy                     acts as a starting copy: announces 0x720
//                                           with its own window and exits 0 when an
//                                           older copy answers with 0x721 within 5 s
//   window_poke screen                      exits with the main window's screen number
//                                           (its first window word), 255 without one
//   window_poke text ID                     prints the text of the main window's child ID
//   window_poke iconic CLASS                exits 1 when the window of CLASS is minimized
//   window_poke dialog TITLE                prints the texts of the window titled TITLE
//                                           and its children, one per line
//   window_poke answer TITLE ID              presses button ID of the window titled TITLE
//   window_poke cursor                      prints the handle of the cursor the window
//                                           under the keyboard focus shows, in hex
//   window_poke shown CLASS                  prints "LEFT TOP RIGHT BOTTOM" (screen, right
//                                           and bottom exclusive) of the visible window
//                                           of CLASS; exits 1 when it is hidden, 2 when
//                                           there is none
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

HWND MainWindow() { return FindWindowA("Vistameld Window", nullptr); }

int PrintChildText(int id) {
  HWND child = GetDlgItem(MainWindow(), id);
  if (child == nullptr) return 2;
  char text[512] = {};
  SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  printf("%s\n", text);
  return 0;
}

BOOL CALLBACK PrintText(HWND window, LPARAM) {
  // WM_GETTEXT itself: GetWindowText does not read a control of another program.
  static char text[16384];
  text[0] = '\0';
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  if (text[0] != '\0') printf("%s\n", text);
  return TRUE;
}

int PrintDialog(const char* title) {
  HWND dialog = FindWindowA(nullptr, title);
  if (dialog == nullptr) return 2;
  PrintText(dialog, 0);
  EnumChildWindows(dialog, PrintText, 0);
  return 0;
}

int AnswerDialog(const char* title, int id) {
  HWND window = FindWindowA(nullptr, title);
  if (window == nullptr) return 2;
  return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) ? 0 : 3;
}

// The cursor of the thread that has the keyboard focus: handles of one
// program's cursors stay the same while it runs, so a change of handle is a
// change of shape.
int PrintCursor() {
  CURSORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info)) return 2;
  printf("%lx\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(info.hCursor)));
  return 0;
}

int PrintShown(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  if (window == nullptr) return 2;
  if (!IsWindowVisible(window)) return 1;
  RECT r;
  GetWindowRect(window, &r);
  printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && strcmp(argv[1], "screen") == 0) {
    HWND main = MainWindow();
    return main != nullptr ? static_cast<int>(GetWindowLongA(main, 0)) : 255;
  }
  if (argc == 3 && strcmp(argv[1], "iconic") == 0) {
    HWND window = FindWindowA(argv[2], nullptr);
    return window != nullptr && IsIconic(window) ? 1 : 0;
  }
  if (argc == 3 && strcmp(argv[1], "text") == 0) return PrintChildText(atoi(argv[2]));
  if (argc == 3 && strcmp(argv[1], "dialog") == 0) return PrintDialog(argv[2]);
  if (argc == 5 && strcmp(argv[1], "post") == 0)
    return PostToClass(argv[2], static_cast<UINT>(strtoul(argv[3], nullptr, 0)),
                       static_cast<WPARAM>(strtoul(argv[4], nullptr, 0)));
  if (argc == 4 && strcmp(argv[1], "answer") == 0) return AnswerDialog(argv[2], atoi(argv[3]));
  if (argc == 2 && strcmp(argv[1], "newcopy") == 0) return ActAsNewCopy();
  if (argc == 2 && strcmp(argv[1], "cursor") == 0) return PrintCursor();
  if (argc == 3 && strcmp(argv[1], "shown") == 0) return PrintShown(argv[2]);
  fprintf(stderr,
          "usage: window_poke post CLASS MESSAGE WPARAM | newcopy | screen | text ID | dialog TITLE | answer TITLE ID |"
          " cursor | shown CLASS\n");
  return 1;
}
