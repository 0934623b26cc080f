// A small Windows helper for the help tests: looks for the WinHelp viewer and
// for message boxes, from inside the same Wine prefix and display.
//   help_probe viewer SECONDS   waits up to SECONDS for a visible window of class
//                               "MS_WINHELP"; prints its title and the text of its
//                               child windows; exit 0 when found, 1 when not
//   help_probe boxes            prints the title and texts of every visible dialog
//                               box ("#32770"); exit 0 when there is none, 1 else
//   help_probe windows          lists the top-level windows (for the test's log)
//   help_probe close            closes the viewer's windows and waits until they are gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string TextOf(HWND window) {
  int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = static_cast<int>(
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  if (!IsWindowVisible(child)) return TRUE;
  char className[128] = {};
  GetClassNameA(child, className, sizeof className);
  std::string text = TextOf(child);
  if (!text.empty()) printf("  %s: %s\n", className, text.c_str());
  return TRUE;
}

int WaitForViewer(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND viewer = FindWindowA("MS_WINHELP", nullptr);
    if (viewer != nullptr && IsWindowVisible(viewer)) {
      Sleep(1000);  // let it lay out and paint its topic
      printf("MS_WINHELP: %s\n", TextOf(viewer).c_str());
      EnumChildWindows(viewer, PrintChild, 0);
      return 0;
    }
    Sleep(100);
  }
  printf("no MS_WINHELP window\n");
  return 1;
}

BOOL CALLBACK PrintBox(HWND window, LPARAM found) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (!IsWindowVisible(window) || std::strcmp(className, "#32770") != 0) return TRUE;
  printf("box: %s\n", TextOf(window).c_str());
  EnumChildWindows(window, PrintChild, 0);
  *reinterpret_cast<int*>(found) = 1;
  return TRUE;
}

int ListBoxes() {
  int found = 0;
  EnumWindows(PrintBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK CloseIfViewer(HWND window, LPARAM open) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "MS_WINHELP") != 0 || !IsWindowVisible(window)) return TRUE;
  PostMessageA(window, WM_CLOSE, 0, 0);
  ++*reinterpret_cast<int*>(open);
  return TRUE;
}

/// Closes every visible viewer window, asking again every half second (a
/// viewer that is still starting may drop the request), for up to 5 s.
int CloseViewer() {
  for (int i = 0; i < 10; ++i) {
    int open = 0;
    EnumWindows(CloseIfViewer, reinterpret_cast<LPARAM>(&open));
    if (open == 0) return 0;
    Sleep(500);
  }
  return 1;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  printf("%p %s \"%s\" visible %d process %lu\n", static_cast<void*>(window), className,
         TextOf(window).c_str(), IsWindowVisible(window) ? 1 : 0,
         static_cast<unsigned long>(process));
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "viewer") == 0) return WaitForViewer(std::atoi(argv[2]));
  if (argc >= 2 && std::strcmp(argv[1], "boxes") == 0) return ListBoxes();
  if (argc >= 2 && std::strcmp(argv[1], "close") == 0) return CloseViewer();
  if (argc >= 2 && std::strcmp(argv[1], "windows") == 0) return !EnumWindows(PrintTopLevel, 0);
  fprintf(stderr, "usage: help_probe viewer SECONDS | boxes | close\n");
  return 2;
}
